// The game round with the real pictures: clicks and drags through the real input path, the
// hover aids, completion, the pause, the highscore flow and quitting.
#include <gtest/gtest-spi.h>

#include <algorithm>

#include "BoardPiece.h"
#include "CountFont.h"
#include "EnterInput.h"
#include "GameInput.h"
#include "Gates.h"
#include "ImageBackground.h"
#include "Pictures.h"
#include "RingQueue.h"
#include "ShellFixture.h"
#include "SolrindPHighscore.h"
#include "gnScreen.h"

namespace {

constexpr pt kCorner = {200, 80};

pt centre(int col, int row) {
    return Board::cellCentre(col, row);
}

class RoundTest : public ShellFixture {
  protected:
    void SetUp() override {
        ShellFixture::SetUp();
        load();
    }
    // Puts a piece on a cell, resting, out of the queue.
    BoardPiece* place(int index, int col, int row) {
        BoardPiece* piece = shell.pieces[index];
        piece->inQueue = false;
        piece->col = col;
        piece->row = row;
        piece->dirX = piece->dirY = piece->stepDelay = 0;
        piece->pos = centre(col, row);
        return piece;
    }
    // The state the menu leaves when the game screen has slid in, and a new game with the
    // pieces `onBoard` taken out of the queue (to be placed by the test).
    void prepareRound(int onBoard = 0) {
        shell.gameInput->activate();
        shell.newBackground("GFX/Backgrounds/GameBackground.bmp");
        shell.background->pos.x = 120;
        shell.showBackground();
        shell.setButtonsEnabled(false);
        shell.gameInput->selected = 5;
        shell.initGame();
        for (int i = 0; i < onBoard; ++i)
            shell.queue->removeElem();
        shutGates();
    }
    // The menu with its welcome screen slid in, and the game chosen with S.
    void chooseGame() {
        shell.startMenu();
        for (int i = 0; i < 26; ++i)
            shell.menuFrame();
        tap(SDLK_s);
    }
    void shutGates() {
        for (Gates* gate : shell.gates) {
            gate->currentFrame = 0;
            gate->opening = false;
        }
    }
    // One frame of the round with the mouse as given, the gates held shut.
    void frame(pt mouseAt, uint32_t buttons = 0) {
        mouse(mouseAt.x, mouseAt.y, buttons);
        shell.gameFrame();
        shutGates();
    }
    void framesUntilResting() {
        for (int i = 0; i < 40 && shell.hasMovingPieces(); ++i)
            frame(pt{620, 500});
        ASSERT_FALSE(shell.hasMovingPieces());
    }
    // Everything home but the pieces `missing`, which wait in the queue and come out in the
    // order given.
    void nearlyFinished(std::vector<int> missing) {
        shell.queue->clear();
        for (int i = 0; i < 24; ++i)
            place(i, (i + 1) % 5, (i + 1) / 5);
        for (auto it = missing.rbegin(); it != missing.rend(); ++it)
            shell.queuePiece(*it);
    }
    // Whether the screen shows the picture's pixel (px, py) at (x, y).
    bool pixelShows(const char* file, int px, int py, int x, int y) {
        SDL_Surface* picture = SDL_LoadBMP(file);
        const bool same = pixelAt(picture, px, py) == at(x, y);
        SDL_FreeSurface(picture);
        return same;
    }
    bool glowShows(int f, int col, int row) {  // glow frame f over cell (col, row)
        return pixelShows("GFX/Game/GlowCursor.bmp", 88 * f + 1, 44, 161 + 88 * col, 84 + 88 * row);
    }
    bool highlighted(int col, int row) {
        return pixelShows("GFX/Game/PuzzleHighlight.bmp", 88 * col + 1, 88 * row + 1,
                          161 + 88 * col, 41 + 88 * row);
    }

