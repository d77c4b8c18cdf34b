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
    EXPECT_EQ(run.status * 1000 + run.out.size(), 1000u);
    EXPECT_EQ(run.err, file() + ": there is no table (the game starts with the default one)\n");
    // Without a folder: where it looked, and that there is none.
    run =
        runCommand("SOLRIND_HOME=" + folder + "/none ASAN_OPTIONS=detect_leaks=0 " SOLRIND_SCORES);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "There is no table at " + folder +
                           "/none/Save/Highscore.hs (the game folder is $SOLRIND_HOME, else "
                           "$XDG_STATE_HOME/solrind, else ~/.local/state/solrind): name the game "
                           "folder; the kiosk service's is /var/lib/solrind\n");
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
    RunResult run = scores("--reset");
    EXPECT_EQ(run.status, 0) << run.err;
    std::smatch kept;
    ASSERT_TRUE(std::regex_match(run.out, kept,
                                 std::regex(std::regex_replace(file(), std::regex("[.]"), "\\.") +
                                            ": a new table; the old one is kept as "
                                            "(.*\\.hs\\.\\d{4}-\\d\\d-\\d\\d-\\d{6})\n")))
        << run.out;
    EXPECT_EQ(readFile(kept[1]), old);
    EXPECT_EQ(readFile(file()), table({}));
    const std::string second = scores("--reset").out;  // again, perhaps within the second
    const std::string secondName =
        second.substr(second.rfind('/') + 1, second.size() - 1 - (second.rfind('/') + 1));
    EXPECT_EQ(runCommand("ls " + folder + "/Save | wc -l").out, "3\n");
    // Yesterday's table read by its name; the kept tables listed newest first with winners.
    const std::string keptFile = kept[1].str();  // the match refers into run.out
    run = runCommand("ASAN_OPTIONS=detect_leaks=0 " SOLRIND_SCORES " " + keptFile);
    EXPECT_EQ(run.out.substr(0, 47), "Rank  Name        Time\n   1  winner      00:42\n");
    EXPECT_EQ(
        runCommand("ASAN_OPTIONS=detect_leaks=0 " SOLRIND_SCORES " --list " + keptFile).status, 2);
    const std::string name = keptFile.substr(keptFile.rfind('/') + 1);
    writeFile(folder + "/Save/Highscore.hs.2001-01-01-000000", table({{"first", 5, 0}}));
    writeFile(folder + "/Save/Highscore.hs.rejected", "short");  // set aside by the game in 2010
    ASSERT_EQ(runCommand("touch -d 2010-01-01 " + folder + "/Save/Highscore.hs.rejected").status,
              0);
    run = scores("--list");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Kept tables in " + folder + "/Save, newest first, with their best time:\n" +
                           "  " + secondName + std::string(37 - secondName.size(), ' ') +
                           "solrind     10:00\n" + "  " + name + "       winner      00:42\n" +
                           "  Highscore.hs.rejected                cannot be used (it is shorter "
                           "than 520 bytes)\n"
                           "  Highscore.hs.2001-01-01-000000       first       05:00\n");
}
