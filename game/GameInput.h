// The shell's button menu extended with what the board needs from the mouse: where it is,
// where the left button went down, and the drag to where it came up. The button state is
// sampled from the mouse at every handled event, of whatever type.
#pragma once

#include <cstdint>

#include "MenuModule1.h"

class GameInput : public MenuModule1 {
  public:
    GameInput();
    ~GameInput() override;

    void activate() override;  // the menu's activation; no press held; pointer read
    void handleEvent(SDL_Event* event) override;

    int32_t pointerX;  // the mouse at the last handled event; negative in the bars left of
    int32_t pointerY;  // and above the picture
    bool buttonHeld;      // the left button alone was down at the last event
    pt pointer;           // the same as a point
    pt pressPoint;        // where the left button was first seen down
    pt dragVector;        // from pressPoint to where it was first seen up again
    bool buttonPressed;   // the left button went down; cleared by the reader
    bool buttonReleased;  // it came up after a press; cleared by the reader

  private:
    uint32_t readPointer();  // SDL's button mask
};
