// Lets the player type a name of up to 10 characters after a record time: edits one line
// from key-down events (and taps on the keys drawn on the screen, see NameKeyboard.h), draws
// it with the clock's font over the restored picture behind it, with a caret the owner
// blinks, and reports when the player has finished.
#pragma once

#include <cstdint>

#include "CountFont.h"
#include "gnInput.h"

class gnImage;
class gnScreen;

class EnterInputHandler : public gnInputHandler {
  public:
    static constexpr int kNameMax = 10;  // characters

    EnterInputHandler();
    ~EnterInputHandler() override;

    void activate() override;  // empty text, caret at 0, visible, not finished
    void handleEvent(SDL_Event* event) override;
    // Restores the picture behind the text, draws the text and (if visible) the caret, and
    // updates the screen.
    virtual void show();

    int32_t caret;      // insertion position, 0 to the text's length
    char caretText[2];  // the caret drawn as text
    char text[kNameMax + 1];
    CountFont* font;           // not owned; its textPos is where the text starts
    gnScreen* screen;          // not owned
    gnImage* backgroundImage;  // what lies behind the text; not owned; null for none
    gnRectangle eraseRect;     // the area of backgroundImage behind the text
    bool caretVisible;
    bool finished;
    bool keysShown;  // the screen shows the keyboard of NameKeyboard.h: taps on it type

  private:
    void press(SDL_Keycode key);  // a key typed, on the keyboard or on the screen
    void insert(char c);
};
