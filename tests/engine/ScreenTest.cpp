// What reaches the monitor and the mouse mapped back; images, load failures, the pool.
#include <sys/stat.h>

#include <algorithm>

#include "EngineFixture.h"
#include "gnImagesImpl.h"

namespace {

class ScreenTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        red = image(writePlainBmp("p.bmp", 100, 100, kRed));
    }
    void draw(int32_t x, int32_t y, uint32_t w, uint32_t h) {
        red->display(gnRect(0, 0, w, h), pt{x, y});
    }
    gnImage* red = nullptr;
};

}  // namespace

// Pending areas latest first, scaled once, narrowed to the pixels that changed; batches;
// dontUpdate; nothing unchanged; 1024 merge.
TEST_F(ScreenTest, OnlyChangedAreasReachTheWindowScaledOnce) {
    draw(0, 0, 10, 10);
    draw(20, 30, 5, 6);
    draw(630, 510, 10, 10);
    screen.update();
    EXPECT_EQ(port.log,
              (Lines{"update 630 510 10 10", "update 20 30 5 6", "update 0 0 10 10", "present"}));
    EXPECT_EQ(port.windows, (Lines{"970 754 14 14", "69 45 7 9", "39 0 15 15"}));
    // clang-format off
    expectPixels(port.windowSurface(), {
        {39, 0, kRed}, {53, 14, kRed}, {54, 14, kBlack}, {53, 15, kBlack}, {38, 0, kBlack},
        {983, 767, kRed}, {984, 767, kBlack}});
    // clang-format on
    port.clearLog();
    screen.update();
    EXPECT_EQ(port.log, Lines{"present"});
    EXPECT_EQ(port.windows, Lines{});
    draw(0, 0, 10, 12);  // drawn again, two rows more: only those reach the window
    screen.update();
    EXPECT_EQ(port.log, (Lines{"present", "update 0 0 10 12", "present"}));
    EXPECT_EQ(port.windows, (Lines{"39 15 15 3"}));
    port.clearLog();
    screen.beginUpdate();
    draw(0, 0, 10, 10);
    draw(100, 50, 20, 20);
    screen.endUpdate();
    screen.beginUpdate();
    draw(10, 10, 10, 10);
    Capture out;
    draw(700, 10, 10, 10);  // wholly right of the screen
    out.finish();
    screen.endUpdate();
    screen.beginUpdate();
    draw(5, 300, 10, 10);
    screen.dontUpdate();
    draw(1, 1, 2, 2);
    screen.beginUpdate();
    draw(50, 50, 2, 2);
    screen.update();  // during a batch: what came before it
    EXPECT_EQ(port.updates(), (Lines{"update 1 1 2 2", "update 0 0 0 0", "update 0 0 120 70"}));
    EXPECT_EQ(at(5, 300), kRed);  // dropped from the list, not from the screen
    port.clearLog();
    screen.endUpdate();
    screen.beginUpdate();
    draw(300, 200, 4, 4);  // drawn, not pending
    screen.dontUpdate();
    screen.refreshAll();
    EXPECT_EQ(port.log, (Lines{"update 0 0 0 0", "present"}));  // the pending list stays
    EXPECT_EQ(port.windows, (Lines{"482 296 6 6"}));            // what changed of the whole
    port.clearLog();
    for (int i = 0; i < gnScreen::kPendingMax + 5; ++i)
        draw(i % 600, 0, 1, 1);
    screen.update();
    const Lines sent = port.updates();
    ASSERT_EQ(sent.size(), static_cast<size_t>(gnScreen::kPendingMax));
    EXPECT_EQ(sent.front(), "update 422 0 7 1");  // the 1023rd to the 1029th draw, merged
    EXPECT_EQ(sent.back(), "update 50 50 2 2");   // the first pending one, kept by refreshAll
}

