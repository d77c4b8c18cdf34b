// solrind-scores: the kiosk operator's view of the highscore table "Save/Highscore.hs" in a
// game folder, or of one table file (a table the daily reset kept, say), read with the game's
// own table code. Prints the table, or CSV (rank, name, time); --list names the tables kept
// beside the folder's table, newest first, each with its winner; --reset keeps the old file
// beside it under a dated name and puts a new default table in its place, atomically, so that
// it is safe while the game runs (the game reads the file whenever it shows or changes the
// table), and keeps the day's round records ("Save/Rounds") beside it under the same date.
// Reading never changes anything.
// Usage: solrind-scores [--csv | --list | --reset] [game folder | table file]; the folder
// defaults to $SOLRIND_HOME, else $XDG_STATE_HOME/solrind, else ~/.local/state/solrind, as the
// launcher's.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "SolrindPHighscore.h"
#include "gnFiles.h"

namespace {

using Table = SolrindPHighscore;

constexpr const char* kKeptPrefix = "Highscore.hs.";  // then the date the reset kept it

std::string defaultFolder() {
    if (const char* home = getenv("SOLRIND_HOME"))
        return home;
    if (const char* state = getenv("XDG_STATE_HOME"))
        return std::string(state) + "/solrind";
    const char* home = getenv("HOME");
    return std::string(home ? home : ".") + "/.local/state/solrind";
}

// A name as a person reads it: the font's three extra letters are ø, æ and å.
std::string readable(const char* name) {
    std::string text;
    for (const char* c = name; *c; ++c)
        text += *c == '}' ? "ø" : *c == '~' ? "æ" : *c == '\x7f' ? "å" : std::string(1, *c);
    return text;
}

std::string nowStamp() {
    char stamp[32];
    const time_t now = time(nullptr);
    tm local;
    localtime_r(&now, &local);
    strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local);
    return stamp;
}

// Keeps the file under "<file>.<date>-<time>" (a number added when taken); that name, or "".
std::string keepDated(const std::string& file) {
    const std::string stamp = nowStamp();
    for (int n = 0; n < 100; ++n) {
        const std::string name = file + "." + stamp + (n ? "-" + std::to_string(n) : "");
        if (link(file.c_str(), name.c_str()) == 0)
            return name;
        if (errno != EEXIST)
            return "";
    }
    return "";
}

std::string timeOf(const Table::Slot& slot) {
    char time[16];
    snprintf(time, sizeof time, "%02d:%02d", static_cast<int>(slot.minutes),
             static_cast<int>(slot.seconds));
    return time;
}

// The name padded to ten letters, whatever their bytes, and the time.
std::string row(const Table::Slot& slot) {
    return readable(slot.name) + std::string(10 - strlen(slot.name), ' ') + "  " + timeOf(slot);
}

int printTable(const std::string& file, bool csv) {
    Table::Slot slots[Table::kSlotCount];
    const char* why = nullptr;
    switch (Table::readTable(file.c_str(), slots, &why)) {
        case Table::kUsable:
            break;
        case Table::kMissing:
            fprintf(stderr, "%s: there is no table (the game starts with the default one)\n",
                    file.c_str());
            return 1;
        default:
            fprintf(stderr, "%s cannot be used (%s)\n", file.c_str(), why);
            return 1;
    }
    printf(csv ? "rank,name,time\n" : "Rank  Name        Time\n");
    for (int r = 0; r < Table::kSlotCount; ++r) {
        if (csv)
            printf("%d,%s,%s\n", r + 1, readable(slots[r].name).c_str(), timeOf(slots[r]).c_str());
        else
            printf("%4d  %s\n", r + 1, row(slots[r]).c_str());
    }
    return 0;
}

// Whether a name is that of a table the reset kept: "Highscore.hs.2026-12-07-040000", perhaps
// with "-<n>" after it.
bool isDated(const std::string& name) {
    static const char kForm[] = "dddd-dd-dd-dddddd";  // d: a digit
    const size_t start = strlen(kKeptPrefix), end = start + sizeof kForm - 1;
    if (name.compare(0, start, kKeptPrefix) != 0 || name.size() < end)
        return false;
    for (size_t i = 0; i < end - start; ++i)
        if (kForm[i] == 'd' ? !isdigit(static_cast<unsigned char>(name[start + i]))
                            : name[start + i] != kForm[i])
            return false;
    if (name.size() == end)
        return true;
    return name[end] == '-' && name.size() > end + 1 &&
           name.find_first_not_of("0123456789", end + 1) == std::string::npos;
}

// When a kept table was kept: the date in its name ("Highscore.hs.2026-12-07-040000"), else
// the time it was last written, in the same form, so that both sort together.
std::string keptWhen(const std::string& name, const std::string& path) {
    if (isDated(name))
        return name.substr(strlen(kKeptPrefix));
    struct stat info = {};
    stat(path.c_str(), &info);
    tm local;
    localtime_r(&info.st_mtime, &local);
    char stamp[32];
    strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local);
    return stamp;
}

