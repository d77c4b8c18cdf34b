// What reaches the monitor: the pending rectangles, batches, range checks and screen errors.
#include "EngineFixture.h"
#include "gnImagesImpl.h"

using Lines = std::vector<std::string>;

namespace {

class ScreenTest : public EngineFixture {
  protected:
    void draw(gnImage* i, int32_t x, int32_t y, uint32_t w, uint32_t h) {
        gnRectangle src;
        rectManip::init(src, 0, 0, w, h);
        i->display(src, pt{x, y});
    }
    gnImage* picture() { return image(writePlainBmp(path("p.bmp"), 100, 100, kRed)); }
};

}  // namespace

TEST_F(ScreenTest, ThreeDrawsAreSentLatestFirstThenPresentedOnce) {
    gnImage* p = picture();
    draw(p, 0, 0, 10, 10);
    draw(p, 20, 30, 5, 6);
    draw(p, 200, 300, 40, 50);
    screen.update();
    EXPECT_EQ(port.log,
              (Lines{"update 200 300 40 50", "update 20 30 5 6", "update 0 0 10 10", "present"}));
    EXPECT_EQ(port.windows, (Lines{"335 444 59 73", "69 45 7 9", "39 0 15 15"}));
    port.clearLog();
    screen.update();
    EXPECT_EQ(port.log, (Lines{"present"}));
}

TEST_F(ScreenTest, BatchSendsTheBoundingRectangleOnce) {
    gnImage* p = picture();
    screen.beginUpdate();
    draw(p, 0, 0, 10, 10);
    draw(p, 100, 50, 20, 20);
    screen.endUpdate();
    screen.update();
    EXPECT_EQ(port.updates(), (Lines{"update 0 0 120 70"}));
}

TEST_F(ScreenTest, BlitClippedAwayInBatchTurnsIntoTheWholeScreen) {
    gnImage* p = picture();
    screen.beginUpdate();
    draw(p, 10, 10, 10, 10);
    draw(p, 700, 10, 10, 10);  // wholly right of the screen
    screen.endUpdate();
    screen.update();
    EXPECT_EQ(port.updates(), (Lines{"update 0 0 0 0"}));
}

TEST_F(ScreenTest, DontUpdateDrawsButSendsNothing) {
    gnImage* p = picture();
    screen.beginUpdate();
    draw(p, 5, 5, 10, 10);
    screen.dontUpdate();
    screen.update();
    EXPECT_EQ(port.log, (Lines{"present"}));
    EXPECT_EQ(at(5, 5), kRed);
}

TEST_F(ScreenTest, UpdateDuringBatchSendsOnlyWhatWasPushedBefore) {
    gnImage* p = picture();
    draw(p, 1, 1, 2, 2);
    screen.beginUpdate();
    draw(p, 50, 50, 2, 2);
    screen.update();
    EXPECT_EQ(port.updates(), (Lines{"update 1 1 2 2"}));
    port.clearLog();
    screen.endUpdate();
    screen.update();
    EXPECT_EQ(port.updates(), (Lines{"update 50 50 2 2"}));
}

TEST_F(ScreenTest, DrawingOffTheScreenPrintsAndDrawsTheVisiblePart) {
    gnImage* p = picture();
    Capture out;
    draw(p, 600, 10, 100, 100);
    EXPECT_EQ(out.finish(), "display: 600, 10, 700, 110\n");
    EXPECT_EQ(at(639, 10), kRed);
    EXPECT_EQ(at(599, 10), kBlack);
    screen.update();
    EXPECT_EQ(port.updates(), (Lines{"update 600 10 40 100"}));

    Capture negative;
    draw(p, -5, 3, 10, 10);
    EXPECT_EQ(negative.finish(), "display: -5, 3, 5, 13\n");
    Capture inside;
    draw(p, 540, 420, 100, 100);
    EXPECT_EQ(inside.finish(), "");
}

TEST_F(ScreenTest, CoordinatesAreCutTo16Bits) {
    gnImage* p = picture();
    Capture out;
    draw(p, 65536 + 7, 9, 3, 3);  // reaches SDL as x 7
    EXPECT_EQ(out.finish(), "");
    EXPECT_EQ(at(7, 9), kRed);
}

