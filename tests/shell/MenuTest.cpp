// The menu frame by frame with the real pictures: start screens, screens, pages, the table.
#include <gtest/gtest-spi.h>

#include "CountFont.h"
#include "EngineFixture.h"
#include "GameInput.h"
#include "ImageBackground.h"
#include "RoundFile.h"
#include "ShellFixture.h"
#include "SolrindPHighscore.h"
#include "gnScreen.h"

namespace {

class MenuTest : public ShellFixture {};

}  // namespace

// Two start screens of 4 s (a quit made meanwhile ends the menu), the menu, the credits.
TEST_F(MenuTest, StartScreensMenuAndCredits) {
    // clang-format off
    play({{"expect screen", "Screens/Startscreen-01"}, {"quit"}, {"expect screen", "Screens/Startscreen-02"},
          {"frames", 1}, {"expect screen", "Menus/Menu"}, {"frames", 2}, {"expect screen", "Screens/Creditscreen"}});
    // clang-format on
    Capture quiet;
    shell.userExec(0, nullptr);
    EXPECT_TRUE(scriptDone());
    Lines pacing;
    for (const std::string& line : port.log)
        if (line.rfind("update", 0) != 0)
            pacing.push_back(line);
    EXPECT_EQ(pacing, (Lines{"present", "delay 4000", "present", "delay 4000", "present", "present",
                             "present", "delay 4000"}));
}

// Keys, clicks and taps: the slide, the screen, the picture, the pages (turned by Space or by
// a tap on the page), P before a round.
TEST_F(MenuTest, ScreensAndPagesFollowTheButtons) {
    load();
    // clang-format off
    playMenu({{"expect choice", -1}, {"frames", 26}, {"expect slide", 120}, {"expect screen", "Backgrounds/Welcome"},
              {"key", SDLK_f}, {"expect slide", 620}, {"expect pixel", 300, 200, 0}, {"expect choice", 0}, {"frames", 25}, {"expect screen", "Backgrounds/Welcome"},
              {"key", SDLK_SPACE}, {"frames", 2}, {"expect slide", 120}, {"expect choice", 0},
              {"key", SDLK_p}, {"frames", 2}, {"expect slide", 120}, {"expect file", 0, "Bin/tmp"},
              {"key", SDLK_r}, {"frames", 26}, {"expect screen", "Backgrounds/Prizes1"}, {"expect choice", 2},
              {"key", SDLK_SPACE}, {"frames", 26}, {"expect screen", "Backgrounds/Prizes2"},
              {"tap", 400, 300}, {"frames", 26}, {"expect screen", "Backgrounds/Prizes3"},  // a page's tap
              {"key", SDLK_SPACE}, {"frames", 26}, {"expect screen", "Backgrounds/Prizes1"},
              {"key", SDLK_SPACE}, {"expect slide", 620}, {"key", SDLK_r}, {"expect slide", 600},  // no restart on its own screen
              {"frames", 24}, {"expect screen", "Backgrounds/Prizes2"}, {"expect choice", 2},
              {"click", 60, 200}, {"frames", 26}, {"expect screen", "Backgrounds/Rules"}, {"expect choice", 1},
              {"key", SDLK_SPACE}, {"frames", 2}, {"expect screen", "Backgrounds/Rules"},
              {"tap", 400, 300}, {"frames", 1}, {"expect slide", 120}, {"expect choice", 1},  // no pages
              {"key", SDLK_r}, {"frames", 5}, {"expect slide", 540}, {"tap", 60, 300}, {"expect slide", 620},
              {"expect choice", 3}, {"frames", 25}, {"expect screen", "Backgrounds/Solrind"},  // restarted
              {"click", 630, 510}, {"frames", 26}, {"expect screen", "Backgrounds/Solrind2"},
              {"key", SDLK_SPACE}, {"frames", 26}, {"expect screen", "Backgrounds/Solrind"},
              {"key", SDLK_r}, {"frames", 26}, {"expect screen", "Backgrounds/Prizes1"},
              {"key", SDLK_h}, {"frames", 25}, {"expect file", 0, "Save/Highscore.hs"},
              {"frames", 1}, {"expect file", 0, "Save/Highscore.hs"},  // the slide ends: the picture,
              {"frames", 2}, {"expect file", 1, "Save/Highscore.hs"},  // the table drawn, written
              {"click", 60, 480}, {"frames", 1}});
    // clang-format on
    EXPECT_TRUE(shell.gameInput->done);
    EXPECT_EQ(shell.currentScreen, 6);
}

