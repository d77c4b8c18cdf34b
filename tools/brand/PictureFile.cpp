#include "PictureFile.h"

#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "gnFiles.h"

namespace {

constexpr size_t kSvgLook = 4096;  // bytes searched for the root element of an SVG

uint32_t big(const std::string& b, size_t at, int count) {
    uint32_t v = 0;
    for (int i = 0; i < count; ++i)
        v = v << 8 | static_cast<unsigned char>(b[at + static_cast<size_t>(i)]);
    return v;
}

uint32_t little(const std::string& b, size_t at, int count) {
    uint32_t v = 0;
    for (int i = count - 1; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(b[at + static_cast<size_t>(i)]);
    return v;
}

bool startsWith(const std::string& b, size_t at, const char* text) {
    return b.compare(at, strlen(text), text) == 0;
}

// A JPEG's size, from its first frame header; false when the file ends before one.
bool jpegSize(const std::string& b, double& w, double& h) {
    size_t at = 2;
    while (at + 9 <= b.size()) {
        if (static_cast<unsigned char>(b[at]) != 0xFF)
            return false;
        const unsigned char marker = static_cast<unsigned char>(b[at + 1]);
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            h = big(b, at + 5, 2);
            w = big(b, at + 7, 2);
            return true;
        }
        at += 2 + big(b, at + 2, 2);
    }
    return false;
}

// A length of an SVG's root element in pixels ("120", "120px", "90pt", "3cm"); 0 for none or
// a share ("100%").
double svgLength(const std::string& tag, const char* name) {
    const std::string key = std::string(" ") + name + "=";
    const size_t at = tag.find(key);
    if (at == std::string::npos || at + key.size() >= tag.size())
        return 0;
    const char* text = tag.c_str() + at + key.size() + 1;  // past the quote
    char* end = nullptr;
    const double value = strtod(text, &end);
    const std::string unit(end, std::min<size_t>(2, strlen(end)));
    const double perUnit = unit == "pt"     ? 96 / 72.0
                           : unit == "mm"   ? 96 / 25.4
                           : unit == "cm"   ? 96 / 2.54
                           : unit == "in"   ? 96
                           : unit[0] == '%' ? 0
                                            : 1;
    return value > 0 ? value * perUnit : 0;
}

// An SVG's size from its root element: width and height, else its view box.
bool svgSize(const std::string& b, double& w, double& h) {
    const size_t start = b.find("<svg");
    if (start == std::string::npos || start > kSvgLook)
        return false;
    const size_t end = b.find('>', start);
    std::string tag = b.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::replace(tag.begin(), tag.end(), '\n', ' ');
    std::replace(tag.begin(), tag.end(), '\'', '"');
    w = svgLength(tag, "width");
    h = svgLength(tag, "height");
    const size_t box = tag.find(" viewBox=\"");
    if ((w <= 0 || h <= 0) && box != std::string::npos) {
        double x = 0, y = 0;
        if (sscanf(tag.c_str() + box + 10, "%lf%*[ ,]%lf%*[ ,]%lf%*[ ,]%lf", &x, &y, &w, &h) != 4)
            w = h = 0;
    }
    return true;
}

}  // namespace

bool PictureFile::read(const std::string& path, std::string& why) {
    if (!gnReadFile(path.c_str(), kBytesMax, bytes, why))
        return false;
    const std::string& b = bytes;
    const size_t n = b.size();
    type = nullptr;
    width = height = 0;
    if (n >= 24 && startsWith(b, 0, "\x89PNG\r\n\x1a\n")) {
        type = "PNG", width = big(b, 16, 4), height = big(b, 20, 4);
    } else if (n >= 4 && startsWith(b, 0, "\xFF\xD8\xFF")) {
        type = "JPEG";
        if (!jpegSize(b, width, height))
            width = height = 0;
    } else if (n >= 10 && (startsWith(b, 0, "GIF87a") || startsWith(b, 0, "GIF89a"))) {
        type = "GIF", width = little(b, 6, 2), height = little(b, 8, 2);
    } else if (n >= 26 && startsWith(b, 0, "BM")) {
        type = "BMP";
        const bool core = little(b, 14, 4) == 12;
        width = core ? little(b, 18, 2) : std::fabs(static_cast<int32_t>(little(b, 18, 4)));
        height = core ? little(b, 20, 2) : std::fabs(static_cast<int32_t>(little(b, 22, 4)));
    } else if (n >= 30 && startsWith(b, 0, "RIFF") && startsWith(b, 8, "WEBP")) {
        type = "WebP";
        if (startsWith(b, 12, "VP8 "))
            width = little(b, 26, 2) & 0x3FFF, height = little(b, 28, 2) & 0x3FFF;
        else if (startsWith(b, 12, "VP8L"))
            width = (little(b, 21, 4) & 0x3FFF) + 1, height = (little(b, 21, 4) >> 14 & 0x3FFF) + 1;
        else if (startsWith(b, 12, "VP8X"))
            width = little(b, 24, 3) + 1, height = little(b, 27, 3) + 1;
    } else if (svgSize(b, width, height)) {
        type = "SVG";
    }
    if (!type) {
        why = "it is no PNG, JPEG, GIF, BMP, WebP or SVG picture";
    } else if (strcmp(type, "SVG") != 0 && (width <= 0 || height <= 0)) {
        why = std::string("it does not tell its size as a ") + type + " picture should";
    } else if (strcmp(type, "SVG") != 0 &&
               (width > kSideMax || height > kSideMax || width * height > kPixelsMax)) {
        why = "it declares " + std::to_string(static_cast<long long>(width)) + " by " +
              std::to_string(static_cast<long long>(height)) + " pixels, more than " +
              std::to_string(kSideMax) + " a side or " + std::to_string(kPixelsMax) +
              " in all: make it smaller";
    } else {
        return true;
    }
    bytes.clear();
    return false;
}

SDL_Surface* PictureFile::decode(int fitW, int fitH, std::string& why) const {
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    SDL_Surface* surface = nullptr;
    if (strcmp(type, "SVG") == 0) {
        // Drawn at the size it is wanted, its shape kept: never at the size it declares.
        const double w = width > 0 ? width : fitW, h = height > 0 ? height : fitH;
        const double scale = std::min(std::min(fitW / w, fitH / h), kDrawnSideMax / std::max(w, h));
        surface = IMG_LoadSizedSVG_RW(stream, std::max(1, static_cast<int>(w * scale)),
                                      std::max(1, static_cast<int>(h * scale)));
        SDL_RWclose(stream);
    } else {
        surface = IMG_Load_RW(stream, 1);
    }
    if (!surface)
        why = IMG_GetError();
    return surface;
}
