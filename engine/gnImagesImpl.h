// The shared image pool: 128 surfaces shared by file name and counted by reference. One pool
// exists while the screen is open (globalPool). Images do not go through it.
#pragma once

#include <SDL.h>

#include <cstdint>

class gnImagePool {
  public:
    static constexpr int kSlotCount = 128;

    gnImagePool();
    // Prints one line per slot still in use and frees its surface anyway.
    virtual ~gnImagePool();

    // The shared surface for the file (case-sensitive name), loaded on first use.
    SDL_Surface* loadBMP(const char* fileName);
    // Drops one reference; the last one frees the surface and the slot.
    void freeSurface(SDL_Surface* s);

    // For inspection: the references of the slot holding s, 0 when none holds it.
    int32_t referencesOf(const SDL_Surface* s) const;

  private:
    struct Slot {
        SDL_Surface* surface;  // null marks a free slot
        char* fileName;        // the pool's own copy
        int32_t references;
    };
    Slot slots[kSlotCount];
};

// The pool of the open screen; null while the screen is closed.
extern gnImagePool* globalPool;
