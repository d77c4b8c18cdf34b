#include "Bot.h"

#include <array>
#include <deque>
#include <map>
#include <string>

namespace {

constexpr int kTop = 0;  // the gates, in the board's order
constexpr int kBottom = 1;
constexpr int kLeft = 2;
constexpr int kRowCells = 4;       // the top row's cells (1,0) to (4,0)
constexpr int kDrop = 1;           // (2,0), under the top hole, as a top row cell
constexpr int kSearchMax = 20000;  // states the top row's search looks at
constexpr int kMoveOdds = 4;       // a random player moves on one still frame in four

BoardMove release() {
    return BoardMove{BoardMove::kRelease, 0, 0, 0, 0};
}

BoardMove push(int col, int row, int dx, int dy) {
    return BoardMove{BoardMove::kPush, col, row, dx, dy};
}

BoardMove wait() {
    return BoardMove{BoardMove::kNone, -1, -1, 0, 0};
}

// The index of the piece on a cell, or -1.
int at(const Board& board, int col, int row) {
    const BoardPiece* piece = board.pieceAt(col, row);
    return piece ? board.indexOf(piece) : -1;
}

int homeIndex(int col, int row) {
    return row * Board::kCells + col - 1;
}

// A gate that cannot open within the next few frames: shut, and not swinging open.
bool isCalm(const Board& board, int gate) {
    return board.gate(gate).currentFrame == 0 && !board.gate(gate).opening;
}

// The top row alone, once the rows below are complete: its cells and the queue.
struct TopRow {
    std::array<int, kRowCells> cells;
    std::deque<int> queue;

    std::string key() const {
        std::string k;
        for (const int c : cells)
            k += static_cast<char>('a' + c + 1);
        k += '|';
        for (const int q : queue)
            k += static_cast<char>('a' + q + 1);
        return k;
    }
    // A piece from cell `from` slides `way` until the corner, an edge or a piece stops it.
    void slide(int from, int way) {
        const int piece = cells[from];
        cells[from] = -1;
        int to = from;
        while (to + way >= 0 && to + way < kRowCells && cells[to + way] < 0)
            to += way;
        cells[to] = piece;
    }
};

// The first move of the shortest way to the finished top row: release, a push left or right,
// or a drop through the top hole to the end of the queue; kNone when there is none.
BoardMove solveTopRow(const TopRow& start) {
    struct Step {
        TopRow row;
        BoardMove first;
    };
    std::deque<Step> open = {{start, wait()}};
    std::map<std::string, bool> seen = {{start.key(), true}};
    for (int looked = 0; !open.empty() && looked < kSearchMax; ++looked) {
        const Step step = open.front();
        open.pop_front();
        const TopRow& row = step.row;
        if (row.queue.empty() && row.cells == std::array<int, kRowCells>{0, 1, 2, 3})
            return step.first;
        std::vector<std::pair<TopRow, BoardMove>> next;
        if (row.cells[0] < 0 && !row.queue.empty()) {
            TopRow t = row;
            t.cells[0] = t.queue.front();
            t.queue.pop_front();
            t.slide(0, 1);
            next.push_back({t, release()});
        }
        for (int c = 0; c < kRowCells; ++c) {
            if (row.cells[c] < 0)
                continue;
            for (const int way : {-1, 1}) {
                if (c + way < 0 || c + way >= kRowCells || row.cells[c + way] >= 0)
                    continue;
                TopRow t = row;
                t.slide(c, way);
                next.push_back({t, push(c + 1, 0, way, 0)});
            }
            if (c == kDrop) {
                TopRow t = row;
                t.queue.push_back(t.cells[c]);
                t.cells[c] = -1;
                next.push_back({t, push(c + 1, 0, 0, -1)});
            }
        }
        for (auto& [t, move] : next)
            if (seen.emplace(t.key(), true).second)
                open.push_back({t, step.first.kind == BoardMove::kNone ? move : step.first});
    }
    return wait();
}

}  // namespace

