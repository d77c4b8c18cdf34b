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

TEST_F(HighscoreTest, WithoutAFileTheDefaultTableIsWrittenAndRanksNewTimes) {
    Capture out;
    {
        SolrindPHighscore table;
        EXPECT_EQ(table.isRecord(9, 59), 1);
        EXPECT_EQ(table.isRecord(10, 0), -1);  // equal to the tenth: no record
        EXPECT_EQ(table.isRecord(10, 1), -1);
    }
    EXPECT_EQ(out.finish(), "");
    EXPECT_EQ(readFile("Save/Highscore.hs"), defaultFile());
    EXPECT_EQ(defaultFile().substr(0, 4), std::string("\x9F\x01\x00\x00", 4));  // "s": 115 + 300
    EXPECT_FALSE(fileExists("Save/Highscore.hs.new"));
}

// A new time goes below equal times; the best goes to the top and the tenth drops out; a
// 10-character name, spaces and the font's extra letters survive writing and reading.
TEST_F(HighscoreTest, EnteringAndNamingRecordsByteForByte) {
    writeTable({{"one", 1, 30}, {"two", 2, 0}, {"too", 2, 0}, {"three", 3, 0}});
    {
        SolrindPHighscore table;
        EXPECT_EQ(table.isRecord(2, 0), 4);
        EXPECT_EQ(table.isRecord(2, 10), 4);  // worse than 1:30 for all its fewer seconds
        EXPECT_EQ(table.isRecord(1, 10), 1);
        table.enterRecord("ab", 2, 0);
        table.enterRecord("late", 10, 0);  // no record: nothing changes
    }
    std::string expected = record("one", 1, 30) + record("two", 2, 0) + record("too", 2, 0) +
                           record("ab", 2, 0) + record("three", 3, 0);
    for (int r = 0; r < 5; ++r)
        expected += record("solrind", 10, 0);
    EXPECT_EQ(readFile("Save/Highscore.hs"), expected);
    {
        SolrindPHighscore table;
        table.enterRecord("", 0, 30);
        table.updateSlotName(0, "abcdefghij");
        table.updateSlotName(1, "a }~\x7fklmnopq");  // cut to ten
    }
    const std::string bytes = readFile("Save/Highscore.hs");
    EXPECT_EQ(bytes.substr(0, 52), record("abcdefghij", 0, 30));
    EXPECT_EQ(bytes.substr(52, 20), word(397) + word(332) + word(425) + word(426) + word(427));
    EXPECT_EQ(bytes.substr(52 * 5, 52), record("three", 3, 0));
    EXPECT_EQ(bytes.substr(52 * 6), expected.substr(52 * 6, 52 * 4));  // a 10:00 dropped out
    writeFile("Save/Highscore.hs", bytes + std::string(80, 'x'));      // longer files are read
    Capture out;
    SolrindPHighscore again;
    EXPECT_EQ(out.finish(), "");
    EXPECT_STREQ(again.getSlotName(0), "abcdefghij");
    EXPECT_STREQ(again.getSlotName(1), "a }~\x7fklmno");
    EXPECT_EQ(again.getSlotMinutes(1), 1);
    EXPECT_EQ(again.getSlotSeconds(9), 0);
}

// A file that cannot be used gives the default table with one line; it is moved aside under
// the first free name, and the new table takes its place.
TEST_F(HighscoreTest, UnusableFilesAreKeptAsideAndReplaced) {
    const struct {
        std::string bytes;
        const char* why;
    } bad[] = {
        {record("kept", 1, 2).substr(0, 51), "it is shorter than 520 bytes"},
        {record("Upper", 1, 0), "a name holds a character the font cannot draw"},
        {word(INT32_MIN) + record("a", 1, 0).substr(4),
         "a name holds a character the font cannot draw"},
        {record("ok", 60, 0), "a time lies outside 00:00 to 59:59"},
        {record("ok", 1, -1), "a time lies outside 00:00 to 59:59"},
        {record("ok", 1, 60), "a time lies outside 00:00 to 59:59"},
    };
    for (int i = 0; i < 6; ++i) {
        std::string bytes = bad[i].bytes;
        while (i > 0 && bytes.size() < 520)
            bytes += record("solrind", 10, 0);
        writeFile("Save/Highscore.hs", bytes);
        const std::string copy = i == 0 ? "Save/Highscore.hs.rejected"
                                        : "Save/Highscore.hs.rejected." + std::to_string(i);
        Capture out;
        {
            SolrindPHighscore table;
            EXPECT_STREQ(table.getSlotName(0), "solrind");
        }
        EXPECT_EQ(out.finish(), "Save/Highscore.hs cannot be used (" + std::string(bad[i].why) +
                                    "): kept as " + copy + ", starting a new table\n");
        EXPECT_EQ(readFile(copy), bytes);
        EXPECT_EQ(readFile("Save/Highscore.hs"), defaultFile());
    }
    writeTable({{"ok", 59, 59}, {"q", 0, 0}});  // the edges of the range are fine
    Capture out;
    {
        SolrindPHighscore table;
        EXPECT_STREQ(table.getSlotName(0), "ok");
    }
    // A name character is the low 8 bits of (word - 300), as another build may store it;
    // what follows a name's end means nothing.
    std::string other = record("q", 0, 5);
    other.replace(0, 4, word('q' + 300 + 256));
    other.replace(4, 4, word(300 - 256));  // the end of the name, stored as -256 + 300
    other.replace(8, 4, word(INT32_MAX));  // beyond the end
    writeFile("Save/Highscore.hs", other + defaultFile().substr(52));
    {
        SolrindPHighscore table;
        EXPECT_STREQ(table.getSlotName(0), "q");
        EXPECT_EQ(table.getSlotSeconds(0), 5);
    }
    EXPECT_EQ(out.finish(), "");
    EXPECT_FALSE(fileExists("Save/Highscore.hs.rejected.6"));
    EXPECT_EQ(readFile("Save/Highscore.hs").substr(0, 52), record("q", 0, 5));
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
