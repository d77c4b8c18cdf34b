// The game round with the real pictures: clicks and drags through the real input path, the
// hover aids, completion, the pause, the highscore flow and quitting.
#include <unistd.h>

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
    return pt{204 + 88 * col, 84 + 88 * row};
}

class RoundTest : public ShellFixture {
  protected:
    void SetUp() override {
        ShellFixture::SetUp();
        load();
        shell.newBackground("GFX/Backgrounds/GameBackground.bmp");
        shell.background->pos = pt{120, 0};
    }
    // Puts a piece on a cell, resting.
    BoardPiece* place(int index, int col, int row) {
        BoardPiece* piece = shell.pieces[index];
        piece->inQueue = false;
        piece->col = col;
        piece->row = row;
        piece->dirX = piece->dirY = piece->stepDelay = 0;
        piece->pos = Board::cellCentre(col, row);
        return piece;
    }
    // The state the menu leaves when the game screen has slid in, and a new game.
    void prepareRound() {
        shell.gameInput->activate();
        shell.newBackground("GFX/Backgrounds/GameBackground.bmp");
        shell.background->pos.x = 120;
        shell.showBackground();
        shell.setButtonsEnabled(false);
        shell.gameInput->selected = 5;
        shell.initGame();
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
    // One frame of the round, with the gates held shut.
    void frame() {
        shell.gameFrame();
        shutGates();
    }
    void framesUntilResting(int limit = 40) {
        for (int i = 0; i < limit && shell.hasMovingPieces(); ++i)
            frame();
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
    // A press at a and a release at b, each seen at its own frame.
    void drag(pt a, pt b) {
        mouse(a.x, a.y, SDL_BUTTON_LMASK);
        frame();
        mouse(b.x, b.y, 0);
        frame();
    }
    int pieceAt(int col, int row) {
        for (int i = 0; i < 24; ++i)
            if (!shell.pieces[i]->inQueue && shell.pieces[i]->col == col &&
                shell.pieces[i]->row == row)
                return i;
        return -1;
    }
    // The glow picture's frame f as drawn over cell (col, row): a sample of its edge.
    bool glowShows(int f, int col, int row) {
        SDL_Surface* glow = SDL_LoadBMP("GFX/Game/GlowCursor.bmp");
        const bool same =
            pixelAt(glow, 88 * f + 1, 44) == at(160 + 88 * col + 1, 40 + 88 * row + 44);
        SDL_FreeSurface(glow);
        return same;
    }
    bool highlighted(int col, int row) {
        SDL_Surface* lit = SDL_LoadBMP("GFX/Game/PuzzleHighlight.bmp");
        const bool same =
            pixelAt(lit, 88 * col + 1, 88 * row + 1) == at(160 + 88 * col + 1, 40 + 88 * row + 1);
        SDL_FreeSurface(lit);
        return same;
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
        step([this, atStart] {
            if (!inRound())
                return false;
            nearlyFinished({5, 1, 0});
            atStart();
            mouse(kCorner.x, kCorner.y, SDL_BUTTON_LMASK);
            return true;
        });
        auto release = [this, step](pt a, pt b) {
            step([this, a] {
                mouse(a.x, a.y, SDL_BUTTON_LMASK);
                return true;
            });
            step([this, b] {
                mouse(b.x, b.y, 0);
                return true;
            });
            step([this] { return !shell.hasMovingPieces(); });
        };
        step([this] {
            mouse(kCorner.x, kCorner.y, 0);
            return true;
        });
        step([this] { return !shell.hasMovingPieces(); });  // piece 5 rests on (2, 0)
        release(centre(2, 0), pt{340, 90});                 // dragged left to (1, 0)
        release(centre(1, 0), pt{296, 130});                // dragged down to (1, 1)
        release(kCorner, kCorner);                          // piece 1 comes to rest on (2, 0)
        step([this] {
            if (!boardShot.empty())
                screenshotPath = screenshot(boardShot);
            return true;
        });
        release(kCorner, kCorner);  // piece 0 onto (1, 0): complete
        then([this, ready, whenDone] {
            const bool paused = std::count(port.sleeps.begin(), port.sleeps.end(), 4000u) > 0;
            if (!paused || !ready())
                return false;
            whenDone();
            return true;
        });
        runMenuUntilScriptDone();
    }

    std::string boardShot;  // the name of a screenshot of the board before the last release
    std::string screenshotPath;
};

}  // namespace

TEST_F(RoundTest, CornerClickWhileAPieceSlidesIsLostNotRemembered) {
    prepareRound();
    mouse(kCorner.x, kCorner.y, SDL_BUTTON_LMASK);
    frame();
    EXPECT_EQ(shell.queue->count(), 23);
    EXPECT_TRUE(shell.hasMovingPieces());
    mouse(kCorner.x, kCorner.y, 0);
    frame();
    mouse(kCorner.x, kCorner.y, SDL_BUTTON_LMASK);  // a second click while it slides
    frame();
    mouse(kCorner.x, kCorner.y, 0);
    frame();
    EXPECT_EQ(shell.queue->count(), 23);
    framesUntilResting();
    for (int i = 0; i < 5; ++i)
        frame();
    EXPECT_EQ(shell.queue->count(), 23);  // not remembered for later
    EXPECT_EQ(pieceAt(4, 0), pieceAt(4, 0) >= 0 ? pieceAt(4, 0) : -2);
}

TEST_F(RoundTest, TheLongerAxisOfTheDragDecides) {
    prepareRound();
    shell.queue->removeElem();
    BoardPiece* piece = place(23, 2, 2);
    drag(centre(2, 2), pt{centre(2, 2).x + 30, centre(2, 2).y + 10});
    EXPECT_EQ(piece->dirX, 1);
    EXPECT_EQ(piece->dirY, 0);
    framesUntilResting();
    EXPECT_EQ(piece->col, 4);
    drag(centre(4, 2), pt{centre(4, 2).x + 10, centre(4, 2).y + 10});  // equal: vertical
    EXPECT_EQ(piece->dirY, 1);
    framesUntilResting();
    EXPECT_EQ(piece->row, 4);
    drag(centre(4, 4), centre(4, 4));  // no movement: nothing
    EXPECT_FALSE(shell.hasMovingPieces());
    drag(centre(3, 3), pt{centre(3, 3).x - 50, centre(3, 3).y});  // an empty cell: nothing
    EXPECT_FALSE(shell.hasMovingPieces());
}

TEST_F(RoundTest, DragReleasedWhilePiecesMoveIsLost) {
    prepareRound();
    shell.queue->removeElem();
    shell.queue->removeElem();
    BoardPiece* still = place(23, 2, 3);
    BoardPiece* mover = place(22, 0, 4);
    drag(centre(0, 4), pt{centre(0, 4).x + 80, centre(0, 4).y});
    ASSERT_TRUE(shell.hasMovingPieces());
    drag(centre(2, 3), pt{centre(2, 3).x, centre(2, 3).y - 80});
    framesUntilResting();
    EXPECT_EQ(still->row, 3);
    EXPECT_EQ(mover->col, 4);
}

TEST_F(RoundTest, DragMovesThePieceOnThePressCellAtTheRelease) {
    prepareRound();
    shell.queue->removeElem();
    shell.queue->removeElem();
    BoardPiece* first = place(23, 3, 3);
    mouse(centre(3, 3).x, centre(3, 3).y, SDL_BUTTON_LMASK);
    frame();
    first->col = 3;  // the piece leaves and another takes the cell before the release
    first->row = 1;
    first->pos = centre(3, 1);
    BoardPiece* second = place(22, 3, 3);
    mouse(centre(3, 3).x, centre(3, 3).y + 60, 0);
    frame();
    EXPECT_EQ(second->dirY, 1);
    EXPECT_EQ(first->dirY, 0);
}

TEST_F(RoundTest, CornerIsHighlightedWheneverTheMouseIsOverItAlsoWhilePiecesMove) {
    prepareRound();
    SDL_Surface* lit = SDL_LoadBMP("GFX/Game/PuzzleHighlight.bmp");
    mouse(kCorner.x, kCorner.y, SDL_BUTTON_LMASK);
    frame();
    EXPECT_TRUE(shell.hasMovingPieces());
    EXPECT_EQ(at(160 + 44, 40 + 44), pixelAt(lit, 44, 44));
    mouse(400, 400, 0);
    frame();
    EXPECT_NE(at(160 + 44, 40 + 44), pixelAt(lit, 44, 44));
    SDL_FreeSurface(lit);
}

TEST_F(RoundTest, HoveringAPieceAtHomeHighlightsItWithoutAGlow) {
    prepareRound();
    shell.queue->removeElem();
    BoardPiece* home = place(6, 2, 1);  // piece 6 belongs on (2, 1)
    mouse(centre(2, 1).x, centre(2, 1).y);
    frame();
    EXPECT_EQ(home->currentFrame, 1);
    EXPECT_TRUE(highlighted(2, 1));
    EXPECT_EQ(shell.cursorCol, -1);
}

TEST_F(RoundTest, HoveringAMisplacedPieceMakesItsHomeGlowOnceForNineFrames) {
    prepareRound();
    shell.queue->removeElem();
    place(6, 4, 3);  // piece 6 belongs on (2, 1)
    mouse(centre(4, 3).x, centre(4, 3).y);
    std::vector<int> shown;
    for (int i = 0; i < 12; ++i) {
        frame();
        int f = -1;
        for (int candidate = 0; candidate < 5; ++candidate)
            if (glowShows(candidate, 2, 1))
                f = candidate;
        shown.push_back(f);
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 4, 3, 2, 1, 0, -1, -1, -1}));
    EXPECT_TRUE(highlighted(4, 3));
    mouse(400, 400);  // leaving and coming back starts the pulse anew
    frame();
    mouse(centre(4, 3).x, centre(4, 3).y);
    frame();
    EXPECT_TRUE(glowShows(0, 2, 1));
}

