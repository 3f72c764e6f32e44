#include "pal/text.h"

#include <gtest/gtest.h>

namespace {

using namespace pal::text;

TEST(Text, RoundTripsEveryPlaneThroughUtf8AndUtf16) {
    const std::wstring samples[] = {L"",
                                    L"plain",
                                    L"\u0422\u0435\u0445\u043d\u0438\u0447\u0435\u0441\u043a\u0438\u0435",
                                    L"\u00e9\u20ac",
                                    L"\U0001F600 emoji",
                                    L"tab\there"};
    for (const auto& s : samples) {
        EXPECT_EQ(fromUtf8(toUtf8(s)), s);
        EXPECT_EQ(fromUtf16(toUtf16(s)), s);
        EXPECT_EQ(fromUtf16leBytes(toUtf16leBytes(s)), s);
    }
    EXPECT_EQ(toUtf16(L"\U0001F600").size(), 2u);
    EXPECT_EQ(toUtf16leBytes(L"A"), std::string("A\0", 2));
}

TEST(Text, MalformedInputBecomesReplacementCharacters) {
    struct Case {
        std::string utf8;
        std::wstring expected;
    } cases[] = {
        {"\xff", L"\uFFFD"},
        {"a\xc3", L"a\uFFFD"},           // truncated sequence at the end
        {"\xc0\xaf", L"\uFFFD"},         // overlong slash
        {"\xed\xa0\x80", L"\uFFFD"},     // encoded surrogate
        {"\xf4\x90\x80\x80", L"\uFFFD"}, // beyond U+10FFFF
        {"\xe2\x82x", L"\uFFFDx"},       // broken middle keeps the next character
    };
    for (const auto& c : cases)
        EXPECT_EQ(fromUtf8(c.utf8), c.expected) << c.utf8;

    const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC00};
    EXPECT_EQ(fromUtf16(std::u16string_view(lone, 4)), L"a\uFFFDb\uFFFD");
    EXPECT_EQ(toUtf8(std::wstring(1, static_cast<wchar_t>(0x110000))), "\xef\xbf\xbd");
    EXPECT_EQ(fromUtf16leBytes(std::string("A\0B", 3)), L"A\uFFFD");
}

TEST(Text, NamesCompareWithoutCase) {
    EXPECT_TRUE(equalsNoCase(L"Software\\Dravik", L"SOFTWARE\\dravik"));
    EXPECT_FALSE(equalsNoCase(L"abc", L"abcd"));
    EXPECT_LT(compareNoCase(L"Apple", L"banana"), 0);
    EXPECT_EQ(toUpper(L"MixEd"), L"MIXED");
    EXPECT_TRUE(equalsNoCase(L"Чертёж", L"ЧЕРТЁЖ")) << "case beyond ASCII, whatever the locale";
    EXPECT_EQ(toLower(L"ЯЖ"), L"яж");
}

} // namespace

#include "win/base.h"

namespace {

TEST(CodePages, SizesQueriedThenConvertedWithTheTerminatorWhenAskedFor) {
    const wchar_t* wide = L"\u0416a";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    EXPECT_EQ(bytes, 4); // two bytes, one byte, terminator
    char narrow[8];
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, -1, narrow, 8, nullptr, nullptr), 4);
    EXPECT_STREQ(narrow, "\xd0\x96"
                         "a");
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, -1, narrow, 2, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    wchar_t back[8];
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, narrow, -1, back, 8), 3);
    EXPECT_STREQ(back, wide);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, narrow, -1, back, 8), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    // A size without a buffer is refused, not written through.
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, narrow, -1, nullptr, 8), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 8, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

} // namespace

namespace {

TEST(Strings, CompareWithAndWithoutCase) {
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        int noCase;  // lstrcmpiW
        int ordinal; // CompareStringOrdinal, case kept
    };
    const Case cases[] = {
        {L"MDIClient", L"MDICLIENT", 0, CSTR_GREATER_THAN},
        {L"abc", L"abcd", -1, CSTR_LESS_THAN},
        {L"b", L"A", 1, CSTR_GREATER_THAN},
        // Folding goes to upper case: "_" sorts after the letters.
        {L"_", L"a", 1, CSTR_LESS_THAN},
        {L"", L"", 0, CSTR_EQUAL},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lstrcmpiW(c.a, c.b), c.noCase) << c.a << " " << c.b;
        EXPECT_EQ(CompareStringOrdinal(c.a, -1, c.b, -1, FALSE), c.ordinal) << c.a << " " << c.b;
        EXPECT_EQ(CompareStringOrdinal(c.a, -1, c.b, -1, TRUE), CSTR_EQUAL + c.noCase) << c.a << " " << c.b;
    }
    EXPECT_LT(lstrcmpiW(nullptr, L""), 0);
    EXPECT_EQ(lstrcmpiW(nullptr, nullptr), 0);
    EXPECT_EQ(CompareStringOrdinal(L"GS3D", 2, L"gs", -1, TRUE), CSTR_EQUAL);
    EXPECT_EQ(CompareStringOrdinal(nullptr, 1, L"a", -1, TRUE), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

} // namespace
