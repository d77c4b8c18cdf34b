// With no device (a driver that does not exist): one line on both streams; clips do nothing.
#include <gtest/gtest.h>
#include <unistd.h>

#include "Files.h"
#include "gnAudio.h"
#include "gnAudioImpl.h"

TEST(Silent, ADeviceThatCannotOpenIsReportedOnceAndEveryClipDoesNothing) {
    Capture out(1), err(2);
    {
        Audio audio;
        audio.start();
        write(1, "after\n", 6);  // the line is out before anything after it: a journal has it
        EXPECT_FALSE(audio.opened);
        EXPECT_EQ(globalAudio, nullptr);
        Sound sound;
        EXPECT_NO_THROW({
            sound.loadWAV("no/such/file.wav");
            sound.CheckConvert();
            sound.setRate(44100);
            sound.play();
        });
        EXPECT_EQ(sound.getRate(), 0u);
        EXPECT_EQ(sound.data, nullptr);
    }
    const std::string said = out.finish();
    EXPECT_EQ(said.rfind("Couldn't open audio: ", 0), 0u) << said;
    EXPECT_EQ(said.find("\nafter\n"), said.size() - 7);  // one line
    EXPECT_EQ(err.finish() + "after\n", said);
}
