// The art maker: draws every picture the game reads and writes it as a BMP file under the
// game folder's GFX/. With --if-stale it writes only when a picture is missing or older than
// the art maker itself, so a rebuild redraws the pictures and leaves everything else alone.
#include <SDL.h>
#include <SDL_ttf.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "GamePictures.h"
#include "Screens.h"

namespace {

struct Picture {
    const char* path;  // under the game folder
    int width, height;
    std::function<void(Canvas&)> draw;
};

bool makeDirectories(const std::string& file) {
    for (size_t slash = file.find('/', 1); slash != std::string::npos;
         slash = file.find('/', slash + 1))
        if (mkdir(file.substr(0, slash).c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    return true;
}

// The modification time of a file, 0 when missing.
time_t modified(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? info.st_mtime : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool ifStale = argc == 3 && strcmp(argv[1], "--if-stale") == 0;
    if (argc != 2 && !ifStale) {
        fprintf(stderr, "usage: %s [--if-stale] <game folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[argc - 1];

    Canvas puzzle(440, 440, {0, 0, 0});
    const std::vector<Picture> pictures = {
        {"GFX/Game/Puzzle.bmp", 440, 440, [&](Canvas& c) { c.copy(puzzle, 0, 0, 440, 440, 0, 0); }},
        {"GFX/Game/PuzzleHighlight.bmp", 440, 440,
         [&](Canvas& c) { makePuzzleHighlight(puzzle, c); }},
        {"GFX/Game/GlowCursor.bmp", 440, 88, makeGlowCursor},
        {"GFX/Game/GateBridges.bmp", 500, 90, makeGateBridges},
        {"GFX/Menus/GameFont.bmp", 494, 51, makeGameFont},
        {"GFX/Menus/Buttons.bmp", 360, 371, makeButtons},
        {"GFX/Menus/Menu.bmp", 640, 520, makeMenu},
        {"GFX/Screens/Startscreen-01.bmp", 640, 520, makeStartscreen1},
        {"GFX/Screens/Startscreen-02.bmp", 640, 520,
         [&](Canvas& c) { makeStartscreen2(c, puzzle); }},
        {"GFX/Screens/Creditscreen.bmp", 640, 520, makeCreditscreen},
        {"GFX/Backgrounds/Welcome.bmp", 520, 520, makeWelcome},
        {"GFX/Backgrounds/Rules.bmp", 520, 520, makeRules},
        {"GFX/Backgrounds/Prizes1.bmp", 520, 520, [](Canvas& c) { makePrizes(c, 1); }},
        {"GFX/Backgrounds/Prizes2.bmp", 520, 520, [](Canvas& c) { makePrizes(c, 2); }},
        {"GFX/Backgrounds/Prizes3.bmp", 520, 520, [](Canvas& c) { makePrizes(c, 3); }},
        {"GFX/Backgrounds/Solrind.bmp", 520, 520, [](Canvas& c) { makeSponsor(c, 1); }},
        {"GFX/Backgrounds/Solrind2.bmp", 520, 520, [](Canvas& c) { makeSponsor(c, 2); }},
        {"GFX/Backgrounds/Highscore.bmp", 520, 520, makeHighscore},
        {"GFX/Backgrounds/GameBackground.bmp", 520, 520, makeGameBackground},
        {"GFX/Backgrounds/Congratulations1.bmp", 520, 520,
         [](Canvas& c) { makeCongratulations(c, true); }},
        {"GFX/Backgrounds/Congratulations2.bmp", 520, 520,
         [](Canvas& c) { makeCongratulations(c, false); }},
    };

    if (ifStale) {
        char self[4096];
        const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
        const time_t made = n > 0 ? modified(std::string(self, static_cast<size_t>(n))) : 0;
        bool stale = false;
        for (const Picture& p : pictures) {
            const time_t t = modified(folder + "/" + p.path);
            stale = stale || t == 0 || t < made;
        }
        if (!stale)
            return 0;
    }

    if (SDL_Init(0) != 0 || TTF_Init() != 0) {
        fprintf(stderr, "Cannot start SDL: %s\n", SDL_GetError());
        return 1;
    }
    makePuzzle(puzzle);
    int failures = 0;
    for (const Picture& p : pictures) {
        const std::string file = folder + "/" + p.path;
        Canvas canvas(p.width, p.height, {0, 0, 0});
        p.draw(canvas);
        if (!makeDirectories(file) || !canvas.save(file)) {
            fprintf(stderr, "Cannot write %s: %s\n", file.c_str(), SDL_GetError());
            ++failures;
        }
    }
    TTF_Quit();
    SDL_Quit();
    if (failures == 0)
        printf("Pictures written to %s/GFX\n", folder.c_str());
    return failures == 0 ? 0 : 1;
}
