// Rectangles at their edges and empty; error wordings, their cut, what checked execution prints.
#include <gtest/gtest.h>

#include <cstring>

#include "Files.h"
#include "gnExceptions.h"
#include "gnGeomUtil.h"

namespace {

std::string text(const gnRectangle& r) {  // "x y wxh": a swapped width and height shows
    return join(r.x, r.y, std::to_string(r.w) + "x" + std::to_string(r.h));
}
std::string text(bool b) {
    return b ? "yes" : "no";
}
std::string text(int32_t n) {
    return std::to_string(n);
}
std::string text(const pt& p) {
    return join(p.x, p.y);
}
const gnRectangle kSquare = gnRect(0, 0, 10, 10);
gnE kOld(gnE::gnGeneric, "OLD", "old message");

std::string divided(const gnRectangle& src, uint32_t amount, int edge) {
    gnRectangle slice = gnRect(1, 1, 1, 1), rest = slice;
    rectManip::divideRect(src, slice, rest, amount, static_cast<gnRectangleEdge>(edge));
    return text(slice) + " | " + text(rest);
}
std::string united(gnRectangle r, const gnRectangle& other, bool intersect) {
    intersect ? rectManip::intersect(r, other) : rectManip::unite(r, other);
    return text(r);
}

// What checked execution prints for a body.
std::string checked(void (*body)()) {
    struct Body : gnCheckedExec {
        explicit Body(void (*b)()) : body(b) {}
        void userExec(int, char**) override { body(); }
        void (*body)();
    } exec(body);
    Capture out;
    exec.checkedExec(0, nullptr);
    return out.finish();
}

}  // namespace

TEST(Rules, Rectangles) {
    const gnRectangle r = gnRect(10, 0, 5, 7);
    gnRectangle moved = gnRect(1, 2, 3, 4);
    rectManip::moveRect(moved, -11, 8);
    pt p = {3, -4};
    pointManip::movePoint(p, 10, 10);
    const std::pair<std::string, const char*> cases[] = {
        {text(rectManip::midX(r)) + " " + text(rectManip::midY(r)), "12 3"},
        {text(rectManip::maxX(r)) + " " + text(rectManip::maxY(r)), "15 7"},
        {text(rectManip::containsPoint(r, pt{14, 6})), "yes"},
        {text(rectManip::containsPoint(r, pt{10, 0})), "yes"},
        {text(rectManip::containsPoint(r, pt{15, 0})), "no"},  // the far edges lie outside
        {text(rectManip::containsPoint(r, pt{10, 7})), "no"},
        {text(rectManip::containsPoint(r, pt{9, 0})), "no"},
        {text(rectManip::containsPoint(gnRect(0, 0, 0, 7), pt{0, 0})), "no"},  // empty
        {text(rectManip::isEmpty(gnRect(3, 3, 7, 0))), "yes"},
        {text(rectManip::containsRect(gnRect(-10, -10, 20, 20), gnRect(-5, 0, 15, 10))), "yes"},
        {text(rectManip::containsRect(gnRect(-10, -10, 20, 20), gnRect(-5, 0, 16, 10))), "no"},
        {text(rectManip::containsRect(gnRect(0, 0, 20, 20), gnRect(-1, 0, 5, 5))), "no"},
        {text(rectManip::containsRect(gnRect(0, 0, 20, 20), gnRect(0, 0, 20, 21))), "no"},
        {text(rectManip::containsRect(gnRect(0, 0, 99, 99), gnRect(0, 0, 0, 7))), "no"},
        {text(rectManip::isEqual(gnRect(5, 5, 0, 3), gnRect(-40, 9, 8, 0))), "yes"},  // empty
        {text(rectManip::isEqual(gnRect(0, 0, 0, 0), gnRect(0, 0, 1, 1))), "no"},
        {text(rectManip::isEqual(gnRect(1, 2, 3, 4), gnRect(1, 2, 4, 3))), "no"},
        {text(rectManip::intersection(kSquare, gnRect(10, 0, 10, 10))), "10 0 0x0"},  // touch
        {text(rectManip::intersection(kSquare, gnRect(5, 5, 10, 10))), "5 5 5x5"},
        {text(rectManip::intersection(kSquare, gnRect(2, 30, 4, 4))), "2 30 0x0"},
        {text(rectManip::intersection(kSquare, gnRect(9, 9, 4, 4))), "9 9 1x1"},
        {text(rectManip::intersection(gnRect(-20, -20, 10, 10), gnRect(-15, -25, 10, 10))),
         "-15 -20 5x5"},
        {united(gnRect(3, 4, 0, 10), kSquare, true), "0 0 0x0"},
        {united(kSquare, gnRect(7, 7, 5, 0), true), "0 0 0x0"},
        {united(kSquare, gnRect(5, 5, 10, 10), true), "5 5 5x5"},
        {text(rectManip::unionRect(kSquare, gnRect(20, 30, 5, 5))), "0 0 25x35"},
        {text(rectManip::unionRect(gnRect(-20, -20, 10, 10), gnRect(-15, -25, 10, 10))),
         "-20 -25 15x15"},
        {united(kSquare, gnRect(9, 9, 4, 4), false), "0 0 13x13"},
        {united(kSquare, gnRect(7, 7, 5, 0), false), "0 0 0x0"},  // an empty side: all zero
        {united(gnRect(7, 7, 0, 5), kSquare, false), "0 0 0x0"},
        {divided(gnRect(0, 0, 100, 50), 30, gnRightEdge), "70 0 30x50 | 0 0 70x50"},
        {divided(gnRect(0, 0, 100, 50), 30, gnLeftEdge), "0 0 30x50 | 30 0 70x50"},
        {divided(gnRect(0, 0, 100, 50), 20, gnTopEdge), "0 0 100x20 | 0 20 100x30"},
        {divided(gnRect(0, 0, 100, 50), 20, gnBottomEdge), "0 30 100x20 | 0 0 100x30"},
        {divided(gnRect(0, 0, 100, 50), 130, gnRightEdge), "0 0 100x50 | 0 0 0x0"},
        {divided(gnRect(0, 0, 100, 50), 60, gnBottomEdge), "0 0 100x50 | 0 0 0x0"},
        {divided(gnRect(0, 0, 100, 50), 100, gnLeftEdge), "0 0 100x50 | 100 0 0x50"},
        {divided(gnRect(0, 0, 100, 50), 50, gnBottomEdge), "0 0 100x50 | 0 0 100x0"},
        {divided(gnRect(0, 0, 100, 50), 10, 4), "0 0 0x0 | 0 0 0x0"},
        {divided(gnRect(5, 5, 0, 50), 10, gnLeftEdge), "0 0 0x0 | 0 0 0x0"},
        {text(rectManip::expandRect(gnRect(160, 40, 440, 440), 10, 10)), "150 30 460x460"},
        {text(rectManip::expandRect(gnRect(10, 10, 20, 20), -5, 0)), "15 10 10x20"},
        {text(moved), "-10 10 3x4"},
        {text(p), "13 6"},
        {text(pointManip::centredCorner(pt{100, 50}, 19, 17)), "91 42"},  // halves rounded down
        {text(sizeManip::isEmpty(sz{0, 5})), "no"},  // unlike a rectangle of that size
        {text(sizeManip::isEmpty(sizeManip::zeroSize)), "yes"},
        {text(sizeManip::isEqual(sz{0, 5}, sz{5, 0})), "no"},
    };
    for (const auto& [got, expected] : cases)
        EXPECT_EQ(got, expected);
}

