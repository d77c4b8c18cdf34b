#include "EngineFixture.h"

#include <unistd.h>

std::string raisedBy(const std::function<void()>& code) {
    try {
        code();
    } catch (gnE* error) {
        Capture out;
        error->output();
        delete error;
        return out.finish();
    }
    return "";
}

void expectPixels(SDL_Surface* surface, std::initializer_list<Pixel> pixels) {
    for (const Pixel& p : pixels)
        EXPECT_EQ(pixelAt(surface, p.x, p.y), p.colour) << p.x << "," << p.y;
}

void EngineFixture::SetUp() {
    flushEvents();
    dir = makeTempDir("engine");
    home = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(dir.c_str()), 0);  // paths in messages do not depend on the checkout's
    screen.setSize(sz{640, 520});
    screen.open();
    screen.update();
    port.clearLog();
    flushEvents();  // the window's own events from opening
}

void EngineFixture::TearDown() {
    for (gnImage* i : images)
        delete i;
    images.clear();
    flushEvents();
    EXPECT_EQ(chdir(home), 0);
    free(home);
}

gnImage* EngineFixture::image(const std::string& file) {
    gnImage* i = new gnImage();
    i->setScreen(&screen);
    i->loadBMP(file.c_str());
    images.push_back(i);
    return i;
}
