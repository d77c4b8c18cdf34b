// A sprite with a fixed number of frames, each its own image and rectangle, showing one at a
// time centred on its position. Subclasses set frameCount, open() and then fill every frame.
#pragma once

#include "BackgroundSprite.h"
#include "ErasingSprite.h"
#include "gnImages.h"

class gnAnimationSprite : public ErasingSprite {
  public:
    gnAnimationSprite();
    ~gnAnimationSprite() override;  // closes a sprite that open() opened

    void show() override;  // the current frame centred on pos; only on an open, filled sprite
    void act() override;   // the next frame, cyclically
    // Clears the sprite at oldPos and at pos as one screen update; nothing without frames or
    // background.
    void erase() override;
    // Creates the (unfilled) frame array; currentFrame is kept.
    virtual void open();
    virtual void close();
    // Has the background redraw the area of the current frame centred at `at`.
    virtual void erase(const pt& at);

    // Whether the frame array exists; a frame array open() did not make is a bug.
    bool isOpen() const;

    BackgroundSprite* background;  // not owned
    gnImageFrame* frames;          // frameCount records, owned from open() to close()
    bool opened;
    int32_t frameCount;
    int32_t currentFrame;

  protected:
    // The top left corner of the current frame centred at `at`, and the area it covers.
    pt centredCorner(const pt& at) const;
    gnRectangle centredArea(const pt& at) const;
};
