// The board's rules on the board alone: real pieces, queue and gates, no screen and no shell.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <set>

#include "Board.h"
#include "Gates.h"
#include "RingQueue.h"

namespace {

class BoardTest : public testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < Board::kPieceCount; ++i) {
            pieces[i] = &pieceStore[i];
            pieces[i]->homeCol = (i + 1) % 5;
            pieces[i]->homeRow = (i + 1) / 5;
        }
        for (int g = 0; g < Board::kGateCount; ++g)
            gates[g] = &gateStore[g];
        queue->setCapacity(Board::kPieceCount);
        clearBoard();
    }
    void TearDown() override { delete queue; }

    void setGate(int gate, bool open) { gates[gate]->currentFrame = open ? Gates::kFrames - 1 : 0; }
    // Puts a piece on a cell, resting.
    BoardPiece* place(int index, int col, int row) {
        BoardPiece* piece = pieces[index];
        piece->inQueue = false;
        piece->col = col;
        piece->row = row;
        piece->dirX = piece->dirY = piece->stepDelay = 0;
        piece->pos = Board::cellCentre(col, row);
        return piece;
    }
    // Every piece back into the queue in index order, nothing on the board.
    void clearBoard() {
        queue->clear();
        for (int i = 0; i < Board::kPieceCount; ++i)
            board.queuePiece(i);
    }
    // One frame of slide steps, as the round applies them.
    void slideAll() {
        for (int i = 0; i < Board::kPieceCount; ++i)
            if (!pieces[i]->inQueue && (pieces[i]->dirX != 0 || pieces[i]->dirY != 0))
                board.slidePiece(i);
    }
    int onBoard() const {
        int n = 0;
        for (BoardPiece* piece : pieces)
            n += !piece->inQueue;
        return n;
    }
    int indexOf(const void* piece) const {
        for (int i = 0; i < Board::kPieceCount; ++i)
            if (pieces[i] == piece)
                return i;
        return -1;
    }
    // Releases the next piece and lets it slide until it rests; the piece released.
    BoardPiece* releaseAndSettle() {
        const int queued = queue->count();
        board.apply(BoardMove{BoardMove::kRelease, 0, 0, 0, 0});
        BoardPiece* released = queue->count() < queued ? board.pieceAt(1, 0) : nullptr;
        for (int frame = 0; frame < 20 && board.hasMovingPieces(); ++frame)
            slideAll();
        return released;
    }

    BoardPiece pieceStore[Board::kPieceCount];
    Gates gateStore[Board::kGateCount];
    BoardPiece* pieces[Board::kPieceCount] = {};
    RingQueue* queue = new RingQueue();
    Gates* gates[Board::kGateCount] = {};
    Board board{pieces, queue, gates};
};

}  // namespace

TEST_F(BoardTest, NewGameQueuesEverythingShuffledBySeed) {
    place(3, 2, 2);
    board.initGame(123456);  // seeds 3456
    EXPECT_EQ(queue->count(), 24);
    EXPECT_FALSE(board.hasMovingPieces());
    EXPECT_FALSE(board.hasCompleted());
    for (int x = -1; x <= 5; ++x)
        for (int y = -1; y <= 5; ++y)
            EXPECT_TRUE(board.isPieceFree(x, y)) << x << "," << y;
    void* shuffled[24];
    for (int i = 0; i < 24; ++i)
        shuffled[i] = queue->slots[i];
    srand(3456);
    clearBoard();
    queue->unsort();
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(queue->slots[i], shuffled[i]) << i;
}

