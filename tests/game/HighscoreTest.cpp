// The table and its 520-byte file, byte for byte: reading, ranking, naming, replacing.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "Files.h"
#include "SolrindPHighscore.h"
#include "gnFiles.h"

namespace {

constexpr const char* kFile = "Save/Highscore.hs";

std::string rows(SolrindPHighscore& t, int n) {  // "name m:ss" of the first n rows
    std::string text;
    for (int i = 0; i < n; ++i)
        text += (i ? ", " : "") + std::string(t.getSlotName(i)) + " " +
                std::to_string(t.getSlotMinutes(i)) + ":" + std::to_string(t.getSlotSeconds(i));
    return text;
}

class HighscoreTest : public testing::Test {
  protected:
    void SetUp() override { mkdir("Save", 0755); }
    WorkIn folder{"highscore"};
};

}  // namespace

// File bytes to table, output and what is kept aside; every use writes the table back.
TEST_F(HighscoreTest, WhatEachFileReadsAs) {
    std::string other = scoreRecord("q", 0, 5);  // as another build may store it
    other.replace(0, 4, word('q' + 300 + 256));
    other.replace(4, 4, word(300 - 256));  // the name's end
    other.replace(8, 4, word(INT32_MAX));  // beyond the end: no meaning
    const std::string unused = "Save/Highscore.hs cannot be used ",
                      fresh = ", starting a new table\n";
    const std::string font = "(a name holds a character the font cannot draw): ";
    const std::string times = "(a time lies outside 00:00 to 59:59): ",
                      none = "solrind 10:0, solrind 10:0";
    const struct {
        std::string bytes;  // empty: no file
        std::string top;    // the first two rows read
        std::string printed, kept;
    } files[] = {
        // clang-format off
        {"", none, "", ""},
        {scoreTable("").substr(0, 519), none, "(it is shorter than 520 bytes): ", ""},
        {scoreTable(scoreRecord("ok", 59, 59) + scoreRecord("z9 }~\x7f", 0, 0)) + "junk after 520 bytes", "ok 59:59, z9 }~\x7f 0:0", "", ""},
        {scoreTable(scoreRecord("abcdefghij", 0, 1)), "abcdefghij 0:1, solrind 10:0", "", ""},  // ten: the limit
        {scoreTable(other), "q 0:5, solrind 10:0", "", ""},
        {scoreTable(scoreRecord("Upper", 1, 0)), none, font, ".1"},
        {scoreTable(word(INT32_MIN) + scoreRecord("a", 1, 0).substr(4)), none, font, ".2"},
        {scoreTable(scoreRecord("ok", 60, 0)), none, times, ".3"},
        {scoreTable(scoreRecord("ok", 1, -1)), none, times, ".4"},
        {scoreTable(scoreRecord("ok", 1, 60)), none, times, ".5"},
        // clang-format on
    };
    for (const auto& f : files) {
        unlink(kFile);
        if (!f.bytes.empty())
            writeFile(kFile, f.bytes);
        Capture out;
        {
            SolrindPHighscore t;
            EXPECT_EQ(rows(t, 2), f.top) << f.printed;
        }
        const std::string keptAs = "Save/Highscore.hs.rejected" + f.kept;
        EXPECT_EQ(out.finish(),
                  f.printed.empty() ? "" : unused + f.printed + "kept as " + keptAs + fresh);
        if (!f.printed.empty()) {
            EXPECT_EQ(readFile(keptAs), f.bytes);
        }
        SolrindPHighscore again;  // what was written reads the same
        EXPECT_EQ(rows(again, 2), f.top);
    }
    writeFile(kFile, scoreTable(other));
    { SolrindPHighscore t; }
    EXPECT_EQ(readFile(kFile),
              scoreTable(scoreRecord("q", 0, 5)));  // written back in the usual form
    EXPECT_EQ(scoreTable("").substr(0, 4), std::string("\x9F\x01\x00\x00", 4));    // "s": 115 + 300
    EXPECT_EQ(runCommand("ls -A Save | grep -v rejected").out, "Highscore.hs\n");  // no temporary
}

// A new time below equal ones, the tenth drops out; names cut after ten characters.
TEST_F(HighscoreTest, RankingAndNaming) {
    writeFile(kFile, scoreTable(scoreRecord("one", 1, 30) + scoreRecord("two", 2, 0) +
                                scoreRecord("too", 2, 0) + scoreRecord("three", 3, 0)));
    {
        SolrindPHighscore t;
        EXPECT_EQ(t.isRecord(2, 0) * 100 + t.isRecord(2, 10) * 10 + t.isRecord(1, 10), 441);
        EXPECT_EQ(t.isRecord(9, 59), 5);
        EXPECT_EQ(t.isRecord(10, 0), -1);  // equal to the tenth: no record
        t.enterRecord("ab", 2, 0);
        t.enterRecord("late", 10, 0);  // no record: nothing changes
        t.enterRecord("", 0, 30);
        t.updateSlotName(0, "abcdefghij");
        t.updateSlotName(1, "a }~\x7fklmnopq");
    }
    std::string expected = scoreRecord("abcdefghij", 0, 30) + scoreRecord("a }~\x7fklmno", 1, 30) +
                           scoreRecord("two", 2, 0) + scoreRecord("too", 2, 0) +
                           scoreRecord("ab", 2, 0) + scoreRecord("three", 3, 0);
    EXPECT_EQ(readFile(kFile), scoreTable(expected));
}

