// A piece's two tiles and its clipped drawing; a gate's frames, swings and place on screen.
#include <algorithm>
#include <cstdlib>

#include "BoardPiece.h"
#include "EngineFixture.h"
#include "Gates.h"

namespace {

class PiecesAndGatesTest : public EngineFixture {
  protected:
    gnImage* positions() { return image(writeBmp(path("pos.bmp"), 500, 440, positionColour)); }
};

}  // namespace

TEST_F(PiecesAndGatesTest, APieceShowsItsHomeTileOfBothPicturesClippedToTheBoard) {
    gnImage* a = positions();
    gnImage* b = image(writePlainBmp(path("b.bmp"), 440, 440, kWhite));
    BoardPiece piece;
    EXPECT_FALSE(piece.inQueue);
    EXPECT_EQ(piece.frameCount, 2);
    piece.setScreen(&screen);
    piece.open();
    piece.pos = pt{1, 2};
    piece.init(a, b, 2, 1);
    EXPECT_EQ(piece.frames[0].image, a);
    EXPECT_EQ(piece.frames[1].image, b);
    for (const gnImageFrame& frame : {piece.frames[0], piece.frames[1]})
        EXPECT_TRUE(rectManip::isEqual(frame.rect, gnRect(176, 88, 88, 88)));
    EXPECT_EQ(piece.oldPos.y, 2);
    piece.clip = gnRect(150, 30, 460, 460);
    piece.pos = pt{380, -4};  // the centre of the top hole: only the gate's strip shows
    piece.show();
    expectPixels(surface(), {{336, 30, positionColour(176, 88 + 78)},
                             {423, 39, positionColour(176 + 87, 88 + 87)},
                             {380, 29, kBlack},
                             {380, 40, kBlack}});
    screen.update();
    EXPECT_EQ(port.updates(), (std::vector<std::string>{"update 336 30 88 10"}));
}

TEST_F(PiecesAndGatesTest, GateFramesStandSideBySideAndDrawCentred) {
    gnImage* strip = positions();
    Gates top, left;
    top.setScreen(&screen);
    top.open();
    top.init(strip, 0, 0, 90, 10);
    top.pos = pt{380, 35};
    top.currentFrame = 2;
    top.show();
    left.setScreen(&screen);
    left.open();
    left.init(strip, 450, 0, 10, 90);
    left.pos = pt{155, 260};
    left.currentFrame = 4;
    left.show();
    EXPECT_TRUE(rectManip::isEqual(top.frames[4].rect, gnRect(360, 0, 90, 10)));
    expectPixels(surface(), {{335, 30, positionColour(180, 0)},
                             {424, 39, positionColour(269, 9)},
                             {334, 30, kBlack},
                             {150, 215, positionColour(490, 0)},
                             {159, 304, positionColour(499, 89)}});
}

// A gate now and then (one frame in 77) turns its swing; it moves a frame each step towards
// open or closed and rests at the end; it counts as open only on its last frame.
TEST_F(PiecesAndGatesTest, GateSwingsAtRandomAndIsOpenOnlyOnTheLastFrame) {
    srand(99);
    Gates gate;
    EXPECT_FALSE(gate.isOpen());
    bool wasOpening = false;
    int frame = 0, turns = 0, openFrames = 0;
    for (int i = 0; i < 2000; ++i) {
        gate.act();
        ASSERT_EQ(gate.currentFrame, gate.opening ? std::min(frame + 1, 4) : std::max(frame - 1, 0))
            << i;
        ASSERT_EQ(gate.isOpen(), gate.currentFrame == 4) << i;
        turns += gate.opening != wasOpening;
        openFrames += gate.isOpen();
        wasOpening = gate.opening;
        frame = gate.currentFrame;
    }
    EXPECT_GT(openFrames, 0);
    EXPECT_NEAR(turns, 2000 / 77, 13);
}