// The tables kept beside the folder's table (by the daily reset, or set aside by the game
// because it could not use them), newest first, each with its best time.
int listKept(const std::string& folder) {
    const std::string save = folder + "/Save";
    DIR* dir = opendir(save.c_str());
    if (!dir) {
        fprintf(stderr, "%s: cannot be read (%s)\n", save.c_str(), strerror(errno));
        return 1;
    }
    std::vector<std::pair<std::string, std::string>> kept;                     // (when, name)
    const std::string prefix = std::string(Table::kFileName).substr(5) + ".";  // "Highscore.hs."
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) == 0 && name != prefix + "new")
            kept.emplace_back(keptWhen(name, save + "/" + name), name);
    }
    closedir(dir);
    if (kept.empty()) {
        printf("%s: no kept tables\n", save.c_str());
        return 0;
    }
    std::sort(kept.rbegin(), kept.rend());
    printf("Kept tables in %s, newest first, with their best time:\n", save.c_str());
    for (const auto& [when, name] : kept) {
        Table::Slot slots[Table::kSlotCount];
        const char* why = nullptr;
        if (Table::readTable((save + "/" + name).c_str(), slots, &why) == Table::kUsable)
            printf("  %-36s %s\n", name.c_str(), row(slots[0]).c_str());
        else
            printf("  %-36s cannot be used (%s)\n", name.c_str(), why ? why : "it is gone");
    }
    return 0;
}

// Moves the rounds folder, when it holds any, to "<folder><suffix>"; one line either way.
int keepRounds(const std::string& rounds, const std::string& suffix) {
    DIR* dir = opendir(rounds.c_str());
    if (!dir)
        return 0;
    int entries = 0;
    while (const dirent* entry = readdir(dir))
        entries += entry->d_name[0] != '.';
    closedir(dir);
    if (entries == 0)
        return 0;
    const std::string kept = rounds + suffix;
    if (rename(rounds.c_str(), kept.c_str()) != 0) {
        fprintf(stderr, "%s: cannot keep the day's rounds aside (%s): they stay where they are\n",
                rounds.c_str(), strerror(errno));
        return 1;
    }
    printf("%s: the day's rounds are kept as %s\n", rounds.c_str(), kept.c_str());
    return 0;
}

int reset(const std::string& file, const std::string& rounds) {
    Table::Slot slots[Table::kSlotCount];
    const char* why = nullptr;
    const Table::FileState state = Table::readTable(file.c_str(), slots, &why);
    std::string kept;
    if (state != Table::kMissing && (kept = keepDated(file)).empty()) {
        fprintf(stderr, "%s: cannot keep a copy (%s): nothing changed\n", file.c_str(),
                state == Table::kNotAFile ? why : strerror(errno));
        return 1;
    }
    unsigned char bytes[Table::kFileSize];
    Table::makeDefaultTable(slots);
    Table::formatTable(slots, bytes);
    if (!gnReplaceFile(file.c_str(), bytes, sizeof bytes)) {
        fprintf(stderr, "%s: cannot write the new table (%s)%s\n", file.c_str(), strerror(errno),
                kept.empty() ? "" : "; the old one is still in place");
        return 1;
    }
    if (kept.empty())
        printf("%s: a new table\n", file.c_str());
    else
        printf("%s: a new table; the old one is kept as %s\n", file.c_str(), kept.c_str());
    return keepRounds(rounds, kept.empty() ? "." + nowStamp() : kept.substr(file.size()));
}

int usage() {
    fprintf(stderr,
            "usage: solrind-scores [--csv] [game folder | table file]\n"
            "       solrind-scores --list | --reset [game folder]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string option, place;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--csv" || arg == "--reset" || arg == "--list") && option.empty())
            option = arg;
        else if (arg[0] != '-' && place.empty())
            place = arg;
        else
            return usage();
    }
    const bool given = !place.empty();
    if (!given)
        place = defaultFolder();
    struct stat info = {};
    const bool exists = stat(place.c_str(), &info) == 0;
    if (given && !exists) {
        fprintf(stderr, "%s: no such game folder or table file\n", place.c_str());
        return 1;
    }
    if (given && !S_ISDIR(info.st_mode)) {  // a table file
        if (!option.empty() && option != "--csv") {
            fprintf(stderr, "%s is a table file: %s takes a game folder\n", place.c_str(),
                    option.c_str());
            return 2;
        }
        return printTable(place, option == "--csv");
    }
    const std::string file = place + "/" + Table::kFileName;
    if (!given && access(file.c_str(), F_OK) != 0 && option != "--reset") {
        fprintf(stderr,
                "There is no table at %s (the game folder is $SOLRIND_HOME, else "
                "$XDG_STATE_HOME/solrind, else ~/.local/state/solrind): name the game folder; "
                "the kiosk service's is /var/lib/solrind\n",
                file.c_str());
        return 1;
    }
    if (option == "--reset")
        return reset(file, place + "/Save/Rounds");
    if (option == "--list")
        return listKept(place);
    return printTable(file, option == "--csv");
}
