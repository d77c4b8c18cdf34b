// The shell's button menu extended with what the board needs from the mouse: where it is,
// where the left button went down, and the drag to where it came up. The pointer and the
// button state are the menu's own reading at every handled event, of whatever type.
#pragma once

#include <cstdint>

#include "MenuModule1.h"

class GameInput : public MenuModule1 {
  public:
    GameInput();
    ~GameInput() override;

    void activate() override;  // the menu's activation (which reads the pointer); no press held
    void handleEvent(SDL_Event* event) override;

    // The mouse at the last handled event, in picture pixels (negative in the bars left of
    // and above the picture).
    pt pointer() const { return pt{mouseX, mouseY}; }

    bool buttonHeld;      // the left button alone was down at the last event
    pt pressPoint;        // where the left button was first seen down
    pt dragVector;        // from pressPoint to where it was first seen up again
    bool buttonPressed;   // the left button went down; cleared by the reader
    bool buttonReleased;  // it came up after a press; cleared by the reader
};
