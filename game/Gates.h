// The bridge in front of one of the three holes: five pictures from closed to fully open,
// swinging by itself at random. A hole lets a piece in only on the last picture.
#pragma once

#include "gnAnimationSprite.h"

class Gates : public gnAnimationSprite {
  public:
    static constexpr int32_t kFrames = 5;
    static constexpr int kTurnChance = 77;  // one frame in 77 on average turns the swing

    Gates();
    ~Gates() override;

    // Frame i is the rectangle (x + i * w, y, w, h) of image: side by side, closed to open.
    void init(gnImage* image, int32_t x, int32_t y, int32_t w, int32_t h);
    // One frame: maybe turn (one rand() draw), then swing one picture on or rest at the end.
    void act() override;
    // Fully open: showing the last picture. (Hides the sprite's frame-array question.)
    bool isOpen() const { return currentFrame == frameCount - 1; }

    bool opening;  // the direction of the swing
};
