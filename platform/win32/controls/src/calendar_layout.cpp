#include "calendar_layout.h"

#include <algorithm>

namespace pal::ctl::calendar {

bool leapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return kDays[month - 1] + (month == 2 && leapYear(year) ? 1 : 0);
}

// Days from the civil calendar's 1 March of year 0, so that leap days fall at the end of a year.
long dayNumber(const SYSTEMTIME& t) {
    long y = t.wYear;
    const long m = t.wMonth;
    if (m <= 2)
        --y;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yearOfEra = y - era * 400;
    const long dayOfYear = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + t.wDay - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}

SYSTEMTIME fromDayNumber(long n) {
    const long era = (n >= 0 ? n : n - 146096) / 146097;
    const long dayOfEra = n - era * 146097;
    const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long mp = (5 * dayOfYear + 2) / 153;
    const long day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const long month = mp < 10 ? mp + 3 : mp - 9;
    const long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return date(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
}

int dayOfWeek(int year, int month, int day) {
    // 1 March of year 0 was a Wednesday.
    const long n = dayNumber(
        SYSTEMTIME{static_cast<WORD>(year), static_cast<WORD>(month), 0, static_cast<WORD>(day), 0, 0, 0, 0});
    return static_cast<int>(((n % 7) + 7 + 3) % 7);
}

bool validDate(const SYSTEMTIME& t) {
    return t.wYear >= 1601 && t.wYear <= 30827 && t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 &&
           t.wDay <= daysInMonth(t.wYear, t.wMonth);
}

SYSTEMTIME date(int year, int month, int day) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wDayOfWeek = static_cast<WORD>(dayOfWeek(year, month, day));
    return t;
}

Layout layoutOf(const RECT& client, int lineHeight) {
    Layout l{};
    const int width = client.right - client.left;
    const int row = std::max(lineHeight + 4, 8);
    l.title = RECT{client.left, client.top, client.right, client.top + row + 6};
    l.prev = RECT{client.left + 4, client.top + 3, client.left + 4 + row, client.top + 3 + row};
    l.next = RECT{client.right - 4 - row, client.top + 3, client.right - 4, client.top + 3 + row};
    l.names = RECT{client.left, l.title.bottom, client.right, l.title.bottom + row};
    l.cellWidth = std::max(1, width / 7);
    l.cellHeight = row;
    const int gridLeft = client.left + (width - 7 * l.cellWidth) / 2;
    l.grid = RECT{gridLeft, l.names.bottom + 2, gridLeft + 7 * l.cellWidth, l.names.bottom + 2 + 6 * row};
    l.today = RECT{client.left, l.grid.bottom + 2, client.right, l.grid.bottom + 2 + row};
    return l;
}

SYSTEMTIME cellDate(int year, int month, int firstDay, int cell) {
    // Monday-based index of the first of the month.
    const int first = (dayOfWeek(year, month, 1) + 6) % 7;
    int lead = (first - firstDay + 7) % 7;
    if (lead == 0)
        lead = 7; // a whole week of the month before, as the platform shows
    return fromDayNumber(dayNumber(date(year, month, 1)) - lead + cell);
}

} // namespace pal::ctl::calendar
