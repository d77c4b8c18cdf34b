// The mixing pass driven directly: slices, repeats, compaction and the queue's errors. The
// device is open but paused, so SDL mixes in its format and no callback runs meanwhile.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gnAudio.h"

namespace {

class MixingQueueTest : public testing::Test {
  protected:
    void SetUp() override {
        SDL_InitSubSystem(SDL_INIT_AUDIO);
        SDL_AudioSpec want = {};
        want.freq = 22050;
        want.format = AUDIO_S16;
        want.channels = 2;
        want.samples = 64;
        want.callback = fillAudio;
        ASSERT_EQ(SDL_OpenAudio(&want, nullptr), 0) << SDL_GetError();
        for (int i = 0; i < 2000; ++i)
            clip[i] = static_cast<char>(i % 97 + 16);
    }
    void TearDown() override {
        SDL_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    // One pass over a silent buffer of len bytes; the buffer.
    std::vector<char> pass(PlayingQueue& queue, int len = 256) {
        std::vector<char> stream(static_cast<size_t>(len), 0);
        queue.getBytes(len, stream.data());
        return stream;
    }
    // A fresh heap playing of the clip, as Sound::play makes them.
    Playing* playing(int length, bool repeat, int offset = 0) {
        return new Playing(clip + offset, length, repeat);
    }
    char clip[2000];
};

}  // namespace

TEST_F(MixingQueueTest, SoundOf1000BytesPlaysInFourSlicesAndIsRemoved) {
    PlayingQueue queue;
    Playing* p = playing(1000, false);
    queue.add(p);
    std::vector<int> positions;
    for (int i = 0; i < 3; ++i) {
        pass(queue);
        positions.push_back(p->position);
        EXPECT_EQ(queue.count(), 1);
    }
    EXPECT_EQ(positions, (std::vector<int>{256, 512, 768}));
    char* out = nullptr;
    Playing probe(clip, 1000, false);
    probe.position = 768;
    EXPECT_EQ(probe.getBytes(256, &out), 232);
    EXPECT_EQ(out, clip + 768);
    pass(queue);
    EXPECT_EQ(queue.count(), 0);
}

TEST_F(MixingQueueTest, RepeatingSoundStartsOverAndStays) {
    Playing p(clip, 1000, true);
    char* out = nullptr;
    std::vector<int> sizes;
    std::vector<long> starts;
    for (int i = 0; i < 5; ++i) {
        sizes.push_back(p.getBytes(256, &out));
        starts.push_back(out - clip);
    }
    EXPECT_EQ(sizes, (std::vector<int>{256, 256, 256, 232, 256}));
    EXPECT_EQ(starts, (std::vector<long>{0, 256, 512, 768, 0}));
    PlayingQueue queue;
    queue.add(playing(1000, true));
    for (int i = 0; i < 50; ++i)
        pass(queue);
    EXPECT_EQ(queue.count(), 1);
}

TEST_F(MixingQueueTest, EmptySoundMixesNothingAndLeavesAtOnce) {
    PlayingQueue queue;
    queue.add(playing(0, false));
    const std::vector<char> stream = pass(queue);
    EXPECT_EQ(stream, std::vector<char>(256, 0));
    EXPECT_EQ(queue.count(), 0);
    char* untouched = reinterpret_cast<char*>(&queue);
    Playing empty(clip, 0, true);
    EXPECT_EQ(empty.getBytes(256, &untouched), 0);
    EXPECT_EQ(untouched, reinterpret_cast<char*>(&queue));
}

TEST_F(MixingQueueTest, EndedSoundInTheMiddleIsCompactedAway) {
    PlayingQueue queue;
    Playing* first = playing(1000, false);
    Playing* middle = playing(200, false);
    Playing* third = playing(1000, false, 500);
    queue.add(first);
    queue.add(middle);
    queue.add(third);
    pass(queue);
    EXPECT_EQ(queue.count(), 2);
    EXPECT_EQ(queue.item(0), first);
    EXPECT_EQ(queue.item(1), third);
    Playing* late = playing(300, false);
    queue.add(late);  // after an ended sound: at the end of the compacted queue
    EXPECT_EQ(queue.item(2), late);
    EXPECT_THROW(queue.item(3), Error);
    try {
        queue.item(-1);
    } catch (const Error& e) {
        EXPECT_STREQ(e.message, "PlayingQueue::item: Index out of range!");
    }
}

TEST_F(MixingQueueTest, TwentyFirstSoundIsRefused) {
    PlayingQueue queue;
    for (int i = 0; i < 20; ++i)
        queue.add(playing(100, true));
    Playing* extra = playing(100, true);
    try {
        queue.add(extra);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.message, "PlayingQueue::add: Not implemented dynamic grow!");
    }
    EXPECT_EQ(queue.count(), 20);
    delete extra;
}

TEST_F(MixingQueueTest, EverySoundIsMixedAtOneSixteenthFromTheBufferStart) {
    int16_t a[128], b[64];
    for (int i = 0; i < 128; ++i)
        a[i] = static_cast<int16_t>(1000 + 37 * i);
    for (int i = 0; i < 64; ++i)
        b[i] = static_cast<int16_t>(-3000 + 11 * i);
    PlayingQueue queue;
    queue.add(new Playing(reinterpret_cast<char*>(a), sizeof a, false));
    queue.add(new Playing(reinterpret_cast<char*>(b), sizeof b, false));
    const std::vector<char> stream = pass(queue);
    const int16_t* mixed = reinterpret_cast<const int16_t*>(stream.data());
    for (int i = 0; i < 128; ++i) {
        const int expected = a[i] * 8 / 128 + (i < 64 ? b[i] * 8 / 128 : 0);
        ASSERT_EQ(mixed[i], expected) << i;
    }
}

TEST_F(MixingQueueTest, CallbackWritesSilenceAndWithoutAQueueNothingElse) {
    ASSERT_EQ(globalQueue, nullptr);
    std::vector<Uint8> stream(256, 0xAB);
    fillAudio(nullptr, stream.data(), 256);
    EXPECT_EQ(stream, std::vector<Uint8>(256, 0));
}
