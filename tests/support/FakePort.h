// The test seam: the real port on SDL's dummy driver with a scripted clock, mouse and keys,
// recording updates, presents, sleeps and window areas; in use while it lives.
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
    void startProgram(const char* commandLine) override {  // the real one, counted
        ++programsStarted;
        gnPort::startProgram(commandLine);
    }
    std::string eventTable() override { return eventTableText; }  // a browser's, in an event
    void handOver(const char* c, const char* t, const char* r) override {  // as "c|t|r"
        handedOver = std::string(c) + "|" + t + "|" + r;
    }
    // The fake's mouse events are in picture pixels.
    void eventToPicture(int windowX, int windowY, int* x, int* y) const override {
        *x = windowX, *y = windowY;
    }

    SDL_Surface* windowSurface() { return SDL_GetWindowSurface(window); }
    void resizeWindow(int w, int h) { SDL_SetWindowSize(window, w, h); }  // as a window manager
    void clearLog() { log.clear(), windows.clear(); }
    std::vector<std::string> updates() const;  // the "update x y w h" lines of the log

    uint32_t now = 0;  // milliseconds
    int mouseX = 0, mouseY = 0;
    uint32_t mouseButtons = 0;
    std::set<SDL_Keycode> held;
    std::vector<uint32_t> sleeps;
    int programsStarted = 0;
    std::string eventTableText;          // the event's table the page holds for the game, as JSON
    std::string handedOver;              // "check|time|round", as the print program was handed
    std::vector<std::string> log;        // "update x y w h", "present", "delay ms", in order
    std::vector<std::string> windows;    // window areas sent to the monitor, "x y w h"
    std::function<void()> afterPresent;  // scripted steps run after each present
    std::function<void()> afterDelay;
};

// Real SDL events; mouse events in picture pixels, from touches with SDL_TOUCH_MOUSEID.
void pushKey(Uint32 type, SDL_Keycode key, bool repeat = false);
void pushMouseMotion(int x, int y, uint32_t buttons = 0, Uint32 which = 0);
void pushMouseButton(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT, Uint32 which = 0);
void pushEvent(Uint32 type, int code = 0);  // a quit, a user event with its code, a window event
void flushEvents();
