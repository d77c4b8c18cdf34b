#include "gnBitmapFont.h"

gnBitmapFont::gnBitmapFont() : screen(nullptr), glyphs(nullptr), rangeStart(0), rangeEnd(0) {}

gnBitmapFont::~gnBitmapFont() {
    if (isOpen())
        close();
}

void gnBitmapFont::drawText(const char* text, const pt& at) {
    pt pen = at;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == ' ') {
            pen.x += kSpaceWidth;
            continue;
        }
        const gnImageFrame* glyph = getChar(*c);
        glyph->display(pen);
        pen.x += static_cast<int32_t>(glyph->rect.w);
    }
}

void gnBitmapFont::open() {
    if (isOpen())
        gnE::gnRaiseBug("Bitmap font is already open in gnBitmapFont::open()!");
    if (!(rangeStart < rangeEnd))
        gnE::gnRaiseBug("Invalid character range specified in gnBitmapFont::open()!");
    glyphs = gnNewFrames(rangeEnd - rangeStart + 1);  // unfilled glyphs have no image
    if (!glyphs)
        gnE::gnRaiseGeneric("MEMORY", "Out of memory!");
}

void gnBitmapFont::close() {
    if (!isOpen())
        gnE::gnRaiseBug("Bitmap font has not been opened in gnBitmapFont::close()!");
    delete[] glyphs;
    glyphs = nullptr;
}

gnImageFrame* gnBitmapFont::getChar(char c) {
    if (!isOpen())
        gnE::gnRaiseBug("Bitmap font is not open in gnBitmapFont::getChar()!");
    const signed char code = static_cast<signed char>(c);
    if (code < rangeStart || code > rangeEnd)
        gnE::gnRaiseBug("Character out of range in gnBitmapFont::getChar()!");
    return &glyphs[code - rangeStart];
}
