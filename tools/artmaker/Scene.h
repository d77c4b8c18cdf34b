// The sponsor's look: the puzzle's landscape (a midsummer fjord at sunset, where every tile
// of the 5 by 5 grid shows something of its own) and the Solrind sun logo.
#pragma once

#include "Canvas.h"

namespace palette {
constexpr Colour kNight = {16, 28, 58};
constexpr Colour kDeepBlue = {24, 46, 92};
constexpr Colour kSun = {255, 176, 46};
constexpr Colour kGold = {255, 214, 96};
constexpr Colour kCream = {255, 244, 220};
constexpr Colour kInk = {22, 24, 34};
constexpr Colour kPanel = {14, 22, 44};
constexpr Colour kMuted = {170, 184, 214};
}  // namespace palette

// The 440 by 440 puzzle picture.
void drawLandscape(Canvas& canvas);
// The sun logo centred at (cx, cy) with radius r.
void drawSun(Canvas& canvas, double cx, double cy, double r);
// The logo with the word SOLRIND under it, centred on cx.
void drawLogo(Canvas& canvas, int cx, int top, double sunRadius, int textSize);
// The dark backdrop shared by the information screens: a night-blue gradient with a faint
// sun glow in one corner and a thin gold frame.
void drawBackdrop(Canvas& canvas);
