#include "BoardFixture.h"

void BoardFixture::SetUp() {
    ShellFixture::SetUp();
    load();
    shell.newBackground("GFX/Backgrounds/GameBackground.bmp");
    shell.background->pos = pt{120, 0};
}

void BoardFixture::setGate(int gate, bool open) {
    shell.gates[gate]->currentFrame = open ? Gates::kFrames - 1 : 0;
}

BoardPiece* BoardFixture::place(int index, int col, int row) {
    BoardPiece* piece = shell.pieces[index];
    piece->inQueue = false;
    piece->col = col;
    piece->row = row;
    piece->dirX = 0;
    piece->dirY = 0;
    piece->stepDelay = 0;
    piece->pos = pt{204 + 88 * col, 84 + 88 * row};
    return piece;
}

void BoardFixture::clearBoard() {
    shell.queue->clear();
    for (int i = 0; i < SolrindPGameShell::kPieceCount; ++i)
        shell.queuePiece(i);
}

void BoardFixture::slideAll() {
    for (int i = 0; i < SolrindPGameShell::kPieceCount; ++i) {
        BoardPiece* piece = shell.pieces[i];
        if (!piece->inQueue && (piece->dirX != 0 || piece->dirY != 0))
            shell.slidePiece(i);
    }
}

int BoardFixture::onBoard() const {
    int n = 0;
    for (BoardPiece* piece : shell.pieces)
        n += !piece->inQueue;
    return n;
}
