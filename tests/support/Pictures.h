// Real pictures for tests: BMP files written by the tests themselves, and pixels read back
// from surfaces.
#pragma once

#include <SDL.h>

#include <functional>
#include <string>

// 0xRRGGBB colours.
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kMagenta = 0xFF00FF;

// Writes a 24-bit BMP whose pixel (x, y) has colour(x, y); returns its path.
std::string writeBmp(const std::string& path, int w, int h,
                     const std::function<uint32_t(int x, int y)>& colour);
// A 32-bit BMP with an alpha channel (as several painting programs write): every pixel has
// colour(x, y) and the given alpha.
std::string writeAlphaBmp(const std::string& path, int w, int h,
                          const std::function<uint32_t(int x, int y)>& colour, uint8_t alpha);
// A picture of one colour.
std::string writePlainBmp(const std::string& path, int w, int h, uint32_t colour);
// The colour of a pixel of any surface, as 0xRRGGBB.
uint32_t pixelAt(SDL_Surface* surface, int x, int y);
// A colour that encodes a position, so a test can tell which source pixel landed where.
inline uint32_t positionColour(int x, int y) {
    return (static_cast<uint32_t>(x & 0xFF) << 16) | (static_cast<uint32_t>(y & 0xFF) << 8) | 0x80;
}
