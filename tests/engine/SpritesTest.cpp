// Sprites drawn centred on their position, erased through a background, and clipped.
#include <vector>

#include "Allocations.h"
#include "ClippedAnimSprite.h"
#include "EngineFixture.h"
#include "ImageBackground.h"
#include "gnImageSprite.h"

namespace {

// A background that records what it is asked to redraw and redraws it from a picture.
class RecordingBackground : public BackgroundSprite {
  public:
    explicit RecordingBackground(ImageBackground* real) : real(real) {}
    void showRect(gnRectangle& r) override {
        asked.push_back(r);
        if (real)
            real->showRect(r);
    }
    std::vector<gnRectangle> asked;
    ImageBackground* real;
};

std::string text(const gnRectangle& r) {
    return std::to_string(r.x) + " " + std::to_string(r.y) + " " + std::to_string(r.w) + "x" +
           std::to_string(r.h);
}

class SpritesTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        backdrop.setScreen(&screen);
        backdrop.setImage(image(writePlainBmp(path("back.bmp"), 640, 520, kWhite)));
    }
    // A one-frame clipped sprite of the picture's area `frame`, clipped like a board piece.
    void onBoard(ClippedAnimSprite& piece, gnImage* picture, gnRectangle frame) {
        piece.setScreen(&screen);
        piece.frameCount = 1;
        piece.open();
        piece.frames[0] = {picture, frame};
        piece.clip = gnRect(150, 30, 460, 460);
    }
    // An animation frame cut from a picture whose pixels tell their own position.
    gnImage* positions() { return image(writeBmp(path("pos.bmp"), 200, 200, positionColour)); }

    ImageBackground backdrop;  // pos (0, 0): picture and screen coordinates agree
};

}  // namespace

TEST_F(SpritesTest, ImageSpriteIsCentredWithHalvesRoundedDown) {
    gnImageSprite sprite;
    sprite.setScreen(&screen);
    sprite.setImage(image(writeBmp(path("even.bmp"), 20, 10, positionColour)));
    sprite.pos = pt{100, 100};
    sprite.show();
    EXPECT_EQ(at(90, 95), positionColour(0, 0));
    EXPECT_EQ(at(109, 104), positionColour(19, 9));
    EXPECT_EQ(at(89, 95), kBlack);

    gnImageSprite odd;
    odd.setScreen(&screen);
    odd.setImage(image(writeBmp(path("odd.bmp"), 21, 11, positionColour)));
    odd.pos = pt{300, 100};
    odd.show();
    EXPECT_EQ(at(290, 95), positionColour(0, 0));
    EXPECT_EQ(at(310, 105), positionColour(20, 10));
}

TEST_F(SpritesTest, EraseRedrawsOldAndNewPlaceAsOneUpdate) {
    RecordingBackground recorder(&backdrop);
    gnImageSprite sprite;
    sprite.setScreen(&screen);
    sprite.setImage(image(writePlainBmp(path("s.bmp"), 20, 10, kRed)));
    sprite.background = &recorder;
    sprite.oldPos = pt{10, 10};
    sprite.pos = pt{50, 50};
    sprite.erase();
    ASSERT_EQ(recorder.asked.size(), 2u);
    EXPECT_EQ(text(recorder.asked[0]), "0 5 20x10");
    EXPECT_EQ(text(recorder.asked[1]), "40 45 20x10");
    screen.update();
    EXPECT_EQ(port.updates(), (std::vector<std::string>{"update 0 5 60 50"}));
    EXPECT_EQ(at(0, 5), kWhite);

    recorder.asked.clear();
    port.clearLog();
    sprite.oldPos = sprite.pos;
    sprite.erase();
    EXPECT_EQ(recorder.asked.size(), 2u);
    screen.update();
    EXPECT_EQ(port.updates(), (std::vector<std::string>{"update 40 45 20 10"}));
}

TEST_F(SpritesTest, BackgroundRedrawsFromItsPictureAndRewritesTheCallersRectangle) {
    ImageBackground background;
    background.setScreen(&screen);
    background.setImage(image(writeBmp(path("bg.bmp"), 520, 520, positionColour)));
    background.pos = pt{120, 0};
    gnRectangle r = gnRect(200, 100, 50, 40);
    background.showRect(r);
    EXPECT_EQ(text(r), "80 100 50x40");
    EXPECT_EQ(at(200, 100), positionColour(80, 100));
    EXPECT_EQ(at(249, 139), positionColour(129, 139));
    EXPECT_EQ(at(250, 100), kBlack);
}

