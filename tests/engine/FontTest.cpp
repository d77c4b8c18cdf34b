// Text drawn from glyph pictures: pen steps, the 15-pixel space, the signed range check.
#include "Allocations.h"
#include "EngineFixture.h"
#include "gnBitmapFont.h"

namespace {

// A font over a range whose glyphs are cut from a strip of 19 by 17 cells, cell k for the
// k-th character of the range; every cell has its own colour.
class StripFont : public gnBitmapFont {
  public:
    void openStrip(gnImage* strip, char first, char last) {
        rangeStart = static_cast<signed char>(first);
        rangeEnd = static_cast<signed char>(last);
        open();
        for (int c = first; c <= last; ++c)
            *getChar(static_cast<char>(c)) = {strip, {19 * (c - first), 0, 17, 19}};
    }
    void setRange(int start, int end) {
        rangeStart = static_cast<signed char>(start);
        rangeEnd = static_cast<signed char>(end);
    }
};

uint32_t cellColour(int x, int) {
    return 0x100000u * static_cast<uint32_t>(x / 19 + 1) | 0x77;
}

class FontTest : public EngineFixture {
  protected:
    gnImage* strip(int cells) {
        return image(writeBmp(path("strip.bmp"), 19 * cells, 17, cellColour));
    }
    StripFont font;
};

}  // namespace

TEST_F(FontTest, GlyphsFollowEachOtherAndASpaceIsFifteenPixels) {
    font.openStrip(strip(10), '0', '9');
    font.drawText("12 34", pt{100, 50});
    EXPECT_EQ(at(100, 50), cellColour(19 * 1, 0));
    EXPECT_EQ(at(118, 66), cellColour(19 * 1, 0));
    EXPECT_EQ(at(119, 50), cellColour(19 * 2, 0));
    EXPECT_EQ(at(138, 50), kBlack);  // the space
    EXPECT_EQ(at(152, 50), kBlack);
    EXPECT_EQ(at(153, 50), cellColour(19 * 3, 0));
    EXPECT_EQ(at(172, 50), cellColour(19 * 4, 0));
    EXPECT_EQ(at(191, 50), kBlack);
    screen.update();
    EXPECT_EQ(port.updates().size(), 4u);  // one pending rectangle per glyph
}

TEST_F(FontTest, EmptyTextAndSpacesDrawNothingEvenWhenClosed) {
    StripFont closed;
    EXPECT_EQ(raisedBy([&] {
                  closed.drawText("", pt{0, 0});
                  closed.drawText("   ", pt{0, 0});
              }),
              "");
    screen.update();
    EXPECT_TRUE(port.updates().empty());
}

TEST_F(FontTest, RangeIsCheckedAsSignedBytes) {
    font.setRange('0', 127);
    font.open();
    *font.getChar('A') = {strip(1), {0, 0, 17, 19}};
    font.drawText("A", pt{10, 10});
    EXPECT_EQ(at(10, 10), cellColour(0, 0));
    const std::string outOfRange =
        "Software bug: Character out of range in gnBitmapFont::getChar()!\n";
    EXPECT_EQ(raisedBy([&] { font.drawText("/", pt{0, 0}); }), outOfRange);
    EXPECT_EQ(raisedBy([&] { font.getChar(static_cast<char>(200)); }), outOfRange);
    EXPECT_EQ(font.getChar(127), font.getChar('0') + (127 - '0'));
}

TEST_F(FontTest, GlyphsBeforeABadCharacterAreAlreadyDrawn) {
    font.openStrip(strip(10), '0', '9');
    EXPECT_EQ(raisedBy([&] {
                  font.drawText("12a", pt{0, 0});
              }),
              "Software bug: Character out of range in gnBitmapFont::getChar()!\n");
    EXPECT_EQ(at(19, 0), cellColour(19 * 2, 0));
}

TEST_F(FontTest, UnfilledGlyphRaisesWhenDrawn) {
    font.setRange('0', '9');
    font.open();
    EXPECT_EQ(raisedBy([&] {
                  font.drawText("5", pt{0, 0});
              }),
              "Software bug: pointer image is NULL in gnImageFrame::display\n");
}

TEST_F(FontTest, OpenAndCloseCheckTheirState) {
    EXPECT_EQ(raisedBy([&] { font.getChar('1'); }),
              "Software bug: Bitmap font is not open in gnBitmapFont::getChar()!\n");
    EXPECT_EQ(raisedBy([&] {
                  font.drawText("1", pt{0, 0});
              }),
              "Software bug: Bitmap font is not open in gnBitmapFont::getChar()!\n");
    EXPECT_EQ(raisedBy([&] { font.close(); }),
              "Software bug: Bitmap font has not been opened in gnBitmapFont::close()!\n");
    font.setRange('5', '5');
    EXPECT_EQ(raisedBy([&] { font.open(); }),
              "Software bug: Invalid character range specified in gnBitmapFont::open()!\n");
    font.setRange(100, -100);
    EXPECT_EQ(raisedBy([&] { font.open(); }),
              "Software bug: Invalid character range specified in gnBitmapFont::open()!\n");
    font.setRange('0', '9');
    font.open();
    EXPECT_EQ(font.getRangeStart(), '0');
    EXPECT_EQ(font.getRangeEnd(), '9');
    EXPECT_EQ(raisedBy([&] { font.open(); }),
              "Software bug: Bitmap font is already open in gnBitmapFont::open()!\n");
    font.close();
    EXPECT_FALSE(font.isOpen());
    font.setScreen(&screen);
    EXPECT_EQ(font.getScreen(), &screen);
}

TEST_F(FontTest, BatchedTextAllocatesOnlyTheBatchRectangle) {
    font.openStrip(strip(10), '0', '9');
    screen.beginUpdate();
    long allocations = 0;
    {
        CountAllocations counter;
        font.drawText("0123456789 0123456789", pt{0, 100});
        allocations = counter.count();
    }
    screen.endUpdate();
    EXPECT_EQ(allocations, 1);  // the batch's one pending rectangle
    screen.update();
    EXPECT_EQ(port.updates(), (std::vector<std::string>{"update 0 100 395 17"}));
}
