#include "win/gdi.h"

#include <gtest/gtest.h>

TEST(Draw, Smoke) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 10, 10);
    SelectObject(dc, bmp);
    RECT r{2, 2, 5, 5};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 0));
}
