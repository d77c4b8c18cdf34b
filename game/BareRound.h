// A round on pieces, a queue, gates and a clock of its own, with no screen and no waiting: the
// replay's and the bot's. The pieces have their homes and the gates start closed, as the game's.
#pragma once

#include "Board.h"
#include "BoardPiece.h"
#include "CountFont.h"
#include "Gates.h"
#include "RingQueue.h"
#include "Round.h"

struct BareRound {
    BareRound();
    BareRound(const BareRound&) = delete;
    BareRound& operator=(const BareRound&) = delete;

    // The board as text: five rows of cells, a piece as its letter (A for the one at home on
    // (1, 0), in reading order, to X; lower case away from home) and its motion (> < v ^),
    // ".." an empty cell, "##" the corner; then the queue and the gates.
    std::string boardText() const;
    std::string clockText() const;  // 02:13

    BoardPiece pieceStore[Board::kPieceCount];
    BoardPiece* pieces[Board::kPieceCount] = {};
    RingQueue queueStore;
    RingQueue* queue = &queueStore;
    Gates gateStore[Board::kGateCount];
    Gates* gates[Board::kGateCount] = {};
    CountFont clockStore;
    CountFont* clock = &clockStore;
    Board board{pieces, queue, gates};
    Round round{board, gates, clock};
};
