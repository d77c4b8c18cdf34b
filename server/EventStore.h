// The event in PostgreSQL: the schema's migrations, the kiosks and their tokens (only their
// hashes are kept), the rounds, and the tables and numbers the event shows. Every statement
// takes its values as parameters. One store is one connection: a thread keeps its own.
#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "Round.h"

class EventStore {
  public:
    // Connects (conninfo as libpq reads it: "host=... port=... dbname=..." or a URI); throws
    // pqxx::broken_connection when it cannot.
    explicit EventStore(const std::string& conninfo);
    ~EventStore();

    // Applies the migrations the database lacks, in order, each in its own transaction, one
    // server at a time; the numbers applied.
    std::vector<int> migrate();

    // A new kiosk: its token (64 hexadecimal digits), to be shown once; "" when the name is
    // taken or is no name (1 to 64 printable characters, no space).
    std::string addKiosk(const std::string& name);
    // The kiosks' names with their rounds, in the order they were added.
    nlohmann::json kiosks();
    // The kiosk a token is, or -1; its name in `name`.
    int kioskOf(const std::string& token, std::string& name);

    enum Kept { kNew, kAgain, kOther };  // kOther: another round has this id
    // Keeps a verified round of the kiosk with its file; a second delivery of the same round
    // changes nothing.
    Kept keep(const RoundRecord& round, int kioskId, const std::string& file);

    // A seed for a round on the website: a new round id and a seed from 0 to 9999, both drawn
    // at random, noted with the time and the address they were issued to.
    struct Issued {
        std::string id;
        int seed;
    };
    Issued issueSeed(const std::string& address);
    // Whether a website's round may count: "" when its seed was issued under its id and it
    // took at least its frames' real time since; else why not, one line.
    std::string checkIssued(const RoundRecord& round);
    // Keeps a verified round of the website, as keep does for a kiosk's.
    Kept keepWebsite(const RoundRecord& round, const std::string& file);
    // The round a certificate's code (the id's first 12 digits) names: its record and kiosk
    // ("the website" for the site's); false when there is none.
    bool roundByCode(const std::string& key, RoundRecord& round, std::string& kiosk, bool& website);

    // The ten best completed rounds, best first (equal times: the earlier first): of the event,
    // of one day (YYYY-MM-DD in the server's time zone) or of one kiosk. Each: rank, name,
    // time, kiosk, website (whether the website's), started.
    nlohmann::json best(const std::string& day = "", const std::string& kiosk = "");
    // The sponsor's numbers: rounds and completed rounds, each hour of the day, and the spread
    // of completed times in 15-second steps.
    nlohmann::json numbers(const std::string& day);

  private:
    struct Connection;
    std::unique_ptr<Connection> connection;
};
