#include "gnAudio.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace {

constexpr int kRate = 22050;  // samples per second
constexpr Uint16 kFormat = AUDIO_S16;
constexpr Uint8 kChannels = 2;
// Frames a buffer: 64 on a desktop; a browser's Web Audio takes no fewer than 256, and its
// build says so (SOLRIND_AUDIO_FRAMES).
constexpr Uint16 kBufferFrames = SOLRIND_AUDIO_FRAMES;

// The granted format's silence, for the callback (which may run while the globals change).
Uint8 silenceByte = 0;

// The line of a device that cannot open, on both streams.
void reportCannotOpen() {
    printf("Couldn't open audio: %s\n", SDL_GetError());
    fflush(stdout);
    fprintf(stderr, "Couldn't open audio: %s\n", SDL_GetError());
}

}  // namespace

Audio* globalAudio = nullptr;
PlayingQueue* globalQueue = nullptr;

Playing::Playing(char* data, int length, bool repeat)
    : length(length), position(0), data(data), repeat(repeat) {}

Playing::~Playing() = default;

int Playing::getBytes(int want, char** out) {
    const int n = want < bytesLeft() ? want : bytesLeft();
    if (n > 0) {
        *out = data + position;
        position += n;
        if (repeat && bytesLeft() <= 0)
            position = 0;
    }
    return n;
}

PlayingQueue::PlayingQueue()
    : items(new Playing*[kCapacity]()), capacity(kCapacity), itemCount(0) {}

PlayingQueue::~PlayingQueue() {
    SDL_LockAudio();
    if (items) {
        for (int i = 0; i < itemCount; ++i)
            delete items[i];
        delete[] items;
        items = nullptr;
    }
    SDL_UnlockAudio();
}

Playing* PlayingQueue::item(int i) {
    if (i < 0 || i >= itemCount)
        throw Error("PlayingQueue::item: Index out of range!");
    return items[i];
}

void PlayingQueue::add(Playing* p) {
    // The capacity test also under the lock: the callback writes itemCount meanwhile.
    SDL_LockAudio();
    const bool full = itemCount == capacity;
    if (!full)
        items[itemCount++] = p;
    SDL_UnlockAudio();
    if (full)
        throw Error("PlayingQueue::add: Not implemented dynamic grow!");
}

void PlayingQueue::removePlayingsOf(const char* data) {
    SDL_LockAudio();
    int keep = 0;
    for (int read = 0; read < itemCount; ++read) {
        Playing* playing = items[read];
        if (playing->data == data)
            delete playing;
        else
            items[keep++] = playing;
    }
    itemCount = keep;
    SDL_UnlockAudio();
}

void PlayingQueue::getBytes(int len, char* stream) {
    int keep = 0;
    for (int read = 0; read < itemCount; ++read) {
        Playing* playing = items[read];
        char* slice = nullptr;
        const int n = playing->getBytes(len, &slice);
        if (n > 0)
            SDL_MixAudio(reinterpret_cast<Uint8*>(stream), reinterpret_cast<Uint8*>(slice),
                         static_cast<Uint32>(n), kVolume);
        if (keep != read)
            items[keep] = playing;
        if (playing->bytesLeft() != 0)
            ++keep;
        else
            delete playing;  // ended; its slot goes to the next one that stays
    }
    itemCount = keep;
}

Audio::Audio() : opened(false), obtained(), awake(false), wakeFailed(false) {}

Audio::~Audio() {
    if (!opened)
        return;
    SDL_PauseAudio(1);
    // Under the lock (SDL's lock is recursive), so a callback already waiting for it finds
    // no queue afterwards instead of a deleted one.
    SDL_LockAudio();
    delete globalQueue;
    globalQueue = nullptr;
    globalAudio = nullptr;
    SDL_UnlockAudio();
}

void Audio::start() {
    globalAudio = nullptr;
    SDL_AudioSpec desired;
    memset(&desired, 0, sizeof desired);
    desired.freq = kRate;
    desired.format = kFormat;
    desired.channels = kChannels;
    desired.samples = kBufferFrames;
    desired.callback = fillAudio;
    desired.userdata = nullptr;
    if (SDL_OpenAudio(&desired, &obtained) < 0) {
        reportCannotOpen();
        return;
    }
    silenceByte = obtained.silence;
    globalQueue = new PlayingQueue();
    globalAudio = this;
    opened = true;
    SDL_CloseAudio();  // asleep until a sound plays
}

void Audio::wake() {
    if (!opened || awake || wakeFailed)
        return;
    // Asked for exactly the granted format, with no room for another: SDL converts if the
    // device changed meanwhile, so the clips converted to `obtained` stay right.
    SDL_AudioSpec again = obtained;
    again.callback = fillAudio;
    again.userdata = nullptr;
    if (SDL_OpenAudio(&again, nullptr) < 0) {
        reportCannotOpen();
        wakeFailed = true;
        return;
    }
    awake = true;
    SDL_PauseAudio(0);
}

void fillAudio(void*, Uint8* stream, int len) {
    // SDL2 hands the callback an uninitialised buffer.
    memset(stream, silenceByte, static_cast<size_t>(len));
    if (globalQueue)
        globalQueue->getBytes(len, reinterpret_cast<char*>(stream));
}
