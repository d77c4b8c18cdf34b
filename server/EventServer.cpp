#include "EventServer.h"

#include <httplib.h>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <pqxx/pqxx>

#include "EventStore.h"
#include "Replay.h"
#include "RoundCheck.h"
#include "RoundFile.h"

namespace {

using Json = nlohmann::json;

constexpr size_t kMaxBody = roundfile::kMaxBytes;
constexpr size_t kMaxBuckets = 100000;  // forgotten when full: a flood of addresses costs no memory
constexpr int kTimeoutSeconds = 10;
constexpr size_t kThreads = 32;

int64_t nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void answer(httplib::Response& response, int status, const Json& body) {
    response.status = status;
    response.set_content(body.dump() + "\n", "application/json");
}

// The refusal's answer, and its line, printed before the answer leaves.
void refuse(const httplib::Request& request, httplib::Response& response, int status,
            const std::string& why) {
    printf("refused %s %s %s: %d %s\n", request.remote_addr.c_str(), request.method.c_str(),
           request.path.c_str(), status, why.c_str());
    fflush(stdout);
    answer(response, status, Json{{"error", why}});
}

// The answer to a verified round's keeping: 201 kept, 200 kept before, 409 when another round
// has its id (why says how that reads).
void answerKept(const httplib::Request& request, httplib::Response& response, EventStore::Kept kept,
                const std::string& id, const std::string& why) {
    if (kept == EventStore::kOther)
        return refuse(request, response, 409, why);
    const bool now = kept == EventStore::kNew;
    answer(response, now ? 201 : 200, Json{{"id", id}, {"kept", now ? "new" : "before"}});
}

// A day as the tables take it: "today" or a real date, YYYY-MM-DD.
bool isDay(const std::string& day) {
    if (day == "today")
        return true;
    tm date = {};
    const char* end = strptime(day.c_str(), "%Y-%m-%d", &date);
    if (day.size() != 10 || end != day.c_str() + day.size())
        return false;
    tm normal = date;  // 2026-02-30 would become 2026-03-02
    timegm(&normal);
    return normal.tm_mday == date.tm_mday && normal.tm_mon == date.tm_mon;
}

// A time as a certificate shows it: 00:00 to 59:59.
bool isTime(const std::string& text) {
    return text.size() == 5 && isdigit(static_cast<unsigned char>(text[0])) && text[0] <= '5' &&
           isdigit(static_cast<unsigned char>(text[1])) && text[2] == ':' &&
           isdigit(static_cast<unsigned char>(text[3])) && text[3] <= '5' &&
           isdigit(static_cast<unsigned char>(text[4]));
}

// The store of the thread serving a request: a connection of its own, made again after the
// database went away.
std::unique_ptr<EventStore>& threadStore() {
    thread_local std::unique_ptr<EventStore> store;
    return store;
}

// Runs a request's work on the thread's store; a database that cannot be reached is a 503 the
// kiosk retries, any other fault a 500 with its first line.
void withStore(const std::string& conninfo, const httplib::Request& request,
               httplib::Response& response, const std::function<void(EventStore&)>& work) {
    std::unique_ptr<EventStore>& store = threadStore();
    try {
        if (!store)
            store = std::make_unique<EventStore>(conninfo);
        work(*store);
    } catch (const pqxx::broken_connection&) {
        store.reset();
        refuse(request, response, 503, "the database cannot be reached");
    } catch (const std::exception& error) {
        store.reset();
        const std::string what = error.what();
        refuse(request, response, 500, "the database failed: " + what.substr(0, what.find('\n')));
    }
}

}  // namespace

bool RateLimit::take(const std::string& key, int64_t now) {
    std::lock_guard<std::mutex> hold(lock);
    if (buckets.size() >= kMaxBuckets && !buckets.count(key))
        buckets.clear();
    Bucket& bucket = buckets.emplace(key, Bucket{burst, now}).first->second;
    bucket.tokens = std::min(burst, bucket.tokens + (now - bucket.at) * rate / 1000.0);
    bucket.at = now;
    if (bucket.tokens < 1)
        return false;
    bucket.tokens -= 1;
    return true;
}

