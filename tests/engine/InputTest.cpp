// The event pump hands real queued SDL events to one handler, in order.
#include <gtest/gtest.h>

#include <vector>

#include "FakePort.h"
#include "gnInput.h"

namespace {

// Records the user-event codes and types it is handed.
class Recorder : public gnInputHandler {
  public:
    void handleEvent(SDL_Event* event) override {
        types.push_back(event->type);
        if (event->type == SDL_USEREVENT)
            codes.push_back(event->user.code);
    }
    std::vector<Uint32> types;
    std::vector<int> codes;
};

class InputTest : public testing::Test {
  protected:
    void SetUp() override { flushEvents(); }
    void TearDown() override { flushEvents(); }
    FakePort port;
};

}  // namespace

TEST_F(InputTest, PollWithAnEmptyQueueHandlesNothing) {
    Recorder handler;
    handler.activate();
    handler.pollEvents();
    EXPECT_TRUE(handler.types.empty());
}

TEST_F(InputTest, PollHandsOverEveryQueuedEventInOrder) {
    Recorder handler;
    handler.activate();
    pushUserEvent(1);
    pushUserEvent(2);
    pushUserEvent(3);
    handler.pollEvents();
    EXPECT_EQ(handler.codes, (std::vector<int>{1, 2, 3}));
    handler.pollEvents();
    EXPECT_EQ(handler.codes.size(), 3u);
}

// A handler that queues another event while handling one: the pump drains that too.
TEST_F(InputTest, PollAlsoHandlesEventsQueuedMeanwhile) {
    class Chain : public Recorder {
      public:
        void handleEvent(SDL_Event* event) override {
            Recorder::handleEvent(event);
            if (event->type == SDL_USEREVENT && event->user.code < 3)
                pushUserEvent(event->user.code + 1);
        }
    } handler;
    handler.activate();
    pushUserEvent(1);
    handler.pollEvents();
    EXPECT_EQ(handler.codes, (std::vector<int>{1, 2, 3}));
}

TEST_F(InputTest, WaitHandlesExactlyOneEvent) {
    Recorder handler;
    handler.activate();
    pushUserEvent(7);
    pushUserEvent(8);
    pushUserEvent(9);
    handler.waitEvent();
    EXPECT_EQ(handler.codes, (std::vector<int>{7}));
    handler.waitEvent();
    EXPECT_EQ(handler.codes, (std::vector<int>{7, 8}));
    handler.pollEvents();
    EXPECT_EQ(handler.codes, (std::vector<int>{7, 8, 9}));
}

TEST_F(InputTest, QuitRequestReachesTheHandler) {
    Recorder handler;
    handler.activate();
    pushQuit();
    handler.pollEvents();
    ASSERT_EQ(handler.types.size(), 1u);
    EXPECT_EQ(handler.types[0], static_cast<Uint32>(SDL_QUIT));
}

// SDL2 empties the queue when a filter is set; activation must not lose queued events, not
// even a quit behind a flood of mouse motion.
TEST_F(InputTest, ActivationKeepsEveryEventQueuedBeforeIt) {
    SDL_SetEventFilter(nullptr, nullptr);
    pushUserEvent(1);
    for (int i = 0; i < 1500; ++i)
        pushMouseMotion(i % 640, 10);
    pushQuit();
    Recorder first;
    first.activate();
    pushUserEvent(3);
    Recorder second;
    second.activate();
    second.pollEvents();
    ASSERT_EQ(second.types.size(), 1503u);
    EXPECT_EQ(second.types[1501], static_cast<Uint32>(SDL_QUIT));
    EXPECT_EQ(second.codes, (std::vector<int>{1, 3}));
    EXPECT_TRUE(first.codes.empty());
}

// SDL2 repeats the key-down of a key held down; the pump hands over one press per press.
TEST_F(InputTest, AKeyHeldDownIsOnePress) {
    Recorder handler;
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
}

TEST_F(InputTest, FilterAdmitsEverything) {
    SDL_Event event = {};
    event.type = SDL_QUIT;
    EXPECT_EQ(eventFilter(&event), 1);
    event.type = SDL_MOUSEMOTION;
    EXPECT_EQ(eventFilter(&event), 1);
    Recorder handler;
    handler.activate();
    SDL_EventFilter filter = nullptr;
    void* userdata = nullptr;
    EXPECT_TRUE(SDL_GetEventFilter(&filter, &userdata));
    EXPECT_EQ(filter(userdata, &event), 1);
}
