// The art maker: draws every picture the game reads and writes it as a BMP file under the
// game folder's GFX/. It keeps a record of what it wrote ("GFX/.artmaker": a hash per file),
// so that with --if-stale it draws only what is missing and redraws only what still holds its
// own last drawing: a picture someone replaced is never overwritten. With --check it checks a
// set of pictures instead (see Check.h); with --icon it draws the desktop's 128 by 128 icon of
// the game as a PNG file.
#include <SDL.h>
#include <SDL_ttf.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ArtFiles.h"
#include "Check.h"
#include "GamePictures.h"
#include "Scene.h"
#include "Screens.h"

namespace {

constexpr const char* kRecord = "GFX/.artmaker";  // "<hash> <path>" per line, under the folder

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

bool readBytes(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream all;
    all << in.rdbuf();
    bytes = all.str();
    return true;
}

// FNV-1a over the bytes, as 16 hex digits.
std::string hashOf(const std::string& bytes) {
    uint64_t h = 14695981039346656037ull;
    for (const unsigned char c : bytes)
        h = (h ^ c) * 1099511628211ull;
    char text[17];
    snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

std::map<std::string, std::string> readRecord(const std::string& file) {
    std::map<std::string, std::string> record;
    std::ifstream in(file);
    std::string hash, path;
    while (in >> hash >> path)
        record[path] = hash;
    return record;
}

bool writeRecord(const std::string& file, const std::map<std::string, std::string>& record) {
    const std::string temporary = file + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (const auto& entry : record)
            out << entry.second << ' ' << entry.first << '\n';
        if (!out.flush())
            return false;
    }
    return rename(temporary.c_str(), file.c_str()) == 0;
}

}  // namespace

// The desktop's icon: the sun on the night blue of the game's screens.
int drawIcon(const char* file) {
    if (SDL_Init(0) != 0)
        return 1;
    Canvas icon(128, 128, palette::kNight);
    icon.verticalGradient(0, 0, 128, 128, palette::kNight, palette::kDeepBlue);
    drawSun(icon, 64, 64, 30);
    const bool saved = icon.savePng(file);
    SDL_Quit();
    if (!saved)
        fprintf(stderr, "Cannot write %s\n", file);
    return saved ? 0 : 1;
}

