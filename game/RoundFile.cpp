#include "RoundFile.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <nlohmann/json.hpp>
#include <vector>

#include "CountFont.h"
#include "gnFiles.h"

namespace roundfile {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kIdBytes = 16;
constexpr size_t kCodeDigits = 12;  // 48 bits: a million rounds share one at odds of 1 in 560
constexpr size_t kKioskMax = 64;
constexpr int32_t kMaxFrames = 10000000;  // over four days of frames
constexpr const char* kSuffix = ".json";

struct Direction {
    const char* word;
    int dx;
    int dy;
};
constexpr Direction kDirections[] = {
    {"up", 0, -1}, {"down", 0, 1}, {"left", -1, 0}, {"right", 1, 0}};

std::string hex32(uint32_t value) {
    char text[9];
    snprintf(text, sizeof text, "%08" PRIx32, value);
    return text;
}

bool isHex(const std::string& text, size_t digits) {
    return text.size() == digits && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

#ifndef __EMSCRIPTEN__
// A kiosk's name as a file shows it: printable ASCII, at most 64 characters.
std::string cleanKiosk(const char* name) {
    std::string clean;
    for (const char* c = name; *c && clean.size() < kKioskMax; ++c)
        clean += *c > ' ' && *c < 0x7F ? *c : '-';
    return clean.empty() ? "kiosk" : clean;
}
#endif

bool isKiosk(const std::string& name) {
    return !name.empty() && name.size() <= kKioskMax &&
           std::all_of(name.begin(), name.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

// "2026-12-07T20:15:03Z", checked digit by digit and as a date.
bool isStart(const std::string& text) {
    static const char kForm[] = "dddd-dd-ddTdd:dd:ddZ";
    if (text.size() != sizeof kForm - 1)
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (kForm[i] == 'd' ? !isdigit(static_cast<unsigned char>(text[i])) : text[i] != kForm[i])
            return false;
    tm when = {};
    return strptime(text.c_str(), "%Y-%m-%dT%H:%M:%SZ", &when) == text.c_str() + text.size();
}

std::string timeText(int32_t minutes, int32_t seconds) {
    char text[16];
    snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(minutes), static_cast<int>(seconds));
    return text;
}

// A field's fault, to stop the reading with one line.
struct Fault {
    std::string why;
};

const Json& field(const Json& object, const char* key, Json::value_t kind, const char* what) {
    const auto it = object.find(key);
    if (it == object.end())
        throw Fault{std::string("it has no \"") + key + "\""};
    const bool number = kind == Json::value_t::number_integer;
    if (number ? !it->is_number_integer() : it->type() != kind)
        throw Fault{std::string("\"") + key + "\" is not " + what};
    return *it;
}

int64_t integer(const Json& object, const char* key, int64_t low, int64_t high) {
    const Json& value = field(object, key, Json::value_t::number_integer, "a whole number");
    const int64_t n = value.is_number_unsigned() && value.get<uint64_t>() > INT64_MAX
                          ? INT64_MAX
                          : value.get<int64_t>();
    if (n < low || n > high)
        throw Fault{std::string("\"") + key + "\" is " + value.dump() + ", not " +
                    std::to_string(low) + " to " + std::to_string(high)};
    return n;
}

std::string text(const Json& object, const char* key) {
    return field(object, key, Json::value_t::string, "a text").get<std::string>();
}

bool flag(const Json& object, const char* key) {
    return field(object, key, Json::value_t::boolean, "true or false").get<bool>();
}

uint32_t digestField(const Json& object, const char* key) {
    const std::string value = text(object, key);
    if (!isHex(value, 8))
        throw Fault{std::string("\"") + key + "\" is no digest of 8 hexadecimal digits"};
    return static_cast<uint32_t>(strtoul(value.c_str(), nullptr, 16));
}

Json moveJson(const RoundMove& move) {
    Json json = {{"frame", move.frame}};
    if (move.move.kind == BoardMove::kRelease) {
        json["move"] = "release";
    } else {
        for (const Direction& d : kDirections)
            if (d.dx == move.move.dx && d.dy == move.move.dy)
                json["move"] = d.word;
        json["cell"] = {move.move.col, move.move.row};
    }
    json["check"] = hex32(move.check);
    return json;
}

RoundMove readMove(const Json& json, size_t index, int32_t frames) {
    const std::string at = "move " + std::to_string(index + 1) + ": ";
    if (!json.is_object())
        throw Fault{at + "it is not an object"};
    try {
        RoundMove move = {};
        move.frame = static_cast<int32_t>(integer(json, "frame", 1, frames));
        const std::string word = text(json, "move");
        move.move = BoardMove{BoardMove::kRelease, 0, 0, 0, 0};
        if (word != "release") {
            const Direction* d = std::find_if(std::begin(kDirections), std::end(kDirections),
                                              [&](const Direction& k) { return word == k.word; });
            if (d == std::end(kDirections))
                throw Fault{"\"move\" is \"" + word + "\", not release, up, down, left or right"};
            const Json& cell = field(json, "cell", Json::value_t::array, "a cell [column, row]");
            if (cell.size() != 2 || !cell[0].is_number_integer() || !cell[1].is_number_integer() ||
                cell[0].get<int64_t>() < 0 || cell[0].get<int64_t>() >= Board::kCells ||
                cell[1].get<int64_t>() < 0 || cell[1].get<int64_t>() >= Board::kCells)
                throw Fault{"\"cell\" is " + cell.dump() + ", not a board cell [0-4, 0-4]"};
            move.move =
                BoardMove{BoardMove::kPush, cell[0].get<int>(), cell[1].get<int>(), d->dx, d->dy};
        }
        move.check = digestField(json, "check");
        return move;
    } catch (const Fault& fault) {
        throw Fault{at + fault.why};
    }
}

struct Kept {
    std::string name;  // sorts as the rounds started
    std::string path;
    uint64_t size;
};

// The round files of one folder.
void listRounds(const std::string& folder, std::vector<Kept>& into) {
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat info = {};
        const std::string path = folder + "/" + name;
        if (isRoundName(name) && lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            into.push_back(Kept{name, path, static_cast<uint64_t>(info.st_size)});
    }
    closedir(dir);
}

// The folder and the ones kept beside it ("Rounds.2026-12-07-040000").
std::vector<std::string> roundFolders(const std::string& folder) {
    std::vector<std::string> folders = {folder};
    const size_t slash = folder.rfind('/');
    const std::string parent = slash == std::string::npos ? "." : folder.substr(0, slash);
    const std::string prefix = folder.substr(slash == std::string::npos ? 0 : slash + 1) + ".";
    if (DIR* dir = opendir(parent.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            struct stat info = {};
            const std::string path = parent + "/" + name;
            if (name.compare(0, prefix.size(), prefix) == 0 && name.size() > prefix.size() &&
                lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
                folders.push_back(path);
        }
        closedir(dir);
    }
    return folders;
}

void makeRoom(const std::string& folder, const std::string& written, uint64_t cap) {
    std::vector<Kept> rounds;
    std::vector<std::string> folders = roundFolders(folder);
    for (const std::string& f : folders)
        listRounds(f, rounds);
    uint64_t total = 0;
    for (const Kept& k : rounds)
        total += k.size;
    if (total <= cap)
        return;
    std::sort(rounds.begin(), rounds.end(),
              [](const Kept& a, const Kept& b) { return a.name < b.name; });
    int removed = 0;
    for (const Kept& k : rounds) {
        if (total <= cap)
            break;
        if (k.path == written || unlink(k.path.c_str()) != 0)
            continue;
        total -= k.size;
        ++removed;
    }
    for (size_t i = 1; i < folders.size(); ++i)
        rmdir(folders[i].c_str());  // a kept day left empty; fails harmlessly otherwise
    if (removed > 0)
        printf("%s holds more than %" PRIu64 " MB of rounds: the %d oldest removed\n",
               folder.c_str(), cap / kMegabyte, removed);
}

}  // namespace

void stamp(RoundRecord& record) {
    unsigned char bytes[kIdBytes] = {};
    if (getentropy(bytes, sizeof bytes) != 0) {
        // No entropy source: the time and the process still make ids apart.
        const uint64_t mix = static_cast<uint64_t>(time(nullptr)) * 1000003u ^
                             static_cast<uint64_t>(getpid()) ^ static_cast<uint64_t>(clock());
        for (int i = 0; i < kIdBytes; ++i)
            bytes[i] = static_cast<unsigned char>(mix >> (i % 8 * 8) ^ i * 37);
    }
    char id[2 * kIdBytes + 1];
    for (int i = 0; i < kIdBytes; ++i)
        snprintf(id + 2 * i, 3, "%02x", bytes[i]);
    record.id = id;
#ifdef __EMSCRIPTEN__
    record.kiosk = "web";
#else
    char host[256] = {};
    const char* name = getenv(kKioskVariable);
    if (!name || !*name)
        name = gethostname(host, sizeof host - 1) == 0 ? host : "kiosk";
    record.kiosk = cleanKiosk(name);
#endif
    const time_t now = time(nullptr);
    tm utc = {};
    gmtime_r(&now, &utc);
    char started[32];
    strftime(started, sizeof started, "%Y-%m-%dT%H:%M:%SZ", &utc);
    record.started = started;
}

std::string format(const RoundRecord& record) {
    Json json = {{"round", kFormat},          {"id", record.id},           {"kiosk", record.kiosk},
                 {"started", record.started}, {"library", record.library}, {"seed", record.seed}};
    Json gates = Json::array();
    for (const GateStart& gate : record.gates)
        gates.push_back({{"frame", gate.frame}, {"opening", gate.opening}});
    json["gates"] = gates;
    Json moves = Json::array();
    for (const RoundMove& move : record.moves)
        moves.push_back(moveJson(move));
    json["moves"] = moves;
    json["frames"] = record.frames;
    json["completed"] = record.completed;
    json["time"] = timeText(record.minutes, record.seconds);
    json["record"] = record.record;
    json["name"] = record.name;
    json["end"] = hex32(record.end);
    return json.dump() + "\n";
}

bool parse(const std::string& bytes, RoundRecord& record, std::string& why) {
    if (bytes.size() > kMaxBytes) {
        why = "it is larger than " + std::to_string(kMaxBytes) + " bytes";
        return false;
    }
    Json json;
    try {
        json = Json::parse(bytes);
    } catch (const Json::exception& error) {
        const std::string what = error.what();
        const size_t words = what.find("] ");
        why = "it is no JSON: " + (words == std::string::npos ? what : what.substr(words + 2));
        return false;
    }
    try {
        if (!json.is_object())
            throw Fault{"it is no JSON object"};
        RoundRecord read;
        if (integer(json, "round", kFormat, kFormat) != kFormat)
            throw Fault{"it is no round"};
        read.id = text(json, "id");
        if (!isHex(read.id, 2 * kIdBytes))
            throw Fault{"\"id\" is no 32 hexadecimal digits"};
        read.kiosk = text(json, "kiosk");
        if (!isKiosk(read.kiosk))
            throw Fault{"\"kiosk\" is no name of 1 to 64 printable characters"};
        read.started = text(json, "started");
        if (!isStart(read.started))
            throw Fault{"\"started\" is no time such as 2026-12-07T20:15:03Z"};
        read.library = text(json, "library");
        if (read.library != "glibc" && read.library != "musl")
            throw Fault{"\"library\" is \"" + read.library + "\", not glibc or musl"};
        read.seed = static_cast<uint32_t>(integer(json, "seed", 0, Board::kSeedModulus - 1));
        const Json& gates = field(json, "gates", Json::value_t::array, "a list of three gates");
        if (gates.size() != Board::kGateCount)
            throw Fault{"\"gates\" holds " + std::to_string(gates.size()) + " gates, not 3"};
        for (size_t g = 0; g < gates.size(); ++g) {
            if (!gates[g].is_object())
                throw Fault{"gate " + std::to_string(g + 1) + " is not an object"};
            read.gates[g].frame = static_cast<int32_t>(integer(gates[g], "frame", 0, 4));
            read.gates[g].opening = flag(gates[g], "opening");
        }
        read.frames = static_cast<int32_t>(integer(json, "frames", 0, kMaxFrames));
        const Json& moves = field(json, "moves", Json::value_t::array, "a list of moves");
        for (size_t m = 0; m < moves.size(); ++m) {
            read.moves.push_back(readMove(moves[m], m, read.frames));
            if (m > 0 && read.moves[m].frame < read.moves[m - 1].frame)
                throw Fault{"move " + std::to_string(m + 1) + " comes before the move above it"};
        }
        read.completed = flag(json, "completed");
        const std::string time = text(json, "time");
        const auto digit = [&time](size_t i) {
            return isdigit(static_cast<unsigned char>(time[i]));
        };
        if (time.size() != 5 || !digit(0) || !digit(1) || time[2] != ':' || !digit(3) ||
            !digit(4) || time[0] > '5' || time[3] > '5')
            throw Fault{"\"time\" is \"" + time + "\", not 00:00 to 59:59"};
        read.minutes = (time[0] - '0') * 10 + (time[1] - '0');
        read.seconds = (time[3] - '0') * 10 + (time[4] - '0');
        read.record = flag(json, "record");
        read.name = text(json, "name");
        if (read.name.size() > 10)
            throw Fault{"\"name\" is longer than 10 characters"};
        for (const char c : read.name)
            if (!CountFont::hasGlyph(c)) {
                char shown[8];
                snprintf(shown, sizeof shown, c >= ' ' && c < 0x7F ? "'%c'" : "\\x%02x",
                         static_cast<unsigned char>(c));
                throw Fault{std::string("\"name\" has a character the font cannot draw: ") + shown};
            }
        if (!read.record && !read.name.empty())
            throw Fault{"\"name\" is given for a time that made no record"};
        read.end = digestField(json, "end");
        record = read;
        return true;
    } catch (const Fault& fault) {
        why = fault.why;
        return false;
    }
}

std::string fileName(const RoundRecord& record) {
    std::string compact;
    for (const char c : record.started)
        if (c != '-' && c != ':')
            compact += c;
    return compact + "-" + record.id.substr(0, 8) + kSuffix;
}

bool isRoundName(const std::string& name) {
    const size_t suffix = strlen(kSuffix);
    return name.size() > suffix && name[0] != '.' &&
           name.compare(name.size() - suffix, suffix, kSuffix) == 0;
}

std::string code(const std::string& id) {
    if (id.size() < kCodeDigits || !isHex(id.substr(0, kCodeDigits), kCodeDigits))
        return "";
    std::string text;
    for (size_t i = 0; i < kCodeDigits; ++i) {
        if (i > 0 && i % 4 == 0)
            text += '-';
        text += static_cast<char>(toupper(static_cast<unsigned char>(id[i])));
    }
    return text;
}

std::string codeKey(const std::string& text) {
    std::string key;
    for (const char c : text) {
        if (c == '-' || c == ' ')
            continue;
        key += static_cast<char>(tolower(static_cast<unsigned char>(c)));
    }
    return isHex(key, kCodeDigits) ? key : "";
}

bool save(const RoundRecord& record, const std::string& folder, uint64_t cap) {
    const std::string path = folder + "/" + fileName(record);
    const std::string bytes = format(record);
    if ((mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) ||
        !gnReplaceFile(path.c_str(), bytes.data(), bytes.size())) {
        printf("Error saving %s (%s): the round is not kept\n", path.c_str(), strerror(errno));
        return false;
    }
    makeRoom(folder, path, cap);
    return true;
}

}  // namespace roundfile
