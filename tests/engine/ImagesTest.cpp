// Images drawn from real BMP files, centred frames, colour keys and the shared pool.
#include <sys/stat.h>

#include <algorithm>

#include "EngineFixture.h"
#include "gnImagesImpl.h"

namespace {

class ImagesTest : public EngineFixture {};

}  // namespace

TEST_F(ImagesTest, SizeIsReadAtLoadAndKeptAfterClose) {
    gnImage picture;
    sz size;
    picture.getSize(size);
    EXPECT_EQ(size.w, 0u);
    EXPECT_EQ(size.h, 0u);
    picture.loadBMP(writePlainBmp(path("tall.bmp"), 88, 440, kWhite).c_str());
    EXPECT_TRUE(picture.isOpen());
    picture.getSize(size);
    EXPECT_EQ(size.w, 88u);
    EXPECT_EQ(size.h, 440u);
    picture.close();
    EXPECT_FALSE(picture.isOpen());
    picture.getSize(size);
    EXPECT_EQ(size.w, 88u);
    EXPECT_EQ(size.h, 440u);
    EXPECT_EQ(raisedBy([&] { picture.close(); }),
              "Software bug: Image object is not open in gnImage::close\n");
    EXPECT_EQ(raisedBy([&] { picture.getSDLSurface(); }),
              "Software bug: Image object is not open in gnImage::getSDLSurface\n");
}

// Every load failure names the file and says why, in a message cut at 119 characters; a header
// that claims a huge picture is refused before SDL allocates anything for it.
TEST_F(ImagesTest, ALoadFailureNamesTheFileAndAllocatesNothingForAHugeHeader) {
    const std::string whole = readFile(writePlainBmp("whole.bmp", 8, 8, kRed));
    writeFile("truncated.bmp", whole.substr(0, 70));
    writeFile("text.bmp", "not a picture at all, but long enough for a header");
    std::string huge = whole.substr(0, 32);  // 30000 by 30000 in a 32-byte file
    huge.replace(18, 8, std::string("\x30\x75\0\0\x30\x75\0\0", 8));
    writeFile("huge.bmp", huge);
    std::string core = whole.substr(0, 26);  // the oldest header: 16-bit sides, 5000 by 3
    core.replace(14, 12, std::string("\x0c\0\0\0\x88\x13\x03\0\x01\0\x18\0", 12));
    writeFile("core.bmp", core);
    const std::string deep(150, 'd');
    mkdir(deep.c_str(), 0755);
    const std::string prefix = "Generic exception of type: FileLoad raised: ";
    const struct {
        std::string file, message;
    } failures[] = {
        {"missing.bmp", "Couldn't open missing.bmp"},
        {"truncated.bmp", "truncated.bmp: Error reading from datastream"},
        {"text.bmp", "text.bmp: File is not a Windows BMP file"},
        {"huge.bmp", "huge.bmp: declares 30000 by 30000 pixels, more than 4096 by 4096"},
        {"core.bmp", "core.bmp: declares 5000 by 3 pixels, more than 4096 by 4096"},
        {deep + "/missing.bmp", ("Couldn't open " + deep).substr(0, 119)},
    };
    static size_t largest;
    SDL_malloc_func mallocBefore;
    SDL_calloc_func callocBefore;
    SDL_realloc_func reallocBefore;
    SDL_free_func freeBefore;
    SDL_GetMemoryFunctions(&mallocBefore, &callocBefore, &reallocBefore, &freeBefore);
    SDL_SetMemoryFunctions(
        [](size_t n) {
            largest = std::max(largest, n);
            return malloc(n);
        },
        [](size_t n, size_t m) {
            largest = std::max(largest, n * m);
            return calloc(n, m);
        },
        [](void* p, size_t n) {
            largest = std::max(largest, n);
            return realloc(p, n);
        },
        free);
    for (const auto& f : failures) {
        gnImage picture;
        EXPECT_EQ(raisedBy([&] { picture.loadBMP(f.file.c_str()); }), prefix + f.message + "\n");
        EXPECT_FALSE(picture.isOpen());
        gnImagePool pool;
        EXPECT_EQ(raisedBy([&] { pool.loadBMP(f.file.c_str()); }), prefix + f.message + "\n");
    }
    SDL_SetMemoryFunctions(mallocBefore, callocBefore, reallocBefore, freeBefore);
    EXPECT_LT(largest, 1u << 20) << "bytes allocated at once";
}

