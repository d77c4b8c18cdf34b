#include "BoardFixture.h"

#include "GameArt.h"

void BoardFixture::SetUp() {
    EngineFixture::SetUp();
    gnImage* puzzle = image(writeBmp(path("puzzle.bmp"), 440, 440, positionColour));
    gnImage* highlight = image(writePlainBmp(path("highlight.bmp"), 440, 440, kWhite));
    gnImage* gatePicture = image(writeBmp(path("gates.bmp"), 500, 90, positionColour));
    gnImage* font = image(writeFontBmp(path("font.bmp")));
    gnImage* backdrop = image(writePlainBmp(path("game.bmp"), 520, 520, 0x203040));

    shell.screen = &screen;
    shell.background = new ImageBackground();
    shell.background->setScreen(&screen);
    shell.background->setImage(backdrop);
    shell.background->pos = pt{120, 0};
    shell.queue = new RingQueue();
    shell.queue->setCapacity(SolrindPGameShell::kPieceCount);
    const int gateFrames[3][4] = {{0, 0, 90, 10}, {0, 10, 90, 10}, {450, 0, 10, 90}};
    const pt gateCentres[3] = {{380, 35}, {380, 485}, {155, 260}};
    for (int i = 0; i < SolrindPGameShell::kGateCount; ++i) {
        Gates* gate = new Gates();
        gate->setScreen(&screen);
        gate->open();
        gate->init(gatePicture, gateFrames[i][0], gateFrames[i][1], gateFrames[i][2],
                   gateFrames[i][3]);
        gate->pos = gateCentres[i];
        shell.gates[i] = gate;
    }
    shell.countFont = new CountFont();
    shell.countFont->setScreen(&screen);
    shell.countFont->open(font);
    shell.countFont->background = shell.background;
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 5; ++r) {
            if (c == 0 && r == 0)
                continue;
            BoardPiece* piece = new BoardPiece();
            shell.pieces[r * 5 + c - 1] = piece;
            piece->setScreen(&screen);
            piece->open();
            piece->init(puzzle, highlight, c, r);
            piece->clip = {150, 30, 460, 460};
        }
}

void BoardFixture::TearDown() {
    delete shell.queue;
    delete shell.background;
    for (BoardPiece* piece : shell.pieces)
        delete piece;
    for (Gates* gate : shell.gates)
        delete gate;
    delete shell.countFont;
    EngineFixture::TearDown();
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
