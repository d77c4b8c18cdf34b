// The button menu under scripted mouse and key state and real pushed SDL events.
#include "EngineFixture.h"
#include "MenuModule1.h"

namespace {

// Button frames in one picture: column 0 normal (blue), 1 highlighted (green), 2 pressed (red).
uint32_t frameColour(int x, int) {
    const uint32_t colours[3] = {kBlue, kGreen, kRed};
    return colours[(x / 100) % 3];
}

class MenuTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        frames = image(writeBmp(path("buttons.bmp"), 300, 50, frameColour));
        menu.screen = &screen;
        menu.setButtonCount(4);
        button(0, {10, 10, 50, 100}, SDLK_a);
        button(1, {10, 70, 50, 100}, SDLK_b);
        button(2, {60, 30, 50, 100}, SDLK_c);  // overlaps button 0
        button(3, {10, 70, 0, 0}, SDLK_d);     // keyboard only
    }
    void button(int i, gnRectangle area, int key) {
        ButtonRec* b = menu.getButtonRec(i);
        b->area = area;
        b->normalFrame = {frames, {0, 0, 50, 100}};
        b->highlightFrame = {frames, {100, 0, 50, 100}};
        b->downFrame = {frames, {200, 0, 50, 100}};
        b->key = key;
    }
    void mouse(int x, int y, uint32_t buttons) {
        port.mouseX = x;
        port.mouseY = y;
        port.mouseButtons = buttons;
    }
    // Hands one event to the menu as the pump would, with the mouse as set.
    void motion() {
        pushMouseMotion(port.mouseX, port.mouseY);
        menu.pollEvents();
    }
    void keyDown(SDL_Keycode key) {
        pushKeyDown(key);
        menu.pollEvents();
    }
    // The picture button i shows now, sampled where no other button overlaps it.
    uint32_t picture(int i) {
        const gnRectangle& a = menu.buttons[i].area;
        return i == 2 ? at(rectManip::maxX(a) - 2, rectManip::maxY(a) - 2) : at(a.x + 1, a.y + 1);
    }

    gnImage* frames = nullptr;
    MenuModule1 menu;
};

}  // namespace

TEST_F(MenuTest, ButtonCountIsZeroTo49) {
    MenuModule1 other;
    EXPECT_EQ(other.buttonCount, 0);
    EXPECT_EQ(raisedBy([&] { other.getButtonRec(0); }),
              "Generic exception of type: INDEX raised: Out of legal range in "
              "MenuModule1::getButtonRec!\n");
    other.setButtonCount(49);
    EXPECT_EQ(other.buttonCount, 49);
    for (int i = 0; i < 49; ++i)
        EXPECT_TRUE(other.getButtonRec(i)->enabled);
    const std::string outOfRange =
        "Software bug: Out of legal range in MenuModule1::setButtonCount!\n";
    EXPECT_EQ(raisedBy([&] { other.setButtonCount(50); }), outOfRange);
    EXPECT_EQ(raisedBy([&] { other.setButtonCount(-1); }), outOfRange);
    EXPECT_EQ(other.buttonCount, 49);
    EXPECT_EQ(raisedBy([&] { other.getButtonRec(49); }),
              "Generic exception of type: INDEX raised: Out of legal range in "
              "MenuModule1::getButtonRec!\n");
    EXPECT_EQ(raisedBy([&] { other.getButtonRec(-1); }),
              "Generic exception of type: INDEX raised: Out of legal range in "
              "MenuModule1::getButtonRec!\n");
}

TEST_F(MenuTest, ActivationDrawsEveryButtonAndHighlightsTheOneUnderThePointer) {
    menu.buttons[1].enabled = false;
    mouse(20, 20, 0);
    menu.selected = 5;
    menu.done = true;
    menu.activate();
    EXPECT_EQ(menu.selected, -1);
    EXPECT_FALSE(menu.done);
    EXPECT_EQ(menu.highlighted, 0);
    EXPECT_EQ(picture(0), kGreen);
    EXPECT_EQ(picture(1), kBlue);  // disabled, still drawn
    EXPECT_EQ(picture(2), kBlue);
    pt corner;
    menu.getButtonPos(2, &corner);
    EXPECT_EQ(corner.x, 60);
    EXPECT_EQ(corner.y, 30);
}

