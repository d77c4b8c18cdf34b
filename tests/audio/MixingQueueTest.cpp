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

// A non-repeating playing of 1000 bytes hands out 256, 256, 256 and 232 bytes and leaves; a
// repeating one starts over and stays; one of no length mixes nothing and leaves at once.
TEST_F(MixingQueueTest, SlicesRepeatsAndEnds) {
    const struct {
        int length;
        bool repeat;
        std::vector<int> sizes, starts;
        int stays;  // passes it stays queued for, of five
    } cases[] = {
        {1000, false, {256, 256, 256, 232, 0}, {0, 256, 512, 768, -1}, 3},
        {1000, true, {256, 256, 256, 232, 256}, {0, 256, 512, 768, 0}, 5},
        {0, true, {0, 0, 0, 0, 0}, {-1, -1, -1, -1, -1}, 0},
    };
    for (const auto& c : cases) {
        Playing p(clip, c.length, c.repeat);
        std::vector<int> sizes, starts;
        for (int i = 0; i < 5; ++i) {
            char* out = nullptr;
            sizes.push_back(p.getBytes(256, &out));
            starts.push_back(out ? static_cast<int>(out - clip) : -1);
        }
        EXPECT_EQ(sizes, c.sizes) << c.length << " " << c.repeat;
        EXPECT_EQ(starts, c.starts) << c.length << " " << c.repeat;
        PlayingQueue queue;
        queue.add(playing(c.length, c.repeat));
        int stays = 0;
        for (int i = 0; i < 5; ++i) {
            const std::vector<char> stream = pass(queue);
            stays += queue.count();
            if (c.length == 0) {
                EXPECT_EQ(stream, std::vector<char>(256, 0));
            }
        }
        EXPECT_EQ(stays, c.stays) << c.length << " " << c.repeat;
    }
}

// Every sound is mixed from the buffer's start at one sixteenth; an ended sound in the middle
// is compacted away, the others keep their order, and a new one goes at the end.
TEST_F(MixingQueueTest, MixingAndCompaction) {
    int16_t a[128], b[64];
    for (int i = 0; i < 128; ++i)
        a[i] = static_cast<int16_t>(1000 + 37 * i);
    for (int i = 0; i < 64; ++i)
        b[i] = static_cast<int16_t>(-3000 + 11 * i);
    PlayingQueue queue;
    Playing* first = new Playing(reinterpret_cast<char*>(a), sizeof a, false);
    Playing* third = playing(1000, false, 500);
    queue.add(first);
    queue.add(new Playing(reinterpret_cast<char*>(b), sizeof b, false));
    queue.add(third);
    std::vector<char> stream(256, 0);
    queue.getBytes(256, stream.data());
    const int16_t* mixed = reinterpret_cast<const int16_t*>(stream.data());
    for (int i = 0; i < 128; ++i) {
        int16_t c;  // the third sound's sample
        memcpy(&c, clip + 500 + 2 * i, sizeof c);
        const int expected = a[i] * 8 / 128 + (i < 64 ? b[i] * 8 / 128 : 0) + c * 8 / 128;
        ASSERT_EQ(mixed[i], expected) << i;
    }
    EXPECT_EQ(queue.count(), 1);  // a and b ended in that pass, the third stays
    EXPECT_EQ(queue.item(0), third);
    Playing* late = playing(300, false);
    queue.add(late);
    EXPECT_EQ(queue.item(1), late);
    for (int i : {2, -1}) {
        try {
            queue.item(i);
            ADD_FAILURE() << "no error for " << i;
        } catch (const Error& e) {
            EXPECT_STREQ(e.message, "PlayingQueue::item: Index out of range!");
        }
    }
    for (int i = 2; i < 20; ++i)
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
    pass(queue);
    pass(queue);  // the 300-byte one ends: room again
    queue.add(playing(100, true));
    EXPECT_EQ(queue.count(), 20);
}

TEST_F(MixingQueueTest, CallbackWritesSilenceAndWithoutAQueueNothingElse) {
    ASSERT_EQ(globalQueue, nullptr);
    std::vector<Uint8> stream(256, 0xAB);
    fillAudio(nullptr, stream.data(), 256);
    EXPECT_EQ(stream, std::vector<Uint8>(256, 0));
}
