// The operator's table tool on real table files: the table and CSV, an unusable file left as
// it is with a clear line, and a reset that keeps the old file byte for byte.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <regex>

#include "Capture.h"
#include "SolrindPHighscore.h"

namespace {

class ScoresTest : public testing::Test {
  protected:
    void SetUp() override {
        folder = makeTempDir("scores");
        mkdir((folder + "/Save").c_str(), 0755);
    }
    RunResult scores(const std::string& options) {
        return runCommand("ASAN_OPTIONS=detect_leaks=0 " SOLRIND_SCORES " " + options + " " +
                          folder);
    }
    // The file bytes of the default table with the given names and times at the top.
    std::string table(std::vector<std::tuple<const char*, int, int>> top) {
        SolrindPHighscore::Slot slots[10];
        SolrindPHighscore::makeDefaultTable(slots);
        for (size_t r = 0; r < top.size(); ++r) {
            snprintf(slots[r].name, sizeof slots[r].name, "%s", std::get<0>(top[r]));
            slots[r].minutes = std::get<1>(top[r]);
            slots[r].seconds = std::get<2>(top[r]);
        }
        unsigned char bytes[SolrindPHighscore::kFileSize];
        SolrindPHighscore::formatTable(slots, bytes);
        return std::string(reinterpret_cast<char*>(bytes), sizeof bytes);
    }
    std::string file() const { return folder + "/Save/Highscore.hs"; }
    std::string folder;
};

}  // namespace

TEST_F(ScoresTest, TheTableAndItsCsv) {
    RunResult run = scores("");
    EXPECT_EQ(run.out, file() + ": no table yet (the game starts with the default one)\n");
    writeFile(file(), table({{"abcdefghij", 0, 59}, {"k}~\x7f 1", 1, 5}}));
    run = scores("");
    EXPECT_EQ(run.status, 0) << run.err;
    std::string expected =
        "Rank  Name        Time\n   1  abcdefghij  00:59\n"
        "   2  køæå 1      01:05\n";
    for (int r = 3; r <= 10; ++r)
        expected += (r < 10 ? "   " : "  ") + std::to_string(r) + "  solrind     10:00\n";
    EXPECT_EQ(run.out, expected);
    run = scores("--csv");
    expected = "rank,name,time\n1,abcdefghij,00:59\n2,køæå 1,01:05\n";
    for (int r = 3; r <= 10; ++r)
        expected += std::to_string(r) + ",solrind,10:00\n";
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(scores("--csv --reset").status, 2);
}

TEST_F(ScoresTest, AnUnusableFileIsReportedAndLeftAsItIs) {
    const std::string shortFile = table({}).substr(0, 519);
    writeFile(file(), shortFile);
    const RunResult run = scores("");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, file() + " cannot be used (it is shorter than 520 bytes)\n");
    EXPECT_EQ(readFile(file()), shortFile);
    EXPECT_EQ(runCommand("ls " + folder + "/Save").out, "Highscore.hs\n");
}

TEST_F(ScoresTest, ResetKeepsTheOldFileByteForByte) {
    const std::string old = table({{"winner", 0, 42}});
    writeFile(file(), old);
    const RunResult run = scores("--reset");
    EXPECT_EQ(run.status, 0) << run.err;
    std::smatch kept;
    ASSERT_TRUE(std::regex_match(run.out, kept,
                                 std::regex(std::regex_replace(file(), std::regex("[.]"), "\\.") +
                                            ": a new table; the old one is kept as "
                                            "(.*\\.hs\\.\\d{4}-\\d\\d-\\d\\d-\\d{6})\n")))
        << run.out;
    EXPECT_EQ(readFile(kept[1]), old);
    EXPECT_EQ(readFile(file()), table({}));
    EXPECT_EQ(scores("--reset").status, 0);  // again within the second: another name
    EXPECT_EQ(runCommand("ls " + folder + "/Save | wc -l").out, "3\n");
}
