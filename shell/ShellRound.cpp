// One round of the puzzle: the frame loop with its fixed order, the clicks and drags on the
// board, the hover highlight and the glow on a misplaced piece's home cell, and the ending.
#include "BoardPiece.h"
#include "CountFont.h"
#include "GameInput.h"
#include "GameLayout.h"
#include "Gates.h"
#include "SolrindPGameShell.h"
#include "gnImages.h"
#include "gnInput.h"
#include "gnScreen.h"
#include "gnTime.h"

namespace {

constexpr uint32_t kCompletedPauseMs = 4000;  // the finished board stays this long
constexpr int kGlowPeak = layout::kGlowFrames - 1;
constexpr int kGlowSteps = 2 * kGlowPeak;  // frames 0..4..0: nine in all
constexpr int32_t kTile = Board::kCellSize;
static_assert(kTile == layout::kTile, "a board cell is a tile of the pictures");

}  // namespace

void SolrindPGameShell::game() {
    initGame();
    aloneFrom = gnGetTicks();
    gameInput->buttonReleased = false;
    gameInput->buttonPressed = false;
    completed = false;
    if (!gameInput->done) {
        do {
            gameFrame();
        } while (!gameInput->done && !completed);
    }
    round.finish(completed);
    if (completed) {
        gnDelay(kCompletedPauseMs);
        checkHighscore();
        gameInput->selected = kChoiceCompleted;
    } else {
        gameInput->selected = kWelcome;  // the menu goes on with its welcome screen
        keepRound();
    }
    gameInput->done = gnTerminationRequested();  // a quit ends only the round, a SIGTERM all
    aloneFrom = gnGetTicks();                    // the menu is left alone from now
}

void SolrindPGameShell::gameFrame() {
    gameInput->pollEvents();
    if (isLeftAlone())
        pressEscape(gameInput);  // the next visitor finds no one else's board
    if (gameInput->selected != kPlay)
        gameInput->done = true;
    completed = round.beginFrame();  // noticed at the start of the frame after the last step
    eraseBoard();
    showGates();
    if (round.countTime())
        countFont->showTime();
    screen->beginUpdate();
    handleBoard();
    screen->dontUpdate();  // all of it lies in the board's or the gates' areas, sent already
    screen->update();
    waitFrame();
}

void SolrindPGameShell::handleBoard() {
    int hoverX = 0;
    int hoverY = 0;
    Board::posToIndex(gameInput->pointer(), hoverX, hoverY);
    int glowX = -1;
    int glowY = -1;
    const bool overCorner = hoverX == 0 && hoverY == 0;
    if (overCorner)
        highlightCorner();
    // Clicks and drags count only while nothing moves; made meanwhile, they are lost.
    if (round.isStill()) {
        if (gameInput->buttonPressed && overCorner)
            round.play(BoardMove{BoardMove::kRelease, 0, 0, 0, 0});
        if (gameInput->buttonReleased)
            round.play(Board::dragMove(gameInput->pressPoint, gameInput->dragVector));
    }
    for (int index = 0; index < kPieceCount; ++index) {
        BoardPiece* piece = pieces[index];
        if (piece->inQueue)
            continue;
        if (piece->dirX == 0 && piece->dirY == 0) {
            const bool hovered = piece->col == hoverX && piece->row == hoverY;
            piece->currentFrame = hovered ? 1 : 0;
            if (hovered && (piece->col != piece->homeCol || piece->row != piece->homeRow)) {
                glowX = piece->homeCol;
                glowY = piece->homeRow;
            }
        } else {
            piece->currentFrame = 0;
            board.slidePiece(index);
        }
        if (!piece->inQueue)
            piece->show();
    }
    showCursor(glowX, glowY);
    gameInput->buttonReleased = false;
    gameInput->buttonPressed = false;
}

void SolrindPGameShell::showCursor(int x, int y) {
    if (x < 0 || y < 0) {
        cursorCol = x;
        cursorRow = y;
        return;
    }
    if (x == cursorCol && y == cursorRow) {
        if (glowFrame >= kGlowSteps)
            return;  // the pulse has run: the glow stays off
        ++glowFrame;
    } else {
        glowFrame = 0;
        cursorCol = x;
        cursorRow = y;
    }
    const int frame = glowFrame <= kGlowPeak ? glowFrame : kGlowSteps - glowFrame;
    cursorImage->display(gnRect(kTile * frame, 0, kTile, kTile),
                         pt{Board::kLeft + kTile * x, Board::kTop + kTile * y});
}

void SolrindPGameShell::showGates() {
    round.swingGates();
    for (Gates* gate : gates)
        gate->show();
}

void SolrindPGameShell::highlightCorner() {
    highlightImage->display(gnRect(0, 0, kTile, kTile), pt{Board::kLeft, Board::kTop});
}
