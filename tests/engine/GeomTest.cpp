// The rectangle rules that batching, clipping and the hit test depend on.
#include <gtest/gtest.h>

#include <string>

#include "gnGeomUtil.h"

namespace {

// "x y wxh": a swapped width and height shows.
std::string text(const gnRectangle& r) {
    return std::to_string(r.x) + " " + std::to_string(r.y) + " " + std::to_string(r.w) + "x" +
           std::to_string(r.h);
}

}  // namespace

TEST(Rectangle, EdgesContainmentAndEmptiness) {
    const gnRectangle r = gnRect(10, 0, 5, 7);
    EXPECT_EQ(rectManip::midX(r), 12);
    EXPECT_EQ(rectManip::midY(r), 3);
    EXPECT_EQ(rectManip::maxX(r), 15);
    EXPECT_EQ(rectManip::maxY(r), 7);
    for (const auto& [p, inside] : {std::pair{pt{14, 6}, true},
                                    {pt{10, 0}, true},
                                    {pt{15, 0}, false},
                                    {pt{10, 7}, false},
                                    {pt{9, 0}, false}})
        EXPECT_EQ(rectManip::containsPoint(r, p), inside) << p.x << "," << p.y;
    const gnRectangle flat = gnRect(0, 0, 0, 7);
    EXPECT_TRUE(rectManip::isEmpty(flat));
    EXPECT_TRUE(rectManip::isEmpty(gnRect(3, 3, 7, 0)));
    EXPECT_FALSE(rectManip::containsPoint(flat, pt{0, 0}));
    EXPECT_FALSE(rectManip::containsRect(gnRect(0, 0, 100, 100), flat));
    EXPECT_TRUE(rectManip::containsRect(gnRect(-10, -10, 20, 20), gnRect(-5, 0, 15, 10)));
    EXPECT_FALSE(rectManip::containsRect(gnRect(-10, -10, 20, 20), gnRect(-5, 0, 16, 10)));
    EXPECT_FALSE(rectManip::containsRect(gnRect(0, 0, 20, 20), gnRect(-1, 0, 5, 5)));
    // Two empty rectangles are equal wherever they lie.
    EXPECT_TRUE(rectManip::isEqual(gnRect(5, 5, 0, 3), gnRect(-40, 9, 8, 0)));
    EXPECT_FALSE(rectManip::isEqual(gnRect(0, 0, 0, 0), gnRect(0, 0, 1, 1)));
    EXPECT_FALSE(rectManip::isEqual(gnRect(1, 2, 3, 4), gnRect(1, 2, 4, 3)));
}

TEST(Rectangle, IntersectionAndUnion) {
    const struct {
        gnRectangle a, b;
        const char *intersection, *unionRect;
    } cases[] = {
        {gnRect(0, 0, 10, 10), gnRect(10, 0, 10, 10), "10 0 0x0", "0 0 20x10"},  // touching
        {gnRect(0, 0, 10, 10), gnRect(5, 5, 10, 10), "5 5 5x5", "0 0 15x15"},
        {gnRect(0, 0, 10, 10), gnRect(2, 30, 4, 4), "2 30 0x0", "0 0 10x34"},
        {gnRect(0, 0, 10, 10), gnRect(9, 9, 4, 4), "9 9 1x1", "0 0 13x13"},  // one pixel shared
        {gnRect(-20, -20, 10, 10), gnRect(-15, -25, 10, 10), "-15 -20 5x5", "-20 -25 15x15"},
        {gnRect(3, 4, 0, 10), gnRect(0, 0, 10, 10), "0 0 0x0", "0 0 0x0"},  // an empty operand
        {gnRect(7, 7, 5, 0), gnRect(0, 0, 10, 10), "0 0 0x0", "0 0 0x0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text(rectManip::intersection(c.a, c.b)), c.intersection) << text(c.a);
        EXPECT_EQ(text(rectManip::unionRect(c.a, c.b)), c.unionRect) << text(c.a);
        gnRectangle r = c.a;
        rectManip::intersect(r, c.b);
        EXPECT_EQ(text(r), c.intersection);
        r = c.a;
        rectManip::unite(r, c.b);
        EXPECT_EQ(text(r), c.unionRect);
    }
}

TEST(Rectangle, DivideFromEverySideAtAndPastTheExtent) {
    const struct {
        gnRectangle src;
        uint32_t amount;
        gnRectangleEdge edge;
        const char *slice, *rest;
    } cases[] = {
        {gnRect(0, 0, 100, 50), 30, gnRightEdge, "70 0 30x50", "0 0 70x50"},
        {gnRect(0, 0, 100, 50), 30, gnLeftEdge, "0 0 30x50", "30 0 70x50"},
        {gnRect(0, 0, 100, 50), 20, gnTopEdge, "0 0 100x20", "0 20 100x30"},
        {gnRect(0, 0, 100, 50), 20, gnBottomEdge, "0 30 100x20", "0 0 100x30"},
        {gnRect(0, 0, 100, 50), 130, gnRightEdge, "0 0 100x50", "0 0 0x0"},
        {gnRect(0, 0, 100, 50), 60, gnBottomEdge, "0 0 100x50", "0 0 0x0"},  // past the height
        {gnRect(0, 0, 100, 50), 100, gnLeftEdge, "0 0 100x50", "100 0 0x50"},
        {gnRect(0, 0, 100, 50), 50, gnBottomEdge, "0 0 100x50", "0 0 100x0"},
        {gnRect(0, 0, 100, 50), 10, static_cast<gnRectangleEdge>(4), "0 0 0x0", "0 0 0x0"},
        {gnRect(5, 5, 0, 50), 10, gnLeftEdge, "0 0 0x0", "0 0 0x0"},
    };
    for (const auto& c : cases) {
        gnRectangle slice = gnRect(1, 1, 1, 1), rest = gnRect(1, 1, 1, 1);
        rectManip::divideRect(c.src, slice, rest, c.amount, c.edge);
        EXPECT_EQ(text(slice), c.slice) << c.amount << " from edge " << c.edge;
        EXPECT_EQ(text(rest), c.rest) << c.amount << " from edge " << c.edge;
    }
}

TEST(Rectangle, ExpandMoveAndThePointAndSizeHelpers) {
    EXPECT_EQ(text(rectManip::expandRect(gnRect(160, 40, 440, 440), 10, 10)), "150 30 460x460");
    EXPECT_EQ(text(rectManip::expandRect(gnRect(10, 10, 20, 20), -5, 0)), "15 10 10x20");
    gnRectangle r = gnRect(1, 2, 3, 4);
    rectManip::moveRect(r, -11, 8);
    EXPECT_EQ(text(r), "-10 10 3x4");
    pt p;
    pointManip::init(p, 3, -4);
    pointManip::movePoint(p, 10, 10);
    EXPECT_TRUE(pointManip::isEqual(p, pt{13, 6}));
    const pt corner = pointManip::centredCorner(pt{100, 50}, 19, 17);  // halves rounded down
    EXPECT_TRUE(pointManip::isEqual(corner, pt{91, 42}));
    sz s;
    sizeManip::init(s, 0, 5);
    EXPECT_FALSE(sizeManip::isEmpty(s));  // unlike a rectangle of that size
    EXPECT_TRUE(sizeManip::isEmpty(sizeManip::zeroSize));
    EXPECT_FALSE(sizeManip::isEqual(s, sz{5, 0}));
}
