#include "gnImages.h"

#include <new>

#include "gnScreen.h"
#include "port/gnPort.h"

namespace {

constexpr int kPaletteMax = 256;

}  // namespace

gnImageFrame* gnNewFrames(int32_t count) {
    if (count < 0)
        return nullptr;
    return new (std::nothrow) gnImageFrame[static_cast<size_t>(count)]();
}

gnImage::gnImage() : screen(nullptr), surface(nullptr), size(sizeManip::zeroSize) {}

gnImage::~gnImage() {
    if (isOpen())
        close();
}

void gnImage::loadBMP(const char* fileName) {
    surface = gnPort::loadBMP(fileName);
    if (!surface)
        gnE::gnRaiseGeneric("FileLoad", SDL_GetError());
    sizeManip::init(size, static_cast<uint32_t>(surface->w), static_cast<uint32_t>(surface->h));
}

void gnImage::close() {
    if (!isOpen())
        gnE::gnRaiseBug("Image object is not open in gnImage::close");
    SDL_FreeSurface(surface);
    surface = nullptr;
}

SDL_Surface* gnImage::getSDLSurface() {
    if (!isOpen())
        gnE::gnRaiseBug("Image object is not open in gnImage::getSDLSurface");
    return surface;
}

void gnImage::display(const gnRectangle& src, const pt& dst) {
    if (!screen)
        gnE::gnRaiseBug("No screenobject set in gnImage::display");
    screen->display(this, src, dst);
}

void gnImage::checkColorMap() {
    if (!screen || !isOpen())
        return;
    SDL_Color colours[kPaletteMax];
    int count = 0;
    const SDL_Palette* own = surface->format->palette;
    if (own) {
        count = own->ncolors < kPaletteMax ? own->ncolors : kPaletteMax;
        for (int i = 0; i < count; ++i)
            colours[i] = own->colors[i];
    } else {
        for (int r = 0; r < 8; ++r)
            for (int g = 0; g < 8; ++g)
                for (int b = 0; b < 4; ++b)
                    colours[count++] =
                        SDL_Color{static_cast<Uint8>(r * 32), static_cast<Uint8>(g * 32),
                                  static_cast<Uint8>(b * 64), 255};
    }
    // SDL2 keeps palettes on the pixel format; a 32-bit screen has none, so nothing changes.
    SDL_Palette* target = screen->getSDLSurface()->format->palette;
    if (target)
        SDL_SetPaletteColors(target, colours, 0, count);
}
