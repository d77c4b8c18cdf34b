// Sprites drawn centred on their position, erased through a background in one update,
// animated and clipped; text drawn from glyph pictures.
#include "ClippedAnimSprite.h"
#include "EngineFixture.h"
#include "ImageBackground.h"
#include "MenuModule1.h"
#include "gnBitmapFont.h"
#include "gnImageSprite.h"
#include "gnImagesImpl.h"

namespace {

// A background that records what it is asked to redraw ("x y wxh"), then redraws it.
class RecordingBackground : public ImageBackground {
  public:
    void showRect(gnRectangle& r) override {
        asked.push_back(std::to_string(r.x) + " " + std::to_string(r.y) + " " +
                        std::to_string(r.w) + "x" + std::to_string(r.h));
        ImageBackground::showRect(r);
    }
    Lines asked;
};

// A font over '0' to '9' cut from a strip of 19 by 17 cells, cell k a colour of its own.
class StripFont : public gnBitmapFont {
  public:
    void setRange(int start, int end) {
        rangeStart = static_cast<signed char>(start);
        rangeEnd = static_cast<signed char>(end);
    }
};
uint32_t cellColour(int x, int) {
    return 0x100000u * static_cast<uint32_t>(x / 19 + 1) | 0x77;
}

class SpritesTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        backdrop.setScreen(&screen);
        backdrop.setImage(image(writePlainBmp("back.bmp", 640, 520, kWhite)));
        positions = image(writeBmp("pos.bmp", 200, 200, positionColour));
    }
    // A one-frame sprite of an area of the position picture, clipped like a piece.
    void onBoard(ClippedAnimSprite& piece, gnRectangle frame, pt at) {
        piece.setScreen(&screen);
        piece.frameCount = 1;
        piece.open();
        piece.frames[0] = {positions, frame};
        piece.clip = gnRect(150, 30, 460, 460);
        piece.background = &backdrop;
        piece.pos = at;
    }
    RecordingBackground backdrop;  // pos (0, 0): picture and screen coordinates agree
    gnImage* positions = nullptr;
};

}  // namespace

TEST_F(SpritesTest, SpritesAreCentredAndEraseOldAndNewPlaceAsOneUpdate) {
    gnImageSprite sprite;
    sprite.setScreen(&screen);
    sprite.setImage(image(writeBmp("odd.bmp", 21, 11, positionColour)));
    sprite.pos = pt{100, 100};
    sprite.show();
    expectPixels(
        surface(),
        {{90, 95, positionColour(0, 0)}, {110, 105, positionColour(20, 10)}, {89, 95, kBlack}});
    screen.update();
    port.clearLog();
    sprite.background = &backdrop;
    sprite.oldPos = pt{10, 10};
    sprite.erase();
    EXPECT_EQ(backdrop.asked, (Lines{"0 5 21x11", "90 95 21x11"}));
    screen.update();
    EXPECT_EQ(port.updates(), Lines{"update 0 5 111 101"});
    EXPECT_EQ(at(100, 100), kWhite);
    gnAnimationSprite strip;  // frames cycle; erased and shown like the image sprite
    strip.setScreen(&screen);
    strip.frameCount = 3;
    strip.open();
    for (int f = 0; f < 3; ++f)
        strip.frames[f] = {positions, gnRect(10 * f, 0, 10, 10)};
    strip.act(), strip.act(), strip.act(), strip.act();
    strip.pos = strip.oldPos = pt{300, 300};
    strip.show();
    EXPECT_EQ(at(295, 295), positionColour(10, 0));
    strip.background = &backdrop;
    backdrop.asked.clear();
    strip.erase();
    EXPECT_EQ(backdrop.asked, (Lines{"295 295 10x10", "295 295 10x10"}));
}

