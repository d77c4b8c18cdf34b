#include "Check.h"

#include <sys/stat.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "GameLayout.h"
#include "gnExceptions.h"
#include "gnImages.h"

namespace {

constexpr uint32_t kKey = 0xff00ff;  // magenta, as RGB
constexpr int kTile = 88;
constexpr int kGlyphW = 19, kGlyphH = 17;
constexpr double kTilesAlike = 12;   // mean difference per channel below which tiles look alike
constexpr double kLitAlike = 8;      // and a tile its highlighted twin
constexpr double kFramesAlike = 10;  // and two gate frames
constexpr double kStatesAlike = 3;   // and two pictures of a button
constexpr int kNearKey = 150;        // distance from magenta of a pink speck
constexpr const char* kButtons = files::kButtons;
constexpr int kButtonsWithoutPrint = 371;  // seven rows: a set made before the print control

using Area = layout::Area;

// A loaded picture as ARGB pixels (opaque where the file has no alpha).
class Pixels {
  public:
    explicit Pixels(SDL_Surface* s)
        : argb(SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0)) {}
    ~Pixels() { SDL_FreeSurface(argb); }
    Pixels(const Pixels&) = delete;
    Pixels& operator=(const Pixels&) = delete;

    bool ok() const { return argb != nullptr; }
    int w() const { return argb->w; }
    int h() const { return argb->h; }
    uint32_t at(int x, int y) const {
        return static_cast<const uint32_t*>(argb->pixels)[y * (argb->pitch / 4) + x];
    }
    uint32_t rgb(int x, int y) const { return at(x, y) & 0xffffff; }

    int inkIn(Area a) const {  // pixels that are not magenta
        int ink = 0;
        for (int y = a.y; y < a.y + a.h; ++y)
            for (int x = a.x; x < a.x + a.w; ++x)
                ink += rgb(x, y) != kKey;
        return ink;
    }
    bool isPlain(Area a) const {
        for (int y = a.y; y < a.y + a.h; ++y)
            for (int x = a.x; x < a.x + a.w; ++x)
                if (rgb(x, y) != rgb(a.x, a.y))
                    return false;
        return true;
    }
    bool hasTranslucency() const {
        for (int y = 0; y < h(); ++y)
            for (int x = 0; x < w(); ++x)
                if (at(x, y) >> 24 != 255)
                    return true;
        return false;
    }
    int nearKey() const {  // almost magenta, which shows as a pink speck
        int count = 0;
        for (int y = 0; y < h(); ++y)
            for (int x = 0; x < w(); ++x) {
                const uint32_t p = rgb(x, y);
                const int r = p >> 16, g = (p >> 8) & 255, b = p & 255;
                count += p != kKey && std::abs(r - 255) + g + std::abs(b - 255) < kNearKey;
            }
        return count;
    }

  private:
    SDL_Surface* argb;
};

// The mean difference per channel between two areas of one size.
double difference(const Pixels& a, Area first, const Pixels& b, Area second) {
    double sum = 0;
    for (int y = 0; y < first.h; ++y)
        for (int x = 0; x < first.w; ++x) {
            const uint32_t p = a.rgb(first.x + x, first.y + y);
            const uint32_t q = b.rgb(second.x + x, second.y + y);
            for (int shift : {0, 8, 16})
                sum += std::abs(static_cast<int>((p >> shift) & 255) -
                                static_cast<int>((q >> shift) & 255));
        }
    return sum / (3.0 * first.w * first.h);
}

Area tileArea(int tile) {  // tiles 1 to 24 in reading order; 0 is the corner
    return {kTile * (tile % 5), kTile * (tile / 5), kTile, kTile};
}

class Report {
  public:
    void error(const char* format, ...) {
        va_list args;
        va_start(args, format);
        vprintf(format, args);
        va_end(args);
        putchar('\n');
        ++errors;
    }
    void warning(const char* format, ...) {
        va_list args;
        va_start(args, format);
        fputs("Warning: ", stdout);
        vprintf(format, args);
        va_end(args);
        putchar('\n');
        ++warnings;
    }
    int errors = 0;
    int warnings = 0;
};

void checkPuzzle(Report& report, const char* path, const Pixels& puzzle) {
    int alike = 0, first = 0, second = 0;
    for (int a = 1; a < 25; ++a)
        for (int b = a + 1; b < 25; ++b)
            if (difference(puzzle, tileArea(a), puzzle, tileArea(b)) <= kTilesAlike && !alike++) {
                first = a;
                second = b;
            }
    if (alike > 0)
        report.warning(
            "%s: %d pair%s of tiles look%s alike, the first the tiles at column %d, row %d and "
            "column %d, row %d: make every tile different, so that a player can tell where "
            "each belongs",
            path, alike, alike == 1 ? "" : "s", alike == 1 ? "s" : "", first % 5, first / 5,
            second % 5, second / 5);
}