Bot::Bot(Style style, uint32_t seed) : style(style), choices(seed) {}

void Bot::play(BareRound& bare, uint32_t seed, int32_t maxFrames) {
    Round& round = bare.round;
    round.start(seed);
    for (;;) {
        const bool complete = round.beginFrame();
        round.swingGates();
        round.countTime();
        if (round.isStill()) {
            if (style == kRandom)
                randomMoves(bare);
            else if (const BoardMove move = plan(bare.board); move.kind != BoardMove::kNone)
                round.play(move);
        }
        bare.board.slideMoving();
        if (complete || round.frame >= maxFrames) {
            round.finish(complete);
            return;
        }
    }
}

void Bot::randomMoves(BareRound& bare) {
    if (choices() % kMoveOdds != 0)
        return;
    const uint32_t pick = choices();
    // A release now and then with a push in the same frame, as a quick player makes them.
    if (pick % 3 == 0 && bare.round.play(release()) && pick % 2 == 0)
        return;
    const int col = static_cast<int>(choices() % Board::kCells);
    const int row = static_cast<int>(choices() % Board::kCells);
    static constexpr int kWays[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
    const int* way = kWays[choices() % 4];
    bare.round.play(push(col, row, way[0], way[1]));  // one that changes nothing is no move
}

BoardMove Bot::plan(const Board& board) {
    // The first cell, rows 4 to 1, each row's ends first: (0,r), (1,r), (4,r), (3,r), (2,r).
    static constexpr int kOrder[5] = {0, 1, 4, 3, 2};
    int targetCol = -1, targetRow = -1;
    for (int row = Board::kCells - 1; row >= 1 && targetCol < 0; --row)
        for (const int col : kOrder)
            if (at(board, col, row) != homeIndex(col, row)) {
                targetCol = col;
                targetRow = row;
                break;
            }
    std::array<int, kRowCells> top;
    for (int c = 0; c < kRowCells; ++c)
        top[c] = at(board, c + 1, 0);
    if (targetCol < 0) {
        TopRow row{top, {}};
        for (const int q : board.queued())
            row.queue.push_back(q);
        const BoardMove move = solveTopRow(row);
        return move.dy < 0 && !board.gate(kTop).isOpen() ? wait() : move;
    }
    const int wanted = homeIndex(targetCol, targetRow);
    if (at(board, targetCol, targetRow) >= 0)
        return wait();                        // a stranger on the cell: no plan holds
    if (at(board, 2, targetRow) == wanted) {  // down column 2: now along the row
        const bool leftHole = targetRow == 2 && targetCol == 0;
        if (leftHole && !isCalm(board, kLeft))
            return wait();
        return push(2, targetRow, targetCol < 2 ? -1 : 1, 0);
    }
    const int drop = top[kDrop];
    if (drop == wanted) {
        if (targetRow == Board::kCells - 1 && !isCalm(board, kBottom))
            return wait();
        return push(2, 0, 0, 1);
    }
    if (drop >= 0) {
        if (top[2] == wanted && top[0] < 0)
            return push(2, 0, -1, 0);  // a stop on (1,0) for the wanted piece
        return board.gate(kTop).isOpen() ? push(2, 0, 0, -1) : wait();
    }
    const bool queued = !board.queued().empty();
    if (top[2] == wanted)  // on (3,0): stopped by a piece on (1,0) it slides to (2,0)
        return top[0] >= 0 || !queued ? push(3, 0, -1, 0) : release();
    if (top[3] == wanted) {  // on (4,0): (3,0) cleared and a piece on (1,0) first
        if (top[2] >= 0)
            return push(3, 0, -1, 0);
        return top[0] >= 0 || !queued ? push(4, 0, -1, 0) : release();
    }
    if (top[0] == wanted)
        return push(1, 0, 1, 0);
    if (top[0] >= 0)
        return push(1, 0, 1, 0);  // a stop no longer needed goes right
    return queued ? release() : wait();
}
