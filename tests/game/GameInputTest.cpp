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
        pushMouseMotion(x, y);
        input.pollEvents();
    }
    GameInput input;
};

}  // namespace

TEST_F(GameInputTest, PressDragAndReleaseAreEachReportedOnce) {
    event(300, 200, SDL_BUTTON_LMASK);
    EXPECT_TRUE(input.buttonPressed);
    EXPECT_FALSE(input.buttonReleased);
    EXPECT_EQ(input.pressPoint.x, 300);
    EXPECT_EQ(input.pressPoint.y, 200);
    input.buttonPressed = false;  // the reader clears it
    event(320, 195, SDL_BUTTON_LMASK);
    EXPECT_FALSE(input.buttonPressed);
    EXPECT_EQ(input.pressPoint.x, 300);
    event(340, 190, 0);
    EXPECT_TRUE(input.buttonReleased);
    EXPECT_EQ(input.dragVector.x, 40);
    EXPECT_EQ(input.dragVector.y, -10);
    input.buttonReleased = false;
    event(350, 190, 0);
    EXPECT_FALSE(input.buttonReleased);
    EXPECT_FALSE(input.buttonPressed);
}

// The letterbox bars report positions outside the picture, negative on the left and above: a
// drag released there still points the way the mouse went.
TEST_F(GameInputTest, ADragReleasedInTheBarsPointsTheWayTheMouseWent) {
    const struct {
        int x, y;        // released at
        int32_t dx, dy;  // expected drag
    } releases[] = {
        {-30, 200, -330, 0}, {700, 200, 400, 0}, {300, -40, 0, -240}, {300, 600, 0, 400}};
    for (const auto& r : releases) {
        event(300, 200, SDL_BUTTON_LMASK);
        event(r.x, r.y, 0);
        EXPECT_EQ(input.dragVector.x, r.dx) << "released at " << r.x << ", " << r.y;
        EXPECT_EQ(input.dragVector.y, r.dy) << "released at " << r.x << ", " << r.y;
        EXPECT_EQ(input.pointer().x, r.x);
        EXPECT_EQ(input.pointer().y, r.y);
    }
}

TEST_F(GameInputTest, SecondButtonWhileHoldingTheLeftIsARelease) {
    event(100, 100, SDL_BUTTON_LMASK);
    event(110, 120, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK);
    EXPECT_TRUE(input.buttonReleased);
    EXPECT_EQ(input.dragVector.x, 10);
    EXPECT_EQ(input.dragVector.y, 20);
    EXPECT_FALSE(input.buttonHeld);
}

TEST_F(GameInputTest, ShortClickAlreadyUpWhenHandledIsNotSeen) {
    port.mouseX = 200;
    port.mouseY = 200;
    port.mouseButtons = 0;  // by the time the events are handled the button is up again
    SDL_Event down = {};
    down.type = SDL_MOUSEBUTTONDOWN;
    down.button.button = SDL_BUTTON_LEFT;
    SDL_Event up = down;
    up.type = SDL_MOUSEBUTTONUP;
    SDL_PushEvent(&down);
    SDL_PushEvent(&up);
    input.pollEvents();
    EXPECT_FALSE(input.buttonPressed);
    EXPECT_FALSE(input.buttonReleased);
}

TEST_F(GameInputTest, KeyEventsUpdateThePointer) {
    port.mouseX = 412;
    port.mouseY = 77;
    pushKeyDown(SDLK_x);
    input.pollEvents();
    EXPECT_EQ(input.pointer().x, 412);
    EXPECT_EQ(input.pointer().y, 77);
}

TEST_F(GameInputTest, ActivationForgetsAHeldPressAndReadsThePointer) {
    event(100, 100, SDL_BUTTON_LMASK);
    port.mouseX = 5;
    port.mouseY = 6;
    input.activate();
    EXPECT_FALSE(input.buttonHeld);
    EXPECT_FALSE(input.buttonPressed);
    EXPECT_FALSE(input.buttonReleased);
    EXPECT_EQ(input.pointer().x, 5);
    EXPECT_EQ(input.pointer().y, 6);
    event(100, 100, SDL_BUTTON_LMASK);  // seen as a new press
    EXPECT_TRUE(input.buttonPressed);
}

TEST_F(GameInputTest, MenuHandlingRunsFirst) {
    pushQuit();
    input.pollEvents();
    EXPECT_TRUE(input.done);
}
