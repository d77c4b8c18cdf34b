// The menu's logic: the chosen button becomes the next screen, which slides in from the right
// edge 20 pixels a frame; the end of a slide starts the round or draws the highscore table.
#include "GameInput.h"
#include "GameLayout.h"
#include "ImageBackground.h"
#include "SolrindPGameShell.h"
#include "SolrindPHighscore.h"
#include "gnScreen.h"

namespace {

constexpr int32_t kSlideStart = 640;      // just beyond the right edge
constexpr int32_t kSlideEnd = 120;        // the content area's left edge
constexpr int32_t kScreenSlideStep = 20;  // pixels a frame
constexpr gnRectangle kContentArea = gnRect(120, 0, 520, 520);
constexpr int kPrintLitFrames = 25;  // the print control shows it printed for a second

}  // namespace

void SolrindPGameShell::takeTap() {
    // A tap on the content of a screen of several pages turns the page, as Space does, unless
    // a button was chosen in the same frame.
    const bool pages = currentScreen == kPrizes || currentScreen == kSponsor;
    if (gameInput->buttonReleased && pages && gameInput->selected == currentScreen &&
        rectManip::containsPoint(kContentArea, gameInput->pressPoint))
        gameInput->selected = kNextPage;
    gameInput->buttonPressed = false;
    gameInput->buttonReleased = false;
}

void SolrindPGameShell::showPrinted() {
    if (printLit == 0 || --printLit > 0)
        return;
    if (gameInput->getButtonRec(kPrint)->enabled)
        gameInput->highlighted == kPrint ? gameInput->showButtonHighlighted(kPrint)
                                         : gameInput->showButtonNormal(kPrint);
}

void SolrindPGameShell::handleMenu() {
    const int choice = resolveChoice();
    if (choice != currentScreen)
        enterScreen(choice);
}

int SolrindPGameShell::resolveChoice() {
    if (gameInput->selected == kPrint) {
        gameInput->selected = currentScreen;  // the screen in force stays
        menuPrint();
        if (hasPrintControl()) {
            gameInput->showButtonDown(kPrint);  // lit for a moment: it printed
            printLit = kPrintLitFrames;
        }
    }
    const int choice = gameInput->selected;
    if (choice == kNextPage && currentScreen != kPrizes && currentScreen != kSponsor) {
        gameInput->selected = currentScreen;  // ignored on the other screens
        return currentScreen;
    }
    return choice;
}

void SolrindPGameShell::enterScreen(int choice) {
    const int pageScreen = currentScreen;  // the next page turns the screen in force
    gameInput->getButtonRec(kPrint)->enabled = false;
    printLit = 0;
    if (gameInput->highlighted == kPrint)
        gameInput->highlighted = -1;  // its screen goes: nothing to put back
    currentScreen = choice;
    switch (choice) {
        case kWelcome:
            showStory();
            break;
        case kRules:
            showRules();
            break;
        case kPrizes:
            page = 0;
            showPrizes();
            break;
        case kSponsor:
            page = 0;
            showSolrind();
            break;
        case kScores:
            showHighscore();
            break;
        case kPlay:
            showGame();
            break;
        case kQuit:
        case kQuitKey:
            gameInput->done = true;
            break;
        case kNextPage:  // the page is not reset: the next one shows
            currentScreen = pageScreen;
            gameInput->selected = pageScreen;
            if (pageScreen == kSponsor)
                showSolrind();
            else
                showPrizes();
            break;
        case kChoiceCompleted:
            gameInput->getButtonRec(kPrint)->enabled = true;
            if (hasPrintControl())
                gameInput->showButtonNormal(kPrint);  // the control a finger prints with
            break;
        default:
            break;
    }
}

void SolrindPGameShell::animateBackground() {
    if (background->pos.x <= kSlideEnd)
        return;
    background->pos.x -= kScreenSlideStep;
    showBackground();
    if (background->pos.x <= kSlideEnd)
        endBackgroundAnim();
}

void SolrindPGameShell::endBackgroundAnim() {
    switch (gameInput->selected) {
        case kScores: {
            screen->update();
            takeEventTable();
            SolrindPHighscore* table = new SolrindPHighscore();  // reads the file
            displayHighscore(table);
            delete table;  // writes it back
            break;
        }
        case kPlay:
            setButtonsEnabled(false);
            game();
            setButtonsEnabled(true);
            break;
        default:
            break;
    }
}

void SolrindPGameShell::reloadBackground(const char* file) {
    newBackground(file);
    background->pos.x = kSlideStart;
    clearBackground();
}

void SolrindPGameShell::clearBackground() {
    screen->fillRect(kContentArea, 0, 0, 0);
}

void SolrindPGameShell::showGame() {
    reloadBackground(files::kGameBackground);
}

void SolrindPGameShell::showSolrind() {
    if (page == 0) {
        reloadBackground(files::kSolrind);
        page = 1;
    } else {
        page = 0;
        reloadBackground(files::kSolrind2);
    }
}

void SolrindPGameShell::showStory() {
    reloadBackground(files::kWelcome);
}

void SolrindPGameShell::showRules() {
    reloadBackground(files::kRules);
}

void SolrindPGameShell::showPrizes() {
    if (page == 0) {
        reloadBackground(files::kPrizes1);
        page = 1;
    } else if (page == 1) {
        page = 2;
        reloadBackground(files::kPrizes2);
    } else {
        page = 0;
        reloadBackground(files::kPrizes3);
    }
}

void SolrindPGameShell::showHighscore() {
    reloadBackground(files::kHighscore);
}
