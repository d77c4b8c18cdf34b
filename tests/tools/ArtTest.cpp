// The art maker: its checker on the pictures it draws and on a designer's broken set (one line
// per problem, every file checked, errors apart from warnings), and its rebuild, which never
// overwrites a replaced picture.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include "Files.h"
#include "Pictures.h"

namespace {

RunResult art(const std::string& arguments) {
    return runCommand("ASAN_OPTIONS=detect_leaks=0 " SOLRIND_ART_MAKER " " + arguments);
}

// Changes a picture of the set in place: `change` gets its pixels as a 24-bit surface.
void edit(const std::string& file, const std::function<void(SDL_Surface*)>& change) {
    SDL_Surface* loaded = SDL_LoadBMP(file.c_str());
    ASSERT_NE(loaded, nullptr) << file;
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(loaded);
    change(rgb);
    ASSERT_EQ(SDL_SaveBMP(rgb, file.c_str()), 0);
    SDL_FreeSurface(rgb);
}

}  // namespace

TEST(ArtCheck, TheDrawnSetIsUsable) {
    const RunResult run = art("--check " SOLRIND_ART_DIR);
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "Checked 21 pictures in " SOLRIND_ART_DIR "/GFX: all usable\n");
}

// While a name is typed, H, S and P type letters: the record screen's hint at its foot is not
// the menu keys' hint that the other congratulation shows.
TEST(ArtCheck, TheRecordScreenDoesNotOfferTheMenuKeys) {
    SDL_Surface* record = SDL_LoadBMP(SOLRIND_ART_DIR "/GFX/Backgrounds/Congratulations1.bmp");
    SDL_Surface* other = SDL_LoadBMP(SOLRIND_ART_DIR "/GFX/Backgrounds/Congratulations2.bmp");
    ASSERT_TRUE(record && other);
    int differ = 0;
    for (int y = 470; y < 500; ++y)
        for (int x = 0; x < 520; ++x)
            differ += pixelAt(record, x, y) != pixelAt(other, x, y);
    EXPECT_GT(differ, 500);
    SDL_FreeSurface(record);
    SDL_FreeSurface(other);
}

TEST(ArtCheck, EveryProblemOfABrokenSetIsOneLine) {
    const std::string folder = makeTempDir("broken");
    ASSERT_EQ(runCommand("cp -R " SOLRIND_ART_DIR "/GFX " + folder).status, 0);
    const std::string gfx = folder + "/GFX/";
    ASSERT_EQ(art("--icon " + gfx + "Backgrounds/Rules.bmp").status, 0);  // a PNG named .bmp
    writePlainBmp(gfx + "Backgrounds/Welcome.bmp", 500, 480, kRed);
    writePlainBmp(gfx + "Backgrounds/Solrind2.bmp", 600, 520, kRed);
    writeBmp(gfx + "Screens/Creditscreen.bmp", 640, 520, positionColour, 128);
    unlink((gfx + "Backgrounds/Solrind.bmp").c_str());
    unlink((gfx + "Backgrounds/Prizes2.bmp").c_str());
    mkdir((gfx + "Backgrounds/Prizes2.bmp").c_str(), 0755);
    const auto fill = [](SDL_Surface* s, int x, int y, int w, int h, uint32_t colour) {
        SDL_Rect r = {x, y, w, h};
        SDL_FillRect(s, &r, SDL_MapRGB(s->format, colour >> 16, (colour >> 8) & 255, colour & 255));
    };
    edit(gfx + "Menus/GameFont.bmp", [&](SDL_Surface* s) {
        fill(s, 19 * 7, 17, 19, 17, kMagenta);  // the 7 wiped out
        fill(s, 300, 5, 1, 1, 0xF000F0);        // a pink speck
    });
    edit(gfx + "Game/Puzzle.bmp", [&](SDL_Surface* s) { fill(s, 88, 0, 176, 88, kGreen); });
    edit(gfx + "Backgrounds/GameBackground.bmp",
         [&](SDL_Surface* s) { fill(s, 400, 500, 5, 5, kWhite); });
    const RunResult run = art("--check " + folder);
    EXPECT_EQ(run.status, 1);
    const char* lines[] = {
        // clang-format off
        "Warning: GFX/Menus/GameFont.bmp has 1 almost magenta pixel, shown as pink specks: draw the transparent parts in pure magenta (255, 0, 255) without anti-aliasing",
        "Warning: GFX/Screens/Creditscreen.bmp has an alpha channel with see-through pixels: the game draws every pixel opaque; save it without alpha",
        "GFX/Backgrounds/Welcome.bmp is 500x480; it must be at least 520x520",
        "GFX/Backgrounds/Rules.bmp cannot be read as a picture (File is not a Windows BMP file): save it as a Windows BMP, 24 bits",
        "GFX/Backgrounds/Prizes2.bmp is a folder: put a BMP of 520x520 there",
        "GFX/Backgrounds/Solrind.bmp is missing: put a BMP of 520x520 there",
        "Warning: GFX/Backgrounds/Solrind2.bmp is 600x520: only its top left 520x520 is shown",
        "Warning: GFX/Backgrounds/GameBackground.bmp: the area of the clock (385, 492, 95x17) is not one colour: the text drawn there may be hard to read",
        "Warning: GFX/Game/Puzzle.bmp: 1 pair of tiles looks alike, the first the tiles at column 1, row 0 and column 2, row 0: make every tile different, so that a player can tell where each belongs",
        "GFX/Menus/GameFont.bmp: the glyph of 7 (x 133, y 17, 19x17) is all magenta: draw it",
        // clang-format on
    };
    std::string expected;
    for (const char* line : lines)
        expected += std::string(line) + "\n";
    EXPECT_EQ(run.out, expected + "Checked 21 pictures in " + folder + "/GFX: 5 errors, 5 warnings\n");
}

// A rebuild never overwrites a picture the designer replaced: the art maker draws what is
// missing and redraws only what still holds its own drawing, after it was rebuilt (here: its
// record made older than the art maker).
TEST(ArtMaker, RedrawsOnlyWhatIsMissingOrStillItsOwn) {
    const std::string folder = makeTempDir("artmaker");
    const std::string gfx = folder + "/GFX/Backgrounds/";
    ASSERT_EQ(art("--if-stale " + folder).status, 0);
    const std::string rules = readFile(gfx + "Rules.bmp");
    const std::string prizes = readFile(gfx + "Prizes1.bmp");
    ASSERT_FALSE(rules.empty());
    writeFile(gfx + "Welcome.bmp", rules);  // the designer's own welcome screen
    struct stat before;
    ASSERT_EQ(stat((gfx + "Rules.bmp").c_str(), &before), 0);
    unlink((gfx + "Prizes1.bmp").c_str());
    utimbuf longAgo = {0, 0};
    ASSERT_EQ(utime((folder + "/GFX/.artmaker").c_str(), &longAgo), 0);
    const RunResult result = art("--if-stale " + folder);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Drew 1 picture into " + folder + "/GFX\n");
    EXPECT_EQ(readFile(gfx + "Welcome.bmp"), rules);
    EXPECT_EQ(readFile(gfx + "Prizes1.bmp"), prizes);
    struct stat after;
    ASSERT_EQ(stat((gfx + "Rules.bmp").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);  // its own, unchanged drawing is left as it was
    EXPECT_FALSE(fileExists(gfx + "Welcome.bmp.new"));
}
