// The highscore table and its 520-byte file, byte for byte, with the atomic replacement and
// the keeping of files that cannot be used.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include "Capture.h"
#include "SolrindPHighscore.h"

namespace {

// Runs each test in a game folder of its own, with a Save directory.
class HighscoreTest : public testing::Test {
  protected:
    void SetUp() override {
        home = getcwd(nullptr, 0);
        folder = makeTempDir("highscore");
        ASSERT_EQ(chdir(folder.c_str()), 0);
        mkdir("Save", 0755);
    }
    void TearDown() override {
        EXPECT_EQ(chdir(home), 0);
        free(home);
    }
    static std::string word(int32_t value) {
        std::string bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[i] = static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
        return bytes;
    }
    // The bytes of one record as the file stores them.
    static std::string record(const std::string& name, int32_t minutes, int32_t seconds) {
        std::string bytes;
        for (int k = 0; k < 11; ++k)
            bytes += word((k < static_cast<int>(name.size()) ? name[k] : 0) + 300);
        return bytes + word(minutes) + word(seconds);
    }
    static std::string defaultFile() {
        std::string bytes;
        for (int r = 0; r < 10; ++r)
            bytes += record("solrind", 10, 0);
        return bytes;
    }
    // Writes a table file of the given records, padded with defaults to ten.
    static void writeTable(std::vector<std::tuple<std::string, int, int>> rows) {
        std::string bytes;
        for (const auto& [name, m, s] : rows)
            bytes += record(name, m, s);
        while (bytes.size() < 520)
            bytes += record("solrind", 10, 0);
        writeFile("Save/Highscore.hs", bytes);
    }
    char* home = nullptr;
    std::string folder;
};

}  // namespace

TEST_F(HighscoreTest, WithoutAFileTheDefaultTableIsWritten) {
    Capture out;
    { SolrindPHighscore table; }
    EXPECT_EQ(out.finish(), "");
    const std::string bytes = readFile("Save/Highscore.hs");
    EXPECT_EQ(bytes.size(), 520u);
    EXPECT_EQ(bytes, defaultFile());
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x9F\x01\x00\x00", 4));  // "s" is 115 + 300
    EXPECT_FALSE(fileExists("Save/Highscore.hs.new"));
}

TEST_F(HighscoreTest, DefaultTableRanksNewTimes) {
    SolrindPHighscore table;
    EXPECT_STREQ(table.getSlotName(9), "solrind");
    EXPECT_EQ(table.getSlotMinutes(0), 10);
    EXPECT_EQ(table.isRecord(9, 59), 1);
    EXPECT_EQ(table.isRecord(10, 0), -1);
    EXPECT_EQ(table.isRecord(10, 1), -1);
}

TEST_F(HighscoreTest, EqualTimesStayAboveTheNewEntry) {
    writeTable({{"one", 1, 0}, {"two", 2, 0}, {"too", 2, 0}, {"three", 3, 0}});
    {
        SolrindPHighscore table;
        EXPECT_EQ(table.isRecord(2, 0), 4);
        table.enterRecord("ab", 2, 0);
        EXPECT_STREQ(table.getSlotName(1), "two");
        EXPECT_STREQ(table.getSlotName(2), "too");
        EXPECT_STREQ(table.getSlotName(3), "ab");
        EXPECT_STREQ(table.getSlotName(4), "three");
        EXPECT_EQ(table.getSlotMinutes(4), 3);
    }
    std::string expected = record("one", 1, 0) + record("two", 2, 0) + record("too", 2, 0) +
                           record("ab", 2, 0) + record("three", 3, 0);
    for (int r = 0; r < 5; ++r)
        expected += record("solrind", 10, 0);
    EXPECT_EQ(readFile("Save/Highscore.hs"), expected);
}

