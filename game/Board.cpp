#include "Board.h"

#include <cstdlib>

#include "Gates.h"
#include "Random.h"
#include "RingQueue.h"

namespace {

// The three holes just outside the board, each behind one gate.
struct Hole {
    int col;
    int row;
    int gate;
};
constexpr Hole kHoles[Board::kGateCount] = {
    {2, -1, 0},  // above the middle column, behind the top gate
    {2, 5, 1},   // below it, behind the bottom gate
    {-1, 2, 2},  // left of the middle row, behind the left gate
};

bool isMoving(const BoardPiece* piece) {
    return piece->dirX != 0 || piece->dirY != 0;
}

}  // namespace

Board::Board(BoardPiece* (&pieces)[kPieceCount], RingQueue*& queue, Gates* (&gates)[kGateCount])
    : pieces(pieces), queue(queue), gates(gates) {}

bool Board::isPieceFree(int x, int y) const {
    return pieceAt(x, y) == nullptr;
}

bool Board::isInHole(int x, int y, bool checkOpen) const {
    for (const Hole& hole : kHoles)
        if (hole.col == x && hole.row == y)
            return !checkOpen || gates[hole.gate]->isOpen();
    return false;
}

bool Board::isOnBoard(int x, int y) const {
    if (x >= 0 && x < kCells && y >= 0 && y < kCells)
        return x != 0 || y != 0;
    return isInHole(x, y, true);
}

bool Board::hasMovingPieces() const {
    for (const BoardPiece* piece : pieces)
        if (!piece->inQueue && isMoving(piece))
            return true;
    return false;
}

void Board::posToIndex(const pt& p, int& x, int& y) {
    const int32_t extent = kCellSize * kCells;
    if (p.x >= kLeft && p.x < kLeft + extent && p.y >= kTop && p.y < kTop + extent) {
        x = (p.x - kLeft) / kCellSize;
        y = (p.y - kTop) / kCellSize;
    } else {
        x = -1;
        y = -1;
    }
}

pt Board::cellCentre(int col, int row) {
    return pt{kLeft + kCellSize * col + kCellSize / 2, kTop + kCellSize * row + kCellSize / 2};
}

BoardPiece* Board::pieceAt(int col, int row) const {
    for (BoardPiece* piece : pieces)
        if (!piece->inQueue && piece->col == col && piece->row == row)
            return piece;
    return nullptr;
}

bool Board::checkMove(BoardPiece* piece, int dx, int dy) {
    const int x = piece->col + dx;
    const int y = piece->row + dy;
    if (!isPieceFree(x, y) || !isOnBoard(x, y))
        return false;
    piece->dirX = dx;
    piece->dirY = dy;
    return true;
}

bool Board::hasCompleted() const {
    if (queue->count() != 0)
        return false;
    for (const BoardPiece* piece : pieces)
        if (piece->col != piece->homeCol || piece->row != piece->homeRow)
            return false;
    return true;
}

void Board::queuePiece(int index) {
    pieces[index]->inQueue = true;
    queue->addElem(pieces[index]);
}

void Board::initGame(uint32_t seed) {
    gameRandom().seed(seed % kSeedModulus);
    queue->clear();
    for (int index = 0; index < kPieceCount; ++index)
        queuePiece(index);
    queue->unsort();
}

bool Board::releasePiece() {
    if (queue->count() == 0 || !isPieceFree(1, 0))
        return false;
    BoardPiece* piece = static_cast<BoardPiece*>(queue->removeElem());
    piece->inQueue = false;
    piece->pos = cellCentre(1, 0);
    piece->dirX = 1;
    piece->dirY = 0;
    piece->stepDelay = 0;
    piece->col = 1;
    piece->row = 0;
    return true;
}

void Board::slidePiece(int index) {
    BoardPiece* piece = pieces[index];
    if (piece->stepDelay > 0) {
        --piece->stepDelay;  // half way between two cells
    } else if (isInHole(piece->col, piece->row, false)) {
        queuePiece(index);  // its direction stays as it was
    } else {
        const int x = piece->col + piece->dirX;
        const int y = piece->row + piece->dirY;
        if (!isOnBoard(x, y) || !isPieceFree(x, y)) {
            piece->dirX = 0;
            piece->dirY = 0;
        } else {
            piece->col = x;
            piece->row = y;
            piece->stepDelay = 1;
        }
    }
    if (isMoving(piece))
        pointManip::movePoint(piece->pos, kPieceStep * piece->dirX, kPieceStep * piece->dirY);
}

int Board::indexOf(const BoardPiece* piece) const {
    for (int index = 0; index < kPieceCount; ++index)
        if (pieces[index] == piece)
            return index;
    return -1;
}

std::vector<int> Board::queued() const {
    std::vector<int> order;
    for (int32_t i = 0; i < queue->capacity; ++i)
        if (const void* slot = queue->slots[(queue->head + i) % queue->capacity])
            order.push_back(indexOf(static_cast<const BoardPiece*>(slot)));
    return order;
}

void Board::slideMoving() {
    for (int index = 0; index < kPieceCount; ++index)
        if (!pieces[index]->inQueue && isMoving(pieces[index]))
            slidePiece(index);
}

BoardMove Board::dragMove(const pt& pressPoint, const pt& dragVector) {
    BoardMove move = {BoardMove::kNone, -1, -1, 0, 0};
    posToIndex(pressPoint, move.col, move.row);
    const int32_t dx = dragVector.x;
    const int32_t dy = dragVector.y;
    if (move.col < 0 || (dx == 0 && dy == 0))
        return move;
    move.kind = BoardMove::kPush;
    if (abs(dx) > abs(dy))
        move.dx = dx > 0 ? 1 : -1;  // the longer axis decides
    else
        move.dy = dy > 0 ? 1 : -1;
    return move;
}

bool Board::apply(const BoardMove& move) {
    if (move.kind == BoardMove::kRelease)
        return releasePiece();
    BoardPiece* piece = move.kind == BoardMove::kPush ? pieceAt(move.col, move.row) : nullptr;
    return piece && checkMove(piece, move.dx, move.dy);
}

uint32_t Board::digest(uint32_t hash) const {
    for (const BoardPiece* p : pieces) {
        hash = digestAdd(hash, p->inQueue);
        if (!p->inQueue)  // a queued piece's place is left over from before
            for (const int32_t v :
                 {p->col, p->row, p->dirX, p->dirY, p->stepDelay, p->pos.x, p->pos.y})
                hash = digestAdd(hash, v);
    }
    hash = digestAdd(hash, queue->head);
    for (int32_t i = 0; i < queue->capacity; ++i) {
        const BoardPiece* slot = static_cast<const BoardPiece*>(queue->slots[i]);
        hash =
            digestAdd(hash, slot ? slot->homeRow * kCells + slot->homeCol - 1 : -1);  // its index
    }
    for (const Gates* gate : gates)
        hash = digestAdd(digestAdd(hash, gate->currentFrame), gate->opening);
    return hash;
}
