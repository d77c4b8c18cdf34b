// The mixing pass driven directly on a paused device: slices, repeats, volume, compaction.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Files.h"
#include "Sounds.h"
#include "gnAudio.h"
#include "gnAudioImpl.h"

namespace {

class MixingTest : public testing::Test {
  protected:
    void SetUp() override {
        SDL_InitSubSystem(SDL_INIT_AUDIO);
        SDL_AudioSpec want = {22050, AUDIO_S16, 2, 0, 64, 0, 0, fillAudio, nullptr};
        ASSERT_EQ(SDL_OpenAudio(&want, nullptr), 0) << SDL_GetError();
        for (int i = 0; i < 2000; ++i)
            clip[i] = static_cast<char>(i % 97 + 16);
    }
    void TearDown() override {
        SDL_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    char clip[2000];
};

}  // namespace

// 1000 bytes go out as 256, 256, 256, 232; a repeating one starts over; an empty one leaves.
TEST_F(MixingTest, SlicesRepeatsAndEnds) {
    const struct {
        int length;
        bool repeat;
        std::vector<int> sizes, starts;
        int stays;  // passes it stays queued for, of five
    } cases[] = {
        // clang-format off
        {1000, false, {256, 256, 256, 232, 0}, {0, 256, 512, 768, -1}, 3},
        {1000, true, {256, 256, 256, 232, 256}, {0, 256, 512, 768, 0}, 5},
        {0, true, {0, 0, 0, 0, 0}, {-1, -1, -1, -1, -1}, 0},
        {257, false, {256, 1, 0, 0, 0}, {0, 256, -1, -1, -1}, 1},  // a last slice of one byte
        // clang-format on
    };
    for (const auto& c : cases) {
        Playing p(clip, c.length, c.repeat);
        std::vector<int> sizes, starts;
        for (int i = 0; i < 5; ++i) {
            char* out = nullptr;
            sizes.push_back(p.getBytes(256, &out));
            starts.push_back(out ? static_cast<int>(out - clip) : -1);
        }
        EXPECT_EQ(sizes, c.sizes);
        EXPECT_EQ(starts, c.starts);
        PlayingQueue queue;
        queue.add(new Playing(clip, c.length, c.repeat));
        int stays = 0;
        for (int i = 0; i < 5; ++i) {
            std::vector<char> stream(256, 0);
            queue.getBytes(256, stream.data());
            stays += queue.count();
            EXPECT_TRUE(c.length > 0 || stream == std::vector<char>(256, 0));
        }
        EXPECT_EQ(stays, c.stays) << c.length << " " << c.repeat;
    }
}

// Each sound at one sixteenth from the start; ended ones compacted away; 20 at most.
TEST_F(MixingTest, MixingCompactionAndTheLimits) {
    int16_t a[128], b[64];
    for (int i = 0; i < 128; ++i)
        a[i] = static_cast<int16_t>(1000 + 37 * i);
    for (int i = 0; i < 64; ++i)
        b[i] = static_cast<int16_t>(-3000 + 11 * i);
    PlayingQueue queue;
    Playing* third = new Playing(clip + 500, 1000, false);
    queue.add(new Playing(reinterpret_cast<char*>(a), sizeof a, false));
    queue.add(new Playing(reinterpret_cast<char*>(b), sizeof b, false));
    queue.add(third);
    std::vector<char> stream(256, 0);
    queue.getBytes(256, stream.data());
    const int16_t* mixed = reinterpret_cast<const int16_t*>(stream.data());
    for (int i = 0; i < 128; ++i) {
        int16_t c;
        memcpy(&c, clip + 500 + 2 * i, sizeof c);
        ASSERT_EQ(mixed[i], a[i] * 8 / 128 + (i < 64 ? b[i] * 8 / 128 : 0) + c * 8 / 128) << i;
    }
    EXPECT_EQ(queue.count(), 1);
    EXPECT_EQ(queue.item(0), third);
    Playing* late = new Playing(clip, 300, false);
    queue.add(late);
    EXPECT_EQ(queue.item(1), late);
    for (int i : {2, -1})
        EXPECT_EQ(audioError([&] { queue.item(i); }), "PlayingQueue::item: Index out of range!");
    for (int i = 2; i < 20; ++i)
        queue.add(new Playing(clip, 100, true));
    Playing extra(clip, 100, true);
    EXPECT_EQ(audioError([&] { queue.add(&extra); }),
              "PlayingQueue::add: Not implemented dynamic grow!");
    for (int pass = 0; pass < 2; ++pass)
        queue.getBytes(256, stream.data());  // the 300-byte one ends: room again
    queue.add(new Playing(clip, 100, true));
    EXPECT_EQ(queue.count(), 20);
    std::vector<Uint8> silence(256, 0xAB);
    fillAudio(nullptr, silence.data(), 256);  // without a queue: silence, nothing else
    EXPECT_EQ(silence, std::vector<Uint8>(256, 0));
}
