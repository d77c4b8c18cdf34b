#include "Pictures.h"

#include <cstdlib>
#include <cstring>

namespace {

uint32_t fontCellColour(int cell, int row) {
    return (10 + 9 * static_cast<uint32_t>(cell)) << 16 |
           (20 + 80 * static_cast<uint32_t>(row)) << 8 | 0x21;
}

}  // namespace

std::string writeBmp(const std::string& path, int w, int h, const Colours& colours, int alpha) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(
        0, w, h, 32, alpha < 0 ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_ARGB8888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            static_cast<Uint32*>(s->pixels)[y * (s->pitch / 4) + x] =
                colours(x, y) | static_cast<uint32_t>(alpha < 0 ? 0 : alpha) << 24;
    SDL_Surface* saved = alpha < 0 ? SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGB24, 0) : s;
    if (SDL_SaveBMP(saved, path.c_str()) != 0)
        abort();
    if (saved != s)
        SDL_FreeSurface(saved);
    SDL_FreeSurface(s);
    return path;
}

std::string writePlainBmp(const std::string& path, int w, int h, uint32_t colour) {
    return writeBmp(path, w, h, [colour](int, int) { return colour; });
}

uint32_t pixelAt(SDL_Surface* surface, int x, int y) {
    Uint32 value = 0;
    memcpy(&value,
           static_cast<const Uint8*>(surface->pixels) + y * surface->pitch +
               x * surface->format->BytesPerPixel,
           surface->format->BytesPerPixel);
    Uint8 r, g, b;
    SDL_GetRGB(value, surface->format, &r, &g, &b);
    return static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | b;
}

bool shows(SDL_Surface* surface, const std::string& file, int left) {
    SDL_Surface* picture = SDL_LoadBMP(file.c_str());
    bool same = picture != nullptr;
    for (int y = 3; same && y < 520; y += 37)
        for (int x = 5; same && left + x < 640; x += 29)
            same = pixelAt(picture, x, y) == pixelAt(surface, left + x, y);
    SDL_FreeSurface(picture);
    return same;
}

std::string writeFontBmp(const std::string& path, int w, int h) {
    return writeBmp(path, w, h, [](int x, int y) { return fontCellColour(x / 19, y / 17); });
}

std::string textAt(SDL_Surface* surface, int x, int y, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        const uint32_t colour = pixelAt(surface, x + 19 * i + 9, y + 8);
        char c = '.';
        for (int row = 0; row < 3; ++row)
            for (int cell = 0; cell < 26; ++cell)
                if (fontCellColour(cell, row) == colour)
                    c = static_cast<char>((row == 0 ? 'a' : row == 1 ? '0' : '{') + cell);
        text += c;
    }
    return text;
}
