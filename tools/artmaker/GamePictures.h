// The pictures the board and the menu draw from: the puzzle and its highlighted twin, the glow
// cursor, the gates, the clock's font and the menu buttons. Each is laid out as the game
// reads it (see docs/ART.md).
#pragma once

#include "Canvas.h"
#include "GameLayout.h"

void makePuzzle(Canvas& puzzle);                              // 440 x 440
void makePuzzleHighlight(const Canvas& puzzle, Canvas& lit);  // 440 x 440
void makeGlowCursor(Canvas& cursor);                          // 440 x 88, keyed
void makeGateBridges(Canvas& gates);                          // 500 x 90
void makeGameFont(Canvas& font);                              // 494 x 51, keyed
void makeButtons(Canvas& buttons);                            // 360 x 424
// The corner cell's button that releases the next piece, at (x, y), 88 by 88.
void drawReleaseButton(Canvas& canvas, int x, int y, bool lit);
// The board's holes, seen behind an open gate.
constexpr Colour kPit = {8, 8, 14};
