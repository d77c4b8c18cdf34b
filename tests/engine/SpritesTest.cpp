// Sprites drawn centred on their position, erased through a background, animated and clipped.
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
        asked.push_back(std::to_string(r.x) + " " + std::to_string(r.y) + " " +
                        std::to_string(r.w) + "x" + std::to_string(r.h));
        real->showRect(r);
    }
    std::vector<std::string> asked;
    ImageBackground* real;
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
    void onBoard(ClippedAnimSprite& piece, gnRectangle frame) {
        piece.setScreen(&screen);
        piece.frameCount = 1;
        piece.open();
        piece.frames[0] = {positions, frame};
        piece.clip = gnRect(150, 30, 460, 460);
        piece.background = &recorder;
    }
    void expectPixels(std::initializer_list<std::tuple<int, int, uint32_t>> pixels) {
        for (const auto& [x, y, colour] : pixels)
            EXPECT_EQ(at(x, y), colour) << x << "," << y;
    }

    ImageBackground backdrop;  // pos (0, 0): picture and screen coordinates agree
    RecordingBackground recorder{&backdrop};
    gnImage* positions = nullptr;  // every pixel tells its own position
};

}  // namespace

TEST_F(SpritesTest, ImageSpriteIsCentredAndErasesOldAndNewPlaceAsOneUpdate) {
    gnImageSprite sprite, odd;
    for (gnImageSprite* s : {&sprite, &odd})
        s->setScreen(&screen);
    sprite.setImage(image(writeBmp(path("even.bmp"), 20, 10, positionColour)));
    odd.setImage(image(writeBmp(path("odd.bmp"), 21, 11, positionColour)));
    sprite.pos = pt{100, 100};
    odd.pos = pt{300, 100};
    sprite.show();
    odd.show();  // halves rounded down
    expectPixels({{90, 95, positionColour(0, 0)},
                  {109, 104, positionColour(19, 9)},
                  {89, 95, kBlack},
                  {290, 95, positionColour(0, 0)},
                  {310, 105, positionColour(20, 10)}});
    screen.update();
    port.clearLog();
    sprite.background = &recorder;
    sprite.oldPos = pt{10, 10};
    sprite.erase();
    EXPECT_EQ(recorder.asked, (std::vector<std::string>{"0 5 20x10", "90 95 20x10"}));
    screen.update();
    EXPECT_EQ(port.updates(), (std::vector<std::string>{"update 0 5 110 100"}));
    EXPECT_EQ(at(100, 100), kWhite);
    gnImageSprite copy;
    copy.setScreen(&screen);
    copy.assignState(&sprite);  // positions, not the screen
    EXPECT_TRUE(pointManip::isEqual(copy.pos, pt{100, 100}));
    EXPECT_TRUE(pointManip::isEqual(copy.oldPos, pt{10, 10}));
    copy.updateOldPos();
    EXPECT_EQ(copy.oldPos.x, 100);
    EXPECT_EQ(copy.screen, &screen);
    sprite.setImage(nullptr);  // keeps the rectangle
    EXPECT_EQ(sprite.frame.rect.w, 20u);
    EXPECT_EQ(raisedBy([&] { sprite.show(); }),
              "Software bug: pointer image is NULL in gnImageFrame::displayCentered\n");
}

TEST_F(SpritesTest, BackgroundRedrawsFromItsPictureAndRewritesTheCallersRectangle) {
    ImageBackground background;
    background.setScreen(&screen);
    background.setImage(image(writeBmp(path("bg.bmp"), 520, 520, positionColour)));
    background.pos = pt{120, 0};
    gnRectangle r = gnRect(200, 100, 50, 40);
    background.showRect(r);
    EXPECT_EQ(r.x, 80);  // in picture coordinates now
    expectPixels({{200, 100, positionColour(80, 100)},
                  {249, 139, positionColour(129, 139)},
                  {250, 100, kBlack}});
}

TEST_F(SpritesTest, AnimationStepsThroughItsFramesAndShowsTheCurrentOneCentred) {
    gnAnimationSprite sprite;
    sprite.frameCount = 3;
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i, sprite.act())
        seen.push_back(sprite.currentFrame);
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 0}));
    sprite.open();
    EXPECT_EQ(sprite.currentFrame, 1);  // open keeps the frame
    sprite.frames[1] = {positions, gnRect(100, 50, 9, 9)};
    sprite.pos = pt{300, 300};
    sprite.show();
    EXPECT_EQ(at(296, 296), positionColour(100, 50));
    EXPECT_EQ(raisedBy([&] {
                  sprite.currentFrame = 0;
                  sprite.show();
              }),
              "Software bug: pointer image is NULL in gnImageFrame::displayCentered\n");
}

