// A kiosk left alone: a round and a name entry end as Esc ends them, the menu shows its
// screens in turn until a touch brings the welcome screen; the settings from the service.
#include <cstdlib>

#include "GameInput.h"
#include "ShellFixture.h"
#include "SolrindPHighscore.h"

namespace {

class KioskTest : public ShellFixture {
  protected:
    void SetUp() override {
        ShellFixture::SetUp();
        load();
        shell.idleLimitMs = 2000;  // 50 frames
    }
};

// A round that is completed at once, into the name entry.
const Steps kRecord = {{"key", SDLK_s},  {"until", "round"}, {"gates shut"},
                       {"arrange", "0"}, {"click", 200, 80}, {"until", "name"}};

}  // namespace

// Only SOLRIND_KIOSK=1 sets a limit, 90 s or SOLRIND_IDLE_SECONDS; a bad one is shown (its
// control characters too: no forged line) and not taken.
TEST(KioskSettings, OnlyTheKioskServiceSetsALimit) {
    const struct {
        const char *kiosk, *seconds;
        uint32_t limit;
        const char* shown;  // in the line about a bad setting, or null for none
    } cases[] = {
        // clang-format off
        {nullptr, "5", 0, nullptr}, {"0", nullptr, 0, nullptr}, {"1", nullptr, 90000, nullptr},
        {"1", "5", 5000, nullptr}, {"1", "86400", 86400000, nullptr}, {"1", "86401", 90000, "86401"},
        {"1", "0", 90000, "0"}, {"1", "", 90000, ""}, {"1", "99999999999999999999", 90000, "99999999999999999999"},
        {"1", "5\nsolrind: forged ~\x7f", 90000, "5?solrind: forged ~?"},
        // clang-format on
    };
    for (const auto& c : cases) {
        c.kiosk ? setenv("SOLRIND_KIOSK", c.kiosk, 1) : unsetenv("SOLRIND_KIOSK");
        c.seconds ? setenv("SOLRIND_IDLE_SECONDS", c.seconds, 1) : unsetenv("SOLRIND_IDLE_SECONDS");
        SolrindPGameShell shell;
        shell.idleLimitMs = 1;
        Capture said;
        shell.readKioskSettings();
        EXPECT_EQ(said.finish(), c.shown
                                     ? "SOLRIND_IDLE_SECONDS=" + std::string(c.shown) +
                                           " is no number of seconds from 1 to 86400: 90 are used\n"
                                     : "")
            << c.seconds;
        EXPECT_EQ(shell.idleLimitMs, c.limit) << c.seconds;
    }
    unsetenv("SOLRIND_KIOSK");
    unsetenv("SOLRIND_IDLE_SECONDS");
}

// A round left alone ends as Esc ends it; a menu left alone shows the rules, the prize pages,
// 8 s each; a tap (on the play button too) brings the welcome screen and nothing else.
TEST_F(KioskTest, ARoundLeftAloneEndsAndTheMenuShowsItsScreensInTurn) {
    // clang-format off
    playMenu({{"key", SDLK_s}, {"until", "round"}, {"mark"}, {"frames", 49}, {"expect choice", 5},
              {"until", 0, "choice"}, {"expect ms", 2080},  // 2000 in the round, then the menu
              {"until", "menu"}, {"expect screen", "Backgrounds/Welcome"},
              {"until", 1, "choice"}, {"expect ms", 4040},  // and 2000 in the menu after the round's last frame
              {"until", "menu"}, {"expect screen", "Backgrounds/Rules"},
              {"until", 2, "choice"}, {"expect ms", 12040}, {"until", "menu"}, {"expect screen", "Backgrounds/Prizes1"},
              {"frames", 174}, {"expect slide", 120}, {"frames", 1}, {"expect slide", 620}, {"expect ms", 20040},
              {"until", "menu"}, {"expect screen", "Backgrounds/Prizes2"},
              {"tap", 60, 430}, {"expect choice", 0}, {"expect slide", 620},  // the play button: no round
              {"frames", 40}, {"key", SDLK_r}, {"mark"}, {"until", 2, "choice"}, {"until", 0, "choice"},
              {"expect ms", 2000}});  // left alone again
    // clang-format on
}

// Left alone in the name entry: the name typed so far is kept, as with Esc; the 4-second
// pause before the entry is not counted.
TEST_F(KioskTest, ANameEntryLeftAloneKeepsTheNameTypedSoFar) {
    Steps steps = kRecord;
    // Esc 2000 ms after b, then that frame's end and the menu's frame.
    steps.insert(
        steps.end(),
        {{"key", SDLK_a}, {"key", SDLK_b}, {"mark"}, {"until", 99, "choice"}, {"expect ms", 2080}});
    playMenu(steps);
    EXPECT_STREQ(SolrindPHighscore().getSlotName(0), "ab");
}
