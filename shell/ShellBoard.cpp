// The board's drawing and the start of a game; the rules themselves are the board's.
#include "CountFont.h"
#include "ImageBackground.h"
#include "SolrindPGameShell.h"
#include "gnTime.h"

namespace {

constexpr pt kClockPos = {505, 492};

}  // namespace

void SolrindPGameShell::eraseBoard() {
    const int32_t side = Board::kCellSize * Board::kCells;
    gnRectangle area = gnRect(Board::kLeft, Board::kTop, side, side);
    background->showRect(area);
}

void SolrindPGameShell::initGame() {
    board.initGame(gnGetTicks());
    countFont->textPos = kClockPos;
    countFont->giveTime(0, 0);
}
