// The board as one line of text, for the game's and the shell's tests: rows of cells from the
// top, '/' between rows: '.' empty, 'H' a piece resting at home, 'o' one resting elsewhere,
// '>' '<' 'v' '^' one moving; then the queue's count. A piece drawn anywhere but at its cell's
// centre (or, moving, half a cell behind it) fails the test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "Board.h"
#include "RingQueue.h"

inline std::string boardMap(BoardPiece* const* pieces, RingQueue* queue) {
    std::string map = "...../...../...../...../.....";
    for (int i = 0; i < Board::kPieceCount; ++i) {
        const BoardPiece* p = pieces[i];
        if (p->inQueue || p->col < 0 || p->col > 4 || p->row < 0 || p->row > 4)
            continue;
        const bool rests = p->dirX == 0 && p->dirY == 0;
        const pt c = Board::cellCentre(p->col, p->row);
        const bool inPlace = (p->pos.x == c.x && p->pos.y == c.y) ||
                             (!rests && p->pos.x == c.x - Board::kPieceStep * p->dirX &&
                              p->pos.y == c.y - Board::kPieceStep * p->dirY);
        EXPECT_TRUE(inPlace) << "piece " << i << " on " << p->col << "," << p->row
                             << " is drawn at " << p->pos.x << "," << p->pos.y;
        map[static_cast<size_t>(6 * p->row + p->col)] =
            rests     ? (p->col == p->homeCol && p->row == p->homeRow ? 'H' : 'o')
            : p->dirX ? (p->dirX > 0 ? '>' : '<')
                      : (p->dirY > 0 ? 'v' : '^');
    }
    return map + " " + std::to_string(queue->count());
}