TEST_F(BoardTest, WhatCountsAsOnTheBoardAndInAHole) {
    EXPECT_FALSE(board.isOnBoard(0, 0));
    EXPECT_TRUE(board.isOnBoard(4, 4));
    EXPECT_TRUE(board.isOnBoard(1, 0));
    EXPECT_FALSE(board.isOnBoard(5, 2));
    EXPECT_FALSE(board.isOnBoard(-1, 1));
    for (int frame = 0; frame < 4; ++frame) {
        gates[0]->currentFrame = frame;
        EXPECT_FALSE(board.isOnBoard(2, -1)) << frame;
    }
    gates[0]->currentFrame = 4;
    EXPECT_TRUE(board.isOnBoard(2, -1));
    EXPECT_FALSE(board.isOnBoard(2, 5));
    setGate(1, true);
    setGate(2, true);
    EXPECT_TRUE(board.isOnBoard(2, 5));
    EXPECT_TRUE(board.isOnBoard(-1, 2));
    setGate(0, false);
    for (const auto& hole : {std::pair{2, -1}, {2, 5}, {-1, 2}})
        EXPECT_TRUE(board.isInHole(hole.first, hole.second, false));
    EXPECT_FALSE(board.isInHole(-1, 1, false));
    EXPECT_FALSE(board.isInHole(5, 2, false));
    EXPECT_FALSE(board.isInHole(2, -1, true));
    EXPECT_TRUE(board.isInHole(2, 5, true));
}

TEST_F(BoardTest, ScreenPointsMapToCells) {
    const struct {
        pt p;
        int x, y;
    } cases[] = {{{160, 40}, 0, 0},   {{599, 479}, 4, 4},   {{247, 127}, 0, 0},
                 {{248, 128}, 1, 1},  {{600, 300}, -1, -1}, {{159, 300}, -1, -1},
                 {{300, 39}, -1, -1}, {{300, 480}, -1, -1}};
    for (const auto& c : cases) {
        int x = 0, y = 0;
        Board::posToIndex(c.p, x, y);
        EXPECT_EQ(x, c.x) << c.p.x << "," << c.p.y;
        EXPECT_EQ(y, c.y) << c.p.x << "," << c.p.y;
    }
}

// A drag becomes a push along its longer axis (vertical when both are equal) of the piece on
// the press cell; a click without movement, or a press off the board, is no move.
TEST_F(BoardTest, ADragIsAPushAlongItsLongerAxis) {
    const struct {
        pt press, drag;
        BoardMove::Kind kind;
        int col, row, dx, dy;
    } drags[] = {
        {{470, 300}, {30, 10}, BoardMove::kPush, 3, 2, 1, 0},
        {{470, 300}, {-30, 10}, BoardMove::kPush, 3, 2, -1, 0},
        {{470, 300}, {10, 10}, BoardMove::kPush, 3, 2, 0, 1},
        {{470, 300}, {-10, -30}, BoardMove::kPush, 3, 2, 0, -1},
        {{470, 300}, {0, 0}, BoardMove::kNone, 3, 2, 0, 0},
        {{600, 300}, {50, 0}, BoardMove::kNone, -1, -1, 0, 0},
    };
    for (const auto& d : drags) {
        const BoardMove move = Board::dragMove(d.press, d.drag);
        const std::string which = std::to_string(d.drag.x) + "," + std::to_string(d.drag.y);
        EXPECT_EQ(move.kind, d.kind) << which;
        EXPECT_EQ(move.col, d.col) << which;
        EXPECT_EQ(move.row, d.row) << which;
        EXPECT_EQ(move.dx, d.dx) << which;
        EXPECT_EQ(move.dy, d.dy) << which;
    }
    BoardPiece* first = place(5, 3, 2);
    BoardPiece* second = place(4, 3, 2);  // the lower index on the cell is pushed
    board.apply(Board::dragMove(pt{470, 300}, pt{0, 40}));
    EXPECT_EQ(second->dirY, 1);
    EXPECT_EQ(first->dirY, 0);
    board.apply(Board::dragMove(pt{200, 300}, pt{40, 0}));  // an empty cell: nothing moves
    EXPECT_EQ(onBoard(), 2);
}

