#include "gnAnimationSprite.h"

#include "gnScreen.h"

gnAnimationSprite::gnAnimationSprite()
    : background(nullptr), frames(nullptr), opened(false), frameCount(0), currentFrame(0) {}

gnAnimationSprite::~gnAnimationSprite() {
    // Not through isOpen(): a destructor must not raise.
    if (frames && opened)
        delete[] frames;
}

void gnAnimationSprite::show() {
    frames[currentFrame].displayCentered(pos);
}

void gnAnimationSprite::act() {
    if (++currentFrame >= frameCount)
        currentFrame = 0;
}

void gnAnimationSprite::erase() {
    if (!screen)
        gnE::gnRaiseBug("No screen assigned in gnAnimationSprite::erase!");
    if (!frames || !background)
        return;
    screen->beginUpdate();
    erase(oldPos);
    erase(pos);
    screen->endUpdate();
}

void gnAnimationSprite::open() {
    if (isOpen())
        gnE::gnRaiseBug("Animation sprite is already open in gnAnimationSprite::open()!");
    frames = gnNewFrames(frameCount);
    if (!frames)
        gnE::gnRaiseGeneric("MEMORY", "Out of memory!");
    opened = true;
}

void gnAnimationSprite::close() {
    if (!isOpen())
        gnE::gnRaiseBug("Animation sprite has not been opened in gnAnimationSprite::close()!");
    delete[] frames;
    frames = nullptr;
    opened = false;
}

void gnAnimationSprite::erase(const pt& at) {
    if (!frames || !background)
        return;
    gnRectangle area = centredArea(at);
    background->showRect(area);
}

bool gnAnimationSprite::isOpen() const {
    if (frames && !opened)
        gnE::gnRaiseBug(
            "Animation sprite has not been opened correctly in gnAnimationSprite::isOpen()!");
    return frames != nullptr;
}

gnRectangle gnAnimationSprite::centredArea(const pt& at) const {
    const gnRectangle& rect = frames[currentFrame].rect;
    const pt corner = centredCorner(at);
    gnRectangle area;
    rectManip::init(area, corner.x, corner.y, rect.w, rect.h);
    return area;
}

pt gnAnimationSprite::centredCorner(const pt& at) const {
    const gnRectangle& rect = frames[currentFrame].rect;
    return pointManip::centredCorner(at, rect.w, rect.h);
}
