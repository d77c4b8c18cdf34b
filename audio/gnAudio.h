// The audio device and its mixing queue. Audio opens the device once in a fixed format;
// PlayingQueue holds one Playing per sounding clip; fillAudio, SDL's callback on the audio
// thread, mixes a slice of every queued sound into each buffer and drops the ended ones.
// The queue is shared with the audio thread and guarded by SDL's audio lock.
#pragma once

#include <SDL.h>

// The audio layer's exception, thrown by value. The message begins with class and operation.
class Error {
  public:
    explicit Error(const char* message) : message(message) {}
    virtual ~Error() = default;

    const char* message;  // a string literal, never freed
};

// One sounding instance of a clip, handed to the mixer slice by slice.
class Playing {
  public:
    // data belongs to the clip, which keeps it unchanged while this is queued.
    Playing(char* data, int length, bool repeat);
    virtual ~Playing();

    int bytesLeft() const { return length - position; }
    // Points out at the next slice of at most want bytes and returns its size; a repeating
    // playing starts over after its last byte. out is not written when nothing is left.
    int getBytes(int want, char** out);

    int length;    // bytes of clip data
    int position;  // bytes already handed out
    char* data;    // not owned
    bool repeat;
};

// Up to 20 sounds playing at once, in playing order. Owns its Playing records.
class PlayingQueue {
  public:
    static constexpr int kCapacity = 20;
    static constexpr int kVolume = 8;  // of SDL_MIX_MAXVOLUME (128): one sixteenth

    PlayingQueue();
    virtual ~PlayingQueue();  // deletes every queued sound, under the audio lock

    int count() const { return itemCount; }  // without the lock: may be out of date at once
    Playing* item(int i);
    // Appends under the audio lock and takes ownership; a full queue raises and keeps nothing.
    void add(Playing* p);
    // Deletes, under the audio lock, every playing over these bytes, keeping the order of the
    // others: a clip calls it before its bytes are freed or converted anew.
    void removePlayingsOf(const char* data);
    // The mixing pass: adds a slice of every sound to stream and removes the ended ones,
    // keeping the order of the others. Runs on the audio thread, under the audio lock.
    void getBytes(int len, char* stream);

    Playing** items;
    int capacity;
    int itemCount;
};

// The sound device in 22050 Hz, signed 16-bit, stereo, 64-frame buffers. It sleeps until
// the first sound plays: SDL's audio thread would otherwise wake hundreds of times a second
// to mix an empty queue (pausing the device does not stop it), the most of an idle game's
// work.
class Audio {
  public:
    Audio();
    // Pauses the device, deletes the queue with every sound in it and clears the globals.
    virtual ~Audio();

    // Opens the device to learn its format, sets the globals and lets the device sleep; when
    // it cannot open, prints "Couldn't open audio: ..." on standard output and standard error
    // and stays silent.
    void start();
    // Opens the sleeping device again, in the format it granted at the start, and starts the
    // callback; a failure is the same line once, and the sounds stay silent. Call it without
    // holding the audio lock.
    void wake();

    bool opened;
    SDL_AudioSpec obtained;  // the format granted; clips are converted to it
    bool awake;              // the device is open and its callback runs
    bool wakeFailed;         // it could not be opened again: not tried any more
};

// SDL's audio callback: silence, then every queued sound mixed in.
void fillAudio(void* userdata, Uint8* stream, int len);

extern Audio* globalAudio;         // the open device; null without one
extern PlayingQueue* globalQueue;  // its queue, owned by globalAudio; null without one
