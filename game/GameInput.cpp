#include "GameInput.h"

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
            pointManip::init(dragVector, mouseX - pressPoint.x, mouseY - pressPoint.y);
        }
        buttonHeld = false;
    }
}
