#include "Round.h"

#include "CountFont.h"
#include "Gates.h"
#include "Random.h"

Round::Round(Board& board, Gates* (&gates)[Board::kGateCount], CountFont*& clock)
    : board(board), gates(gates), clock(clock) {}

void Round::start(uint32_t seed) {
    record = RoundRecord();
    record.seed = seed % Board::kSeedModulus;
    record.library = thisLibrary();
    for (int g = 0; g < Board::kGateCount; ++g)
        record.gates[g] = GateStart{gates[g]->currentFrame, gates[g]->opening};
    frame = 0;
    board.initGame(record.seed);
    clock->giveTime(0, 0);
}

bool Round::beginFrame() {
    ++frame;
    return board.hasCompleted();
}

void Round::swingGates() {
    for (Gates* gate : gates)
        gate->act();
}

bool Round::countTime() {
    return clock->advance();
}

bool Round::play(const BoardMove& move) {
    lastCheck = digest();
    if (!board.apply(move))
        return false;
    record.moves.push_back(RoundMove{frame, move, lastCheck});
    return true;
}

void Round::finish(bool completedRound) {
    record.frames = frame;
    record.completed = completedRound;
    record.minutes = clock->getMinutes();
    record.seconds = clock->getSeconds();
    record.end = digest();
}

uint32_t Round::digest() const {
    uint32_t hash = kDigestStart;
    for (const int32_t v : {frame, clock->tickCount, clock->minutes, clock->seconds})
        hash = digestAdd(hash, v);
    return board.digest(hash);
}
