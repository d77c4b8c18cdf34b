// The board alone: a game as moves and boards, edges, random invariants, queue order, gates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <set>
#include <sstream>

#include "BoardMap.h"
#include "Files.h"
#include "Gates.h"

namespace {

class BoardTest : public testing::Test {
  protected:
    void SetUp() override {
        queue->setCapacity(Board::kPieceCount);
        for (int i = 0; i < Board::kPieceCount; ++i) {
            pieces[i] = &pieceStore[i];
            pieces[i]->homeCol = (i + 1) % 5;
            pieces[i]->homeRow = (i + 1) / 5;
            board.queuePiece(i);  // piece k in slot 23 - k: piece 23 comes out first
        }
        for (int g = 0; g < Board::kGateCount; ++g)
            gates[g] = &gateStore[g];
    }
    void TearDown() override { delete queue; }
    // Slide steps for every moving piece, as the round applies them, `frames` times.
    void slide(int frames) {
        for (int f = 0; f < frames; ++f)
            for (int i = 0; i < Board::kPieceCount; ++i)
                if (!pieces[i]->inQueue && (pieces[i]->dirX || pieces[i]->dirY))
                    board.slidePiece(i);
    }
    void drag(int col, int row, int dx, int dy) {
        board.apply(Board::dragMove(Board::cellCentre(col, row), pt{dx, dy}));
    }
    std::string map() { return boardMap(pieces, queue); }

    BoardPiece pieceStore[Board::kPieceCount];
    Gates gateStore[Board::kGateCount];
    BoardPiece* pieces[Board::kPieceCount] = {};
    RingQueue* queue = new RingQueue();
    Gates* gates[Board::kGateCount] = {};
    Board board{pieces, queue, gates};
};

}  // namespace

// Releases, slides until blocked, a hole behind an open gate, drags, a refused release.
TEST_F(BoardTest, AGameMoveByMove) {
    const struct {
        const char* move;  // release, slide n, drag col row dx dy, gate g frame
        const char* board;
    } game[] = {
        {"release", ".>.../...../...../...../..... 23"},  // piece 23 (home 4,4) moving right
        {"slide 1", "..>../...../...../...../..... 23"},
        {"slide 6", "....o/...../...../...../..... 23"},  // the board's edge stops it
        {"release", ".>..o/...../...../...../..... 22"},
        {"slide 5", "...oo/...../...../...../..... 22"},  // and a piece
        {"release", ".>.oo/...../...../...../..... 21"},
        {"slide 3", "..ooo/...../...../...../..... 21"},
        {"drag 2 0 0 -40", "..ooo/...../...../...../..... 21"},  // the gate is shut
        {"gate 0 4", "..ooo/...../...../...../..... 21"},
        {"drag 2 0 0 -40", "..^oo/...../...../...../..... 21"},
        {"slide 1", "...oo/...../...../...../..... 21"},  // into the hole above (2, 0)
        {"slide 2", "...oo/...../...../...../..... 22"},  // and back into the queue
        {"gate 0 0", "...oo/...../...../...../..... 22"},
        {"release", ".>.oo/...../...../...../..... 21"},  // piece 20: the fallen one waits
        {"slide 3", "..ooo/...../...../...../..... 21"},
        {"drag 4 0 0 40", "..oov/...../...../...../..... 21"},
        {"slide 9", "..oo./...../...../...../....H 21"},         // home
        {"drag 3 0 30 10", "..o>./...../...../...../....H 21"},  // the longer axis
        {"slide 3", "..o.o/...../...../...../....H 21"},
        {"drag 4 0 10 10", "..o.v/...../...../...../....H 21"},  // equal: vertical
        {"slide 7", "..o../...../...../....o/....H 21"},
        {"drag 2 0 -30 5", "..<../...../...../....o/....H 21"},
        {"slide 3", ".o.../...../...../....o/....H 21"},       // the corner is no cell
        {"drag 1 0 0 1", ".v.../...../...../....o/....H 21"},  // a one-pixel drag
        {"slide 9", "...../...../...../....o/.H..H 21"},
        {"drag 1 4 -50 0", "...../...../...../....o/.<..H 21"},
        {"slide 3", "...../...../...../....o/o...H 21"},
        {"drag 0 4 0 -40", "...../...../...../....o/^...H 21"},  // from column 0
        {"slide 7", "...../o..../...../....o/....H 21"},
        {"drag 0 1 0 0", "...../o..../...../....o/....H 21"},   // no length: no move
        {"drag 2 2 40 0", "...../o..../...../....o/....H 21"},  // an empty cell
        {"release", ".>.../o..../...../....o/....H 20"},
        {"slide 7", "....o/o..../...../....o/....H 20"},
        {"release", ".>..o/o..../...../....o/....H 19"},
        {"slide 5", "...oo/o..../...../....o/....H 19"},
        {"release", ".>.oo/o..../...../....o/....H 18"},
        {"slide 3", "..ooo/o..../...../....o/....H 18"},
        {"release", ".>ooo/o..../...../....o/....H 17"},
        {"slide 1", ".oooo/o..../...../....o/....H 17"},  // next to a taken cell: rests
        {"release", ".oooo/o..../...../....o/....H 17"},  // (1, 0) taken: refused
    };
    for (const auto& step : game) {
        std::istringstream move(step.move);
        std::string verb;
        int a = 0, b = 0, c = 0, d = 0;
        move >> verb >> a >> b >> c >> d;
        if (verb == "release")
            board.apply(BoardMove{BoardMove::kRelease, 0, 0, 0, 0});
        else if (verb == "slide")
            slide(a);
        else if (verb == "drag")
            drag(a, b, c, d);
        else
            gates[a]->currentFrame = b;
        ASSERT_EQ(map(), step.board) << step.move;
    }
    // The fallen piece went in just behind the head: it comes out after all the others, as the
    // board tells its queue's order.
    std::vector<int> told = board.queued();
    std::vector<void*> order;
    while (queue->count() > 0)
        order.push_back(queue->removeElem());
    std::vector<void*> expected;
    std::vector<int> indices;
    for (int k = 15; k >= 0; --k)
        expected.push_back(pieces[k]), indices.push_back(k);
    expected.push_back(pieces[21]);
    indices.push_back(21);
    EXPECT_EQ(order, expected);
    EXPECT_EQ(told, indices);
}

