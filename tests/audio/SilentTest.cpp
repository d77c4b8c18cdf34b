// Without a device that opens, the game runs silently: one message on both streams, and every
// clip operation does nothing and raises nothing.
#include <gtest/gtest.h>

#include "Capture.h"
#include "gnAudio.h"
#include "gnAudioImpl.h"

TEST(Silent, DeviceThatCannotOpenIsReportedOnBothStreams) {
    Capture out(1);
    Capture err(2);
    {
        Audio audio;
        audio.start();
        EXPECT_FALSE(audio.opened);
        EXPECT_EQ(globalAudio, nullptr);
        EXPECT_EQ(globalQueue, nullptr);
    }  // deleting it does nothing
    const std::string errText = err.finish();
    const std::string outText = out.finish();
    EXPECT_EQ(outText.rfind("Couldn't open audio: ", 0), 0u) << outText;
    EXPECT_EQ(outText.back(), '\n');
    EXPECT_EQ(outText.find('\n'), outText.size() - 1);  // one line
    EXPECT_EQ(errText, outText);
}

TEST(Silent, EveryClipOperationDoesNothing) {
    Audio audio;
    Capture quiet;
    audio.start();
    quiet.finish();
    Sound sound;
    EXPECT_NO_THROW({
        sound.loadWAV("no/such/file.wav");
        sound.CheckConvert();
        sound.setRate(44100);
        sound.setRepeat(true);
        sound.play();
        sound.play();
    });
    EXPECT_EQ(sound.getRate(), 0u);
    EXPECT_EQ(sound.data, nullptr);
    EXPECT_FALSE(sound.hasConvertedData);
}
