// A menu of up to 49 picture buttons driven by mouse and keyboard. It tracks the mouse on
// every event it handles (highlight under the pointer, pressed picture and selection while the
// left button is held) and selects a button whose key goes down or is held when a key goes
// down. It never acts: the owner reads and resets `selected` and `done`.
#pragma once

#include <cstdint>

#include "gnImages.h"
#include "gnInput.h"
#include "menuUtil.h"

struct ButtonRec {
    gnRectangle area;  // frames are drawn at its corner; an empty area is never hit
    gnImageFrame normalFrame;
    gnImageFrame downFrame;
    gnImageFrame highlightFrame;
    bool enabled;  // a disabled button is drawn but never hit or selected
    int key;       // SDL keycode that selects the button: pressed, or held at a key-down
};

class MenuModule1 : public menuUtil, public gnInputHandler {
  public:
    static constexpr int kButtonsMax = 49;

    MenuModule1();
    ~MenuModule1() override;

    // Sets the count (0 to 49) and enables buttons 0 to n - 1; call before filling records.
    void setButtonCount(int n);
    ButtonRec* getButtonRec(int i);
    // Blocks, one event at a time, until a button is selected or done is set.
    void runMenu();

    // Event filter, no selection, all buttons drawn, the one under the pointer highlighted.
    void activate() override;
    void handleEvent(SDL_Event* e) override;

    // The lowest index of an enabled button under the pointer, or -1.
    int mouseHitArea() const;
    void showButtons();
    void getButtonPos(int i, pt* p) const;
    void showButtonNormal(int i);  // -1 draws nothing
    void showButtonHighlighted(int i);
    void showButtonDown(int i);
    // Puts the highlighted button back to normal when i differs; does not draw button i.
    void updateHighlight(int i);

    ButtonRec buttons[kButtonsMax + 1];
    int buttonCount;
    int highlighted;  // the button drawn highlighted or pressed, -1 for none
    int32_t mouseX;   // the pointer at the last handled event (or activation), in picture
    int32_t mouseY;   // pixels; negative in the bars left of and above the picture
    int selected;     // the button chosen since activation, -1 for none
    bool done;        // quit requested

  protected:
    uint32_t mouseButtons;  // SDL's button mask, read with mouseX and mouseY

  private:
    // The one place the pointer is read: as the events handled so far leave it (see
    // gnPort::trackMouse), or as it is now without an event.
    void readMouse(const SDL_Event* event);
};
