// The event pump hands real queued SDL events to one handler, in order, one press per press.
#include <gtest/gtest.h>

#include <vector>

#include "FakePort.h"
#include "gnInput.h"

namespace {

// Records the types it is handed and the codes of user events; a user event with a code
// below `chainUpTo` queues the next code while it is handled.
class Recorder : public gnInputHandler {
  public:
    void handleEvent(SDL_Event* event) override {
        types.push_back(event->type);
        if (event->type != SDL_USEREVENT)
            return;
        codes.push_back(event->user.code);
        if (event->user.code < chainUpTo)
            pushUserEvent(event->user.code + 1);
    }
    std::vector<Uint32> types;
    std::vector<int> codes;
    int chainUpTo = 0;
};

class InputTest : public testing::Test {
  protected:
    void SetUp() override { flushEvents(); }
    void TearDown() override { flushEvents(); }
    FakePort port;
    Recorder handler;
};

}  // namespace

TEST_F(InputTest, PollDrainsTheQueueInOrderWaitHandsOverOne) {
    handler.activate();
    handler.pollEvents();
    EXPECT_TRUE(handler.types.empty());
    handler.chainUpTo = 3;  // events queued while handling are handled in the same poll
    pushUserEvent(1);
    pushQuit();
    handler.pollEvents();
    EXPECT_EQ(handler.codes, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(handler.types[1], static_cast<Uint32>(SDL_QUIT));
    handler.chainUpTo = 0;
    for (int code : {7, 8, 9})
        pushUserEvent(code);
    handler.waitEvent();
    EXPECT_EQ(handler.codes.back(), 7);
    handler.waitEvent();
    EXPECT_EQ(handler.codes.back(), 8);
    handler.pollEvents();
    EXPECT_EQ(handler.codes, (std::vector<int>{1, 2, 3, 7, 8, 9}));
}

// SDL2 empties the queue when a filter is set; activation must not lose queued events, not
// even a quit behind a flood of mouse motion. The filter admits every event.
TEST_F(InputTest, ActivationKeepsEveryEventQueuedBeforeIt) {
    SDL_SetEventFilter(nullptr, nullptr);
    pushUserEvent(1);
    for (int i = 0; i < 1500; ++i)
        pushMouseMotion(i % 640, 10);
    pushQuit();
    Recorder first;
    first.activate();
    pushUserEvent(3);
    handler.activate();
    handler.pollEvents();
    ASSERT_EQ(handler.types.size(), 1503u);
    EXPECT_EQ(handler.types[1501], static_cast<Uint32>(SDL_QUIT));
    EXPECT_EQ(handler.codes, (std::vector<int>{1, 3}));
    EXPECT_TRUE(first.codes.empty());
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    EXPECT_EQ(eventFilter(&event), 1);
    SDL_EventFilter filter = nullptr;
    void* userdata = nullptr;
    ASSERT_TRUE(SDL_GetEventFilter(&filter, &userdata));
    EXPECT_EQ(filter(userdata, &event), 1);
}

// SDL2 repeats the key-down of a key held down; the pump hands over one press per press.
TEST_F(InputTest, AKeyHeldDownIsOnePress) {
    handler.activate();
    pushKeyDown(SDLK_q);
    pushKeyRepeat(SDLK_q);
    pushKeyRepeat(SDLK_q);
    pushKeyUp(SDLK_q);
    pushKeyRepeat(SDLK_a);
    pushKeyDown(SDLK_a);
    handler.pollEvents();
    const std::vector<Uint32> onePressEach = {SDL_KEYDOWN, SDL_KEYUP, SDL_KEYDOWN};
    EXPECT_EQ(handler.types, onePressEach);
    pushKeyRepeat(SDLK_a);
    pushKeyRepeat(SDLK_a);
    pushUserEvent(5);
    handler.waitEvent();  // skips the repeats, hands over the next real event
    EXPECT_EQ(handler.codes, (std::vector<int>{5}));
    EXPECT_FALSE(port.gnPort::isKeyHeld(SDLK_q));  // SDL's own keyboard state: nothing held
    EXPECT_FALSE(port.gnPort::isKeyHeld(SDLK_UNKNOWN));
}