// The part of a frame inside the clip is drawn at its normal place, and erased likewise.
TEST_F(SpritesTest, ClippedSpriteDrawsAndErasesOnlyInsideTheClip) {
    ClippedAnimSprite piece, inHole, below;
    onBoard(piece, gnRect(0, 0, 88, 88), pt{150, 200});    // the left 44 columns cut off
    onBoard(inHole, gnRect(88, 88, 88, 88), pt{380, -4});  // only y 30 to 39 remains
    onBoard(below, gnRect(88, 88, 88, 88), pt{380, 524});  // only y 480 to 489 remains
    piece.show(), inHole.show(), below.show();
    // clang-format off
    expectPixels(surface(), {
        {150, 156, positionColour(44, 0)}, {193, 243, positionColour(87, 87)}, {149, 156, kBlack},
        {194, 156, kBlack}, {336, 30, positionColour(88, 166)},
        {423, 39, positionColour(175, 175)}, {336, 40, kBlack}, {336, 29, kBlack},
        {336, 480, positionColour(88, 88)}, {423, 489, positionColour(175, 97)},
        {336, 490, kBlack}});
    // clang-format on
    screen.update();
    EXPECT_EQ(port.updates(),
              (Lines{"update 336 480 88 10", "update 336 30 88 10", "update 150 156 44 88"}));
    piece.oldPos = piece.pos;
    piece.pos = pt{250, 200};
    piece.erase();
    piece.oldPos = piece.pos = pt{100, 200};  // wholly outside: nothing
    piece.erase();
    EXPECT_EQ(backdrop.asked, (Lines{"150 156 44x88", "206 156 88x88"}));
}

// Glyphs follow each other at their own widths, a space is a 15-pixel gap; the signed range
// ends at 127 and a character beyond it stops the text there.
TEST_F(SpritesTest, TextFromGlyphPictures) {
    StripFont font;
    font.setRange('0', 127);
    font.setScreen(&screen);
    font.open();
    gnImage* strip = image(writeBmp("strip.bmp", 190, 17, cellColour));
    for (int c = '0'; c <= '9'; ++c)
        *font.getChar(static_cast<char>(c)) = {strip, gnRect(19 * (c - '0'), 0, 19, 17)};
    font.drawText("12 34", pt{100, 50});
    // clang-format off
    expectPixels(surface(), {
        {100, 50, cellColour(19, 0)}, {118, 66, cellColour(19, 0)}, {119, 50, cellColour(38, 0)},
        {138, 50, kBlack}, {152, 50, kBlack}, {153, 50, cellColour(57, 0)},
        {172, 50, cellColour(76, 0)}, {191, 50, kBlack}});
    // clang-format on
    screen.update();
    EXPECT_EQ(port.updates().size(), 4u);  // one pending rectangle per glyph
    EXPECT_EQ(font.getChar(127), font.getChar('0') + (127 - '0'));
    EXPECT_EQ(raisedBy([&] {
                  font.drawText("11/", pt{0, 0});
              }),
              "Software bug: Character out of range in gnBitmapFont::getChar()!\n");
    EXPECT_EQ(at(19, 0), cellColour(19, 0));  // the glyphs before it are drawn
    EXPECT_EQ(raisedBy([&] {
                  font.drawText("1:", pt{0, 0});
              }),
              "Software bug: pointer image is NULL in gnImageFrame::display\n");
}