TEST_F(ImagesTest, DisplayNeedsABoundScreen) {
    gnImage picture;
    picture.loadBMP(writePlainBmp(path("p.bmp"), 4, 4, kRed).c_str());
    EXPECT_EQ(raisedBy([&] {
                  picture.display(rectManip::zeroRect, pt{0, 0});
              }),
              "Software bug: No screenobject set in gnImage::display\n");
    picture.setScreen(&screen);
    EXPECT_EQ(picture.getScreen(), &screen);
    picture.close();
    EXPECT_EQ(raisedBy([&] {
                  picture.display(rectManip::zeroRect, pt{0, 0});
              }),
              "Software bug: Image object is not open in gnImage::getSDLSurface\n");
}

TEST_F(ImagesTest, FrameDrawsItsPartOfTheImage) {
    gnImage* picture = image(writeBmp(path("pos.bmp"), 100, 60, positionColour));
    gnImageFrame frame = {picture, {30, 20, 10, 5}};
    frame.display(pt{200, 100});
    EXPECT_EQ(at(200, 100), positionColour(30, 20));
    EXPECT_EQ(at(204, 109), positionColour(34, 29));
    EXPECT_EQ(at(205, 100), kBlack);
    EXPECT_EQ(at(200, 110), kBlack);
}

TEST_F(ImagesTest, CentredFrameRoundsHalvesDown) {
    gnImage* picture = image(writeBmp(path("pos.bmp"), 19, 17, positionColour));
    gnImageFrame frame = {picture, {0, 0, 17, 19}};
    frame.displayCentered(pt{100, 50});
    EXPECT_EQ(at(91, 42), positionColour(0, 0));
    EXPECT_EQ(at(109, 58), positionColour(18, 16));
    EXPECT_EQ(at(90, 42), kBlack);
    EXPECT_EQ(at(91, 41), kBlack);
}

TEST_F(ImagesTest, FrameWithoutImageRaises) {
    gnImageFrame frame = {nullptr, {0, 0, 1, 1}};
    EXPECT_EQ(raisedBy([&] {
                  frame.display(pt{0, 0});
              }),
              "Software bug: pointer image is NULL in gnImageFrame::display\n");
    EXPECT_EQ(raisedBy([&] {
                  frame.displayCentered(pt{0, 0});
              }),
              "Software bug: pointer image is NULL in gnImageFrame::displayCentered\n");
}

TEST_F(ImagesTest, ColourKeyedPixelsLeaveTheScreenAlone) {
    gnImage* under = image(writePlainBmp(path("under.bmp"), 20, 20, kBlue));
    gnImage* keyed = image(
        writeBmp(path("keyed.bmp"), 20, 20, [](int x, int) { return x < 10 ? kMagenta : kGreen; }));
    SDL_Surface* s = keyed->getSDLSurface();
    SDL_SetColorKey(s, SDL_TRUE, SDL_MapRGB(s->format, 255, 0, 255));
    const gnRectangle whole = gnRect(0, 0, 20, 20);
    under->display(whole, pt{50, 50});
    keyed->display(whole, pt{50, 50});
    EXPECT_EQ(at(55, 55), kBlue);
    EXPECT_EQ(at(65, 55), kGreen);
}

TEST_F(ImagesTest, ColourMapChangesNothingOnA32BitScreen) {
    gnImage loose;
    loose.checkColorMap();  // no screen, not open: nothing
    gnImage* plain = image(writePlainBmp(path("p.bmp"), 4, 4, kRed));
    SDL_Surface* eight = SDL_CreateRGBSurfaceWithFormat(0, 4, 4, 8, SDL_PIXELFORMAT_INDEX8);
    SDL_SaveBMP(eight, path("eight.bmp").c_str());
    SDL_FreeSurface(eight);
    gnImage* paletted = image(path("eight.bmp"));
    EXPECT_EQ(raisedBy([&] {
                  plain->checkColorMap();
                  paletted->checkColorMap();
              }),
              "");
    EXPECT_EQ(surface()->format->palette, nullptr);
}

