// Regions as sets of pixels, and clipping a DC with them.
#include "canvas.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct CombineCase {
    const char* name;
    int mode;
    int kind;
    RECT box;
    std::vector<POINT> inside, outside;
};

void PrintTo(const CombineCase& c, std::ostream* os) {
    *os << c.name;
}

// A = (0,0)-(10,10), B = (5,5)-(15,15).
const CombineCase kCombine[] = {
    {"And", RGN_AND, SIMPLEREGION, {5, 5, 10, 10}, {{5, 5}, {9, 9}}, {{4, 4}, {10, 10}}},
    {"Or", RGN_OR, COMPLEXREGION, {0, 0, 15, 15}, {{0, 0}, {14, 14}, {7, 7}}, {{12, 2}, {2, 12}, {15, 15}}},
    {"Xor", RGN_XOR, COMPLEXREGION, {0, 0, 15, 15}, {{2, 2}, {12, 12}}, {{7, 7}, {12, 2}}},
    {"Diff", RGN_DIFF, COMPLEXREGION, {0, 0, 10, 10}, {{2, 2}, {9, 4}, {4, 9}}, {{7, 7}, {12, 12}}},
    {"Copy", RGN_COPY, SIMPLEREGION, {0, 0, 10, 10}, {{7, 7}}, {{12, 12}}},
};

class Combine : public ::testing::TestWithParam<CombineCase> {};

TEST_P(Combine, GivesTheExpectedPixels) {
    const CombineCase& c = GetParam();
    HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 5, 15, 15), out = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(out, a, b, c.mode), c.kind);
    RECT box{};
    EXPECT_EQ(GetRgnBox(out, &box), c.kind);
    EXPECT_TRUE(EqualRect(&box, &c.box));
    for (POINT p : c.inside)
        EXPECT_TRUE(PtInRegion(out, p.x, p.y)) << p.x << "," << p.y;
    for (POINT p : c.outside)
        EXPECT_FALSE(PtInRegion(out, p.x, p.y)) << p.x << "," << p.y;
    for (HRGN r : {a, b, out})
        DeleteObject(r);
}

INSTANTIATE_TEST_SUITE_P(Table, Combine, ::testing::ValuesIn(kCombine),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Regions, SamePixelsAreEqualWhateverTheirHistory) {
    HRGN top = CreateRectRgn(0, 0, 10, 5), bottom = CreateRectRgn(0, 5, 10, 10),
         whole = CreateRectRgn(0, 0, 10, 10);
    HRGN joined = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(joined, top, bottom, RGN_OR), SIMPLEREGION)
        << "touching halves merge into one rectangle";
    EXPECT_TRUE(EqualRgn(joined, whole));
    EXPECT_EQ(CombineRgn(joined, top, top, RGN_DIFF), NULLREGION);
    EXPECT_EQ(CombineRgn(joined, top, bottom, RGN_AND), NULLREGION) << "touching is not overlapping";
    EXPECT_EQ(OffsetRgn(whole, 5, -2), SIMPLEREGION);
    RECT moved{};
    GetRgnBox(whole, &moved);
    EXPECT_EQ(moved.left, 5);
    EXPECT_EQ(moved.top, -2);
    RECT probe{14, 7, 20, 20}, away{15, 8, 20, 20};
    EXPECT_TRUE(RectInRegion(whole, &probe));
    EXPECT_FALSE(RectInRegion(whole, &away));
    for (HRGN r : {top, bottom, whole, joined})
        DeleteObject(r);
}

TEST(Regions, FarCoordinatesAreHeldWithinTheRegionRange) {
    HRGN huge = CreateRectRgn(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    RECT box{};
    EXPECT_EQ(GetRgnBox(huge, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 1 << 27);
    EXPECT_EQ(OffsetRgn(huge, INT_MAX, 0), ERROR) << "moving it would overflow";
    EXPECT_TRUE(PtInRegion(huge, 0, 0)) << "and it stays where it was";
    DeleteObject(huge);
}

TEST(Clipping, StopsDrawingOutsideTheClipRegion) {
    Canvas c(10, 6);
    HRGN ring = CreateRectRgn(0, 0, 10, 6), hole = CreateRectRgn(3, 2, 7, 4);
    CombineRgn(ring, ring, hole, RGN_DIFF);
    EXPECT_EQ(SelectClipRgn(c.dc, ring), COMPLEXREGION);
    c.fill(RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(c.dc, 4, 3), CLR_INVALID) << "outside the clip a pixel cannot be read";
    SelectClipRgn(c.dc, nullptr);
    EXPECT_EQ(GetPixel(c.dc, 4, 3), RGB(255, 255, 255)) << "nothing was drawn in the hole";

    const int saved = SaveDC(c.dc);
    IntersectClipRect(c.dc, 0, 0, 5, 6);
    ExcludeClipRect(c.dc, 0, 0, 2, 6);
    RECT box{};
    EXPECT_EQ(GetClipBox(c.dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 2);
    EXPECT_EQ(box.right, 5);
    c.fill(RGB(0, 255, 0));
    RestoreDC(c.dc, saved);
    EXPECT_EQ(GetClipRgn(c.dc, hole), 0) << "restoring brings back the DC without a clip";
    EXPECT_EQ(GetPixel(c.dc, 3, 3), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(c.dc, 1, 3), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(c.dc, 8, 3), RGB(0, 0, 0));
    DeleteObject(ring);
    DeleteObject(hole);
}

TEST(Clipping, ClipStaysInDeviceUnitsWhenTheOriginMoves) {
    Canvas c(10, 10);
    IntersectClipRect(c.dc, 0, 0, 5, 5);
    SetViewportOrgEx(c.dc, 3, 3, nullptr);
    SetPixel(c.dc, 0, 0, RGB(0, 0, 0)); // device 3,3: inside
    SetPixel(c.dc, 3, 3, RGB(0, 0, 0)); // device 6,6: outside
    SetViewportOrgEx(c.dc, 0, 0, nullptr);
    SelectClipRgn(c.dc, nullptr);
    EXPECT_EQ(GetPixel(c.dc, 3, 3), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(c.dc, 6, 6), RGB(255, 255, 255));
}

} // namespace