TEST_F(SpritesTest, SetImageNullKeepsTheRectangleAndShowRaises) {
    gnImageSprite sprite;
    sprite.setScreen(&screen);
    sprite.setImage(image(writePlainBmp(path("s.bmp"), 30, 20, kRed)));
    sprite.setImage(nullptr);
    EXPECT_EQ(text(sprite.frame.rect), "0 0 30x20");
    EXPECT_EQ(raisedBy([&] { sprite.show(); }),
              "Software bug: pointer image is NULL in gnImageFrame::displayCentered\n");
}

TEST_F(SpritesTest, ImageSpriteChecksItsScreen) {
    gnImageSprite sprite;
    EXPECT_EQ(raisedBy([&] { sprite.show(); }),
              "Software bug: No screen assigned in gnImageSprite::show!\n");
    EXPECT_EQ(raisedBy([&] { sprite.erase(); }),
              "Software bug: No screen assigned in gnImageSprite::erase!\n");
    sprite.setScreen(&screen);
    sprite.background = &backdrop;
    screen.beginUpdate();
    EXPECT_EQ(raisedBy([&] { sprite.erase(); }),
              "Software bug: Already updating in gnScreen::beginUpdate! Nested updating is not "
              "implemented!\n");
    screen.endUpdate();
}

TEST_F(SpritesTest, AssignStateCopiesPositionsButNotTheScreen) {
    gnImageSprite a, b;
    a.pos = pt{1, 2};
    a.oldPos = pt{3, 4};
    b.setScreen(&screen);
    b.assignState(&a);
    EXPECT_EQ(b.pos.x, 1);
    EXPECT_EQ(b.oldPos.y, 4);
    EXPECT_EQ(b.screen, &screen);
    b.updateOldPos();
    EXPECT_EQ(b.oldPos.x, 1);
}

TEST_F(SpritesTest, ActStepsThroughTheFramesCyclically) {
    gnAnimationSprite sprite;
    std::vector<int> seen;
    sprite.frameCount = 2;
    for (int i = 0; i < 4; ++i, sprite.act())
        seen.push_back(sprite.currentFrame);
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 0, 1}));
    sprite.frameCount = 1;
    sprite.currentFrame = 0;
    sprite.act();
    EXPECT_EQ(sprite.currentFrame, 0);
    sprite.frameCount = 5;
    seen.clear();
    for (int i = 0; i < 6; ++i, sprite.act())
        seen.push_back(sprite.currentFrame);
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4, 0}));
}

TEST_F(SpritesTest, AnimationShowsItsCurrentFrameCentred) {
    gnImage* picture = positions();
    gnAnimationSprite sprite;
    sprite.frameCount = 2;
    sprite.open();
    sprite.frames[0] = {picture, {0, 0, 10, 10}};
    sprite.frames[1] = {picture, {100, 50, 9, 9}};
    sprite.pos = pt{300, 300};
    sprite.currentFrame = 1;
    sprite.show();
    EXPECT_EQ(at(296, 296), positionColour(100, 50));
}

TEST_F(SpritesTest, ClippedSpriteDrawsOnlyInsideTheClip) {
    gnImage* picture = positions();
    ClippedAnimSprite piece;
    onBoard(piece, picture, {0, 0, 88, 88});
    piece.pos = pt{150, 200};
    piece.show();
    EXPECT_EQ(at(150, 156), positionColour(44, 0));  // the left 44 columns are cut off
    EXPECT_EQ(at(193, 243), positionColour(87, 87));
    EXPECT_EQ(at(149, 156), kBlack);
    EXPECT_EQ(at(194, 156), kBlack);
    screen.update();
    EXPECT_EQ(port.updates(), (std::vector<std::string>{"update 150 156 44 88"}));
}

TEST_F(SpritesTest, ClippedSpriteInTheTopHoleShowsOnlyTheGateStrip) {
    gnImage* picture = positions();
    ClippedAnimSprite piece;
    onBoard(piece, picture, {88, 88, 88, 88});
    piece.pos = pt{380, -4};
    piece.show();
    EXPECT_EQ(at(336, 30), positionColour(88, 88 + 78));
    EXPECT_EQ(at(423, 39), positionColour(175, 175));
    EXPECT_EQ(at(336, 40), kBlack);
    EXPECT_EQ(at(336, 29), kBlack);
}

TEST_F(SpritesTest, ClippedSpriteOutsideOrWithZeroClipDrawsAndErasesNothing) {
    gnImage* picture = positions();
    RecordingBackground recorder(&backdrop);
    ClippedAnimSprite piece;
    onBoard(piece, picture, {0, 0, 88, 88});
    piece.background = &recorder;
    piece.pos = pt{100, 200};
    piece.updateOldPos();
    piece.show();
    piece.erase();
    EXPECT_TRUE(recorder.asked.empty());
    piece.clip = rectManip::zeroRect;
    piece.pos = pt{300, 300};
    piece.updateOldPos();
    piece.show();
    piece.erase();
    EXPECT_TRUE(recorder.asked.empty());
    screen.update();
    EXPECT_TRUE(port.updates().empty());
}

