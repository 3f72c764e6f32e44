// The colour word: table indices and RGB colours shifted by a byte resolve to what is drawn.
#include "DVGC/ColorTable.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ColorCase {
    std::uint32_t Value;
    COLORREF Expected;
};

TEST(ColorTable, ResolvesIndicesAndRgbWords) {
    const ColorCase cases[] = {
        {0, 0x000000},                              // index 0 is black ...
        {CColorTable::FromRgb(0x000000), 0x000000}, // ... like RGB black, whose word is 0 too
        {1, 0x0000FF},                              // red
        {7, 0xFFFFFF},
        {255, GetColorTable().GetColor(255)},
        {CColorTable::FromRgb(0x123456), 0x123456},
        {0x12345601, 0}, // low byte set above 255: not a colour
    };
    for (const ColorCase& c : cases)
        EXPECT_EQ(GetColorTable().GetColor(c.Value), c.Expected) << std::hex << c.Value;
    EXPECT_EQ(GetColorTable().GetColorsNumber(), 256);
}

TEST(ColorTable, NamesOnlyTheFirstColours) {
    std::wstring name = L"stale";
    EXPECT_NE(GetColorTable().GetColorName(1, name), 0);
    EXPECT_EQ(name, L"Red");
    EXPECT_EQ(GetColorTable().GetColorName(200, name), 0);
    EXPECT_TRUE(name.empty());
    EXPECT_EQ(GetColorTable().GetColorName(CColorTable::FromRgb(0xFF), name), 0);
}

} // namespace
