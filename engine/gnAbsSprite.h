// The abstract sprite: something that draws itself at a position (show), advances once per
// frame (act) and removes itself again (erase). Owners move it by writing pos directly.
#pragma once

#include "gnGeomUtil.h"

class gnScreen;

class gnAbsSprite {
  public:
    gnAbsSprite();
    virtual ~gnAbsSprite();

    // Copies pos and oldPos of the other sprite; the screen stays.
    virtual void assignState(gnAbsSprite* other);
    virtual void setScreen(gnScreen* s);
    virtual void show() = 0;
    virtual void act() = 0;
    virtual void erase() = 0;

    void updateOldPos() { oldPos = pos; }

    gnScreen* screen;  // not owned; null until setScreen
    pt oldPos;         // a second position that erase() also clears
    pt pos;            // the centre of the picture (the top left corner for a background)
};
