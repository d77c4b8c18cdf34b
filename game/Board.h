// The puzzle's rules: which cells are free and on the board, the holes behind the gates, the
// release from the corner, starting and stepping slides, and completion. The board works on
// the pieces, the queue and the gates its owner keeps (the shell); it knows nothing of drawing
// or of the mouse: a player's input reaches it as a plain move.
#pragma once

#include <cstdint>
#include <vector>

#include "BoardPiece.h"
#include "gnGeomUtil.h"

class Gates;
class RingQueue;

// A digest step, the same everywhere: FNV-1a taking a 32-bit word at a time.
inline uint32_t digestAdd(uint32_t hash, int32_t value) {
    return (hash ^ static_cast<uint32_t>(value)) * 16777619u;
}
constexpr uint32_t kDigestStart = 2166136261u;

// A player's move, as the round makes it from the mouse.
struct BoardMove {
    enum Kind { kNone, kRelease, kPush };
    Kind kind;
    int col;  // kPush: the cell whose piece is pushed
    int row;
    int dx;  // kPush: one of the four directions
    int dy;
};

class Board {
  public:
    static constexpr int kPieceCount = 24;
    static constexpr int kGateCount = 3;
    static constexpr int32_t kCells = 5;  // columns and rows
    static constexpr int32_t kCellSize = BoardPiece::kTileSize;
    static constexpr int32_t kLeft = 160;  // screen pixels of the top left cell's corner
    static constexpr int32_t kTop = 40;
    static constexpr int32_t kPieceStep = kCellSize / 2;  // pixels a moving piece goes a frame
    static constexpr uint32_t kSeedModulus = 10000;       // srand gets the seed modulo this

    // Works on the owner's pieces, queue and gates, which outlive the board.
    Board(BoardPiece* (&pieces)[kPieceCount], RingQueue*& queue, Gates* (&gates)[kGateCount]);

    // x is a column and y a row.
    // No piece off the queue stands on (x, y); any cell, on the board or not.
    bool isPieceFree(int x, int y) const;
    // (x, y) is one of the three holes (and, with checkOpen, its gate is fully open).
    bool isInHole(int x, int y, bool checkOpen) const;
    // A board cell other than the corner, or a hole while its gate is fully open.
    bool isOnBoard(int x, int y) const;
    bool hasMovingPieces() const;
    // The board cell under a screen point, or (-1, -1) off the board.
    static void posToIndex(const pt& p, int& x, int& y);
    static pt cellCentre(int col, int row);  // in screen pixels
    // The first piece in index order off the queue standing on (col, row), or null.
    BoardPiece* pieceAt(int col, int row) const;
    // Sets the piece moving one cell in (dx, dy) if that cell is free and on the board;
    // whether it did.
    bool checkMove(BoardPiece* piece, int dx, int dy);
    // The queue is empty and every piece stands on its home cell.
    bool hasCompleted() const;
    void queuePiece(int index);
    // A new game: seeds rand() with seed % 10000, queues every piece and shuffles the queue.
    void initGame(uint32_t seed);
    // The next queued piece onto cell (1, 0), moving right, when the queue holds one and
    // (1, 0) is free; whether it did.
    bool releasePiece();
    // The slide step of a moving piece: half a cell a frame until blocked; from a hole cell
    // back into the queue.
    void slidePiece(int index);
    void slideMoving();  // the slide step of each moving piece, in index order

    // The move a drag makes: the piece on the press cell pushed along the drag's longer axis
    // (vertical when both are equal); none for a drag of no length or from off the board.
    static BoardMove dragMove(const pt& pressPoint, const pt& dragVector);
    // Releases a piece, or starts the push of the piece on the move's cell; whether the move
    // changed the board (a release from an empty queue, a push from an empty cell or against
    // a piece or an edge does not).
    bool apply(const BoardMove& move);
    // For a player that reads the board: a piece's index, the queue in the order it releases,
    // a gate.
    int indexOf(const BoardPiece* piece) const;
    std::vector<int> queued() const;
    const Gates& gate(int g) const { return *gates[g]; }
    // Carries hash on over everything the rules read: each piece's place, motion, step and
    // drawn position, the queue's order, the gates' frames and directions.
    uint32_t digest(uint32_t hash) const;

  private:
    BoardPiece* (&pieces)[kPieceCount];  // index = row * 5 + column - 1; not owned
    RingQueue*& queue;                   // the pieces off the board; not owned
    Gates* (&gates)[kGateCount];         // top, bottom, left; not owned
};
