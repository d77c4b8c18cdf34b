// The event server on a real PostgreSQL: migrations once, tokens kept only as hashes, rounds
// kept once each after their replay, every refusal with its status and line, the tables and
// numbers, and a database that goes away and comes back.
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <pqxx/pqxx>
#include <thread>

#include "Bot.h"
#include "EventServer.h"
#include "EventStore.h"
#include "Files.h"
#include "Postgres.h"
#include "RoundFile.h"
#include "Sync.h"

namespace {

using Json = nlohmann::json;

// Round files of a bot, completed or given up, with ids of the test's choosing.
std::string botRound(Bot::Style style, uint32_t seed, const std::string& id) {
    Bot bot(style, seed);
    BareRound bare;
    bot.play(bare, seed, 25 * 200);
    RoundRecord& record = bare.round.record;
    roundfile::stamp(record);
    record.id = id;
    return roundfile::format(record);
}
std::string botRound(Bot::Style style, uint32_t seed, int n) {
    return botRound(style, seed, std::string(31, 'a') + static_cast<char>('0' + n));
}

class EventTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(pg.conninfo.empty()) << pg.why;
        EventStore(pg.conninfo).migrate();
    }
    void serve(const ServerSettings& given, int at = 0) {
        ServerSettings settings = given;
        settings.conninfo = pg.conninfo;
        server = std::make_unique<EventServer>(settings);
        port = server->bind("127.0.0.1", at);
        ASSERT_GT(port, 0);
        serving = std::thread([this] { server->run(); });
        client = std::make_unique<httplib::Client>("127.0.0.1", port);
    }
    void TearDown() override {
        if (server)
            server->stop();
        if (serving.joinable())
            serving.join();
    }
    // The status and the body's error (or its whole body) of a delivery.
    std::string deliver(const std::string& token, const std::string& body,
                        const char* path = "/api/rounds") {
        const auto result =
            client->Post(path, {{"Authorization", "Bearer " + token}}, body, "application/json");
        if (!result)
            return "no answer";
        const Json json = Json::parse(result->body);
        return std::to_string(result->status) + " " +
               (json.contains("error") ? json["error"].get<std::string>() : json.dump());
    }
    Json get(const std::string& path) {
        const auto result = client->Get(path.c_str());
        return result ? Json::parse(result->body) : Json();
    }

    Postgres pg;
    int port = 0;
    std::unique_ptr<EventServer> server;
    std::thread serving;
    std::unique_ptr<httplib::Client> client;
};

}  // namespace

TEST_F(EventTest, MigrationsOnceAndTokensOnlyAsHashes) {
    std::vector<std::thread> servers;  // several servers starting at once
    for (int i = 0; i < 3; ++i)
        servers.emplace_back([this] { EXPECT_EQ(EventStore(pg.conninfo).migrate().size(), 0u); });
    for (std::thread& s : servers)
        s.join();
    EventStore store(pg.conninfo);
    const std::string token = store.addKiosk("stand-1");
    EXPECT_EQ(token.size(), 64u);
    EXPECT_EQ(token.find_first_not_of("0123456789abcdef"), std::string::npos);
    for (const char* name : {"stand-1", "", "two words", "a\nb", "x' OR '1'='1 --"})
        EXPECT_EQ(store.addKiosk(name), "") << name;
    std::string name;
    EXPECT_EQ(store.kioskOf(token, name), 2);  // the website's row is the first
    EXPECT_EQ(name, "stand-1");
    EXPECT_EQ(store.kioskOf(token.substr(1), name), -1);
    pqxx::connection db(pg.conninfo);
    pqxx::work work(db);
    EXPECT_EQ(work.exec1("SELECT string_agg(file, ' ' ORDER BY number) FROM schema_migrations")[0]
                  .as<std::string>(),
              "001_event.sql 002_best_order.sql 003_website.sql");
    EXPECT_EQ(store.kioskOf("", name), -1);  // the website's empty hash is no token's
    const pqxx::row kiosk = work.exec1("SELECT encode(token_hash, 'hex') FROM kiosks WHERE id = 2");
    EXPECT_EQ(kiosk[0].as<std::string>().size(), 64u);
    EXPECT_NE(kiosk[0].as<std::string>(), token);  // a digest of it, not the token
}

