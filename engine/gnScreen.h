// The display: owns the picture the engine draws into and is the only place pixels reach it.
// Every drawing records the area it touched; update() sends those areas to the monitor and
// presents once. Between beginUpdate and endUpdate the areas merge into one rectangle.
// Opening the screen creates the shared image pool (globalPool); closing deletes it.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "gnGeomUtil.h"

class gnImage;

class gnScreen {
  public:
    static constexpr int kPendingMax = 1024;  // pending rectangles between two updates

    gnScreen();
    virtual ~gnScreen();  // closes an open screen

    // Opens the video mode at the set size, 32 bits per pixel, full screen; creates globalPool.
    void open();
    // Forgets the video surface and deletes globalPool, reporting images still referenced.
    void close();
    bool isOpen() const { return surface != nullptr; }
    SDL_Surface* getSDLSurface();
    void setSize(const sz& newSize);  // only while closed
    sz getSize() const { return size; }

    // Copies the area src of the image to the screen with its top left corner at dst.
    // Callers go through gnImage::display. Prints a line when the target leaves the screen.
    void display(gnImage* image, const gnRectangle& src, const pt& dst);
    // Fills r with one colour (each component cut to 8 bits).
    void fillRect(const gnRectangle& r, int red, int green, int blue);

    void beginUpdate();  // from here the drawn areas merge into one rectangle
    void endUpdate();    // pushes that rectangle
    void dontUpdate();   // drops it: drawn, but not scheduled for the monitor
    // Sends every pending rectangle to the monitor, the latest first, and presents once.
    void update();
    // Sends the whole screen to the monitor; the pending list is untouched.
    void refreshAll();
    // Moves the current rectangle to the end of the pending list.
    void pushUpdatingRect();

  private:
    void recordArea(const SDL_Rect& area);
    // The check of display and fillRect: is the rectangle wholly on the screen?
    bool isOnScreen(const SDL_Rect& area) const;

    SDL_Surface* surface;                     // the port's picture; null while closed
    sz size;                                  // the video mode; 640 by 480 after construction
    gnRectangle* updatingRects[kPendingMax];  // owned from push until update
    int32_t updatingCount;
    gnRectangle* currentRect;  // the area drawn since the last push; null when none
    bool updating;             // a batch is open
};
