// Text drawn from glyph pictures: pen steps, the 15-pixel space, the signed range check.
#include "Allocations.h"
#include "EngineFixture.h"
#include "gnBitmapFont.h"

namespace {

// A font over a range whose glyphs are cut from a strip of 19 by 17 cells, cell k for the
// k-th character of the range; every cell has its own colour.
class StripFont : public gnBitmapFont {
  public:
    void setRange(int start, int end) {
        rangeStart = static_cast<signed char>(start);
        rangeEnd = static_cast<signed char>(end);
    }
    void openStrip(gnImage* strip, char first, char last) {
        setRange(first, last);
        open();
        for (int c = first; c <= last; ++c)
            *getChar(static_cast<char>(c)) = {strip, gnRect(19 * (c - first), 0, 19, 17)};
    }
};

uint32_t cellColour(int x, int) {
    return 0x100000u * static_cast<uint32_t>(x / 19 + 1) | 0x77;
}

class FontTest : public EngineFixture {
  protected:
    gnImage* strip() { return image(writeBmp(path("strip.bmp"), 190, 17, cellColour)); }
    StripFont font;
};

}  // namespace

TEST_F(FontTest, GlyphsFollowEachOtherASpaceIsFifteenPixelsAndABatchAllocatesOnce) {
    font.openStrip(strip(), '0', '9');
    font.drawText("12 34", pt{100, 50});
    expectPixels(surface(), {{100, 50, cellColour(19, 0)},
                             {118, 66, cellColour(19, 0)},
                             {119, 50, cellColour(38, 0)},
                             {138, 50, kBlack},  // the space
                             {152, 50, kBlack},
                             {153, 50, cellColour(57, 0)},
                             {172, 50, cellColour(76, 0)},
                             {191, 50, kBlack}});
    screen.update();
    EXPECT_EQ(port.updates().size(), 4u);  // one pending rectangle per glyph
    port.clearLog();
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

TEST_F(FontTest, RangeStateAndTheirErrors) {
    StripFont closed;
    EXPECT_EQ(raisedBy([&] { closed.drawText("  ", pt{0, 0}); }), "");  // spaces need no glyph
    const std::string bug = "Software bug: ";
    EXPECT_EQ(raisedBy([&] { closed.getChar('1'); }),
              bug + "Bitmap font is not open in gnBitmapFont::getChar()!\n");
    EXPECT_EQ(raisedBy([&] { closed.close(); }),
              bug + "Bitmap font has not been opened in gnBitmapFont::close()!\n");
    for (const auto& [start, end] : {std::pair{'5', '5'}, {100, -100}}) {
        closed.setRange(start, end);
        EXPECT_EQ(raisedBy([&] { closed.open(); }),
                  bug + "Invalid character range specified in gnBitmapFont::open()!\n");
    }
    font.setRange('0', 127);  // signed bytes: 127 is the last, 200 is below the range
    font.open();
    EXPECT_EQ(font.getRangeStart(), '0');
    EXPECT_EQ(font.getRangeEnd(), 127);
    EXPECT_EQ(font.getChar(127), font.getChar('0') + (127 - '0'));
    *font.getChar('1') = {strip(), gnRect(0, 0, 19, 17)};
    const std::string outOfRange = bug + "Character out of range in gnBitmapFont::getChar()!\n";
    EXPECT_EQ(raisedBy([&] { font.getChar(static_cast<char>(200)); }), outOfRange);
    EXPECT_EQ(raisedBy([&] { font.drawText("11/", pt{0, 0}); }), outOfRange);
    EXPECT_EQ(at(19, 0), cellColour(0, 0));  // the glyphs before it are drawn
    EXPECT_EQ(raisedBy([&] {
                  font.drawText("2", pt{0, 0});
              }),
              bug + "pointer image is NULL in gnImageFrame::display\n");
    EXPECT_EQ(raisedBy([&] { font.open(); }),
              bug + "Bitmap font is already open in gnBitmapFont::open()!\n");
    font.close();
    EXPECT_FALSE(font.isOpen());
}
