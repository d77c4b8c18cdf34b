#include "gnGeomUtil.h"

namespace {

// 32-bit sums that wrap instead of overflowing.
int32_t add(int32_t a, uint32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + b);
}
int32_t add(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int32_t sub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
int32_t lastColumn(const gnRectangle& r) {
    return add(r.x, r.w - 1);
}
int32_t lastRow(const gnRectangle& r) {
    return add(r.y, r.h - 1);
}
int32_t larger(int32_t a, int32_t b) {
    return a > b ? a : b;
}
int32_t smaller(int32_t a, int32_t b) {
    return a < b ? a : b;
}

}  // namespace

const gnRectangle rectManip::zeroRect = {0, 0, 0, 0};
const pt pointManip::zeroPoint = {0, 0};
const sz sizeManip::zeroSize = {0, 0};

void rectManip::init(gnRectangle& r, int32_t x, int32_t y, uint32_t w, uint32_t h) {
    r.x = x;
    r.y = y;
    r.w = w;
    r.h = h;
}

int32_t rectManip::midX(const gnRectangle& r) {
    return add(r.x, r.w / 2);
}
int32_t rectManip::midY(const gnRectangle& r) {
    return add(r.y, r.h / 2);
}
int32_t rectManip::maxX(const gnRectangle& r) {
    return add(r.x, r.w);
}
int32_t rectManip::maxY(const gnRectangle& r) {
    return add(r.y, r.h);
}

pt rectManip::position(const gnRectangle& r) {
    return pt{r.x, r.y};
}

gnRectangle rectManip::expandRect(const gnRectangle& r, int32_t dx, int32_t dy) {
    gnRectangle result;
    init(result, sub(r.x, dx), sub(r.y, dy), r.w + 2u * static_cast<uint32_t>(dx),
         r.h + 2u * static_cast<uint32_t>(dy));
    return result;
}

void rectManip::moveRect(gnRectangle& r, int32_t dx, int32_t dy) {
    r.x = add(r.x, dx);
    r.y = add(r.y, dy);
}

gnRectangle rectManip::intersection(const gnRectangle& a, const gnRectangle& b) {
    if (isEmpty(a) || isEmpty(b))
        return zeroRect;
    const int32_t left = larger(a.x, b.x);
    const int32_t top = larger(a.y, b.y);
    gnRectangle result;
    init(result, left, top, 0, 0);
    const int32_t right = smaller(lastColumn(a), lastColumn(b));
    if (right < left)
        return result;
    const int32_t bottom = smaller(lastRow(a), lastRow(b));
    if (bottom < top)
        return result;
    result.w = static_cast<uint32_t>(sub(right, left)) + 1;
    result.h = static_cast<uint32_t>(sub(bottom, top)) + 1;
    return result;
}

void rectManip::intersect(gnRectangle& r, const gnRectangle& other) {
    r = intersection(r, other);
}

gnRectangle rectManip::unionRect(const gnRectangle& a, const gnRectangle& b) {
    if (isEmpty(a) || isEmpty(b))
        return zeroRect;
    const int32_t left = smaller(a.x, b.x);
    const int32_t top = smaller(a.y, b.y);
    const int32_t right = larger(maxX(a), maxX(b));
    const int32_t bottom = larger(maxY(a), maxY(b));
    gnRectangle result;
    init(result, left, top, static_cast<uint32_t>(sub(right, left)),
         static_cast<uint32_t>(sub(bottom, top)));
    return result;
}

void rectManip::unite(gnRectangle& r, const gnRectangle& other) {
    r = unionRect(r, other);
}

void rectManip::divideRect(const gnRectangle& src, gnRectangle& slice, gnRectangle& rest,
                           uint32_t amount, gnRectangleEdge edge) {
    const bool known =
        edge == gnLeftEdge || edge == gnTopEdge || edge == gnRightEdge || edge == gnBottomEdge;
    if (isEmpty(src) || !known) {
        slice = zeroRect;
        rest = zeroRect;
        return;
    }
    const bool horizontal = edge == gnLeftEdge || edge == gnRightEdge;
    if (amount > (horizontal ? src.w : src.h)) {
        slice = src;
        rest = zeroRect;
        return;
    }
    switch (edge) {
        case gnLeftEdge:
            init(slice, src.x, src.y, amount, src.h);
            init(rest, add(src.x, amount), src.y, src.w - amount, src.h);
            break;
        case gnTopEdge:
            init(slice, src.x, src.y, src.w, amount);
            init(rest, src.x, add(src.y, amount), src.w, src.h - amount);
            break;
        case gnRightEdge:
            init(slice, sub(maxX(src), static_cast<int32_t>(amount)), src.y, amount, src.h);
            init(rest, src.x, src.y, src.w - amount, src.h);
            break;
        case gnBottomEdge:
            init(slice, src.x, sub(maxY(src), static_cast<int32_t>(amount)), src.w, amount);
            init(rest, src.x, src.y, src.w, src.h - amount);
            break;
    }
}

bool rectManip::isEqual(const gnRectangle& a, const gnRectangle& b) {
    if (isEmpty(a) && isEmpty(b))
        return true;
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

bool rectManip::containsPoint(const gnRectangle& r, const pt& p) {
    if (isEmpty(r))
        return false;
    return r.x <= p.x && p.x < maxX(r) && r.y <= p.y && p.y < maxY(r);
}

bool rectManip::containsRect(const gnRectangle& outer, const gnRectangle& inner) {
    if (isEmpty(outer) || isEmpty(inner))
        return false;
    return outer.x <= inner.x && outer.y <= inner.y && maxX(outer) >= maxX(inner) &&
           maxY(outer) >= maxY(inner);
}

void pointManip::init(pt& p, int32_t x, int32_t y) {
    p.x = x;
    p.y = y;
}

void pointManip::movePoint(pt& p, int32_t dx, int32_t dy) {
    p.x = add(p.x, dx);
    p.y = add(p.y, dy);
}

void sizeManip::init(sz& s, uint32_t w, uint32_t h) {
    s.w = w;
    s.h = h;
}
