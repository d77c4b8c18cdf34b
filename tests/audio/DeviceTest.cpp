// Real audio through SDL's disk driver: clips written by the tests, played through the real
// device; the file SDL wrote holds what the device would have sounded. The lifetimes of clips,
// playings and the device while the audio thread runs (AddressSanitizer and ThreadSanitizer
// watch).
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "Files.h"
#include "Sounds.h"
#include "gnAudio.h"
#include "gnAudioImpl.h"

namespace {

std::string errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.message;
    }
    return "";
}

class DeviceTest : public testing::Test {
  protected:
    void SetUp() override { dir = makeTempDir("audio"); }
    // Opens the device writing to a file, runs `during`, waits until every playing has ended,
    // shuts the device down and returns the samples it wrote.
    std::vector<int16_t> record(const std::function<void()>& during) {
        output = dir + "/out" + std::to_string(++recordings) + ".raw";
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        {
            Audio audio;
            audio.start();
            EXPECT_TRUE(audio.opened);
            during();
            EXPECT_TRUE(playsUntil([] { return globalQueue->count() == 0; })) << "never silent";
            SDL_Delay(30);
        }
        SDL_CloseAudio();
        return readSamples(output);
    }
    // Whether the condition comes true, under the audio lock, within a deadline.
    static bool playsUntil(const std::function<bool()>& condition) {
        for (int i = 0; i < 1000; ++i) {
            SDL_LockAudio();
            const bool met = condition();
            SDL_UnlockAudio();
            if (met)
                return true;
            SDL_Delay(5);
        }
        return false;
    }
    static size_t firstSound(const std::vector<int16_t>& s, size_t from = 0) {
        while (from < s.size() && s[from] == 0)
            ++from;
        return from;
    }
    std::string dir, output;
    int recordings = 0;
};

}  // namespace

// The device opens in its fixed format; a clip already in it is still copied on the first
// play and sounds at one sixteenth between silence; two playings started together add up.
TEST_F(DeviceTest, AClipSoundsAtOneSixteenthAndTwoAddUp) {
    const std::vector<int> tone = stereoTone(2205);
    const std::string file = writeWav(dir + "/tone.wav", 22050, 16, 2, tone);
    Sound sound;
    const std::vector<int16_t> out = record([&] {
        const SDL_AudioSpec& spec = globalAudio->obtained;
        EXPECT_EQ(spec.freq * 10 + spec.channels, 220502);
        EXPECT_EQ(spec.format * 100 + spec.samples, AUDIO_S16 * 100 + 64);
        sound.loadWAV(file.c_str());
        EXPECT_EQ(sound.getRate(), 22050u);
        for (int i = 0; i < 200 && readFile(output).size() < 4096; ++i)  // silence first
            SDL_Delay(5);
        sound.play();
        EXPECT_NE(sound.convertedData, sound.data);  // a copy even without a conversion
        EXPECT_EQ(sound.convertedLength, static_cast<int>(sound.dataLength));
        EXPECT_TRUE(playsUntil([] { return globalQueue->count() == 0; }));
        SDL_LockAudio();  // two at once, both before the next callback
        sound.play();
        sound.play();
        SDL_UnlockAudio();
    });
    EXPECT_EQ(globalAudio, nullptr);  // the device shut down, the globals cleared
    EXPECT_EQ(globalQueue, nullptr);
    const size_t start = firstSound(out);
    ASSERT_GT(start, 0u);
    const size_t twice = firstSound(out, start + tone.size());
    ASSERT_LE(twice + tone.size(), out.size());
    for (size_t i = 0; i < tone.size(); ++i) {
        ASSERT_EQ(out[start + i], tone[i] * 8 / 128) << i;
        ASSERT_EQ(out[twice + i], 2 * (tone[i] * 8 / 128)) << i;
    }
    EXPECT_EQ(firstSound(out, twice + tone.size()), out.size());
}

