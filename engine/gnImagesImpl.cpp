#include "gnImagesImpl.h"

#include <cstdio>
#include <cstring>

#include "gnExceptions.h"
#include "port/gnPort.h"

gnImagePool* globalPool = nullptr;

gnImagePool::gnImagePool() : slots{} {}

gnImagePool::~gnImagePool() {
    for (Slot& slot : slots) {
        if (!slot.surface)
            continue;
        printf("File named %s not freed. References: %ld\n", slot.fileName ? slot.fileName : "",
               static_cast<long>(slot.references));
        while (slot.surface)
            freeSurface(slot.surface);
    }
}

SDL_Surface* gnImagePool::loadBMP(const char* fileName) {
    Slot* firstFree = nullptr;
    for (Slot& slot : slots) {
        if (slot.surface && strcmp(slot.fileName, fileName) == 0) {
            ++slot.references;
            return slot.surface;
        }
        if (!slot.surface && !firstFree)
            firstFree = &slot;
    }
    if (!firstFree)
        gnE::gnRaiseGeneric("IMAGEPOOL",
                            "No more imageslots available for a new image in gnImagePool!");
    SDL_Surface* loaded = gnPort::loadBMP(fileName);
    if (!loaded)
        gnE::gnRaiseGeneric("FileLoad", SDL_GetError());
    const size_t length = strlen(fileName);
    firstFree->fileName = new char[length + 1];
    memcpy(firstFree->fileName, fileName, length + 1);
    firstFree->references = 1;
    firstFree->surface = loaded;
    return loaded;
}

void gnImagePool::freeSurface(SDL_Surface* s) {
    if (!s)
        gnE::gnRaiseBug("Trying to free NULL surface in gnImagePool!");
    for (Slot& slot : slots) {
        if (slot.surface != s)
            continue;
        if (slot.references > 1) {
            --slot.references;
            return;
        }
        delete[] slot.fileName;
        slot.fileName = nullptr;
        SDL_FreeSurface(slot.surface);
        slot.surface = nullptr;
        return;
    }
    gnE::gnRaiseBug("Trying to free unallocated surface in gnImagePool!");
}

int32_t gnImagePool::referencesOf(const SDL_Surface* s) const {
    for (const Slot& slot : slots)
        if (s && slot.surface == s)
            return slot.references;
    return 0;
}
