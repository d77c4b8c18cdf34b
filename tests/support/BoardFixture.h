// A shell with the board's parts built as loading builds them (pieces, queue, gates, clock,
// background), over pictures written by the test, on the fake port's open screen.
#pragma once

#include "BoardPiece.h"
#include "CountFont.h"
#include "EngineFixture.h"
#include "Gates.h"
#include "ImageBackground.h"
#include "RingQueue.h"
#include "SolrindPGameShell.h"

class BoardFixture : public EngineFixture {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Holds a gate fully open or closed; the rules read only its picture.
    void setGate(int gate, bool open);
    // Puts a piece on a cell, resting.
    BoardPiece* place(int index, int col, int row);
    // Every piece back into the queue in index order, nothing on the board.
    void clearBoard();
    // One frame of the slide steps, as the round applies them.
    void slideAll();
    int onBoard() const;

    SolrindPGameShell shell;
};
