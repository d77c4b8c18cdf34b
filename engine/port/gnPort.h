// The platform port: the one place that knows SDL2's window, scales the picture into it and
// sends only what changed, maps the mouse to the picture, reads keys by keycode, tells the time
// and sleeps, and installs the event filter. Everything else draws into the port's picture
// with plain SDL surface calls.
//
// The port has two back ends, chosen by the build: the desktop's (gnPortDesktop.cpp) and the
// browser's (gnPortWeb.cpp); what they share is gnPort.cpp. The default port is the real one.
// Tests derive from gnPort and override the clock and the input state (and record updates and
// presents); gnPort::use installs such a port.
#pragma once

// Only the engine itself (and the tests' fake port) may reach past the engine's own headers.
#ifndef SOLRIND_PORT_ACCESS
#error "engine/port/ is private to the engine: use gnTime.h, gnScreen.h, gnInput.h and the rest"
#endif

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The engine's event filter: answers 1 to queue the event.
typedef int (*gnEventFilter)(const SDL_Event* event);

class gnPort {
  public:
    gnPort();
    virtual ~gnPort();

    // The port in use: the one given to use(), else the SDL2 port.
    static gnPort& get();
    // Installs a port (not owned); null goes back to the SDL2 port.
    static void use(gnPort* port);

    // Video. Opens a borderless window over the whole display that shows a width by height
    // picture, scaled with its aspect kept between black bars, and returns the 32-bit surface
    // the engine draws into (owned by the port). Null on failure, with SDL_GetError() telling
    // why. The window shows at once, with or without a window manager.
    virtual SDL_Surface* openVideo(uint32_t width, uint32_t height);
    virtual void closeVideo();
    bool hasVideo() const { return surface != nullptr; }
    // Scales an area of the picture into the window's surface (nearest pixel, so every window
    // pixel always shows the same picture pixel); 0 by 0 means the whole picture. Reaches the
    // monitor at the next present().
    virtual void updateRect(int32_t x, int32_t y, uint32_t w, uint32_t h);
    // Sends the window areas updated since the last present to the monitor; nothing when
    // nothing changed. After opening, an expose or a resize: the whole window, bars included.
    virtual void present();
    // The picture pixel shown at a window pixel; outside the picture (in the bars) the
    // coordinates run on, negative left of and above it.
    void windowToPicture(int windowX, int windowY, int* x, int* y) const;

    // Input. The mouse in picture pixels (negative or beyond the picture in the letterbox
    // bars) and SDL's button mask; whether the key with this SDL keycode is held.
    virtual uint32_t getMouseState(int* x, int* y);
    virtual bool isKeyHeld(SDL_Keycode key);
    // The mouse as the events leave it, so that a press counts even when the button is up
    // again by the time its event is handled (a quick click, a tap on a touch screen): the
    // pump tracks every event before its handler sees it. A motion sets its own position and
    // buttons; a button event its own position and its button down or up, the other buttons
    // as they were; any other event keeps what the last mouse event left (SDL queues a
    // finger's events after the mouse events it makes from them, when its own state may be
    // up already). Before the first mouse event, the mouse as it is now.
    void trackMouse(const SDL_Event& event);
    uint32_t eventMouse(int* x, int* y);
    // Milliseconds since the last event of a player's (a key, the mouse, a finger, typed
    // text), as the pump saw them; since the port was made before any.
    uint32_t inputIdleMs();

    // Time. Milliseconds since SDL started; wraps after 49 days like SDL_GetTicks.
    virtual uint32_t getTicks();
    // Sleeps without handling any event. During a long sleep (the 4-second screens) with a
    // window open it lets SDL pump the system's events into SDL's queue every 50 ms (where
    // they stay, in order, for the next handler), so the window keeps answering and an
    // exposed window gets its picture back; a frame's short wait only sleeps.
    virtual void delay(uint32_t ms);

    // Loads a BMP file like SDL_LoadBMP, drawn without blending even when it has an alpha
    // channel. On failure SDL_GetError() names the file and says why; a header declaring more
    // than 4096 pixels a side is refused before anything is allocated for it.
    static SDL_Surface* loadBMP(const char* file);

    // Installs the process-wide event filter. Events already queued stay queued.
    void setEventFilter(gnEventFilter filter);

    // The platform's services beyond the picture and the input (see gnPlatform.h).
    virtual void startProgram(const char* commandLine);
    virtual void handOver(const char* check, const char* time, const char* round);
    virtual void fileSaved(const char* path);
    virtual void showKeyboard(bool on);
    virtual bool issuedSeed(uint32_t& seed, std::string& id);
    virtual std::string eventTable();

    // Termination (SIGTERM from a service manager, SIGINT): the handlers only note it; the pump
    // then hands every handler a quit event and long sleeps end early. Install before SDL_Init.
    static void installTerminationHandlers();
    static bool terminationRequested();

  protected:
    // Sends window areas (window pixels) to the monitor.
    virtual void showWindowAreas(const SDL_Rect* areas, int count);
    // The picture pixel of a mouse event's window position.
    virtual void eventToPicture(int windowX, int windowY, int* x, int* y) const {
        windowToPicture(windowX, windowY, x, y);
    }

    SDL_Window* window;  // null while closed

  private:
    // Each back end's: the picture's pixel format, its window (null on failure, with SDL's
    // error), and what it does once the picture is there.
    static const Uint32 pictureFormat;
    SDL_Window* openWindow(int w, int h);
    void pictureOpened();

    static int SDLCALL filterTrampoline(void* userdata, SDL_Event* event);
    static int SDLCALL watchWindow(void* userdata, SDL_Event* event);
    // Narrows a picture area to the rectangle around its pixels that differ from what was
    // sent last, and counts them as sent; false when none differs. Both back ends send only
    // that: a round redraws the whole board every frame, most of it unchanged.
    bool narrowToChanged(SDL_Rect& area);
    void takeAllAsSent();  // the whole picture goes out (an expose, a new canvas)
    // Takes the window's surface as it is now and places the picture in it; false without one.
    bool placePicture();
    // Scales the picture area [x0, x1) by [y0, y1) into the window surface; the window area.
    SDL_Rect scaleArea(int x0, int y0, int x1, int y1);

    // What one back end alone keeps (the desktop's window, the picture's place in it and its
    // scaling maps): each back end defines it.
    struct BackEnd;
    static BackEnd* openBackEnd();
    static void closeBackEnd(BackEnd* backEnd);

    SDL_Surface* surface;  // the picture the engine draws into
    std::unique_ptr<BackEnd, void (*)(BackEnd*)> backEnd;
    std::vector<SDL_Rect> changed;  // window areas updated since the last present
    std::vector<Uint32> shown;      // the picture's pixels as last sent
    int trackedX, trackedY;         // the mouse as the last mouse event left it, in picture
    uint32_t trackedButtons;        // pixels, and its buttons
    bool tracked;                   // a mouse event has been seen
    uint32_t lastInput;             // ticks at the last event of a player's
};