TEST_F(BoardTest, SlideIsStoppedByAnotherPieceInTwoFrames) {
    BoardPiece* mover = place(0, 1, 0);
    place(2, 3, 0);
    board.checkMove(mover, 1, 0);
    EXPECT_EQ(mover->dirX, 1);
    EXPECT_EQ(mover->pos.x, 292);  // the move starts in the next slide step
    slideAll();
    EXPECT_EQ(mover->col, 2);  // already the cell it moves into
    EXPECT_EQ(mover->pos.x, 336);
    slideAll();
    EXPECT_EQ(mover->pos.x, 380);
    EXPECT_TRUE(board.hasMovingPieces());
    slideAll();
    EXPECT_FALSE(board.hasMovingPieces());
    EXPECT_EQ(mover->col, 2);
    EXPECT_EQ(mover->pos.x, 380);
    EXPECT_EQ(mover->pos.y, 84);
}

TEST_F(BoardTest, MovesStartOnlyTowardsAFreeCellOnTheBoard) {
    BoardPiece* piece = place(5, 1, 1);
    place(6, 1, 2);
    board.checkMove(piece, 0, 1);   // taken
    board.checkMove(piece, -1, 0);  // (0, 1) is free and on the board
    EXPECT_EQ(piece->dirX, -1);
    EXPECT_EQ(piece->dirY, 0);
    BoardPiece* corner = place(0, 1, 0);
    board.checkMove(corner, -1, 0);  // the corner is not on the board
    board.checkMove(corner, 0, -1);  // off the board
    EXPECT_EQ(corner->dirX, 0);
    EXPECT_EQ(corner->dirY, 0);
}

TEST_F(BoardTest, ReleaseIsRefusedWhileTheCellIsTakenOrTheQueueEmpty) {
    BoardPiece* first = releaseAndSettle();
    EXPECT_EQ(first, pieces[23]);  // slot 0 of the queue comes out first
    EXPECT_EQ(first->col, 4);
    place(indexOf(first), 1, 0);
    board.releasePiece();
    EXPECT_EQ(queue->count(), 23);
    EXPECT_EQ(onBoard(), 1);
    queue->clear();
    for (int i = 0; i < 24; ++i)
        place(i, 1 + i % 4, i / 4 % 5);
    place(0, 3, 3);
    board.releasePiece();
    EXPECT_EQ(queue->count(), 0);
    EXPECT_EQ(onBoard(), 24);
}

TEST_F(BoardTest, ReleasedPieceRestsAtOnceWhenTheNextCellIsTaken) {
    queue->removeElem();
    BoardPiece* blocker = place(23, 2, 0);
    board.releasePiece();
    BoardPiece* released = pieces[22];
    EXPECT_FALSE(released->inQueue);
    EXPECT_EQ(released->dirX, 1);
    EXPECT_EQ(released->pos.x, 292);
    EXPECT_EQ(released->pos.y, 84);
    slideAll();
    EXPECT_EQ(released->dirX, 0);
    EXPECT_EQ(released->col, 1);
    EXPECT_EQ(released->pos.x, 292);
    EXPECT_EQ(blocker->col, 2);
}

TEST_F(BoardTest, PieceFallsThroughAnOpenTopGateAndReturnsWhereTheQueuePutsIt) {
    releaseAndSettle();                       // piece 23 from slot 0 rests on (4, 0)
    releaseAndSettle();                       // piece 22 from slot 1 on (3, 0)
    BoardPiece* faller = releaseAndSettle();  // piece 21 from slot 2 on (2, 0); head is 2
    EXPECT_EQ(faller, pieces[21]);
    EXPECT_EQ(faller->col, 2);
    board.checkMove(faller, 0, -1);  // the gate is shut
    EXPECT_EQ(faller->dirY, 0);
    setGate(0, true);
    board.checkMove(faller, 0, -1);
    slideAll();
    EXPECT_EQ(faller->row, -1);
    EXPECT_EQ(faller->pos.y, 40);
    slideAll();
    EXPECT_FALSE(faller->inQueue);
    EXPECT_EQ(faller->pos.y, -4);  // the centre of the hole
    slideAll();
    EXPECT_TRUE(faller->inQueue);
    EXPECT_EQ(queue->count(), 22);
    EXPECT_EQ(queue->slots[1], faller);  // just behind head
    std::vector<int> order;
    while (queue->count() > 0)
        order.push_back(indexOf(queue->removeElem()));
    std::vector<int> expected;
    for (int k = 20; k >= 0; --k)
        expected.push_back(k);
    expected.push_back(21);  // out again only after all the others
    EXPECT_EQ(order, expected);
}

