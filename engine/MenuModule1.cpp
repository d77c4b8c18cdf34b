#include "MenuModule1.h"

#include "gnScreen.h"
#include "port/gnPort.h"

MenuModule1::MenuModule1()
    : buttons{},
      buttonCount(0),
      highlighted(-1),
      mouseX(0),
      mouseY(0),
      selected(-1),
      done(false),
      mouseButtons(0) {}

MenuModule1::~MenuModule1() = default;

void MenuModule1::setButtonCount(int n) {
    if (n < 0 || n > kButtonsMax)
        gnE::gnRaiseBug("Out of legal range in MenuModule1::setButtonCount!");
    buttonCount = n;
    for (int i = 0; i < n; ++i)
        getButtonRec(i)->enabled = true;
}

ButtonRec* MenuModule1::getButtonRec(int i) {
    if (i < 0 || i >= buttonCount)
        gnE::gnRaiseGeneric("INDEX", "Out of legal range in MenuModule1::getButtonRec!");
    return &buttons[i];
}

void MenuModule1::runMenu() {
    activate();
    screen->update();
    while (selected == -1 && !done) {
        waitEvent();
        screen->update();
    }
}

void MenuModule1::activate() {
    gnInputHandler::activate();
    selected = -1;
    done = false;
    showButtons();
    readMouse(nullptr);
    highlighted = mouseHitArea();
    showButtonHighlighted(highlighted);
}

void MenuModule1::handleEvent(SDL_Event* e) {
    if (e->type == SDL_KEYDOWN) {
        // The key of the event counts even when it is up again by now (a quick press).
        gnPort& port = gnPort::get();
        for (int i = 0; i < buttonCount; ++i)
            if (buttons[i].enabled &&
                (buttons[i].key == e->key.keysym.sym || port.isKeyHeld(buttons[i].key)))
                selected = i;
    } else if (e->type == SDL_QUIT) {
        done = true;
    }
    readMouse(e);
    const int hit = mouseHitArea();
    if (mouseButtons == SDL_BUTTON_LMASK) {
        if (hit == -1)
            return;  // pressed off every button: everything stays
        updateHighlight(hit);
        showButtonDown(hit);
        selected = hit;
    } else {
        updateHighlight(hit);
        showButtonHighlighted(hit);
    }
}

int MenuModule1::mouseHitArea() const {
    const pt pointer = {mouseX, mouseY};
    for (int i = 0; i < buttonCount; ++i)
        if (buttons[i].enabled && rectManip::containsPoint(buttons[i].area, pointer))
            return i;
    return -1;
}

void MenuModule1::showButtons() {
    for (int i = 0; i < buttonCount; ++i)
        showButtonNormal(i);
}

void MenuModule1::getButtonPos(int i, pt* p) const {
    *p = rectManip::position(buttons[i].area);
}

void MenuModule1::showButtonNormal(int i) {
    if (i < 0)
        return;
    buttons[i].normalFrame.display(rectManip::position(buttons[i].area));
}

void MenuModule1::showButtonHighlighted(int i) {
    if (i < 0)
        return;
    buttons[i].highlightFrame.display(rectManip::position(buttons[i].area));
}

void MenuModule1::showButtonDown(int i) {
    if (i < 0)
        return;
    buttons[i].downFrame.display(rectManip::position(buttons[i].area));
}

void MenuModule1::updateHighlight(int i) {
    if (highlighted != i)
        showButtonNormal(highlighted);
    highlighted = i;
}

void MenuModule1::readMouse(const SDL_Event* event) {
    int x = 0;
    int y = 0;
    gnPort& port = gnPort::get();
    mouseButtons = event ? port.eventMouse(&x, &y) : port.getMouseState(&x, &y);
    mouseX = x;
    mouseY = y;
}
