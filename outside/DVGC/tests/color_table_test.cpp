#include "DVGC/ColorTable.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ColorTable, IndexesNameTableColoursAndLargerValuesCarryTheirOwn) {
    const CColorTable* table = GetColorTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table, GetColorTable()) << "one table a process";
    EXPECT_EQ(table->GetColorsNumber(), 256);
    struct Case {
        std::uint32_t value;
        COLORREF color;
    };
    for (const Case& c : {Case{0, 0x000000}, Case{1, 0x0000FF}, Case{5, 0xFF0000}, Case{7, 0xFFFFFF},
                          Case{255, 0xF8F8F8}, Case{0x123456u << 8, 0x123456}, Case{0xFFFFFFFFu, 0xFFFFFF}}) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(table->GetColor(c.value), c.color);
    }
}

TEST(ColorTable, NamesOnlyTheFirstSixteenAndAnRgbValueIsItsColourShifted) {
    std::wstring name = L"stale";
    EXPECT_NE(GetColorTable()->GetColorName(1, name), 0);
    EXPECT_EQ(name, L"Red");
    EXPECT_EQ(GetColorTable()->GetColorName(200, name), 0);
    EXPECT_TRUE(name.empty());
    EXPECT_EQ(GetColorTable()->GetColorName(CColorTable::FromRgb(0x0000FF), name), 0);
    // RGB black has the value 0, which is table black too.
    EXPECT_EQ(CColorTable::FromRgb(0), 0u);
    EXPECT_EQ(GetColorTable()->GetColor(CColorTable::FromRgb(0x123456)), 0x123456u);
}

} // namespace
