#include "GameInput.h"

#include <algorithm>
#include <cstdint>

namespace {

// a - b, in 64 bits and held to the 32-bit range: the pointer may be anywhere, far into the
// bars beside the picture, and only the drag's direction and longer axis count.
int32_t difference(int32_t a, int32_t b) {
    const int64_t d = static_cast<int64_t>(a) - b;
    return static_cast<int32_t>(std::clamp<int64_t>(d, INT32_MIN, INT32_MAX));
}

}  // namespace

GameInput::GameInput()
    : buttonHeld(false),
      pressPoint(pointManip::zeroPoint),
      dragVector(pointManip::zeroPoint),
      buttonPressed(false),
      buttonReleased(false) {}

GameInput::~GameInput() = default;

void GameInput::activate() {
    MenuModule1::activate();
    buttonHeld = false;
    buttonReleased = false;
    buttonPressed = false;
}

void GameInput::handleEvent(SDL_Event* event) {
    MenuModule1::handleEvent(event);  // reads the pointer and the buttons
    if (mouseButtons == SDL_BUTTON_LMASK) {
        if (!buttonHeld) {
            buttonPressed = true;
            pressPoint = pointer();
        }
        buttonHeld = true;
    } else {
        if (buttonHeld) {
            buttonReleased = true;
            pointManip::init(dragVector, difference(mouseX, pressPoint.x),
                             difference(mouseY, pressPoint.y));
        }
        buttonHeld = false;
    }
}