TEST_F(HighscoreTest, BestTimeGoesToTheTopAndTheLastDropsOut) {
    writeTable({{"a", 1, 1},
                {"b", 1, 2},
                {"c", 1, 3},
                {"d", 1, 4},
                {"e", 1, 5},
                {"f", 1, 6},
                {"g", 1, 7},
                {"h", 1, 8},
                {"i", 1, 9},
                {"j", 1, 10}});
    SolrindPHighscore table;
    table.enterRecord("new", 0, 30);
    EXPECT_STREQ(table.getSlotName(0), "new");
    EXPECT_STREQ(table.getSlotName(1), "a");
    EXPECT_STREQ(table.getSlotName(9), "i");
    table.enterRecord("late", 5, 0);  // no record: nothing changes
    EXPECT_STREQ(table.getSlotName(9), "i");
}

TEST_F(HighscoreTest, TenCharacterNameSurvivesWritingAndReading) {
    {
        SolrindPHighscore table;
        table.enterRecord("", 3, 7);
        table.updateSlotName(0, "abcdefghij");
    }
    EXPECT_EQ(readFile("Save/Highscore.hs").substr(0, 52), record("abcdefghij", 3, 7));
    SolrindPHighscore again;
    EXPECT_STREQ(again.getSlotName(0), "abcdefghij");
    EXPECT_EQ(again.getSlotMinutes(0), 3);
    EXPECT_EQ(again.getSlotSeconds(0), 7);
    again.updateSlotName(1, "abcdefghijklm");  // longer names are cut to ten
    EXPECT_STREQ(again.getSlotName(1), "abcdefghij");
}

TEST_F(HighscoreTest, ExtraLettersAndSpacesAreStoredAsSignedValues) {
    {
        SolrindPHighscore table;
        table.updateSlotName(0, "a }~\x7f");
    }
    EXPECT_EQ(readFile("Save/Highscore.hs").substr(0, 20),
              word(397) + word(332) + word(425) + word(426) + word(427));
    SolrindPHighscore again;
    EXPECT_STREQ(again.getSlotName(0), "a }~\x7f");
}

TEST_F(HighscoreTest, LongerFileIsAccepted) {
    writeTable({{"longer", 4, 4}});
    writeFile("Save/Highscore.hs", readFile("Save/Highscore.hs") + std::string(80, 'x'));
    Capture out;
    SolrindPHighscore table;
    EXPECT_EQ(out.finish(), "");
    EXPECT_STREQ(table.getSlotName(0), "longer");
}

TEST_F(HighscoreTest, ShortFileIsKeptAsideAndReplaced) {
    writeTable({{"kept", 1, 2}});
    const std::string shortFile = readFile("Save/Highscore.hs").substr(0, 519);
    writeFile("Save/Highscore.hs", shortFile);
    Capture out;
    {
        SolrindPHighscore table;
        EXPECT_STREQ(table.getSlotName(0), "solrind");
    }
    EXPECT_EQ(out.finish(),
              "Save/Highscore.hs cannot be used (it is shorter than 520 bytes): kept as "
              "Save/Highscore.hs.rejected, starting a new table\n");
    EXPECT_EQ(readFile("Save/Highscore.hs.rejected"), shortFile);
    EXPECT_EQ(readFile("Save/Highscore.hs"), defaultFile());
}

