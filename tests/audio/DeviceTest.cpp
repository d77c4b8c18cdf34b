// Real audio through SDL's disk driver: clips written by the tests, played through the real
// device; the file SDL wrote holds what the device would have sounded.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>

#include "Capture.h"
#include "Sounds.h"
#include "gnAudio.h"
#include "gnAudioImpl.h"

namespace {

class DeviceTest : public testing::Test {
  protected:
    void SetUp() override { dir = makeTempDir("audio"); }

    // Opens the device writing to a file, runs `during`, waits until every playing has ended
    // (and a little more), shuts the device down and returns what it wrote.
    std::vector<int16_t> record(const std::function<void()>& during) {
        const std::string out = dir + "/out" + std::to_string(++recordings) + ".raw";
        currentOutput = out;
        setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
        {
            Audio audio;
            audio.start();
            EXPECT_TRUE(audio.opened);
            during();
            waitUntilSilent();
            SDL_Delay(30);
        }
        SDL_CloseAudio();
        return readSamples(out);
    }
    static void waitUntilSilent() {
        for (int i = 0; i < 500; ++i) {
            SDL_LockAudio();
            const int playing = globalQueue ? globalQueue->count() : 0;
            SDL_UnlockAudio();
            if (playing == 0)
                return;
            SDL_Delay(10);
        }
        ADD_FAILURE() << "the sounds never ended";
    }
    static size_t firstSound(const std::vector<int16_t>& s) {
        for (size_t i = 0; i < s.size(); ++i)
            if (s[i] != 0)
                return i;
        return s.size();
    }
    static size_t lastSound(const std::vector<int16_t>& s) {
        for (size_t i = s.size(); i > 0; --i)
            if (s[i - 1] != 0)
                return i - 1;
        return 0;
    }
    std::string dir;
    std::string currentOutput;  // the file the device writes now
    int recordings = 0;
};

}  // namespace

// The device opens in its fixed format; a clip already in it is still copied on the first
// play and sounds at one sixteenth between silence; two playings started together add up.
TEST_F(DeviceTest, ClipInTheDeviceFormatSoundsAtOneSixteenthBetweenSilence) {
    const std::vector<int> tone = stereoTone(2205);
    const std::string file = writeWav(dir + "/tone.wav", 22050, 16, 2, tone);
    Sound sound;
    const std::vector<int16_t> out = record([&] {
        ASSERT_NE(globalAudio, nullptr);
        const SDL_AudioSpec& spec = globalAudio->obtained;
        EXPECT_EQ(spec.freq, 22050);
        EXPECT_EQ(spec.format, AUDIO_S16);
        EXPECT_EQ(spec.channels * 100 + spec.samples, 264);  // stereo, 64-frame buffers
        sound.loadWAV(file.c_str());
        EXPECT_EQ(sound.getRate(), 22050u);
        // Some silent buffers first: wait until the device has written a few.
        for (int i = 0; i < 200 && readFile(currentOutput).size() < 4096; ++i)
            SDL_Delay(5);
        sound.play();
        EXPECT_NE(sound.convertedData, sound.data);  // a copy even without a conversion
        EXPECT_EQ(sound.convertedLength, static_cast<int>(sound.dataLength));
        waitUntilSilent();
        SDL_LockAudio();  // two at once, both before the next callback
        sound.play();
        sound.play();
        EXPECT_EQ(globalQueue->count(), 2);
        SDL_UnlockAudio();
    });
    EXPECT_EQ(globalAudio, nullptr);  // the device shut down, the globals cleared
    EXPECT_EQ(globalQueue, nullptr);
    const size_t start = firstSound(out);
    ASSERT_GT(start, 0u);  // silence before the clip
    ASSERT_LE(start + tone.size(), out.size());
    for (size_t i = 0; i < tone.size(); ++i)
        ASSERT_EQ(out[start + i], tone[i] * 8 / 128) << i;
    size_t twice = start + tone.size();
    while (twice < out.size() && out[twice] == 0)
        ++twice;
    ASSERT_LE(twice + tone.size(), out.size());
    for (size_t i = 0; i < tone.size(); ++i)
        ASSERT_EQ(out[twice + i], 2 * (tone[i] * 8 / 128)) << i;
    EXPECT_EQ(lastSound(out), twice + tone.size() - 1);
}

// A clip in another format is converted on its first play, to exactly what SDL's converter
// makes (its converted length, not the buffer's); a new rate converts anew, twice the rate to
// half the length.
TEST_F(DeviceTest, ClipInAnotherFormatIsConvertedOnFirstPlay) {
    std::vector<int> samples;  // 8-bit unsigned mono at 11025 Hz
    for (int i = 0; i < 3000; ++i)
        samples.push_back(200 + (i % 40));
    const std::string file = writeWav(dir + "/low.wav", 11025, 8, 1, samples);
    Sound sound;
    std::vector<uint8_t> expected;
    const std::vector<int16_t> out = record([&] {
        sound.loadWAV(file.c_str());
        EXPECT_EQ(sound.getRate(), 11025u);
        EXPECT_FALSE(sound.hasConvertedData);  // nothing converted before the first play
        SDL_AudioCVT cvt;
        ASSERT_EQ(SDL_BuildAudioCVT(&cvt, AUDIO_U8, 1, 11025, AUDIO_S16, 2, 22050), 1);
        expected.assign(sound.data, sound.data + sound.dataLength);
        expected.resize(sound.dataLength * cvt.len_mult);
        cvt.buf = expected.data();
        cvt.len = static_cast<int>(sound.dataLength);
        ASSERT_EQ(SDL_ConvertAudio(&cvt), 0);
        expected.resize(static_cast<size_t>(cvt.len_cvt));
        sound.play();
        EXPECT_EQ(sound.convertedLength, cvt.len_cvt);
    });
    const int16_t* converted = reinterpret_cast<const int16_t*>(expected.data());
    const size_t count = expected.size() / 2, start = firstSound(out);
    ASSERT_LE(start + count, out.size());
    for (size_t i = 0; i < count; ++i)
        ASSERT_EQ(out[start + i], converted[i] * 8 / 128) << i;
    EXPECT_EQ(lastSound(out), start + count - 1);
    record([&] {
        sound.setRate(22050);
        EXPECT_EQ(sound.getRate(), 22050u);
        sound.play();
        EXPECT_NEAR(sound.convertedLength * 2.0 / static_cast<double>(expected.size()), 1.0, 0.01);
    });
}

