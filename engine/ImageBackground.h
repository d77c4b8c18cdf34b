// A whole picture used as the background, with its top left corner at pos. The shell slides
// it in from the right by writing pos.x; sprites and the clock redraw from it through showRect.
#pragma once

#include "gnImageSprite.h"

class ImageBackground : public gnImageSprite, public BackgroundSprite {
  public:
    // Draws the part of the picture under the screen area r at that area. Turns r into
    // picture coordinates in place, as the caller then sees.
    void showRect(gnRectangle& r) override;
};
