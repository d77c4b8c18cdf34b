// The pictures the art maker draws, loaded with the engine: sizes, colour keys, the font's
// glyph grid, distinct puzzle tiles, and plain areas wherever the game draws over a picture.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include <sys/stat.h>
#include <utime.h>

#include "Capture.h"
#include "Pictures.h"
#include "gnImages.h"

namespace {

// The made pictures, or a replacement set named by SOLRIND_ART_DIR (scripts/check-art).
const std::string kArt = getenv("SOLRIND_ART_DIR") ? getenv("SOLRIND_ART_DIR") : SOLRIND_ART_DIR;

class ArtTest : public testing::Test {
  protected:
    // A picture loaded with the engine; its surface.
    SDL_Surface* load(const std::string& file) {
        images.emplace_back(new gnImage());
        images.back()->loadBMP((kArt + "/" + file).c_str());
        return images.back()->getSDLSurface();
    }
    void TearDown() override {
        for (gnImage* image : images)
            delete image;
    }
    std::vector<gnImage*> images;
};

struct Area {
    int x, y, w, h;
};

// How many pixels of the area are not magenta.
int inkIn(SDL_Surface* s, Area a) {
    int ink = 0;
    for (int y = a.y; y < a.y + a.h; ++y)
        for (int x = a.x; x < a.x + a.w; ++x)
            ink += pixelAt(s, x, y) != kMagenta;
    return ink;
}

// The mean difference per channel between two areas of the same size.
double difference(SDL_Surface* a, Area first, SDL_Surface* b, Area second) {
    double sum = 0;
    for (int y = 0; y < first.h; ++y)
        for (int x = 0; x < first.w; ++x) {
            const uint32_t p = pixelAt(a, first.x + x, first.y + y);
            const uint32_t q = pixelAt(b, second.x + x, second.y + y);
            for (int shift : {0, 8, 16})
                sum += std::abs(static_cast<int>((p >> shift) & 255) -
                                static_cast<int>((q >> shift) & 255));
        }
    return sum / (3.0 * first.w * first.h);
}

bool isPlain(SDL_Surface* s, Area a) {
    const uint32_t first = pixelAt(s, a.x, a.y);
    for (int y = a.y; y < a.y + a.h; ++y)
        for (int x = a.x; x < a.x + a.w; ++x)
            if (pixelAt(s, x, y) != first)
                return false;
    return true;
}

// Keyed pictures must not have pinkish fringes: a colour near magenta that is not magenta
// would be drawn as a visible pink pixel.
int nearMagenta(SDL_Surface* s) {
    int count = 0;
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            const uint32_t p = pixelAt(s, x, y);
            const int r = p >> 16, g = (p >> 8) & 255, b = p & 255;
            count += p != kMagenta && std::abs(r - 255) + g + std::abs(b - 255) < 150;
        }
    return count;
}

}  // namespace

TEST_F(ArtTest, EveryPictureHasItsSize) {
    const std::tuple<std::string, int, int> sizes[] = {{"Game/Puzzle", 440, 440},
                                                       {"Game/PuzzleHighlight", 440, 440},
                                                       {"Game/GlowCursor", 440, 88},
                                                       {"Game/GateBridges", 500, 90},
                                                       {"Menus/GameFont", 494, 51},
                                                       {"Menus/Buttons", 360, 371},
                                                       {"Menus/Menu", 640, 520},
                                                       {"Screens/Startscreen-01", 640, 520},
                                                       {"Screens/Startscreen-02", 640, 520},
                                                       {"Screens/Creditscreen", 640, 520}};
    for (const auto& [name, w, h] : sizes) {
        SDL_Surface* s = load("GFX/" + name + ".bmp");
        EXPECT_EQ(s->w * 10000 + s->h, w * 10000 + h) << name;
    }
    for (const char* name :
         {"Welcome", "Rules", "Prizes1", "Prizes2", "Prizes3", "Solrind", "Solrind2", "Highscore",
          "GameBackground", "Congratulations1", "Congratulations2"}) {
        SDL_Surface* s = load(std::string("GFX/Backgrounds/") + name + ".bmp");
        EXPECT_EQ(s->w * 10000 + s->h, 520 * 10000 + 520) << name;
    }
}

// The glow and the font are magenta around their ink, without pinkish fringes; nothing else
// uses the key colour; every glyph the game draws has ink, the caret at the left of its cell.
TEST_F(ArtTest, KeyedPicturesAndGlyphs) {
    SDL_Surface* cursor = load("GFX/Game/GlowCursor.bmp");
    for (int f = 0; f < 5; ++f) {
        EXPECT_EQ(pixelAt(cursor, 88 * f + 44, 44), kMagenta) << f;  // the cell stays visible
        EXPECT_NE(pixelAt(cursor, 88 * f + 1, 44), kMagenta) << f;   // the glow at its edge
    }
    EXPECT_GT(inkIn(cursor, {4 * 88, 0, 88, 88}), inkIn(cursor, {0, 0, 88, 88}));  // it swells
    SDL_Surface* font = load("GFX/Menus/GameFont.bmp");
    EXPECT_EQ(nearMagenta(cursor) + nearMagenta(font), 0);
    for (const char* plain : {"GFX/Game/Puzzle.bmp", "GFX/Menus/Buttons.bmp"}) {
        SDL_Surface* s = load(plain);
        EXPECT_EQ(inkIn(s, {0, 0, s->w, s->h}), s->w * s->h) << plain;
    }
    for (int row = 0; row < 3; ++row)  // letters, digits, the caret and four signs
        for (int k = 0; k < (row == 0 ? 26 : row == 1 ? 10 : 5); ++k)
            EXPECT_GT(inkIn(font, {19 * k, 17 * row, 19, 17}), 10) << row << " " << k;
    EXPECT_GT(inkIn(font, {0, 34, 5, 17}), 20);
    EXPECT_EQ(inkIn(font, {6, 34, 13, 17}), 0);
}

