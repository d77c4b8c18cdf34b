#include "Sync.h"

#include <sys/stat.h>
#include <unistd.h>

#include <httplib.h>
#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>

#include "RoundFile.h"
#include "gnFiles.h"

namespace {

using Json = nlohmann::json;

constexpr int kTimeoutSeconds = 10;
constexpr const char* kRefusedFolder = "Save/Rounds.refused";

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

}  // namespace

Sync::Sync(const SyncSettings& settings)
    : settings(settings), client(std::make_unique<httplib::Client>(settings.server)) {
    client->set_connection_timeout(kTimeoutSeconds, 0);
    client->set_read_timeout(kTimeoutSeconds, 0);
    client->set_write_timeout(kTimeoutSeconds, 0);
    client->set_bearer_token_auth(settings.token.c_str());
}

Sync::~Sync() = default;

int Sync::pass() {
    for (const WaitingRound& round : waitingRounds(settings.folder))
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
    trouble = writeEventTable(answer->body, settings.folder);
    return trouble.empty();
}

int Sync::failed(const std::string& why) {
    wait = std::min(kMostSeconds, wait == 0 ? 1 : wait * 2);
    if (why != said)
        printf("solrind-sync: %s: the rounds wait on the kiosk, tried again in %d s\n", why.c_str(),
               wait);
    said = why;
    return wait;
}
