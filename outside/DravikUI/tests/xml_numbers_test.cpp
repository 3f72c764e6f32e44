// Whole texts read as numbers, and what is not one.
#include "DravikUI/XMLNumbers.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(XMLNumbers, OnlyAWholeNumberWithinIntReads) {
    const std::pair<const wchar_t*, std::optional<int>> cases[] = {
        {L"1640", 1640},
        {L"-12", -12},
        {L"+7", 7},
        {L"0", 0},
        {L"", std::nullopt},
        {L"-", std::nullopt},
        {L"12a", std::nullopt},
        {L" 12", std::nullopt},
        {L"2147483647", 2147483647},
        {L"2147483648", std::nullopt},
        {L"-2147483648", -2147483647 - 1},
        {L"١٢", std::nullopt},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(DravikXML::TryStringToInt(text, 10), value);
        EXPECT_EQ(DravikXML::StringToInt(text, 0, 10), value.value_or(0));
    }
    EXPECT_EQ(DravikXML::TryStringToInt(L"ff", 16), 255);
    EXPECT_EQ(DravikXML::TryStringToInt(L"12", 1), std::nullopt);
}

} // namespace