TEST_F(SpritesTest, ClippedEraseRedrawsTheIntersectionOnly) {
    RecordingBackground recorder(&backdrop);
    ClippedAnimSprite piece;
    onBoard(piece, positions(), {0, 0, 88, 88});
    piece.background = &recorder;
    piece.oldPos = pt{150, 200};
    piece.pos = pt{250, 200};
    piece.erase();
    ASSERT_EQ(recorder.asked.size(), 2u);
    EXPECT_EQ(text(recorder.asked[0]), "150 156 44x88");
    EXPECT_EQ(text(recorder.asked[1]), "206 156 88x88");
}

TEST_F(SpritesTest, EraseOfAClosedSpriteOpensNoBatch) {
    gnAnimationSprite sprite;
    sprite.setScreen(&screen);
    sprite.background = &backdrop;
    sprite.erase();  // would raise on the open batch below if it had started one
    screen.beginUpdate();
    screen.endUpdate();
    gnAnimationSprite screenless;
    EXPECT_EQ(raisedBy([&] { screenless.erase(); }),
              "Software bug: No screen assigned in gnAnimationSprite::erase!\n");
}

TEST_F(SpritesTest, OpenCloseAndIsOpenCheckTheirState) {
    gnAnimationSprite sprite;
    sprite.frameCount = 3;
    sprite.currentFrame = 2;
    EXPECT_FALSE(sprite.isOpen());
    sprite.open();
    EXPECT_TRUE(sprite.isOpen());
    EXPECT_EQ(sprite.currentFrame, 2);
    EXPECT_EQ(raisedBy([&] { sprite.open(); }),
              "Software bug: Animation sprite is already open in gnAnimationSprite::open()!\n");
    sprite.close();
    EXPECT_EQ(
        raisedBy([&] { sprite.close(); }),
        "Software bug: Animation sprite has not been opened in gnAnimationSprite::close()!\n");
    gnImageFrame foreign[1];
    sprite.frames = foreign;  // not made by open()
    EXPECT_EQ(raisedBy([&] { sprite.isOpen(); }),
              "Software bug: Animation sprite has not been opened correctly in "
              "gnAnimationSprite::isOpen()!\n");
    sprite.frames = nullptr;
}

TEST_F(SpritesTest, FrameWithoutImageRaisesOnShow) {
    gnAnimationSprite sprite;
    sprite.frameCount = 1;
    sprite.open();
    EXPECT_EQ(raisedBy([&] { sprite.show(); }),
              "Software bug: pointer image is NULL in gnImageFrame::displayCentered\n");
    ClippedAnimSprite clipped;
    clipped.frameCount = 1;
    clipped.clip = gnRect(0, 0, 100, 100);
    EXPECT_EQ(raisedBy([&] { clipped.show(); }), "");  // closed: nothing
    clipped.open();
    EXPECT_EQ(raisedBy([&] { clipped.show(); }),
              "Software bug: pointer image is NULL in ClippedAnimSprite::show\n");
    gnImageSprite loose;
    loose.setScreen(&screen);
    EXPECT_EQ(raisedBy([&] { loose.erase(); }), "");  // no background: nothing to redraw
}

TEST_F(SpritesTest, FramesThatCannotBeAllocatedAreAMemoryError) {
    gnAnimationSprite sprite;
    sprite.frameCount = -1;
    EXPECT_EQ(raisedBy([&] { sprite.open(); }),
              "Generic exception of type: MEMORY raised: Out of memory!\n");
    EXPECT_FALSE(sprite.isOpen());
}

TEST_F(SpritesTest, BatchedSpritesAllocateOnlyTheBatchRectangle) {
    gnImage* picture = positions();
    ClippedAnimSprite pieces[24];
    for (ClippedAnimSprite& piece : pieces) {
        piece.setScreen(&screen);
        piece.frameCount = 1;
        piece.open();
        piece.frames[0] = {picture, {0, 0, 88, 88}};
        piece.clip = gnRect(150, 30, 460, 460);
    }
    screen.beginUpdate();
    long allocations = 0;
    {
        CountAllocations counter;
        for (int i = 0; i < 24; ++i) {
            pieces[i].pos = pt{204 + 88 * ((i + 1) % 5), 84 + 88 * ((i + 1) / 5)};
            pieces[i].show();
        }
        allocations = counter.count();
    }
    screen.dontUpdate();
    EXPECT_EQ(allocations, 1);
}
