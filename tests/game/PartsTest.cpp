// The puzzle's parts on a real screen: a piece, the gates, the clock, the name entry.
#include "BoardPiece.h"
#include "CountFont.h"
#include "EngineFixture.h"
#include "EnterInput.h"
#include "Gates.h"
#include "ImageBackground.h"

namespace {

constexpr uint32_t kBehind = 0x405060;  // the picture behind the clock and the name

class PartsTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        backdrop.setScreen(&screen);
        backdrop.setImage(image(writePlainBmp("back.bmp", 520, 520, kBehind)));
        backdrop.pos = pt{120, 0};
        clock.setScreen(&screen);
        Capture quiet;
        clock.open(image(writeFontBmp("font.bmp")));
        EXPECT_EQ(quiet.finish(), "");  // 494 by 51: no warning
        clock.background = &backdrop;
    }
    ImageBackground backdrop;
    CountFont clock;
};

}  // namespace

TEST_F(PartsTest, APieceShowsItsHomeTileClippedAndGatesTheirFrames) {
    gnImage* a = image(writeBmp("pos.bmp", 500, 440, positionColour));
    BoardPiece piece;
    piece.setScreen(&screen);
    piece.open();
    piece.pos = pt{1, 2};
    piece.init(a, clock.image, 2, 1);
    EXPECT_EQ(piece.frames[1].image, clock.image);
    for (const gnImageFrame& frame : {piece.frames[0], piece.frames[1]})
        EXPECT_TRUE(rectManip::isEqual(frame.rect, gnRect(176, 88, 88, 88)));
    EXPECT_EQ(piece.oldPos.y, 2);
    piece.clip = gnRect(150, 30, 460, 460);
    piece.pos = pt{380, -4};  // the centre of the top hole: only the gate's strip shows
    piece.show();
    Gates top, left;
    for (Gates* gate : {&top, &left})
        gate->setScreen(&screen), gate->open();
    top.init(a, 0, 0, 90, 10);
    top.pos = pt{380, 135};
    top.currentFrame = 2;
    left.init(a, 450, 0, 10, 90);
    left.pos = pt{155, 260};
    left.currentFrame = 4;
    top.show(), left.show();
    EXPECT_TRUE(rectManip::isEqual(top.frames[4].rect, gnRect(360, 0, 90, 10)));
    // clang-format off
    expectPixels(surface(), {
        {336, 30, positionColour(176, 88 + 78)}, {423, 39, positionColour(263, 175)},
        {380, 29, kBlack}, {380, 40, kBlack}, {335, 130, positionColour(180, 0)},
        {424, 139, positionColour(269, 9)}, {334, 130, kBlack}, {150, 215, positionColour(490, 0)},
        {159, 304, positionColour(499, 89)}});
    // clang-format on
}

// The second tick draws the next second, then every 27th, over the cells behind; carries.
TEST_F(PartsTest, TheClockCountsFramesIntoSeconds) {
    const struct {
        int minutes, seconds, ticks;
        const char* shown;
        Lines drawsAt;  // the ticks that drew
    } cases[] = {
        {0, 0, 56, "00|03", {"2", "29", "56"}},
        {0, 59, 2, "01|00", {"2"}},
        {59, 59, 29, "59|59", {"2", "29"}},  // it goes on redrawing the stopped time
    };
    for (const auto& c : cases) {
        clock.textPos = pt{505, 492};
        clock.giveTime(c.minutes, c.seconds);
        Lines draws;
        for (int t = 1; t <= c.ticks; ++t) {
            port.clearLog();
            clock.tick();
            screen.update();
            if (port.updates().size() > 1)
                draws.push_back(std::to_string(t));
        }
        EXPECT_EQ(draws, c.drawsAt) << c.minutes << ":" << c.seconds;
        EXPECT_EQ(textAt(surface(), 505, 492, 5), c.shown);
        EXPECT_EQ(port.updates(),
                  (Lines{"update 581 492 19 17", "update 562 492 19 17", "update 543 492 19 17",
                         "update 524 492 19 17", "update 505 492 19 17", "update 505 492 95 17"}));
    }
    // clang-format off
    const int adds[][5] = {{1, 50, 25, 2, 15}, {1, 10, -15, 0, 55}, {59, 50, 20, 59, 0}, {0, 10, -200, 0, 0}, {3, 0, 130, 5, 10}};
    for (const auto& a : adds) {
        clock.giveTime(a[0], a[1]);
        clock.addSec(a[2]);
        EXPECT_EQ(clock.getMinutes() * 100 + clock.getSeconds(), a[3] * 100 + a[4]) << a[2];
    }
    // clang-format on
    clock.close();
    EXPECT_EQ(clock.image, nullptr);
}

