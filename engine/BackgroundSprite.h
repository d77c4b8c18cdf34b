// What erasing sprites and the clock redraw covered screen areas from.
#pragma once

#include "gnGeomUtil.h"

class BackgroundSprite {
  public:
    virtual ~BackgroundSprite() = default;
    // Redraws the screen area r from the background. May change r.
    virtual void showRect(gnRectangle& r) = 0;
};
