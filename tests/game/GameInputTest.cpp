// Press, drag and release as the board sees them, sampled from the mouse at every event.
#include "EngineFixture.h"
#include "GameInput.h"

namespace {

class GameInputTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        input.screen = &screen;
        input.setButtonCount(0);
        input.activate();
    }
    // One event handled with the mouse at (x, y) and the given buttons.
    void event(int x, int y, uint32_t buttons) {
        port.mouseX = x;
        port.mouseY = y;
        port.mouseButtons = buttons;
        pushMouseMotion(x, y, buttons);
        input.pollEvents();
    }
    // "P" and "R" for the flags set (each then cleared, as the round does), and the drag.
    std::string seen() {
        std::string s =
            std::string(input.buttonPressed ? "P" : "") + (input.buttonReleased ? "R" : "");
        input.buttonPressed = input.buttonReleased = false;
        return s + " " + std::to_string(input.dragVector.x) + "," +
               std::to_string(input.dragVector.y);
    }
    GameInput input;
};

}  // namespace

// A press is seen at the first event with the left button alone down, a release at the next
// without it (any other button counts as a release), each reported once; in the letterbox
// bars the pointer runs on beyond the picture, negative left of and above it.
TEST_F(GameInputTest, PressDragAndReleaseAreEachReportedOnce) {
    const struct {
        int x, y;
        uint32_t buttons;
        const char* seen;
    } steps[] = {
        {300, 200, SDL_BUTTON_LMASK, "P 0,0"},
        {320, 195, SDL_BUTTON_LMASK, " 0,0"},
        {340, 190, 0, "R 40,-10"},
        {350, 190, 0, " 40,-10"},
        {100, 100, SDL_BUTTON_LMASK, "P 40,-10"},
        {110, 120, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK, "R 10,20"},
        {300, 200, SDL_BUTTON_LMASK, "P 10,20"},
        {-30, 200, 0, "R -330,0"},
        {300, 200, SDL_BUTTON_LMASK, "P -330,0"},
        {300, -40, 0, "R 0,-240"},
        {300, 200, SDL_BUTTON_LMASK, "P 0,-240"},
        {700, 600, 0, "R 400,400"},
    };
    for (const auto& s : steps) {
        event(s.x, s.y, s.buttons);
        EXPECT_EQ(seen(), s.seen) << s.x << "," << s.y << " " << s.buttons;
        EXPECT_TRUE(pointManip::isEqual(input.pointer(), pt{s.x, s.y}));
    }
    EXPECT_TRUE(pointManip::isEqual(input.pressPoint, pt{300, 200}));
}

TEST_F(GameInputTest, EventsOfAnyKindReadTheMouseAndTheMenuRunsFirst) {
    // A quick drag over before its events are handled (the mouse is up and elsewhere by
    // then): a press at the press's own point, a release at the release's.
    port.mouseX = 500;
    port.mouseY = 400;
    pushMouseButton(SDL_MOUSEBUTTONDOWN, 200, 200);
    pushMouseMotion(230, 210, SDL_BUTTON_LMASK);
    pushMouseButton(SDL_MOUSEBUTTONUP, 240, 215);
    input.pollEvents();
    EXPECT_EQ(seen(), "PR 40,15");
    EXPECT_TRUE(pointManip::isEqual(input.pressPoint, pt{200, 200}));
    pushMouseButton(SDL_MOUSEBUTTONDOWN, 300, 300);  // a tap, held while handled
    port.mouseButtons = SDL_BUTTON_LMASK;
    pushMouseButton(SDL_MOUSEBUTTONDOWN, 310, 300, SDL_BUTTON_RIGHT);  // a second button
    input.pollEvents();
    EXPECT_EQ(seen(), "PR 10,0");
    port.mouseButtons = 0;
    port.mouseX = 412;
    port.mouseY = 77;
    pushKeyDown(SDLK_x);
    input.pollEvents();
    EXPECT_TRUE(pointManip::isEqual(input.pointer(), pt{412, 77}));
    event(100, 100, SDL_BUTTON_LMASK);
    port.mouseX = 5;
    input.activate();  // forgets the held press, reads the pointer
    EXPECT_FALSE(input.buttonHeld);
    EXPECT_EQ(seen(), " 10,0");
    EXPECT_EQ(input.pointer().x, 5);
    event(100, 100, SDL_BUTTON_LMASK);  // a new press
    EXPECT_EQ(seen(), "P 10,0");
    pushQuit();
    input.pollEvents();
    EXPECT_TRUE(input.done);
}