TEST(Rules, ErrorWordingsAndWhatCheckedExecutionPrints) {
    char buffer[8];
    memset(buffer, 'x', sizeof buffer);
    safeCpy(buffer, "abc", 8);  // padded with zeros, always terminated
    EXPECT_EQ(std::string(buffer, 8), std::string("abc\0\0\0\0\0", 8));
    safeCpy(buffer, "abcdefghijk", 8);
    EXPECT_STREQ(buffer, "abcdefg");
    const std::string exact(119, 'm');
    const gnE kept(gnE::gnGeneric, exact.c_str(), (exact + "cut").c_str());
    EXPECT_EQ(std::string(kept.message) + std::string(kept.typeText), exact + exact);
    // Each body's lines after "Caught exception".
    // clang-format off
    const std::pair<void (*)(), const char*> cases[] = {
        {[] { gnE::gnRaiseGeneric("MEMORY", "Out of memory!"); }, "Generic exception of type: MEMORY raised: Out of memory!\n"},
        {[] { gnE::gnRaiseBug("Broken in X::y"); }, "Software bug: Broken in X::y\n"},
        {[] { gnE::gnRaiseNotImplemented("Flying"); }, "Feature has not yet been implemented: Flying\n"},
        {[] { gnE::gnRaise(gnE::gnGeneric, "INDEX", "Out of range"); }, "Generic exception of type: INDEX raised: Out of range\n"},
        {[] { gnE::reRaiseGeneric(kOld, "FileLoad", "new"); }, "Generic exception of type: FileLoad raised: new\n"},  // only the new texts
        {[] { gnE::reRaise(kOld, gnE::gnBug, "T", "plain"); }, "Software bug: plain\n"},
        {[] { gnE::reRaiseBug(kOld, "new bug"); }, "Software bug: new bug\n"},
        {[] { gnE::reRaiseNotImplemented(kOld, "later"); }, "Feature has not yet been implemented: later\n"},
        {[] { gnE* odd = new gnE(gnE::gnBug, "", "whatever"); odd->kind = static_cast<gnE::t>(7); throw odd; },
         "Software bug: Undefined exceptiontype in gnE::output!"},
        {[] { throw new gnE(); }, "Software bug: \n"},
    };
    // clang-format on
    for (const auto& [body, printed] : cases)
        EXPECT_EQ(checked(body), "Caught exception\n" + std::string(printed));
    EXPECT_EQ(checked([] { throw 42; }),
              "Software bug: Unanticipated exception raised in gnCheckedExec!\n");
    EXPECT_EQ(checked([] {}), "");
}