// The file-size limit, a planted link, a directory, a file that cannot be kept aside, a file
// where the folder should be.
TEST_F(HighscoreTest, TheFileIsReplacedWholeOrNotAtAll) {
    writeFile(kFile, scoreTable(scoreRecord("old", 1, 1)));
    const std::string before = readFile(kFile);
    fflush(stdout);
    const pid_t child = fork();  // the limit and the default SIGXFSZ in a process of its own
    if (child == 0) {
        signal(SIGXFSZ, SIG_DFL);
        const struct rlimit small = {100, 100};
        if (setrlimit(RLIMIT_FSIZE, &small) != 0 || !freopen("out.txt", "w", stdout))
            _exit(3);
        delete new SolrindPHighscore();
        fflush(stdout);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(readFile("out.txt"), "Error saving Save/Highscore.hs\n");
    EXPECT_EQ(readFile(kFile), before);
    EXPECT_EQ(runCommand("ls -A Save").out, "Highscore.hs\n");  // no temporary left
    writeFile("victim", "precious");
    ASSERT_EQ(symlink("../victim", "Save/Highscore.hs.new"), 0);
    Capture out;
    { SolrindPHighscore().enterRecord("new", 0, 1); }
    EXPECT_EQ(readFile("victim"), "precious");
    struct stat info;
    EXPECT_TRUE(lstat(kFile, &info) == 0 && S_ISREG(info.st_mode));
    EXPECT_EQ(readFile(kFile).substr(0, 4), word('n' + 300));
    unlink(kFile);
    ASSERT_EQ(mkdir(kFile, 0755), 0);
    for (int use = 0; use < 2; ++use)
        EXPECT_STREQ(SolrindPHighscore().getSlotName(0), "solrind");
    EXPECT_EQ(out.finish(),
              "Save/Highscore.hs cannot be used (it is a directory): the table is "
              "neither read nor saved\n"
              "Save/Highscore.hs cannot be used (it is a directory): the table is "
              "neither read nor saved\n");
    EXPECT_EQ(runCommand("ls -A Save").out, "Highscore.hs\nHighscore.hs.new\n");  // not ours: kept
    rmdir(kFile);
    writeFile(kFile, "short");  // and a hundred copies kept aside already: it is never replaced
    for (int i = 0; i < 100; ++i)
        writeFile("Save/Highscore.hs.rejected" + (i ? "." + std::to_string(i) : ""), "");
    Capture blocked;
    { SolrindPHighscore().enterRecord("new", 0, 1); }
    EXPECT_EQ(blocked.finish(),
              "Save/Highscore.hs cannot be used (it is shorter than 520 bytes) nor "
              "kept aside: the table is not saved\n");
    EXPECT_EQ(readFile(kFile), "short");
    runCommand("rm -r Save && echo not a folder >Save");  // where the folder should be
    Capture file;
    EXPECT_STREQ(SolrindPHighscore().getSlotName(0), "solrind");
    EXPECT_EQ(file.finish(), "Error saving Save/Highscore.hs\n");
}

// Two writers (the game and the nightly reset, or two games in one folder) replacing the table
// while it is read: every save succeeds and every read finds one of the two tables whole.
TEST_F(HighscoreTest, TwoWritersNeverTearTheTable) {
    const std::string tables[2] = {scoreTable(scoreRecord("first", 1, 1)),
                                   scoreTable(scoreRecord("second", 2, 2))};
    writeFile(kFile, tables[0]);
    pid_t writers[2];
    for (int w = 0; w < 2; ++w)
        if ((writers[w] = fork()) == 0) {
            int failed = 0;
            for (int i = 0; i < 150; ++i)
                failed += !gnReplaceFile(kFile, tables[w].data(), tables[w].size());
            _exit(failed);
        }
    int reads = 0, torn = 0, status = 0;
    for (int running = 2; running > 0; ++reads) {
        const std::string seen = readFile(kFile);
        torn += seen != tables[0] && seen != tables[1];
        for (pid_t& w : writers)
            if (w != 0 && waitpid(w, &status, WNOHANG) == w) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "failed saves";
                w = 0, --running;
            }
    }
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    EXPECT_EQ(runCommand("ls -A Save").out, "Highscore.hs\n");
}

// The writer's temporary file is beside the file, wherever that is (here on another file
// system than the working folder's), and never left; reads take files of every size whole.
TEST_F(HighscoreTest, FilesWrittenBesideThemselvesAndReadWhole) {
    const std::string shm =
        makeTempDir("shm").replace(0, std::string(SOLRIND_TEST_TMP).size(), "/dev/shm");
    mkdir(shm.c_str(), 0755);
    ASSERT_TRUE(gnReplaceFile((shm + "/table").c_str(), "abc", 3));
    EXPECT_THAT(runCommand("ls -A " + shm + "; ls -A . /").out, Not(HasSubstr(".tmp")));
    EXPECT_EQ(readFile(shm + "/table"), "abc");
    runCommand("rm -r " + shm);
    std::string bytes, why;
    for (const size_t size : {size_t{1}, size_t{65536}, size_t{65537}}) {
        writeFile("Save/part", std::string(size, 'x'));
        EXPECT_TRUE(gnReadFile("Save/part", 65537, bytes, why));
        EXPECT_EQ(bytes.size(), size);
    }
    EXPECT_FALSE(gnReadFile("Save/part", 65536, bytes, why));
    EXPECT_EQ(why, "it is larger than 65536 bytes");
}
