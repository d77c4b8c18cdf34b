// The engine's handle on one bitmap (gnImage), and a part of one (gnImageFrame): the unit of
// every glyph, animation frame, button state and sprite picture.
#pragma once

#include <SDL.h>

#include "gnExceptions.h"
#include "gnGeomUtil.h"

class gnScreen;

class gnImage {
  public:
    gnImage();
    virtual ~gnImage();  // closes an open image

    // Loads a BMP file as SDL delivers it: no conversion, no colour key. Call on a closed image.
    void loadBMP(const char* fileName);
    void close();
    bool isOpen() const { return surface != nullptr; }
    SDL_Surface* getSDLSurface();
    void getSize(sz& out) const { out = size; }  // as loaded; kept after close
    void setScreen(gnScreen* s) { screen = s; }
    gnScreen* getScreen() const { return screen; }
    // Draws the part src with its top left corner at dst on the bound screen.
    void display(const gnRectangle& src, const pt& dst);
    // Loads the image's palette (or a 3-3-2 one) into the screen's; no effect on 32 bits.
    void checkColorMap();

  private:
    gnScreen* screen;      // not owned
    SDL_Surface* surface;  // owned; null while closed
    sz size;
};

struct gnImageFrame;

// A new array of count frames with no image, or null when it cannot be allocated (also for a
// negative count). Release with delete[].
gnImageFrame* gnNewFrames(int32_t count);

// A rectangle of an image. A plain record: its creator fills both fields.
struct gnImageFrame {
    gnImage* image;    // not owned
    gnRectangle rect;  // in image pixels

    // Draws rect with its top left corner at `at`.
    void display(const pt& at) const {
        if (!image)
            gnE::gnRaiseBug("pointer image is NULL in gnImageFrame::display");
        image->display(rect, at);
    }
    // Draws rect with its centre at `at`; halves of odd extents are rounded down.
    void displayCentered(const pt& at) const {
        if (!image)
            gnE::gnRaiseBug("pointer image is NULL in gnImageFrame::displayCentered");
        image->display(rect, pointManip::centredCorner(at, rect.w, rect.h));
    }
};
