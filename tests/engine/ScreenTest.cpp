// What reaches the monitor: the pending rectangles, batches, range checks, the port's scaled
// window areas, the mouse mapping and the screen's errors. On the dummy display (1024 by 768)
// the picture is 945 by 768 at x 39, between black bars.
#include "EngineFixture.h"
#include "gnImagesImpl.h"

using Lines = std::vector<std::string>;

namespace {

class ScreenTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        red = image(writePlainBmp(path("p.bmp"), 100, 100, kRed));
    }
    void draw(int32_t x, int32_t y, uint32_t w, uint32_t h) {
        red->display(gnRect(0, 0, w, h), pt{x, y});
    }
    gnImage* red = nullptr;
};

}  // namespace

// Each draw outside a batch is one pending rectangle; update sends them latest first, each
// scaled once into the window, and presents; a frame without a change sends nothing.
TEST_F(ScreenTest, OnlyChangedAreasReachTheWindowScaledOnce) {
    draw(0, 0, 10, 10);
    draw(20, 30, 5, 6);
    draw(630, 510, 10, 10);
    screen.update();
    EXPECT_EQ(port.log,
              (Lines{"update 630 510 10 10", "update 20 30 5 6", "update 0 0 10 10", "present"}));
    EXPECT_EQ(port.windows, (Lines{"970 754 14 14", "69 45 7 9", "39 0 15 15"}));
    expectPixels(port.windowSurface(), {{39, 0, kRed},
                                        {53, 14, kRed},
                                        {54, 14, kBlack},
                                        {53, 15, kBlack},
                                        {38, 0, kBlack},
                                        {983, 767, kRed},
                                        {984, 767, kBlack}});
    port.clearLog();
    screen.update();
    EXPECT_EQ(port.log, Lines{"present"});
    EXPECT_EQ(port.windows, Lines{});
}

// A batch yields its bounding rectangle (the zero rectangle, the whole screen, when a blit in
// it was clipped away); dontUpdate drops it; update during a batch sends what came before.
TEST_F(ScreenTest, BatchesSendOneRectangleOrNone) {
    screen.beginUpdate();
    draw(0, 0, 10, 10);
    draw(100, 50, 20, 20);
    screen.endUpdate();
    screen.beginUpdate();
    draw(10, 10, 10, 10);
    Capture out;
    draw(700, 10, 10, 10);  // wholly right of the screen
    screen.endUpdate();
    screen.beginUpdate();
    draw(5, 300, 10, 10);
    screen.dontUpdate();
    draw(1, 1, 2, 2);
    screen.beginUpdate();
    draw(50, 50, 2, 2);
    screen.update();
    EXPECT_EQ(port.updates(), (Lines{"update 1 1 2 2", "update 0 0 0 0", "update 0 0 120 70"}));
    EXPECT_EQ(at(5, 300), kRed);  // dropped from the list, not from the screen
    port.clearLog();
    screen.endUpdate();
    screen.update();
    EXPECT_EQ(port.updates(), (Lines{"update 50 50 2 2"}));
    out.finish();
}

TEST_F(ScreenTest, DrawingOffTheScreenPrintsAndDrawsTheVisiblePart) {
    Capture out;
    draw(600, 10, 100, 100);
    draw(-5, 3, 10, 10);
    draw(540, 420, 100, 100);    // exactly to the edges: fine
    draw(65536 + 7, 200, 3, 3);  // coordinates reach SDL cut to 16 bits: x 7
    EXPECT_EQ(out.finish(), "display: 600, 10, 700, 110\ndisplay: -5, 3, 5, 13\n");
    EXPECT_EQ(at(639, 10), kRed);
    EXPECT_EQ(at(599, 10), kBlack);
    EXPECT_EQ(at(7, 200), kRed);
    screen.update();
    EXPECT_EQ(port.updates()[3], "update 600 10 40 100");
    port.clearLog();
    Capture fills;
    screen.fillRect(gnRect(0, 20, 30, 40), 256 + 255, 0, 0x100 + 0x10);  // cut to 8 bits
    screen.fillRect(gnRect(630, 500, 20, 40), 0, 0, 255);  // clipped first, then checked
    screen.fillRect(gnRect(700, 10, 20, 20), 0, 255, 0);
    EXPECT_EQ(fills.finish(), "Out of range in display: 700, 10, 700, 10\n");
    EXPECT_EQ(at(0, 20), 0xFF0010u);
    EXPECT_EQ(at(29, 59), 0xFF0010u);
    EXPECT_EQ(at(30, 59), kBlack);
    EXPECT_EQ(at(639, 519), kBlue);
    screen.update();
    EXPECT_EQ(port.updates(),
              (Lines{"update 700 10 0 0", "update 630 500 10 20", "update 0 20 30 40"}));
}

