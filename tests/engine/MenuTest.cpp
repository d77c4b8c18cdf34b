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
        button(0, gnRect(10, 10, 100, 50), SDLK_a);
        button(1, gnRect(10, 70, 100, 50), SDLK_b);
        button(2, gnRect(60, 30, 100, 50), SDLK_c);  // overlaps button 0
        button(3, gnRect(10, 70, 0, 0), SDLK_d);     // keyboard only
    }
    void button(int i, gnRectangle area, int key) {
        ButtonRec* b = menu.getButtonRec(i);
        b->area = area;
        b->normalFrame = {frames, gnRect(0, 0, 100, 50)};
        b->highlightFrame = {frames, gnRect(100, 0, 100, 50)};
        b->downFrame = {frames, gnRect(200, 0, 100, 50)};
        b->key = key;
    }
    // Hands one event to the menu as the pump would, with the mouse as given.
    void motion(int x, int y, uint32_t buttons) {
        port.mouseX = x, port.mouseY = y, port.mouseButtons = buttons;
        pushMouseMotion(x, y, buttons);
        menu.pollEvents();
    }
    void keyDown(SDL_Keycode key) {
        pushKeyDown(key);
        menu.pollEvents();
    }
    // The pictures buttons 0 to 2 show now, sampled where no other button overlaps them:
    // N normal, H highlighted, D down.
    std::string pictures() {
        std::string shown;
        for (int i = 0; i < 3; ++i) {
            const gnRectangle& a = menu.buttons[i].area;
            const uint32_t c =
                i == 2 ? at(rectManip::maxX(a) - 2, rectManip::maxY(a) - 2) : at(a.x + 1, a.y + 1);
            shown += c == kBlue ? 'N' : c == kGreen ? 'H' : c == kRed ? 'D' : '?';
        }
        return shown;
    }

    gnImage* frames = nullptr;
    MenuModule1 menu;
};

}  // namespace

TEST_F(MenuTest, ButtonCountAndRecordsAreRangeChecked) {
    MenuModule1 other;
    const std::string badIndex =
        "Generic exception of type: INDEX raised: Out of legal range in "
        "MenuModule1::getButtonRec!\n";
    EXPECT_EQ(raisedBy([&] { other.getButtonRec(0); }), badIndex);  // the count starts at 0
    other.setButtonCount(49);
    EXPECT_TRUE(other.getButtonRec(48)->enabled);
    for (int n : {50, -1})
        EXPECT_EQ(raisedBy([&] { other.setButtonCount(n); }),
                  "Software bug: Out of legal range in MenuModule1::setButtonCount!\n");
    for (int i : {49, -1})
        EXPECT_EQ(raisedBy([&] { other.getButtonRec(i); }), badIndex);
}

// The lowest enabled index wins the hit test; disabled buttons and empty areas are never hit;
// held keys select, the highest enabled index winning, whatever key the event names.
TEST_F(MenuTest, HitTestAndHeldKeys) {
    const struct {
        int x, y, hit, disabled;
    } cases[] = {
        {70, 40, 0, -1}, {70, 40, 2, 0}, {10, 70, 1, -1}, {10, 70, -1, 1}, {160, 40, -1, -1}};
    for (const auto& c : cases) {
        for (int i = 0; i < 4; ++i)
            menu.buttons[i].enabled = i != c.disabled;
        menu.mouseX = c.x, menu.mouseY = c.y;
        EXPECT_EQ(menu.mouseHitArea(), c.hit) << c.x << "," << c.y;
    }
    menu.activate();
    port.held = {SDLK_a, SDLK_c};
    keyDown(SDLK_x);
    EXPECT_EQ(menu.selected, 2);
    menu.buttons[2].enabled = false;
    keyDown(SDLK_x);
    EXPECT_EQ(menu.selected, 0);
    port.held = {SDLK_d};
    keyDown(SDLK_d);
    EXPECT_EQ(menu.selected, 3);  // a keyboard-only button
    menu.selected = -1;
    port.held.clear();
    keyDown(SDLK_b);  // up again before its key-down is handled: still a press of B
    EXPECT_EQ(menu.selected, 1);
    port.held = {SDLK_d};
    keyDown(SDLK_a);  // the event's own key and the held ones: the highest index wins
    EXPECT_EQ(menu.selected, 3);
    menu.selected = -1;
    port.held = {SDLK_b};
    pushUserEvent(0);  // not a key event: keys are not looked at
    menu.pollEvents();
    EXPECT_EQ(menu.selected, -1);
    // A click over before its events are handled: the press counts where it was made.
    port.mouseX = 300, port.mouseY = 300, port.mouseButtons = 0;
    pushMouseButton(SDL_MOUSEBUTTONDOWN, 20, 80);
    pushMouseButton(SDL_MOUSEBUTTONUP, 20, 80);
    menu.pollEvents();
    EXPECT_EQ(menu.selected, 1);
    EXPECT_EQ(pictures(), "NHN");
    pushMouseButton(SDL_MOUSEBUTTONDOWN, 20, 20, SDL_BUTTON_RIGHT);  // not the left button
    menu.pollEvents();
    EXPECT_EQ(menu.selected, 1);
}

