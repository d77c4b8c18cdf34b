#include "EventTable.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>

#include "RoundFile.h"
#include "gnFiles.h"

namespace {

using Json = nlohmann::json;
using Slot = SolrindPHighscore::Slot;

// A row of the table from a name and a time "MM:SS" (checked by the caller).
Slot slot(const std::string& name, const std::string& time) {
    Slot row = {};
    snprintf(row.name, sizeof row.name, "%s", name.c_str());
    row.minutes = (time[0] - '0') * 10 + (time[1] - '0');
    row.seconds = (time[3] - '0') * 10 + (time[4] - '0');
    return row;
}

bool isTime(const std::string& time) {
    const auto digit = [&](size_t i, char most) { return time[i] >= '0' && time[i] <= most; };
    return time.size() == 5 && digit(0, '5') && digit(1, '9') && time[2] == ':' && digit(3, '5') &&
           digit(4, '9');
}

}  // namespace

std::vector<WaitingRound> waitingRounds(const std::string& folder) {
    std::vector<WaitingRound> rounds;
    const std::string save = folder + "/Save";
    DIR* dir = opendir(save.c_str());
    if (!dir)
        return rounds;
    while (const dirent* entry = readdir(dir)) {
        const std::string sub = entry->d_name;
        if (sub != "Rounds" && (sub.compare(0, 7, "Rounds.") != 0 || sub == "Rounds.refused"))
            continue;
        if (DIR* inner = opendir((save + "/" + sub).c_str())) {
            while (const dirent* file = readdir(inner))
                if (roundfile::isRoundName(file->d_name))
                    rounds.push_back({file->d_name, save + "/" + sub + "/" + file->d_name});
            closedir(inner);
        }
    }
    closedir(dir);
    std::sort(rounds.begin(), rounds.end(),
              [](const WaitingRound& a, const WaitingRound& b) { return a.name < b.name; });
    return rounds;
}

void mergeTable(const std::vector<Slot>& rows, Slot table[SolrindPHighscore::kSlotCount]) {
    std::vector<Slot> all = rows;
    std::stable_sort(all.begin(), all.end(), [](const Slot& a, const Slot& b) {
        return a.minutes * 60 + a.seconds < b.minutes * 60 + b.seconds;
    });
    SolrindPHighscore::makeDefaultTable(table);
    for (size_t i = 0; i < all.size() && i < SolrindPHighscore::kSlotCount; ++i)
        table[i] = all[i];
}

std::string writeEventTable(const std::string& best, const std::string& folder) {
    std::vector<Slot> rows;
    try {
        const Json table = Json::parse(best);
        for (const Json& row : table.at("best")) {
            const std::string time = row.at("time");
            if (!isTime(time))
                return "the event's table is unreadable: a time " + time.substr(0, 16);
            rows.push_back(slot(row.at("name"), time));
        }
    } catch (const Json::exception& error) {
        return std::string("the event's table is unreadable: ") + error.what();
    }
    for (const WaitingRound& round : waitingRounds(folder)) {  // not confirmed yet
        std::string bytes, why;
        RoundRecord record;
        if (gnReadFile(round.path.c_str(), roundfile::kMaxBytes, bytes, why) &&
            roundfile::parse(bytes, record, why) && record.completed && record.record) {
            char time[8];
            snprintf(time, sizeof time, "%02d:%02d", record.minutes, record.seconds);
            rows.push_back(slot(record.name, time));
        }
    }
    Slot table[SolrindPHighscore::kSlotCount];
    mergeTable(rows, table);
    unsigned char bytes[SolrindPHighscore::kFileSize];
    SolrindPHighscore::formatTable(table, bytes);
    const std::string path = folder + "/" + SolrindPHighscore::kFileName;
    std::string now, why;
    gnReadFile(path.c_str(), SolrindPHighscore::kFileSize, now, why);
    if (now == std::string(reinterpret_cast<char*>(bytes), sizeof bytes))
        return "";  // the file stays as it is
    if (!gnReplaceFile(path.c_str(), bytes, sizeof bytes))
        return "cannot write " + path + " (" + strerror(errno) + ")";
    return "";
}