// A clip in another format is converted on its first play, to exactly what SDL's converter
// makes (its converted length, not the buffer's); a new rate converts anew, twice the rate to
// half the length; the errors of a clip without samples; repeat applies from the next play.
TEST_F(DeviceTest, ConversionRatesErrorsAndRepeat) {
    std::vector<int> samples;  // 8-bit unsigned mono at 11025 Hz
    for (int i = 0; i < 3000; ++i)
        samples.push_back(200 + (i % 40));
    const std::string file = writeWav(dir + "/low.wav", 11025, 8, 1, samples);
    Sound sound;
    std::vector<uint8_t> expected;
    const std::vector<int16_t> out = record([&] {
        EXPECT_EQ(errorOf([&] { sound.play(); }), "Sound::CheckConvert: No sound data!");
        EXPECT_EQ(errorOf([&] { sound.setRate(1); }), "Sound::setRate: No sound data!");
        EXPECT_EQ(errorOf([&] { sound.getRate(); }), "Sound::getRate: No sound data!");
        sound.loadWAV(file.c_str());
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
    EXPECT_EQ(firstSound(out, start + count), out.size());
    record([&] {
        sound.setRate(22050);
        EXPECT_EQ(sound.getRate(), 22050u);
        sound.play();
        EXPECT_NEAR(sound.convertedLength * 2.0 / static_cast<double>(expected.size()), 1.0, 0.01);
        EXPECT_EQ(errorOf([&] { sound.loadWAV((dir + "/none.wav").c_str()); }),
                  "Sound::loadWAV: Could not open file!");
        EXPECT_EQ(sound.data, nullptr);  // the earlier clip was released first
        sound.loadWAV(file.c_str());
        sound.spec.format = 0x1234;
        EXPECT_EQ(errorOf([&] { sound.play(); }),
                  "Sound::CheckConvert: Could not build conversion structure!");
        sound.loadWAV(file.c_str());
        SDL_LockAudio();
        sound.play();
        sound.setRepeat(true);
        sound.play();
        EXPECT_EQ(globalQueue->item(0)->repeat * 10 + globalQueue->item(1)->repeat, 1);
        SDL_UnlockAudio();
        sound.loadWAV(file.c_str());  // releases the clip, its copy and its playings
    });
}

// Reloading a clip, changing its rate or deleting it while it plays takes its playings off
// the queue before its bytes are freed; shutting the device down while sounds play, many
// times, takes the queue and its sounds away under the audio lock.
TEST_F(DeviceTest, NothingIsReadAfterItWasFreed) {
    const std::string file = writeWav(dir + "/tone.wav", 22050, 16, 2, stereoTone(300));
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    const auto callbacksRun = [] {  // the playing at index 0 is mixed again
        int before = 0;
        return playsUntil([&] { return before = globalQueue->item(0)->position, true; }) &&
               playsUntil([&] { return globalQueue->item(0)->position != before; });
    };
    const std::function<void(Sound*&)> ends[] = {
        [&](Sound*& s) { s->loadWAV(file.c_str()); },
        [](Sound*& s) { s->setRate(11025); },
        [](Sound*& s) { delete s, s = nullptr; },
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
            end(sound);
            EXPECT_TRUE(playsUntil([&] {
                return globalQueue->count() == 1 &&
                       globalQueue->item(0)->data == reinterpret_cast<char*>(other.convertedData);
            }));
            EXPECT_TRUE(callbacksRun());
            delete sound;
        }
    }
    SDL_CloseAudio();
    srand(5);
    for (int round = 0; round < 150; ++round) {
        Audio* audio = new Audio();
        audio->start();
        ASSERT_TRUE(audio->opened);
        Sound once, looping;
        once.loadWAV(file.c_str());
        looping.loadWAV(file.c_str());
        looping.setRepeat(true);
        for (int i = 0; i < 6; ++i)
            once.play(), looping.play();
        SDL_Delay(static_cast<Uint32>(rand() % 3));
        delete audio;
        EXPECT_EQ(globalQueue, nullptr);
        SDL_CloseAudio();
    }
    unsetenv("SDL_DISKAUDIODELAY");
}
