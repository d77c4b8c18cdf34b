// The art maker: draws every picture the game reads, from a sponsor's brand file (--brand;
// the built-in Solrind brand without one), and writes it as a BMP file under the game folder's
// GFX/. It keeps a record of what it wrote ("GFX/.artmaker": a hash per file),
// so that with --if-stale it draws only what is missing and redraws only what still holds its
// own last drawing: a picture someone replaced is never overwritten. With --check it checks a
// set of pictures instead (see Check.h); with --icon it draws the desktop's 128 by 128 icon of
// the game as a PNG file.
#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Check.h"
#include "GameLayout.h"
#include "GamePictures.h"
#include "Scene.h"
#include "Screens.h"
#include "gnFiles.h"

namespace {

constexpr const char* kRecord = "GFX/.artmaker";   // "<hash> <path>" per line, under the folder
constexpr size_t kPictureBytesMax = 64u << 20;     // more than any picture of the game
constexpr const char* kDigestKey = ".drawn-from";  // the record's line for what it was drawn from

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

// A file's bytes, when it is a regular file that can be read.
bool readBytes(const std::string& path, std::string& bytes) {
    std::string why;
    return gnReadFile(path.c_str(), kPictureBytesMax, bytes, why);
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
    std::string text;
    readBytes(file, text);
    std::istringstream in(text);
    std::string hash, path;
    while (in >> hash >> path)
        record[path] = hash;
    return record;
}

bool writeRecord(const std::string& file, const std::map<std::string, std::string>& record) {
    std::string text;
    for (const auto& entry : record)
        text += entry.second + ' ' + entry.first + '\n';
    return gnReplaceFile(file.c_str(), text.data(), text.size());
}

// The desktop's icon: the brand's logo (the sun for the built-in one) on its night colour.
// Whether the brand has problems, after printing them.
bool hasProblems() {
    for (const std::string& problem : art.problems)
        fprintf(stderr, "%s\n", Brand::line(problem).c_str());
    return !art.problems.empty();
}

int drawIcon(const char* file) {
    if (hasProblems())
        return 1;
    Canvas icon(128, 128, palette.night);
    icon.verticalGradient(0, 0, 128, 128, palette.night, palette.deepBlue);
    if (art.logo)
        drawLogo(icon, 64, 14, 20, 16);
    else
        drawSun(icon, 64, 64, 30);
    const std::string png = icon.png();
    const bool saved = !png.empty() && gnReplaceFile(file, png.data(), png.size());
    if (!saved)
        fprintf(stderr, "Cannot write %s: %s\n", file,
                png.empty() ? SDL_GetError() : strerror(errno));
    return saved ? 0 : 1;
}

// What a drawing depends on, as one digest: the art maker itself, the brand as read and every
// picture file it names (a file that cannot be read counts as its reason).
std::string drawingDigest(const Brand& brand) {
    std::string all, bytes, why;
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0 &&
        gnReadFile(std::string(self, static_cast<size_t>(n)).c_str(), kPictureBytesMax, bytes, why))
        all += hashOf(bytes);
    all += hashOf(brand.source);
    for (const std::string& file : brand.pictureFiles())
        all +=
            file + (gnReadFile(file.c_str(), kPictureBytesMax, bytes, why) ? hashOf(bytes) : why);
    return hashOf(all);
}