TEST_F(MenuTest, LowestIndexWinsTheHitTestAndDisabledOrEmptyAreasAreNeverHit) {
    menu.mouseX = 70;
    menu.mouseY = 40;  // inside buttons 0 and 2
    EXPECT_EQ(menu.mouseHitArea(), 0);
    menu.buttons[0].enabled = false;
    EXPECT_EQ(menu.mouseHitArea(), 2);
    menu.mouseX = 10;
    menu.mouseY = 70;  // the corner of buttons 1 and 3; 3 has no area
    EXPECT_EQ(menu.mouseHitArea(), 1);
    menu.buttons[1].enabled = false;
    EXPECT_EQ(menu.mouseHitArea(), -1);
    menu.mouseX = 160;  // the right edge of button 2 is outside
    menu.mouseY = 40;
    EXPECT_EQ(menu.mouseHitArea(), -1);
}

TEST_F(MenuTest, HeldKeysSelectWithTheHighestIndexWinning) {
    menu.activate();
    port.held = {SDLK_a, SDLK_c};
    keyDown(SDLK_x);  // the key named in the event does not matter
    EXPECT_EQ(menu.selected, 2);
    menu.buttons[2].enabled = false;
    keyDown(SDLK_x);
    EXPECT_EQ(menu.selected, 0);
    port.held = {SDLK_d};
    keyDown(SDLK_d);
    EXPECT_EQ(menu.selected, 3);  // keyboard-only button
}

TEST_F(MenuTest, KeyReleasedBeforeItsEventIsHandledSelectsNothing) {
    menu.activate();
    pushKeyDown(SDLK_b);
    pushKeyUp(SDLK_b);
    menu.pollEvents();  // b is no longer held when its key-down is handled
    EXPECT_EQ(menu.selected, -1);
    port.held = {SDLK_b};
    pushUserEvent(0);  // not a key event: keys are not looked at
    menu.pollEvents();
    EXPECT_EQ(menu.selected, -1);
}

TEST_F(MenuTest, DisabledButtonIsNeverHighlightedPressedOrSelected) {
    menu.buttons[0].enabled = false;
    menu.activate();
    mouse(20, 20, SDL_BUTTON_LMASK);
    motion();
    port.held = {SDLK_a};
    keyDown(SDLK_a);
    EXPECT_EQ(menu.selected, -1);
    EXPECT_EQ(picture(0), kBlue);
    EXPECT_EQ(menu.highlighted, -1);
}

TEST_F(MenuTest, PressDragAndReleaseMoveThePictures) {
    mouse(20, 80, 0);
    menu.activate();
    EXPECT_EQ(picture(1), kGreen);
    mouse(20, 20, SDL_BUTTON_LMASK);
    motion();
    EXPECT_EQ(menu.selected, 0);  // selected on the press
    EXPECT_EQ(picture(0), kRed);
    EXPECT_EQ(picture(1), kBlue);
    mouse(20, 80, SDL_BUTTON_LMASK);  // dragged onto button 1, still held
    motion();
    EXPECT_EQ(menu.selected, 1);
    EXPECT_EQ(picture(0), kBlue);
    EXPECT_EQ(picture(1), kRed);
    mouse(20, 80, 0);  // released
    motion();
    EXPECT_EQ(picture(1), kGreen);
    EXPECT_EQ(menu.selected, 1);
    mouse(300, 300, 0);  // off every button
    motion();
    EXPECT_EQ(picture(1), kBlue);
    EXPECT_EQ(menu.highlighted, -1);
}