void checkHighlight(Report& report, const char* path, const Pixels& puzzle, const Pixels& lit) {
    int alike = 0, first = 0;
    for (int t = 1; t < 25; ++t)
        if (difference(puzzle, tileArea(t), lit, tileArea(t)) <= kLitAlike && !alike++)
            first = t;
    if (alike > 0)
        report.warning(
            "%s: %d tile%s look%s like the puzzle's own, the first at column %d, row %d: the "
            "highlight must show clearly",
            path, alike, alike == 1 ? "" : "s", alike == 1 ? "s" : "", first % 5, first / 5);
}

void checkGlow(Report& report, const char* path, const Pixels& glow) {
    for (int f = 0; f < 5; ++f) {
        if (glow.rgb(kTile * f + kTile / 2, kTile / 2) != kKey)
            report.warning("%s: the middle of frame %d is not magenta: the glow hides the cell",
                           path, f);
        if (glow.inkIn({kTile * f, 0, kTile, kTile}) == 0)
            report.warning("%s: frame %d is all magenta: nothing glows", path, f);
    }
}

void checkGates(Report& report, const char* path, const Pixels& gates) {
    const struct {
        const char* name;
        Area first;
        int dx, dy;
    } gateList[] = {{"top", {0, 0, 90, 10}, 90, 0},
                    {"bottom", {0, 10, 90, 10}, 90, 0},
                    {"left", {450, 0, 10, 90}, 10, 0}};
    for (const auto& gate : gateList)
        for (int f = 0; f < 4; ++f) {
            const Area a = {gate.first.x + gate.dx * f, gate.first.y, gate.first.w, gate.first.h};
            const Area b = {a.x + gate.dx, a.y, a.w, a.h};
            if (difference(gates, a, gates, b) <= kFramesAlike) {
                report.warning(
                    "%s: the %s gate's frames %d and %d look alike: it seems not to move", path,
                    gate.name, f, f + 1);
                break;
            }
        }
}

void checkFont(Report& report, const char* path, const Pixels& font) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz";
    static const char* const kSpecials[] = {"caret", "clock's separator", "letter }", "letter ~",
                                            "letter 127"};
    for (int row = 0; row < 3; ++row) {
        const int cells = row == 0 ? 26 : row == 1 ? 10 : 5;
        for (int k = 0; k < cells; ++k) {
            if (font.inkIn({kGlyphW * k, kGlyphH * row, kGlyphW, kGlyphH}) > 0)
                continue;
            char name[32];
            if (row == 2)
                snprintf(name, sizeof name, "%s", kSpecials[k]);
            else
                snprintf(name, sizeof name, "%c", row == 0 ? kLetters[k] : '0' + k);
            report.error("%s: the glyph of %s (x %d, y %d, 19x17) is all magenta: draw it", path,
                         name, kGlyphW * k, kGlyphH * row);
        }
    }
    if (font.inkIn({6, 2 * kGlyphH, kGlyphW - 6, kGlyphH}) > 0)
        report.warning("%s: the caret reaches past x 5 of its cell: it covers the next letter",
                       path);
}

void checkButtons(Report& report, const char* path, const Pixels& buttons) {
    for (int row = 0; row < buttons.h() / 53; ++row) {
        const Area normal = {0, 53 * row, 120, 53};
        if (difference(buttons, normal, buttons, {120, 53 * row, 120, 53}) <= kStatesAlike ||
            difference(buttons, normal, buttons, {240, 53 * row, 120, 53}) <= kStatesAlike)
            report.warning(
                "%s: the button of row %d looks the same normal, highlighted and pressed: a "
                "player cannot see it answer",
                path, row);
    }
}

void checkPlain(Report& report, const char* path, const Pixels& picture, Area a, const char* what) {
    if (!picture.isPlain(a))
        report.warning(
            "%s: the area of %s (%d, %d, %dx%d) is not one colour: the text drawn "
            "there may be hard to read",
            path, what, a.x, a.y, a.w, a.h);
}

void checkAreas(Report& report, const std::string& path, const Pixels& picture) {
    const char* p = path.c_str();
    if (path == files::kGameBackground)
        checkPlain(report, p, picture, layout::kClock, "the clock");
    if (path == files::kCongratulations1)
        checkPlain(report, p, picture, layout::kNameField, "the name field");
    if (path == files::kHighscore)
        for (int i = 0; i < layout::kTableRows; ++i) {
            char what[32];
            snprintf(what, sizeof what, "row %d's name", i + 1);
            checkPlain(report, p, picture, layout::tableName(i), what);
            snprintf(what, sizeof what, "row %d's time", i + 1);
            checkPlain(report, p, picture, layout::tableTime(i), what);
        }
}

}  // namespace

