#include "Gates.h"

#include <cstdlib>

#include "Random.h"

Gates::Gates() : opening(false) {
    frameCount = kFrames;
}

Gates::~Gates() = default;

void Gates::init(gnImage* image, int32_t x, int32_t y, int32_t w, int32_t h) {
    for (int32_t i = 0; i < frameCount; ++i) {
        frames[i].image = image;
        rectManip::init(frames[i].rect, x + i * w, y, static_cast<uint32_t>(w),
                        static_cast<uint32_t>(h));
    }
    updateOldPos();
}

void Gates::act() {
    if (gameRandom().next() % kTurnChance == 0)
        opening = !opening;
    if (opening) {
        if (currentFrame < frameCount - 1)
            ++currentFrame;
    } else if (currentFrame > 0) {
        --currentFrame;
    }
}