// Activation draws every button and highlights the one under the pointer; a press selects the
// button under it; dragging moves the pressed picture and the selection along; releasing
// turns it highlighted; a press off every button, or with two mouse buttons, changes nothing;
// a disabled button never reacts; a quit event sets done and still tracks the mouse.
TEST_F(MenuTest, PressDragAndRelease) {
    menu.buttons[2].enabled = false;  // drawn all the same
    port.mouseX = 20, port.mouseY = 80;
    menu.selected = 5;
    menu.done = true;
    menu.activate();
    EXPECT_EQ(menu.selected * 10 + menu.done, -10);
    EXPECT_EQ(pictures(), "NHN");
    menu.buttons[2].enabled = true;
    const struct {
        int x, y;
        uint32_t buttons;
        int selected;
        const char* shown;
    } steps[] = {{20, 20, SDL_BUTTON_LMASK, 0, "DNN"},
                 {20, 80, SDL_BUTTON_LMASK, 1, "NDN"},
                 {300, 300, SDL_BUTTON_LMASK, 1, "NDN"},
                 {20, 80, 0, 1, "NHN"},
                 {300, 300, 0, 1, "NNN"},
                 {20, 20, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK, 1, "HNN"}};
    for (const auto& s : steps) {
        motion(s.x, s.y, s.buttons);
        EXPECT_EQ(menu.selected, s.selected) << s.x << "," << s.y << " " << s.buttons;
        EXPECT_EQ(pictures(), s.shown) << s.x << "," << s.y << " " << s.buttons;
    }
    menu.buttons[0].enabled = false;
    menu.activate();
    motion(20, 20, SDL_BUTTON_LMASK);
    port.held = {SDLK_a};
    keyDown(SDLK_a);
    EXPECT_EQ(menu.selected * 10 + menu.highlighted, -11);
    EXPECT_EQ(pictures(), "NNN");
    port.mouseX = 20, port.mouseY = 80, port.mouseButtons = 0;
    pushQuit();
    menu.pollEvents();
    EXPECT_TRUE(menu.done);
    EXPECT_EQ(menu.highlighted, 1);
}

// runMenu updates after activation and after every event, and returns after a selection (the
// events behind it stay queued) or a quit request; pictures are shown whole, or held for a
// number of seconds without handling any event.
TEST_F(MenuTest, RunMenuAndPictures) {
    port.mouseX = 300, port.mouseY = 300;
    pushMouseMotion(300, 300);
    port.held = {SDLK_b};
    pushKeyDown(SDLK_b);
    pushUserEvent(99);
    menu.runMenu();
    SDL_Event left;  // the event behind the selection is still queued
    EXPECT_EQ(SDL_PeepEvents(&left, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT), 1);
    EXPECT_EQ(menu.selected, 1);
    EXPECT_EQ(port.presents(), 3);
    port.held.clear();
    pushQuit();
    menu.runMenu();
    EXPECT_EQ(menu.selected * 10 + menu.done, -9);
    const std::string file = writeBmp(path("full.bmp"), 640, 520, positionColour);
    port.clearLog();
    pushUserEvent(99);
    menu.delayScreen(file.c_str(), 4);
    EXPECT_EQ(port.log, (std::vector<std::string>{"update 0 0 640 520", "present", "delay 4000"}));
    EXPECT_EQ(at(639, 519), positionColour(639, 519));
    EXPECT_EQ(SDL_PeepEvents(&left, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT), 1);
    menu.displayImageFile(writePlainBmp(path("small.bmp"), 30, 20, kRed).c_str());
    EXPECT_EQ(at(29, 19), kRed);
    EXPECT_EQ(at(30, 19), positionColour(30, 19));
    EXPECT_EQ(raisedBy([&] { menu.displayImageFile("none.bmp"); }),
              "Generic exception of type: FileLoad raised: Couldn't open none.bmp\n");
    EXPECT_EQ(raisedBy([] { MenuModule1().delayScreen("x.bmp", 1); }),
              "Software bug: Screen object is not assigned in menuUtil::displayImageFile!\n");
}
