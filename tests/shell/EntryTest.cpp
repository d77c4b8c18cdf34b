// The program's entry and the frame pacing that every loop shares.
#include <gtest/gtest.h>

#include <string>

#include "Capture.h"
#include "FakePort.h"
#include "SolrindPGameShell.h"

namespace {

class WaitFrameTest : public testing::Test {
  protected:
    FakePort port;
    SolrindPGameShell shell;
};

}  // namespace

// Each call returns no earlier than 40 ms after the previous call was entered: a call 10 ms
// after one made at a passed deadline sleeps 30; a slow frame is not slowed further; frames of
// 5 ms of work take 40 and 5 in turn; the 49-day wrap neither sleeps for weeks nor skips.
TEST_F(WaitFrameTest, FramesAreAtLeast40MillisecondsApartFromCallToCall) {
    const struct {
        uint32_t deadline;            // nextFrameTicks before the first call
        std::vector<uint32_t> works;  // milliseconds of work before each call
        std::vector<uint32_t> sleeps;
        uint32_t next;  // nextFrameTicks after the last call
    } cases[] = {
        {0, {5000}, {}, 5040},  // the first call after loading does not sleep
        {900, {1000, 10, 10}, {30}, 1090},
        {0, {0, 55}, {}, 95},
        {0, {0, 5, 5, 5, 5}, {35, 35}, 130},
        {0, {0xFFFFFFD0u, 0x40}, {}, 0x38},            // a long frame across the wrap
        {0xFFFFFF00u, {0xFFFFFFF0u, 10}, {30}, 0x22},  // the deadline itself wraps
    };
    for (const auto& c : cases) {
        port.now = 0;
        port.sleeps.clear();
        shell.nextFrameTicks = c.deadline;
        for (uint32_t work : c.works) {
            port.now += work;
            shell.waitFrame();
        }
        EXPECT_EQ(port.sleeps, c.sleeps) << c.works[0];
        EXPECT_EQ(shell.nextFrameTicks, c.next) << c.works[0];
    }
}

TEST(Entry, SdlThatCannotStartEndsWithStatusTwoAndBothMessages) {
    const RunResult run = runCommand(std::string("SDL_VIDEODRIVER=no-such-driver ") +
                                     SOLRIND_GAME_BINARY + " one two");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "no-such-driver not available\n");
    EXPECT_EQ(run.err, "Couldn't initialize SDL: no-such-driver not available\n");
}

// The real program in a game folder without one picture: the error's line and status 1 (the
// release is skipped after an error by design, so the leak check is off).
TEST(Entry, AMissingPictureEndsTheRunWithTheFileLoadErrorAndStatusOne) {
    for (const char* missing : {"GFX/Menus/GameFont.bmp", "GFX/Screens/Startscreen-01.bmp"}) {
        const std::string folder = makeTempDir("missing");
        runCommand("cp -r " SOLRIND_ART_DIR "/GFX " + folder + "/ && rm " + folder + "/" + missing);
        const RunResult run = runCommand("cd " + folder +
                                         " && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "
                                         "ASAN_OPTIONS=detect_leaks=0 " SOLRIND_GAME_BINARY);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out,
                  "Caught exception\nGeneric exception of type: FileLoad raised: "
                  "Couldn't open " +
                      std::string(missing) + "\n");
    }
}