// Drawn once when the slide ends: row i's time at (470, 161 + 20 i), its name at (240, ...).
TEST_F(MenuTest, TheHighscoreTable) {
    load();
    playMenu({{"key", SDLK_h}, {"frames", 26}});
    SDL_Surface* picture = SDL_LoadBMP("GFX/Backgrounds/Highscore.bmp");
    for (int row = 0; row < 11; ++row) {
        int time = 0, name = 0, between = 0;
        for (int y = 161 + 20 * row; y < 178 + 20 * row; ++y)
            for (int x = 0; x < 95; ++x) {
                time += at(470 + x, y) != pixelAt(picture, 350 + x, y);
                name += at(240 + x, y) != pixelAt(picture, 120 + x, y);
            }
        for (int x = 240; x < 570; ++x)
            between += at(x, 179 + 20 * row) != pixelAt(picture, x - 120, 179 + 20 * row);
        EXPECT_EQ(time > 100 && name > 100, row < 10) << row;  // ten times, ten "solrind"
        EXPECT_EQ(between, 0) << row;
    }
    SDL_FreeSurface(picture);
    EXPECT_TRUE(pointManip::isEqual(shell.countFont->textPos, pt{240, 161 + 180}));
}

// In a browser beside an event server: the event's table becomes the table file before the
// highscore screen reads it, with a record of this browser not yet delivered; a table that is
// no table leaves the file alone with one line.
TEST_F(MenuTest, TheEventsTableBeforeEachUse) {
    load();
    writeFile("Save/Highscore.hs", scoreTable(scoreRecord("old", 0, 1)));
    runCommand("mkdir -p Save/Rounds");
    RoundRecord own;
    own.id = std::string(32, 'b'), own.kiosk = "web", own.started = "2026-12-07T10:00:00Z";
    own.library = "musl", own.frames = 1600, own.completed = true, own.minutes = 1;
    own.seconds = 1, own.record = true, own.name = "me";
    writeFile("Save/Rounds/" + roundfile::fileName(own), roundfile::format(own));
    madeUp(own.id);  // a record for the table, no round that was played
    port.eventTableText =
        "{\"best\": [{\"name\": \"ann\", \"time\": \"00:50\"}, {\"name\": \"bob\", \"time\": "
        "\"01:01\"}, {\"name\": \"cy\", \"time\": \"01:30\"}]}";
    playMenu({{"key", SDLK_h}, {"frames", 26}});
    // Best first, the event's row before this browser's at equal times.
    EXPECT_EQ(readFile("Save/Highscore.hs"),
              scoreTable(scoreRecord("ann", 0, 50) + scoreRecord("bob", 1, 1) +
                         scoreRecord("me", 1, 1) + scoreRecord("cy", 1, 30)));
    port.eventTableText = "{\"best\": [{\"name\": \"eve\", \"time\": \"61:00\"}]}";
    Capture said;
    playMenu({{"key", SDLK_w}, {"frames", 26}, {"key", SDLK_h}, {"frames", 26}});
    EXPECT_EQ(said.finish(),
              "The event's table is not taken: the event's table is unreadable: a time 61:00\n");
    EXPECT_EQ(readFile("Save/Highscore.hs").substr(0, 52), scoreRecord("ann", 0, 50));
}

// A background where it stands; none held after one that fails; Esc quits as Q does; a
// misspelt step.
TEST_F(MenuTest, BackgroundsAndEscape) {
    load();
    shell.background->pos.x = 300;
    shell.newBackground("GFX/Backgrounds/Rules.bmp");
    shell.newBackground("GFX/Backgrounds/Welcome.bmp");
    port.clearLog();
    shell.showBackground();
    shell.screen->update();
    EXPECT_EQ(port.updates(), Lines{"update 300 0 340 520"});
    EXPECT_TRUE(shows(shell.screen->getSDLSurface(), "GFX/Backgrounds/Welcome.bmp", 300));
    EXPECT_EQ(
        raisedBy([&] { shell.newBackground("GFX/Backgrounds/Missing.bmp"); }),
        "Generic exception of type: FileLoad raised: Couldn't open GFX/Backgrounds/Missing.bmp\n");
    EXPECT_EQ(shell.backgroundImage, nullptr);
    shell.newBackground("GFX/Backgrounds/Welcome.bmp");
    playMenu({{"frames", 26}, {"key", SDLK_ESCAPE}, {"frames", 1}});
    EXPECT_TRUE(shell.gameInput->done);
    // A step the runner does not know fails the test, rather than checking nothing.
    EXPECT_NONFATAL_FAILURE(playMenu({{"expect bord", "garbage"}}),
                            "expect bord garbage: no such step");
}
