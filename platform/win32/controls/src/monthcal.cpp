// "SysMonthCal32": one month on view, a selected day picked by mouse or keys (MCN_SELCHANGE,
// then MCN_SELECT for a deliberate pick), today's date, and an optional range of allowed dates.
#include "calendar_layout.h"
#include "control.h"
#include "paint.h"

#include <algorithm>
#include <optional>

namespace pal::ctl {
namespace {

using namespace calendar;

struct Calendar {
    SYSTEMTIME selected{};
    SYSTEMTIME today{};
    int year = 2000, month = 1; // on view
    int firstDay = 0;           // 0 = Monday
    bool firstDaySet = false;
    std::optional<SYSTEMTIME> min, max;
    bool focused = false;
    HFONT font = nullptr;
};

SYSTEMTIME dateOnly(const SYSTEMTIME& t) {
    return date(t.wYear, t.wMonth, t.wDay);
}

bool allowed(const Calendar& c, const SYSTEMTIME& t) {
    const long n = dayNumber(t);
    return (!c.min || n >= dayNumber(*c.min)) && (!c.max || n <= dayNumber(*c.max));
}

void show(HWND hwnd, Calendar& c, int year, int month) {
    while (month < 1) {
        month += 12;
        --year;
    }
    while (month > 12) {
        month -= 12;
        ++year;
    }
    c.year = std::clamp(year, 1601, 30827);
    c.month = month;
    InvalidateRect(hwnd, nullptr, FALSE);
}

void tell(HWND hwnd, const Calendar& c, UINT code) {
    NMSELCHANGE n{};
    n.stSelStart = n.stSelEnd = c.selected;
    notify(hwnd, code, &n.nmhdr);
}

// The person moved the selection to `t`: MCN_SELCHANGE, then MCN_SELECT when it was a pick.
void pick(HWND hwnd, Calendar& c, SYSTEMTIME t, bool deliberate) {
    t = dateOnly(t);
    if (!validDate(t) || !allowed(c, t))
        return;
    const bool changed = dayNumber(t) != dayNumber(c.selected);
    c.selected = t;
    if (t.wYear != c.year || t.wMonth != c.month)
        show(hwnd, c, t.wYear, t.wMonth);
    InvalidateRect(hwnd, nullptr, FALSE);
    if (changed || deliberate)
        tell(hwnd, c, MCN_SELCHANGE);
    if (deliberate)
        tell(hwnd, c, MCN_SELECT);
}

Layout layout(HWND hwnd, const Calendar& c) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return layoutOf(r, lineHeight(c.font));
}

UINT hitTest(HWND hwnd, const Calendar& c, POINT p, SYSTEMTIME* at) {
    const Layout l = layout(hwnd, c);
    if (PtInRect(&l.prev, p))
        return MCHT_TITLEBTNPREV;
    if (PtInRect(&l.next, p))
        return MCHT_TITLEBTNNEXT;
    if (PtInRect(&l.title, p))
        return MCHT_TITLE;
    if (PtInRect(&l.grid, p)) {
        const int cell = (p.y - l.grid.top) / l.cellHeight * 7 + (p.x - l.grid.left) / l.cellWidth;
        const SYSTEMTIME t = cellDate(c.year, c.month, c.firstDay, std::clamp(cell, 0, 41));
        if (at)
            *at = t;
        if (t.wMonth != c.month)
            return (dayNumber(t) < dayNumber(date(c.year, c.month, 1))) ? MCHT_CALENDARDATEPREV
                                                                        : MCHT_CALENDARDATENEXT;
        return MCHT_CALENDARDATE;
    }
    if (!(GetWindowLongW(hwnd, GWL_STYLE) & MCS_NOTODAY) && PtInRect(&l.today, p))
        return MCHT_TODAYLINK;
    return MCHT_NOWHERE;
}

long step(WPARAM key) {
    switch (key) {
    case VK_LEFT:
        return -1;
    case VK_RIGHT:
        return 1;
    case VK_UP:
        return -7;
    case VK_DOWN:
        return 7;
    default:
        return 0;
    }
}

SYSTEMTIME addMonths(const SYSTEMTIME& t, int months) {
    int y = t.wYear, m = t.wMonth + months;
    while (m < 1) {
        m += 12;
        --y;
    }
    while (m > 12) {
        m -= 12;
        ++y;
    }
    return date(y, m, std::min<int>(t.wDay, daysInMonth(y, m)));
}

} // namespace

