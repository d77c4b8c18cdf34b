// The rectangle rules that batching, clipping and the hit test depend on.
#include <gtest/gtest.h>

#include "gnGeomUtil.h"

namespace {

gnRectangle rect(int32_t x, int32_t y, uint32_t w, uint32_t h) {
    gnRectangle r;
    rectManip::init(r, x, y, w, h);
    return r;
}

// Field by field, so that a swapped width and height shows.
void expectRect(const gnRectangle& r, int32_t x, int32_t y, uint32_t w, uint32_t h) {
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.w, w);
    EXPECT_EQ(r.h, h);
}

}  // namespace

TEST(Rectangle, FieldsAreDeclaredXYHeightWidth) {
    const gnRectangle r = rect(1, 2, 30, 40);
    const uint32_t* fields = reinterpret_cast<const uint32_t*>(&r);
    EXPECT_EQ(fields[2], 40u);  // height before width
    EXPECT_EQ(fields[3], 30u);
    EXPECT_EQ(sizeof(gnRectangle), 16u);
}

TEST(Rectangle, MidAndMaxRoundHalvesDown) {
    const gnRectangle r = rect(10, 0, 5, 7);
    EXPECT_EQ(rectManip::midX(r), 12);
    EXPECT_EQ(rectManip::midY(r), 3);
    EXPECT_EQ(rectManip::maxX(r), 15);
    EXPECT_EQ(rectManip::maxY(r), 7);
    EXPECT_EQ(rectManip::minX(r), 10);
    EXPECT_EQ(rectManip::position(r).x, 10);
    EXPECT_TRUE(rectManip::containsPoint(r, pt{14, 6}));
    EXPECT_FALSE(rectManip::containsPoint(r, pt{15, 0}));
    EXPECT_FALSE(rectManip::containsPoint(r, pt{10, 7}));
    EXPECT_TRUE(rectManip::containsPoint(r, pt{10, 0}));
    EXPECT_FALSE(rectManip::containsPoint(r, pt{9, 0}));
}

TEST(Rectangle, EmptyWhenEitherExtentIsZero) {
    const gnRectangle flat = rect(0, 0, 0, 7);
    EXPECT_TRUE(rectManip::isEmpty(flat));
    EXPECT_TRUE(rectManip::isEmpty(rect(3, 3, 7, 0)));
    EXPECT_FALSE(rectManip::containsPoint(flat, pt{0, 0}));
    EXPECT_FALSE(rectManip::containsRect(flat, rect(0, 0, 1, 1)));
    EXPECT_FALSE(rectManip::containsRect(rect(0, 0, 100, 100), flat));
}

TEST(Rectangle, EmptyRectanglesAreEqualWhereverTheyLie) {
    EXPECT_TRUE(rectManip::isEqual(rect(5, 5, 0, 3), rect(-40, 9, 8, 0)));
    EXPECT_FALSE(rectManip::isEqual(rect(0, 0, 0, 0), rect(0, 0, 1, 1)));
    EXPECT_TRUE(rectManip::isEqual(rect(1, 2, 3, 4), rect(1, 2, 3, 4)));
    EXPECT_FALSE(rectManip::isEqual(rect(1, 2, 3, 4), rect(1, 2, 4, 3)));
}

TEST(Rectangle, ContainsRectUsesSignedEdges) {
    EXPECT_TRUE(rectManip::containsRect(rect(-10, -10, 20, 20), rect(-10, -10, 20, 20)));
    EXPECT_TRUE(rectManip::containsRect(rect(-10, -10, 20, 20), rect(-5, 0, 15, 10)));
    EXPECT_FALSE(rectManip::containsRect(rect(-10, -10, 20, 20), rect(-5, 0, 16, 10)));
    EXPECT_FALSE(rectManip::containsRect(rect(0, 0, 20, 20), rect(-1, 0, 5, 5)));
}

TEST(Rectangle, TouchingRectanglesDoNotIntersectAndKeepTheCorner) {
    expectRect(rectManip::intersection(rect(0, 0, 10, 10), rect(10, 0, 10, 10)), 10, 0, 0, 0);
    expectRect(rectManip::intersection(rect(0, 0, 10, 10), rect(5, 5, 10, 10)), 5, 5, 5, 5);
    // Overlapping columns but rows apart: the position is still (L, T).
    expectRect(rectManip::intersection(rect(0, 0, 10, 10), rect(2, 30, 4, 4)), 2, 30, 0, 0);
    expectRect(rectManip::intersection(rect(-20, -20, 10, 10), rect(-15, -25, 10, 10)), -15, -20, 5,
               5);
}

TEST(Rectangle, IntersectionWithAnEmptyOperandIsTheZeroRectangle) {
    expectRect(rectManip::intersection(rect(3, 4, 0, 10), rect(0, 0, 10, 10)), 0, 0, 0, 0);
    gnRectangle r = rect(0, 0, 10, 10);
    rectManip::intersect(r, rect(5, 5, 10, 0));
    expectRect(r, 0, 0, 0, 0);
    r = rect(0, 0, 10, 10);
    rectManip::intersect(r, rect(5, 5, 10, 10));
    expectRect(r, 5, 5, 5, 5);
}