TEST_F(ScreenTest, DrawingOffTheScreenPrintsAndDrawsTheVisiblePart) {
    Capture out;
    draw(600, 10, 100, 100);
    draw(-5, 3, 10, 10);
    draw(540, 420, 100, 100);    // exactly to the edges: fine
    draw(65536 + 7, 200, 3, 3);  // coordinates reach SDL cut to 16 bits: x 7
    screen.fillRect(gnRect(0, 20, 30, 40), 256 + 255, 0, 0x100 + 0x10);  // cut to 8 bits
    screen.fillRect(gnRect(630, 500, 20, 40), 0, 0, 255);  // clipped first, then checked
    screen.fillRect(gnRect(700, 10, 20, 20), 0, 255, 0);
    EXPECT_EQ(out.finish(),
              "display: 600, 10, 700, 110\ndisplay: -5, 3, 5, 13\n"
              "Out of range in display: 700, 10, 700, 10\n");
    // clang-format off
    expectPixels(surface(), {
        {639, 10, kRed}, {599, 10, kBlack}, {7, 200, kRed}, {0, 20, 0xFF0010}, {29, 59, 0xFF0010},
        {30, 59, kBlack}, {639, 519, kBlue}});
    // clang-format on
    screen.update();
    EXPECT_EQ(
        port.updates(),
        (Lines{"update 700 10 0 0", "update 630 500 10 20", "update 0 20 30 40", "update 7 200 3 3",
               "update 540 420 100 100", "update 0 3 5 10", "update 600 10 40 100"}));
}

// An expose or a new size sends the whole window; the mouse maps to the picture pixel under it.
TEST_F(ScreenTest, ExposeResizeAndTheMouse) {
    SDL_FillRect(surface(), nullptr, SDL_MapRGB(surface()->format, 0, 0, 255));
    SDL_FillRect(port.windowSurface(), nullptr,
                 SDL_MapRGB(port.windowSurface()->format, 255, 255, 255));
    pushEvent(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_GAINED);  // not a loss of the picture
    screen.update();
    EXPECT_EQ(port.windows, Lines{});
    pushEvent(SDL_WINDOWEVENT, SDL_WINDOWEVENT_EXPOSED);
    screen.update();
    EXPECT_EQ(port.windows, (Lines{"0 0 1024 768"}));
    expectPixels(port.windowSurface(), {{38, 300, kBlack}, {39, 300, kBlue}, {983, 767, kBlue}});
    port.clearLog();
    screen.refreshAll();  // the whole picture again, as it was sent: nothing more reaches it
    EXPECT_EQ(port.windows, Lines{});
    const struct {
        int windowX, windowY;
        const char* picture;
    } points[] = {{39, 0, "0 0"},        {53, 14, "9 9"},       {54, 15, "10 10"},
                  {983, 767, "639 519"}, {984, 300, "640 203"}, {38, 300, "-1 203"},
                  {0, 0, "-27 0"},       {1023, 0, "666 0"}};
    for (const auto& p : points) {
        int x = 0, y = 0;
        port.windowToPicture(p.windowX, p.windowY, &x, &y);
        EXPECT_EQ(std::to_string(x) + " " + std::to_string(y), p.picture) << p.windowX;
    }
    port.clearLog();
    port.resizeWindow(640, 1000);  // taller than wide: bars above and below
    screen.update();
    EXPECT_EQ(port.windows, (Lines{"0 0 640 1000"}));
    for (const auto& [y, colour] :
         {std::pair{239, kBlack}, {240, kBlue}, {759, kBlue}, {760, kBlack}})
        EXPECT_EQ(pixelAt(port.windowSurface(), 300, y), colour) << y;
    int x = 0, y = 0;
    port.windowToPicture(320, 239, &x, &y);
    EXPECT_EQ(y, -1);
    port.windowToPicture(320, 760, &x, &y);
    EXPECT_EQ(std::to_string(x) + " " + std::to_string(y), "320 520");
    for (uint32_t ms : {20u, 120u}) {  // the real port's sleeps: short, and pumping on the way
        const Uint32 before = SDL_GetTicks();
        port.gnPort::delay(ms);
        EXPECT_GE(SDL_GetTicks() - before, ms);
    }
}

