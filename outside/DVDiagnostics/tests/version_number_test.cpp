#include "DVDiagnostics/VersionNumber.h"

#include <gtest/gtest.h>

namespace {

using Dravik::VersionNumber;

TEST(VersionNumber, ParsesAndWritesTheDottedForm) {
    struct Case {
        const wchar_t* text;
        std::optional<VersionNumber> expected;
    };
    const Case cases[] = {
        {L"18.0.21.0", VersionNumber(18, 0, 21, 0)},
        {L"18", VersionNumber(18, 0, 0, 0)},
        {L"18.0", VersionNumber(18, 0, 0, 0)},
        {L"65535.1.2.3", VersionNumber(65535, 1, 2, 3)},
        {L"65536.0.0.0", std::nullopt},
        {L"1.2.3.4.5", std::nullopt},
        {L"1..2", std::nullopt},
        {L"1.2.", std::nullopt},
        {L"", std::nullopt},
        {L"v18", std::nullopt},
        {L"18.0.21.0 ", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VersionNumber::fromString(c.text), c.expected) << std::wstring(c.text).size();
    EXPECT_EQ(VersionNumber(18, 0, 21, 0).toString(), L"18.0.21.0");
}

TEST(VersionNumber, OrdersMajorFirst) {
    EXPECT_LT(VersionNumber(17, 9, 99, 99), VersionNumber(18, 0, 0, 0));
    EXPECT_LT(VersionNumber(18, 0, 20, 9), VersionNumber(18, 0, 21, 0));
    EXPECT_NE(VersionNumber(18, 0, 21, 0), VersionNumber(18, 0, 21, 1));
    EXPECT_TRUE(VersionNumber().isZero());
}

} // namespace
