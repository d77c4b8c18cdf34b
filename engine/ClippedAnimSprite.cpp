#include "ClippedAnimSprite.h"

namespace {

// Cuts one axis of a frame to the clip's [low, high): the destination start, the source start
// and the (signed) extent move together.
void clipAxis(int32_t& dst, int32_t& src, int32_t& extent, int32_t low, int32_t high) {
    if (dst < low) {
        const int32_t cut = low - dst;
        extent -= cut;
        src += cut;
        dst = low;
    }
    if (dst + extent > high)
        extent = high - dst;
}

}  // namespace

ClippedAnimSprite::ClippedAnimSprite() : clip(rectManip::zeroRect) {}

void ClippedAnimSprite::show() {
    if (!frames)
        return;  // a closed sprite shows nothing
    const gnImageFrame& frame = frames[currentFrame];
    if (!frame.image)
        gnE::gnRaiseBug("pointer image is NULL in ClippedAnimSprite::show");
    pt dst = centredCorner(pos);
    gnRectangle src = frame.rect;
    int32_t w = static_cast<int32_t>(src.w);  // signed: the cuts may leave nothing or less
    int32_t h = static_cast<int32_t>(src.h);
    clipAxis(dst.y, src.y, h, clip.y, rectManip::maxY(clip));  // top and bottom first
    clipAxis(dst.x, src.x, w, clip.x, rectManip::maxX(clip));
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
