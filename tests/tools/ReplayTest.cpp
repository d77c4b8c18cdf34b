// solrind-replay on real files: a bot's rounds verified, each kind of tampering refused with its
// line, a round told, and the generators set beside the real glibc's and musl's rand.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "Files.h"

namespace {

using Json = nlohmann::ordered_json;

RunResult replay(const std::string& arguments) {
    return runCommand("ASAN_OPTIONS=detect_leaks=0 " SOLRIND_REPLAY " " + arguments);
}

// The round a bot plays from seed 11: completed in 01:37 at frame 2608, 277 moves.
std::string playedRound(const std::string& folder) {
    const RunResult run = replay("play --seed 11 1 " + folder);
    EXPECT_EQ(run.status, 0) << run.err;
    return run.out.substr(0, run.out.find(':'));
}

}  // namespace

// A round for a seed and an id a server issued: that seed, that id, and it verifies.
TEST(Replay, ARoundForAGivenSeedAndId) {
    const std::string folder = makeTempDir("replay-seed") + "/Rounds";
    const RunResult run = replay("play --random --seed 3 --round-seed 4821 --id " +
                                 std::string("0123456789abcdef0123456789abcdef 2 ") + folder);
    ASSERT_EQ(run.status, 0) << run.err;
    const Lines files = listFolder(folder);  // named by their start and their id's first digits
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ((files[0].find("-01234567.json") != std::string::npos) +
                  (files[1].find("-01234567.json") != std::string::npos),
              1);
    const RunResult verified =
        replay("verify " + folder + "/" + files[0] + " " + folder + "/" + files[1]);
    EXPECT_EQ(verified.status, 0) << verified.out;
    EXPECT_EQ(verified.out.find("seed 4821)\n") != verified.out.rfind("seed 4821)\n"), true);
    for (const char* bad : {"--round-seed 10000", "--round-seed x", "--id 0123",
                            "--id 0123456789ABCDEF0123456789ABCDEF"})
        EXPECT_EQ(replay(std::string("play ") + bad + " 1 " + folder).status, 2) << bad;
}

TEST(Replay, TamperedRoundsFailWithWhatDidNotHold) {
    const std::string folder = makeTempDir("replay");
    const std::string played = playedRound(folder + "/Rounds");
    ASSERT_EQ(replay("verify " + played).out,
              played + ": verified: completed in 01:37 at frame 2608 (glibc, seed 2441)\n");
    const Json round = Json::parse(readFile(played));
    ASSERT_EQ(round["moves"].size(), 277u);
    const auto tampered = [&](const std::string& name, const std::function<void(Json&)>& edit) {
        Json copy = round;
        edit(copy);
        writeFile(folder + "/" + name, copy.dump());
        return folder + "/" + name;
    };
    const struct {
        std::string file;
        std::string line;
    } cases[] = {
        {tampered("shifted", [](Json& r) { r["moves"][4]["frame"] = 138; }),
         "move 5 at frame 138 (00:06), release: the round before it is not as recorded "
         "(digest da16fb6a, recorded 11cf4172)"},
        {tampered("forbidden",
                  [](Json& r) {
                      r["moves"][0]["move"] = "up", r["moves"][0]["cell"] = {3, 3};
                  }),
         "move 1 at frame 1 (00:00), push (3,3) up: the rules refuse it: no piece stands on (3,3)"},
        {tampered("moving", [](Json& r) { r["moves"][1]["frame"] = 2; }),
         "move 2 at frame 2 (00:01), release: a piece is still moving, and the rules take no "
         "move then"},
        {tampered("two", [](Json& r) { r["moves"][2]["frame"] = 8; }),
         "move 3 at frame 8 (00:01), release: a frame takes at most a release and then a push"},
        {tampered("shorter", [](Json& r) { r["frames"] = 2607; }),
         "the board is not complete at frame 2607, where the round is recorded as completed"},
        {tampered("longer", [](Json& r) { r["frames"] = 2609; }),
         "the board is complete at frame 2608, yet the round goes on to frame 2609"},
        {tampered("faster", [](Json& r) { r["time"] = "01:36"; }),
         "the clock shows 01:37, recorded 01:36 at frame 2608"},
        {tampered("given-up", [](Json& r) { r["completed"] = false; }),
         "the board is complete at frame 2608, yet the round is recorded as given up"},
        {tampered("seed", [](Json& r) { r["seed"] = 2442; }),
         "move 1 at frame 1 (00:00), release: the round before it is not as recorded (digest "
         "95920a3c, recorded 1f182ec6)"},
        {tampered("musl", [](Json& r) { r["library"] = "musl"; }),
         "move 1 at frame 1 (00:00), release: the round before it is not as recorded (digest "
         "b41ba5d4, recorded 1f182ec6)"},
        {tampered("gates", [](Json& r) { r["gates"][1]["opening"] = true; }),
         "move 1 at frame 1 (00:00), release: the round before it is not as recorded (digest "
         "305dba8c, recorded 1f182ec6)"},
        {tampered("end", [](Json& r) { r["end"] = "00000000"; }),
         "the round at its end is not as recorded (digest " + round["end"].get<std::string>() +
             ", recorded 00000000)"},
    };
    std::string files, expected;
    for (const auto& c : cases) {
        files += " " + c.file;
        expected += c.file + ": not verified: " + c.line + "\n";
    }
    const RunResult run = replay("verify" + files + " " + played);
    EXPECT_EQ(run.out, expected + played +
                           ": verified: completed in 01:37 at frame 2608 "
                           "(glibc, seed 2441)\n");
    EXPECT_EQ(run.status, 1);
    // Files that are no rounds: cut, oversized, a name the font cannot draw, a folder.
    Json plain = round;  // the same bytes on every machine
    plain["id"] = std::string(32, 'a');
    plain["kiosk"] = "stand-1";
    const std::string text = plain.dump();
    writeFile(folder + "/cut", text.substr(0, 120));
    writeFile(folder + "/big", text + std::string(1 << 20, ' '));
    Json named = round;
    named["record"] = true;
    named["name"] = "Bob";
    writeFile(folder + "/name", named.dump());
    EXPECT_EQ(
        replay("verify " + folder + "/cut " + folder + "/big " + folder + "/name " + folder).out,
        folder +
            "/cut: not a round: it is no JSON: parse error at line 1, column 121: "
            "syntax error while parsing object key - unexpected end of input; "
            "expected string literal\n" +
            folder + "/big: not a round: it is larger than 1048576 bytes\n" + folder +
            "/name: not a round: \"name\" has a character the font cannot draw: 'B'\n" + folder +
            ": not a round: it is a folder\n");
}

