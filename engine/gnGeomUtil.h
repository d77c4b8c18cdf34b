// Points, sizes and rectangles, and the static helpers that are the only way to handle them.
// The screen's update batching, clipped sprites and the button hit test rely on the exact
// rules here, above all on how empty rectangles behave.
#pragma once

#include <cstdint>

// A point in screen or picture pixels; origin top left, y grows downwards.
struct pt {
    int32_t x;
    int32_t y;
};

// A size in pixels.
struct sz {
    uint32_t w;
    uint32_t h;
};

// Covers columns x to x + w - 1 and rows y to y + h - 1; empty when w or h is 0.
// Height is declared before width.
struct gnRectangle {
    int32_t x;
    int32_t y;
    uint32_t h;
    uint32_t w;
};

// A rectangle by its corner, width and height, in that order (the record keeps the height
// before the width).
constexpr gnRectangle gnRect(int32_t x, int32_t y, uint32_t width, uint32_t height) {
    return gnRectangle{x, y, height, width};
}

// The side from which divideRect cuts its slice. Any other value makes both outputs zero.
enum gnRectangleEdge : int32_t {
    gnLeftEdge = 0,
    gnTopEdge = 1,
    gnRightEdge = 2,
    gnBottomEdge = 3,
};

// Arithmetic is 32-bit and wraps like the hardware does; nothing checks for overflow.
class rectManip {
  public:
    static const gnRectangle zeroRect;

    static void init(gnRectangle& r, int32_t x, int32_t y, uint32_t w, uint32_t h);
    static int32_t minX(const gnRectangle& r) { return r.x; }
    static int32_t minY(const gnRectangle& r) { return r.y; }
    static int32_t midX(const gnRectangle& r);  // x + w / 2, half rounded down
    static int32_t midY(const gnRectangle& r);
    static int32_t maxX(const gnRectangle& r);  // first column outside
    static int32_t maxY(const gnRectangle& r);  // first row outside
    static pt position(const gnRectangle& r);
    static gnRectangle expandRect(const gnRectangle& r, int32_t dx, int32_t dy);
    static void moveRect(gnRectangle& r, int32_t dx, int32_t dy);
    static gnRectangle intersection(const gnRectangle& a, const gnRectangle& b);
    static void intersect(gnRectangle& r, const gnRectangle& other);
    // The zero rectangle when either operand is empty, not the other operand.
    static gnRectangle unionRect(const gnRectangle& a, const gnRectangle& b);
    static void unite(gnRectangle& r, const gnRectangle& other);
    static void divideRect(const gnRectangle& src, gnRectangle& slice, gnRectangle& rest,
                           uint32_t amount, gnRectangleEdge edge);
    static bool isEmpty(const gnRectangle& r) { return r.w == 0 || r.h == 0; }
    // Two empty rectangles are equal wherever they lie.
    static bool isEqual(const gnRectangle& a, const gnRectangle& b);
    static bool containsPoint(const gnRectangle& r, const pt& p);
    static bool containsRect(const gnRectangle& outer, const gnRectangle& inner);
};

class pointManip {
  public:
    static const pt zeroPoint;

    static void init(pt& p, int32_t x, int32_t y);
    static bool isEqual(const pt& a, const pt& b) { return a.x == b.x && a.y == b.y; }
    static void movePoint(pt& p, int32_t dx, int32_t dy);
    // The top left corner of a w by h area centred on `centre`; halves of odd extents are
    // rounded down, in unsigned 32-bit arithmetic as the engine has always drawn.
    static pt centredCorner(const pt& centre, uint32_t w, uint32_t h) {
        return pt{static_cast<int32_t>(static_cast<uint32_t>(centre.x) - w / 2),
                  static_cast<int32_t>(static_cast<uint32_t>(centre.y) - h / 2)};
    }
};

class sizeManip {
  public:
    static const sz zeroSize;

    static void init(sz& s, uint32_t w, uint32_t h);
    // Only 0 by 0 is empty: a size of 0 by 5 is not, unlike a rectangle of that size.
    static bool isEmpty(const sz& s) { return s.w == 0 && s.h == 0; }
    static bool isEqual(const sz& a, const sz& b) { return a.w == b.w && a.h == b.h; }
};
