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
        shown.push_back(screenShows("GFX/Screens/Startscreen-01.bmp") ? "start 1" : "?");
        pushQuit();
        return true;
    });
    then([&] {
        shown.push_back(screenShows("GFX/Screens/Startscreen-02.bmp") ? "start 2" : "?");
        return true;
    });
    then([&] {
        shown.push_back(screenShows("GFX/Menus/Menu.bmp") ? "menu" : "?");
        return true;
    });
    then([&] {  // the first menu frame handles the quit request
        shown.push_back(shell.gameInput->done ? "quit" : "?");
        return true;
    });
    then([&] {
        shown.push_back(screenShows("GFX/Screens/Creditscreen.bmp") ? "credits" : "?");
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
    for (int frame = 1; frame <= 26; ++frame) {
        shell.menuFrame();
        ASSERT_EQ(slide(), 640 - 20 * frame);
        if (frame == 13) {
            SDL_Surface* welcome = SDL_LoadBMP("GFX/Backgrounds/Welcome.bmp");
            EXPECT_EQ(at(380 + 10, 100), pixelAt(welcome, 10, 100));  // its left edge at x 380
            SDL_FreeSurface(welcome);
        }
    }
    EXPECT_TRUE(contentShows("GFX/Backgrounds/Welcome.bmp"));
    EXPECT_EQ(shell.currentScreen, -1);
    shell.menuFrame();
    EXPECT_EQ(slide(), 120);
    std::string path = screenshot("menu-welcome");
    RecordProperty("screenshot", path);
    choose(SDLK_f);  // the welcome button slides it in again
    EXPECT_EQ(shell.currentScreen, 0);
    EXPECT_EQ(slide(), 120);
    EXPECT_TRUE(contentShows("GFX/Backgrounds/Welcome.bmp"));
}

TEST_F(MenuScreensTest, PrizePagesTurnWithSpace) {
    startAndSettle();
    choose(SDLK_r);
    EXPECT_TRUE(contentShows("GFX/Backgrounds/Prizes1.bmp"));
    choose(SDLK_SPACE);
    EXPECT_TRUE(contentShows("GFX/Backgrounds/Prizes2.bmp"));
    choose(SDLK_SPACE);
    EXPECT_TRUE(contentShows("GFX/Backgrounds/Prizes3.bmp"));
    choose(SDLK_SPACE);
    EXPECT_TRUE(contentShows("GFX/Backgrounds/Prizes1.bmp"));
    EXPECT_EQ(shell.currentScreen, 2);
    choose(SDLK_SPACE, 1);
    choose(SDLK_r, 1);  // the prize button on the prize screen: nothing, not even a restart
    EXPECT_EQ(slide(), 600);
    for (int i = 0; i < 24; ++i)
        shell.menuFrame();
    EXPECT_TRUE(contentShows("GFX/Backgrounds/Prizes2.bmp"));
    choose(SDLK_i);
    choose(SDLK_r);  // after another screen: the first page again
    EXPECT_TRUE(contentShows("GFX/Backgrounds/Prizes1.bmp"));
    std::string path = screenshot("menu-prizes");
    RecordProperty("screenshot", path);
}

TEST_F(MenuScreensTest, SponsorPagesAlternate) {
    startAndSettle();
    choose(SDLK_u);
    EXPECT_TRUE(contentShows("GFX/Backgrounds/Solrind.bmp"));
    choose(SDLK_SPACE);
    EXPECT_TRUE(contentShows("GFX/Backgrounds/Solrind2.bmp"));
    choose(SDLK_SPACE);
    EXPECT_TRUE(contentShows("GFX/Backgrounds/Solrind.bmp"));
    EXPECT_EQ(shell.currentScreen, 3);
}

TEST_F(MenuScreensTest, SpaceDoesNothingOnTheOtherScreens) {
    startAndSettle();
    choose(SDLK_SPACE, 2);
    EXPECT_EQ(slide(), 120);
    EXPECT_EQ(shell.currentScreen, -1);
    choose(SDLK_i);
    choose(SDLK_SPACE, 2);
    EXPECT_EQ(slide(), 120);
    EXPECT_EQ(shell.currentScreen, 1);
    EXPECT_TRUE(contentShows("GFX/Backgrounds/Rules.bmp"));
    std::string path = screenshot("menu-rules");
    RecordProperty("screenshot", path);
    choose(SDLK_h);
    choose(SDLK_SPACE, 2);
    EXPECT_EQ(shell.currentScreen, 4);
    EXPECT_EQ(slide(), 120);
}

TEST_F(MenuScreensTest, ChoosingDuringASlideRestartsItWithTheNewPicture) {
    startAndSettle();
    choose(SDLK_r, 5);
    EXPECT_EQ(slide(), 540);
    choose(SDLK_i, 1);
    EXPECT_EQ(slide(), 620);
    EXPECT_EQ(at(300, 300), kBlack);
    for (int i = 0; i < 25; ++i)
        shell.menuFrame();
    EXPECT_TRUE(contentShows("GFX/Backgrounds/Rules.bmp"));
}

TEST_F(MenuScreensTest, HighscoreTableIsDrawnWhenTheSlideEnds) {
    startAndSettle();
    choose(SDLK_h, 25);
    EXPECT_FALSE(fileExists("Save/Highscore.hs"));  // not read or written yet
    SDL_Surface* picture = SDL_LoadBMP("GFX/Backgrounds/Highscore.bmp");
    const uint32_t behindTime = pixelAt(picture, 350 + 9, 161 + 8);
    shell.menuFrame();
    EXPECT_EQ(slide(), 120);
    EXPECT_TRUE(fileExists("Save/Highscore.hs"));
    int drawn = 0;  // the default table's times stand in every row
    for (int row = 0; row < 10; ++row)
        for (int x = 470; x < 470 + 95; ++x)
            for (int y = 161 + 20 * row; y < 178 + 20 * row; ++y)
                drawn += at(x, y) != behindTime;
    EXPECT_GT(drawn, 10 * 100);
    EXPECT_NE(at(240 + 5, 161 + 8), pixelAt(picture, 120 + 5, 161 + 8));  // "solrind"
    SDL_FreeSurface(picture);
    std::string path = screenshot("menu-highscores");
    RecordProperty("screenshot", path);
    EXPECT_EQ(shell.countFont->textPos.x, 240);
    EXPECT_EQ(shell.countFont->textPos.y, 161 + 180);
}

TEST_F(MenuScreensTest, UnwritableHighscoreFileDoesNotStopTheGame) {
    rmdir("Save");
    startAndSettle();
    Capture out;
    choose(SDLK_h);
    EXPECT_EQ(out.finish(), "Error saving Save/Highscore.hs\n");
    choose(SDLK_r);
    EXPECT_TRUE(contentShows("GFX/Backgrounds/Prizes1.bmp"));
}

TEST_F(MenuScreensTest, QuitButtonAndEscapeEndTheMenu) {
    startAndSettle();
    tap(SDLK_ESCAPE);
    shell.menuFrame();
    EXPECT_TRUE(shell.gameInput->done);
    shell.gameInput->done = false;
    shell.currentScreen = 0;
    mouse(60, 480, SDL_BUTTON_LMASK);
    shell.menuFrame();
    EXPECT_TRUE(shell.gameInput->done);
    EXPECT_EQ(shell.currentScreen, 6);
}
