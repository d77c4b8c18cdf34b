// The event pump and the button menu with real SDL events and scripted mouse and keys.
#include "EngineFixture.h"
#include "MenuModule1.h"

namespace {

// Records types and user codes; a user event below `chainUpTo` queues the next code.
class Recorder : public gnInputHandler {
  public:
    void handleEvent(SDL_Event* event) override {
        types.push_back(event->type);
        if (event->type == SDL_USEREVENT &&
            (codes.push_back(event->user.code), event->user.code < chainUpTo))
            pushEvent(SDL_USEREVENT, event->user.code + 1);
    }
    std::vector<Uint32> types;
    std::vector<int> codes;
    int chainUpTo = 0;
};

class InputTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        // Frames in one picture: x 0 normal (blue), 100 highlighted (green), 200 pressed (red).
        gnImage* frames = image(writeBmp("b.bmp", 300, 50, [](int x, int) {
            return x < 100 ? kBlue : x < 200 ? kGreen : kRed;
        }));
        menu.screen = &screen;
        menu.setButtonCount(4);
        const std::pair<gnRectangle, SDL_Keycode> buttons[] = {
            {gnRect(10, 10, 100, 50), SDLK_a},
            {gnRect(10, 70, 100, 50), SDLK_b},
            {gnRect(60, 30, 100, 50), SDLK_c},  // overlaps button 0
            {gnRect(10, 70, 0, 0), SDLK_d}};    // keyboard only
        for (int i = 0; i < 4; ++i)
            *menu.getButtonRec(i) = {buttons[i].first,
                                     {frames, gnRect(0, 0, 100, 50)},
                                     {frames, gnRect(200, 0, 100, 50)},
                                     {frames, gnRect(100, 0, 100, 50)},
                                     true,
                                     buttons[i].second};
    }
    // The pictures buttons 0 to 2 show, where no other overlaps them: N, H (highlighted), D.
    std::string pictures() {
        std::string shown;
        for (const pt& p : {pt{11, 11}, pt{11, 71}, pt{157, 77}})
            shown += at(p.x, p.y) == kBlue ? 'N' : at(p.x, p.y) == kGreen ? 'H' : 'D';
        return shown;
    }
    Recorder handler;
    MenuModule1 menu;
};

}  // namespace

