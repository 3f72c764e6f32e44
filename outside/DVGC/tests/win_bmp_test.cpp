// A kept bitmap compares by its pixels, so that two records of one picture read twice are equal.
#include "DVGC/WinBMP.h"

#include "pal/test/sandbox_test.h"
#include "win/gdi/objects.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

HBITMAP filled(int width, int height, std::uint32_t pixel) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* p = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i)
        p[i] = pixel;
    return bitmap;
}

using WinBmp = pal::test::SandboxTest;

TEST_F(WinBmp, BitmapsAreEqualByTheirSizeAndPixels) {
    struct Case {
        const char* what;
        HBITMAP a;
        HBITMAP b;
        bool equal;
    };
    const Case cases[] = {
        {"both empty", nullptr, nullptr, true},
        {"one empty", filled(4, 4, 0xFF102030), nullptr, false},
        {"same pixels, two bitmaps", filled(4, 4, 0xFF102030), filled(4, 4, 0xFF102030), true},
        {"other pixels", filled(4, 4, 0xFF102030), filled(4, 4, 0xFF102031), false},
        {"other size", filled(4, 4, 0xFF102030), filled(4, 5, 0xFF102030), false},
    };
    for (const Case& c : cases) {
        const CWinBMP a(c.a), b(c.b);
        EXPECT_EQ(a == b, c.equal) << c.what;
    }
}

TEST_F(WinBmp, ACopyHoldsItsOwnBitmapWithTheSamePixels) {
    CWinBMP original(filled(3, 2, 0xFFAABBCC));
    const CWinBMP copy = original;
    EXPECT_NE(copy.GetHandle(), original.GetHandle());
    EXPECT_TRUE(copy == original);
    EXPECT_EQ(copy.GetSize().cx, 3);
    EXPECT_EQ(copy.GetSize().cy, 2);
    original.Release();
    EXPECT_TRUE(original.IsEmpty());
    EXPECT_FALSE(copy.IsEmpty());
}

} // namespace
