// The board's rules: which cells are free and on the board, the holes behind the gates,
// releases from the corner, starting and stepping slides, and completion.
#include <cstdlib>

#include "BoardPiece.h"
#include "CountFont.h"
#include "Gates.h"
#include "ImageBackground.h"
#include "RingQueue.h"
#include "SolrindPGameShell.h"
#include "port/gnPort.h"

namespace {

constexpr uint32_t kSeedModulus = 10000;  // the seed is the milliseconds since start modulo this
constexpr pt kClockPos = {505, 492};

// The three holes just outside the board, each behind one gate.
struct Hole {
    int col;
    int row;
    int gate;
};
constexpr Hole kHoles[SolrindPGameShell::kGateCount] = {
    {2, -1, 0},  // above the middle column, behind the top gate
    {2, 5, 1},   // below it, behind the bottom gate
    {-1, 2, 2},  // left of the middle row, behind the left gate
};

// The centre of a cell, in screen pixels.
pt cellCentre(int col, int row) {
    const int32_t half = SolrindPGameShell::kCellSize / 2;
    return pt{SolrindPGameShell::kBoardX + SolrindPGameShell::kCellSize * col + half,
              SolrindPGameShell::kBoardY + SolrindPGameShell::kCellSize * row + half};
}

}  // namespace

bool SolrindPGameShell::isPieceFree(int x, int y) {
    for (BoardPiece* piece : pieces)
        if (!piece->inQueue && piece->col == x && piece->row == y)
            return false;
    return true;
}

bool SolrindPGameShell::isInHole(int x, int y, bool checkOpen) {
    for (const Hole& hole : kHoles)
        if (hole.col == x && hole.row == y)
            return !checkOpen || gates[hole.gate]->isOpen();
    return false;
}

bool SolrindPGameShell::isOnBoard(int x, int y) {
    if (x >= 0 && x < kBoardCells && y >= 0 && y < kBoardCells)
        return x != 0 || y != 0;
    return isInHole(x, y, true);
}

bool SolrindPGameShell::hasMovingPieces() {
    for (BoardPiece* piece : pieces)
        if (!piece->inQueue && (piece->dirX != 0 || piece->dirY != 0))
            return true;
    return false;
}

void SolrindPGameShell::posToIndex(const pt& p, int& x, int& y) {
    const int32_t extent = kCellSize * kBoardCells;
    if (p.x >= kBoardX && p.x < kBoardX + extent && p.y >= kBoardY && p.y < kBoardY + extent) {
        x = (p.x - kBoardX) / kCellSize;
        y = (p.y - kBoardY) / kCellSize;
    } else {
        x = -1;
        y = -1;
    }
}

void SolrindPGameShell::checkMove(BoardPiece* piece, int dx, int dy) {
    const int x = piece->col + dx;
    const int y = piece->row + dy;
    if (isPieceFree(x, y) && isOnBoard(x, y)) {
        piece->dirX = dx;
        piece->dirY = dy;
    }
}

bool SolrindPGameShell::hasCompleted() {
    if (queue->count() != 0)
        return false;
    for (BoardPiece* piece : pieces)
        if (piece->col != piece->homeCol || piece->row != piece->homeRow)
            return false;
    return true;
}

void SolrindPGameShell::eraseBoard() {
    gnRectangle board;
    rectManip::init(board, kBoardX, kBoardY, kCellSize * kBoardCells, kCellSize * kBoardCells);
    background->showRect(board);
}

void SolrindPGameShell::queuePiece(int index) {
    pieces[index]->inQueue = true;
    queue->addElem(pieces[index]);
}

void SolrindPGameShell::initGame() {
    srand(gnPort::get().getTicks() % kSeedModulus);
    queue->clear();
    for (int index = 0; index < kPieceCount; ++index)
        queuePiece(index);
    queue->unsort();
    countFont->textPos = kClockPos;
    countFont->giveTime(0, 0);
}

void SolrindPGameShell::releasePiece() {
    if (queue->count() == 0 || !isPieceFree(1, 0))
        return;
    BoardPiece* piece = static_cast<BoardPiece*>(queue->removeElem());
    piece->inQueue = false;
    piece->pos = cellCentre(1, 0);
    piece->dirX = 1;
    piece->dirY = 0;
    piece->stepDelay = 0;
    piece->col = 1;
    piece->row = 0;
}

void SolrindPGameShell::slidePiece(int index) {
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
    if (piece->dirX != 0 || piece->dirY != 0)
        pointManip::movePoint(piece->pos, kPieceStep * piece->dirX, kPieceStep * piece->dirY);
}