TEST_F(EventTest, RoundsKeptOnceAfterTheirReplayAndEveryRefusalSaid) {
    ServerSettings settings;
    settings.kioskBurst = 7;  // an eighth round from a kiosk is one too many
    settings.kioskRate = 0.001;
    serve(settings);
    EventStore store(pg.conninfo);
    const std::string one = store.addKiosk("stand-1"), two = store.addKiosk("stand-2");
    const std::string completed = botRound(Bot::kPlanned, 11, 1);
    Json forged = Json::parse(completed);
    forged["time"] = "00:09";
    Json reseeded = Json::parse(completed);
    reseeded["seed"] = reseeded["seed"].get<int>() + 1;  // a replay of another seed
    Json renamed = Json::parse(completed);
    renamed["kiosk"] = "elsewhere";  // still a true round, but not the one kept under its id
    Capture said;
    EXPECT_EQ(deliver(one, completed),
              R"(201 {"id":"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa1","kept":"new"})");
    EXPECT_EQ(deliver(one, completed),
              R"(200 {"id":"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa1","kept":"before"})");
    EXPECT_EQ(deliver(one, botRound(Bot::kRandom, 12, 2)).substr(0, 4), "201 ");
    EXPECT_EQ(deliver(two, renamed.dump()),
              "409 kiosk stand-2: another round has the id aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa1");
    EXPECT_EQ(deliver(two, forged.dump()),
              "422 kiosk stand-2, round aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa1: not verified: the clock "
              "shows 01:22, recorded 00:09 at frame 2191");
    const std::string another = deliver(two, reseeded.dump());
    EXPECT_EQ(another.substr(0, another.find("(digest")),
              "422 kiosk stand-2, round aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa1: not verified: move 1 "
              "at frame 1 (00:00), release: the round before it is not as recorded ");
    EXPECT_EQ(deliver(one + "0", completed), "401 no such kiosk token");
    EXPECT_EQ(deliver(two, "{\"round\":1}"), "400 kiosk stand-2: not a round: it has no \"id\"");
    EXPECT_EQ(deliver(two, std::string(10 << 20, ' ')),
              "413 the body is larger than 1048576 bytes");
    for (int i = 0; i < 3; ++i)
        deliver(two, "{}");
    EXPECT_EQ(deliver(two, "{}"), "429 too many rounds from kiosk stand-2");
    const std::string lines = said.finish();
    EXPECT_EQ(lines.substr(0, lines.find('\n', lines.find("422 ")) + 1),
              "refused 127.0.0.1 POST /api/rounds: 409 kiosk stand-2: another round has the id "
              "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa1\n"
              "refused 127.0.0.1 POST /api/rounds: 422 kiosk stand-2, round "
              "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa1: not verified: the clock shows 01:22, recorded "
              "00:09 at frame 2191\n");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 10) << lines;  // one a refusal
    // The tables: the completed round alone, of the event, of today, of its kiosk; the numbers.
    const Json best = get("/api/best")["best"];
    ASSERT_EQ(best.size(), 1u);
    EXPECT_EQ(join(best[0]["rank"], best[0]["time"], best[0]["kiosk"]), "1 \"01:22\" \"stand-1\"");
    EXPECT_EQ(get("/api/best?day=today")["best"], best);
    EXPECT_EQ(get("/api/best?kiosk=stand-2")["best"], Json::array());
    EXPECT_EQ(get("/api/best?kiosk=x'%20OR%20'1'='1")["best"], Json::array());
    EXPECT_EQ(get("/api/best?day=2026-02-30")["error"],
              "day is no date such as 2026-12-07, nor today");
    const Json numbers = get("/api/numbers");
    EXPECT_EQ(join(numbers["rounds"], numbers["completed"], numbers["share"]), "2 1 0.5");
    EXPECT_EQ(numbers["spread"], Json::parse(R"([{"from":"01:15","rounds":1,"to":"01:29"}])"));
    EXPECT_EQ(get("/api/kiosks")["kiosks"],
              Json::parse(R"([{"kiosk":"the website","rounds":0},{"kiosk":"stand-1","rounds":2},)"
                          R"({"kiosk":"stand-2","rounds":0}])"));
}

