// A sprite showing one picture (an image and a rectangle of it), centred on its position.
#pragma once

#include "BackgroundSprite.h"
#include "ErasingSprite.h"
#include "gnImages.h"

class gnImageSprite : public ErasingSprite {
  public:
    gnImageSprite();
    ~gnImageSprite() override;

    // The picture becomes the whole image; null keeps the rectangle and only drops the image.
    void setImage(gnImage* img);

    void show() override;   // the frame centred on pos
    void act() override {}  // a still picture
    // Clears the sprite at oldPos and at pos as one screen update.
    void erase() override;
    // Has the background redraw the area the frame would cover centred at `at`.
    virtual void erase(const pt& at);

    BackgroundSprite* background;  // not owned; set before the first erase
    gnImageFrame frame;
};
