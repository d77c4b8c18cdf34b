// BMP files, pixels read back, and a font whose glyphs each have a colour of their own.
#pragma once

#include <SDL.h>

#include <functional>
#include <string>

constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0xFF0000, kGreen = 0x00FF00,
                   kBlue = 0x0000FF, kMagenta = 0xFF00FF;  // 0xRRGGBB

using Colours = std::function<uint32_t(int x, int y)>;
// A 24-bit BMP whose pixel (x, y) has colours(x, y); with an alpha, a 32-bit one with that
// alpha everywhere (as several painting programs write). Returns the path.
std::string writeBmp(const std::string& path, int w, int h, const Colours& colours, int alpha = -1);
std::string writePlainBmp(const std::string& path, int w, int h, uint32_t colour);
uint32_t pixelAt(SDL_Surface* surface, int x, int y);  // 0xRRGGBB
// Every pixel tells its position, so a test can tell which source pixel landed where.
inline uint32_t positionColour(int x, int y) {
    return static_cast<uint32_t>(x & 0xFF) << 16 | static_cast<uint32_t>(y & 0xFF) << 8 | 0x80;
}
// Whether the surface shows the picture file at (left, 0), sampled on a grid to x 639.
bool shows(SDL_Surface* surface, const std::string& file, int left);

// The font picture (494 by 51 unless given), and the text it draws at (x, y): `count` cells of
// 19 pixels, '.' where no glyph stands.
std::string writeFontBmp(const std::string& path, int w = 494, int h = 51);
std::string textAt(SDL_Surface* surface, int x, int y, int count);