// The database stopped: a delivery is told to come again (503), and is kept once it is back.
TEST_F(EventTest, ADatabaseThatGoesAwayAndComesBack) {
    serve(ServerSettings());
    const std::string token = EventStore(pg.conninfo).addKiosk("stand-1");
    EXPECT_EQ(deliver(token, botRound(Bot::kRandom, 3, 1)).substr(0, 4), "201 ");
    ASSERT_TRUE(pg.stop());
    Capture said;
    const std::string round = botRound(Bot::kRandom, 4, 2);
    EXPECT_EQ(deliver(token, round), "503 the database cannot be reached");
    EXPECT_EQ(said.finish(),
              "refused 127.0.0.1 POST /api/rounds: 503 the database cannot be reached\n");
    ASSERT_TRUE(pg.start());
    EXPECT_EQ(deliver(token, round).substr(0, 4), "201 ");
    EXPECT_EQ(get("/api/kiosks")["kiosks"][1]["rounds"], 2);
}

// A kiosk in the event: its rounds delivered and removed, a forged one set aside, the event's
// table as its own; the server away: the files wait, tries further apart, one line; a round
// the server kept but whose confirmation was lost: removed, kept once.
// PostgreSQL killed during a burst of deliveries from three kiosks, and a database that refuses
// to write (as on a full disk): each delivery tried again until it is kept, every round kept
// once, none half.
TEST_F(EventTest, DeliveriesThroughACrashAndRefusedWrites) {
    serve(ServerSettings());
    std::vector<std::string> tokens, rounds;
    for (const char* kiosk : {"stand-1", "stand-2", "stand-3"})
        tokens.push_back(EventStore(pg.conninfo).addKiosk(kiosk));
    for (int n = 0; n < 30; ++n) {
        Json round = Json::parse(botRound(Bot::kRandom, static_cast<uint32_t>(n), 0));
        round["id"] = std::string(30, 'b') + static_cast<char>('a' + n / 10) +
                      static_cast<char>('0' + n % 10);
        rounds.push_back(round.dump());
    }
    Capture quiet;  // the refusals' lines
    std::atomic<int> kept{0}, retried{0}, sent{0};
    std::vector<std::thread> kiosks;
    for (int k = 0; k < 3; ++k)
        kiosks.emplace_back([&, k] {
            httplib::Client own("127.0.0.1", port);
            for (int n = k; n < 30; n += 3) {
                for (int tries = 0; tries < 300; ++tries, ++retried) {
                    const auto answer =
                        own.Post("/api/rounds", {{"Authorization", "Bearer " + tokens[k]}},
                                 rounds[n], "application/json");
                    if (answer && (answer->status == 201 || answer->status == 200)) {
                        ++kept;
                        break;
                    }
                    usleep(20000);
                }
                ++sent;
            }
        });
    const auto until = [&](int count) {
        for (int i = 0; i < 1000 && sent < count; ++i)
            usleep(5000);
    };
    until(6);
    pg.kill();
    usleep(300000);
    EXPECT_TRUE(pg.start());
    until(18);
    pqxx::connection admin(pg.conninfo);  // inserts fail as on a full disk, for a while
    pqxx::nontransaction(admin).exec(
        "CREATE FUNCTION full_disk() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE "
        "EXCEPTION 'could not extend file: No space left on device'; END $$; CREATE TRIGGER "
        "full_disk BEFORE INSERT ON rounds FOR EACH ROW EXECUTE FUNCTION full_disk()");
    usleep(300000);
    pqxx::nontransaction(admin).exec("DROP TRIGGER full_disk ON rounds");
    for (std::thread& k : kiosks)
        k.join();
    const std::string lines = quiet.finish();
    EXPECT_EQ(kept, 30);
    EXPECT_GT(retried, 0);
    EXPECT_THAT(lines, HasSubstr("503 the database cannot be reached"));
    EXPECT_THAT(lines,
                HasSubstr("500 the database failed: ERROR:  could not extend file: No space left "
                          "on device"));
    pqxx::connection db(pg.conninfo);
    const pqxx::row counted = pqxx::work(db).exec1(
        "SELECT count(*), count(DISTINCT id) FROM rounds WHERE id LIKE 'bbbb%'");
    EXPECT_EQ(join(counted[0].as<int>(), counted[1].as<int>()), "30 30");
}

