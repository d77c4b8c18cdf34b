#include "ShellFixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include "EnterInput.h"
#include "GameInput.h"
#include "Pictures.h"
#include "gnScreen.h"

void ShellFixture::SetUp() {
    flushEvents();
    home = getcwd(nullptr, 0);
    folder = makeTempDir("game");
    ASSERT_EQ(symlink(SOLRIND_ART_DIR "/GFX", (folder + "/GFX").c_str()), 0);
    mkdir((folder + "/Save").c_str(), 0755);
    mkdir((folder + "/Bin").c_str(), 0755);
    ASSERT_EQ(symlink(SOLRIND_PRINTIT, (folder + "/Bin/Printit.exe").c_str()), 0);
    ASSERT_EQ(chdir(folder.c_str()), 0);
    port.afterPresent = [this] { afterPresent(); };
    port.afterDelay = [this] {
        if (port.sleeps.size() >= 4u * frameBudget)  // a loop that no longer presents
            endLoops("slept " + std::to_string(4 * frameBudget) + " times");
    };
}

void ShellFixture::TearDown() {
    port.afterPresent = nullptr;
    port.afterDelay = nullptr;
    if (loaded && shell.screen && shell.screen->isOpen())
        shell.freeData();
    SDL_CloseAudio();  // what SDL_Quit does at the end of a run
    flushEvents();
    EXPECT_EQ(chdir(home), 0);
    free(home);
}

void ShellFixture::load() {
    Capture quiet;  // the dummy audio device may report itself
    shell.loadData();
    quiet.finish();
    loaded = true;
    flushEvents();  // the window's own events
}

void ShellFixture::tap(SDL_Keycode key) {
    port.held.insert(key);
    tapped.push_back(key);
    pushKeyDown(key);
}

void ShellFixture::mouse(int x, int y, uint32_t buttons) {
    port.mouseX = x;
    port.mouseY = y;
    port.mouseButtons = buttons;
    pushMouseMotion(x, y, buttons);
}

void ShellFixture::then(const std::function<bool()>& step) {
    script.push_back(step);
}

void ShellFixture::thenDo(const std::function<void()>& action) {
    script.push_back([action] {
        action();
        return true;
    });
}

void ShellFixture::runMenuUntilScriptDone(int limit) {
    for (int i = 0; i < limit && !script.empty(); ++i)
        shell.menuFrame();
    EXPECT_TRUE(script.empty()) << script.size() << " steps never ran";
}

void ShellFixture::endLoops(const std::string& what) {
    if (!loaded)
        return;
    if (!budgetSpent)
        ADD_FAILURE() << "the test " << what << ": its loops are ended";
    budgetSpent = true;
    shell.gameInput->done = true;
    shell.enterHandler->finished = true;
    script.clear();
}

void ShellFixture::afterPresent() {
    if (++frames >= frameBudget)
        endLoops("took " + std::to_string(frameBudget) + " frames");
    for (SDL_Keycode key : tapped)
        port.held.erase(key);
    tapped.clear();
    if (!script.empty() && script.front()())
        script.pop_front();
}

bool ShellFixture::shows(const char* file, int left) {
    SDL_Surface* picture = SDL_LoadBMP(file);
    bool same = picture != nullptr;
    for (int y = 3; same && y < 520; y += 37)
        for (int x = 5; same && left + x < 640; x += 29)
            same = pixelAt(picture, x, y) == at(left + x, y);
    SDL_FreeSurface(picture);
    return same;
}

uint32_t ShellFixture::at(int x, int y) {
    return pixelAt(shell.screen->getSDLSurface(), x, y);
}

bool ShellFixture::inRound() const {
    return !shell.gameInput->getButtonRec(5)->enabled;
}
