#include "gnAbsSprite.h"

gnAbsSprite::gnAbsSprite() : screen(nullptr), oldPos(pointManip::zeroPoint), pos(oldPos) {}

gnAbsSprite::~gnAbsSprite() = default;

void gnAbsSprite::assignState(gnAbsSprite* other) {
    pos = other->pos;
    oldPos = other->oldPos;
}

void gnAbsSprite::setScreen(gnScreen* s) {
    screen = s;
}
