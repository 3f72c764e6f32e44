// The month calendar's dates and where its parts lie, shared by its behaviour and its painting.
#pragma once

#include "win/user.h"

namespace pal::ctl::calendar {

bool leapYear(int year);
int daysInMonth(int year, int month);
// 0 = Sunday .. 6 = Saturday.
int dayOfWeek(int year, int month, int day);
bool validDate(const SYSTEMTIME& t);
// Whole days since a fixed day, for comparing and stepping dates.
long dayNumber(const SYSTEMTIME& t);
SYSTEMTIME fromDayNumber(long n);
SYSTEMTIME date(int year, int month, int day);

struct Layout {
    RECT title;
    RECT prev;
    RECT next;
    RECT names;
    RECT grid;
    RECT today;
    int cellWidth;
    int cellHeight;
};
Layout layoutOf(const RECT& client, int lineHeight);

// The date in the grid's cell (0..41) for a month on view whose weeks start on `firstDay`
// (0 = Monday .. 6 = Sunday, as MCM_SETFIRSTDAYOFWEEK counts).
SYSTEMTIME cellDate(int year, int month, int firstDay, int cell);

} // namespace pal::ctl::calendar