    // A whole round from the menu: the board set up nearly finished at the round's first
    // frame, then three releases and two drags through the real input path. `whenDone` runs
    // at the first frame after the 4-second pause at which `ready` holds.
    void playRound(const std::function<void()>& atStart, const std::function<bool()>& ready,
                   const std::function<void()>& whenDone) {
        chooseGame();
        auto step = [this](std::function<bool()> s) {
            then([this, s] {
                shutGates();
                return s();
            });
        };
        auto mouseStep = [this, step](pt at, uint32_t buttons) {
            step([this, at, buttons] {
                mouse(at.x, at.y, buttons);
                return true;
            });
        };
        auto click = [this, step, mouseStep](pt a, pt b) {
            mouseStep(a, SDL_BUTTON_LMASK);
            mouseStep(b, 0);
            step([this] { return !shell.hasMovingPieces(); });
        };
        step([this, atStart] {
            if (!inRound())
                return false;
            nearlyFinished({5, 1, 0});
            atStart();
            return true;
        });
        click(kCorner, kCorner);            // piece 5 rests on (2, 0)
        click(centre(2, 0), pt{340, 90});   // dragged left to (1, 0)
        click(centre(1, 0), pt{296, 130});  // dragged down to (1, 1)
        click(kCorner, kCorner);            // piece 1 comes to rest on (2, 0)
        step([this] { return true; });
        click(kCorner, kCorner);  // piece 0 onto (1, 0): complete
        then([this, ready, whenDone] {
            const bool paused = std::count(port.sleeps.begin(), port.sleeps.end(), 4000u) > 0;
            if (!paused || !ready())
                return false;
            whenDone();
            return true;
        });
        runMenuUntilScriptDone();
    }
    // Whether the caret stands at the start of the name field (ink at the left of its cell).
    bool caretShown() {
        int ink = 0;
        for (int y = 317; y < 334; ++y)
            ink += !pixelShows("GFX/Backgrounds/Congratulations1.bmp", 158, y, 278, y);
        return ink > 5;
    }
    bool askingForTheName() const { return shell.enterHandler->backgroundImage != nullptr; }
};

}  // namespace

// The corner releases a piece only while nothing moves (a click meanwhile is lost, not
// remembered), and is highlighted whenever the mouse is over it.
TEST_F(RoundTest, TheCornerReleasesAPieceOnlyWhileNothingMoves) {
    prepareRound();
    SDL_Surface* lit = SDL_LoadBMP("GFX/Game/PuzzleHighlight.bmp");
    frame(kCorner, SDL_BUTTON_LMASK);
    EXPECT_EQ(shell.queue->count(), 23);
    EXPECT_TRUE(shell.hasMovingPieces());
    for (int x = 0; x < 88; ++x)  // the highlighted picture's corner tile, exactly in place
        ASSERT_EQ(at(160 + x, 40 + 44), pixelAt(lit, x, 44)) << x;
    frame(kCorner);
    frame(kCorner, SDL_BUTTON_LMASK);  // a second click while it slides
    frame(kCorner);
    EXPECT_EQ(shell.queue->count(), 23);
    framesUntilResting();
    for (int i = 0; i < 5; ++i)
        frame(pt{400, 400});
    EXPECT_EQ(shell.queue->count(), 23);  // not remembered for later
    EXPECT_NE(at(160 + 44, 40 + 44), pixelAt(lit, 44, 44));
    SDL_FreeSurface(lit);
}

