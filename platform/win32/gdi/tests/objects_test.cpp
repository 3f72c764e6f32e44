// Drawing objects and DCs behind their handles: selection rules, the save stack, origins,
// refused sizes and handles that are stale, forged or of another kind.
#include "canvas.h"

#include "pal/gdi.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

namespace {

TEST(Selection, AnObjectSelectedIntoADcIsNotDeleted) {
    Canvas c(4, 4);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(c.dc, pen);
    EXPECT_EQ(old, GetStockObject(BLACK_PEN));
    EXPECT_FALSE(DeleteObject(pen));
    MoveToEx(c.dc, 0, 0, nullptr);
    LineTo(c.dc, 4, 0);
    EXPECT_EQ(GetPixel(c.dc, 1, 0), RGB(255, 0, 0)) << "the pen still draws";
    EXPECT_EQ(SelectObject(c.dc, old), pen);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(GetObjectType(pen), 0u);
}

TEST(Selection, ABitmapLivesInOneMemoryDcAtATime) {
    Canvas a(2, 2);
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, a.bitmap), nullptr);
    BITMAP info{};
    ASSERT_EQ(GetObjectW(a.bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 2);
    EXPECT_EQ(info.bmBitsPixel, 32);
    DeleteDC(other);
}

TEST(Selection, SaveAndRestoreBringBackObjectsColoursAndOrigins) {
    Canvas c(4, 4);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const int level = SaveDC(c.dc);
    EXPECT_EQ(level, 1);
    SelectObject(c.dc, red);
    SetBkColor(c.dc, RGB(1, 1, 1));
    SetViewportOrgEx(c.dc, 2, 2, nullptr);
    EXPECT_EQ(SaveDC(c.dc), 2);
    SetROP2(c.dc, R2_XORPEN);
    EXPECT_TRUE(RestoreDC(c.dc, -1));
    EXPECT_EQ(GetROP2(c.dc), R2_COPYPEN);
    EXPECT_EQ(GetBkColor(c.dc), RGB(1, 1, 1));
    EXPECT_TRUE(RestoreDC(c.dc, level));
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    POINT org{};
    GetViewportOrgEx(c.dc, &org);
    EXPECT_EQ(org.x, 0);
    EXPECT_FALSE(RestoreDC(c.dc, 1)) << "that level is gone";
    EXPECT_TRUE(DeleteObject(red)) << "restoring released the brush";
}

TEST(Origins, WindowAndViewportOriginsMoveLogicalCoordinates) {
    struct Case {
        POINT window, viewport, logical, device;
    };
    for (const Case& k : {Case{{0, 0}, {3, 1}, {0, 0}, {3, 1}}, Case{{2, 2}, {0, 0}, {4, 3}, {2, 1}},
                          Case{{5, 5}, {6, 6}, {5, 5}, {6, 6}}}) {
        Canvas c(8, 8);
        SetWindowOrgEx(c.dc, k.window.x, k.window.y, nullptr);
        SetViewportOrgEx(c.dc, k.viewport.x, k.viewport.y, nullptr);
        SetPixel(c.dc, k.logical.x, k.logical.y, RGB(0, 0, 0));
        POINT p = k.logical;
        LPtoDP(c.dc, &p, 1);
        EXPECT_EQ(p.x, k.device.x);
        EXPECT_EQ(p.y, k.device.y);
        DPtoLP(c.dc, &p, 1);
        EXPECT_EQ(p.x, k.logical.x);
        SetWindowOrgEx(c.dc, 0, 0, nullptr);
        SetViewportOrgEx(c.dc, 0, 0, nullptr);
        EXPECT_EQ(GetPixel(c.dc, k.device.x, k.device.y), RGB(0, 0, 0));
    }
}

TEST(BadInput, AbsurdBitmapSizesAreRefusedBeforeAnythingIsMade) {
    HDC dc = CreateCompatibleDC(nullptr);
    const size_t before = pal::gdi::liveObjects();
    struct Size {
        int w, h;
    };
    for (Size s :
         {Size{100000, 100000}, Size{INT_MAX, INT_MAX}, Size{-5, 10}, Size{40000, 1}, Size{10000, 10000}}) {
        SetLastError(0);
        EXPECT_EQ(CreateCompatibleBitmap(dc, s.w, s.h), nullptr) << s.w << "x" << s.h;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
        EXPECT_EQ(CreateBitmap(s.w, s.h, 1, 32, nullptr), nullptr);
    }
    EXPECT_EQ(pal::gdi::liveObjects(), before);
    DeleteDC(dc);
}

