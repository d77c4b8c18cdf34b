// Rounds as records: the generators against this machine's C library, a thousand rounds of
// random play and planned rounds replayed to their exact end, the file's bytes and its faults,
// and the folder kept within its limit.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>

#include "Bot.h"
#include "Files.h"
#include "Random.h"
#include "Replay.h"
#include "RoundFile.h"

namespace {

// A record whose every field differs from its default.
RoundRecord sample() {
    RoundRecord r;
    r.id = "0123456789abcdef0123456789abcdef";
    r.kiosk = "stand-2";
    r.started = "2026-12-07T20:15:03Z";
    r.library = "musl";
    r.seed = 9999;
    r.gates[0] = {4, true};
    r.gates[2] = {1, false};
    r.moves = {{3, {BoardMove::kRelease, 0, 0, 0, 0}, 0x89abcdef},
               {3, {BoardMove::kPush, 4, 0, 0, 1}, 7},
               {9, {BoardMove::kPush, 2, 3, -1, 0}, 0xffffffff}};
    r.frames = 3321;
    r.completed = true;
    r.minutes = 2;
    r.seconds = 3;
    r.record = true;
    r.name = "ann\x7f}";
    r.end = 0x10;
    return r;
}

const char* const kSample =
    R"({"round":1,"id":"0123456789abcdef0123456789abcdef","kiosk":"stand-2",)"
    R"("started":"2026-12-07T20:15:03Z","library":"musl","seed":9999,"gates":[)"
    R"({"frame":4,"opening":true},{"frame":0,"opening":false},{"frame":1,"opening":false}],)"
    R"("moves":[{"frame":3,"move":"release","check":"89abcdef"},)"
    R"({"frame":3,"move":"down","cell":[4,0],"check":"00000007"},)"
    R"({"frame":9,"move":"left","cell":[2,3],"check":"ffffffff"}],"frames":3321,)"
    "\"completed\":true,\"time\":\"02:03\",\"record\":true,\"name\":\"ann\x7f}\",\"end\":"
    "\"00000010\"}\n";

std::string replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

}  // namespace

TEST(Generators, DrawAsThisCLibraryDoes) {  // each against its real library: tools/replay
    std::unique_ptr<RandomSource> copy(newRandom(thisLibrary()));
    for (const uint32_t seed : {2u, 2147483647u}) {
        copy->seed(seed);
        srand(seed);
        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ(copy->next(), rand()) << "seed " << seed << ", number " << i;
    }
    EXPECT_EQ(newRandom("uclibc"), nullptr);
}

// Random legal moves (a release and a push in one frame among them), rounds of every length
// from one frame: each replays to its recorded end, through its file's bytes.
TEST(Rounds, AThousandRoundsOfRandomPlayReplayToTheirEnd) {
    Bot bot(Bot::kRandom, 27);
    BareRound bare;
    Replay replay;
    size_t moves = 0, paired = 0;
    for (int n = 0; n < 1000; ++n) {
        bot.play(bare, static_cast<uint32_t>(n * 7919), 1 + n * 37 % 1500);
        RoundRecord& record = bare.round.record;
        record.id = std::string(32, 'a');
        record.kiosk = "bot";
        record.started = "2026-12-07T20:15:03Z";
        ASSERT_EQ(record.frames, 1 + n * 37 % 1500);
        const std::string bytes = roundfile::format(record);
        RoundRecord read;
        std::string why;
        ASSERT_TRUE(roundfile::parse(bytes, read, why)) << why;
        ASSERT_EQ(roundfile::format(read), bytes);
        ASSERT_EQ(replay.verify(read), "") << bytes;
        moves += read.moves.size();
        for (size_t m = 1; m < read.moves.size(); ++m)
            paired += read.moves[m].frame == read.moves[m - 1].frame;
    }
    EXPECT_GT(moves, 15000u);
    EXPECT_GT(paired, 100u);
}