// Scaled up, every window pixel shows the picture pixel its position maps to: each row and each
// column of the picture its own colour (the rows repeated, the columns widened).
TEST_F(ScreenTest, EveryWindowPixelShowsItsPicturePixel) {
    SDL_Surface* picture = surface();
    for (int y = 0; y < picture->h; ++y)
        for (int x = 0; x < picture->w; ++x)
            static_cast<Uint32*>(picture->pixels)[y * picture->pitch / 4 + x] =
                SDL_MapRGB(picture->format, static_cast<Uint8>(x), static_cast<Uint8>(x >> 8),
                           static_cast<Uint8>(y));
    pushEvent(SDL_WINDOWEVENT, SDL_WINDOWEVENT_EXPOSED);
    screen.update();
    int wrong = 0;
    for (int wy = 0; wy < 768; wy += 1)
        for (int wx = 39; wx < 984; wx += 7) {
            int x = 0, y = 0;
            port.windowToPicture(wx, wy, &x, &y);
            wrong += pixelAt(port.windowSurface(), wx, wy) != pixelAt(picture, x, y);
        }
    EXPECT_EQ(wrong, 0);
}

// Any part of an image, also centred (halves down), opaque even with alpha, its colour key kept.
TEST_F(ScreenTest, ImagesDrawAnyPartOfThemselves) {
    gnImage picture;
    picture.loadBMP(writeBmp("pos.bmp", 100, 60, positionColour).c_str());
    picture.setScreen(&screen);
    const gnImageFrame frame = {&picture, gnRect(30, 20, 10, 5)};
    frame.display(pt{200, 100});
    frame.displayCentered(pt{300, 100});  // corner (295, 98)
    gnImage* alpha = image(writeBmp(
        "a.bmp", 20, 10, [](int x, int) { return x < 10 ? kWhite : kMagenta; }, 64));
    alpha->display(gnRect(0, 0, 20, 10), pt{0, 0});
    SDL_Surface* keyed = alpha->getSDLSurface();
    SDL_SetColorKey(keyed, SDL_TRUE, SDL_MapRGB(keyed->format, 255, 0, 255));
    screen.fillRect(gnRect(40, 0, 20, 10), 0, 0, 255);
    alpha->display(gnRect(0, 0, 20, 10), pt{40, 0});
    // clang-format off
    expectPixels(surface(), {
        {200, 100, positionColour(30, 20)}, {209, 104, positionColour(39, 24)}, {210, 100, kBlack},
        {200, 105, kBlack}, {295, 98, positionColour(30, 20)}, {294, 98, kBlack}, {5, 5, kWhite},
        {15, 5, kMagenta}, {45, 5, kWhite}, {55, 5, kBlue}});
    // clang-format on
    picture.close();
    sz size;
    picture.getSize(size);
    EXPECT_EQ(size.w * 1000 + size.h, 100060u);
}

// A missing, cut, foreign, huge or truncated-header file, a pipe and a folder: one FileLoad
// line each, nothing large allocated, nothing waited for.
TEST_F(ScreenTest, ALoadFailureNamesTheFileAndAllocatesNothingForAHugeHeader) {
    const std::string whole = readFile(writePlainBmp("whole.bmp", 8, 8, kRed));
    writeFile("truncated.bmp", whole.substr(0, 70));
    writeFile("text.bmp", "not a picture at all, but long enough for a header");
    std::string huge = whole.substr(0, 32);  // 30000 by 30000 in a 32-byte file
    huge.replace(18, 8, std::string("\x30\x75\0\0\x30\x75\0\0", 8));
    writeFile("huge.bmp", huge);
    std::string core = whole.substr(0, 26);  // the oldest header: 16-bit sides, 5000 by 3
    core.replace(14, 12, std::string("\x0c\0\0\0\x88\x13\x03\0\x01\0\x18\0", 12));
    writeFile("core.bmp", core);
    writeFile("cut.bmp", core.substr(0, 21));  // the oldest header cut before its height
    std::string os2 = core.substr(0, 25);      // a 25-byte file whose header asks 10239 by 65535
    os2.replace(18, 4, std::string("\xff\x27\xff\xff", 4));
    writeFile("os2.bmp", os2);
    mkfifo("fifo.bmp", 0644);  // nobody writes it: opening it for reading would wait for ever
    const std::string deep(150, 'd');
    mkdir(deep.c_str(), 0755);
    const std::pair<std::string, std::string> failures[] = {
        {"missing.bmp", "Couldn't open missing.bmp"},
        {"truncated.bmp", "truncated.bmp: Error reading from datastream"},
        {"text.bmp", "text.bmp: File is not a Windows BMP file"},
        {"huge.bmp", "huge.bmp: declares 30000 by 30000 pixels, more than 4096 by 4096"},
        {"core.bmp", "core.bmp: declares 5000 by 3 pixels, more than 4096 by 4096"},
        {"cut.bmp", "cut.bmp: its header is cut short"},
        {"os2.bmp", "os2.bmp: declares 10239 by 65535 pixels, more than 4096 by 4096"},
        {"fifo.bmp", "Couldn't open fifo.bmp: it is not a regular file"},
        {".", "Couldn't open .: it is a folder"},
        {deep + "/missing.bmp", ("Couldn't open " + deep).substr(0, 119)},
    };
    static size_t largest;
    SDL_malloc_func m;
    SDL_calloc_func c;
    SDL_realloc_func r;
    SDL_free_func f;
    SDL_GetMemoryFunctions(&m, &c, &r, &f);
    SDL_SetMemoryFunctions(
        [](size_t n) { return malloc(largest = std::max(largest, n)); },
        [](size_t n, size_t k) { return calloc((largest = std::max(largest, n * k)), 1); },
        [](void* p, size_t n) { return realloc(p, largest = std::max(largest, n)); }, free);
    for (const auto& [file, message] : failures) {
        gnImage picture;
        gnImagePool pool;
        const std::string printed = "Generic exception of type: FileLoad raised: " + message + "\n";
        EXPECT_EQ(raisedBy([&] { picture.loadBMP(file.c_str()); }), printed);
        EXPECT_EQ(raisedBy([&] { pool.loadBMP(file.c_str()); }), printed);
        EXPECT_FALSE(picture.isOpen());
    }
    SDL_SetMemoryFunctions(m, c, r, f);
    EXPECT_LT(largest, 1u << 20) << "bytes allocated at once";
}