// A press and a release handled in one frame, as a quick click, a tap on a touch screen (SDL's
// finger events and the mouse events it makes of them) or a quick finger drag give, count at
// the points where they were made; the mouse itself is up and elsewhere by then.
TEST_F(RoundTest, QuickClicksTapsAndDragsCount) {
    prepareRound();
    const auto quick = [this](pt from, pt to, bool touch) {
        port.mouseX = 620, port.mouseY = 500, port.mouseButtons = 0;
        SDL_Event finger = {};
        finger.type = SDL_FINGERDOWN;
        if (touch)
            SDL_PushEvent(&finger);
        const Uint32 which = touch ? SDL_TOUCH_MOUSEID : 0;
        pushMouseButton(SDL_MOUSEBUTTONDOWN, from.x, from.y, SDL_BUTTON_LEFT, which);
        pushMouseMotion(to.x, to.y, SDL_BUTTON_LMASK, which);
        finger.type = SDL_FINGERUP;
        if (touch)
            SDL_PushEvent(&finger);
        pushMouseButton(SDL_MOUSEBUTTONUP, to.x, to.y, SDL_BUTTON_LEFT, which);
        shell.gameFrame();
        shutGates();
    };
    quick(kCorner, kCorner, false);  // released: it slides to (4, 0)
    EXPECT_EQ(shell.queue->count(), 23);
    quick(kCorner, kCorner, true);  // while it moves: lost
    EXPECT_EQ(shell.queue->count(), 23);
    framesUntilResting();
    quick(kCorner, kCorner, true);  // a tap: the next one rests on (3, 0)
    EXPECT_EQ(shell.queue->count(), 22);
    framesUntilResting();
    BoardPiece* dragged = static_cast<BoardPiece*>(nullptr);
    for (BoardPiece* piece : shell.pieces)
        dragged = !piece->inQueue && piece->col == 3 ? piece : dragged;
    ASSERT_NE(dragged, nullptr);
    quick(centre(3, 0), pt{centre(3, 0).x + 5, centre(3, 0).y + 120}, true);  // a finger drag
    framesUntilResting();
    EXPECT_EQ(dragged->col * 10 + dragged->row, 34);
}

// A drag acts on the piece on the press cell when the release is handled (which need not be
// the piece pressed), and only while nothing moves.
TEST_F(RoundTest, DragsMoveThePieceOnThePressCellWhileNothingMoves) {
    prepareRound(3);
    BoardPiece* first = place(23, 3, 3);
    BoardPiece* mover = place(22, 0, 4);
    frame(centre(3, 3), SDL_BUTTON_LMASK);
    place(23, 3, 1);  // the piece leaves and another takes the cell before the release
    BoardPiece* second = place(21, 3, 3);
    frame(pt{centre(3, 3).x + 10, centre(3, 3).y + 60});
    EXPECT_EQ(second->dirY, 1);
    EXPECT_EQ(first->dirY, 0);
    framesUntilResting();
    EXPECT_EQ(second->row, 4);
    frame(centre(0, 4), SDL_BUTTON_LMASK);
    frame(pt{centre(0, 4).x + 80, centre(0, 4).y});
    ASSERT_TRUE(shell.hasMovingPieces());
    frame(centre(3, 1), SDL_BUTTON_LMASK);  // released while the other moves: lost
    frame(pt{centre(3, 1).x, centre(3, 1).y - 80});
    framesUntilResting();
    EXPECT_EQ(first->row, 1);
    EXPECT_EQ(mover->col, 2);
}

// A resting piece under the mouse is highlighted; a misplaced one makes its home cell glow
// once, frames 0 1 2 3 4 3 2 1 0; just right of the board nothing is highlighted.
TEST_F(RoundTest, HoverHighlightsAndTheGlowOnTheHomeCell) {
    prepareRound(2);
    BoardPiece* home = place(6, 2, 1);       // piece 6 belongs on (2, 1)
    BoardPiece* misplaced = place(7, 4, 3);  // piece 7 belongs on (3, 1)
    frame(centre(2, 1));
    EXPECT_EQ(home->currentFrame, 1);
    EXPECT_TRUE(highlighted(2, 1));
    EXPECT_EQ(shell.cursorCol, -1);  // at home: no glow
    std::vector<int> shown;
    for (int i = 0; i < 12; ++i) {
        frame(centre(4, 3));
        int f = -1;
        for (int candidate = 0; candidate < 5; ++candidate)
            f = glowShows(candidate, 3, 1) ? candidate : f;
        shown.push_back(f);
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 4, 3, 2, 1, 0, -1, -1, -1}));
    EXPECT_EQ(home->currentFrame, 0);
    EXPECT_EQ(misplaced->currentFrame, 1);
    frame(pt{600, centre(4, 3).y});  // just right of the board
    EXPECT_EQ(misplaced->currentFrame, 0);
    EXPECT_EQ(shell.cursorCol, -1);
    frame(centre(4, 3));  // coming back starts the pulse anew
    EXPECT_TRUE(glowShows(0, 3, 1));
    place(4, 1, 1);  // piece 4 belongs on (0, 1): its row, the first column
    frame(centre(1, 1));
    EXPECT_TRUE(glowShows(0, 0, 1));
}

