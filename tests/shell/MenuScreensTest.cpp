// The menu played frame by frame with the real pictures: start screens, slides, pages, the
// highscore table and quitting.
#include <sys/stat.h>
#include <unistd.h>

#include "CountFont.h"
#include "GameInput.h"
#include "ImageBackground.h"
#include "Pictures.h"
#include "ShellFixture.h"
#include "SolrindPHighscore.h"
#include "gnScreen.h"

namespace {

class MenuScreensTest : public ShellFixture {
  protected:
    // Loads, starts the menu and lets the welcome screen slide in.
    void startAndSettle() {
        load();
        shell.startMenu();
        for (int i = 0; i < 26; ++i)
            shell.menuFrame();
        ASSERT_EQ(slide(), 120);
    }
    // Taps a key and plays the frames of the slide it starts.
    void choose(SDL_Keycode key, int frames = 26) {
        tap(key);
        for (int i = 0; i < frames; ++i)
            shell.menuFrame();
    }
    int32_t slide() const { return shell.background->pos.x; }
};

}  // namespace

TEST_F(MenuScreensTest, StartScreensHoldFourSecondsEachAndLeaveInputQueued) {
    std::vector<std::string> shown;
    then([&] {  // the first start screen; a quit request arrives during it
        shown.push_back(shows("GFX/Screens/Startscreen-01.bmp", 0) ? "start 1" : "?");
        pushQuit();
        return true;
    });
    then([&] {
        shown.push_back(shows("GFX/Screens/Startscreen-02.bmp", 0) ? "start 2" : "?");
        return true;
    });
    then([&] {
        shown.push_back(shows("GFX/Menus/Menu.bmp", 0) ? "menu" : "?");
        return true;
    });
    then([&] {  // the first menu frame handles the quit request
        shown.push_back(shell.gameInput->done ? "quit" : "?");
        return true;
    });
    then([&] {
        shown.push_back(shows("GFX/Screens/Creditscreen.bmp", 0) ? "credits" : "?");
        return true;
    });
    Capture quiet;
    shell.userExec(0, nullptr);
    quiet.finish();
    EXPECT_EQ(shown, (std::vector<std::string>{"start 1", "start 2", "menu", "quit", "credits"}));
    std::vector<std::string> pacing;
    for (const std::string& line : port.log)
        if (line.rfind("update", 0) != 0)
            pacing.push_back(line);
    EXPECT_EQ(pacing, (std::vector<std::string>{"present", "delay 4000", "present", "delay 4000",
                                                "present", "present", "present", "delay 4000"}));
}

TEST_F(MenuScreensTest, WelcomeSlidesInOver26FramesWithoutAChoice) {
    load();
    shell.startMenu();
    EXPECT_EQ(slide(), 640);
    EXPECT_EQ(at(300, 300), kBlack);  // the content area is cleared at once
    EXPECT_NE(at(60, 10), kBlack);    // the menu column is not
    SDL_Surface* welcome = SDL_LoadBMP("GFX/Backgrounds/Welcome.bmp");
    for (int frame = 1; frame <= 26; ++frame) {
        shell.menuFrame();
        ASSERT_EQ(slide(), 640 - 20 * frame);
        ASSERT_EQ(at(slide() + 10, 100), pixelAt(welcome, 10, 100)) << frame;
    }
    SDL_FreeSurface(welcome);
    EXPECT_TRUE(shows("GFX/Backgrounds/Welcome.bmp"));
    EXPECT_EQ(shell.currentScreen, -1);
    shell.menuFrame();
    EXPECT_EQ(slide(), 120);
}

// Each step: a key, the frames played after it, then the picture the content area shows (or
// the slide position when the picture has not slid in) and the screen in force.
TEST_F(MenuScreensTest, ScreensAndPagesFollowTheKeys) {
    startAndSettle();
    const struct {
        SDL_Keycode key;
        int frames;
        const char* shows;  // a background picture, or null: check the slide position only
        int slide, screen;
    } steps[] = {
        {SDLK_f, 26, "Welcome", 120, 0},     // the button of the screen shown slides it in again
        {SDLK_SPACE, 2, "Welcome", 120, 0},  // space only turns prize and sponsor pages
        {SDLK_r, 26, "Prizes1", 120, 2},
        {SDLK_SPACE, 26, "Prizes2", 120, 2},
        {SDLK_SPACE, 26, "Prizes3", 120, 2},
        {SDLK_SPACE, 26, "Prizes1", 120, 2},
        {SDLK_SPACE, 1, nullptr, 620, 2},
        {SDLK_r, 1, nullptr, 600, 2},  // the prize button on the prize screen: no restart
        {0, 24, "Prizes2", 120, 2},
        {SDLK_i, 26, "Rules", 120, 1},
        {SDLK_SPACE, 2, "Rules", 120, 1},
        {SDLK_r, 5, nullptr, 540, 2},  // after another screen: the first page again
        {SDLK_u, 1, nullptr, 620, 3},  // chosen during a slide: it starts again
        {0, 25, "Solrind", 120, 3},
        {SDLK_SPACE, 26, "Solrind2", 120, 3},
        {SDLK_SPACE, 26, "Solrind", 120, 3},
        {SDLK_r, 26, "Prizes1", 120, 2},
    };
    for (const auto& s : steps) {
        if (s.key)
            tap(s.key);
        for (int i = 0; i < s.frames; ++i)
            shell.menuFrame();
        EXPECT_EQ(slide(), s.slide) << SDL_GetKeyName(s.key);
        EXPECT_EQ(shell.currentScreen, s.screen) << SDL_GetKeyName(s.key);
        if (s.shows) {
            EXPECT_TRUE(shows(("GFX/Backgrounds/" + std::string(s.shows) + ".bmp").c_str()))
                << s.shows;
        }
    }
}

TEST_F(MenuScreensTest, HighscoreTableIsDrawnWhenTheSlideEnds) {
    startAndSettle();
    choose(SDLK_h, 25);
    EXPECT_FALSE(fileExists("Save/Highscore.hs"));  // not read or written yet
    SDL_Surface* picture = SDL_LoadBMP("GFX/Backgrounds/Highscore.bmp");
    const uint32_t behindTime = pixelAt(picture, 350 + 9, 161 + 8);
    shell.menuFrame();
    EXPECT_TRUE(fileExists("Save/Highscore.hs"));
    int drawn = 0;  // the default table's times stand in every row
    for (int row = 0; row < 10; ++row)
        for (int x = 470; x < 470 + 95; ++x)
            for (int y = 161 + 20 * row; y < 178 + 20 * row; ++y)
                drawn += at(x, y) != behindTime;
    EXPECT_GT(drawn, 10 * 100);
    EXPECT_NE(at(240 + 5, 161 + 8), pixelAt(picture, 120 + 5, 161 + 8));  // "solrind"
    SDL_FreeSurface(picture);
    EXPECT_TRUE(pointManip::isEqual(shell.countFont->textPos, pt{240, 161 + 180}));
    rmdir("Save/Highscore.hs");
    unlink("Save/Highscore.hs");
    rmdir("Save");  // a table that cannot be saved does not stop the game
    Capture out;
    choose(SDLK_r);
    choose(SDLK_h);
    EXPECT_EQ(out.finish(), "Error saving Save/Highscore.hs\n");
    choose(SDLK_r);
    EXPECT_TRUE(shows("GFX/Backgrounds/Prizes1.bmp"));
}