TEST_F(ImagesTest, PoolSharesBySurfaceNameAndCountsReferences) {
    gnImagePool pool;
    const std::string a = writePlainBmp(path("a.bmp"), 2, 2, kRed);
    SDL_Surface* first = pool.loadBMP(a.c_str());
    SDL_Surface* second = pool.loadBMP(a.c_str());
    EXPECT_EQ(first, second);
    EXPECT_EQ(pool.referencesOf(first), 2);
    pool.freeSurface(first);
    EXPECT_EQ(pool.referencesOf(first), 1);
    pool.freeSurface(first);
    EXPECT_EQ(pool.referencesOf(first), 0);
    const std::string b = writePlainBmp(path("b.bmp"), 3, 3, kRed);
    SDL_Surface* third = pool.loadBMP(b.c_str());
    EXPECT_EQ(pool.referencesOf(third), 1);
    pool.freeSurface(third);
}

TEST_F(ImagesTest, PoolKeepsNamesApartThatDifferInCaseOrPath) {
    gnImagePool pool;
    writePlainBmp(path("c.bmp"), 2, 2, kRed);
    writePlainBmp(path("C.bmp"), 2, 2, kRed);
    SDL_Surface* lower = pool.loadBMP(path("c.bmp").c_str());
    SDL_Surface* upper = pool.loadBMP(path("C.bmp").c_str());
    SDL_Surface* dotted = pool.loadBMP((dir + "/./c.bmp").c_str());
    EXPECT_NE(lower, upper);
    EXPECT_NE(lower, dotted);
    pool.freeSurface(lower);
    pool.freeSurface(upper);
    pool.freeSurface(dotted);
}

TEST_F(ImagesTest, PoolHolds128Files) {
    gnImagePool pool;
    const std::string file = writePlainBmp(path("one.bmp"), 1, 1, kRed);
    std::vector<std::string> names;
    // One file under 129 names: dir/one.bmp, dir/./one.bmp, dir/././one.bmp ...
    std::string name = dir + "/one.bmp";
    for (int i = 0; i < gnImagePool::kSlotCount; ++i) {
        names.push_back(name);
        pool.loadBMP(name.c_str());
        name.insert(dir.size(), "/.");
    }
    const std::string extra = name;
    EXPECT_EQ(raisedBy([&] { pool.loadBMP(extra.c_str()); }),
              "Generic exception of type: IMAGEPOOL raised: No more imageslots available for a "
              "new image in gnImagePool!\n");
    SDL_Surface* again = pool.loadBMP(names[5].c_str());
    EXPECT_EQ(pool.referencesOf(again), 2);
    Capture quiet;
    for (const std::string& name : names) {
        SDL_Surface* s = pool.loadBMP(name.c_str());
        while (pool.referencesOf(s) > 0)
            pool.freeSurface(s);
    }
    EXPECT_EQ(quiet.finish(), "");
}

TEST_F(ImagesTest, PoolReportsWhatIsStillReferencedAndFreesIt) {
    const std::string a = writePlainBmp(path("kept.bmp"), 2, 2, kRed);
    Capture out;
    {
        gnImagePool pool;
        for (int i = 0; i < 3; ++i)
            pool.loadBMP(a.c_str());
    }
    EXPECT_EQ(out.finish(), "File named " + a + " not freed. References: 3\n");
}

TEST_F(ImagesTest, PoolErrors) {
    gnImagePool pool;
    EXPECT_EQ(raisedBy([&] { pool.freeSurface(nullptr); }),
              "Software bug: Trying to free NULL surface in gnImagePool!\n");
    SDL_Surface* stranger = SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32, SDL_PIXELFORMAT_RGB888);
    EXPECT_EQ(raisedBy([&] { pool.freeSurface(stranger); }),
              "Software bug: Trying to free unallocated surface in gnImagePool!\n");
    SDL_FreeSurface(stranger);
}

TEST_F(ImagesTest, ClosingTheScreenReportsTheGlobalPool) {
    const std::string a = writePlainBmp(path("left.bmp"), 2, 2, kRed);
    globalPool->loadBMP(a.c_str());
    Capture out;
    screen.close();
    EXPECT_EQ(out.finish(), "File named " + a + " not freed. References: 1\n");
}
