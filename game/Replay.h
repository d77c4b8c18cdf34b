// A round played back from its record with the game's own rules and the recording C library's
// generator, without a window and without waiting: it holds when every move is made at its
// frame on the board recorded before it and the round ends at its recorded frame, complete or
// not as recorded, with the recorded time and board.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "BareRound.h"
#include "Round.h"

class Replay {
  public:
    // "" when the round ends as recorded; else what did not hold, one line.
    std::string verify(const RoundRecord& record);
    // The round as a story: its moves, and the board as text after each frame asked for (0:
    // before the first); the verdict last.
    std::string tell(const RoundRecord& record, const std::vector<int32_t>& boardsAt);

    static std::string describe(const BoardMove& move);  // "release", "push (2,0) up"

  private:
    std::string play(const RoundRecord& record, std::string* story,
                     const std::vector<int32_t>* boardsAt);
    std::string whyNot(const BoardMove& move) const;  // why the rules refuse the move

    BareRound bare;
};
