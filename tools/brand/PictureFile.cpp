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

// Whether the bytes are an SVG document: its root element near the start. Its size is what
// librsvg reads when it draws it.
bool isSvg(const std::string& b) {
    const size_t start = b.find("<svg");
    return start != std::string::npos && start <= kSvgLook;
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
    } else if (isSvg(b)) {
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

SDL_Surface* PictureFile::decode(std::string& why) const {
    SDL_Surface* surface =
        IMG_Load_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
    if (!surface)
        why = IMG_GetError();
    return surface;
}