TEST_F(BoardTest, CellsHolesPointsAndDrags) {
    gates[1]->currentFrame = gates[2]->currentFrame = 4;
    // clang-format off
    const struct {
        int x, y;
        bool onBoard, inHole;
    } cells[] = {{0, 0, false, false}, {4, 4, true, false}, {1, 0, true, false}, {5, 2, false, false}, {-1, 1, false, false},
                 {2, -1, false, true}, {2, 5, true, true}, {-1, 2, true, true}, {0, 3, true, false}};
    // clang-format on
    for (const auto& c : cells) {
        EXPECT_EQ(board.isOnBoard(c.x, c.y), c.onBoard) << join(c.x, c.y);
        EXPECT_EQ(board.isInHole(c.x, c.y, false), c.inHole) << join(c.x, c.y);
        EXPECT_EQ(board.isInHole(c.x, c.y, true), c.inHole && c.onBoard) << join(c.x, c.y);
    }
    for (int frame = 0; frame < 5; ++frame) {  // a hole is on the board only while fully open
        gates[0]->currentFrame = frame;
        EXPECT_EQ(board.isOnBoard(2, -1), frame == 4) << frame;
    }
    // clang-format off
    const std::pair<pt, const char*> points[] = {{{160, 40}, "0 0"}, {{599, 479}, "4 4"}, {{247, 127}, "0 0"}, {{248, 128}, "1 1"},
        {{600, 300}, "-1 -1"}, {{159, 300}, "-1 -1"}, {{300, 39}, "-1 -1"}, {{300, 480}, "-1 -1"}};
    // clang-format on
    for (const auto& [p, cell] : points) {
        int x = 0, y = 0;
        Board::posToIndex(p, x, y);
        EXPECT_EQ(join(x, y), cell) << join(p.x, p.y);
    }
    // clang-format off
    const std::tuple<pt, pt, const char*> drags[] = {  // to kind col row dx dy
        {{470, 300}, {30, 10}, "2 3 2 1 0"}, {{470, 300}, {-30, 10}, "2 3 2 -1 0"}, {{470, 300}, {10, 10}, "2 3 2 0 1"},
        {{470, 300}, {-10, -30}, "2 3 2 0 -1"}, {{470, 300}, {0, 0}, "0 3 2 0 0"}, {{600, 300}, {50, 0}, "0 -1 -1 0 0"},
        {{160, 300}, {1, 0}, "2 0 2 1 0"}};
    // clang-format on
    for (const auto& [press, vector, move] : drags) {
        const BoardMove m = Board::dragMove(press, vector);
        EXPECT_EQ(join(m.kind, m.col, m.row, m.dx, m.dy), move);
    }
    BoardPiece* later = pieces[5];  // two pieces on one cell: the first by index moves
    BoardPiece* first = pieces[4];
    for (BoardPiece* p : {later, first})
        p->inQueue = false, p->col = 3, p->row = 2;
    drag(3, 2, 0, 40);
    EXPECT_EQ(first->dirY * 10 + later->dirY, 10);
}