// Completion is noticed at the start of the frame after the last step onto its home cell;
// that frame is still drawn in full and counted by the clock (its second tick: 00|01).
TEST_F(RoundTest, CompletionIsNoticedAtTheStartOfTheNextFrameWhichIsStillDrawn) {
    prepareRound();
    nearlyFinished({0});               // piece 0 (home (1, 0)) waits in the queue
    frame(kCorner, SDL_BUTTON_LMASK);  // released onto (1, 0): home at once, resting
    EXPECT_TRUE(shell.hasCompleted());
    EXPECT_FALSE(shell.completed);
    EXPECT_EQ(shell.countFont->getSeconds(), 0);
    frame(kCorner);
    EXPECT_TRUE(shell.completed);
    EXPECT_EQ(shell.countFont->getSeconds(), 1);
    SDL_Surface* puzzle = SDL_LoadBMP("GFX/Game/Puzzle.bmp");
    EXPECT_EQ(at(248 + 40, 40 + 40), pixelAt(puzzle, 88 + 40, 40));
    SDL_FreeSurface(puzzle);
}

// The round starts when the game screen stands, 26 frames after the choice; a quit event
// ends the round only, and the menu goes on with the welcome screen.
TEST_F(RoundTest, TheRoundStartsWhenTheScreenStandsAndAQuitEndsOnlyTheRound) {
    chooseGame();
    const int chosenAt = frames;
    int startedAt = -1;
    thenDo([&] { mouse(kCorner.x, kCorner.y, SDL_BUTTON_LMASK); });  // pressed before the round
    then([&] {
        if (!inRound())
            return false;
        startedAt = frames;
        EXPECT_EQ(shell.background->pos.x, 120);
        EXPECT_EQ(shell.queue->count(), 24);  // that press released nothing
        pushQuit();
        return true;
    });
    runMenuUntilScriptDone();
    // 25 menu frames show the slide; the 26th starts the round, whose first frame presents
    // before the menu frame's own.
    EXPECT_EQ(startedAt - chosenAt, 26);
    EXPECT_FALSE(shell.gameInput->done);
    EXPECT_EQ(shell.gameInput->selected, 0);
    EXPECT_FALSE(inRound());
    for (int i = 0; i < 26; ++i)
        shell.menuFrame();
    EXPECT_EQ(shell.currentScreen, 0);
    EXPECT_TRUE(shows("GFX/Backgrounds/Welcome.bmp"));
}

// Q held down for a second during a round (SDL2 repeats its key-down meanwhile) ends the round
// only, not the program.
TEST_F(RoundTest, QuitKeyHeldDuringARoundEndsOnlyTheRound) {
    chooseGame();
    then([&] {
        if (!inRound())
            return false;
        port.held.insert(SDLK_q);
        pushKeyDown(SDLK_q);
        return true;
    });
    for (int i = 0; i < 25; ++i)
        thenDo([] { pushKeyRepeat(SDLK_q); });
    thenDo([&] {
        port.held.erase(SDLK_q);
        pushKeyUp(SDLK_q);
    });
    thenDo([] {});
    runMenuUntilScriptDone();
    EXPECT_FALSE(inRound());
    EXPECT_FALSE(shell.gameInput->done);
    EXPECT_EQ(shell.currentScreen, 0);
}

// A round that nothing ends fails the test within its frame budget instead of hanging.
TEST_F(RoundTest, ARoundThatNeverEndsFailsWithinTheFrameBudget) {
    frameBudget = 100;
    chooseGame();
    then([] { return false; });  // waits for ever
    EXPECT_NONFATAL_FAILURE(runMenuUntilScriptDone(200), "100 frames: its loops are ended");
}

