// solrind-scores: the kiosk operator's view of the highscore table "Save/Highscore.hs" in a
// game folder, read with the game's own table code. Prints the table, or CSV (rank, name,
// time); --reset keeps the old file beside it under a dated name and puts a new default table
// in its place, atomically, so that it is safe while the game runs (the game reads the file
// whenever it shows or changes the table). Reading never changes anything.
// Usage: solrind-scores [--csv | --reset] [game folder]; the folder defaults to $SOLRIND_HOME,
// else $XDG_STATE_HOME/solrind, else ~/.local/state/solrind, as the launcher's.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "SolrindPHighscore.h"
#include "gnFiles.h"

namespace {

using Table = SolrindPHighscore;

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

// Keeps the file under "<file>.<date>-<time>" (a number added when taken); that name, or "".
std::string keepDated(const std::string& file) {
    char stamp[32];
    const time_t now = time(nullptr);
    tm local;
    localtime_r(&now, &local);
    strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local);
    for (int n = 0; n < 100; ++n) {
        const std::string name = file + "." + stamp + (n ? "-" + std::to_string(n) : "");
        if (link(file.c_str(), name.c_str()) == 0)
            return name;
        if (errno != EEXIST)
            return "";
    }
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    bool csv = false, reset = false;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--csv") == 0)
            csv = true;
        else if (strcmp(argv[i], "--reset") == 0)
            reset = true;
        else if (argv[i][0] != '-' && folder.empty())
            folder = argv[i];
        else {
            fprintf(stderr, "usage: solrind-scores [--csv | --reset] [game folder]\n");
            return 2;
        }
    }
    if (csv && reset) {
        fprintf(stderr, "usage: solrind-scores [--csv | --reset] [game folder]\n");
        return 2;
    }
    const std::string file = (folder.empty() ? defaultFolder() : folder) + "/" + Table::kFileName;
    Table::Slot slots[Table::kSlotCount];
    const char* why = nullptr;
    const Table::FileState state = Table::readTable(file.c_str(), slots, &why);
    if (reset) {
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
            fprintf(stderr, "%s: cannot write the new table (%s)%s\n", file.c_str(),
                    strerror(errno), kept.empty() ? "" : "; the old one is still in place");
            return 1;
        }
        if (kept.empty())
            printf("%s: a new table\n", file.c_str());
        else
            printf("%s: a new table; the old one is kept as %s\n", file.c_str(), kept.c_str());
        return 0;
    }
    if (state == Table::kMissing) {
        printf("%s: no table yet (the game starts with the default one)\n", file.c_str());
        return 0;
    }
    if (state != Table::kUsable) {
        fprintf(stderr, "%s cannot be used (%s)\n", file.c_str(), why);
        return 1;
    }
    printf(csv ? "rank,name,time\n" : "Rank  Name        Time\n");
    for (int r = 0; r < Table::kSlotCount; ++r) {
        const std::string name = readable(slots[r].name);
        char time[16];
        snprintf(time, sizeof time, "%02d:%02d", static_cast<int>(slots[r].minutes),
                 static_cast<int>(slots[r].seconds));
        if (csv)
            printf("%d,%s,%s\n", r + 1, name.c_str(), time);
        else  // the name padded to ten letters, whatever their bytes
            printf("%4d  %s%*s  %s\n", r + 1, name.c_str(),
                   static_cast<int>(10 - strlen(slots[r].name)), "", time);
    }
    return 0;
}
