// The platform port: the one place that knows SDL2's window, renderer and texture, maps the
// mouse to the logical picture, reads keys by keycode, tells the time and sleeps, and installs
// the event filter. Everything else draws into the port's surface with plain SDL surface calls.
//
// The default port is the real SDL2 one. Tests derive from gnPort and override the clock and
// the input state (and record updates and presents); gnPort::use installs such a port.
#pragma once

#include <SDL.h>

#include <atomic>
#include <cstdint>

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

    // Video. Opens a full-screen-desktop window that shows a width by height picture,
    // letterboxed with its aspect kept, and returns the 32-bit surface the engine draws into
    // (owned by the port). Null on failure, with SDL_GetError() telling why.
    virtual SDL_Surface* openVideo(uint32_t width, uint32_t height);
    virtual void closeVideo();
    bool hasVideo() const { return surface != nullptr; }
    // Copies an area of the surface to the window's picture; 0 by 0 means the whole surface.
    // Becomes visible at the next present().
    virtual void updateRect(int32_t x, int32_t y, uint32_t w, uint32_t h);
    // Shows the picture on the monitor.
    virtual void present();

    // Input. The mouse in picture pixels (negative or beyond the picture in the letterbox
    // bars) and SDL's button mask; whether the key with this SDL keycode is held.
    virtual uint32_t getMouseState(int* x, int* y);
    virtual bool isKeyHeld(SDL_Keycode key);

    // Time. Milliseconds since SDL started; wraps after 49 days like SDL_GetTicks.
    virtual uint32_t getTicks();
    // Sleeps without handling any event. While a window is open it lets SDL pump the
    // system's events into SDL's queue (where they stay, in order, for the next handler), so
    // the window keeps answering and an exposed window gets its picture back.
    virtual void delay(uint32_t ms);

    // Loads a BMP file like SDL_LoadBMP. On failure SDL_GetError() names the file and says
    // why; a header declaring more than 4096 pixels a side is refused before anything is
    // allocated for it.
    static SDL_Surface* loadBMP(const char* file);

    // Installs the process-wide event filter. Events already queued stay queued.
    void setEventFilter(gnEventFilter filter);

  private:
    static int SDLCALL filterTrampoline(void* userdata, SDL_Event* event);
    static int SDLCALL watchWindow(void* userdata, SDL_Event* event);

    SDL_Window* window;
    SDL_Renderer* renderer;
    SDL_Texture* texture;
    SDL_Surface* surface;       // the picture the engine draws into
    std::atomic<bool> exposed;  // the window lost its picture and must be presented again
    bool keepsPicture;          // a software renderer: the window keeps what it was given
    bool cleared;               // the letterbox bars are black since the last expose
};
