#include "gnImageSprite.h"

#include "gnScreen.h"

gnImageSprite::gnImageSprite() : background(nullptr), frame{nullptr, rectManip::zeroRect} {}

gnImageSprite::~gnImageSprite() = default;

void gnImageSprite::setImage(gnImage* img) {
    frame.image = img;
    if (!img)
        return;
    sz size;
    img->getSize(size);
    rectManip::init(frame.rect, 0, 0, size.w, size.h);
}

void gnImageSprite::show() {
    if (!screen)
        gnE::gnRaiseBug("No screen assigned in gnImageSprite::show!");
    frame.displayCentered(pos);
}

void gnImageSprite::erase() {
    if (!screen)
        gnE::gnRaiseBug("No screen assigned in gnImageSprite::erase!");
    screen->beginUpdate();
    erase(oldPos);
    erase(pos);
    screen->endUpdate();
}

void gnImageSprite::erase(const pt& at) {
    if (!background)
        return;  // nothing to redraw from, as with the animation sprites
    const pt corner = pointManip::centredCorner(at, frame.rect.w, frame.rect.h);
    gnRectangle area = gnRect(corner.x, corner.y, frame.rect.w, frame.rect.h);
    background->showRect(area);
}