// A record time: the finished board stays 4 seconds, the congratulation asks for the name,
// the table file holds it, and the print key is on.
TEST_F(RoundTest, RecordRoundAsksForTheNameAndStoresIt) {
    playRound([] {}, [this] { return askingForTheName(); },
              [this] {
                  EXPECT_TRUE(pointManip::isEqual(shell.countFont->textPos, pt{277, 317}));
                  EXPECT_TRUE(caretShown());
                  thenDo([this] {  // the next picture, 16 frames later: the caret blinked off
                      EXPECT_FALSE(caretShown());
                      pushKeyDown(SDLK_a);
                      pushKeyDown(SDLK_b);
                      pushKeyDown(SDLK_RETURN);
                  });
              });
    EXPECT_FALSE(inRound());
    EXPECT_EQ(shell.enterHandler->backgroundImage, nullptr);  // it held the picture only then
    const auto pause = std::find(port.log.begin(), port.log.end(), "delay 4000");
    ASSERT_NE(pause, port.log.end());
    auto before = pause;  // the board's last frame was presented, then came the pause
    while (before != port.log.begin() && (before - 1)->rfind("delay 40", 0) == 0)
        --before;
    EXPECT_EQ(*(before - 1), "present");
    SDL_Surface* record = SDL_LoadBMP("GFX/Backgrounds/Congratulations1.bmp");
    EXPECT_EQ(at(120 + 100, 100), pixelAt(record, 100, 100));
    int ink = 0;  // the name stands in its field
    for (int x = 277; x < 277 + 38; ++x)
        ink += at(x, 317 + 8) != pixelAt(record, x - 120, 317 + 8);
    EXPECT_GT(ink, 5);
    SDL_FreeSurface(record);
    const int32_t seconds = shell.countFont->getSeconds();
    EXPECT_EQ(shell.countFont->getMinutes(), 0);
    EXPECT_GE(seconds, 1);
    const std::string bytes = readFile("Save/Highscore.hs");
    ASSERT_EQ(bytes.size(), 520u);
    const unsigned char named[12] = {0x8D, 0x01, 0, 0, 0x8E, 0x01, 0, 0, 0x2C, 0x01, 0, 0};
    EXPECT_EQ(bytes.substr(0, 12), std::string(reinterpret_cast<const char*>(named), 12));  // a b
    EXPECT_EQ(bytes.substr(44, 8),
              std::string(4, '\0') + static_cast<char>(seconds) + std::string(3, '\0'));
    EXPECT_EQ(bytes[52], '\x9F');  // the default entries below it
    EXPECT_EQ(shell.gameInput->selected, 99);
    shell.menuFrame();
    EXPECT_TRUE(shell.gameInput->buttons[9].enabled);  // the print key, after a completed round
    EXPECT_EQ(shell.currentScreen, 99);
}

// Escape at once stores an empty name; a quit event keeps what was typed, and the program
// goes on.
TEST_F(RoundTest, TheNameEntryEndsWithEscapeOrAQuit) {
    const struct {
        std::vector<SDL_Keycode> keys;  // SDLK_UNKNOWN: a quit event
        const char* name;
    } endings[] = {{{SDLK_ESCAPE}, ""}, {{SDLK_z, SDLK_UNKNOWN}, "z"}};
    for (const auto& e : endings) {
        unlink("Save/Highscore.hs");
        playRound([] {}, [this] { return askingForTheName(); },
                  [&] {
                      for (SDL_Keycode k : e.keys)
                          k == SDLK_UNKNOWN ? pushQuit() : pushKeyDown(k);
                  });
        EXPECT_FALSE(shell.gameInput->done);
        SolrindPHighscore table;
        EXPECT_STREQ(table.getSlotName(0), e.name);
        EXPECT_STREQ(table.getSlotName(1), "solrind");
    }
}

TEST_F(RoundTest, TenMinutesAgainstTheDefaultTableIsNoRecord) {
    { SolrindPHighscore table; }  // the default table on disk
    const std::string before = readFile("Save/Highscore.hs");
    playRound(
        [this] {
            shell.countFont->minutes = 10;  // as if ten minutes had passed
            shell.countFont->seconds = 0;
            shell.countFont->tickCount = 0;
        },
        [] { return true; },
        [this] { EXPECT_TRUE(shows("GFX/Backgrounds/Congratulations2.bmp")); });
    EXPECT_EQ(shell.countFont->getMinutes() * 60 + shell.countFont->getSeconds(), 600);
    EXPECT_EQ(readFile("Save/Highscore.hs"), before);
    EXPECT_EQ(shell.gameInput->selected, 99);
}