// The part of a frame inside the clip is drawn at its normal place, and erased likewise.
TEST_F(SpritesTest, ClippedSpriteDrawsAndErasesOnlyInsideTheClip) {
    ClippedAnimSprite piece, inHole;
    onBoard(piece, gnRect(0, 0, 88, 88));
    onBoard(inHole, gnRect(88, 88, 88, 88));
    piece.pos = pt{150, 200};  // the left 44 columns are cut off
    inHole.pos = pt{380, -4};  // only the strip from y 30 to 39 remains
    piece.show();
    inHole.show();
    expectPixels({{150, 156, positionColour(44, 0)},
                  {193, 243, positionColour(87, 87)},
                  {149, 156, kBlack},
                  {194, 156, kBlack},
                  {336, 30, positionColour(88, 88 + 78)},
                  {423, 39, positionColour(175, 175)},
                  {336, 40, kBlack},
                  {336, 29, kBlack}});
    screen.update();
    EXPECT_EQ(port.updates(),
              (std::vector<std::string>{"update 336 30 88 10", "update 150 156 44 88"}));
    piece.oldPos = piece.pos;
    piece.pos = pt{250, 200};
    piece.erase();
    EXPECT_EQ(recorder.asked, (std::vector<std::string>{"150 156 44x88", "206 156 88x88"}));
    recorder.asked.clear();
    screen.update();
    port.clearLog();
    piece.pos = pt{100, 200};  // wholly outside
    piece.updateOldPos();
    piece.show();
    piece.erase();
    piece.clip = rectManip::zeroRect;
    piece.pos = pt{300, 300};
    piece.updateOldPos();
    piece.show();
    piece.erase();
    EXPECT_TRUE(recorder.asked.empty());
    screen.update();
    EXPECT_TRUE(port.updates().empty());
}

TEST_F(SpritesTest, StatesAndTheirErrors) {
    gnAnimationSprite sprite, screenless, noMemory;
    sprite.frameCount = 1;
    EXPECT_FALSE(sprite.isOpen());
    sprite.setScreen(&screen);
    sprite.background = &backdrop;
    sprite.erase();  // closed: nothing, and no batch left open
    screen.beginUpdate();
    screen.endUpdate();
    ClippedAnimSprite clipped;
    clipped.frameCount = 1;
    clipped.clip = gnRect(0, 0, 100, 100);
    EXPECT_EQ(raisedBy([&] { clipped.show(); }), "");  // closed: nothing
    clipped.open();
    gnImageSprite loose;
    loose.setScreen(&screen);
    EXPECT_EQ(raisedBy([&] { loose.erase(); }), "");  // no background: nothing to redraw
    gnImageFrame foreign[1];
    noMemory.frameCount = -1;
    const struct {
        std::function<void()> call;
        std::string printed;
    } errors[] = {
        {[&] {
             sprite.open();
             sprite.open();
         },
         "Software bug: Animation sprite is already open in gnAnimationSprite::open()!"},
        {[&] {
             sprite.close();
             sprite.close();
         },
         "Software bug: Animation sprite has not been opened in gnAnimationSprite::close()!"},
        {[&] {
             sprite.frames = foreign;  // not made by open()
             sprite.isOpen();
         },
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
        {[&] {
             loose.background = &backdrop;
             screen.beginUpdate();  // erasing opens a batch of its own
             loose.erase();
         },
         "Software bug: Already updating in gnScreen::beginUpdate! Nested updating is not "
         "implemented!"},
    };
    for (const auto& e : errors)
        EXPECT_EQ(raisedBy(e.call), e.printed + "\n");
    sprite.frames = nullptr;
    screen.endUpdate();
    EXPECT_FALSE(noMemory.isOpen());
}

// The 24 pieces of a round frame, drawn inside the round's batch, allocate nothing but the
// batch's one rectangle.
TEST_F(SpritesTest, BatchedSpritesAllocateOnlyTheBatchRectangle) {
    ClippedAnimSprite pieces[24];
    for (ClippedAnimSprite& piece : pieces)
        onBoard(piece, gnRect(0, 0, 88, 88));
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
