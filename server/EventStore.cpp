#include "EventStore.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <pqxx/pqxx>

#include "Migrations.h"
#include "RoundFile.h"

namespace {

constexpr int kTokenBytes = 32;
constexpr long kMigrationLock = 73217;  // one server migrates at a time
constexpr int kSpreadStep = 15;         // seconds
constexpr int kSeeds = 10000;           // a round's seed is 0 to 9999
constexpr int kFrameMs = 40;            // a frame of real time at 25 frames a second

// A round started on the day $1 (a date or 'today') in the server's time zone: a range of the
// start, which its index serves.
constexpr const char* kOnDay =
    "r.started >= $1::date::timestamptz AND r.started < ($1::date + 1)::timestamptz";

std::string timeText(int seconds) {
    char text[16];
    snprintf(text, sizeof text, "%02d:%02d", seconds / 60, seconds % 60);
    return text;
}

}  // namespace

struct EventStore::Connection {
    explicit Connection(const std::string& conninfo) : db(conninfo) {}
    pqxx::connection db;
};

EventStore::EventStore(const std::string& conninfo)
    : connection(std::make_unique<Connection>(conninfo)) {}

EventStore::~EventStore() = default;

std::vector<int> EventStore::migrate() {
    std::vector<int> applied;
    for (const Migration& migration : kMigrations) {
        pqxx::work work(connection->db);
        work.exec_params("SELECT pg_advisory_xact_lock($1)", kMigrationLock);
        work.exec(
            "CREATE TABLE IF NOT EXISTS schema_migrations (number integer PRIMARY KEY, "
            "file text NOT NULL, applied timestamptz NOT NULL DEFAULT now())");
        if (!work.exec_params("SELECT 1 FROM schema_migrations WHERE number = $1", migration.number)
                 .empty())
            continue;  // the work ends without a change
        work.exec(migration.sql);
        work.exec_params("INSERT INTO schema_migrations (number, file) VALUES ($1, $2)",
                         migration.number, std::string(migration.file));
        work.commit();
        applied.push_back(migration.number);
    }
    return applied;
}

namespace {

// Random bytes as hexadecimal digits, two a byte; with a number drawn beside them.
std::string randomHex(size_t bytes, uint32_t* number = nullptr) {
    std::vector<unsigned char> drawn(bytes + sizeof(uint32_t));
    if (getentropy(drawn.data(), drawn.size()) != 0)
        throw std::runtime_error("no random bytes");
    std::string text;
    for (size_t i = 0; i < bytes; ++i) {
        char hex[3];
        snprintf(hex, sizeof hex, "%02x", drawn[i]);
        text += hex;
    }
    if (number)
        memcpy(number, drawn.data() + bytes, sizeof *number);
    return text;
}

}  // namespace

std::string EventStore::addKiosk(const std::string& name) {
    const std::string token = randomHex(kTokenBytes);
    pqxx::work work(connection->db);
    const pqxx::result added = work.exec_params(
        "INSERT INTO kiosks (name, token_hash) SELECT $1, sha256(convert_to($2, 'UTF8')) "
        "WHERE $1 ~ '^[!-~]{1,64}$' ON CONFLICT (name) DO NOTHING",
        name, token);
    work.commit();
    return added.affected_rows() == 1 ? token : "";
}

nlohmann::json EventStore::kiosks() {
    pqxx::read_transaction work(connection->db);
    nlohmann::json list = nlohmann::json::array();
    for (const auto& row : work.exec(
             "SELECT k.name, count(r.id) FROM kiosks k LEFT JOIN rounds r ON r.kiosk_id = k.id "
             "GROUP BY k.id ORDER BY k.id"))
        list.push_back({{"kiosk", row[0].as<std::string>()}, {"rounds", row[1].as<int64_t>()}});
    return list;
}

int EventStore::kioskOf(const std::string& token, std::string& name) {
    pqxx::read_transaction work(connection->db);
    const pqxx::result found = work.exec_params(
        "SELECT id, name FROM kiosks WHERE token_hash = sha256(convert_to($1, 'UTF8'))", token);
    if (found.empty())
        return -1;
    name = found[0][1].as<std::string>();
    return found[0][0].as<int>();
}

EventStore::Kept EventStore::keep(const RoundRecord& round, int kioskId, const std::string& file) {
    pqxx::work work(connection->db);
    const pqxx::result inserted = work.exec_params(
        "INSERT INTO rounds (id, kiosk_id, started, library, seed, frames, completed, seconds, "
        "record, name, file) VALUES ($1, $2, $3::timestamptz, $4, $5, $6, $7, $8, $9, $10, $11) "
        "ON CONFLICT (id) DO NOTHING",
        round.id, kioskId, round.started, round.library, static_cast<int64_t>(round.seed),
        round.frames, round.completed, round.minutes * 60 + round.seconds, round.record, round.name,
        file);
    if (inserted.affected_rows() == 1) {
        work.commit();
        return kNew;
    }
    const pqxx::result kept =
        work.exec_params("SELECT 1 FROM rounds WHERE id = $1 AND kiosk_id = $2 AND file = $3",
                         round.id, kioskId, file);
    return kept.empty() ? kOther : kAgain;
}