TEST_F(EventTest, AKioskDeliversItsRoundsAndShowsTheEventsTable) {
    serve(ServerSettings());
    const std::string kiosk = makeTempDir("kiosk"), rounds = kiosk + "/Save/Rounds/";
    runCommand("mkdir -p " + rounds);
    Json record = Json::parse(botRound(Bot::kPlanned, 11, 1));
    record["record"] = true, record["name"] = "ann";
    writeFile(rounds + "20261207T100000Z-1.json", record.dump());
    writeFile(rounds + "20261207T100100Z-2.json", botRound(Bot::kRandom, 12, 2));
    record["time"] = "00:01";
    writeFile(rounds + "20261207T100200Z-3.json", record.dump());
    Sync sync({"http://127.0.0.1:" + std::to_string(port),
               EventStore(pg.conninfo).addKiosk("stand-1"), kiosk});
    Capture said;
    EXPECT_EQ(sync.pass(), Sync::kPassSeconds);
    const std::string why =
        "422 kiosk stand-1, round aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa1: not "
        "verified: the clock shows 01:22, recorded 00:01 at frame 2191";
    EXPECT_EQ(said.finish(),  // the server's line, then the kiosk's
              "refused 127.0.0.1 POST /api/rounds: " + why +
                  "\nsolrind-sync: the event server refused " + rounds +
                  "20261207T100200Z-3.json (" + why + "): kept as " + kiosk +
                  "/Save/Rounds.refused/20261207T100200Z-3.json\n");
    EXPECT_EQ(listFolder(rounds), Lines{});
    EXPECT_EQ(readFile(kiosk + "/Save/Highscore.hs"), scoreTable(scoreRecord("ann", 1, 22)));
    server->stop();
    serving.join();
    writeFile(rounds + "20261207T110000Z-4.json", botRound(Bot::kRandom, 13, 4));
    Capture away;
    const int first = sync.pass(), second = sync.pass(), third = sync.pass();
    EXPECT_EQ(join(first, second, third), "1 2 4");
    EXPECT_EQ(away.finish(), "solrind-sync: cannot reach the event server http://127.0.0.1:" +
                                 std::to_string(port) +
                                 " (no connection): the rounds wait on the "
                                 "kiosk, tried again in 1 s\n");
    serve(ServerSettings(), port);
    ASSERT_EQ(deliver(EventStore(pg.conninfo).addKiosk("stand-2"), botRound(Bot::kRandom, 14, 5))
                  .substr(0, 4),
              "201 ");
    // Delivered before by this kiosk, its confirmation lost: the file goes, the round stays one.
    const std::string lost = botRound(Bot::kRandom, 15, 6);
    writeFile(rounds + "20261207T120000Z-6.json", lost);
    EXPECT_EQ(sync.pass(), Sync::kPassSeconds);
    EXPECT_EQ(listFolder(rounds), Lines{});
    EXPECT_EQ(sync.delivered, 4);
    EXPECT_EQ(get("/api/kiosks")["kiosks"][1]["rounds"], 4);
}

