#include "EventStore.h"

#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <pqxx/pqxx>

#include "Migrations.h"

namespace {

constexpr int kTokenBytes = 32;
constexpr long kMigrationLock = 73217;  // one server migrates at a time
constexpr int kSpreadStep = 15;         // seconds

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

std::string EventStore::addKiosk(const std::string& name) {
    unsigned char bytes[kTokenBytes];
    if (getentropy(bytes, sizeof bytes) != 0)
        throw std::runtime_error("no random bytes for a token");
    std::string token;
    for (const unsigned char b : bytes) {
        char hex[3];
        snprintf(hex, sizeof hex, "%02x", b);
        token += hex;
    }
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

nlohmann::json EventStore::best(const std::string& day, const std::string& kiosk) {
    pqxx::read_transaction work(connection->db);
    const pqxx::result rows = work.exec_params(
        std::string("SELECT r.name, r.seconds, k.name, "
                    "to_char(r.started AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS\"Z\"') "
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
