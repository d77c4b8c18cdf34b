// WAV files written by the tests, and what SDL's disk audio driver wrote back.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A PCM WAV file of interleaved samples: 8-bit unsigned when bits is 8, else 16-bit signed.
std::string writeWav(const std::string& path, int rate, int bits, int channels,
                     const std::vector<int>& samples);
// A stereo 16-bit tone: frame i is (left(i), -left(i)), loud from the first frame on.
std::vector<int> stereoTone(int frames);
// The 16-bit little-endian samples of a raw file.
std::vector<int16_t> readSamples(const std::string& path);
// The message of the audio layer's Error the code threw ("" when none).
std::string audioError(const std::function<void()>& code);
