#include "gnAudioImpl.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "gnAudio.h"

Sound::Sound()
    : data(nullptr),
      convertedData(nullptr),
      dataLength(0),
      convertedLength(0),
      spec(),
      hasConvertedData(false),
      repeat(false) {}

Sound::~Sound() {
    CheckFreeData();
}

void Sound::loadWAV(const char* file) {
    if (!globalAudio)
        return;
    CheckFreeData();
    if (!SDL_LoadWAV(file, &spec, &data, &dataLength)) {
        data = nullptr;
        throw Error("Sound::loadWAV: Could not open file!");
    }
}

void Sound::CheckConvert() {
    if (!globalAudio)
        return;
    if (!data)
        throw Error("Sound::CheckConvert: No sound data!");
    if (hasConvertedData)
        return;
    const SDL_AudioSpec& device = globalAudio->obtained;
    SDL_AudioCVT converter;
    if (SDL_BuildAudioCVT(&converter, spec.format, spec.channels, spec.freq, device.format,
                          device.channels, device.freq) < 0)
        throw Error("Sound::CheckConvert: Could not build conversion structure!");
    converter.len = static_cast<int>(dataLength);
    uint8_t* buffer =
        static_cast<uint8_t*>(malloc(static_cast<size_t>(dataLength) * converter.len_mult));
    if (!buffer)
        throw Error("Sound::CheckConvert: Not enough memory!");
    converter.buf = buffer;
    memcpy(buffer, data, dataLength);
    if (converter.needed) {
        if (SDL_ConvertAudio(&converter) < 0) {
            free(buffer);
            throw Error("Sound::loadWAV: Error converting audio!");
        }
        convertedLength = converter.len_cvt;
    } else {
        convertedLength = static_cast<int>(dataLength);
    }
    convertedData = buffer;
    hasConvertedData = true;
}

void Sound::CheckFreeData() {
    if (!data)
        return;
    CheckFreeConvertedData();
    SDL_FreeWAV(data);
    data = nullptr;
}

void Sound::CheckFreeConvertedData() {
    if (!hasConvertedData)
        return;
    // Playings still queued read these bytes on the audio thread: they go first.
    if (globalQueue)
        globalQueue->removePlayingsOf(reinterpret_cast<char*>(convertedData));
    free(convertedData);
    convertedData = nullptr;
    hasConvertedData = false;
}

void Sound::setRate(unsigned int rate) {
    if (!globalAudio)
        return;
    if (!data)
        throw Error("Sound::setRate: No sound data!");
    spec.freq = static_cast<int>(rate);
    CheckFreeConvertedData();
}

unsigned int Sound::getRate() const {
    if (!globalAudio)
        return 0;
    if (!data)
        throw Error("Sound::getRate: No sound data!");
    return static_cast<unsigned int>(spec.freq);
}

void Sound::play() {
    if (!globalAudio)
        return;
    CheckConvert();
    Playing* playing =
        new (std::nothrow) Playing(reinterpret_cast<char*>(convertedData), convertedLength, repeat);
    if (!playing)
        throw Error("Sound::play: Could not allocate Playing object!");
    try {
        globalQueue->add(playing);
    } catch (const Error&) {
        delete playing;  // the full queue did not take it
        throw;
    }
    globalAudio->wake();  // after the add: the first callback of a sleeping device mixes it
}
