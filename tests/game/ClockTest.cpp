// The clock counts frames into seconds and draws minutes|seconds with the font's glyphs.
#include "CountFont.h"
#include "EngineFixture.h"
#include "GameArt.h"
#include "ImageBackground.h"

namespace {

class ClockTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        backdrop.setScreen(&screen);
        backdrop.setImage(image(writePlainBmp(path("back.bmp"), 520, 520, 0x405060)));
        backdrop.pos = pt{120, 0};
        clock.setScreen(&screen);
        Capture quiet;
        clock.open(image(writeFontBmp(path("font.bmp"))));
        EXPECT_EQ(quiet.finish(), "");
        clock.background = &backdrop;
        clock.textPos = pt{505, 492};
    }
    std::string shown() { return textAt(surface(), 505, 492, 5); }
    // Ticks until the clock next draws; the number of ticks taken.
    int ticksToNextDraw() {
        for (int n = 1;; ++n) {
            screen.update();  // whatever the last draw left pending
            port.clearLog();
            clock.tick();
            screen.update();
            if (!port.updates().empty())
                return n;
        }
    }

    ImageBackground backdrop;
    CountFont clock;
};

}  // namespace

TEST_F(ClockTest, SecondTickAfterGiveTimeDrawsTheFirstSecond) {
    clock.giveTime(0, 0);
    clock.tick();
    screen.update();
    EXPECT_TRUE(port.updates().empty());
    EXPECT_EQ(shown(), ".....");
    clock.tick();
    EXPECT_EQ(shown(), "00|01");
    EXPECT_EQ(ticksToNextDraw(), 27);
    EXPECT_EQ(shown(), "00|02");
    EXPECT_EQ(clock.getSeconds(), 2);
}

TEST_F(ClockTest, DrawingRestoresTheFiveCellsBehindFirst) {
    clock.giveTime(12, 5);
    clock.showTime();
    screen.update();
    const std::vector<std::string> sent = port.updates();
    ASSERT_EQ(sent.size(), 6u);  // the restored area, then one per glyph, latest first
    EXPECT_EQ(sent.back(), "update 505 492 95 17");
    EXPECT_EQ(sent.front(), "update 581 492 19 17");
    EXPECT_EQ(shown(), "12|05");
    EXPECT_EQ(clock.getMinutes(), 12);
    EXPECT_EQ(clock.getSeconds(), 5);
}

TEST_F(ClockTest, CarryAtFiftyNineSecondsAndStopAtFiftyNineFiftyNine) {
    clock.giveTime(0, 59);
    clock.tick();
    clock.tick();
    EXPECT_EQ(shown(), "01|00");
    clock.giveTime(59, 59);
    clock.tick();
    clock.tick();
    EXPECT_EQ(shown(), "59|59");
    EXPECT_EQ(ticksToNextDraw(), 27);  // it goes on redrawing the stopped time
    EXPECT_EQ(shown(), "59|59");
}

TEST_F(ClockTest, AddSecCarriesBothWaysAndStaysInRange) {
    clock.giveTime(1, 50);
    clock.addSec(25);
    EXPECT_EQ(clock.getMinutes(), 2);
    EXPECT_EQ(clock.getSeconds(), 15);
    clock.giveTime(1, 10);
    clock.addSec(-15);
    EXPECT_EQ(clock.getMinutes(), 0);
    EXPECT_EQ(clock.getSeconds(), 55);
    clock.giveTime(59, 50);
    clock.addSec(20);
    EXPECT_EQ(clock.getMinutes(), 59);
    EXPECT_EQ(clock.getSeconds(), 0);
    clock.giveTime(0, 10);
    clock.addSec(-200);
    EXPECT_EQ(clock.getMinutes(), 0);
    EXPECT_EQ(clock.getSeconds(), 0);
    clock.giveTime(3, 0);
    clock.addSec(130);
    EXPECT_EQ(clock.getMinutes(), 5);
    EXPECT_EQ(clock.getSeconds(), 10);
    clock.tick();  // addSec neither draws nor touches the tick count
    screen.update();
    EXPECT_TRUE(port.updates().empty());
}

TEST_F(ClockTest, LettersDigitsAndSignsHaveTheirGlyphs) {
    clock.drawText("az09{|}~\x7f", pt{0, 0});
    EXPECT_EQ(textAt(surface(), 0, 0, 9), "az09{|}~\x7f");
    EXPECT_EQ(clock.getChar('z')->rect.x, 475);
    EXPECT_EQ(clock.getChar('9')->rect.y, 17);
    EXPECT_EQ(clock.getChar(127)->rect.x, 76);
    EXPECT_EQ(clock.getChar('A')->image, nullptr);  // no glyph: drawing it is an error
    EXPECT_EQ(raisedBy([&] {
                  clock.drawText("A", pt{0, 0});
              }),
              "Software bug: pointer image is NULL in gnImageFrame::display\n");
    EXPECT_TRUE(CountFont::hasGlyph('q'));
    EXPECT_TRUE(CountFont::hasGlyph(' '));
    EXPECT_TRUE(CountFont::hasGlyph(127));
    EXPECT_FALSE(CountFont::hasGlyph('Q'));
    EXPECT_FALSE(CountFont::hasGlyph(static_cast<char>(200)));
}

TEST_F(ClockTest, SmallPicturesWarnButOpen) {
    const std::pair<int, int> sizes[] = {{494, 51}, {493, 51}, {494, 50}, {400, 40}};
    const char* warnings[] = {"", "Width bug in SpaceFont\n", "Height bug in SpaceFont\n",
                              "Height bug in SpaceFont\nWidth bug in SpaceFont\n"};
    for (int i = 0; i < 4; ++i) {
        CountFont font;
        gnImage* picture = image(
            writeFontBmp(path("f" + std::to_string(i) + ".bmp"), sizes[i].first, sizes[i].second));
        Capture out;
        font.open(picture);
        EXPECT_EQ(out.finish(), warnings[i]) << i;
        EXPECT_TRUE(font.isOpen());
    }
}

TEST_F(ClockTest, ScreenBindingFollowsTheOpenState) {
    CountFont font;
    gnImage* picture = image(writeFontBmp(path("g.bmp")));
    picture->setScreen(nullptr);
    font.setScreen(&screen);  // closed: only the font's own screen
    EXPECT_EQ(font.getScreen(), &screen);
    EXPECT_EQ(picture->getScreen(), nullptr);
    font.open(picture);
    font.setScreen(&screen);
    EXPECT_EQ(picture->getScreen(), &screen);
    font.close();
    EXPECT_EQ(font.image, nullptr);
    EXPECT_FALSE(font.isOpen());
}
