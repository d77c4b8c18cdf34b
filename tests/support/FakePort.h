// The test seam: the real SDL2 port with a scripted clock and scripted mouse and key state,
// recording every updated rectangle, present, sleep and window area. Video stays real (SDL's
// dummy driver). Constructing one installs it as the port in use; destroying it restores SDL2's.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "port/gnPort.h"

class FakePort : public gnPort {
  public:
    FakePort() { gnPort::use(this); }
    ~FakePort() override;

    void updateRect(int32_t x, int32_t y, uint32_t w, uint32_t h) override;
    void present() override;
    uint32_t getMouseState(int* x, int* y) override;
    bool isKeyHeld(SDL_Keycode key) override { return held.count(key) != 0; }
    uint32_t getTicks() override { return now; }
    void delay(uint32_t ms) override;  // advances the clock at once
    void showWindowAreas(const SDL_Rect* areas, int count) override;
    void eventToPicture(int windowX, int windowY, int* x, int* y) const override {
        *x = windowX;
        *y = windowY;
    }

    // The window as SDL's video driver has it, and a change of its size (as a window manager
    // makes).
    SDL_Surface* windowSurface() { return SDL_GetWindowSurface(window); }
    void resizeWindow(int w, int h) { SDL_SetWindowSize(window, w, h); }
    void clearLog() { log.clear(), windows.clear(); }
    std::vector<std::string> updates() const;  // the "update x y w h" lines of the log
    int presents() const;

    uint32_t now = 0;  // the clock, in milliseconds
    int mouseX = 0, mouseY = 0;
    uint32_t mouseButtons = 0;           // SDL button mask
    std::set<SDL_Keycode> held;          // keys held down
    std::vector<uint32_t> sleeps;        // every delay, in order
    std::vector<std::string> log;        // "update x y w h", "present", "delay ms", in order
    std::vector<std::string> windows;    // window areas sent to the monitor, "x y w h"
    std::function<void()> afterPresent;  // scripted steps run after each present
    std::function<void()> afterDelay;    // run after each sleep
};

// Real SDL events pushed onto SDL's queue; a repeat is what SDL2 sends while a key stays down.
void pushKey(Uint32 type, SDL_Keycode key, bool repeat = false);
inline void pushKeyDown(SDL_Keycode key) {
    pushKey(SDL_KEYDOWN, key);
}
inline void pushKeyRepeat(SDL_Keycode key) {
    pushKey(SDL_KEYDOWN, key, true);
}
inline void pushKeyUp(SDL_Keycode key) {
    pushKey(SDL_KEYUP, key);
}
void pushQuit();
// Mouse events in picture pixels (the fake port's window is the picture), as SDL reports them:
// a motion with the buttons held, a button going down or up; `which` is SDL_TOUCH_MOUSEID for
// the mouse events SDL makes of touches.
void pushMouseMotion(int x, int y, uint32_t buttons = 0, Uint32 which = 0);
void pushMouseButton(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT, Uint32 which = 0);
void pushUserEvent(int code);
void flushEvents();