// The 24 tiles differ from each other and from their highlighted twins; the gate frames and
// the button states differ in turn.
TEST_F(ArtTest, TilesFramesAndButtonStatesDiffer) {
    SDL_Surface* puzzle = load("GFX/Game/Puzzle.bmp");
    SDL_Surface* lit = load("GFX/Game/PuzzleHighlight.bmp");
    for (int a = 1; a < 25; ++a) {
        const Area first = {88 * (a % 5), 88 * (a / 5), 88, 88};
        EXPECT_GT(difference(puzzle, first, lit, first), 8) << "tile " << a;
        for (int b = a + 1; b < 25; ++b)
            EXPECT_GT(difference(puzzle, first, puzzle, {88 * (b % 5), 88 * (b / 5), 88, 88}), 12)
                << "tiles " << a << " and " << b;
    }
    SDL_Surface* gates = load("GFX/Game/GateBridges.bmp");
    for (int f = 0; f < 4; ++f) {
        EXPECT_GT(difference(gates, {90 * f, 0, 90, 10}, gates, {90 * f + 90, 0, 90, 10}), 10);
        EXPECT_GT(difference(gates, {90 * f, 10, 90, 10}, gates, {90 * f + 90, 10, 90, 10}), 10);
        EXPECT_GT(difference(gates, {450 + 10 * f, 0, 10, 90}, gates, {460 + 10 * f, 0, 10, 90}),
                  10);
    }
    SDL_Surface* buttons = load("GFX/Menus/Buttons.bmp");
    for (int row = 0; row < 7; ++row) {
        EXPECT_GT(difference(buttons, {0, 53 * row, 120, 53}, buttons, {120, 53 * row, 120, 53}),
                  8);
        EXPECT_GT(difference(buttons, {0, 53 * row, 120, 53}, buttons, {240, 53 * row, 120, 53}),
                  3);
    }
}

TEST_F(ArtTest, AreasTheGameDrawsOverArePlain) {
    SDL_Surface* game = load("GFX/Backgrounds/GameBackground.bmp");
    EXPECT_TRUE(isPlain(game, {385, 492, 95, 17}));  // the clock at screen (505, 492)
    SDL_Surface* table = load("GFX/Backgrounds/Highscore.bmp");
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(isPlain(table, {350, 161 + 20 * i, 95, 17})) << "time of row " << i;
        EXPECT_TRUE(isPlain(table, {120, 161 + 20 * i, 209, 17})) << "name of row " << i;
    }
    SDL_Surface* record = load("GFX/Backgrounds/Congratulations1.bmp");
    EXPECT_TRUE(isPlain(record, {157, 317, 209, 17}));  // the name field at screen (277, 317)
}

// A rebuild never overwrites a picture the designer replaced: the art maker draws what is
// missing and redraws only what still holds its own drawing, after it was rebuilt (here: its
// record made older than the art maker).
TEST(ArtMaker, RedrawsOnlyWhatIsMissingOrStillItsOwn) {
    const std::string folder = makeTempDir("artmaker");
    const std::string update = std::string(SOLRIND_ART_MAKER) + " --if-stale " + folder;
    const std::string gfx = folder + "/GFX/Backgrounds/";
    ASSERT_EQ(runCommand(update).status, 0);
    const std::string rules = readFile(gfx + "Rules.bmp");
    const std::string prizes = readFile(gfx + "Prizes1.bmp");
    ASSERT_FALSE(rules.empty());
    writeFile(gfx + "Welcome.bmp", rules);  // the designer's own welcome screen
    struct stat before;
    ASSERT_EQ(stat((gfx + "Rules.bmp").c_str(), &before), 0);
    unlink((gfx + "Prizes1.bmp").c_str());
    utimbuf longAgo = {0, 0};
    ASSERT_EQ(utime((folder + "/GFX/.artmaker").c_str(), &longAgo), 0);
    const RunResult result = runCommand(update);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Drew 1 picture into " + folder + "/GFX\n");
    EXPECT_EQ(readFile(gfx + "Welcome.bmp"), rules);
    EXPECT_EQ(readFile(gfx + "Prizes1.bmp"), prizes);
    struct stat after;
    ASSERT_EQ(stat((gfx + "Rules.bmp").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);  // its own, unchanged drawing is left as it was
    EXPECT_FALSE(fileExists(gfx + "Welcome.bmp.new"));
}