TEST_F(BoardTest, GateClosingAsAPieceApproachesStopsItOnTheEdgeCell) {
    setGate(0, true);
    queue->removeElem();
    BoardPiece* piece = place(23, 2, 3);
    board.checkMove(piece, 0, -1);
    for (int frame = 0; frame < 5; ++frame)
        slideAll();  // through (2, 2) and (2, 1)
    EXPECT_EQ(piece->row, 0);
    setGate(0, false);
    slideAll();
    slideAll();
    EXPECT_FALSE(board.hasMovingPieces());
    EXPECT_FALSE(piece->inQueue);
    EXPECT_EQ(piece->row, 0);
    EXPECT_EQ(piece->pos.y, 84);
}

TEST_F(BoardTest, CompletionNeedsAnEmptyQueueAndEveryPieceHome) {
    queue->clear();
    for (int i = 0; i < 23; ++i)
        place(i, (i + 1) % 5, (i + 1) / 5);
    board.queuePiece(23);
    EXPECT_FALSE(board.hasCompleted());  // all on the board are home, one is queued
    queue->clear();
    BoardPiece* last = place(23, 3, 4);
    EXPECT_FALSE(board.hasCompleted());
    board.checkMove(last, 1, 0);
    slideAll();
    EXPECT_TRUE(board.hasCompleted());  // home as soon as its cell is, still sliding in
    EXPECT_TRUE(board.hasMovingPieces());
}

// Releases, drags and swinging gates at random: after every frame the pieces on the board and
// in the queue add up to 24, no two share a cell, none stands on the corner, and a piece off
// the board stands in a hole for at most two frames.
TEST_F(BoardTest, InvariantHoldsThroughALongRandomGame) {
    const char* given = getenv("SOLRIND_SEED");
    const unsigned seed =
        given ? static_cast<unsigned>(strtoul(given, nullptr, 10))
              : static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count());
    SCOPED_TRACE("replay with SOLRIND_SEED=" + std::to_string(seed));
    std::mt19937 random(seed);
    board.initGame(seed);
    int framesInHole[24] = {};
    int fallen = 0;
    for (int frame = 0; frame < 20000; ++frame) {
        for (Gates* gate : gates)
            gate->act();
        if (!board.hasMovingPieces()) {
            if (random() % 3 == 0)
                board.apply(BoardMove{BoardMove::kRelease, 0, 0, 0, 0});
            const BoardPiece* piece = pieces[random() % 24];
            const pt drag[4] = {{40, 0}, {-40, 0}, {0, 40}, {0, -40}};
            if (!piece->inQueue)
                board.apply(Board::dragMove(piece->pos, drag[random() % 4]));
        }
        const int queuedBefore = queue->count();
        slideAll();
        fallen += std::max(0, queue->count() - queuedBefore);

        ASSERT_EQ(onBoard() + queue->count(), 24) << "frame " << frame;
        std::set<std::pair<int, int>> cells;
        for (int i = 0; i < 24; ++i) {
            const BoardPiece* piece = pieces[i];
            if (piece->inQueue) {
                framesInHole[i] = 0;
                continue;
            }
            ASSERT_TRUE(cells.insert({piece->col, piece->row}).second) << "frame " << frame;
            ASSERT_FALSE(piece->col == 0 && piece->row == 0) << "frame " << frame;
            if (piece->col >= 0 && piece->col < 5 && piece->row >= 0 && piece->row < 5) {
                framesInHole[i] = 0;
            } else {
                ASSERT_TRUE(board.isInHole(piece->col, piece->row, false)) << "frame " << frame;
                ASSERT_LE(++framesInHole[i], 2) << "frame " << frame;
            }
        }
    }
    EXPECT_GT(fallen, 0);  // the holes were exercised
}