// Each key edits at the caret and redraws once; ten letters; the finishing keys keep the text.
TEST_F(PartsTest, TheNameEntryEditsAtTheCaret) {
    clock.textPos = pt{277, 317};
    EnterInputHandler entry;
    entry.font = &clock;
    entry.screen = &screen;
    entry.backgroundImage = backdrop.frame.image;
    entry.eraseRect = gnRect(157, 317, 209, 17);
    const struct {
        std::vector<SDL_Keycode> keys;  // SDLK_UNKNOWN: a quit event
        const char* text;
        int caret;
        const char* field;  // the eleven cells
        int redraws;
    } steps[] = {
        {{'a', 'b', 'c'}, "abc", 3, "abc{.......", 3},
        {{SDLK_LEFT, SDLK_LEFT, SDLK_BACKSPACE}, "bc", 0, "{c.........", 3},
        {{SDLK_BACKSPACE, SDLK_LEFT}, "bc", 0, "{c.........", 0},  // nothing before the caret
        {{'x'}, "xbc", 1, "x{c........", 1},
        {{SDLK_RIGHT, SDLK_RIGHT, SDLK_RIGHT}, "xbc", 3, "xbc{.......", 2},  // stops at the end
        {{SDLK_LSHIFT, SDLK_F1, SDLK_MINUS, SDLK_UP}, "xbc", 3, "xbc{.......", 0},
        {{SDLK_z, SDLK_0, SDLK_SPACE, SDLK_BACKQUOTE, SDLK_QUOTE, SDLK_RIGHTBRACKET, 'k', 'l'},
         "xbcz0 }~\x7fk",
         10,
         "xbcz0.}~\x7fk{",
         8},  // the eleventh letter only redraws
        {{SDLK_KP_ENTER}, "xbcz0 }~\x7fk", 10, "xbcz0.}~\x7fk.", 1},
    };
    for (SDL_Keycode finish : {SDLK_RETURN, SDLK_ESCAPE, SDLK_UNKNOWN, SDLK_KP_ENTER}) {
        entry.activate();
        for (const auto& s : steps) {
            port.clearLog();
            for (SDL_Keycode k : s.keys)
                k == SDLK_KP_ENTER&& finish == SDLK_UNKNOWN
                    ? pushEvent(SDL_QUIT)
                    : pushKey(SDL_KEYDOWN, k == SDLK_KP_ENTER ? finish : k);
            entry.pollEvents();
            EXPECT_STREQ(entry.text, s.text);
            EXPECT_EQ(entry.caret, s.caret);
            EXPECT_EQ(textAt(surface(), 277, 317, 11), s.field) << finish;
            EXPECT_EQ(std::count(port.log.begin(), port.log.end(), "present"), s.redraws) << s.text;
        }
        EXPECT_TRUE(entry.finished);
        EXPECT_FALSE(entry.caretVisible);
        EXPECT_EQ(at(277 + 19 * 10 + 9, 325), kBehind);  // restored where the caret was
    }
    entry.activate();
    entry.caretVisible = false;
    pushEvent(SDL_USEREVENT);  // any event shows the caret again
    entry.pollEvents();
    EXPECT_TRUE(entry.caretVisible);
    pushKey(SDL_KEYDOWN, SDLK_ESCAPE);  // at once: an empty name
    entry.pollEvents();
    EXPECT_STREQ(entry.text, "");
    port.clearLog();
    entry.show();
    entry.backgroundImage = nullptr;  // nothing restored, only the caret drawn
    entry.caretVisible = true;
    entry.show();
    EXPECT_EQ(port.updates(), (Lines{"update 277 317 209 17", "update 277 317 19 17"}));
}
