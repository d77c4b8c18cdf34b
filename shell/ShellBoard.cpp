// The board's drawing and the start of a game; the rules themselves are the board's.
#include "CountFont.h"
#include "GameLayout.h"
#include "ImageBackground.h"
#include "RoundFile.h"
#include "SolrindPGameShell.h"
#include "gnPlatform.h"
#include "gnTime.h"

namespace {

constexpr pt kClockPos = {layout::kContentX + layout::kClock.x, layout::kClock.y};

}  // namespace

void SolrindPGameShell::eraseBoard() {
    const int32_t side = Board::kCellSize * Board::kCells;
    gnRectangle area = gnRect(Board::kLeft, Board::kTop, side, side);
    background->showRect(area);
}

void SolrindPGameShell::initGame() {
    // In a browser beside an event server, the server's seed: the round counts there only with it.
    uint32_t seed = gnGetTicks();
    std::string issuedId;
    const bool issued = gnIssuedSeed(seed, issuedId);
    round.start(seed);
    roundfile::stamp(round.record);
    if (issued)
        round.record.id = issuedId;
    countFont->textPos = kClockPos;
}

void SolrindPGameShell::keepRound() {
    if (round.record.frames > 0)  // a round ended before its first frame was never seen
        roundfile::save(round.record, roundfile::kFolder, roundsCap);
}