EventServer::EventServer(const ServerSettings& settings)
    : settings(settings),
      http(std::make_unique<httplib::Server>()),
      byKiosk(settings.kioskRate, settings.kioskBurst),
      byAddress(settings.addressRate, settings.addressBurst),
      byWebsite(settings.websiteRate, settings.websiteBurst) {
    http->set_payload_max_length(kMaxBody);
    http->set_tcp_nodelay(true);  // an answer leaves at once, not after the peer's delayed ack
    // Threads enough that deliveries waiting on their commit keep the cores verifying others.
    http->new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
    http->set_read_timeout(kTimeoutSeconds, 0);
    http->set_write_timeout(kTimeoutSeconds, 0);
    const auto route =
        [this](void (EventServer::*handler)(const httplib::Request&, httplib::Response&)) {
            return [this, handler](const httplib::Request& request, httplib::Response& response) {
                (this->*handler)(request, response);
            };
        };
    http->Post("/api/rounds", route(&EventServer::deliver));
    http->Get("/api/best", route(&EventServer::best));
    http->Get("/api/numbers", route(&EventServer::numbers));
    http->Get("/api/kiosks", route(&EventServer::kiosks));
    http->Post("/api/seeds", route(&EventServer::issueSeed));
    http->Post("/api/website/rounds", route(&EventServer::deliverWebsite));
    http->Get("/api/round", route(&EventServer::round));
    http->Get("/api/round.svg", route(&EventServer::roundQr));
    if (!settings.page.empty() && !http->set_mount_point("/", settings.page))
        printf("solrind-server: no event page: %s is no folder\n", settings.page.c_str());
    if (!settings.site.empty() && !http->set_mount_point("/play", settings.site))
        printf("solrind-server: no website game: %s is no folder\n", settings.site.c_str());
    http->set_error_handler([](const httplib::Request& request, httplib::Response& response) {
        const bool form =
            request.get_header_value("Content-Type").find("form") != std::string::npos;
        if (response.body.empty())
            refuse(request, response, response.status,
                   response.status == 413 && form
                       ? "a form's body is at most 8192 bytes: send a round as application/json"
                   : response.status == 413 ? "the body is larger than 1048576 bytes"
                   : response.status == 404 ? "there is no such page"
                                            : "the request cannot be served");
    });
}

EventServer::~EventServer() = default;

int EventServer::bind(const std::string& host, int port) {
    if (port == 0)
        return http->bind_to_any_port(host.c_str());
    return http->bind_to_port(host.c_str(), port) ? port : -1;
}

void EventServer::run() {
    http->listen_after_bind();
}

void EventServer::stop() {
    http->stop();
}

void EventServer::deliver(const httplib::Request& request, httplib::Response& response) {
    if (!byAddress.take(request.remote_addr, nowMs()))
        return refuse(request, response, 429, "too many requests from this address");
    const std::string bearer = "Bearer ";
    const std::string authorization = request.get_header_value("Authorization");
    const std::string token = authorization.compare(0, bearer.size(), bearer) == 0
                                  ? authorization.substr(bearer.size())
                                  : "";
    withStore(settings.conninfo, request, response, [&](EventStore& store) {
        std::string kiosk;
        const int kioskId = token.empty() ? -1 : store.kioskOf(token, kiosk);
        if (kioskId < 0)
            return refuse(request, response, 401, "no such kiosk token");
        if (!byKiosk.take(kiosk, nowMs()))
            return refuse(request, response, 429, "too many rounds from kiosk " + kiosk);
        RoundRecord round;
        std::string why;
        if (!roundfile::parse(request.body, round, why))
            return refuse(request, response, 400, "kiosk " + kiosk + ": not a round: " + why);
        why = Replay().verify(round);
        if (!why.empty())
            return refuse(request, response, 422,
                          "kiosk " + kiosk + ", round " + round.id + ": not verified: " + why);
        answerKept(request, response, store.keep(round, kioskId, request.body), round.id,
                   "kiosk " + kiosk + ": another round has the id " + round.id);
    });
}

void EventServer::best(const httplib::Request& request, httplib::Response& response) {
    const std::string day = request.get_param_value("day");
    const std::string kiosk = request.get_param_value("kiosk");
    if (!day.empty() && !isDay(day))
        return refuse(request, response, 400, "day is no date such as 2026-12-07, nor today");
    withStore(settings.conninfo, request, response, [&](EventStore& store) {
        answer(response, 200, Json{{"best", store.best(day, kiosk)}});
    });
}

