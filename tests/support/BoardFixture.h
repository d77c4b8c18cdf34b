// The shell loaded as the game loads it, for driving the board's rules directly: the gates are
// held by the test and the pieces placed or queued as a scene needs.
#pragma once

#include "BoardPiece.h"
#include "CountFont.h"
#include "Gates.h"
#include "ImageBackground.h"
#include "RingQueue.h"
#include "ShellFixture.h"

class BoardFixture : public ShellFixture {
  protected:
    void SetUp() override;

    // Holds a gate fully open or closed; the rules read only its picture.
    void setGate(int gate, bool open);
    // Puts a piece on a cell, resting.
    BoardPiece* place(int index, int col, int row);
    // Every piece back into the queue in index order, nothing on the board.
    void clearBoard();
    // One frame of the slide steps, as the round applies them.
    void slideAll();
    int onBoard() const;
};
