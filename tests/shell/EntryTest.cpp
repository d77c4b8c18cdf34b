// The program's entry and the frame pacing that every loop shares.
#include <gtest/gtest.h>

#include <chrono>
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

TEST_F(WaitFrameTest, FirstCallAfterLoadingDoesNotSleep) {
    port.now = 5000;
    shell.nextFrameTicks = 0;
    shell.waitFrame();
    EXPECT_TRUE(port.sleeps.empty());
    EXPECT_EQ(shell.nextFrameTicks, 5040u);
}

TEST_F(WaitFrameTest, TenMillisecondsApartSleepsThirtyThenNothing) {
    port.now = 1000;
    shell.nextFrameTicks = 900;  // a deadline already passed
    shell.waitFrame();
    EXPECT_TRUE(port.sleeps.empty());
    port.now += 10;
    shell.waitFrame();
    ASSERT_EQ(port.sleeps.size(), 1u);
    EXPECT_EQ(port.sleeps[0], 30u);
    EXPECT_EQ(port.now, 1040u);
    EXPECT_EQ(shell.nextFrameTicks, 1050u);  // counted from entry, not from the wake-up
    port.now += 10;
    shell.waitFrame();
    EXPECT_EQ(port.sleeps.size(), 1u);
    EXPECT_EQ(shell.nextFrameTicks, 1090u);
}

TEST_F(WaitFrameTest, SlowFrameIsNotSlowedFurther) {
    port.now = 0;
    shell.waitFrame();
    port.now += 55;
    shell.waitFrame();
    EXPECT_TRUE(port.sleeps.empty());
    EXPECT_EQ(shell.nextFrameTicks, 95u);
}

TEST_F(WaitFrameTest, FramesOfLittleWorkAlternateFortyAndWork) {
    port.now = 0;
    shell.waitFrame();
    std::vector<uint32_t> frameLengths;
    uint32_t last = port.now;
    for (int i = 0; i < 6; ++i) {
        port.now += 5;  // the frame's work
        shell.waitFrame();
        frameLengths.push_back(port.now - last);
        last = port.now;
    }
    EXPECT_EQ(frameLengths, (std::vector<uint32_t>{40, 5, 40, 5, 40, 5}));
}

TEST_F(WaitFrameTest, CounterWrapNeitherSleepsForWeeksNorSkipsTheFrame) {
    port.now = 0xFFFFFFD0u;
    shell.waitFrame();
    EXPECT_EQ(shell.nextFrameTicks, 0xFFFFFFF8u);
    port.now = 0x10;  // a long frame across the wrap
    shell.waitFrame();
    EXPECT_TRUE(port.sleeps.empty());

    port.now = 0xFFFFFFF0u;
    shell.waitFrame();
    EXPECT_EQ(shell.nextFrameTicks, 0x18u);  // the deadline itself wrapped
    port.now = 0xFFFFFFFAu;
    shell.waitFrame();
    ASSERT_EQ(port.sleeps.size(), 1u);
    EXPECT_EQ(port.sleeps[0], 30u);
}

TEST(Entry, SdlThatCannotStartEndsWithStatusTwoAndBothMessages) {
    const RunResult run = runCommand(std::string("SDL_VIDEODRIVER=no-such-driver ") +
                                     SOLRIND_GAME_BINARY + " one two");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "no-such-driver not available\n");
    EXPECT_EQ(run.err, "Couldn't initialize SDL: no-such-driver not available\n");
}

namespace {

// A game folder with the art maker's pictures but one, for a run of the real program.
std::string folderWithout(const std::string& missing) {
    const std::string folder = makeTempDir("missing");
    runCommand("cp -r " SOLRIND_ART_DIR "/GFX " + folder + "/ && mkdir " + folder + "/Save && rm " +
               folder + "/" + missing);
    return folder;
}

RunResult runGame(const std::string& folder) {
    // The release is skipped after an error by design, so the leak check is off here.
    return runCommand(
        "cd " + folder +
        " && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 " +
        SOLRIND_GAME_BINARY + " --any arguments");
}

}  // namespace

TEST(Entry, MissingStartScreenEndsTheRunWithTheFileLoadErrorAndStatusOne) {
    const RunResult run = runGame(folderWithout("GFX/Screens/Startscreen-01.bmp"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "Caught exception\nGeneric exception of type: FileLoad raised: Couldn't open "
              "GFX/Screens/Startscreen-01.bmp\n");
}

TEST(Entry, MissingFontEndsTheRunWhileLoadingBeforeAnyStartScreen) {
    const auto start = std::chrono::steady_clock::now();
    const RunResult run = runGame(folderWithout("GFX/Menus/GameFont.bmp"));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "Caught exception\nGeneric exception of type: FileLoad raised: Couldn't open "
              "GFX/Menus/GameFont.bmp\n");
    EXPECT_LT(took, std::chrono::seconds(3));  // no 4-second start screen was shown
}
