#include "Sync.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <httplib.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>

#include "RoundFile.h"
#include "gnFiles.h"

namespace {

using Json = nlohmann::json;
using Slot = SolrindPHighscore::Slot;

constexpr int kTimeoutSeconds = 10;
constexpr const char* kRefusedFolder = "Save/Rounds.refused";

struct Waiting {
    std::string name;  // sorts as the rounds started
    std::string path;
};

// The round files waiting in the folder and in the days kept beside it, oldest first.
std::vector<Waiting> waitingRounds(const std::string& folder) {
    std::vector<Waiting> rounds;
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
              [](const Waiting& a, const Waiting& b) { return a.name < b.name; });
    return rounds;
}

// Why a request got no answer, as an operator reads it.
std::string noAnswer(httplib::Error error) {
    switch (error) {
        case httplib::Error::Connection:
            return "no connection";
        case httplib::Error::ConnectionTimeout:
            return "no connection in time";
        case httplib::Error::Read:
        case httplib::Error::Write:
            return "the connection broke";
        default:
            return "error " + httplib::to_string(error);
    }
}

Slot slot(const std::string& name, const std::string& time) {
    Slot row = {};
    snprintf(row.name, sizeof row.name, "%s", name.c_str());
    row.minutes = (time[0] - '0') * 10 + (time[1] - '0');
    row.seconds = (time[3] - '0') * 10 + (time[4] - '0');
    return row;
}

}  // namespace

void mergeTable(const std::vector<Slot>& rows, Slot table[SolrindPHighscore::kSlotCount]) {
    std::vector<Slot> all = rows;
    std::stable_sort(all.begin(), all.end(), [](const Slot& a, const Slot& b) {
        return a.minutes * 60 + a.seconds < b.minutes * 60 + b.seconds;
    });
    SolrindPHighscore::makeDefaultTable(table);
    for (size_t i = 0; i < all.size() && i < SolrindPHighscore::kSlotCount; ++i)
        table[i] = all[i];
}

Sync::Sync(const SyncSettings& settings)
    : settings(settings), client(std::make_unique<httplib::Client>(settings.server)) {
    client->set_connection_timeout(kTimeoutSeconds, 0);
    client->set_read_timeout(kTimeoutSeconds, 0);
    client->set_write_timeout(kTimeoutSeconds, 0);
    client->set_bearer_token_auth(settings.token.c_str());
}

Sync::~Sync() = default;

int Sync::pass() {
    for (const Waiting& round : waitingRounds(settings.folder))
        if (deliver(round.path, round.name) == kLater)
            return failed(trouble);
    if (!writeTable())
        return failed(trouble);
    if (!said.empty())
        printf("solrind-sync: the event server answers again\n");
    wait = 0;
    said.clear();
    return kPassSeconds;
}

Sync::Outcome Sync::deliver(const std::string& path, const std::string& name) {
    std::string bytes, why;
    if (!gnReadFile(path.c_str(), roundfile::kMaxBytes + 1, bytes, why))
        return kDone;  // gone meanwhile, or unreadable: not this pass's to send
    const auto answer = client->Post("/api/rounds", bytes, "application/json");
    if (!answer) {
        trouble = "cannot reach the event server " + settings.server + " (" +
                  noAnswer(answer.error()) + ")";
        return kLater;
    }
    std::string error;
    try {
        error = Json::parse(answer->body).value("error", "");
    } catch (const Json::exception&) {
        error = "an answer that is no JSON";
    }
    if (answer->status == 200 || answer->status == 201) {
        unlink(path.c_str());
        ++delivered;
        return kDone;
    }
    if (answer->status == 400 || answer->status == 409 || answer->status == 413 ||
        answer->status == 422) {
        mkdir((settings.folder + "/" + kRefusedFolder).c_str(), 0777);
        const std::string aside = settings.folder + "/" + kRefusedFolder + "/" + name;
        rename(path.c_str(), aside.c_str());
        printf("solrind-sync: the event server refused %s (%d %s): kept as %s\n", path.c_str(),
               answer->status, error.c_str(), aside.c_str());
        return kRefused;
    }
    trouble = answer->status == 401
                  ? "the event server does not know this kiosk's token"
                  : "the event server answers " + std::to_string(answer->status) + " " + error;
    return kLater;
}

bool Sync::writeTable() {
    const auto answer = client->Get("/api/best");
    if (!answer || answer->status != 200) {
        trouble = "cannot read the event's table from " + settings.server;
        return false;
    }
    std::vector<Slot> rows;
    try {
        const Json best = Json::parse(answer->body);
        for (const Json& row : best.at("best"))
            rows.push_back(slot(row.at("name"), row.at("time")));
    } catch (const Json::exception& error) {
        trouble = std::string("the event's table is unreadable: ") + error.what();
        return false;
    }
    for (const Waiting& round : waitingRounds(settings.folder)) {  // not confirmed yet
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
    const std::string path = settings.folder + "/" + SolrindPHighscore::kFileName;
    std::string now, why;
    gnReadFile(path.c_str(), SolrindPHighscore::kFileSize, now, why);
    if (now == std::string(reinterpret_cast<char*>(bytes), sizeof bytes))
        return true;  // the file stays as it is
    if (!gnReplaceFile(path.c_str(), bytes, sizeof bytes)) {
        trouble = "cannot write " + path + " (" + strerror(errno) + ")";
        return false;
    }
    return true;
}

int Sync::failed(const std::string& why) {
    wait = std::min(kMostSeconds, wait == 0 ? 1 : wait * 2);
    if (why != said)
        printf("solrind-sync: %s: the rounds wait on the kiosk, tried again in %d s\n", why.c_str(),
               wait);
    said = why;
    return wait;
}
