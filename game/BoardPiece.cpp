#include "BoardPiece.h"

BoardPiece::BoardPiece()
    : inQueue(false), col(0), row(0), homeCol(0), homeRow(0), dirX(0), dirY(0), stepDelay(0) {
    frameCount = 2;
}

BoardPiece::~BoardPiece() = default;

void BoardPiece::init(gnImage* normal, gnImage* highlight, int32_t homeCol, int32_t homeRow) {
    this->homeCol = homeCol;
    this->homeRow = homeRow;
    frames[0].image = normal;
    initFrame(0);
    frames[1].image = highlight;
    initFrame(1);
    updateOldPos();
}

void BoardPiece::initFrame(int32_t frame) {
    rectManip::init(frames[frame].rect, static_cast<int32_t>(kTileSize) * homeCol,
                    static_cast<int32_t>(kTileSize) * homeRow, kTileSize, kTileSize);
}
