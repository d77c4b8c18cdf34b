// An animation sprite that draws and erases only inside a clip rectangle of the screen.
#pragma once

#include "gnAnimationSprite.h"

class ClippedAnimSprite : public gnAnimationSprite {
  public:
    ClippedAnimSprite();

    void show() override;  // the part of the current frame inside clip, at its normal place
    void erase() override;
    void erase(const pt& at) override;  // only the part inside clip

    gnRectangle clip;  // screen area; the zero rectangle draws and erases nothing
};
