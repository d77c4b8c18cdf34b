#include "CountFont.h"

#include <cstdio>

#include "gnImages.h"

namespace {

constexpr char kFirstChar = '0';
constexpr char kLastChar = 127;
constexpr char kFirstSign = '{';   // the signs row: { | } ~ and 127
constexpr int32_t kLetterRow = 0;  // picture rows, in pixels
constexpr int32_t kDigitRow = 17;
constexpr int32_t kSignRow = 34;
constexpr uint32_t kMinWidth = 494;  // 26 letters of 19 pixels
constexpr uint32_t kMinHeight = 51;  // three rows of 17
constexpr int32_t kTickLimit = 25;   // tickCount after giveTime; one more tick advances
constexpr int32_t kTimeWidth = 95;   // five glyph cells
constexpr int32_t kMaxMinutes = 59;
constexpr int32_t kMaxSeconds = 59;

}  // namespace

CountFont::CountFont()
    : image(nullptr),
      minutes(0),
      seconds(0),
      tickCount(0),
      background(nullptr),
      textPos(pointManip::zeroPoint) {}

CountFont::~CountFont() {
    if (isOpen())
        localClose();
}

bool CountFont::hasGlyph(char c) {
    const signed char code = static_cast<signed char>(c);
    return c == ' ' || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || code >= kFirstSign;
}

void CountFont::open(gnImage* fontImage) {
    sz size;
    fontImage->getSize(size);
    rangeStart = kFirstChar;
    rangeEnd = kLastChar;
    gnBitmapFont::open();
    image = fontImage;
    for (int32_t k = 0; k < 10; ++k)
        setGlyph(static_cast<char>('0' + k), k, kDigitRow);
    if (size.h < kMinHeight)
        printf("Height bug in SpaceFont\n");
    if (size.w < kMinWidth)
        printf("Width bug in SpaceFont\n");
    for (int32_t k = 0; k < 26; ++k)
        setGlyph(static_cast<char>('a' + k), k, kLetterRow);
    for (int32_t k = 0; k < 5; ++k)
        setGlyph(static_cast<char>(kFirstSign + k), k, kSignRow);
}

void CountFont::setGlyph(char c, int32_t cell, int32_t row) {
    gnImageFrame* glyph = getChar(c);
    glyph->image = image;
    rectManip::init(glyph->rect, kGlyphWidth * cell, row, kGlyphWidth, kGlyphHeight);
}

void CountFont::close() {
    localClose();
    gnBitmapFont::close();
}

void CountFont::setScreen(gnScreen* s) {
    gnBitmapFont::setScreen(s);
    if (isOpen() && image)
        image->setScreen(s);
}

void CountFont::localClose() {
    image = nullptr;
}

void CountFont::giveTime(int32_t newMinutes, int32_t newSeconds) {
    minutes = newMinutes;
    seconds = newSeconds;
    tickCount = kTickLimit;
}

void CountFont::addSec(int32_t n) {
    seconds += n;
    if (n > 0) {
        while (seconds > kMaxSeconds) {
            if (minutes < kMaxMinutes) {
                ++minutes;
                seconds -= 60;
            } else {
                seconds = 0;
            }
        }
    } else {
        while (seconds < 0) {
            if (minutes > 0) {
                --minutes;
                seconds += 60;
            } else {
                seconds = 0;
            }
        }
    }
}

void CountFont::tick() {
    if (advance())
        showTime();
}

bool CountFont::advance() {
    if (tickCount <= kTickLimit) {
        ++tickCount;
        return false;
    }
    tickCount = 0;
    if (seconds < kMaxSeconds) {
        ++seconds;
    } else if (minutes < kMaxMinutes) {
        ++minutes;
        seconds = 0;
    }
    return true;
}

void CountFont::showTime() {
    if (background) {
        gnRectangle behind;
        rectManip::init(behind, textPos.x, textPos.y, kTimeWidth, kGlyphHeight);
        background->showRect(behind);
    }
    char text[32];  // two numbers of at most 11 characters and the separator
    snprintf(text, sizeof text, "%.2ld%c%.2ld", static_cast<long>(minutes), kSeparator,
             static_cast<long>(seconds));
    drawText(text, textPos);
}
