#include "pal/format.h"
#include "win/base.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

// Each row formats one value through the wide formatter; the narrow formatter is checked
// where its rules differ.
struct Row {
    const wchar_t* expected;
    std::wstring actual;
};

TEST(Format, WideFormatsFollowMicrosoftRules) {
    const Row rows[] = {
        {L"Initialized in 12.005 ms", pal::format(L"Initialized in %lld.%03lld ms", 12LL, 5LL)},
        {L"0x0000beef", pal::format(L"0x%08x", 0xBEEFu)},
        {L"v18.0.21.0", pal::format(L"v%u.%u.%u.%u", 18u, 0u, 21u, 0u)},
        {L"\"C:\\a b\"", pal::format(L"\"%ls\"", L"C:\\a b")},
        {L"wide narrow", pal::format(L"%s %hs", L"wide", "narrow")},
        {L"narrow", pal::format(L"%S", "narrow")},
        {L"-2147483648", pal::format(L"%ld", static_cast<LONG>(INT32_MIN))},
        {L"4294967295", pal::format(L"%lu", 0xFFFFFFFFu)},
        {L"-9223372036854775807", pal::format(L"%I64d", -9223372036854775807LL)},
        {L"18446744073709551615", pal::format(L"%I64u", 18446744073709551615ULL)},
        {L"   42|42   |00042", pal::format(L"%5d|%-5d|%05d", 42, 42, 42)},
        {L"+7 -7", pal::format(L"%+d %+d", 7, -7)},
        {L"abc", pal::format(L"%.3s", L"abcdef")},
        {L"  abc", pal::format(L"%*s", 5, L"abc")},
        {L"ab   |", pal::format(L"%-*.*s|", 5, 2, L"abc")},
        {L"3.14", pal::format(L"%.2f", 3.14159)},
        {L"1.5e+10", pal::format(L"%g", 1.5e10)},
        {L"FF ff 0377", pal::format(L"%X %x %#o", 255u, 255u, 255u)},
        {L"100%", pal::format(L"%d%%", 100)},
        {L"x\u0416y", pal::format(L"x%cy", L'\u0416')},
        {L"(null)", pal::format(L"%s", static_cast<const wchar_t*>(nullptr))},
        {L"size 12345678901", pal::format(L"size %Iu", static_cast<size_t>(12345678901ULL))},
        {L"size 7", pal::format(L"size %zu", static_cast<size_t>(7))},
        {L"\u00e9t\u00e9", pal::format(L"%hs", "\xc3\xa9t\xc3\xa9")},
        {L"%y", pal::format(L"%y")},
        {L"end%", pal::format(L"end%")},
        {L"5 |", pal::format(L"%*d|", -2, 5)},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.actual, row.expected);
}

TEST(Format, WidthsFromArgumentsAreBounded) {
    const std::wstring s = pal::format(L"%*d|%d", INT_MIN, 5, 7);
    EXPECT_EQ(s.size(), 100000u + 2);
    EXPECT_EQ(s.substr(0, 2), L"5 ");
    EXPECT_EQ(s.substr(s.size() - 2), L"|7");
    EXPECT_EQ(pal::format(L"%.*s|", INT_MAX, L"abc"), L"abc|");
}

TEST(Format, NarrowFormatsReadNarrowStringsByDefault) {
    EXPECT_EQ(pal::format("%s|%S|%ls", "a", L"b", L"c"), "a|b|c");
    EXPECT_EQ(pal::format("%c%C", 'x', L'\u0416'), "x\xd0\x96");
    EXPECT_EQ(pal::format("%ld %lld", -1, -1LL), "-1 -1");
}

TEST(Format, PercentNIsRefusedAndLaterArgumentsStayAligned) {
    int written = -1;
    EXPECT_EQ(pal::format(L"a%nb%d", &written, 5), L"ab5");
    EXPECT_EQ(written, -1);
}

TEST(Format, BufferFunctionsTruncateOrFailAsDocumented) {
    wchar_t buffer[8];
    EXPECT_EQ(swprintf_s(buffer, 8, L"%d", 1234567), 7);
    EXPECT_STREQ(buffer, L"1234567");
    EXPECT_EQ(swprintf_s(buffer, 8, L"%d", 12345678), -1);
    EXPECT_STREQ(buffer, L"");
    EXPECT_EQ(_snwprintf_s(buffer, 8, _TRUNCATE, L"%s", L"truncated text"), -1);
    EXPECT_STREQ(buffer, L"truncat");
    // wsprintfW's buffer holds 1024 characters with the terminator; nothing is written past it.
    std::vector<wchar_t> big(1100, L'#');
    EXPECT_EQ(wsprintfW(big.data(), L"%s", std::wstring(2000, L'a').c_str()), 1023);
    EXPECT_EQ(big[1022], L'a');
    EXPECT_EQ(big[1023], L'\0');
    EXPECT_EQ(big[1024], L'#');
    EXPECT_EQ(wsprintfW(big.data(), L"%d", 42), 2);
    EXPECT_STREQ(big.data(), L"42");
    char narrow[4];
    EXPECT_EQ(sprintf_s(narrow, sizeof narrow, "%s", "abc"), 3);
    EXPECT_STREQ(narrow, "abc");
}

} // namespace
