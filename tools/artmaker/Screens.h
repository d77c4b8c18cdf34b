// The full screens (640 by 520: menu, start and credit screens) and the content screens
// (520 by 520, shown right of the 120-pixel menu column).
#pragma once

#include "Canvas.h"

void makeMenu(Canvas& c);
void makeStartscreen1(Canvas& c);
void makeStartscreen2(Canvas& c, const Canvas& puzzle);
void makeCreditscreen(Canvas& c);
void makeWelcome(Canvas& c);
void makeRules(Canvas& c);
void makePrizes(Canvas& c, int page);   // 1 to 3
void makeSponsor(Canvas& c, int page);  // 1 or 2
void makeHighscore(Canvas& c);
void makeGameBackground(Canvas& c);
void makeCongratulations(Canvas& c, bool record);