TEST_F(DeviceTest, ClipErrorsAndRepeat) {
    Sound sound;
    record([&] {
        auto message = [](const std::function<void()>& f) -> std::string {
            try {
                f();
            } catch (const Error& e) {
                return e.message;
            }
            return "";
        };
        EXPECT_EQ(message([&] { sound.play(); }), "Sound::CheckConvert: No sound data!");
        EXPECT_EQ(message([&] { sound.setRate(1); }), "Sound::setRate: No sound data!");
        EXPECT_EQ(message([&] { sound.getRate(); }), "Sound::getRate: No sound data!");
        const std::string file = writeWav(dir + "/t.wav", 22050, 16, 2, stereoTone(500));
        sound.loadWAV(file.c_str());
        EXPECT_EQ(message([&] { sound.loadWAV((dir + "/none.wav").c_str()); }),
                  "Sound::loadWAV: Could not open file!");
        EXPECT_EQ(sound.data, nullptr);  // the earlier clip was released first
        sound.loadWAV(file.c_str());
        sound.spec.format = 0x1234;
        EXPECT_EQ(message([&] { sound.play(); }),
                  "Sound::CheckConvert: Could not build conversion structure!");
        EXPECT_FALSE(sound.hasConvertedData);
        sound.loadWAV(file.c_str());
        SDL_LockAudio();  // repeat applies to the playings started afterwards
        sound.play();
        sound.setRepeat(true);
        sound.play();
        EXPECT_FALSE(globalQueue->item(0)->repeat);
        EXPECT_TRUE(globalQueue->item(1)->repeat);
        SDL_UnlockAudio();
        sound.loadWAV(file.c_str());  // releases the clip, its copy and its playings
        EXPECT_FALSE(sound.hasConvertedData);
    });
}

// Reloading a clip, changing its rate or deleting it while it plays takes its playings off the
// queue before its bytes are freed: the audio thread never reads them afterwards (ASan checks).
TEST_F(DeviceTest, AClipsPlayingsStopBeforeItsBytesGo) {
    const std::string file = writeWav(dir + "/tone.wav", 22050, 16, 2, stereoTone(300));
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    // Whether the callback mixes the playing at index 0 again within a deadline.
    auto callbacksRun = [] {
        SDL_LockAudio();
        const int before = globalQueue->item(0)->position;
        SDL_UnlockAudio();
        for (int i = 0; i < 1000; ++i) {
            SDL_Delay(2);
            SDL_LockAudio();
            const bool moved = globalQueue->item(0)->position != before;
            SDL_UnlockAudio();
            if (moved)
                return true;
        }
        return false;
    };
    const std::vector<std::pair<const char*, std::function<void(Sound*&)>>> ends = {
        {"reloaded", [&](Sound*& s) { s->loadWAV(file.c_str()); }},
        {"a new rate", [](Sound*& s) { s->setRate(11025); }},
        {"deleted",
         [](Sound*& s) {
             delete s;
             s = nullptr;
         }},
    };
    {
        Audio audio;
        audio.start();
        Sound other;  // plays on throughout
        other.loadWAV(file.c_str());
        other.setRepeat(true);
        other.play();
        for (const auto& end : ends) {
            Sound* sound = new Sound();
            sound->loadWAV(file.c_str());
            sound->setRepeat(true);
            sound->play();
            sound->play();
            EXPECT_TRUE(callbacksRun());
            end.second(sound);
            SDL_LockAudio();
            const int left = globalQueue->count();
            const char* first = left > 0 ? globalQueue->item(0)->data : nullptr;
            SDL_UnlockAudio();
            EXPECT_EQ(left, 1) << end.first;
            EXPECT_EQ(first, reinterpret_cast<char*>(other.convertedData)) << end.first;
            EXPECT_TRUE(callbacksRun()) << end.first;
            delete sound;
        }
    }
    SDL_CloseAudio();
    unsetenv("SDL_DISKAUDIODELAY");
}

// Shutting the device down while sounds play, many times: the queue and its sounds go away
// under the audio lock, and no callback reaches them afterwards.
TEST_F(DeviceTest, ShuttingDownWhileSoundsPlay) {
    const std::string file = writeWav(dir + "/tone.wav", 22050, 16, 2, stereoTone(300));
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    srand(5);
    for (int round = 0; round < 150; ++round) {
        Audio* audio = new Audio();
        audio->start();
        ASSERT_TRUE(audio->opened);
        Sound once, looping;
        once.loadWAV(file.c_str());
        looping.loadWAV(file.c_str());
        looping.setRepeat(true);
        for (int i = 0; i < 6; ++i) {
            once.play();
            looping.play();
        }
        SDL_Delay(static_cast<Uint32>(rand() % 3));
        delete audio;
        EXPECT_EQ(globalQueue, nullptr);
        SDL_CloseAudio();
    }
    unsetenv("SDL_DISKAUDIODELAY");
}