void EventServer::numbers(const httplib::Request& request, httplib::Response& response) {
    const std::string day = request.has_param("day") ? request.get_param_value("day") : "today";
    if (!isDay(day))
        return refuse(request, response, 400, "day is no date such as 2026-12-07, nor today");
    withStore(settings.conninfo, request, response,
              [&](EventStore& store) { answer(response, 200, store.numbers(day)); });
}

void EventServer::kiosks(const httplib::Request& request, httplib::Response& response) {
    withStore(settings.conninfo, request, response, [&](EventStore& store) {
        answer(response, 200, Json{{"kiosks", store.kiosks()}});
    });
}

void EventServer::issueSeed(const httplib::Request& request, httplib::Response& response) {
    if (!byWebsite.take(request.remote_addr, nowMs()))
        return refuse(request, response, 429, "too many seeds and rounds from this address");
    withStore(settings.conninfo, request, response, [&](EventStore& store) {
        const EventStore::Issued issued = store.issueSeed(request.remote_addr);
        answer(response, 201, Json{{"id", issued.id}, {"seed", issued.seed}});
    });
}

void EventServer::deliverWebsite(const httplib::Request& request, httplib::Response& response) {
    if (!byWebsite.take(request.remote_addr, nowMs()))
        return refuse(request, response, 429, "too many seeds and rounds from this address");
    RoundRecord round;
    std::string why;
    if (!roundfile::parse(request.body, round, why))
        return refuse(request, response, 400, "the website: not a round: " + why);
    withStore(settings.conninfo, request, response, [&](EventStore& store) {
        const std::string where = "the website, round " + round.id + ": ";
        why = store.checkIssued(round);
        if (!why.empty())
            return refuse(request, response, 422, where + "not counted: " + why);
        why = Replay().verify(round);
        if (!why.empty())
            return refuse(request, response, 422, where + "not verified: " + why);
        answerKept(request, response, store.keepWebsite(round, request.body), round.id,
                   where + "its seed was used already by another round");
    });
}

void EventServer::round(const httplib::Request& request, httplib::Response& response) {
    if (!byAddress.take(request.remote_addr, nowMs()))  // each answer replays the round
        return refuse(request, response, 429, "too many requests from this address");
    const std::string code = request.get_param_value("code");
    const std::string key = roundfile::codeKey(code);
    const std::string time = request.get_param_value("time");
    if (key.empty() || (!time.empty() && !isTime(time)))
        return refuse(request, response, 400,
                      "code or time is no round's such as 3F2A-91B0-C4D2 and 01:22");
    withStore(settings.conninfo, request, response, [&](EventStore& store) {
        RoundRecord found;
        std::string kiosk;
        bool website = false;
        if (!store.roundByCode(key, found, kiosk, website))
            return refuse(request, response, 404,
                          "no round of the event has the code " + roundfile::code(key));
        char shown[8];
        snprintf(shown, sizeof shown, "%02d:%02d", found.minutes, found.seconds);
        // Replayed again now: the page says what the replay shows, not what was once stored.
        const std::string why = Replay().verify(found);
        answer(response, 200,
               Json{{"code", roundfile::code(found.id)},
                    {"time", shown},
                    {"completed", found.completed},
                    {"started", found.started},
                    {"kiosk", kiosk},
                    {"website", website},
                    {"name", found.name},
                    {"verified", why.empty()},
                    {"why", why},
                    {"matches", time.empty() || time == shown}});
    });
}

void EventServer::roundQr(const httplib::Request& request, httplib::Response& response) {
    if (!byAddress.take(request.remote_addr, nowMs()))
        return refuse(request, response, 429, "too many requests from this address");
    const std::string key = roundfile::codeKey(request.get_param_value("code"));
    const std::string time = request.get_param_value("time");
    if (key.empty() || (!time.empty() && !isTime(time)))
        return refuse(request, response, 400,
                      "code or time is no round's such as 3F2A-91B0-C4D2 and 01:22");
    const std::string host = request.get_header_value("Host");
    const std::string page = !settings.publicUrl.empty() ? settings.publicUrl : "http://" + host;
    const QrCode code = encodeQr(roundAddress(page, key, time));
    if (code.size == 0)
        return refuse(request, response, 400, "the round's address is too long for a QR code");
    response.set_content(qrSvg(code, "#000"), "image/svg+xml");
}
