#include "GameInput.h"

#include "port/gnPort.h"

GameInput::GameInput()
    : pointerX(0),
      pointerY(0),
      buttonHeld(false),
      pointer(pointManip::zeroPoint),
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
    readPointer();
}

void GameInput::handleEvent(SDL_Event* event) {
    MenuModule1::handleEvent(event);
    if (readPointer() == SDL_BUTTON_LMASK) {
        if (!buttonHeld) {
            buttonPressed = true;
            pressPoint = pointer;
        }
        buttonHeld = true;
    } else {
        if (buttonHeld) {
            buttonReleased = true;
            pointManip::init(dragVector, pointerX - pressPoint.x, pointerY - pressPoint.y);
        }
        buttonHeld = false;
    }
}

uint32_t GameInput::readPointer() {
    int x = 0;
    int y = 0;
    const uint32_t mask = gnPort::get().getMouseState(&x, &y);
    pointerX = x;
    pointerY = y;
    pointManip::init(pointer, pointerX, pointerY);
    return mask;
}
