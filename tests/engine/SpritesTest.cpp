// Sprites drawn centred on their position, erased through a background, animated and clipped.
#include "Allocations.h"
#include "ClippedAnimSprite.h"
#include "EngineFixture.h"
#include "ImageBackground.h"
#include "gnImageSprite.h"

namespace {

// A background that records what it is asked to redraw ("x y wxh") and redraws it.
class RecordingBackground : public ImageBackground {
  public:
    void showRect(gnRectangle& r) override {
        asked.push_back(std::to_string(r.x) + " " + std::to_string(r.y) + " " +
                        std::to_string(r.w) + "x" + std::to_string(r.h));
        ImageBackground::showRect(r);
    }
    std::vector<std::string> asked;
};

class SpritesTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        backdrop.setScreen(&screen);
        backdrop.setImage(image(writePlainBmp(path("back.bmp"), 640, 520, kWhite)));
        positions = image(writeBmp(path("pos.bmp"), 200, 200, positionColour));
    }
    // A one-frame sprite of the area `frame` of the position picture, clipped like a piece.
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
    gnImage* positions = nullptr;  // every pixel tells its own position
};

}  // namespace

// An odd extent's half is rounded down; erasing redraws the old and the new place, in one
// batch: one update.
TEST_F(SpritesTest, ImageSpriteIsCentredAndErasesOldAndNewPlaceAsOneUpdate) {
    gnImageSprite sprite;
    sprite.setScreen(&screen);
    sprite.setImage(image(writeBmp(path("odd.bmp"), 21, 11, positionColour)));
    sprite.pos = pt{100, 100};
    sprite.show();
    EXPECT_EQ(at(90, 95), positionColour(0, 0));
    EXPECT_EQ(at(110, 105), positionColour(20, 10));
    EXPECT_EQ(at(89, 95), kBlack);
    screen.update();
    port.clearLog();
    sprite.background = &backdrop;
    sprite.oldPos = pt{10, 10};
    sprite.erase();
    EXPECT_EQ(backdrop.asked, (std::vector<std::string>{"0 5 21x11", "90 95 21x11"}));
    screen.update();
    EXPECT_EQ(port.updates(), std::vector<std::string>{"update 0 5 111 101"});
    EXPECT_EQ(at(100, 100), kWhite);
}

// The part of a frame inside the clip is drawn at its normal place, and erased likewise.
TEST_F(SpritesTest, ClippedSpriteDrawsAndErasesOnlyInsideTheClip) {
    ClippedAnimSprite piece, inHole, below;
    onBoard(piece, gnRect(0, 0, 88, 88), pt{150, 200});    // the left 44 columns cut off
    onBoard(inHole, gnRect(88, 88, 88, 88), pt{380, -4});  // only y 30 to 39 remains
    onBoard(below, gnRect(88, 88, 88, 88), pt{380, 524});  // only y 480 to 489 remains
    piece.show();
    inHole.show();
    below.show();
    expectPixels(surface(), {{150, 156, positionColour(44, 0)},
                             {193, 243, positionColour(87, 87)},
                             {149, 156, kBlack},
                             {194, 156, kBlack},
                             {336, 30, positionColour(88, 166)},
                             {423, 39, positionColour(175, 175)},
                             {336, 40, kBlack},
                             {336, 29, kBlack},
                             {336, 480, positionColour(88, 88)},
                             {423, 489, positionColour(175, 97)},
                             {336, 490, kBlack}});
    screen.update();
    EXPECT_EQ(port.updates(),
              (std::vector<std::string>{"update 336 480 88 10", "update 336 30 88 10",
                                        "update 150 156 44 88"}));
    piece.oldPos = piece.pos;
    piece.pos = pt{250, 200};
    piece.erase();
    piece.oldPos = piece.pos = pt{100, 200};  // wholly outside: nothing
    piece.erase();
    EXPECT_EQ(backdrop.asked, (std::vector<std::string>{"150 156 44x88", "206 156 88x88"}));
}

TEST_F(SpritesTest, StatesAndTheirErrors) {
    gnAnimationSprite sprite, screenless, noMemory;
    sprite.frameCount = 3;
    sprite.act();
    sprite.act();
    sprite.act();  // frames cycle: back to 0
    sprite.setScreen(&screen);
    sprite.background = &backdrop;
    sprite.erase();  // closed: nothing, and no batch left open
    EXPECT_EQ(sprite.currentFrame, 0);
    ClippedAnimSprite clipped;
    clipped.frameCount = 1;
    EXPECT_EQ(raisedBy([&] { clipped.show(); }), "");  // closed: nothing
    clipped.open();
    gnImageFrame foreign[1];
    noMemory.frameCount = -1;
    gnImageSprite loose;
    loose.setScreen(&screen);
    EXPECT_EQ(raisedBy([&] { loose.erase(); }), "");  // no background: nothing to redraw
    loose.background = &backdrop;
    const std::pair<std::function<void()>, std::string> errors[] = {
        {[&] { sprite.open(), sprite.open(); },
         "Software bug: Animation sprite is already open in gnAnimationSprite::open()!"},
        {[&] { sprite.show(); },
         "Software bug: pointer image is NULL in gnImageFrame::displayCentered"},
        {[&] { sprite.close(), sprite.close(); },
         "Software bug: Animation sprite has not been opened in gnAnimationSprite::close()!"},
        {[&] { sprite.frames = foreign, sprite.isOpen(); },
         "Software bug: Animation sprite has not been opened correctly in "
         "gnAnimationSprite::isOpen()!"},
        {[&] { noMemory.open(); }, "Generic exception of type: MEMORY raised: Out of memory!"},
        {[&] { screenless.erase(); },
         "Software bug: No screen assigned in gnAnimationSprite::erase!"},
        {[&] { clipped.show(); }, "Software bug: pointer image is NULL in ClippedAnimSprite::show"},
        {[] { gnImageSprite().show(); },
         "Software bug: No screen assigned in gnImageSprite::show!"},
        {[] { gnImageSprite().erase(); },
         "Software bug: No screen assigned in gnImageSprite::erase!"},
        {[&] { screen.beginUpdate(), loose.erase(); },  // erasing opens a batch of its own
         "Software bug: Already updating in gnScreen::beginUpdate! Nested updating is not "
         "implemented!"}};
    for (const auto& [call, printed] : errors)
        EXPECT_EQ(raisedBy(call), printed + "\n");
    sprite.frames = nullptr;
    screen.endUpdate();
}

// The 24 pieces of a round frame, drawn inside the round's batch, allocate nothing but the
// batch's one rectangle.
TEST_F(SpritesTest, BatchedSpritesAllocateOnlyTheBatchRectangle) {
    ClippedAnimSprite pieces[24];
    for (int i = 0; i < 24; ++i)
        onBoard(pieces[i], gnRect(0, 0, 88, 88),
                pt{204 + 88 * ((i + 1) % 5), 84 + 88 * ((i + 1) / 5)});
    screen.beginUpdate();
    long allocations = 0;
    {
        CountAllocations counter;
        for (ClippedAnimSprite& piece : pieces)
            piece.show();
        allocations = counter.count();
    }
    screen.dontUpdate();
    EXPECT_EQ(allocations, 1);
}