TEST_F(HighscoreTest, NamesTheFontCannotDrawOrTimesOutOfRangeAreRejected) {
    const std::vector<std::tuple<std::string, int, int>> bad[] = {
        {{"Upper", 1, 0}}, {{"ok", 60, 0}}, {{"ok", 1, -1}}, {{"ok", 1, 60}}, {{"ok", 1, 1}}};
    const char* why[] = {"a name holds a character the font cannot draw",
                         "a time lies outside 00:00 to 59:59", "a time lies outside 00:00 to 59:59",
                         "a time lies outside 00:00 to 59:59",
                         "a name holds a character the font cannot draw"};
    for (int i = 0; i < 5; ++i) {
        writeTable(bad[i]);
        if (i == 4)  // a name word far outside the characters' range
            writeFile("Save/Highscore.hs",
                      word(INT32_MIN) + readFile("Save/Highscore.hs").substr(4));
        const std::string original = readFile("Save/Highscore.hs");
        const std::string copy = i == 0 ? "Save/Highscore.hs.rejected"
                                        : "Save/Highscore.hs.rejected." + std::to_string(i);
        Capture out;
        {
            SolrindPHighscore table;
            EXPECT_STREQ(table.getSlotName(0), "solrind");
            EXPECT_EQ(table.getSlotMinutes(0), 10);
        }
        EXPECT_EQ(out.finish(), "Save/Highscore.hs cannot be used (" + std::string(why[i]) +
                                    "): kept as " + copy + ", starting a new table\n");
        EXPECT_EQ(readFile(copy), original);
    }
    writeTable({{"ok", 59, 59}, {"q", 0, 0}});  // the edges of the range are fine
    Capture out;
    SolrindPHighscore table;
    EXPECT_EQ(out.finish(), "");
    EXPECT_STREQ(table.getSlotName(0), "ok");
}

TEST_F(HighscoreTest, WriteWithoutASaveDirectoryReportsAndGoesOn) {
    rmdir("Save");
    Capture out;
    { SolrindPHighscore table; }
    EXPECT_EQ(out.finish(), "Error saving Save/Highscore.hs\n");
    EXPECT_FALSE(fileExists("Save"));
}

// The file-size limit stops the write of the new file half way: the write fails with the usual
// line, the process lives on, the old table stays whole and no temporary file is left.
TEST_F(HighscoreTest, WriteStoppedByTheFileSizeLimitLeavesTheOldTableWhole) {
    writeTable({{"old", 1, 1}});
    const std::string before = readFile("Save/Highscore.hs");
    fflush(stdout);
    const pid_t child = fork();  // the limit and the default SIGXFSZ in a process of its own
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_DFL);
        const struct rlimit small = {100, 100};  // the write stops after 100 bytes
        if (setrlimit(RLIMIT_FSIZE, &small) != 0 || !freopen("out.txt", "w", stdout))
            _exit(3);
        {
            SolrindPHighscore table;
            table.enterRecord("new", 0, 1);
        }
        fflush(stdout);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readFile("out.txt"), "Error saving Save/Highscore.hs\n");
    EXPECT_EQ(readFile("Save/Highscore.hs"), before);
    EXPECT_FALSE(fileExists("Save/Highscore.hs.new"));
}

// A link planted where the temporary file goes is removed, never written through: its target
// stays as it was and the table becomes a file of its own.
TEST_F(HighscoreTest, ALinkInPlaceOfTheTemporaryFileIsNotFollowed) {
    writeFile("victim", "precious");
    ASSERT_EQ(symlink("../victim", "Save/Highscore.hs.new"), 0);
    Capture out;
    {
        SolrindPHighscore table;
        table.enterRecord("new", 0, 1);
    }
    EXPECT_EQ(out.finish(), "");
    EXPECT_EQ(readFile("victim"), "precious");
    struct stat info;
    ASSERT_EQ(lstat("Save/Highscore.hs", &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(readFile("Save/Highscore.hs").substr(0, 4), word('n' + 300));
    EXPECT_FALSE(fileExists("Save/Highscore.hs.new"));
}

// A directory where the table belongs: one line per use saying so, and nothing left behind.
TEST_F(HighscoreTest, ADirectoryInPlaceOfTheTableIsReportedAndLeftAlone) {
    ASSERT_EQ(mkdir("Save/Highscore.hs", 0755), 0);
    for (int use = 0; use < 2; ++use) {
        Capture out;
        {
            SolrindPHighscore table;
            EXPECT_STREQ(table.getSlotName(0), "solrind");
        }
        EXPECT_EQ(out.finish(),
                  "Save/Highscore.hs cannot be used (it is a directory): the table is neither "
                  "read nor saved\n");
    }
    EXPECT_EQ(runCommand("ls -A Save").out, "Highscore.hs\n");
}