TEST_F(ScreenTest, RefreshAllAndAFullPendingList) {
    draw(3, 3, 3, 3);
    screen.refreshAll();
    EXPECT_EQ(port.log, (Lines{"update 0 0 0 0", "present"}));
    EXPECT_EQ(port.windows, (Lines{"39 0 945 768"}));
    port.clearLog();
    for (int i = 0; i < gnScreen::kPendingMax + 5; ++i)  // at the limit: merged, never past it
        draw(i % 600, 0, 1, 1);
    screen.update();
    const Lines sent = port.updates();
    ASSERT_EQ(sent.size(), static_cast<size_t>(gnScreen::kPendingMax));
    EXPECT_EQ(sent.front(), "update 422 0 7 1");  // the 1023rd to the 1029th draw, merged
    EXPECT_EQ(sent.back(), "update 3 3 3 3");     // kept by refreshAll
}

// After an expose (the window lost its picture) or a change of size, the next present sends
// the whole window: the bars black again and the picture scaled to the new size.
TEST_F(ScreenTest, AnExposeOrAResizeShowsTheWholeWindowAgain) {
    SDL_FillRect(surface(), nullptr, SDL_MapRGB(surface()->format, 0, 0, 255));
    SDL_Surface* window = port.windowSurface();
    SDL_FillRect(window, nullptr, SDL_MapRGB(window->format, 255, 255, 255));
    SDL_Event expose = {};
    expose.type = SDL_WINDOWEVENT;
    expose.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;  // not a loss of the picture
    SDL_PushEvent(&expose);
    screen.update();
    EXPECT_EQ(port.windows, Lines{});
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
    for (const auto& [y, colour] :
         {std::pair{239, kBlack}, {240, kBlue}, {759, kBlue}, {760, kBlack}})
        EXPECT_EQ(pixelAt(window, 300, y), colour) << y;
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
    EXPECT_EQ(x, 320);
    EXPECT_EQ(y, 520);
}

TEST_F(ScreenTest, StatesAndTheirErrors) {
    gnScreen fresh;
    EXPECT_FALSE(fresh.isOpen());
    EXPECT_EQ(fresh.getSize().h, 480u);
    EXPECT_NE(globalPool, nullptr);  // the pool lives while the screen is open
    const std::string prefix = "Software bug: ";
    gnImage closed;
    const struct {
        std::function<void()> call;
        std::string message;
    } open[] = {
        {[&] {
             screen.setSize(sz{320, 200});
         },
         "Cannot set screensize in gnScreen::setSize"},
        {[&] {
             screen.display(nullptr, rectManip::zeroRect, pt{0, 0});
         },
         "No image specified in gnScreen::display"},
        {[&] {
             screen.display(&closed, rectManip::zeroRect, pt{0, 0});
         },
         "Image object is not open in gnImage::getSDLSurface"},
        {[&] {
             screen.beginUpdate();
             screen.beginUpdate();
         },
         "Already updating in gnScreen::beginUpdate! Nested updating is not implemented!"},
        {[&] {
             screen.endUpdate();
             screen.endUpdate();
         },
         "Not updating in gnScreen::endUpdate! Nested updating is not implemented!"},
        {[&] { screen.dontUpdate(); },
         "Not updating in gnScreen::endUpdate! Nested updating is not implemented!"},
    };
    for (const auto& c : open)
        EXPECT_EQ(raisedBy(c.call), prefix + c.message + "\n");
    screen.close();
    EXPECT_EQ(globalPool, nullptr);
    for (const auto& [call, where] : std::vector<std::pair<std::function<void()>, std::string>>{
             {[&] { screen.close(); }, "close"},
             {[&] { screen.update(); }, "update"},
             {[&] { screen.refreshAll(); }, "refreshAll"},
             {[&] { screen.getSDLSurface(); }, "getSDLSurface"}})
        EXPECT_EQ(raisedBy(call), prefix + "Screenobject is not open in gnScreen::" + where + "\n");
    screen.setSize(sz{320, 200});  // takes effect at the next open
    screen.open();
    EXPECT_EQ(screen.getSDLSurface()->w, 320);
    EXPECT_EQ(screen.getSDLSurface()->format->BitsPerPixel, 32);
    screen.close();
    screen.setSize(sz{0, 0});  // a picture of no size cannot be shown
    EXPECT_EQ(raisedBy([&] { screen.open(); }),
              "Generic exception of type: OpenDisplay raised: A picture of 0 by 0 pixels cannot be "
              "shown\n");
    EXPECT_FALSE(screen.isOpen());
}
