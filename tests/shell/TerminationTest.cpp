// SIGTERM in the name entry: the name so far stored, every loop ended (a program of its own).
#include <csignal>

#include "GameInput.h"
#include "ShellFixture.h"
#include "SolrindPHighscore.h"
#include "gnInput.h"

namespace {

class TerminationTest : public ShellFixture {};

}  // namespace

TEST_F(TerminationTest, SigtermDuringTheNameEntryStoresTheNameAndEndsEveryLoop) {
    gnInstallTerminationHandlers();
    load();
    // clang-format off
    playMenu({{"key", SDLK_s}, {"until", "round"}, {"arrange", "0"}, {"click", 200, 80}, {"until", "name"},
              {"key", SDLK_x}, {"terminate"}});
    // clang-format on
    EXPECT_TRUE(shell.gameInput->done);
    EXPECT_STREQ(SolrindPHighscore().getSlotName(0), "x");
    const int before = frames;
    shell.run();  // the menu ends at its first frame
    EXPECT_LE(frames - before, 2);
    EXPECT_TRUE(shell.gameInput->done);
}
