// One round of the puzzle as its rules see it, frame by frame, and what it leaves: the record
// of its seed, its generator and every move that changed the board. The game plays its rounds
// through it and a replay plays the record back through it, so both take the same steps in the
// same order: the completion noticed at the start of a frame, the gates' swings (top, bottom,
// left, one draw each), the clock's frame, the moves while nothing moves (a release before a
// push), then each moving piece's step in index order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Board.h"

class CountFont;
class Gates;

// A move that changed the board, with the frame it was made in (from 1) and the digest of the
// round just before it (Round::digest).
struct RoundMove {
    int32_t frame;
    BoardMove move;  // kRelease, or kPush of a cell in one of four directions
    uint32_t check;
};

// A gate as the round found it: gates keep their swing from one round to the next.
struct GateStart {
    int32_t frame;  // 0 closed to 4 open
    bool opening;
};

// Everything that decides how a round ends, and how it ended.
struct RoundRecord {
    std::string id;       // 32 hexadecimal digits, drawn at random
    std::string kiosk;    // the machine that played it ("web" in a browser)
    std::string started;  // UTC, as 2026-12-07T20:15:03Z
    std::string library;  // the C library whose rand drew the numbers: "glibc" or "musl"
    uint32_t seed = 0;    // what srand was given: 0 to 9999
    GateStart gates[Board::kGateCount] = {};
    std::vector<RoundMove> moves;
    int32_t frames = 0;      // frames played, the last included
    bool completed = false;  // false: given up (Esc, Q, the kiosk's idle limit, a signal)
    int32_t minutes = 0;     // the clock at the end
    int32_t seconds = 0;
    bool record = false;  // the time entered the table
    std::string name;     // the name entered for it, in the font's characters
    uint32_t end = 0;     // the digest after the last frame
};

class Round {
  public:
    // Plays on the owner's board, gates and clock, which outlive the round.
    Round(Board& board, Gates* (&gates)[Board::kGateCount], CountFont*& clock);

    // A new round: the board's initGame with the seed, the clock at 00|00, a fresh record of
    // the seed (modulo 10000), this build's C library and the gates' states.
    void start(uint32_t seed);
    // Counts a frame; whether the board was complete at its start, making it the last.
    bool beginFrame();
    void swingGates();  // each gate's act, in order
    bool countTime();   // the clock's frame; whether the time advanced
    // Nothing moves: the frame takes moves.
    bool isStill() const { return !board.hasMovingPieces(); }
    // Applies the move; records it when it changed the board. lastCheck is the digest before it.
    bool play(const BoardMove& move);
    // Closes the record: the frames, how it ended, the clock and the final digest.
    void finish(bool completedRound);
    // The frame count, the clock's state and the board's (Board::digest).
    uint32_t digest() const;

    int32_t frame = 0;  // frames begun
    uint32_t lastCheck = 0;
    RoundRecord record;

  private:
    Board& board;
    Gates* (&gates)[Board::kGateCount];
    CountFont*& clock;
};