// In order, also what is queued meanwhile; repeats dropped; a flood and the quit behind it kept.
TEST_F(InputTest, ThePumpHandsOverEveryEventInOrderOnePressPerPress) {
    SDL_SetEventFilter(nullptr, nullptr);
    pushEvent(SDL_USEREVENT, 1);
    for (int i = 0; i < 1500; ++i)
        pushMouseMotion(i % 640, 10);
    pushEvent(SDL_QUIT);
    Recorder first;
    first.activate();
    handler.chainUpTo = 3;
    handler.activate();
    handler.pollEvents();
    ASSERT_EQ(handler.types.size(), 1504u);
    EXPECT_EQ(handler.types[1501], static_cast<Uint32>(SDL_QUIT));
    EXPECT_EQ(handler.codes, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(first.types.empty());
    handler.pollEvents();  // an empty queue: nothing
    EXPECT_EQ(handler.types.size(), 1504u);
    handler.types.clear();
    pushKey(SDL_KEYDOWN, SDLK_q);
    pushKey(SDL_KEYDOWN, SDLK_q, true);
    pushKey(SDL_KEYUP, SDLK_q);
    pushKey(SDL_KEYDOWN, SDLK_a, true);
    for (int code : {7, 8})
        pushEvent(SDL_USEREVENT, code);
    handler.chainUpTo = 0;
    handler.waitEvent();
    handler.waitEvent();
    handler.waitEvent();  // skips the repeat, hands over the next real event
    EXPECT_EQ(handler.types, (std::vector<Uint32>{SDL_KEYDOWN, SDL_KEYUP, SDL_USEREVENT}));
    handler.pollEvents();
    EXPECT_EQ(handler.codes.back(), 8);
    EXPECT_FALSE(port.gnPort::isKeyHeld(SDLK_q) || port.gnPort::isKeyHeld(SDLK_UNKNOWN));
}

// One event per step, with the mouse and keys as given, and what the menu shows and chose.
TEST_F(InputTest, TheMenuFollowsThePointerTheButtonAndTheKeys) {
    port.mouseX = 20, port.mouseY = 80;
    menu.selected = 5, menu.done = true;
    menu.activate();
    EXPECT_EQ(menu.selected * 10 + menu.done, -10);
    EXPECT_EQ(pictures(), "NHN");
    const struct {
        const char* event;  // motion, down, up (at x, y), key (of `key`), user, quit
        int x, y;
        uint32_t buttons;  // the mouse as it is now (for down and up: elsewhere, up)
        std::set<SDL_Keycode> held;
        SDL_Keycode key;
        int disabled;  // a button switched off, or -1
        int selected;
        const char* shown;
    } steps[] = {
        {"motion", 20, 20, SDL_BUTTON_LMASK, {}, 0, -1, 0, "DNN"},    // a press selects
        {"motion", 20, 80, SDL_BUTTON_LMASK, {}, 0, -1, 1, "NDN"},    // a drag moves it along
        {"motion", 300, 300, SDL_BUTTON_LMASK, {}, 0, -1, 1, "NDN"},  // off every button
        {"motion", 20, 80, 0, {}, 0, -1, 1, "NHN"},                   // released
        {"motion", 300, 300, 0, {}, 0, -1, 1, "NNN"},
        {"motion", 20, 20, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK, {}, 0, -1, 1, "HNN"},
        {"motion", 70, 40, 0, {}, 0, -1, 1, "HNN"},                // overlap: the lower index
        {"motion", 70, 40, 0, {}, 0, 0, 1, "NNH"},                 // 0 off: never hit
        {"motion", 20, 80, SDL_BUTTON_LMASK, {}, 0, 1, 1, "NNH"},  // 1 off: all stays
        {"motion", 300, 300, 0, {}, 0, -1, 1, "NNN"},  // let go; key events keep this mouse
        {"key", 0, 0, 0, {SDLK_a, SDLK_c}, SDLK_x, -1, 2, "NNN"},  // held: the highest wins
        {"key", 0, 0, 0, {SDLK_a, SDLK_c}, SDLK_x, 2, 0, "NNN"},
        {"key", 0, 0, 0, {}, SDLK_b, -1, 1, "NNN"},        // up again by now: still a press of B
        {"key", 0, 0, 0, {SDLK_d}, SDLK_a, -1, 3, "NNN"},  // the keyboard-only button
        {"user", 0, 0, 0, {SDLK_b}, 0, -1, 3, "NNN"},      // not a key event: keys not looked at
        {"down", 20, 20, 0, {}, 0, -1, 0, "DNN"},          // a click over before it is handled
        {"up", 20, 20, 0, {}, 0, -1, 0, "HNN"},
        {"quit", 0, 0, 0, {}, 0, -1, 0, "HNN"},  // as the last mouse event left it, not as now
    };
    for (const auto& s : steps) {
        for (int i = 0; i < 4; ++i)
            menu.buttons[i].enabled = i != s.disabled;
        port.held = s.held;
        port.mouseX = s.event[0] == 'm' ? s.x : 400, port.mouseY = s.event[0] == 'm' ? s.y : 400;
        port.mouseButtons = s.buttons;
        const std::string e = s.event;
        e == "motion" ? pushMouseMotion(s.x, s.y, s.buttons)
        : e == "key"  ? pushKey(SDL_KEYDOWN, s.key)
        : e == "user" ? pushEvent(SDL_USEREVENT)
        : e == "quit"
            ? pushEvent(SDL_QUIT)
            : pushMouseButton(e == "down" ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, s.x, s.y);
        menu.pollEvents();
        EXPECT_EQ(menu.selected, s.selected) << e << " " << s.x << "," << s.y;
        EXPECT_EQ(pictures(), s.shown) << e << " " << s.x << "," << s.y;
    }
    EXPECT_TRUE(menu.done);
    EXPECT_EQ(raisedBy([&] { menu.getButtonRec(4); }),
              "Generic exception of type: INDEX raised: Out of legal range in "
              "MenuModule1::getButtonRec!\n");
    menu.setButtonCount(49);
    EXPECT_TRUE(menu.getButtonRec(48)->enabled);
}