// What each engine object says when its owner uses it against its contract: what is wrong
// and where, before anything changes.
TEST_F(SpritesTest, EveryObjectUsedAgainstItsContractSaysWhatAndWhere) {
    gnScreen closedScreen;
    gnImage closed, unbound;
    closed.setScreen(&screen);
    unbound.loadBMP("back.bmp");
    gnAnimationSprite sprite, screenless;
    sprite.setScreen(&screen);
    sprite.frameCount = 1;
    sprite.erase();  // closed: nothing, and no batch left open
    ClippedAnimSprite clipped;
    clipped.frameCount = 1;
    clipped.show();  // closed: nothing
    clipped.open();
    StripFont font, badRange;
    badRange.setRange('5', '5');
    MenuModule1 menu;
    gnImagePool pool;
    SDL_Surface* stranger = SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32, SDL_PIXELFORMAT_RGB888);
    // clang-format off
    const std::pair<std::function<void()>, const char*> contracts[] = {
        {[&] { screen.setSize(sz{320, 200}); }, "Cannot set screensize in gnScreen::setSize"},
        {[&] { screen.display(nullptr, rectManip::zeroRect, pt{0, 0}); }, "No image specified in gnScreen::display"},
        {[&] { screen.beginUpdate(), screen.beginUpdate(); }, "Already updating in gnScreen::beginUpdate! Nested updating is not implemented!"},
        {[&] { screen.endUpdate(), screen.endUpdate(); }, "Not updating in gnScreen::endUpdate! Nested updating is not implemented!"},
        {[&] { screen.dontUpdate(); }, "Not updating in gnScreen::endUpdate! Nested updating is not implemented!"},
        {[&] { closedScreen.close(); }, "Screenobject is not open in gnScreen::close"},
        {[&] { closedScreen.update(); }, "Screenobject is not open in gnScreen::update"},
        {[&] { closedScreen.refreshAll(); }, "Screenobject is not open in gnScreen::refreshAll"},
        {[&] { closedScreen.getSDLSurface(); }, "Screenobject is not open in gnScreen::getSDLSurface"},
        {[&] { closed.close(); }, "Image object is not open in gnImage::close"},
        {[&] { closed.display(gnRect(0, 0, 1, 1), pt{0, 0}); }, "Image object is not open in gnImage::getSDLSurface"},
        {[&] { unbound.display(gnRect(0, 0, 1, 1), pt{0, 0}); }, "No screenobject set in gnImage::display"},
        {[] { gnImageFrame{nullptr, gnRect(0, 0, 1, 1)}.display(pt{0, 0}); }, "pointer image is NULL in gnImageFrame::display"},
        {[&] { sprite.open(), sprite.open(); }, "Animation sprite is already open in gnAnimationSprite::open()!"},
        {[&] { sprite.show(); }, "pointer image is NULL in gnImageFrame::displayCentered"},
        {[&] { sprite.close(), sprite.close(); }, "Animation sprite has not been opened in gnAnimationSprite::close()!"},
        {[&] { screenless.erase(); }, "No screen assigned in gnAnimationSprite::erase!"},
        {[&] { clipped.show(); }, "pointer image is NULL in ClippedAnimSprite::show"},
        {[] { gnImageSprite().show(); }, "No screen assigned in gnImageSprite::show!"},
        {[] { gnImageSprite().erase(); }, "No screen assigned in gnImageSprite::erase!"},
        {[&] { screen.beginUpdate(), backdrop.erase(); }, "Already updating in gnScreen::beginUpdate! Nested updating is not implemented!"},
        {[&] { font.getChar('1'); }, "Bitmap font is not open in gnBitmapFont::getChar()!"},
        {[&] { font.close(); }, "Bitmap font has not been opened in gnBitmapFont::close()!"},
        {[&] { badRange.open(); }, "Invalid character range specified in gnBitmapFont::open()!"},
        {[&] { font.setRange('0', '9'), font.open(), font.open(); }, "Bitmap font is already open in gnBitmapFont::open()!"},
        {[&] { font.getChar(':'); }, "Character out of range in gnBitmapFont::getChar()!"},
        {[&] { menu.setButtonCount(50); }, "Out of legal range in MenuModule1::setButtonCount!"},
        {[&] { menu.setButtonCount(-1); }, "Out of legal range in MenuModule1::setButtonCount!"},
        {[&] { menu.delayScreen("back.bmp", 1); }, "Screen object is not assigned in menuUtil::displayImageFile!"},
        {[&] { pool.freeSurface(nullptr); }, "Trying to free NULL surface in gnImagePool!"},
        {[&] { pool.freeSurface(stranger); }, "Trying to free unallocated surface in gnImagePool!"},
    };
    // clang-format on
    for (const auto& [call, printed] : contracts)
        EXPECT_EQ(raisedBy(call), "Software bug: " + std::string(printed) + "\n");
    screen.endUpdate();
    EXPECT_EQ(raisedBy([&] { menu.getButtonRec(0); }),  // the count starts at 0
              "Generic exception of type: INDEX raised: Out of legal range in "
              "MenuModule1::getButtonRec!\n");
    SDL_FreeSurface(stranger);
}