int checkArt(const std::string& folder) {
    Report report;
    std::map<std::string, std::unique_ptr<Pixels>> usable;  // loaded and large enough
    for (const files::Picture& file : files::kPictures) {
        const std::string full = folder + "/" + file.path;
        struct stat info;
        if (stat(full.c_str(), &info) != 0) {
            report.error("%s is missing: put a BMP of %dx%d there", file.path, file.width,
                         file.height);
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            report.error("%s is a folder: put a BMP of %dx%d there", file.path, file.width,
                         file.height);
            continue;
        }
        gnImage image;
        try {
            image.loadBMP(full.c_str());
        } catch (gnE* e) {
            // The engine's message starts with the file's name and is cut at 119 characters,
            // which a long folder name fills; SDL's error holds the whole "<file>: <reason>".
            std::string reason = SDL_GetError();
            const std::string prefix = full + ": ";
            if (reason.compare(0, prefix.size(), prefix) == 0)
                reason.erase(0, prefix.size());
            else
                reason = e->message;
            report.error("%s cannot be read as a picture (%s): save it as a Windows BMP, 24 bits",
                         file.path, reason.c_str());
            delete e;
            continue;
        }
        auto pixels = std::make_unique<Pixels>(image.getSDLSurface());
        if (!pixels->ok()) {
            report.error("%s cannot be read as a picture (%s): save it as a Windows BMP, 24 bits",
                         file.path, SDL_GetError());
            continue;
        }
        const bool olderButtons = file.path == std::string(kButtons) && pixels->w() >= file.width &&
                                  pixels->h() >= kButtonsWithoutPrint && pixels->h() < file.height;
        if (olderButtons)
            report.warning(
                "%s is %dx%d: it has no print control (row 8 from y %d, its three pictures of "
                "120x53), so players print only with P; make it %dx%d",
                file.path, pixels->w(), pixels->h(), kButtonsWithoutPrint, file.width, file.height);
        else if (pixels->w() < file.width || pixels->h() < file.height) {
            report.error("%s is %dx%d; it must be at least %dx%d", file.path, pixels->w(),
                         pixels->h(), file.width, file.height);
            continue;
        } else if (pixels->w() > file.width || pixels->h() > file.height)
            report.warning("%s is %dx%d: only its top left %dx%d is shown", file.path, pixels->w(),
                           pixels->h(), file.width, file.height);
        if (pixels->hasTranslucency())
            report.warning(
                "%s has an alpha channel with see-through pixels: the game draws every pixel "
                "opaque; save it without alpha",
                file.path);
        if (const int specks = file.keyed ? pixels->nearKey() : 0)
            report.warning(
                "%s has %d almost magenta pixel%s, shown as pink specks: draw the transparent "
                "parts in pure magenta (255, 0, 255) without anti-aliasing",
                file.path, specks, specks == 1 ? "" : "s");
        checkAreas(report, file.path, *pixels);
        usable[file.path] = std::move(pixels);
    }
    const auto found = [&](const char* path) -> const Pixels* {
        const auto entry = usable.find(path);
        return entry == usable.end() ? nullptr : entry->second.get();
    };
    const Pixels* puzzle = found("GFX/Game/Puzzle.bmp");
    const Pixels* lit = found("GFX/Game/PuzzleHighlight.bmp");
    if (puzzle)
        checkPuzzle(report, "GFX/Game/Puzzle.bmp", *puzzle);
    if (puzzle && lit)
        checkHighlight(report, "GFX/Game/PuzzleHighlight.bmp", *puzzle, *lit);
    if (const Pixels* glow = found("GFX/Game/GlowCursor.bmp"))
        checkGlow(report, "GFX/Game/GlowCursor.bmp", *glow);
    if (const Pixels* gates = found("GFX/Game/GateBridges.bmp"))
        checkGates(report, "GFX/Game/GateBridges.bmp", *gates);
    if (const Pixels* font = found("GFX/Menus/GameFont.bmp"))
        checkFont(report, "GFX/Menus/GameFont.bmp", *font);
    if (const Pixels* buttons = found(kButtons))
        checkButtons(report, kButtons, *buttons);

    const auto plural = [](int n, const char* word) {
        return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
    };
    if (report.errors == 0 && report.warnings == 0)
        printf("Checked %d pictures in %s/GFX: all usable\n", files::kPictureCount, folder.c_str());
    else
        printf("Checked %d pictures in %s/GFX: %s, %s%s\n", files::kPictureCount, folder.c_str(),
               plural(report.errors, "error").c_str(), plural(report.warnings, "warning").c_str(),
               report.errors == 0 ? " (usable)" : "");
    return report.errors;
}
