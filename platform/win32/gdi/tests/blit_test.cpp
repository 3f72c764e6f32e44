// Block transfers: every raster operation on a 2x2 pattern, stretching, alpha blending and
// gradients.
#include "canvas.h"

#include <gtest/gtest.h>

#include <array>

namespace {

void paint2x2(HDC dc, const std::array<COLORREF, 4>& colors) {
    for (int i = 0; i < 4; ++i)
        SetPixel(dc, i % 2, i / 2, colors[i]);
}

struct RopCase {
    const char* name;
    DWORD rop;
    std::array<COLORREF, 4> expected;
};

void PrintTo(const RopCase& c, std::ostream* os) {
    *os << c.name;
}

// Destination, source and a solid pattern brush of 0x3C3C3C; the expected values are the
// bitwise results of each operation.
constexpr std::array<COLORREF, 4> kDest{0x000000, 0xFFFFFF, 0x00FF00, 0x123456};
constexpr std::array<COLORREF, 4> kSource{0xFFFFFF, 0x000000, 0x0F0F0F, 0xF0F0F0};

const RopCase kRops[] = {
    {"SRCCOPY", SRCCOPY, {0xFFFFFF, 0x000000, 0x0F0F0F, 0xF0F0F0}},
    {"SRCPAINT", SRCPAINT, {0xFFFFFF, 0xFFFFFF, 0x0FFF0F, 0xF2F4F6}},
    {"SRCAND", SRCAND, {0x000000, 0x000000, 0x000F00, 0x103050}},
    {"SRCINVERT", SRCINVERT, {0xFFFFFF, 0xFFFFFF, 0x0FF00F, 0xE2C4A6}},
    {"PATCOPY", PATCOPY, {0x3C3C3C, 0x3C3C3C, 0x3C3C3C, 0x3C3C3C}},
    {"PATINVERT", PATINVERT, {0x3C3C3C, 0xC3C3C3, 0x3CC33C, 0x2E086A}},
    {"DSTINVERT", DSTINVERT, {0xFFFFFF, 0x000000, 0xFF00FF, 0xEDCBA9}},
    {"BLACKNESS", BLACKNESS, {0x000000, 0x000000, 0x000000, 0x000000}},
    {"WHITENESS", WHITENESS, {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}},
    {"NOTSRCCOPY", NOTSRCCOPY, {0x000000, 0xFFFFFF, 0xF0F0F0, 0x0F0F0F}},
    {"MERGECOPY", MERGECOPY, {0x3C3C3C, 0x000000, 0x0C0C0C, 0x303030}},
};

class Rops : public ::testing::TestWithParam<RopCase> {};

TEST_P(Rops, CombinePatternSourceAndDestinationBitwise) {
    Canvas dest(2, 2), source(2, 2);
    paint2x2(dest.dc, kDest);
    paint2x2(source.dc, kSource);
    HBRUSH pattern = CreateSolidBrush(0x3C3C3C);
    SelectObject(dest.dc, pattern);
    ASSERT_TRUE(BitBlt(dest.dc, 0, 0, 2, 2, source.dc, 0, 0, GetParam().rop));
    EXPECT_EQ(dest.pixels(), std::vector<COLORREF>(GetParam().expected.begin(), GetParam().expected.end()));
    SelectObject(dest.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(pattern);
}

INSTANTIATE_TEST_SUITE_P(Table, Rops, ::testing::ValuesIn(kRops),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Blit, OffsetsOverlapAndClipping) {
    Canvas c(6, 2);
    paint2x2(c.dc, {1, 2, 3, 4});
    // Copying within one surface reads the pixels as they were before the copy.
    ASSERT_TRUE(BitBlt(c.dc, 1, 0, 2, 2, c.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(c.dc, 1, 0), 1u);
    EXPECT_EQ(GetPixel(c.dc, 2, 0), 2u);
    IntersectClipRect(c.dc, 0, 0, 5, 2);
    ASSERT_TRUE(BitBlt(c.dc, 4, 0, 2, 2, c.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(c.dc, 4, 1), 3u);
    SelectClipRgn(c.dc, nullptr);
    EXPECT_EQ(GetPixel(c.dc, 5, 1), RGB(255, 255, 255)) << "outside the clip nothing was copied";
    EXPECT_FALSE(BitBlt(c.dc, 0, 0, 2, 2, nullptr, 0, 0, SRCCOPY)) << "a copy needs a source";
    EXPECT_TRUE(BitBlt(c.dc, 0, 0, 2, 2, nullptr, 0, 0, BLACKNESS)) << "a fill does not";
}

TEST(Blit, StretchScalesAndMirrors) {
    Canvas source(2, 2), dest(4, 4);
    paint2x2(source.dc, {0x0000FF, 0x00FF00, 0xFF0000, 0x000000});
    ASSERT_TRUE(StretchBlt(dest.dc, 0, 0, 4, 4, source.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(GetPixel(dest.dc, 1, 1), 0x0000FFu);
    EXPECT_EQ(GetPixel(dest.dc, 2, 1), 0x00FF00u);
    EXPECT_EQ(GetPixel(dest.dc, 1, 2), 0xFF0000u);
    EXPECT_EQ(GetPixel(dest.dc, 3, 3), 0x000000u);
    ASSERT_TRUE(StretchBlt(dest.dc, 0, 0, 4, 4, source.dc, 2, 0, -2, 2, SRCCOPY)) << "a mirrored source";
    EXPECT_EQ(GetPixel(dest.dc, 0, 0), 0x00FF00u);
    EXPECT_EQ(GetPixel(dest.dc, 3, 0), 0x0000FFu);
    // A large zoom makes only what can be seen: here 2x2 pixels blown up to 40000x40000.
    ASSERT_TRUE(StretchBlt(dest.dc, -20000, -20000, 40000, 40000, source.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(GetPixel(dest.dc, 0, 0), 0x000000u) << "the middle of the zoom is the last source pixel";
    ASSERT_TRUE(StretchBlt(dest.dc, -20000, -20000, 40000, 40000, source.dc, 0, 0, 2, 2, SRCINVERT));
    EXPECT_EQ(GetPixel(dest.dc, 0, 0), 0x000000u);
    EXPECT_EQ(SetStretchBltMode(dest.dc, HALFTONE), BLACKONWHITE);
    EXPECT_EQ(GetStretchBltMode(dest.dc), HALFTONE);
}

TEST(Blit, AlphaBlendWithConstantAndRefusedRectangles) {
    Canvas source(2, 2, RGB(0, 0, 0)), dest(2, 2, RGB(255, 255, 255));
    BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
    ASSERT_TRUE(AlphaBlend(dest.dc, 0, 0, 2, 2, source.dc, 0, 0, 2, 2, half));
    const BYTE r = GetRValue(GetPixel(dest.dc, 1, 1));
    EXPECT_NEAR(r, 127, 1);
    EXPECT_FALSE(AlphaBlend(dest.dc, 0, 0, 2, 2, source.dc, 1, 1, 2, 2, half)) << "source leaves its bitmap";
    EXPECT_FALSE(AlphaBlend(dest.dc, 0, 0, -2, 2, source.dc, 0, 0, 2, 2, half));
}

TEST(Blit, AlphaBlendWithPerPixelAlpha) {
    // Premultiplied pixels: half-transparent black, fully transparent, opaque red.
    const std::uint32_t bits[3] = {0x80000000, 0x00000000, 0xFFFF0000};
    HBITMAP withAlpha = CreateBitmap(3, 1, 1, 32, bits);
    ASSERT_NE(withAlpha, nullptr);
    HDC source = CreateCompatibleDC(nullptr);
    SelectObject(source, withAlpha);
    Canvas dest(3, 1);
    BLENDFUNCTION perPixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(AlphaBlend(dest.dc, 0, 0, 3, 1, source, 0, 0, 3, 1, perPixel));
    EXPECT_NEAR(GetRValue(GetPixel(dest.dc, 0, 0)), 127, 1);
    EXPECT_EQ(GetPixel(dest.dc, 1, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dest.dc, 2, 0), RGB(255, 0, 0));
    // Without AC_SRC_ALPHA the same pixels count as opaque.
    BLENDFUNCTION opaque{AC_SRC_OVER, 0, 255, 0};
    ASSERT_TRUE(AlphaBlend(dest.dc, 0, 0, 3, 1, source, 0, 0, 3, 1, opaque));
    EXPECT_EQ(GetPixel(dest.dc, 1, 0), RGB(0, 0, 0));
    DeleteDC(source);
    DeleteObject(withAlpha);
}

TEST(Gradient, RectangleRunsFromOneColourToTheOther) {
    Canvas c(11, 3);
    TRIVERTEX v[2] = {{0, 0, 0xFF00, 0, 0, 0}, {11, 3, 0, 0, 0xFF00, 0}};
    GRADIENT_RECT g{0, 1};
    ASSERT_TRUE(GradientFill(c.dc, v, 2, &g, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(GetPixel(c.dc, 0, 1), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(c.dc, 10, 1), RGB(0, 0, 255));
    const COLORREF middle = GetPixel(c.dc, 5, 1);
    EXPECT_NEAR(GetRValue(middle), 128, 2);
    EXPECT_NEAR(GetBValue(middle), 128, 2);
    GRADIENT_RECT bad{0, 7};
    EXPECT_FALSE(GradientFill(c.dc, v, 2, &bad, 1, GRADIENT_FILL_RECT_V)) << "a vertex index past the list";
}

} // namespace
