// One of the 24 puzzle pieces: a clipped two-frame sprite (its tile of the puzzle picture,
// normal and highlighted) with the board state that the move rules read and write.
#pragma once

#include <cstdint>

#include "ClippedAnimSprite.h"

class BoardPiece : public ClippedAnimSprite {
  public:
    static constexpr uint32_t kTileSize = 88;  // pixels, in the picture and on the board

    BoardPiece();
    ~BoardPiece() override;

    // Frames 0 and 1 show the home cell's tile of the normal and the highlighted picture.
    // Call after open().
    void init(gnImage* normal, gnImage* highlight, int32_t homeCol, int32_t homeRow);
    void initFrame(int32_t frame);  // the home tile's rectangle for that frame

    bool inQueue;  // waiting in the shell's queue: not drawn, blocks nothing
    int32_t col;   // the cell occupied, or moved into while moving
    int32_t row;
    int32_t homeCol;  // the cell where the piece belongs
    int32_t homeRow;
    int32_t dirX;  // direction of motion, -1, 0 or 1; (0, 0) rests
    int32_t dirY;
    int32_t stepDelay;  // frames before the next cell step, 0 or 1
};
