// The highscore table and its 520-byte file, byte for byte: what each file reads as (and what
// is printed and kept aside), ranking and naming, and the atomic replacement against a
// file-size limit, a planted link and a directory in the table's place.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "Files.h"
#include "SolrindPHighscore.h"

namespace {

constexpr const char* kFile = "Save/Highscore.hs";

// The bytes of one record as the file stores them.
std::string record(const std::string& name, int32_t minutes, int32_t seconds) {
    std::string bytes;
    for (int k = 0; k < 11; ++k)
        bytes += word((k < static_cast<int>(name.size()) ? name[k] : 0) + 300);
    return bytes + word(minutes) + word(seconds);
}
std::string table(const std::string& top) {  // default records below, to 520 bytes
    std::string bytes = top;
    while (bytes.size() < 520)
        bytes += record("solrind", 10, 0);
    return bytes;
}
std::string rows(SolrindPHighscore& t, int n) {  // "name m:ss" of the first n rows
    std::string text;
    for (int i = 0; i < n; ++i)
        text += (i ? ", " : "") + std::string(t.getSlotName(i)) + " " +
                std::to_string(t.getSlotMinutes(i)) + ":" + std::to_string(t.getSlotSeconds(i));
    return text;
}

class HighscoreTest : public testing::Test {
  protected:
    void SetUp() override {
        char* cwd = getcwd(nullptr, 0);
        home = cwd;
        free(cwd);
        ASSERT_EQ(chdir(makeTempDir("highscore").c_str()), 0);
        mkdir("Save", 0755);
    }
    void TearDown() override { EXPECT_EQ(chdir(home.c_str()), 0); }
    std::string home;
};

}  // namespace

// From the file's bytes to the table, what is printed, and what is kept aside; every use then
// writes the table back.
TEST_F(HighscoreTest, WhatEachFileReadsAs) {
    std::string other = record("q", 0, 5);  // as another build may store it
    other.replace(0, 4, word('q' + 300 + 256));
    other.replace(4, 4, word(300 - 256));  // the name's end
    other.replace(8, 4, word(INT32_MAX));  // beyond the end: no meaning
    const std::string unused = "Save/Highscore.hs cannot be used ", fresh = ", starting a new table\n";
    const std::string font = "(a name holds a character the font cannot draw): ";
    const std::string times = "(a time lies outside 00:00 to 59:59): ", none = "solrind 10:0, solrind 10:0";
    const struct {
        std::string bytes;  // empty: no file
        std::string top;    // the first two rows read
        std::string printed, kept;
    } files[] = {
        // clang-format off
        {"", none, "", ""},
        {table("").substr(0, 519), none, "(it is shorter than 520 bytes): ", ""},
        {table(record("ok", 59, 59) + record("z9 }~\x7f", 0, 0)) + "junk after 520 bytes", "ok 59:59, z9 }~\x7f 0:0", "", ""},
        {table(other), "q 0:5, solrind 10:0", "", ""},
        {table(record("Upper", 1, 0)), none, font, ".1"},
        {table(word(INT32_MIN) + record("a", 1, 0).substr(4)), none, font, ".2"},
        {table(record("ok", 60, 0)), none, times, ".3"},
        {table(record("ok", 1, -1)), none, times, ".4"},
        {table(record("ok", 1, 60)), none, times, ".5"},
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
        EXPECT_EQ(out.finish(), f.printed.empty() ? "" : unused + f.printed + "kept as " + keptAs + fresh);
        if (!f.printed.empty())
            EXPECT_EQ(readFile(keptAs), f.bytes);
        SolrindPHighscore again;  // what was written reads the same
        EXPECT_EQ(rows(again, 2), f.top);
    }
    writeFile(kFile, table(other));
    { SolrindPHighscore t; }
    EXPECT_EQ(readFile(kFile), table(record("q", 0, 5)));  // written back in the usual form
    EXPECT_EQ(table("").substr(0, 4), std::string("\x9F\x01\x00\x00", 4));  // "s": 115 + 300
    EXPECT_FALSE(fileExists("Save/Highscore.hs.new"));
}

// A new time goes below equal times, the best to the top, the tenth drops out; names of ten
// characters survive, longer ones are cut.
TEST_F(HighscoreTest, RankingAndNaming) {
    writeFile(kFile, table(record("one", 1, 30) + record("two", 2, 0) + record("too", 2, 0) +
                           record("three", 3, 0)));
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
    std::string expected = record("abcdefghij", 0, 30) + record("a }~\x7fklmno", 1, 30) +
                           record("two", 2, 0) + record("too", 2, 0) + record("ab", 2, 0) +
                           record("three", 3, 0);
    EXPECT_EQ(readFile(kFile), table(expected));
    EXPECT_EQ(expected.substr(52, 8), word(397) + word(332));  // "a", " "
}

// The file-size limit stops the write of the new file half way: the usual line, the process
// lives on, the old table stays whole and no temporary file is left. A link planted where the
// temporary file goes is never written through. A directory in the table's place is said once
// a use and left alone.
TEST_F(HighscoreTest, TheFileIsReplacedWholeOrNotAtAll) {
    writeFile(kFile, table(record("old", 1, 1)));
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
    EXPECT_FALSE(fileExists("Save/Highscore.hs.new"));
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
    EXPECT_EQ(runCommand("ls -A Save").out, "Highscore.hs\n");
}
