// Images drawn from real BMP files, frames, colour keys and the shared pool.
#include <sys/stat.h>

#include <algorithm>

#include "EngineFixture.h"
#include "gnImagesImpl.h"

namespace {

class ImagesTest : public EngineFixture {};

}  // namespace

TEST_F(ImagesTest, AnImageDrawsAnyPartOfItselfAndChecksItsState) {
    gnImage picture;
    sz size;
    picture.getSize(size);
    EXPECT_EQ(size.w + size.h, 0u);
    picture.loadBMP(writeBmp(path("pos.bmp"), 100, 60, positionColour).c_str());
    EXPECT_EQ(raisedBy([&] {
                  picture.display(rectManip::zeroRect, pt{0, 0});
              }),
              "Software bug: No screenobject set in gnImage::display\n");
    picture.setScreen(&screen);
    const gnImageFrame frame = {&picture, gnRect(30, 20, 10, 5)};
    frame.display(pt{200, 100});
    frame.displayCentered(pt{300, 100});  // corner (295, 98): halves rounded down
    expectPixels(surface(), {{200, 100, positionColour(30, 20)},
                             {209, 104, positionColour(39, 24)},
                             {210, 100, kBlack},
                             {200, 105, kBlack},
                             {295, 98, positionColour(30, 20)},
                             {294, 98, kBlack}});
    picture.close();
    picture.getSize(size);
    EXPECT_EQ(size.w, 100u);  // kept after closing
    EXPECT_EQ(size.h, 60u);
    const struct {
        std::function<void()> call;
        const char* message;
    } errors[] = {
        {[&] { picture.close(); }, "Image object is not open in gnImage::close"},
        {[&] {
             frame.display(pt{0, 0});
         },
         "Image object is not open in gnImage::getSDLSurface"},
        {[] {
             gnImageFrame{nullptr, gnRect(0, 0, 1, 1)}.display(pt{0, 0});
         },
         "pointer image is NULL in gnImageFrame::display"},
        {[] {
             gnImageFrame{nullptr, gnRect(0, 0, 1, 1)}.displayCentered(pt{0, 0});
         },
         "pointer image is NULL in gnImageFrame::displayCentered"},
    };
    for (const auto& e : errors)
        EXPECT_EQ(raisedBy(e.call), std::string("Software bug: ") + e.message + "\n");
}

// A picture with an alpha channel is drawn opaque, as the game's pictures always are (SDL2
// would blend it); its colour key still leaves magenta pixels out.
TEST_F(ImagesTest, APictureWithAnAlphaChannelIsDrawnOpaque) {
    screen.fillRect(gnRect(0, 0, 100, 20), 0, 0, 255);
    gnImage picture;
    picture.setScreen(&screen);
    picture.loadBMP(
        writeAlphaBmp(
            path("alpha.bmp"), 20, 10, [](int x, int) { return x < 10 ? kWhite : kMagenta; }, 64)
            .c_str());
    picture.display(gnRect(0, 0, 20, 10), pt{0, 0});
    SDL_Surface* keyed = picture.getSDLSurface();
    SDL_SetColorKey(keyed, SDL_TRUE, SDL_MapRGB(keyed->format, 255, 0, 255));
    picture.display(gnRect(0, 0, 20, 10), pt{40, 0});
    expectPixels(
        surface(),
        {{5, 5, kWhite}, {15, 5, kMagenta}, {45, 5, kWhite}, {55, 5, kBlue}, {5, 15, kBlue}});
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

// The pool shares a surface per exact name, counts its users, holds 128 names, and reports
// (and frees) what is still referenced when it goes.
TEST_F(ImagesTest, PoolSharesByNameCountsAndReports) {
    writePlainBmp("one.bmp", 1, 1, kRed);
    writePlainBmp("One.bmp", 1, 1, kRed);
    gnImagePool pool;
    SDL_Surface* first = pool.loadBMP("one.bmp");
    EXPECT_EQ(pool.loadBMP("one.bmp"), first);
    EXPECT_EQ(pool.referencesOf(first), 2);
    pool.freeSurface(first);
    EXPECT_EQ(pool.referencesOf(first), 1);
    // 128 names in all: one.bmp, One.bmp (case differs), ./one.bmp (the same file), ././one.bmp
    std::vector<std::string> names = {"one.bmp", "One.bmp"};
    for (std::string name = "one.bmp"; names.size() < gnImagePool::kSlotCount;)
        names.push_back(name = "./" + name);
    for (size_t i = 1; i < names.size(); ++i)
        EXPECT_NE(pool.loadBMP(names[i].c_str()), first) << names[i];
    const std::string extra = "./" + names.back();
    EXPECT_EQ(raisedBy([&] { pool.loadBMP(extra.c_str()); }),
              "Generic exception of type: IMAGEPOOL raised: No more imageslots available for a "
              "new image in gnImagePool!\n");
    EXPECT_EQ(pool.loadBMP("one.bmp"), first);  // a name in use still loads
    pool.freeSurface(first);
    pool.freeSurface(first);
    EXPECT_EQ(pool.referencesOf(first), 0);
    SDL_Surface* late = pool.loadBMP(extra.c_str());  // the freed slot takes a new name
    SDL_Surface* stranger = SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32, SDL_PIXELFORMAT_RGB888);
    EXPECT_EQ(raisedBy([&] { pool.freeSurface(stranger); }),
              "Software bug: Trying to free unallocated surface in gnImagePool!\n");
    SDL_FreeSurface(stranger);
    EXPECT_EQ(raisedBy([&] { pool.freeSurface(nullptr); }),
              "Software bug: Trying to free NULL surface in gnImagePool!\n");
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
    screen.close();  // the screen's pool reports what is left in it
    EXPECT_EQ(out.finish(),
              "File named One.bmp not freed. References: 3\n"
              "File named one.bmp not freed. References: 1\n");
}