TEST_F(RoundTest, JustRightOfTheBoardNothingIsHighlighted) {
    prepareRound();
    shell.queue->removeElem();
    BoardPiece* piece = place(6, 4, 3);
    mouse(600, centre(4, 3).y);
    frame();
    EXPECT_EQ(piece->currentFrame, 0);
    EXPECT_EQ(shell.cursorCol, -1);
}

TEST_F(RoundTest, CompletionIsNoticedAtTheStartOfTheNextFrameWhichIsStillDrawn) {
    prepareRound();
    nearlyFinished({0});  // piece 0 (home (1, 0)) waits in the queue
    mouse(kCorner.x, kCorner.y, SDL_BUTTON_LMASK);
    frame();  // released onto (1, 0): home at once, resting since (2, 0) is taken
    EXPECT_TRUE(shell.hasCompleted());
    EXPECT_FALSE(shell.completed);
    EXPECT_EQ(shell.countFont->getSeconds(), 0);
    frame();
    EXPECT_TRUE(shell.completed);
    EXPECT_EQ(shell.countFont->getSeconds(), 1);  // the clock counted it: its second tick
    SDL_Surface* puzzle = SDL_LoadBMP("GFX/Game/Puzzle.bmp");
    EXPECT_EQ(at(248 + 40, 40 + 40), pixelAt(puzzle, 88 + 40, 40));  // and it was drawn
    SDL_FreeSurface(puzzle);
}

