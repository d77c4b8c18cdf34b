#include "gnScreen.h"

#include <cstdio>

#include "gnExceptions.h"
#include "gnImages.h"
#include "gnImagesImpl.h"
#include "port/gnPort.h"

namespace {

constexpr uint32_t kDefaultWidth = 640;
constexpr uint32_t kDefaultHeight = 480;

// SDL 1.2 rectangles had 16-bit fields: coordinates signed, extents unsigned.
SDL_Rect cutTo16Bits(int32_t x, int32_t y, uint32_t w, uint32_t h) {
    SDL_Rect r;
    r.x = static_cast<int16_t>(x);
    r.y = static_cast<int16_t>(y);
    r.w = static_cast<uint16_t>(w);
    r.h = static_cast<uint16_t>(h);
    return r;
}

}  // namespace

gnScreen::gnScreen()
    : surface(nullptr),
      size{kDefaultWidth, kDefaultHeight},
      updatingRects{},
      updatingCount(0),
      currentRect(nullptr),
      updating(false) {}

gnScreen::~gnScreen() {
    if (isOpen())
        close();
    while (updatingCount > 0)
        delete updatingRects[--updatingCount];
    delete currentRect;
}

void gnScreen::open() {
    surface = gnPort::get().openVideo(size.w, size.h);
    if (!surface)
        gnE::gnRaiseGeneric("OpenDisplay", SDL_GetError());
    globalPool = new gnImagePool();
}

void gnScreen::close() {
    if (!isOpen())
        gnE::gnRaiseBug("Screenobject is not open in gnScreen::close");
    gnPort::get().closeVideo();
    surface = nullptr;
    if (globalPool) {
        delete globalPool;
        globalPool = nullptr;
    }
}

SDL_Surface* gnScreen::getSDLSurface() {
    if (!isOpen())
        gnE::gnRaiseBug("Screenobject is not open in gnScreen::getSDLSurface");
    return surface;
}

void gnScreen::setSize(const sz& newSize) {
    if (isOpen())
        gnE::gnRaiseBug("Cannot set screensize in gnScreen::setSize");
    size = newSize;
}

void gnScreen::display(gnImage* image, const gnRectangle& src, const pt& dst) {
    if (!image)
        gnE::gnRaiseBug("No image specified in gnScreen::display");
    SDL_Surface* source = image->getSDLSurface();
    SDL_Rect from = cutTo16Bits(src.x, src.y, src.w, src.h);
    SDL_Rect to = cutTo16Bits(dst.x, dst.y, src.w, src.h);
    if (!isOnScreen(to))
        printf("display: %ld, %ld, %ld, %ld\n", static_cast<long>(to.x), static_cast<long>(to.y),
               static_cast<long>(to.x + to.w), static_cast<long>(to.y + to.h));
    SDL_UpperBlit(source, &from, surface, &to);  // leaves the clipped area in `to`
    recordArea(to);
}

void gnScreen::fillRect(const gnRectangle& r, int red, int green, int blue) {
    SDL_Rect area = cutTo16Bits(r.x, r.y, r.w, r.h);
    const Uint32 colour = SDL_MapRGB(surface->format, static_cast<Uint8>(red),
                                     static_cast<Uint8>(green), static_cast<Uint8>(blue));
    // SDL2 does not clip the caller's rectangle in place as SDL 1.2 did; clip it here so that
    // the check and the recorded area are what was filled.
    SDL_Rect clipped;
    if (SDL_IntersectRect(&area, &surface->clip_rect, &clipped)) {
        area = clipped;
        SDL_FillRect(surface, &area, colour);
    } else {
        area.w = 0;
        area.h = 0;
    }
    if (!isOnScreen(area))
        printf("Out of range in display: %ld, %ld, %ld, %ld\n", static_cast<long>(area.x),
               static_cast<long>(area.y), static_cast<long>(area.x + area.w),
               static_cast<long>(area.y + area.h));
    recordArea(area);
}

void gnScreen::beginUpdate() {
    if (updating)
        gnE::gnRaiseBug(
            "Already updating in gnScreen::beginUpdate! Nested updating is not implemented!");
    updating = true;
}

void gnScreen::endUpdate() {
    if (!updating)
        gnE::gnRaiseBug("Not updating in gnScreen::endUpdate! Nested updating is not implemented!");
    if (currentRect)
        pushUpdatingRect();
    updating = false;
}

void gnScreen::dontUpdate() {
    if (!updating)
        gnE::gnRaiseBug("Not updating in gnScreen::endUpdate! Nested updating is not implemented!");
    delete currentRect;
    currentRect = nullptr;
    updating = false;
}

void gnScreen::update() {
    if (!isOpen())
        gnE::gnRaiseBug("Screenobject is not open in gnScreen::update");
    gnPort& port = gnPort::get();
    while (updatingCount > 0) {
        gnRectangle* r = updatingRects[--updatingCount];
        port.updateRect(r->x, r->y, r->w, r->h);
        delete r;
    }
    port.present();
}

void gnScreen::refreshAll() {
    if (!isOpen())
        gnE::gnRaiseBug("Screenobject is not open in gnScreen::refreshAll");
    gnPort& port = gnPort::get();
    port.updateRect(0, 0, 0, 0);
    port.present();
}

void gnScreen::pushUpdatingRect() {
    if (updatingCount == kPendingMax) {
        // The list is full: merge into the latest entry, so that nothing drawn is lost.
        rectManip::unite(*updatingRects[kPendingMax - 1], *currentRect);
        delete currentRect;
    } else {
        updatingRects[updatingCount++] = currentRect;
    }
    currentRect = nullptr;
}

void gnScreen::recordArea(const SDL_Rect& area) {
    gnRectangle r;
    rectManip::init(r, area.x, area.y, static_cast<uint32_t>(area.w),
                    static_cast<uint32_t>(area.h));
    if (currentRect)
        rectManip::unite(*currentRect, r);
    else
        currentRect = new gnRectangle(r);
    if (!updating)
        pushUpdatingRect();
}

bool gnScreen::isOnScreen(const SDL_Rect& area) const {
    const int16_t x = static_cast<int16_t>(area.x);
    const int16_t y = static_cast<int16_t>(area.y);
    return x >= 0 && y >= 0 && static_cast<int64_t>(x) + area.w <= static_cast<int64_t>(size.w) &&
           static_cast<int64_t>(y) + area.h <= static_cast<int64_t>(size.h);
}