// One surface per exact name, counted, 128 names; what is still held is reported at the end.
TEST_F(ScreenTest, PoolSharesByNameCountsAndReports) {
    writePlainBmp("one.bmp", 1, 1, kRed);
    writePlainBmp("One.bmp", 1, 1, kRed);
    gnImagePool pool;
    SDL_Surface* first = pool.loadBMP("one.bmp");
    EXPECT_EQ(pool.loadBMP("one.bmp"), first);
    pool.freeSurface(first);
    EXPECT_EQ(pool.referencesOf(first), 1);
    std::vector<std::string> names = {"one.bmp", "One.bmp"};  // case differs; then the same
    for (std::string name = "one.bmp"; names.size() < gnImagePool::kSlotCount;)
        names.push_back(name = "./" + name);  // file by another path
    for (size_t i = 1; i < names.size(); ++i)
        EXPECT_NE(pool.loadBMP(names[i].c_str()), first) << names[i];
    const std::string extra = "./" + names.back();
    EXPECT_EQ(raisedBy([&] { pool.loadBMP(extra.c_str()); }),
              "Generic exception of type: IMAGEPOOL raised: No more imageslots available for a "
              "new image in gnImagePool!\n");
    EXPECT_EQ(pool.loadBMP("one.bmp"), first);  // a name in use still loads
    pool.freeSurface(first);
    pool.freeSurface(first);
    SDL_Surface* late = pool.loadBMP(extra.c_str());  // the freed slot takes a new name
    pool.freeSurface(late);
    for (size_t i = 1; i < names.size(); ++i) {  // every name's last user gone
        SDL_Surface* s = pool.loadBMP(names[i].c_str());
        pool.freeSurface(s);
        pool.freeSurface(s);
    }
    Capture out;
    {
        gnImagePool other;
        for (int i = 0; i < 3; ++i)
            other.loadBMP("One.bmp");
    }
    globalPool->loadBMP("one.bmp");
    screen.close();
    EXPECT_EQ(globalPool, nullptr);
    EXPECT_FALSE(port.hasVideo());
    EXPECT_EQ(out.finish(),
              "File named One.bmp not freed. References: 3\n"
              "File named one.bmp not freed. References: 1\n");
    screen.setSize(sz{0, 0});  // takes effect at the next open; a picture of no size fails
    EXPECT_EQ(raisedBy([&] { screen.open(); }),
              "Generic exception of type: OpenDisplay raised: A picture of 0 by 0 pixels cannot be "
              "shown\n");
}