LRESULT monthCalProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Calendar* c = attachState<Calendar>(hwnd, message);
    if (!c)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE: {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        c->today = c->selected = dateOnly(now);
        c->year = now.wYear;
        c->month = now.wMonth;
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case MCM_GETCURSEL:
        if (!lParam || (GetWindowLongW(hwnd, GWL_STYLE) & MCS_MULTISELECT))
            return FALSE;
        *reinterpret_cast<SYSTEMTIME*>(lParam) = c->selected;
        return TRUE;
    case MCM_SETCURSEL: {
        const auto* t = reinterpret_cast<const SYSTEMTIME*>(lParam);
        if (!t || !validDate(*t) || !allowed(*c, *t) || (GetWindowLongW(hwnd, GWL_STYLE) & MCS_MULTISELECT))
            return FALSE;
        c->selected = dateOnly(*t);
        show(hwnd, *c, t->wYear, t->wMonth);
        return TRUE;
    }
    case MCM_GETTODAY:
        if (!lParam)
            return FALSE;
        *reinterpret_cast<SYSTEMTIME*>(lParam) = c->today;
        return TRUE;
    case MCM_SETTODAY: {
        const auto* t = reinterpret_cast<const SYSTEMTIME*>(lParam);
        if (t && validDate(*t))
            c->today = dateOnly(*t);
        else if (!t) {
            SYSTEMTIME now{};
            GetLocalTime(&now);
            c->today = dateOnly(now);
        }
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    }
    case MCM_SETRANGE: {
        const auto* range = reinterpret_cast<const SYSTEMTIME*>(lParam);
        if (!range && wParam)
            return FALSE;
        if (((wParam & GDTR_MIN) && !validDate(range[0])) || ((wParam & GDTR_MAX) && !validDate(range[1])))
            return FALSE;
        if ((wParam & GDTR_MIN) && (wParam & GDTR_MAX) && dayNumber(range[0]) > dayNumber(range[1]))
            return FALSE;
        c->min = (wParam & GDTR_MIN) ? std::optional<SYSTEMTIME>(dateOnly(range[0])) : std::nullopt;
        c->max = (wParam & GDTR_MAX) ? std::optional<SYSTEMTIME>(dateOnly(range[1])) : std::nullopt;
        // The selection is kept within the new range.
        if (c->min && dayNumber(c->selected) < dayNumber(*c->min))
            c->selected = *c->min;
        if (c->max && dayNumber(c->selected) > dayNumber(*c->max))
            c->selected = *c->max;
        InvalidateRect(hwnd, nullptr, FALSE);
        return TRUE;
    }
    case MCM_GETRANGE: {
        auto* range = reinterpret_cast<SYSTEMTIME*>(lParam);
        DWORD flags = 0;
        if (c->min) {
            flags |= GDTR_MIN;
            if (range)
                range[0] = *c->min;
        }
        if (c->max) {
            flags |= GDTR_MAX;
            if (range)
                range[1] = *c->max;
        }
        return flags;
    }
    case MCM_SETFIRSTDAYOFWEEK: {
        const LRESULT old = MAKELONG(static_cast<WORD>(c->firstDay), c->firstDaySet ? 1 : 0);
        if (static_cast<int>(lParam) >= 0 && lParam <= 6) {
            c->firstDay = static_cast<int>(lParam);
            c->firstDaySet = true;
        }
        InvalidateRect(hwnd, nullptr, FALSE);
        return old;
    }
    case MCM_GETFIRSTDAYOFWEEK:
        return MAKELONG(static_cast<WORD>(c->firstDay), c->firstDaySet ? 1 : 0);
    case MCM_GETMINREQRECT: {
        if (!lParam)
            return FALSE;
        const int row = lineHeight(c->font) + 4;
        const int cell = std::max(row, textWidth(c->font, L"00") + 10);
        *reinterpret_cast<RECT*>(lParam) = RECT{0, 0, 7 * cell, row + 6 + row + 2 + 6 * row + 2 + row};
        return TRUE;
    }
    case MCM_GETMONTHRANGE: {
        auto* range = reinterpret_cast<SYSTEMTIME*>(lParam);
        if (range) {
            if (wParam == GMR_DAYSTATE) {
                range[0] = cellDate(c->year, c->month, c->firstDay, 0);
                range[1] = cellDate(c->year, c->month, c->firstDay, 41);
            } else {
                range[0] = date(c->year, c->month, 1);
                range[1] = date(c->year, c->month, daysInMonth(c->year, c->month));
            }
        }
        return wParam == GMR_DAYSTATE ? 3 : 1;
    }
    case MCM_HITTEST: {
        auto* info = reinterpret_cast<MCHITTESTINFO*>(lParam);
        if (!info)
            return -1;
        info->uHit = hitTest(hwnd, *c, info->pt, &info->st);
        return info->uHit;
    }
    case WM_LBUTTONDOWN: {
        SetFocus(hwnd);
        SYSTEMTIME t{};
        switch (hitTest(hwnd, *c, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, &t)) {
        case MCHT_TITLEBTNPREV:
            show(hwnd, *c, c->year, c->month - 1);
            break;
        case MCHT_TITLEBTNNEXT:
            show(hwnd, *c, c->year, c->month + 1);
            break;
        case MCHT_CALENDARDATE:
        case MCHT_CALENDARDATEPREV:
        case MCHT_CALENDARDATENEXT:
            pick(hwnd, *c, t, true);
            break;
        case MCHT_TODAYLINK:
            pick(hwnd, *c, c->today, true);
            break;
        default:
            break;
        }
        return 0;
    }
    case WM_KEYDOWN: {
        SYSTEMTIME t = c->selected;
        if (const long d = step(wParam))
            t = fromDayNumber(dayNumber(t) + d);
        else if (wParam == VK_PRIOR || wParam == VK_NEXT)
            t = addMonths(t, wParam == VK_PRIOR ? -1 : 1);
        else if (wParam == VK_HOME)
            t = date(t.wYear, t.wMonth, 1);
        else if (wParam == VK_END)
            t = date(t.wYear, t.wMonth, daysInMonth(t.wYear, t.wMonth));
        else
            return 0;
        pick(hwnd, *c, t, false);
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        c->focused = message == WM_SETFOCUS;
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_SETFONT:
        c->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(c->font);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        CalendarLook look{date(c->year, c->month, 1),
                          c->selected,
                          c->today,
                          c->focused,
                          !(GetWindowLongW(hwnd, GWL_STYLE) & MCS_NOTODAY),
                          c->font,
                          c->firstDay};
        paintControl(hwnd, message, wParam, [&](HDC dc, const RECT& r) { paintCalendar(hwnd, dc, r, look); });
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace pal::ctl