TEST_F(MenuTest, PressOffEveryButtonChangesNothing) {
    mouse(20, 20, SDL_BUTTON_LMASK);
    menu.activate();
    motion();
    EXPECT_EQ(menu.selected, 0);
    mouse(300, 300, SDL_BUTTON_LMASK);
    motion();
    EXPECT_EQ(menu.selected, 0);
    EXPECT_EQ(picture(0), kRed);
    EXPECT_EQ(menu.highlighted, 0);
}

TEST_F(MenuTest, TwoMouseButtonsAreNoPress) {
    menu.activate();
    mouse(20, 20, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK);
    motion();
    EXPECT_EQ(menu.selected, -1);
    EXPECT_EQ(picture(0), kGreen);
    mouse(20, 20, SDL_BUTTON_RMASK);
    motion();
    EXPECT_EQ(menu.selected, -1);
}

TEST_F(MenuTest, QuitSetsDoneAndStillTracksTheMouse) {
    menu.activate();
    mouse(20, 80, 0);
    pushQuit();
    menu.pollEvents();
    EXPECT_TRUE(menu.done);
    EXPECT_EQ(menu.highlighted, 1);
    EXPECT_EQ(picture(1), kGreen);
}

TEST_F(MenuTest, RunMenuUpdatesAfterActivationAndAfterEveryEvent) {
    mouse(300, 300, 0);
    pushMouseMotion(1, 1);
    pushMouseMotion(2, 2);
    port.held = {SDLK_b};
    pushKeyDown(SDLK_b);
    pushUserEvent(99);  // must stay queued: runMenu returns after the selection
    menu.runMenu();
    EXPECT_EQ(menu.selected, 1);
    EXPECT_EQ(port.presents(), 4);
    SDL_Event left;
    ASSERT_EQ(SDL_PeepEvents(&left, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT), 1);
    EXPECT_EQ(left.type, static_cast<Uint32>(SDL_USEREVENT));
}

TEST_F(MenuTest, RunMenuReturnsOnQuitOrAPress) {
    pushQuit();
    menu.runMenu();
    EXPECT_TRUE(menu.done);
    EXPECT_EQ(menu.selected, -1);
    mouse(20, 20, SDL_BUTTON_LMASK);
    pushMouseMotion(20, 20);
    menu.runMenu();
    EXPECT_FALSE(menu.done);
    EXPECT_EQ(menu.selected, 0);
}

TEST_F(MenuTest, DelayScreenShowsThePictureAndSleepsWithoutHandlingEvents) {
    const std::string file = writeBmp(path("full.bmp"), 640, 520, positionColour);
    pushUserEvent(5);
    menu.delayScreen(file.c_str(), 4);
    EXPECT_EQ(port.sleeps, (std::vector<uint32_t>{4000}));
    EXPECT_EQ(port.log, (std::vector<std::string>{"update 0 0 640 520", "present", "delay 4000"}));
    EXPECT_EQ(at(639, 519), positionColour(639, 519));
    SDL_Event left;
    EXPECT_EQ(SDL_PeepEvents(&left, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT), 1);
}

TEST_F(MenuTest, DisplayImageFileDrawsAtItsOwnSizeAndChecksItsScreen) {
    menu.displayImageFile(writePlainBmp(path("small.bmp"), 30, 20, kRed).c_str());
    EXPECT_EQ(at(29, 19), kRed);
    EXPECT_EQ(at(30, 19), kBlack);
    const std::string missing = raisedBy([&] { menu.displayImageFile(path("none.bmp").c_str()); });
    EXPECT_EQ(missing.rfind("Generic exception of type: FileLoad raised: Couldn't open", 0), 0u)
        << missing;
    MenuModule1 unbound;
    EXPECT_EQ(raisedBy([&] { unbound.delayScreen("x.bmp", 1); }),
              "Software bug: Screen object is not assigned in menuUtil::displayImageFile!\n");
}