// Draws the 21 pictures into the folder. Every picture is drawn in memory first, so that a
// brand whose texts do not fit writes nothing. Without ifStale: everything. With it: what is
// missing; and, when what the drawing depends on changed since the last one (another brand,
// a new logo or photo under the same brand file, a new art maker), what still holds its last
// drawing (redrawn) and what it has no record of (taken into the record only if it is what
// it draws now). A picture someone replaced is never touched.
int drawPictures(const std::string& folder, const Brand& brand, bool ifStale) {
    const Canvas* puzzle = art.puzzle.get();
    Canvas landscape(440, 440, {0, 0, 0});
    if (!puzzle) {
        makePuzzle(landscape);
        puzzle = &landscape;
    }
    const std::map<std::string, std::function<void(Canvas&)>> drawings = {
        {files::kPuzzle, [&](Canvas& c) { c.copy(*puzzle, 0, 0, 440, 440, 0, 0); }},
        {files::kPuzzleHighlight, [&](Canvas& c) { makePuzzleHighlight(*puzzle, c); }},
        {files::kGlowCursor, makeGlowCursor},
        {files::kGateBridges, makeGateBridges},
        {files::kGameFont, makeGameFont},
        {files::kButtons, makeButtons},
        {files::kMenu, makeMenu},
        {files::kStartscreen1, makeStartscreen1},
        {files::kStartscreen2, [&](Canvas& c) { makeStartscreen2(c, *puzzle); }},
        {files::kCreditscreen, makeCreditscreen},
        {files::kWelcome, makeWelcome},
        {files::kRules, makeRules},
        {files::kPrizes1, [](Canvas& c) { makePrizes(c, 1); }},
        {files::kPrizes2, [](Canvas& c) { makePrizes(c, 2); }},
        {files::kPrizes3, [](Canvas& c) { makePrizes(c, 3); }},
        {files::kSolrind, [](Canvas& c) { makeSponsor(c, 1); }},
        {files::kSolrind2, [](Canvas& c) { makeSponsor(c, 2); }},
        {files::kHighscore, makeHighscore},
        {files::kGameBackground, makeGameBackground},
        {files::kCongratulations1, [](Canvas& c) { makeCongratulations(c, true); }},
        {files::kCongratulations2, [](Canvas& c) { makeCongratulations(c, false); }},
    };
    std::vector<std::unique_ptr<Canvas>> drawn;
    for (const files::Picture& file : files::kPictures) {
        drawn.emplace_back(new Canvas(file.width, file.height, {0, 0, 0}));
        drawings.at(file.path)(*drawn.back());
    }
    if (hasProblems())
        return 1;

    const std::string recordFile = folder + "/" + kRecord;
    std::map<std::string, std::string> record = readRecord(recordFile);
    const std::string digest = drawingDigest(brand);
    const bool rebuilt = record[kDigestKey] != digest;
    int failures = 0, written = 0;
    for (int i = 0; i < files::kPictureCount; ++i) {
        const std::string path = files::kPictures[i].path, file = folder + "/" + path;
        std::string bytes;
        const bool exists = readBytes(file, bytes);
        // A file that differs from the recorded drawing was replaced: it is never touched.
        const auto entry = record.find(path);
        const bool ours = entry != record.end() && entry->second == hashOf(bytes);
        if (ifStale && exists && !(rebuilt && (ours || entry == record.end())))
            continue;
        const std::string now = drawn[static_cast<size_t>(i)]->bmp();
        if (exists && bytes == now) {
            // already this drawing: the file stays as it is
        } else if (exists && entry == record.end() && ifStale) {
            printf("Kept %s: it is not the art maker's drawing\n", file.c_str());  // someone's own
            continue;
        } else if (now.empty() || !makeDirectories(file) ||
                   !gnReplaceFile(file.c_str(), now.data(), now.size())) {
            fprintf(stderr, "Cannot write %s: %s\n", file.c_str(),
                    now.empty() ? SDL_GetError() : strerror(errno));
            ++failures;
            continue;
        } else {
            ++written;
        }
        record[path] = hashOf(now);
    }
    if (failures == 0)
        record[kDigestKey] = digest;  // else the next run tries again
    if (!writeRecord(recordFile, record)) {
        fprintf(stderr, "Cannot write %s\n", recordFile.c_str());
        ++failures;
    }
    if (written > 0)
        printf("Drew %d picture%s into %s/GFX\n", written, written == 1 ? "" : "s", folder.c_str());
    return failures == 0 ? 0 : 1;
}

