// A sound clip loaded from a WAV file: the samples as loaded, and a copy converted to the open
// device's format on the first play. Any number of playings of the copy may sound at once.
// Without an open device every operation does nothing and raises nothing.
#pragma once

#include <SDL.h>

#include <cstdint>

class Sound {
  public:
    Sound();
    virtual ~Sound();  // CheckFreeData()

    // Replaces any earlier clip (and its copy, whose playings stop) by the file's samples.
    void loadWAV(const char* file);
    // Makes the device-format copy if there is none; the copy is made also when the clip
    // already has the device's format, so the loaded samples never reach the mixer.
    void CheckConvert();
    void CheckFreeData();
    // Frees the copy, after taking the playings of it off the queue (they stop sounding).
    void CheckFreeConvertedData();
    // Treats the samples as recorded at rate from now on (faster and higher above the file's
    // rate); the next play converts again. Playings of the old copy stop.
    void setRate(unsigned int rate);
    unsigned int getRate() const;
    void setRepeat(bool r) { repeat = r; }  // for playings started afterwards
    // Starts one more playing of the copy; reloading, a new rate or deleting the clip stops it.
    void play();

    uint8_t* data;           // as SDL_LoadWAV delivered it; owned
    uint8_t* convertedData;  // in the device's format; owned; valid while hasConvertedData
    uint32_t dataLength;
    int convertedLength;
    SDL_AudioSpec spec;  // the file's format; freq is the clip's rate
    bool hasConvertedData;
    bool repeat;
};
