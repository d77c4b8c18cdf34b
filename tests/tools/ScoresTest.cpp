// The table tool on real files: table, CSV, kept tables, reset, unusable and missing files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Files.h"

namespace {

RunResult scores(const std::string& arguments, const std::string& env = "") {
    return runCommand(env + " ASAN_OPTIONS=detect_leaks=0 " SOLRIND_SCORES " " + arguments);
}

}  // namespace

TEST(Scores, ReadListAndReset) {
    const std::string folder = makeTempDir("scores"), file = folder + "/Save/Highscore.hs";
    mkdir((folder + "/Save").c_str(), 0755);
    RunResult run = scores(folder);
    EXPECT_EQ(run.status * 1000 + run.out.size(), 1000u);
    EXPECT_EQ(run.err, file + ": there is no table (the game starts with the default one)\n");
    run = scores("", "SOLRIND_HOME=" + folder + "/none");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "There is no table at " + folder +
                  "/none/Save/Highscore.hs (the game folder is "
                  "$SOLRIND_HOME, else $XDG_STATE_HOME/solrind, else ~/.local/state/solrind): "
                  "name the game folder; the kiosk service's is /var/lib/solrind\n");
    writeFile(file, scoreTable(scoreRecord("abcdefghij", 0, 59) + scoreRecord("k}~\x7f 1", 1, 5)));
    std::string expected =
        "Rank  Name        Time\n   1  abcdefghij  00:59\n   2  køæå 1      01:05\n";
    std::string csv = "rank,name,time\n1,abcdefghij,00:59\n2,køæå 1,01:05\n";
    for (int r = 3; r <= 10; ++r) {
        expected += (r < 10 ? "   " : "  ") + std::to_string(r) + "  solrind     10:00\n";
        csv += std::to_string(r) + ",solrind,10:00\n";
    }
    EXPECT_EQ(scores(folder).out, expected);
    EXPECT_EQ(scores("--csv " + folder).out, csv);
    EXPECT_EQ(scores("--csv --reset " + folder).status, 2);
    const std::string old = readFile(file);
    mkdir((folder + "/Save/Rounds").c_str(), 0755);
    writeFile(folder + "/Save/Rounds/a.json", "{}");
    run = scores("--reset " + folder);
    const std::string prefix = file + ": a new table; the old one is kept as ";
    ASSERT_EQ(run.out.substr(0, prefix.size()), prefix) << run.out;
    const std::string kept = run.out.substr(prefix.size(), run.out.find('\n') - prefix.size());
    EXPECT_EQ(readFile(kept), old);  // Highscore.hs.<date>-<time>, byte for byte
    const std::string rounds = folder + "/Save/Rounds" + kept.substr(file.size());  // same date
    EXPECT_EQ(run.out.substr(run.out.find('\n') + 1),
              folder + "/Save/Rounds: the day's rounds are kept as " + rounds + "\n");
    EXPECT_EQ(readFile(rounds + "/a.json"), "{}");
    EXPECT_EQ(readFile(file), scoreTable(""));
    run = scores("--reset " + folder);  // again, perhaps within the second: another name
    const std::string second =
        run.out.substr(run.out.rfind('/') + 1, run.out.size() - run.out.rfind('/') - 2);
    EXPECT_EQ(scores(kept).out.substr(0, 47), expected.substr(0, 47));  // a kept table by its name
    EXPECT_EQ(scores("--list " + kept).status, 2);
    writeFile(folder + "/Save/Highscore.hs.2001-01-01-000000",
              scoreTable(scoreRecord("first", 5, 0)));
    writeFile(folder + "/Save/Highscore.hs.rejected", "short");  // set aside by the game in 2010
    runCommand("touch -d 2010-01-01 " + folder + "/Save/Highscore.hs.rejected");
    const std::string name = kept.substr(kept.rfind('/') + 1);
    EXPECT_EQ(
        scores("--list " + folder).out,
        "Kept tables in " + folder + "/Save, newest first, with their best time:\n  " + second +
            std::string(37 - second.size(), ' ') + "solrind     10:00\n  " + name +
            "       abcdefghij  00:59\n"
            "  Highscore.hs.rejected                cannot be used (it is shorter than 520 bytes)\n"
            "  Highscore.hs.2001-01-01-000000       first       05:00\n");
    // Reset by root: the kiosk user's table stays the kiosk user's, and so does the next reset.
    struct stat info = {};
    if (geteuid() == 0 && chown(file.c_str(), 4321, 4321) == 0 && chmod(file.c_str(), 0640) == 0) {
        EXPECT_EQ(scores("--reset " + folder).status, 0);
        stat(file.c_str(), &info);
        EXPECT_EQ(join(info.st_uid, info.st_gid, info.st_mode & 0777), join(4321, 4321, 0640));
    }
    writeFile(file, "short");  // an unusable file: reported, left as it is
    run = scores(folder);
    EXPECT_EQ(run.status * 1000 + run.out.size(), 1000u);
    EXPECT_EQ(run.err, file + " cannot be used (it is shorter than 520 bytes)\n");
    EXPECT_EQ(readFile(file), "short");
}
