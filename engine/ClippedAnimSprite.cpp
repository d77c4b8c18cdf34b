#include "ClippedAnimSprite.h"

ClippedAnimSprite::ClippedAnimSprite() : clip(rectManip::zeroRect) {}

void ClippedAnimSprite::show() {
    if (!frames)
        return;  // a closed sprite shows nothing
    const gnImageFrame& frame = frames[currentFrame];
    if (!frame.image)
        gnE::gnRaiseBug("pointer image is NULL in gnImageFrame::displayCentered");
    pt dst = centredCorner(pos);
    gnRectangle src = frame.rect;
    int32_t w = static_cast<int32_t>(src.w);  // signed: the cuts may leave nothing or less
    int32_t h = static_cast<int32_t>(src.h);
    if (dst.y < clip.y) {
        const int32_t d = clip.y - dst.y;
        h -= d;
        src.y += d;
        dst.y = clip.y;
    }
    if (dst.y + h > rectManip::maxY(clip))
        h = rectManip::maxY(clip) - dst.y;
    if (dst.x < clip.x) {
        const int32_t d = clip.x - dst.x;
        w -= d;
        src.x += d;
        dst.x = clip.x;
    }
    if (dst.x + w > rectManip::maxX(clip))
        w = rectManip::maxX(clip) - dst.x;
    if (w <= 0 || h <= 0)
        return;
    src.w = static_cast<uint32_t>(w);
    src.h = static_cast<uint32_t>(h);
    frame.image->display(src, dst);
}

void ClippedAnimSprite::erase() {
    gnAnimationSprite::erase();
}

void ClippedAnimSprite::erase(const pt& at) {
    if (!frames || !background)
        return;
    gnRectangle area = centredArea(at);
    rectManip::intersect(area, clip);
    if (!rectManip::isEmpty(area))
        background->showRect(area);
}
