// The board's drawing and the start of a game; the rules themselves are the board's.
#include "CountFont.h"
#include "ImageBackground.h"
#include "RoundFile.h"
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
    round.start(gnGetTicks());
    roundfile::stamp(round.record);
    countFont->textPos = kClockPos;
}

void SolrindPGameShell::keepRound() {
    if (round.record.frames > 0)  // a round ended before its first frame was never seen
        roundfile::save(round.record, roundfile::kFolder, roundsCap);
}