TEST(BadInput, HugeTransfersWorkOnlyOnWhatCanBeDrawn) {
    Canvas c(4, 4), source(4, 4, RGB(0, 0, 0));
    EXPECT_TRUE(PatBlt(c.dc, -1000000000, -1000000000, 2000000000, 2000000000, DSTINVERT));
    EXPECT_EQ(GetPixel(c.dc, 3, 3), RGB(0, 0, 0));
    EXPECT_TRUE(BitBlt(c.dc, INT_MIN / 2, 0, INT_MAX, INT_MAX, source.dc, 0, 0, SRCINVERT));
    EXPECT_TRUE(BitBlt(c.dc, 2, 2, INT_MAX, INT_MAX, source.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(c.dc, 3, 3), RGB(0, 0, 0));
    // A line from far outside draws only where it crosses the surface, on the same pixels.
    c.fill(RGB(255, 255, 255));
    MoveToEx(c.dc, -2000000000, 1, nullptr);
    EXPECT_TRUE(LineTo(c.dc, 2000000000, 1));
    EXPECT_EQ(GetPixel(c.dc, 0, 1), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(c.dc, 3, 1), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(c.dc, 3, 2), RGB(255, 255, 255));
    // Shapes reaching far outside, under a raster operation that works on the pixels.
    SetROP2(c.dc, R2_NOT);
    EXPECT_TRUE(Ellipse(c.dc, -2000000000, -2000000000, 2000000000, 2000000000));
    EXPECT_EQ(GetPixel(c.dc, 3, 2), RGB(0, 0, 0));
    const POINT far[] = {{-2000000000, -5}, {2000000000, -5}, {0, 2000000000}};
    EXPECT_TRUE(Polygon(c.dc, far, 3));
    EXPECT_EQ(GetPixel(c.dc, 3, 2), RGB(255, 255, 255));
}

TEST(BadInput, StaleAndForgedHandlesFailAndReachNoOtherObject) {
    Canvas c(2, 2);
    HPEN stale = CreatePen(PS_SOLID, 1, 0);
    ASSERT_TRUE(DeleteObject(stale));
    // Objects made afterwards never answer to the old handle.
    std::set<HGDIOBJ> later;
    for (int i = 0; i < 64; ++i)
        later.insert(CreateSolidBrush(RGB(i, 0, 0)));
    EXPECT_FALSE(later.count(stale));
    EXPECT_EQ(SelectObject(c.dc, stale), nullptr);
    EXPECT_FALSE(DeleteObject(stale));
    EXPECT_EQ(GetObjectType(stale), 0u);
    for (HGDIOBJ b : later)
        DeleteObject(b);

    HDC gone = CreateCompatibleDC(nullptr);
    ASSERT_TRUE(DeleteDC(gone));
    EXPECT_FALSE(DeleteDC(gone));
    EXPECT_EQ(GetPixel(gone, 0, 0), CLR_INVALID);
    EXPECT_FALSE(Rectangle(gone, 0, 0, 1, 1));

    const HDC forged[] = {reinterpret_cast<HDC>(0x12345678),
                          reinterpret_cast<HDC>(~std::uintptr_t{0} & ~0xFull),
                          reinterpret_cast<HDC>(c.bitmap) /* an object of another kind */};
    for (HDC f : forged) {
        EXPECT_EQ(SelectObject(f, GetStockObject(BLACK_PEN)), nullptr);
        EXPECT_EQ(SetPixel(f, 0, 0, 0), CLR_INVALID);
        EXPECT_FALSE(BitBlt(c.dc, 0, 0, 1, 1, f, 0, 0, SRCCOPY));
        EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(f)) == OBJ_MEMDC, false);
    }
    EXPECT_EQ(SelectObject(c.dc, reinterpret_cast<HGDIOBJ>(c.dc)), nullptr) << "a DC is not selectable";
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(c.dc))) << "a DC goes with DeleteDC";
}

TEST(Stock, StockObjectsSurviveDeletion) {
    HGDIOBJ white = GetStockObject(WHITE_BRUSH);
    EXPECT_EQ(GetObjectType(white), OBJ_BRUSH);
    EXPECT_TRUE(DeleteObject(white));
    EXPECT_EQ(GetObjectType(white), OBJ_BRUSH);
    EXPECT_EQ(GetObjectType(GetStockObject(NULL_PEN)), OBJ_PEN);
    EXPECT_EQ(GetStockObject(99), nullptr);
    LOGBRUSH lb{};
    ASSERT_EQ(GetObjectW(GetStockObject(NULL_BRUSH), sizeof lb, &lb), static_cast<int>(sizeof lb));
    EXPECT_EQ(lb.lbStyle, BS_NULL);
}

} // namespace