// The website: a seed issued, the round delivered under its id once it took its real time,
// each way of cheating refused with its reason, and the round a certificate names.
TEST_F(EventTest, WebsiteRoundsCountOnlyFromAnIssuedSeedInRealTime) {
    ServerSettings settings;
    settings.websiteRate = 0.001;
    settings.websiteBurst = 11;  // the twelfth seed or round from this address is too many
    settings.publicUrl = "https://event.example/";
    serve(settings);
    const std::string issued[2] = {deliver("", "", "/api/seeds"), deliver("", "", "/api/seeds")};
    ASSERT_EQ(issued[0].substr(0, 4) + issued[1].substr(0, 4), "201 201 ");
    const Json first = Json::parse(issued[0].substr(4)), second = Json::parse(issued[1].substr(4));
    const std::string id = first["id"];
    EXPECT_TRUE(id.size() == 32 && id.find_first_not_of("0123456789abcdef") == std::string::npos);
    const int seed = first["seed"];
    EXPECT_TRUE(seed >= 0 && seed <= 9999) << seed;
    pqxx::connection db(pg.conninfo);
    pqxx::nontransaction sql(db);  // each statement its own
    EXPECT_EQ(sql.exec1("SELECT address FROM seeds WHERE id = '" + id + "'")[0].as<std::string>(),
              "127.0.0.1");
    const std::string round = botRound(Bot::kPlanned, seed, id);
    const Json played = Json::parse(round);
    ASSERT_TRUE(played["completed"].get<bool>());
    const int frames = played["frames"];
    const std::string time = played["time"];
    const std::string where = "422 the website, round " + id + ": not counted: ";
    Capture said;
    const std::string early = deliver("", round, "/api/website/rounds");
    char takes[64];
    snprintf(takes, sizeof takes, "its %d frames take %.1f s: faster than real time", frames,
             frames * 0.04);
    EXPECT_EQ(early.substr(0, where.size() + 8), where + "it came ");
    EXPECT_EQ(early.substr(early.size() - strlen(takes)), takes);
    sql.exec("UPDATE seeds SET issued = issued - interval '" + std::to_string(frames * 40 + 1000) +
             " milliseconds'");
    const char* web = "/api/website/rounds";
    EXPECT_EQ(deliver("", round, web), "201 {\"id\":\"" + id + "\",\"kept\":\"new\"}");
    EXPECT_EQ(deliver("", round, web), "200 {\"id\":\"" + id + "\",\"kept\":\"before\"}");
    sql.exec(
        "UPDATE seeds SET issued = issued - interval '300 seconds'");  // a given-up round's time
    EXPECT_EQ(deliver("", botRound(Bot::kRandom, seed, id), web),
              "409 the website, round " + id + ": its seed was used already by another round");
    const std::string other = second["id"];
    const int otherSeed = second["seed"];
    EXPECT_EQ(deliver("", botRound(Bot::kRandom, (otherSeed + 1) % 10000, other), web),
              "422 the website, round " + other + ": not counted: it was issued seed " +
                  std::to_string(otherSeed) + ", not " + std::to_string((otherSeed + 1) % 10000));
    EXPECT_EQ(deliver("", botRound(Bot::kRandom, 5, 7), web),
              "422 the website, round aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa7: not counted: no seed was "
              "issued for it");
    Json forged = Json::parse(botRound(Bot::kPlanned, otherSeed, other));
    const std::string really = forged["time"];
    forged["time"] = "00:07";
    const std::string edited = deliver("", forged.dump(), web);
    EXPECT_EQ(edited.substr(0, edited.find(" at frame")), "422 the website, round " + other +
                                                              ": not verified: the clock shows " +
                                                              really + ", recorded 00:07");
    // The table shows where the round came from; the certificate's code finds it.
    const Json best = get("/api/best")["best"];
    ASSERT_EQ(best.size(), 1u);
    EXPECT_EQ(join(best[0]["kiosk"], best[0]["website"], best[0]["time"]),
              "\"the website\" true \"" + time + "\"");
    const std::string code = roundfile::code(id);
    const Json found = get("/api/round?code=" + code + "&time=" + time);
    EXPECT_EQ(join(found["code"], found["time"], found["website"], found["verified"],
                   found["matches"], found["completed"]),
              "\"" + code + "\" \"" + time + "\" true true true true");
    const std::string lower = roundfile::codeKey(code);
    EXPECT_EQ(get("/api/round?code=" + lower + "&time=00:07")["matches"], false);
    EXPECT_EQ(get("/api/round?code=0000-0000-0000")["error"],
              "no round of the event has the code 0000-0000-0000");
    EXPECT_EQ(get("/api/round?code=3F2A")["error"],
              "code or time is no round's such as 3F2A-91B0-C4D2 and 01:22");
    const auto qr = client->Get(("/api/round.svg?code=" + code + "&time=" + time).c_str());
    ASSERT_TRUE(qr);
    EXPECT_EQ(qr->get_header_value("Content-Type"), "image/svg+xml");
    const std::string svg = makeTempDir("qr") + "/code.svg";
    writeFile(svg, qr->body);
    // Drawn by librsvg (ImageMagick's own SVG renderer merges some codes' runs into blobs).
    EXPECT_EQ(runCommand("rsvg-convert -o " + svg + ".png " + svg + " && zbarimg -q --raw " + svg +
                         ".png")
                  .out,
              "https://event.example/round.html?code=" + lower + "&time=" + time.substr(0, 2) +
                  "%3A" + time.substr(3) + "\n");
    // A flood of seeds from one address: refused once the burst is spent.
    std::string flood;
    for (int i = 0; i < 12 && flood.empty(); ++i)
        if (const auto answer = client->Post("/api/seeds"); answer && answer->status == 429)
            flood = Json::parse(answer->body)["error"];
    EXPECT_EQ(flood, "too many seeds and rounds from this address");
    const std::string lines = said.finish();  // the refusals' lines, as the kiosks' test reads them
    if (HasFailure())
        printf("%s", lines.c_str());  // the failures' own lines were captured with the server's
}
