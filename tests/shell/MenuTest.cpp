// The menu played frame by frame with the real pictures: the start screens, the ten buttons,
// screens and pages by key, click and tap, the highscore table, quitting.
#include <sys/stat.h>
#include <unistd.h>

#include "CountFont.h"
#include "EngineFixture.h"
#include "GameInput.h"
#include "ImageBackground.h"
#include "ShellFixture.h"
#include "SolrindPHighscore.h"
#include "Sounds.h"
#include "gnAudio.h"
#include "gnAudioImpl.h"
#include "gnScreen.h"

namespace {

class MenuTest : public ShellFixture {};

}  // namespace

// Two start screens of 4 seconds each with input left queued (a quit made during them ends
// the menu at its first frame), the menu picture, the credit screen; nothing else sleeps.
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

// Each key, click or tap and the frames after it; then the slide, the screen in force and the
// picture. The button of the screen shown slides it in again; space turns only the prize and
// sponsor pages; P does nothing before a round is completed; a choice during a slide restarts
// it with the new picture.
TEST_F(MenuTest, ScreensAndPagesFollowTheButtons) {
    load();
    // clang-format off
    playMenu({{"expect choice", -1}, {"frames", 26}, {"expect slide", 120}, {"expect screen", "Backgrounds/Welcome"},
              {"key", SDLK_f}, {"expect slide", 620}, {"expect choice", 0}, {"frames", 25}, {"expect screen", "Backgrounds/Welcome"},
              {"key", SDLK_SPACE}, {"frames", 2}, {"expect slide", 120}, {"expect choice", 0},
              {"key", SDLK_p}, {"frames", 2}, {"expect slide", 120}, {"expect file", 0, "Bin/tmp"},
              {"key", SDLK_r}, {"frames", 26}, {"expect screen", "Backgrounds/Prizes1"}, {"expect choice", 2},
              {"key", SDLK_SPACE}, {"frames", 26}, {"expect screen", "Backgrounds/Prizes2"},
              {"key", SDLK_SPACE}, {"frames", 26}, {"expect screen", "Backgrounds/Prizes3"},
              {"key", SDLK_SPACE}, {"frames", 26}, {"expect screen", "Backgrounds/Prizes1"},
              {"key", SDLK_SPACE}, {"expect slide", 620}, {"key", SDLK_r}, {"expect slide", 600},  // no restart on its own screen
              {"frames", 24}, {"expect screen", "Backgrounds/Prizes2"}, {"expect choice", 2},
              {"click", 60, 200}, {"frames", 26}, {"expect screen", "Backgrounds/Rules"}, {"expect choice", 1},
              {"key", SDLK_SPACE}, {"frames", 2}, {"expect screen", "Backgrounds/Rules"},
              {"key", SDLK_r}, {"frames", 5}, {"expect slide", 540}, {"tap", 60, 300}, {"expect slide", 620},
              {"expect choice", 3}, {"frames", 25}, {"expect screen", "Backgrounds/Solrind"},  // restarted
              {"key", SDLK_SPACE}, {"frames", 26}, {"expect screen", "Backgrounds/Solrind2"},
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

// The table is drawn once over its picture when the slide ends: row i's time at (470, 161 +
// 20 i), its name at (240, ...); a table that cannot be saved says so and the game goes on.
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
    unlink("Save/Highscore.hs");
    rmdir("Save");
    Capture out;
    // The slide, the picture and the table on it; then the prizes.
    playMenu({{"key", SDLK_h},
              {"frames", 28},
              {"key", SDLK_r},
              {"frames", 26},
              {"expect screen", "Backgrounds/Prizes1"}});
    EXPECT_EQ(out.finish(), "Error saving Save/Highscore.hs\n");
}

// A new background picture takes the old one's place without moving; after one that cannot
// be loaded none is held; a sponsor's sound loads through the shell.
TEST_F(MenuTest, BackgroundsAndSounds) {
    load();
    shell.background->pos.x = 300;
    shell.newBackground("GFX/Backgrounds/Rules.bmp");
    shell.newBackground("GFX/Backgrounds/Welcome.bmp");
    EXPECT_EQ(shell.background->frame.image, shell.backgroundImage);
    port.clearLog();
    shell.showBackground();
    shell.screen->update();
    EXPECT_EQ(port.updates(), Lines{"update 300 0 340 520"});
    SDL_Surface* welcome = SDL_LoadBMP("GFX/Backgrounds/Welcome.bmp");
    EXPECT_EQ(at(300, 100), pixelAt(welcome, 0, 100));
    EXPECT_EQ(at(639, 519), pixelAt(welcome, 339, 519));
    SDL_FreeSurface(welcome);
    EXPECT_EQ(raisedBy([&] { shell.newBackground("GFX/Backgrounds/Missing.bmp"); }),
              "Generic exception of type: FileLoad raised: Couldn't open GFX/Backgrounds/Missing.bmp\n");
    EXPECT_EQ(shell.backgroundImage, nullptr);
    ASSERT_NE(globalAudio, nullptr);  // the dummy device opened while loading
    Sound* beep =
        shell.loadSound(writeWav("beep.wav", 11025, 16, 1, std::vector<int>(100, 3000)).c_str());
    EXPECT_EQ(beep->getRate(), 11025u);
    delete beep;
}
