// The engine's contracts (drawing itself is seen through the real shell's rounds and menus).
#include "ClippedAnimSprite.h"
#include "EngineFixture.h"
#include "ImageBackground.h"
#include "MenuModule1.h"
#include "gnBitmapFont.h"
#include "gnImageSprite.h"
#include "gnImagesImpl.h"

namespace {

class StripFont : public gnBitmapFont {
  public:
    void setRange(int start, int end) {
        rangeStart = static_cast<signed char>(start);
        rangeEnd = static_cast<signed char>(end);
    }
};

}  // namespace

// Each object used against its contract says what is wrong and where, before anything changes.
TEST_F(EngineFixture, EveryObjectUsedAgainstItsContractSaysWhatAndWhere) {
    writePlainBmp("back.bmp", 8, 8, kWhite);
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
        {[&] { closedScreen.update(); }, "Screenobject is not open in gnScreen::update"},
        {[&] { closed.display(gnRect(0, 0, 1, 1), pt{0, 0}); }, "Image object is not open in gnImage::getSDLSurface"},
        {[&] { unbound.display(gnRect(0, 0, 1, 1), pt{0, 0}); }, "No screenobject set in gnImage::display"},
        {[] { gnImageFrame{nullptr, gnRect(0, 0, 1, 1)}.display(pt{0, 0}); }, "pointer image is NULL in gnImageFrame::display"},
        {[&] { sprite.open(), sprite.open(); }, "Animation sprite is already open in gnAnimationSprite::open()!"},
        {[&] { sprite.show(); }, "pointer image is NULL in gnImageFrame::displayCentered"},
        {[&] { screenless.erase(); }, "No screen assigned in gnAnimationSprite::erase!"},
        {[&] { clipped.show(); }, "pointer image is NULL in ClippedAnimSprite::show"},
        {[] { gnImageSprite().show(); }, "No screen assigned in gnImageSprite::show!"},
        {[&] { font.getChar('1'); }, "Bitmap font is not open in gnBitmapFont::getChar()!"},
        {[&] { badRange.open(); }, "Invalid character range specified in gnBitmapFont::open()!"},
        {[&] { font.setRange('0', '9'), font.open(), font.open(); }, "Bitmap font is already open in gnBitmapFont::open()!"},
        {[&] { font.getChar(':'); }, "Character out of range in gnBitmapFont::getChar()!"},
        {[&] { menu.setButtonCount(50); }, "Out of legal range in MenuModule1::setButtonCount!"},
        {[&] { menu.delayScreen("back.bmp", 1); }, "Screen object is not assigned in menuUtil::displayImageFile!"},
        {[&] { pool.freeSurface(nullptr); }, "Trying to free NULL surface in gnImagePool!"},
        {[&] { pool.freeSurface(stranger); }, "Trying to free unallocated surface in gnImagePool!"},
    };
    // clang-format on
    for (const auto& [call, printed] : contracts)
        EXPECT_EQ(raisedBy(call), "Software bug: " + std::string(printed) + "\n");
    EXPECT_EQ(raisedBy([&] { menu.getButtonRec(0); }),  // the count starts at 0
              "Generic exception of type: INDEX raised: Out of legal range in "
              "MenuModule1::getButtonRec!\n");
    SDL_FreeSurface(stranger);
    gnImageSprite still;  // used as it should be: its picture centred on its position
    still.setScreen(&screen);
    still.setImage(image("back.bmp"));
    still.pos = pt{20, 30};
    still.show();
    expectPixels(surface(),
                 {{16, 26, kWhite}, {23, 33, kWhite}, {15, 26, kBlack}, {24, 33, kBlack}});
}

// A clipped sprite draws exactly the part of its frame inside the clip, one row of it too;
// frames turn over cyclically; a sprite takes another's state whole.
TEST_F(EngineFixture, ClippedFramesTurnOverAndStateIsTaken) {
    gnImage* picture = image(writeBmp("frame.bmp", 20, 20, positionColour));
    ClippedAnimSprite sprite;
    sprite.setScreen(&screen);
    sprite.frameCount = 3;
    sprite.open();
    for (int f = 0; f < 3; ++f)
        sprite.frames[f] = {picture, gnRect(0, 0, 20, 20)};
    sprite.pos = pt{20, 20};             // the frame from (10, 10) to (29, 29)
    sprite.clip = gnRect(12, 14, 5, 1);  // its right and bottom edges cut it
    sprite.show();
    expectPixels(surface(), {{12, 14, positionColour(2, 4)},
                             {16, 14, positionColour(6, 4)},
                             {17, 14, kBlack},
                             {11, 14, kBlack},
                             {12, 15, kBlack},
                             {12, 13, kBlack}});
    std::string turned;
    for (int i = 0; i < 4; ++i)
        sprite.act(), turned += std::to_string(sprite.currentFrame);
    EXPECT_EQ(turned, "1201");
    sprite.oldPos = pt{7, 9};
    ClippedAnimSprite other;
    other.assignState(&sprite);
    EXPECT_EQ(join(other.pos.x, other.pos.y, other.oldPos.x, other.oldPos.y), "20 20 7 9");
}
