// Clips through the real device on SDL's disk driver; lifetimes while the audio thread runs.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Files.h"
#include "Sounds.h"
#include "gnAudio.h"
#include "gnAudioImpl.h"

namespace {

// Whether the condition comes true, under the audio lock, within a deadline.
bool playsUntil(const std::function<bool()>& condition) {
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

size_t firstSound(const std::vector<int16_t>& s, size_t from = 0) {
    while (from < s.size() && s[from] == 0)
        ++from;
    return from;
}

// The samples the device wrote to the file while `during` ran and every playing ended.
std::vector<int16_t> record(const std::string& output, const std::function<void()>& during) {
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
    EXPECT_EQ(globalAudio, nullptr);  // the device shut down, the globals cleared
    EXPECT_EQ(globalQueue, nullptr);
    return readSamples(output);
}

}  // namespace

// Asleep until the first play; one sixteenth, two at once adding up, a converted length, the
// clip's errors, repeat.
TEST(Device, ClipsSoundAtOneSixteenthForTheirConvertedLength) {
    const std::string dir = makeTempDir("audio");
    const std::vector<int> tone = stereoTone(2205);
    const std::string file = writeWav(dir + "/tone.wav", 22050, 16, 2, tone);
    Sound sound;
    std::vector<int16_t> out = record(dir + "/a.raw", [&] {
        const SDL_AudioSpec& spec = globalAudio->obtained;
        EXPECT_EQ(join(spec.freq, int(spec.channels), spec.format, spec.samples),
                  join(22050, 2, AUDIO_S16, 64));
        sound.loadWAV(file.c_str());
        const size_t before = readFile(dir + "/a.raw").size();
        SDL_Delay(50);  // a device with nothing to play sleeps: no callback writes the file
        EXPECT_EQ(readFile(dir + "/a.raw").size(), before);
        EXPECT_FALSE(globalAudio->awake);
        sound.play();
        EXPECT_TRUE(globalAudio->awake);
        EXPECT_NE(sound.convertedData, sound.data);  // a copy even without a conversion
        EXPECT_EQ(sound.convertedLength, static_cast<int>(sound.dataLength));
        EXPECT_TRUE(playsUntil([] { return globalQueue->count() == 0; }));
        SDL_LockAudio();  // two at once, both before the next callback
        sound.play();
        sound.play();
        SDL_UnlockAudio();
    });
    const size_t start = firstSound(out);
    const size_t twice = firstSound(out, start + tone.size());
    ASSERT_TRUE(start < out.size() && twice + tone.size() <= out.size());
    for (size_t i = 0; i < tone.size(); ++i) {
        ASSERT_EQ(out[start + i], tone[i] * 8 / 128) << i;
        ASSERT_EQ(out[twice + i], 2 * (tone[i] * 8 / 128)) << i;
    }
    EXPECT_EQ(firstSound(out, twice + tone.size()), out.size());

    std::vector<int> low(3000);  // 8-bit unsigned mono at 11025 Hz, never silent
    for (int i = 0; i < 3000; ++i)
        low[i] = 200 + (i % 40);
    const std::string lowFile = writeWav(dir + "/low.wav", 11025, 8, 1, low);
    Sound other;
    int converted = 0;
    out = record(dir + "/b.raw", [&] {
        EXPECT_EQ(audioError([&] { other.play(); }) + audioError([&] { other.setRate(1); }) +
                      audioError([&] { other.getRate(); }),
                  "Sound::CheckConvert: No sound data!Sound::setRate: No sound data!"
                  "Sound::getRate: No sound data!");
        other.loadWAV(lowFile.c_str());
        EXPECT_FALSE(other.hasConvertedData);  // nothing converted before the first play
        other.play();
        converted = other.convertedLength;
    });
    EXPECT_NEAR(converted, 3000 * 2 * 2 * 2, 64);  // twice the rate, stereo, 16 bits
    const size_t from = firstSound(out);
    ASSERT_LE(from + converted / 2, out.size());
    EXPECT_NEAR(out[from], ((200 - 128) << 8) * 8 / 128, 16);  // resampled: nearly
    EXPECT_NE(out[from + converted / 2 - 1], 0);  // sounding to its last sample, then silence
    EXPECT_EQ(firstSound(out, from + converted / 2), out.size());
    record(dir + "/c.raw", [&] {
        other.setRate(22050);
        EXPECT_EQ(other.getRate(), 22050u);
        other.play();
        EXPECT_NEAR(other.convertedLength * 2.0 / converted, 1.0, 0.01);  // half the length
        EXPECT_EQ(audioError([&] { other.loadWAV((dir + "/none.wav").c_str()); }),
                  "Sound::loadWAV: Could not open file!");
        EXPECT_EQ(other.data, nullptr);  // the earlier clip was released first
        other.loadWAV(lowFile.c_str());
        other.spec.format = 0x1234;
        EXPECT_EQ(audioError([&] { other.play(); }),
                  "Sound::CheckConvert: Could not build conversion structure!");
        other.loadWAV(lowFile.c_str());
        SDL_LockAudio();
        other.play();
        other.setRepeat(true);
        other.play();
        EXPECT_EQ(globalQueue->item(0)->repeat * 10 + globalQueue->item(1)->repeat, 1);
        SDL_UnlockAudio();
        other.loadWAV(lowFile.c_str());  // releases the clip, its copy and its playings
    });
}

// A playing clip reloaded, re-rated or deleted, and the device shut down while sounds play.
TEST(Device, NothingIsReadAfterItWasFreed) {
    const std::string file =
        writeWav(makeTempDir("audio") + "/tone.wav", 22050, 16, 2, stereoTone(300));
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

// A device that cannot be opened again at the first play: its line once, and silence.
TEST(Device, ADeviceThatCannotWakeSaysSoOnce) {
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    Capture out(1), err(2);
    {
        Audio audio;
        audio.start();
        setenv("SDL_DISKAUDIOFILE", "/nonexistent/solrind/audio.raw", 1);
        Sound sound;
        sound.loadWAV(
            writeWav(makeTempDir("audio") + "/t.wav", 22050, 16, 2, stereoTone(9)).c_str());
        sound.play(), sound.play();  // the second does not try again
        EXPECT_EQ(audio.opened * 10 + audio.awake, 10);
    }
    const std::string said = out.finish(), errors = err.finish();
    EXPECT_EQ(said, "Couldn't open audio: Couldn't open /nonexistent/solrind/audio.raw\n");
    EXPECT_EQ(errors.substr(errors.size() - said.size()), said);  // after the driver's own lines
}