TEST_F(ScreenTest, FillClipsChecksAndRecords) {
    gnRectangle r;
    rectManip::init(r, 10, 20, 30, 40);
    screen.fillRect(r, 256 + 255, 0, 0x100 + 0x10);  // components cut to 8 bits
    EXPECT_EQ(at(10, 20), 0xFF0010u);
    EXPECT_EQ(at(39, 59), 0xFF0010u);
    EXPECT_EQ(at(40, 59), kBlack);

    Capture partly;
    rectManip::init(r, 630, 500, 20, 40);
    screen.fillRect(r, 0, 0, 255);
    EXPECT_EQ(partly.finish(), "");  // clipped first, so the check sees what was filled
    EXPECT_EQ(at(639, 519), kBlue);

    Capture outside;
    rectManip::init(r, 700, 10, 20, 20);
    screen.fillRect(r, 0, 255, 0);
    EXPECT_EQ(outside.finish(), "Out of range in display: 700, 10, 700, 10\n");
    screen.update();
    EXPECT_EQ(port.updates(),
              (Lines{"update 700 10 0 0", "update 630 500 10 20", "update 10 20 30 40"}));
}

TEST_F(ScreenTest, RefreshAllSendsTheWholeScreenAndKeepsThePendingList) {
    gnImage* p = picture();
    draw(p, 3, 3, 3, 3);
    screen.refreshAll();
    EXPECT_EQ(port.log, (Lines{"update 0 0 0 0", "present"}));
    EXPECT_EQ(port.windows, (Lines{"39 0 945 768"}));
    port.clearLog();
    screen.update();
    EXPECT_EQ(port.updates(), (Lines{"update 3 3 3 3"}));
}

TEST_F(ScreenTest, FullPendingListMergesInsteadOfOverflowing) {
    gnImage* p = picture();
    for (int i = 0; i < gnScreen::kPendingMax + 5; ++i)
        draw(p, i % 600, 0, 1, 1);
    screen.update();
    const Lines sent = port.updates();
    ASSERT_EQ(sent.size(), static_cast<size_t>(gnScreen::kPendingMax));
    EXPECT_EQ(sent.front(), "update 423 0 6 1");  // 1023rd to 1029th draws, merged
    EXPECT_EQ(sent.back(), "update 0 0 1 1");
}

TEST_F(ScreenTest, SizeTakesEffectAtTheNextOpen) {
    EXPECT_EQ(raisedBy([&] {
                  screen.setSize(sz{320, 200});
              }),
              "Software bug: Cannot set screensize in gnScreen::setSize\n");
    EXPECT_EQ(screen.getSize().w, 640u);
    screen.close();
    screen.setSize(sz{320, 200});
    screen.open();
    EXPECT_EQ(screen.getSDLSurface()->w, 320);
    EXPECT_EQ(screen.getSDLSurface()->h, 200);
    EXPECT_EQ(screen.getSDLSurface()->format->BitsPerPixel, 32);
}

TEST_F(ScreenTest, NewScreenIs640By480AndClosed) {
    gnScreen fresh;
    EXPECT_FALSE(fresh.isOpen());
    EXPECT_EQ(fresh.getSize().w, 640u);
    EXPECT_EQ(fresh.getSize().h, 480u);
}

TEST_F(ScreenTest, PoolLivesWhileTheScreenIsOpen) {
    EXPECT_NE(globalPool, nullptr);
    screen.close();
    EXPECT_EQ(globalPool, nullptr);
    screen.open();
    EXPECT_NE(globalPool, nullptr);
}

TEST_F(ScreenTest, ClosedScreenRaisesItsBugErrors) {
    screen.close();
    EXPECT_EQ(raisedBy([&] { screen.close(); }),
              "Software bug: Screenobject is not open in gnScreen::close\n");
    EXPECT_EQ(raisedBy([&] { screen.update(); }),
              "Software bug: Screenobject is not open in gnScreen::update\n");
    EXPECT_EQ(raisedBy([&] { screen.refreshAll(); }),
              "Software bug: Screenobject is not open in gnScreen::refreshAll\n");
    EXPECT_EQ(raisedBy([&] { screen.getSDLSurface(); }),
              "Software bug: Screenobject is not open in gnScreen::getSDLSurface\n");
}

TEST_F(ScreenTest, BatchMisuseRaises) {
    screen.beginUpdate();
    EXPECT_EQ(raisedBy([&] { screen.beginUpdate(); }),
              "Software bug: Already updating in gnScreen::beginUpdate! Nested updating is not "
              "implemented!\n");
    screen.endUpdate();
    const std::string notUpdating =
        "Software bug: Not updating in gnScreen::endUpdate! Nested updating is not "
        "implemented!\n";
    EXPECT_EQ(raisedBy([&] { screen.endUpdate(); }), notUpdating);
    EXPECT_EQ(raisedBy([&] { screen.dontUpdate(); }), notUpdating);
}

TEST_F(ScreenTest, DisplayChecksItsImage) {
    gnRectangle src = rectManip::zeroRect;
    EXPECT_EQ(raisedBy([&] {
                  screen.display(nullptr, src, pt{0, 0});
              }),
              "Software bug: No image specified in gnScreen::display\n");
    gnImage closed;
    EXPECT_EQ(raisedBy([&] {
                  screen.display(&closed, src, pt{0, 0});
              }),
              "Software bug: Image object is not open in gnImage::getSDLSurface\n");
}

