#include "Pictures.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

std::string writeBmp(const std::string& path, int w, int h,
                     const std::function<uint32_t(int x, int y)>& colour) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_RGB24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t c = colour(x, y);
            Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 3;
            p[0] = static_cast<Uint8>(c >> 16);
            p[1] = static_cast<Uint8>(c >> 8);
            p[2] = static_cast<Uint8>(c);
        }
    if (SDL_SaveBMP(s, path.c_str()) != 0) {
        fprintf(stderr, "SDL_SaveBMP %s: %s\n", path.c_str(), SDL_GetError());
        abort();
    }
    SDL_FreeSurface(s);
    return path;
}

std::string writeAlphaBmp(const std::string& path, int w, int h,
                          const std::function<uint32_t(int x, int y)>& colour, uint8_t alpha) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            static_cast<Uint32*>(s->pixels)[y * (s->pitch / 4) + x] =
                static_cast<Uint32>(alpha) << 24 | colour(x, y);
    if (SDL_SaveBMP(s, path.c_str()) != 0) {
        fprintf(stderr, "SDL_SaveBMP %s: %s\n", path.c_str(), SDL_GetError());
        abort();
    }
    SDL_FreeSurface(s);
    return path;
}

std::string writePlainBmp(const std::string& path, int w, int h, uint32_t colour) {
    return writeBmp(path, w, h, [colour](int, int) { return colour; });
}

uint32_t pixelAt(SDL_Surface* surface, int x, int y) {
    Uint32 value = 0;
    const Uint8* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch +
                     x * surface->format->BytesPerPixel;
    memcpy(&value, p, surface->format->BytesPerPixel);
    Uint8 r, g, b;
    SDL_GetRGB(value, surface->format, &r, &g, &b);
    return (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | b;
}
