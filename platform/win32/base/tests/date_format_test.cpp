// Dates as text: the user's short date, pictures, and the sizes and failures callers rely on.
#include "win/base.h"
#include "win/error.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

namespace {

SYSTEMTIME day(WORD year, WORD month, WORD d) {
    SYSTEMTIME t{};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = d;
    return t;
}

std::wstring text(const SYSTEMTIME& d, DWORD flags, const wchar_t* picture) {
    wchar_t buffer[64] = {};
    const int n = GetDateFormatW(0x0400, flags, &d, picture, buffer, 64);
    return n > 0 ? std::wstring(buffer) : L"<failed>";
}

TEST(DateFormat, ShortDatesAndPictures) {
    struct Case {
        SYSTEMTIME date;
        DWORD flags;
        const wchar_t* picture;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {day(2026, 12, 10), DATE_SHORTDATE, nullptr, L"10.12.2026"},
        {day(2027, 1, 5), 0, nullptr, L"05.01.2027"},
        {day(2027, 1, 5), 0, L"d.M.yy", L"5.1.27"},
        {day(2024, 2, 29), 0, L"yyyy-MM-dd", L"2024-02-29"},
        {day(2026, 3, 7), 0, L"'день' d", L"день 7"},
        {day(2023, 2, 29), DATE_SHORTDATE, nullptr, L"<failed>"},
        {day(2026, 13, 1), DATE_SHORTDATE, nullptr, L"<failed>"},
        {day(2026, 3, 7), DATE_SHORTDATE, L"d", L"<failed>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text(c.date, c.flags, c.picture), c.expected) << c.expected;
}

TEST(DateFormat, AsksForTheSizeAndRefusesAShortBuffer) {
    const SYSTEMTIME d = day(2026, 12, 10);
    EXPECT_EQ(GetDateFormatW(0x0400, DATE_SHORTDATE, &d, nullptr, nullptr, 0), 11);
    wchar_t small[5] = {};
    EXPECT_EQ(GetDateFormatW(0x0400, DATE_SHORTDATE, &d, nullptr, small, 5), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

} // namespace

TEST(CalendarTime, SecondsSince1970AgreeWithTheCRuntimeAndAreStoredWhenAsked) {
    std::int64_t stored = 0;
    const std::int64_t before = static_cast<std::int64_t>(std::time(nullptr));
    const std::int64_t now = _time64(&stored);
    const std::int64_t after = static_cast<std::int64_t>(std::time(nullptr));
    EXPECT_EQ(stored, now);
    EXPECT_GE(now, before);
    EXPECT_LE(now, after);
}
