// A player for rounds a program plays, with the game's rules and the C library's rand as the
// game draws it: either random legal moves, or a plan that completes the puzzle. Its rounds
// are recorded as the game records a player's, to try the replay, a server or a benchmark.
//
// The plan fills the rows from the bottom up through column 2: two pieces released onto the
// top row stop the next ones on (2,0); a piece wanted next is pushed down column 2 and along
// its row, any other is dropped through the top hole back to the end of the queue. The top
// row is solved last by a search over its four cells and the queue.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "BareRound.h"

class Bot {
  public:
    enum Style { kRandom, kPlanned };

    Bot(Style style, uint32_t seed);

    // Plays a round from the seed on the bare round until the puzzle is complete or maxFrames
    // have passed (given up then); the round's record is finished.
    void play(BareRound& bare, uint32_t seed, int32_t maxFrames);

    // The planned move for a still board; kNone to wait (for a gate, or when no plan holds).
    static BoardMove plan(const Board& board);

  private:
    void randomMoves(BareRound& bare);

    Style style;
    std::mt19937 choices;
};
