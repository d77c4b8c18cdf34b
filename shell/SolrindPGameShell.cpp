// The shell's lifecycle: start screens, the menu loop with its frame, the credit screen, and
// the frame pacing every loop shares.
#include "SolrindPGameShell.h"

#include <initializer_list>

#include "GameInput.h"
#include "GameLayout.h"
#include "gnInput.h"
#include "gnScreen.h"
#include "gnTime.h"

namespace {

constexpr int kScreenSeconds = 4;  // each start screen and the credit screen

}  // namespace

SolrindPGameShell::SolrindPGameShell() = default;

SolrindPGameShell::~SolrindPGameShell() = default;

// A termination request skips what is left of the screens: the release follows at once.
void SolrindPGameShell::userExec(int, char**) {
    readKioskSettings();
    loadData();
    for (const char* screenFile : {files::kStartscreen1, files::kStartscreen2})
        if (!gnTerminationRequested())
            gameInput->delayScreen(screenFile, kScreenSeconds);
    if (!gnTerminationRequested())
        run();
    if (!gnTerminationRequested())
        gameInput->delayScreen(files::kCreditscreen, kScreenSeconds);
    freeData();
}

void SolrindPGameShell::run() {
    startMenu();
    while (!gameInput->done)
        menuFrame();
}

void SolrindPGameShell::startMenu() {
    gameInput->displayImageFile(files::kMenu);
    gameInput->activate();
    showStory();
}

void SolrindPGameShell::menuFrame() {
    gameInput->pollEvents();
    attract();
    takeTap();
    handleMenu();
    animateBackground();
    showPrinted();
    screen->update();
    waitFrame();
}

void SolrindPGameShell::waitFrame() {
    const uint32_t now = gnGetTicks();
    // Modular distance to the deadline: a deadline behind us, also across the 49-day wrap of
    // the counter, is never more than one frame ahead, so it cannot cause a long sleep.
    const uint32_t remaining = nextFrameTicks - now;
    if (remaining != 0 && remaining <= kFrameMs) {
        gnDelay(remaining);
        nextFrameTicks += kFrameMs;  // the next frame starts one period after this one
    } else {
        // Late (a slow frame, a pause, the first frame): the period starts again from now,
        // so no burst of frames follows to catch up.
        nextFrameTicks = now + kFrameMs;
    }
}