EventStore::Issued EventStore::issueSeed(const std::string& address) {
    uint32_t number = 0;
    const Issued issued = {randomHex(kTokenBytes / 2, &number), static_cast<int>(number % kSeeds)};
    pqxx::work work(connection->db);
    work.exec_params("INSERT INTO seeds (id, seed, address) VALUES ($1, $2, $3)", issued.id,
                     issued.seed, address);
    work.commit();
    return issued;
}

std::string EventStore::checkIssued(const RoundRecord& round) {
    pqxx::read_transaction work(connection->db);
    const pqxx::result found = work.exec_params(
        "SELECT seed, (extract(epoch FROM clock_timestamp() - issued) * 1000)::bigint FROM seeds "
        "WHERE id = $1",
        round.id);
    if (found.empty())
        return "no seed was issued for it";
    const int seed = found[0][0].as<int>();
    if (static_cast<uint32_t>(seed) != round.seed)
        return "it was issued seed " + std::to_string(seed) + ", not " + std::to_string(round.seed);
    const int64_t took = found[0][1].as<int64_t>();
    const int64_t least = static_cast<int64_t>(round.frames) * kFrameMs;
    if (took < least) {
        char why[160];
        snprintf(why, sizeof why,
                 "it came %.1f s after its seed was issued, its %d frames take %.1f s: faster than "
                 "real time",
                 took / 1000.0, round.frames, least / 1000.0);
        return why;
    }
    return "";
}

EventStore::Kept EventStore::keepWebsite(const RoundRecord& round, const std::string& file) {
    pqxx::read_transaction work(connection->db);
    const int website = work.exec1("SELECT id FROM kiosks WHERE website")[0].as<int>();
    work.commit();
    return keep(round, website, file);
}

bool EventStore::roundByCode(const std::string& key, RoundRecord& round, std::string& kiosk,
                             bool& website) {
    pqxx::read_transaction work(connection->db);
    const pqxx::result found = work.exec_params(
        "SELECT r.file, k.name, k.website FROM rounds r JOIN kiosks k ON k.id = r.kiosk_id "
        "WHERE left(r.id, 12) = $1 ORDER BY r.received LIMIT 1",
        key);
    if (found.empty())
        return false;
    std::string why;
    if (!roundfile::parse(found[0][0].as<std::string>(), round, why))
        throw std::runtime_error("the kept round " + key + " is no round: " + why);
    kiosk = found[0][1].as<std::string>();
    website = found[0][2].as<bool>();
    return true;
}

nlohmann::json EventStore::best(const std::string& day, const std::string& kiosk) {
    pqxx::read_transaction work(connection->db);
    const pqxx::result rows = work.exec_params(
        std::string("SELECT r.name, r.seconds, k.name, "
                    "to_char(r.started AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS\"Z\"'), "
                    "k.website "
                    "FROM rounds r JOIN kiosks k ON k.id = r.kiosk_id WHERE r.completed "
                    "AND ($2 = '' OR k.name = $2) AND ") +
            (day.empty() ? "$1 = ''" : kOnDay) +
            " "
            "ORDER BY r.seconds, r.started, r.id LIMIT 10",
        day, kiosk);
    nlohmann::json table = nlohmann::json::array();
    int rank = 0;
    for (const auto& row : rows)
        table.push_back({{"rank", ++rank},
                         {"name", row[0].as<std::string>()},
                         {"time", timeText(row[1].as<int>())},
                         {"kiosk", row[2].as<std::string>()},
                         {"website", row[4].as<bool>()},
                         {"started", row[3].as<std::string>()}});
    return table;
}

nlohmann::json EventStore::numbers(const std::string& day) {
    pqxx::read_transaction work(connection->db);
    nlohmann::json hours = nlohmann::json::array();
    for (int hour = 0; hour < 24; ++hour)
        hours.push_back({{"hour", hour}, {"rounds", 0}, {"completed", 0}});
    int64_t rounds = 0, completed = 0;
    for (const auto& row :
         work.exec_params(std::string("SELECT extract(hour FROM r.started AT TIME ZONE "
                                      "current_setting('TimeZone'))::int, count(*), "
                                      "count(*) FILTER (WHERE r.completed) FROM rounds r WHERE ") +
                              kOnDay + " GROUP BY 1",
                          day)) {
        nlohmann::json& hour = hours[row[0].as<size_t>()];
        hour["rounds"] = row[1].as<int64_t>();
        hour["completed"] = row[2].as<int64_t>();
        rounds += row[1].as<int64_t>();
        completed += row[2].as<int64_t>();
    }
    nlohmann::json spread = nlohmann::json::array();
    for (const auto& row : work.exec_params(
             std::string("SELECT r.seconds / $2 * $2, count(*) FROM rounds r WHERE r.completed "
                         "AND ") +
                 kOnDay + " GROUP BY 1 ORDER BY 1",
             day, kSpreadStep))
        spread.push_back({{"from", timeText(row[0].as<int>())},
                          {"to", timeText(row[0].as<int>() + kSpreadStep - 1)},
                          {"rounds", row[1].as<int64_t>()}});
    return {{"day", work.exec_params1("SELECT $1::date::text", day)[0].as<std::string>()},
            {"rounds", rounds},
            {"completed", completed},
            {"share", rounds ? static_cast<double>(completed) / rounds : 0.0},
            {"hours", hours},
            {"spread", spread}};
}