TEST(Rounds, PlannedRoundsCompleteAndVerify) {
    Bot bot(Bot::kPlanned, 3);
    BareRound bare;
    Replay replay;
    for (int n = 0; n < 12; ++n) {
        bot.play(bare, static_cast<uint32_t>(n * 811), 25 * 600);
        const RoundRecord& record = bare.round.record;
        ASSERT_TRUE(record.completed) << "seed " << n * 811 << "\n" << bare.boardText();
        EXPECT_EQ(replay.verify(record), "");
        // The time is the clock's: one second on the second frame, then one every 27.
        const int32_t shown = record.minutes * 60 + record.seconds;
        EXPECT_EQ(shown, std::min((record.frames - 2) / 27 + 1, 59 * 60 + 59));
    }
    // A browser's round: drawn by musl's rand, verified with it, and the game draws from its
    // own C library again after the replay.
    useRandom(new MuslRandom());
    bot.play(bare, 77, 25 * 600);
    delete &gameRandom();
    useRandom(nullptr);
    bare.round.record.library = "musl";
    EXPECT_TRUE(bare.round.record.completed);
    EXPECT_EQ(replay.verify(bare.round.record), "");
    srand(5);
    const int expected = rand();
    gameRandom().seed(5);
    EXPECT_EQ(gameRandom().next(), expected);
}

TEST(RoundFile, TheBytesOtherProgramsRead) {
    EXPECT_EQ(roundfile::format(sample()), kSample);
    RoundRecord read;
    std::string why;
    ASSERT_TRUE(roundfile::parse(kSample, read, why)) << why;
    EXPECT_EQ(roundfile::format(read), kSample);
    EXPECT_EQ(roundfile::fileName(read), "20261207T201503Z-01234567.json");
    const struct {
        const char* from;
        const char* to;
        const char* why;
    } faults[] = {
        {"}\n", "",
         "it is no JSON: parse error at line 1, column 490: syntax error while "
         "parsing object - unexpected end of input; expected '}'"},
        {R"("seed":9999)", R"("seed":10000)", "\"seed\" is 10000, not 0 to 9999"},
        {R"("seed":9999)", R"("seed":-1)", "\"seed\" is -1, not 0 to 9999"},
        {R"("seed":9999)", R"("seed":"9999")", "\"seed\" is not a whole number"},
        {R"("library":"musl")", R"("library":"msvcrt")",
         "\"library\" is \"msvcrt\", not glibc or musl"},
        {R"("round":1,)", "", "it has no \"round\""},
        {R"("id":"0)", R"("id":"G)", "\"id\" is no 32 hexadecimal digits"},
        {R"("kiosk":"stand-2")", R"("kiosk":"a\nb")",
         "\"kiosk\" is no name of 1 to 64 printable characters"},
        {"T20:15", "T24:15", "\"started\" is no time such as 2026-12-07T20:15:03Z"},
        {"\"2026-12", "\" 026-12", "\"started\" is no time such as 2026-12-07T20:15:03Z"},
        {"03Z\"", "03\"", "\"started\" is no time such as 2026-12-07T20:15:03Z"},
        {R"({"frame":0,"opening":false})", "1", "gate 2 is not an object"},
        {R"({"frame":1,"opening":false}])", R"({"frame":5,"opening":false}])",
         "\"frame\" is 5, not 0 to 4"},
        {R"(,{"frame":1,"opening":false}])", "]", "\"gates\" holds 2 gates, not 3"},
        {R"("frame":9,)", R"("frame":3322,)", "move 3: \"frame\" is 3322, not 1 to 3321"},
        {R"("frame":9,)", R"("frame":2,)", "move 3 comes before the move above it"},
        {R"("move":"left")", R"("move":"sideways")",
         "move 3: \"move\" is \"sideways\", not release, up, down, left or right"},
        {"[2,3]", "[2,5]", "move 3: \"cell\" is [2,5], not a board cell [0-4, 0-4]"},
        {R"(,"check":"00000007")", "", "move 2: it has no \"check\""},
        {R"("time":"02:03")", R"("time":"2:03")", "\"time\" is \"2:03\", not 00:00 to 59:59"},
        {R"("time":"02:03")", R"("time":"02:60")", "\"time\" is \"02:60\", not 00:00 to 59:59"},
        {R"("time":"02:03")", R"("time":"60:03")", "\"time\" is \"60:03\", not 00:00 to 59:59"},
        {R"("time":"02:03")", R"("time":"02:0x")", "\"time\" is \"02:0x\", not 00:00 to 59:59"},
        {"ann\x7f}", "Ann", "\"name\" has a character the font cannot draw: 'A'"},
        {"ann\x7f}", "ann\\t", "\"name\" has a character the font cannot draw: \\x09"},
        {"ann\x7f}", "abcdefghijk", "\"name\" is longer than 10 characters"},
        {R"("record":true)", R"("record":false)",
         "\"name\" is given for a time that made no record"},
        {R"("completed":true)", R"("completed":1)", "\"completed\" is not true or false"},
        {R"("end":"00000010")", R"("end":"10")", "\"end\" is no digest of 8 hexadecimal digits"},
    };
    for (const auto& fault : faults) {
        EXPECT_FALSE(roundfile::parse(replace(kSample, fault.from, fault.to), read, why))
            << fault.to;
        EXPECT_EQ(why, fault.why);
    }
    EXPECT_FALSE(roundfile::parse("[1]", read, why));
    EXPECT_EQ(why, "it is no JSON object");
    EXPECT_FALSE(roundfile::parse(std::string(roundfile::kMaxBytes + 1, ' '), read, why));
    EXPECT_EQ(why, "it is larger than 1048576 bytes");
    EXPECT_EQ(roundfile::format(read), kSample);  // a refused file leaves the record as it was
    // The edges of every range read: cells on the board's edges, the longest name and time.
    const std::string edges =
        replace(replace(replace(kSample, "[2,3]", "[0,4]"), "ann\x7f}", "abcdefghij"), "\"02:03\"",
                "\"59:59\"");
    EXPECT_TRUE(roundfile::parse(edges, read, why)) << why;
    EXPECT_EQ(roundfile::format(read), edges);
}