TEST_F(RoundTest, ClockShowsTheFirstSecondOnTheRoundsSecondFrame) {
    prepareRound();
    frame();
    EXPECT_EQ(shell.countFont->getSeconds(), 0);
    frame();
    EXPECT_EQ(shell.countFont->getSeconds(), 1);
    for (int i = 0; i < 27; ++i)
        frame();
    EXPECT_EQ(shell.countFont->getSeconds(), 2);
}

TEST_F(RoundTest, RoundStartsOnlyWhenTheGameScreenHasSlidIn) {
    chooseGame();
    const int chosenAt = frames;
    int startedAt = -1;
    then([&] {
        if (!inRound())
            return false;
        startedAt = frames;
        EXPECT_TRUE(contentShows("GFX/Backgrounds/GameBackground.bmp") ||
                    shell.background->pos.x == 120);
        pushQuit();
        return true;
    });
    runMenuUntilScriptDone();
    // 25 menu frames show the slide; the 26th starts the round, whose first frame presents
    // before the menu frame's own.
    EXPECT_EQ(startedAt - chosenAt, 26);
}

TEST_F(RoundTest, ANewGameQueuesEverythingAndPutsTheClockAtZero) {
    place(3, 2, 2);
    shell.countFont->giveTime(7, 7);
    port.now = 123456;
    shell.initGame();
    EXPECT_EQ(shell.queue->count(), 24);
    EXPECT_EQ(shell.countFont->textPos.x, 505);
    EXPECT_EQ(shell.countFont->textPos.y, 492);
    EXPECT_EQ(shell.countFont->getMinutes(), 0);
    EXPECT_EQ(shell.countFont->getSeconds(), 0);
    EXPECT_EQ(shell.countFont->tickCount, 25);
    void* shuffled[24];  // seeded with the clock's 3456
    for (int i = 0; i < 24; ++i)
        shuffled[i] = shell.queue->slots[i];
    shell.board.initGame(3456);
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(shell.queue->slots[i], shuffled[i]) << i;
}