// The web page around the game from its template: {{key}} becomes the brand's text for that
// key as HTML, {{json:key}} as a JSON string.
int writeSitePage(const Brand& brand, const std::string& from, const std::string& to) {
    std::string page, why;
    if (!gnReadFile(from.c_str(), kPictureBytesMax, page, why)) {
        fprintf(stderr, "Cannot read %s: %s\n", from.c_str(), why.c_str());
        return 1;
    }
    for (size_t at = page.find("{{"); at != std::string::npos; at = page.find("{{", at)) {
        const size_t end = page.find("}}", at);
        std::string key = page.substr(at + 2, end == std::string::npos ? 0 : end - at - 2);
        const bool json = key.compare(0, 5, "json:") == 0;
        const bool colour = key.compare(0, 7, "colour:") == 0;
        key.erase(0, json ? 5 : colour ? 7 : 0);
        std::string text;
        try {
            char hex[8];
            if (colour)
                snprintf(hex, sizeof hex, "#%06X", static_cast<unsigned>(brand.colour(key)));
            text = colour ? hex : brand.text(key);
        } catch (const std::out_of_range&) {
            fprintf(stderr, "%s names {{%s}}, which no brand has\n", from.c_str(), key.c_str());
            return 1;
        }
        const std::string value = json     ? Brand::jsonText(text)
                                  : colour ? text
                                           : Brand::markupText(text);
        page.replace(at, end - at + 2, value);
        at += value.size();
    }
    if (!gnReplaceFile(to.c_str(), page.data(), page.size())) {
        fprintf(stderr, "Cannot write %s: %s\n", to.c_str(), strerror(errno));
        return 1;
    }
    return 0;
}

int usage(const char* self) {
    fprintf(stderr,
            "usage: %s [--brand <brand file>] [--if-stale] <game folder>\n"
            "       %s --check <game folder>\n"
            "       %s [--brand <brand file>] --icon <file.png>\n"
            "       %s [--brand <brand file>] --site-page <template.html> <page.html>\n",
            self, self, self, self);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool ifStale = false;
    std::string brandFile, folder, icon, check, siteTemplate, sitePage;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool valued = arg == "--brand" || arg == "--icon" || arg == "--check";
        if ((valued && i + 1 == argc) || (arg == "--site-page" && i + 2 >= argc))
            return usage(argv[0]);
        if (arg == "--if-stale") {
            ifStale = true;
        } else if (arg == "--site-page") {
            siteTemplate = argv[++i];
            sitePage = argv[++i];
        } else if (valued)
            (arg == "--brand" ? brandFile : arg == "--icon" ? icon : check) = argv[++i];
        else if (arg[0] != '-' && folder.empty())
            folder = arg;
        else
            return usage(argv[0]);
    }
    if (!check.empty())
        return folder.empty() && !ifStale && brandFile.empty() && icon.empty()
                   ? (checkArt(check) == 0 ? 0 : 1)
                   : usage(argv[0]);
    if (folder.empty() + icon.empty() + sitePage.empty() != 2)
        return usage(argv[0]);
    if (SDL_Init(0) != 0) {
        fprintf(stderr, "Cannot start SDL: %s\n", SDL_GetError());
        return 1;
    }
    // Every problem of a brand in one run: its entries, its pictures and what does not fit are
    // all found (drawing in memory, with the built-in brand's values where the file's are
    // wrong) before anything is written; then nothing is written if there is one.
    Brand brand;
    std::vector<std::string> problems;
    brand.read(brandFile, problems);
    for (const std::string& note : brand.notes)
        printf("%s\n", Brand::line(note).c_str());
    int status = 1;
    if (!brand.complete || (!sitePage.empty() && !problems.empty())) {
        for (const std::string& problem : problems)
            fprintf(stderr, "%s\n", Brand::line(problem).c_str());
    } else if (!sitePage.empty()) {
        status = writeSitePage(brand, siteTemplate, sitePage);
    } else {
        setBrandArt(brand);
        art.problems.insert(art.problems.begin(), problems.begin(), problems.end());
        status = icon.empty() ? drawPictures(folder, brand, ifStale) : drawIcon(icon.c_str());
    }
    releaseBrandArt();
    SDL_Quit();
    return status;
}