TEST_F(ScreenTest, DisplayModeThatCannotBeSetIsAnOpenDisplayError) {
    screen.close();
    screen.setSize(sz{0, 0});  // SDL refuses a picture of no size
    std::string sdlText;
    const std::string raised = raisedBy([&] {
        try {
            screen.open();
        } catch (gnE*) {
            sdlText = SDL_GetError();
            throw;
        }
    });
    EXPECT_FALSE(screen.isOpen());
    EXPECT_EQ(raised, "Generic exception of type: OpenDisplay raised: " + sdlText + "\n");
    EXPECT_FALSE(sdlText.empty());
}

// The port scales each updated area into the window once and sends only those window areas;
// a frame without a change sends nothing. On the dummy display (1024 by 768) the picture is
// 945 by 768 at x 39, between black bars.
TEST_F(ScreenTest, OnlyChangedAreasReachTheWindowScaledOnce) {
    gnImage* p = picture();
    draw(p, 0, 0, 10, 10);
    draw(p, 630, 510, 10, 10);
    screen.update();
    EXPECT_EQ(port.windows, (Lines{"970 754 14 14", "39 0 15 15"}));
    SDL_Surface* window = port.windowSurface();
    EXPECT_EQ(pixelAt(window, 39, 0), kRed);
    EXPECT_EQ(pixelAt(window, 53, 14), kRed);
    EXPECT_NE(pixelAt(window, 54, 14), kRed);
    EXPECT_NE(pixelAt(window, 53, 15), kRed);
    EXPECT_EQ(pixelAt(window, 38, 0), kBlack);  // the bars
    EXPECT_EQ(pixelAt(window, 983, 767), kRed);
    EXPECT_EQ(pixelAt(window, 984, 767), kBlack);
    port.clearLog();
    screen.update();
    screen.update();
    EXPECT_EQ(port.windows, Lines{});  // nothing changed: nothing sent
}

// After an expose (the window lost its picture) or a change of size, the next present sends
// the whole window: the bars black again and the picture scaled to the new size.
TEST_F(ScreenTest, AnExposeOrAResizeShowsTheWholeWindowAgain) {
    SDL_FillRect(surface(), nullptr, SDL_MapRGB(surface()->format, 0, 0, 255));
    SDL_Surface* window = port.windowSurface();
    SDL_FillRect(window, nullptr, SDL_MapRGB(window->format, 255, 255, 255));
    SDL_Event expose = {};
    expose.type = SDL_WINDOWEVENT;
    expose.window.event = SDL_WINDOWEVENT_EXPOSED;
    SDL_PushEvent(&expose);
    screen.update();
    EXPECT_EQ(port.windows, (Lines{"0 0 1024 768"}));
    EXPECT_EQ(pixelAt(window, 10, 10), kBlack);
    EXPECT_EQ(pixelAt(window, 500, 10), kBlue);
    port.clearLog();
    port.resizeWindow(640, 1000);  // taller than wide: bars above and below
    screen.update();
    EXPECT_EQ(port.windows, (Lines{"0 0 640 1000"}));
    window = port.windowSurface();
    EXPECT_EQ(pixelAt(window, 300, 239), kBlack);
    EXPECT_EQ(pixelAt(window, 300, 240), kBlue);
    EXPECT_EQ(pixelAt(window, 300, 759), kBlue);
    EXPECT_EQ(pixelAt(window, 300, 760), kBlack);
}

// The mouse in picture pixels: exactly the pixel shown under it, and beyond the picture in the
// bars (negative left of and above it).
TEST_F(ScreenTest, TheMouseMapsToThePicturePixelUnderIt) {
    const struct {
        int windowX, windowY, x, y;
    } points[] = {{39, 0, 0, 0},        {53, 14, 9, 9},     {54, 15, 10, 10}, {983, 767, 639, 519},
                  {984, 300, 640, 203}, {38, 300, -1, 203}, {0, 0, -27, 0},   {1023, 0, 666, 0}};
    for (const auto& p : points) {
        int x = 0, y = 0;
        port.windowToPicture(p.windowX, p.windowY, &x, &y);
        EXPECT_EQ(x, p.x) << p.windowX;
        EXPECT_EQ(y, p.y) << p.windowY;
    }
    port.resizeWindow(640, 1000);
    screen.update();
    int x = 0, y = 0;
    port.windowToPicture(320, 239, &x, &y);
    EXPECT_EQ(y, -1);
    port.windowToPicture(320, 760, &x, &y);
    EXPECT_EQ(y, 520);
    EXPECT_EQ(x, 320);
}