TEST_F(RoundTest, EraseBoardRedrawsTheBoardAreaFromTheBackground) {
    shell.screen->fillRect(gnRect(0, 0, 640, 520), 255, 255, 255);
    shell.screen->update();
    port.clearLog();
    shell.eraseBoard();
    shell.screen->update();
    EXPECT_EQ(port.updates(), (std::vector<std::string>{"update 160 40 440 440"}));
    SDL_Surface* game = SDL_LoadBMP("GFX/Backgrounds/GameBackground.bmp");
    EXPECT_EQ(at(160, 40), pixelAt(game, 40, 40));
    EXPECT_EQ(at(599, 479), pixelAt(game, 479, 479));
    EXPECT_EQ(at(159, 40), kWhite);
    SDL_FreeSurface(game);
}

TEST_F(RoundTest, QuitDuringARoundReturnsToTheWelcomeScreen) {
    chooseGame();
    then([&] {
        if (!inRound())
            return false;
        pushQuit();
        return true;
    });
    runMenuUntilScriptDone();
    EXPECT_FALSE(shell.gameInput->done);  // only the round ended
    EXPECT_EQ(shell.gameInput->selected, 0);
    EXPECT_FALSE(inRound());
    shell.menuFrame();
    EXPECT_EQ(shell.currentScreen, 0);
    for (int i = 0; i < 25; ++i)
        shell.menuFrame();
    EXPECT_TRUE(contentShows("GFX/Backgrounds/Welcome.bmp"));
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

TEST_F(RoundTest, RecordRoundAsksForTheNameAndStoresIt) {
    boardShot = "game-pieces";
    int congratulated = 0;
    playRound([] {}, [this] { return shell.enterHandler->backgroundImage != nullptr; },
              [&] {
                  congratulated = frames;
                  EXPECT_TRUE(shell.enterHandler->backgroundImage != nullptr);
                  EXPECT_EQ(shell.countFont->textPos.x, 277);
                  pushKeyDown(SDLK_a);
                  pushKeyDown(SDLK_b);
                  pushKeyDown(SDLK_RETURN);
              });
    ASSERT_GT(congratulated, 0);
    EXPECT_FALSE(inRound());
    RecordProperty("screenshot", screenshotPath);
    EXPECT_FALSE(screenshotPath.empty());
    // The finished board stayed 4 seconds before the congratulation.
    const auto pause = std::find(port.log.begin(), port.log.end(), "delay 4000");
    ASSERT_NE(pause, port.log.end());
    EXPECT_EQ(*(pause - 1), "present");
    SDL_Surface* record = SDL_LoadBMP("GFX/Backgrounds/Congratulations1.bmp");
    EXPECT_EQ(at(120 + 100, 100), pixelAt(record, 100, 100));
    int ink = 0;  // the name stands in its field
    for (int x = 277; x < 277 + 38; ++x)
        ink += at(x, 317 + 8) != pixelAt(record, x - 120, 317 + 8);
    EXPECT_GT(ink, 5);
    SDL_FreeSurface(record);
    screenshotPath = screenshot("record-name");
    const int32_t minutes = shell.countFont->getMinutes();
    const int32_t seconds = shell.countFont->getSeconds();
    EXPECT_EQ(minutes, 0);
    EXPECT_GE(seconds, 1);
    {
        SolrindPHighscore table;
        EXPECT_STREQ(table.getSlotName(0), "ab");
        EXPECT_EQ(table.getSlotMinutes(0), minutes);
        EXPECT_EQ(table.getSlotSeconds(0), seconds);
        EXPECT_STREQ(table.getSlotName(1), "solrind");
        EXPECT_EQ(table.getSlotMinutes(9), 10);
    }
    const std::string bytes = readFile("Save/Highscore.hs");
    ASSERT_EQ(bytes.size(), 520u);
    const unsigned char expectedName[8] = {0x8D, 0x01, 0, 0, 0x8E, 0x01, 0, 0};  // a, b
    EXPECT_EQ(bytes.substr(0, 8), std::string(reinterpret_cast<const char*>(expectedName), 8));
    EXPECT_EQ(static_cast<unsigned char>(bytes[8]), 0x2C);  // the end of the name: 0 + 300
    EXPECT_EQ(static_cast<unsigned char>(bytes[48]), seconds);
    EXPECT_EQ(shell.gameInput->selected, 99);
    shell.menuFrame();
    EXPECT_TRUE(shell.gameInput->buttons[9].enabled);  // the print key, after a completed round
    EXPECT_EQ(shell.currentScreen, 99);
}

TEST_F(RoundTest, EscapeAtOnceStoresAnEmptyName) {
    playRound([] {}, [this] { return shell.enterHandler->backgroundImage != nullptr; },
              [] { pushKeyDown(SDLK_ESCAPE); });
    SolrindPHighscore table;
    EXPECT_STREQ(table.getSlotName(0), "");
    EXPECT_STREQ(table.getSlotName(1), "solrind");
}

TEST_F(RoundTest, QuitDuringTheNameEntryKeepsWhatWasTyped) {
    playRound([] {}, [this] { return shell.enterHandler->backgroundImage != nullptr; },
              [] {
                  pushKeyDown(SDLK_z);
                  pushQuit();
              });
    EXPECT_FALSE(shell.gameInput->done);
    SolrindPHighscore table;
    EXPECT_STREQ(table.getSlotName(0), "z");
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
        [this] { EXPECT_TRUE(contentShows("GFX/Backgrounds/Congratulations2.bmp")); });
    EXPECT_EQ(shell.countFont->getMinutes(), 10);
    EXPECT_EQ(shell.countFont->getSeconds(), 0);
    EXPECT_EQ(readFile("Save/Highscore.hs"), before);
    EXPECT_EQ(shell.gameInput->selected, 99);
    EXPECT_TRUE(contentShows("GFX/Backgrounds/Congratulations2.bmp"));
}