int main(int argc, char** argv) {
    if (argc == 3 && strcmp(argv[1], "--icon") == 0)
        return drawIcon(argv[2]);
    if (argc == 3 && strcmp(argv[1], "--check") == 0)
        return checkArt(argv[2]) == 0 ? 0 : 1;
    const bool ifStale = argc == 3 && strcmp(argv[1], "--if-stale") == 0;
    if ((argc != 2 || argv[1][0] == '-') && !ifStale) {
        fprintf(
            stderr,
            "usage: %s [--if-stale] <game folder> | --check <game folder> | --icon <file.png>\n",
            argv[0]);
        return 2;
    }
    const std::string folder = argv[argc - 1];
    Canvas puzzle(440, 440, {0, 0, 0});
    const std::map<std::string, std::function<void(Canvas&)>> drawings = {
        {"GFX/Game/Puzzle.bmp", [&](Canvas& c) { c.copy(puzzle, 0, 0, 440, 440, 0, 0); }},
        {"GFX/Game/PuzzleHighlight.bmp", [&](Canvas& c) { makePuzzleHighlight(puzzle, c); }},
        {"GFX/Game/GlowCursor.bmp", makeGlowCursor},
        {"GFX/Game/GateBridges.bmp", makeGateBridges},
        {"GFX/Menus/GameFont.bmp", makeGameFont},
        {"GFX/Menus/Buttons.bmp", makeButtons},
        {"GFX/Menus/Menu.bmp", makeMenu},
        {"GFX/Screens/Startscreen-01.bmp", makeStartscreen1},
        {"GFX/Screens/Startscreen-02.bmp", [&](Canvas& c) { makeStartscreen2(c, puzzle); }},
        {"GFX/Screens/Creditscreen.bmp", makeCreditscreen},
        {"GFX/Backgrounds/Welcome.bmp", makeWelcome},
        {"GFX/Backgrounds/Rules.bmp", makeRules},
        {"GFX/Backgrounds/Prizes1.bmp", [](Canvas& c) { makePrizes(c, 1); }},
        {"GFX/Backgrounds/Prizes2.bmp", [](Canvas& c) { makePrizes(c, 2); }},
        {"GFX/Backgrounds/Prizes3.bmp", [](Canvas& c) { makePrizes(c, 3); }},
        {"GFX/Backgrounds/Solrind.bmp", [](Canvas& c) { makeSponsor(c, 1); }},
        {"GFX/Backgrounds/Solrind2.bmp", [](Canvas& c) { makeSponsor(c, 2); }},
        {"GFX/Backgrounds/Highscore.bmp", makeHighscore},
        {"GFX/Backgrounds/GameBackground.bmp", makeGameBackground},
        {"GFX/Backgrounds/Congratulations1.bmp", [](Canvas& c) { makeCongratulations(c, true); }},
        {"GFX/Backgrounds/Congratulations2.bmp", [](Canvas& c) { makeCongratulations(c, false); }},
    };
    std::vector<Picture> pictures;
    for (const ArtFile& file : kArtFiles)
        pictures.push_back({file.path, file.width, file.height, drawings.at(file.path)});

    // What to draw. Without --if-stale: everything. With it: what is missing; and, when the
    // art maker is newer than its record, what still holds its last drawing (redrawn) and
    // what it has no record of (taken into the record only if it is what it draws now).
    const std::string recordFile = folder + "/" + kRecord;
    std::map<std::string, std::string> record = readRecord(recordFile);
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    const time_t made = n > 0 ? modified(std::string(self, static_cast<size_t>(n))) : 0;
    const bool rebuilt = made >= modified(recordFile);
    std::vector<const Picture*> todo;
    for (const Picture& p : pictures) {
        std::string bytes;
        if (!ifStale || !readBytes(folder + "/" + p.path, bytes)) {
            todo.push_back(&p);
            continue;
        }
        // A file that differs from the recorded drawing was replaced: it is never touched.
        const auto entry = record.find(p.path);
        const bool ours = entry != record.end() && entry->second == hashOf(bytes);
        if (rebuilt && (ours || entry == record.end()))
            todo.push_back(&p);
    }
    if (todo.empty() && !rebuilt)
        return 0;

    if (SDL_Init(0) != 0 || TTF_Init() != 0) {
        fprintf(stderr, "Cannot start SDL: %s\n", SDL_GetError());
        return 1;
    }
    makePuzzle(puzzle);
    int failures = 0, drawn = 0;
    for (const Picture* p : todo) {
        const std::string file = folder + "/" + p->path;
        const std::string temporary = file + ".new";
        Canvas canvas(p->width, p->height, {0, 0, 0});
        p->draw(canvas);
        std::string now, before;
        if (!makeDirectories(file) || !canvas.save(temporary) || !readBytes(temporary, now)) {
            fprintf(stderr, "Cannot write %s: %s\n", file.c_str(), SDL_GetError());
            unlink(temporary.c_str());
            ++failures;
            continue;
        }
        const bool exists = readBytes(file, before);
        const bool ours = record.count(p->path) != 0;  // in todo, recorded means unchanged
        if (exists && before == now) {
            unlink(temporary.c_str());  // already this drawing: leave the file as it is
        } else if (exists && !ours && ifStale) {
            unlink(temporary.c_str());  // someone's own picture: kept
            printf("Kept %s: it is not the art maker's drawing\n", file.c_str());
            continue;
        } else if (rename(temporary.c_str(), file.c_str()) != 0) {
            fprintf(stderr, "Cannot write %s: %s\n", file.c_str(), strerror(errno));
            unlink(temporary.c_str());
            ++failures;
            continue;
        } else {
            ++drawn;
        }
        record[p->path] = hashOf(now);
    }
    TTF_Quit();
    SDL_Quit();
    if (!writeRecord(recordFile, record)) {
        fprintf(stderr, "Cannot write %s\n", recordFile.c_str());
        ++failures;
    }
    if (drawn > 0)
        printf("Drew %d picture%s into %s/GFX\n", drawn, drawn == 1 ? "" : "s", folder.c_str());
    return failures == 0 ? 0 : 1;
}