// A new game shuffled by the seed's last four digits; completion once every cell is home.
TEST_F(BoardTest, NewGameAndCompletion) {
    pieces[3]->inQueue = false;
    board.initGame(123456);
    EXPECT_EQ(map(), "...../...../...../...../..... 24");
    const std::vector<void*> shuffled(queue->slots, queue->slots + 24);
    board.initGame(3456);
    EXPECT_EQ(shuffled, std::vector<void*>(queue->slots, queue->slots + 24));
    queue->clear();
    for (int i = 0; i < 24; ++i) {
        BoardPiece* p = pieces[i];
        p->inQueue = false, p->col = p->homeCol, p->row = p->homeRow;
        p->pos = Board::cellCentre(p->col, p->row);
    }
    board.queuePiece(23);
    EXPECT_FALSE(board.hasCompleted());  // all on the board are home, one is queued
    board.apply(BoardMove{BoardMove::kRelease, 0, 0, 0, 0});
    EXPECT_FALSE(board.hasCompleted());  // (1, 0) is taken: it stays queued
    pieces[23]->inQueue = false, pieces[23]->col = 3, pieces[23]->row = 4;
    pieces[23]->pos = Board::cellCentre(3, 4);
    queue->clear();
    board.checkMove(pieces[23], 1, 0);
    slide(1);
    EXPECT_TRUE(board.hasCompleted());  // still sliding in
    EXPECT_EQ(map(), ".HHHH/HHHHH/HHHHH/HHHHH/HHHH> 0");
}

// At random: 24 pieces, no two on a cell, none on the corner, off the grid only in a hole.
TEST_F(BoardTest, InvariantsHoldThroughLongRandomGames) {
    const char* given = getenv("SOLRIND_SEED");
    for (int seed : given ? std::vector<int>{atoi(given)} : std::vector<int>{1, 2, 3}) {
        SCOPED_TRACE("replay with SOLRIND_SEED=" + std::to_string(seed));
        std::mt19937 random(static_cast<unsigned>(seed));
        board.initGame(static_cast<uint32_t>(seed));
        int framesInHole[24] = {}, fallen = 0;
        for (int frame = 0; frame < 20000; ++frame) {
            for (Gates* gate : gates)
                gate->act();
            if (!board.hasMovingPieces()) {
                if (random() % 3 == 0)
                    board.apply(BoardMove{BoardMove::kRelease, 0, 0, 0, 0});
                const BoardPiece* piece = pieces[random() % 24];
                const pt push[4] = {{40, 0}, {-40, 0}, {0, 40}, {0, -40}};
                if (!piece->inQueue)
                    board.apply(Board::dragMove(piece->pos, push[random() % 4]));
            }
            const int queued = queue->count();
            slide(1);
            fallen += std::max(0, queue->count() - queued);
            std::set<std::pair<int, int>> cells;
            int onBoard = 0;
            for (int i = 0; i < 24; ++i) {
                const BoardPiece* p = pieces[i];
                const bool onGrid = p->col >= 0 && p->col < 5 && p->row >= 0 && p->row < 5;
                framesInHole[i] = p->inQueue || onGrid ? 0 : framesInHole[i] + 1;
                if (p->inQueue)
                    continue;
                ++onBoard;
                ASSERT_TRUE(cells.insert({p->col, p->row}).second) << frame;
                ASSERT_FALSE(p->col == 0 && p->row == 0) << frame;
                ASSERT_TRUE(onGrid || board.isInHole(p->col, p->row, false)) << frame;
                ASSERT_LE(framesInHole[i], 2) << frame;
            }
            ASSERT_EQ(onBoard + queue->count(), 24) << frame;
            if (frame % 1000 == 0)
                map();  // every piece drawn at its cell
        }
        EXPECT_GT(fallen, 0);  // the holes were exercised
    }
}

// A gate turns its swing one frame in 77, a frame a step; open only on its last frame.
TEST(Gates, SwingAtRandomOpenOnlyOnTheLastFrame) {
    srand(99);
    Gates gate;
    EXPECT_FALSE(gate.isOpen() || gate.opening);  // closed and closing from the start
    bool wasOpening = false;
    int frame = 0, turns = 0, open = 0;
    for (int i = 0; i < 2000; ++i) {
        gate.act();
        ASSERT_EQ(gate.currentFrame,
                  gate.opening ? std::min(frame + 1, 4) : std::max(frame - 1, 0));
        ASSERT_EQ(gate.isOpen(), gate.currentFrame == 4);
        turns += gate.opening != wasOpening;
        open += gate.isOpen();
        wasOpening = gate.opening;
        frame = gate.currentFrame;
    }
    EXPECT_GT(open, 0);
    EXPECT_NEAR(turns, 2000 / 77, 13);
}
