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
        EXPECT_EQ(quiet.finish(), "");  // 494 by 51: no warning
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

// The second tick after giveTime draws the next second; then one every 27 frames, restoring
// the five cells behind first; the time carries at 59 seconds and stops at 59|59.
TEST_F(ClockTest, TicksCountFramesIntoSecondsAndDrawThem) {
    clock.giveTime(0, 0);
    clock.tick();
    screen.update();
    EXPECT_TRUE(port.updates().empty());
    clock.tick();
    EXPECT_EQ(shown(), "00|01");
    EXPECT_EQ(ticksToNextDraw(), 27);
    EXPECT_EQ(shown(), "00|02");
    clock.giveTime(0, 59);
    clock.tick();
    clock.tick();
    EXPECT_EQ(shown(), "01|00");
    clock.giveTime(59, 59);
    clock.tick();
    clock.tick();
    EXPECT_EQ(shown(), "59|59");
    EXPECT_EQ(ticksToNextDraw(), 27);  // it goes on redrawing the stopped time
    EXPECT_EQ(clock.getMinutes() * 100 + clock.getSeconds(), 5959);
    clock.giveTime(12, 5);
    port.clearLog();
    clock.showTime();
    screen.update();
    const std::vector<std::string> sent = port.updates();
    ASSERT_EQ(sent.size(), 6u);  // the restored area, then one per glyph, latest first
    EXPECT_EQ(sent.back(), "update 505 492 95 17");
    EXPECT_EQ(sent.front(), "update 581 492 19 17");
    EXPECT_EQ(shown(), "12|05");
}

TEST_F(ClockTest, AddSecCarriesBothWaysAndStaysInRange) {
    const struct {
        int minutes, seconds, add, toMinutes, toSeconds;
    } cases[] = {{1, 50, 25, 2, 15},
                 {1, 10, -15, 0, 55},
                 {59, 50, 20, 59, 0},
                 {0, 10, -200, 0, 0},
                 {3, 0, 130, 5, 10}};
    for (const auto& c : cases) {
        clock.giveTime(c.minutes, c.seconds);
        clock.addSec(c.add);
        EXPECT_EQ(clock.getMinutes(), c.toMinutes) << c.minutes << ":" << c.seconds << "+" << c.add;
        EXPECT_EQ(clock.getSeconds(), c.toSeconds) << c.minutes << ":" << c.seconds << "+" << c.add;
    }
    clock.tick();  // addSec neither draws nor touches the tick count
    screen.update();
    EXPECT_TRUE(port.updates().empty());
}

TEST_F(ClockTest, LettersDigitsAndSignsHaveTheirGlyphs) {
    clock.drawText("az09{|}~\x7f", pt{0, 0});
    EXPECT_EQ(textAt(surface(), 0, 0, 9), "az09{|}~\x7f");
    EXPECT_EQ(raisedBy([&] {
                  clock.drawText("A", pt{0, 0});
              }),
              "Software bug: pointer image is NULL in gnImageFrame::display\n");
    for (const auto& [c, has] : {std::pair{'q', true},
                                 {' ', true},
                                 {'\x7f', true},
                                 {'Q', false},
                                 {static_cast<char>(200), false}})
        EXPECT_EQ(CountFont::hasGlyph(c), has) << c;
}

TEST_F(ClockTest, SmallPicturesWarnButOpenAndTheScreenFollowsTheOpenState) {
    const struct {
        int w, h;
        const char* warning;
    } sizes[] = {{493, 51, "Width bug in SpaceFont\n"},
                 {494, 50, "Height bug in SpaceFont\n"},
                 {400, 40, "Height bug in SpaceFont\nWidth bug in SpaceFont\n"}};
    for (const auto& s : sizes) {
        CountFont font;
        gnImage* picture = image(writeFontBmp(path(std::to_string(s.w) + ".bmp"), s.w, s.h));
        picture->setScreen(nullptr);
        font.setScreen(&screen);  // closed: only the font's own screen
        EXPECT_EQ(picture->getScreen(), nullptr);
        Capture out;
        font.open(picture);
        EXPECT_EQ(out.finish(), s.warning);
        font.setScreen(&screen);  // open: the picture too
        EXPECT_EQ(picture->getScreen(), &screen);
        font.close();
        EXPECT_EQ(font.image, nullptr);
    }
}