// The limit counts the folder and the days the nightly reset kept beside it; the oldest go
// first, never the round just written, and a kept day left empty goes too.
TEST(RoundFile, TheFolderKeptWithinItsLimit) {
    const std::string save = makeTempDir("rounds") + "/Save", folder = save + "/Rounds";
    RoundRecord record = sample();
    Capture out;
    EXPECT_FALSE(roundfile::save(record, folder, 10000));
    EXPECT_EQ(out.finish(), "Error saving " + folder +
                                "/20261207T201503Z-01234567.json (No such file or directory): "
                                "the round is not kept\n");
    mkdir(save.c_str(), 0755);
    mkdir((folder + ".2026-12-06-040000").c_str(), 0755);
    writeFile(folder + ".2026-12-06-040000/20261206T101010Z-aaaaaaaa.json", std::string(900, 'x'));
    writeFile(folder + ".2026-12-06-040000/notes.txt", std::string(5000, 'x'));  // not a round
    const size_t size = std::string(kSample).size();
    Capture quiet;
    for (const char* started : {"2026-12-07T09:00:00Z", "2026-12-07T10:00:00Z"}) {
        record.started = started;
        EXPECT_TRUE(roundfile::save(record, folder, 4 * size));
    }
    EXPECT_EQ(quiet.finish(), "");
    EXPECT_EQ(readFile(folder + "/20261207T090000Z-01234567.json"),
              replace(kSample, "20:15:03", "09:00:00"));
    Capture full;
    record.started = "2026-12-07T11:00:00Z";  // 900 + 3 rounds > 4 rounds: the oldest goes
    EXPECT_TRUE(roundfile::save(record, folder, 3 * size + 899));
    EXPECT_EQ(full.finish(), folder + " holds more than 0 MB of rounds: the 1 oldest removed\n");
    EXPECT_FALSE(fileExists(folder + ".2026-12-06-040000/20261206T101010Z-aaaaaaaa.json"));
    EXPECT_TRUE(fileExists(folder + ".2026-12-06-040000/notes.txt"));
    Capture tight;
    record.started = "2026-12-07T12:00:00Z";  // a limit below one round keeps that round
    EXPECT_TRUE(roundfile::save(record, folder, 10));
    EXPECT_EQ(tight.finish(), folder + " holds more than 0 MB of rounds: the 3 oldest removed\n");
    EXPECT_TRUE(fileExists(folder + "/20261207T120000Z-01234567.json"));
    EXPECT_FALSE(fileExists(folder + "/20261207T110000Z-01234567.json"));
}
