// A picture file that a brand names (a logo, the puzzle photo, a page's picture), read for the
// art maker and the print program. Whoever writes the brand file may name anything, so a file
// is read whole only when it is a regular file of a sane length whose first bytes are those of
// a picture format, and decoded only when the size it declares is within limits: a pipe,
// /etc/shadow or a 30000 by 30000 pixel logo costs nothing and says why in one line.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

struct PictureFile {
    static constexpr size_t kBytesMax = 32u << 20;     // of a file
    static constexpr int64_t kSideMax = 10000;         // pixels a side, as declared
    static constexpr int64_t kPixelsMax = 30'000'000;  // pixels in all, as declared

    std::string bytes;
    const char* type = nullptr;  // "PNG", "JPEG", "GIF", "BMP", "WebP" or "SVG"
    double width = 0;            // as a bitmap declares it, in pixels; 0 for an SVG
    double height = 0;

    // Reads and checks the file; false with why ("it is not a regular file", "it is no PNG,
    // JPEG, GIF, BMP, WebP or SVG picture", "it declares 16000 by 16000 pixels, ...").
    bool read(const std::string& path, std::string& why);
    // A bitmap's pixels as a surface (owned by the caller; an SVG is drawn from its vectors
    // instead, see Picture). Null with why.
    SDL_Surface* decode(std::string& why) const;
};
