#include "EnterInput.h"

#include <cstring>

#include "NameKeyboard.h"
#include "gnImages.h"
#include "gnPlatform.h"
#include "gnScreen.h"

namespace {

// The character a key inserts, or 0. Letters arrive lower-case whether or not shift is held.
char characterOf(SDL_Keycode key) {
    if ((key >= SDLK_a && key <= SDLK_z) || (key >= SDLK_0 && key <= SDLK_9) || key == SDLK_SPACE)
        return static_cast<char>(key);
    switch (key) {
        case SDLK_BACKQUOTE:
            return '}';  // the font's three extra letters
        case SDLK_QUOTE:
            return '~';
        case SDLK_RIGHTBRACKET:
            return 127;
        default:
            return 0;
    }
}

}  // namespace

EnterInputHandler::EnterInputHandler()
    : caret(0),
      caretText{CountFont::kCaret, '\0'},
      text{},
      font(nullptr),
      screen(nullptr),
      backgroundImage(nullptr),
      eraseRect(rectManip::zeroRect),
      caretVisible(true),
      finished(false),
      keysShown(false) {}

EnterInputHandler::~EnterInputHandler() = default;

void EnterInputHandler::activate() {
    gnInputHandler::activate();
    finished = false;
    text[0] = '\0';
    caret = 0;
    caretVisible = true;
    gnShowKeyboard(true);  // a phone shows its keyboard for the name
}

void EnterInputHandler::handleEvent(SDL_Event* event) {
    caretVisible = true;
    if (event->type == SDL_KEYDOWN) {
        press(event->key.keysym.sym);
    } else if (event->type == SDL_MOUSEBUTTONDOWN && event->button.button == SDL_BUTTON_LEFT &&
               keysShown) {
        pt at;
        gnEventMouse(&at.x, &at.y);
        if (const SDL_Keycode key = namekeys::keyAt(at))
            press(key);  // a tap on a drawn key types as the key does
    } else if (event->type == SDL_QUIT) {
        finished = true;
    }
    if (finished) {
        caretVisible = false;
        show();
        gnShowKeyboard(false);
    }
}

void EnterInputHandler::press(SDL_Keycode key) {
    if (const char c = characterOf(key)) {
        insert(c);
        show();
    }
    const int32_t length = static_cast<int32_t>(strlen(text));
    switch (key) {
        case SDLK_BACKSPACE:
            if (caret > 0) {
                memmove(text + caret - 1, text + caret, static_cast<size_t>(length - caret + 1));
                --caret;
                show();
            }
            break;
        case SDLK_LEFT:
            if (caret > 0) {
                --caret;
                show();
            }
            break;
        case SDLK_RIGHT:
            if (caret < length) {
                ++caret;
                show();
            }
            break;
        case SDLK_ESCAPE:  // keeps the text: escape does not cancel
        case SDLK_KP_ENTER:
        case SDLK_RETURN:
            finished = true;
            break;
        default:
            break;
    }
}

void EnterInputHandler::show() {
    if (backgroundImage)
        backgroundImage->display(eraseRect, font->textPos);
    font->drawText(text, font->textPos);
    if (caretVisible) {
        const pt at = {font->textPos.x + CountFont::kGlyphWidth * caret, font->textPos.y};
        font->drawText(caretText, at);
    }
    screen->update();
}

void EnterInputHandler::insert(char c) {
    const int32_t length = static_cast<int32_t>(strlen(text));
    if (length >= kNameMax)
        return;  // full: the key only redraws
    memmove(text + caret + 1, text + caret, static_cast<size_t>(length - caret + 1));
    text[caret] = c;
    ++caret;
}