TEST(Replay, ARoundToldMoveByMove) {
    const std::string played = playedRound(makeTempDir("story") + "/Rounds");
    const RunResult run = replay("show " + played + " 14");
    const std::string id = Json::parse(readFile(played))["id"];
    EXPECT_EQ(run.status, 0);
    const std::string start = run.out.substr(0, run.out.find("frame 134 "));
    EXPECT_EQ(start.substr(start.find('\n') + 1),
              "glibc's rand, seed 2441; the gates at the start: top 0/4 closing, bottom 0/4 "
              "closing, left 0/4 closing\n"
              "after frame 0 (00:00):\n"
              "  ## .. .. .. ..\n  .. .. .. .. ..\n  .. .. .. .. ..\n  .. .. .. .. ..\n"
              "  .. .. .. .. ..\n queued 24; gates top 0/4, bottom 0/4, left 0/4\n"
              "frame 1 (00:00): release, piece Q\n"
              "frame 8 (00:01): release, piece J\n"
              "frame 13 (00:01): release, piece P\n"
              "after frame 14 (00:01):\n"
              "  ## .. p> j  q \n  .. .. .. .. ..\n  .. .. .. .. ..\n  .. .. .. .. ..\n"
              "  .. .. .. .. ..\n queued 21; gates top 0/4, bottom 0/4, left 0/4\n");
    EXPECT_EQ(run.out.substr(run.out.rfind("  ##")),
              "  ## A  B  C  D \n  E  F  G  H  I \n  J  K  L  M  N \n  O  P  Q  R  S \n"
              "  T  U  V  W  X \n queued 0; gates top 4/4, bottom 0/4, left 4/4\n"
              "completed in 01:37, at frame 2608\nverified\n");
    EXPECT_EQ(replay("show " + played + " 2609").err,
              "2609: no frame of the round, which has frames 0 to 2608\n");
    EXPECT_EQ(replay("numbers msvcrt 1 2").status, 2);
    EXPECT_EQ(replay("play 0 " + played).status, 2);
}

// The copies of the generators against the real C libraries, built here with cc and musl-gcc.
TEST(Replay, TheGeneratorsAreTheCLibraries) {
    const std::string folder = makeTempDir("generators");
    writeFile(folder + "/rand.c",
              "#include <stdio.h>\n#include <stdlib.h>\n"
              "int main(int c, char** v) { srand(strtoul(v[1], 0, 10));\n"
              "  for (int i = 0; i < 300; ++i) printf(\"%d\\n\", rand()); }\n");
    for (const char* library : {"glibc", "musl"}) {
        const std::string program = folder + "/" + library;
        const std::string compiler = std::string(library) == "musl" ? "musl-gcc -static" : "cc";
        ASSERT_EQ(runCommand(compiler + " -o " + program + " " + folder + "/rand.c").status, 0)
            << library;
        for (const char* seed : {"0", "1", "4821", "9999", "2147483648", "4294967295"}) {
            const std::string own = runCommand(program + " " + seed).out;
            EXPECT_EQ(replay(std::string("numbers ") + library + " " + seed + " 300").out, own)
                << library << " " << seed;
        }
    }
}
