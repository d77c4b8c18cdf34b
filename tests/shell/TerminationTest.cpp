// A service manager's stop (SIGTERM) during the name entry: the name typed so far is stored,
// the table file written whole, and every loop ends. (A program of its own: the request stays
// for the rest of the process.)
#include <csignal>

#include "EnterInput.h"
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
    shell.startMenu();
    shell.nextFrameTicks = 0;
    shell.countFont->giveTime(1, 2);
    then([this] {
        if (!shell.enterHandler->backgroundImage)
            return false;
        pushKeyDown(SDLK_x);
        raise(SIGTERM);
        return true;
    });
    shell.checkHighscore();  // a record against the default table: the name entry
    EXPECT_TRUE(gnTerminationRequested());
    EXPECT_TRUE(scriptDone());
    SolrindPHighscore table;
    EXPECT_STREQ(table.getSlotName(0), "x");
    EXPECT_EQ(table.getSlotMinutes(0) * 60 + table.getSlotSeconds(0), 62);
    const int before = frames;
    shell.run();  // the menu ends at its first frame
    EXPECT_LE(frames - before, 2);
    EXPECT_TRUE(shell.gameInput->done);
}
