#include "GameArt.h"

#include "Pictures.h"

uint32_t fontCellColour(int cell, int row) {
    const uint32_t red = 10 + 9 * static_cast<uint32_t>(cell);  // cells 0 to 25: 10 to 235
    const uint32_t green = 20 + 80 * static_cast<uint32_t>(row);
    return red << 16 | green << 8 | 0x21;
}

std::string writeFontBmp(const std::string& path, int w, int h) {
    return writeBmp(path, w, h, [](int x, int y) { return fontCellColour(x / 19, y / 17); });
}

char glyphAt(SDL_Surface* surface, int x, int y) {
    const uint32_t colour = pixelAt(surface, x, y);
    for (int row = 0; row < 3; ++row)
        for (int cell = 0; cell < 26; ++cell)
            if (fontCellColour(cell, row) == colour) {
                if (row == 0)
                    return static_cast<char>('a' + cell);
                if (row == 1)
                    return static_cast<char>('0' + cell);
                return static_cast<char>('{' + cell);
            }
    return 0;
}

std::string textAt(SDL_Surface* surface, int x, int y, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        const char c = glyphAt(surface, x + 19 * i + 9, y + 8);
        text += c ? c : '.';
    }
    return text;
}
