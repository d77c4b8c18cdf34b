#include "EngineFixture.h"

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
    screen.setSize(sz{640, 520});
    screen.open();
    screen.update();
    port.clearLog();
    flushEvents();  // the window's own events from opening
}

void EngineFixture::TearDown() {
    for (gnImage* i : images)
        delete i;
    flushEvents();
}

gnImage* EngineFixture::image(const std::string& file) {
    images.push_back(new gnImage());
    images.back()->setScreen(&screen);
    images.back()->loadBMP(file.c_str());
    return images.back();
}