TEST(Rectangle, UnionIsTheBoundingRectangleOrZero) {
    expectRect(rectManip::unionRect(rect(0, 0, 10, 10), rect(20, 30, 5, 5)), 0, 0, 25, 35);
    expectRect(rectManip::unionRect(rect(-5, 10, 10, 10), rect(0, -3, 1, 1)), -5, -3, 10, 23);
    expectRect(rectManip::unionRect(rect(0, 0, 10, 10), rect(100, 100, 0, 5)), 0, 0, 0, 0);
    expectRect(rectManip::unionRect(rect(7, 7, 5, 0), rect(0, 0, 10, 10)), 0, 0, 0, 0);
    gnRectangle r = rect(50, 50, 10, 10);
    rectManip::unite(r, rect(1, 1, 0, 0));
    expectRect(r, 0, 0, 0, 0);
    r = rect(0, 0, 10, 10);
    rectManip::unite(r, rect(20, 30, 5, 5));
    expectRect(r, 0, 0, 25, 35);
}

TEST(Rectangle, DivideFromEverySide) {
    const gnRectangle src = rect(0, 0, 100, 50);
    gnRectangle slice, rest;
    rectManip::divideRect(src, slice, rest, 30, gnRightEdge);
    expectRect(slice, 70, 0, 30, 50);
    expectRect(rest, 0, 0, 70, 50);
    rectManip::divideRect(src, slice, rest, 30, gnLeftEdge);
    expectRect(slice, 0, 0, 30, 50);
    expectRect(rest, 30, 0, 70, 50);
    rectManip::divideRect(src, slice, rest, 20, gnTopEdge);
    expectRect(slice, 0, 0, 100, 20);
    expectRect(rest, 0, 20, 100, 30);
    rectManip::divideRect(src, slice, rest, 20, gnBottomEdge);
    expectRect(slice, 0, 30, 100, 20);
    expectRect(rest, 0, 0, 100, 30);
}

TEST(Rectangle, DivideAtAndPastTheExtent) {
    const gnRectangle src = rect(0, 0, 100, 50);
    gnRectangle slice, rest;
    rectManip::divideRect(src, slice, rest, 130, gnRightEdge);
    expectRect(slice, 0, 0, 100, 50);
    expectRect(rest, 0, 0, 0, 0);
    // The top and bottom compare with the height: 60 is past it though below the width.
    rectManip::divideRect(src, slice, rest, 60, gnBottomEdge);
    expectRect(slice, 0, 0, 100, 50);
    expectRect(rest, 0, 0, 0, 0);
    // Equal to the extent: the empty rest keeps its computed position.
    rectManip::divideRect(src, slice, rest, 100, gnLeftEdge);
    expectRect(slice, 0, 0, 100, 50);
    expectRect(rest, 100, 0, 0, 50);
    rectManip::divideRect(src, slice, rest, 50, gnBottomEdge);
    expectRect(slice, 0, 0, 100, 50);
    expectRect(rest, 0, 0, 100, 0);
}

TEST(Rectangle, DivideWithAnUnknownEdgeOrEmptySourceGivesZeros) {
    gnRectangle slice = rect(1, 1, 1, 1);
    gnRectangle rest = rect(1, 1, 1, 1);
    rectManip::divideRect(rect(0, 0, 100, 50), slice, rest, 10, static_cast<gnRectangleEdge>(4));
    expectRect(slice, 0, 0, 0, 0);
    expectRect(rest, 0, 0, 0, 0);
    slice = rect(1, 1, 1, 1);
    rectManip::divideRect(rect(5, 5, 0, 50), slice, rest, 10, gnLeftEdge);
    expectRect(slice, 0, 0, 0, 0);
}

TEST(Rectangle, ExpandAndMove) {
    expectRect(rectManip::expandRect(rect(160, 40, 440, 440), 10, 10), 150, 30, 460, 460);
    expectRect(rectManip::expandRect(rect(10, 10, 20, 20), -5, 0), 15, 10, 10, 20);
    gnRectangle r = rect(1, 2, 3, 4);
    rectManip::moveRect(r, -11, 8);
    expectRect(r, -10, 10, 3, 4);
}

TEST(PointAndSize, Helpers) {
    pt p;
    pointManip::init(p, 3, -4);
    pointManip::movePoint(p, 10, 10);
    EXPECT_TRUE(pointManip::isEqual(p, pt{13, 6}));
    EXPECT_FALSE(pointManip::isEqual(p, pointManip::zeroPoint));
    sz s;
    sizeManip::init(s, 0, 5);
    EXPECT_FALSE(sizeManip::isEmpty(s));
    EXPECT_TRUE(sizeManip::isEmpty(sizeManip::zeroSize));
    EXPECT_TRUE(sizeManip::isEqual(s, sz{0, 5}));
    EXPECT_FALSE(sizeManip::isEqual(s, sz{5, 0}));
}
