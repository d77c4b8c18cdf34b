// The game clock: a bitmap font over "GFX/Menus/GameFont.bmp" (letters, digits and five signs)
// that also keeps a time of minutes and seconds, advances it one second every 27 frames and
// draws it as 03|07. The highscore screens draw names, times and the entry caret with it.
#pragma once

#include <cstdint>

#include "BackgroundSprite.h"
#include "gnBitmapFont.h"

class CountFont : public gnBitmapFont {
  public:
    static constexpr int32_t kGlyphWidth = 19;  // pixels
    static constexpr int32_t kGlyphHeight = 17;
    static constexpr int32_t kTicksPerSecond = 27;  // frames
    static constexpr char kSeparator = '|';
    static constexpr char kCaret = '{';

    CountFont();
    ~CountFont() override;

    // Whether the font draws c: a glyph of the picture, or the space (a gap).
    static bool hasGlyph(char c);

    using gnBitmapFont::open;
    // Builds the glyph table from the picture; warns when it is smaller than 494 by 51.
    virtual void open(gnImage* fontImage);
    void close() override;
    void setScreen(gnScreen* s) override;  // also binds the picture while open
    virtual void localClose();             // forgets the picture

    void giveTime(int32_t newMinutes, int32_t newSeconds);  // the next tick draws the next second
    // Adds n seconds (n may be negative), carrying into the minutes; with 59 minutes the
    // seconds start again at 0, and below 00|00 they stay at 0.
    void addSec(int32_t n);
    int32_t getMinutes() const { return minutes; }
    int32_t getSeconds() const { return seconds; }
    // Counts one frame; every 27th advances the time (stopping at 59|59) and draws it.
    void tick();
    // The counting of tick alone, without drawing (a replay's clock): true when it advanced.
    bool advance();
    // Restores the five glyph cells at textPos from the background, then draws the time.
    void showTime();

    gnImage* image;  // not owned; null while closed
    int32_t minutes;
    int32_t seconds;
    int32_t tickCount;             // frames since the time last advanced
    BackgroundSprite* background;  // redraws what the time covers; not owned; may be null
    pt textPos;                    // where the time (and other text) is drawn

  private:
    void setGlyph(char c, int32_t cell, int32_t row);  // cell `cell` of the picture row
};
