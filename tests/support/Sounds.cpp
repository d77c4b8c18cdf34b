#include "Sounds.h"

#include <cmath>

#include "Files.h"
#include "gnAudio.h"

namespace {

void put(std::string& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes += static_cast<char>(value >> (8 * i));
}

}  // namespace

std::string writeWav(const std::string& path, int rate, int bits, int channels,
                     const std::vector<int>& samples) {
    const int bytesPerSample = bits / 8;
    std::string pcm;
    for (int s : samples)
        put(pcm, static_cast<uint32_t>(s), bytesPerSample);
    std::string bytes = "RIFF";
    put(bytes, static_cast<uint32_t>(36 + pcm.size()), 4);
    bytes += "WAVEfmt ";
    put(bytes, 16, 4);
    put(bytes, 1, 2);  // PCM
    put(bytes, static_cast<uint32_t>(channels), 2);
    put(bytes, static_cast<uint32_t>(rate), 4);
    put(bytes, static_cast<uint32_t>(rate * channels * bytesPerSample), 4);
    put(bytes, static_cast<uint32_t>(channels * bytesPerSample), 2);
    put(bytes, static_cast<uint32_t>(bits), 2);
    bytes += "data";
    put(bytes, static_cast<uint32_t>(pcm.size()), 4);
    writeFile(path, bytes + pcm);
    return path;
}

std::vector<int> stereoTone(int frames) {
    std::vector<int> samples;
    for (int i = 0; i < frames; ++i)
        for (int sign : {1, -1})
            samples.push_back(sign * (12000 + static_cast<int>(8000 * std::sin(i * 0.05))));
    return samples;
}

std::vector<int16_t> readSamples(const std::string& path) {
    const std::string bytes = readFile(path);
    std::vector<int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                          static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
    return samples;
}

std::string audioError(const std::function<void()>& code) {
    try {
        code();
    } catch (const Error& e) {
        return e.message;
    }
    return "";
}
