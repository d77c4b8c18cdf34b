// Single-line text from glyph pictures: one frame per character of a contiguous range. A
// subclass sets the range, opens the font and fills every glyph from its own picture.
#pragma once

#include "gnImages.h"

class gnScreen;

class gnBitmapFont {
  public:
    static constexpr int32_t kSpaceWidth = 15;  // a space is a gap, never a glyph

    gnBitmapFont();
    virtual ~gnBitmapFont();  // closes an open font

    // Draws text with its first glyph's top left corner at `at`; a glyph is as wide as its
    // frame. Each glyph is its own drawing, and so its own pending update outside a batch.
    virtual void drawText(const char* text, const pt& at);
    // Checks the range (start below end) and creates the unfilled glyph table.
    virtual void open();
    virtual void close();
    virtual void setScreen(gnScreen* s) { screen = s; }

    char getRangeStart() const { return rangeStart; }
    char getRangeEnd() const { return rangeEnd; }
    // The glyph record of c, compared as a signed byte (codes from 128 count as negative).
    gnImageFrame* getChar(char c);
    bool isOpen() const { return glyphs != nullptr; }
    gnScreen* getScreen() const { return screen; }

  protected:
    gnScreen* screen;      // stored only; glyphs draw through their images' screens
    gnImageFrame* glyphs;  // one per character of the range; null while closed
    signed char rangeStart;
    signed char rangeEnd;
};
