// How the scroll bar control, the progress bar and the month calendar look.
#include "calendar_layout.h"
#include "paint.h"

#include <algorithm>

namespace pal::ctl {
namespace {

void raisedButton(HDC dc, RECT r) {
    fill(dc, r, COLOR_3DFACE);
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
}

COLORREF orDefault(COLORREF c, int sysColor) {
    return c == 0xFF000000 ? GetSysColor(sysColor) : c;
}

void fillColor(HDC dc, const RECT& r, COLORREF color) {
    const HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

const wchar_t* const kMonths[] = {L"January",   L"February", L"March",    L"April",
                                  L"May",       L"June",     L"July",     L"August",
                                  L"September", L"October",  L"November", L"December"};
const wchar_t* const kDays[] = {L"Mo", L"Tu", L"We", L"Th", L"Fr", L"Sa", L"Su"};

} // namespace

void paintScrollBar(HDC dc, const RECT& area, const ScrollLook& look) {
    RECT r = area;
    fill(dc, r, COLOR_SCROLLBAR);
    const int length = look.vertical ? r.bottom - r.top : r.right - r.left;
    const auto along = [&](int from, int to) {
        return look.vertical ? RECT{r.left, r.top + from, r.right, r.top + to}
                             : RECT{r.left + from, r.top, r.left + to, r.bottom};
    };
    const COLORREF arrow = GetSysColor(look.enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    const RECT first = along(0, look.arrow), last = along(length - look.arrow, length);
    raisedButton(dc, first);
    raisedButton(dc, last);
    triangle(dc, first, look.vertical ? 0 : 2,
             (look.disabledArrows & ESB_DISABLE_UP) ? GetSysColor(COLOR_GRAYTEXT) : arrow);
    triangle(dc, last, look.vertical ? 1 : 3,
             (look.disabledArrows & ESB_DISABLE_DOWN) ? GetSysColor(COLOR_GRAYTEXT) : arrow);
    if (look.thumb > 0 && look.enabled)
        raisedButton(dc, along(look.thumbAt, look.thumbAt + look.thumb));
}

void paintProgress(HWND hwnd, HDC dc, const RECT& client, const ProgressLook& look) {
    (void)hwnd;
    RECT r = client;
    fillColor(dc, r, orDefault(look.background, COLOR_3DFACE));
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    InflateRect(&r, -1, -1);
    const COLORREF bar = orDefault(look.bar, COLOR_HIGHLIGHT);
    const int length = look.vertical ? r.bottom - r.top : r.right - r.left;
    if (length <= 0)
        return;
    int from = 0, to = 0;
    if (look.marquee) {
        const int block = std::max(8, length / 4);
        from = (look.marqueeOffset * length / 200) % (length + block) - block;
        to = from + block;
    } else if (look.high > look.low) {
        to =
            static_cast<int>(static_cast<long long>(length) * (look.pos - look.low) / (look.high - look.low));
    }
    from = std::clamp(from, 0, length);
    to = std::clamp(to, 0, length);
    // The classic bar is drawn in blocks with gaps between them.
    const int thickness = look.vertical ? r.right - r.left : r.bottom - r.top;
    const int block = std::max(4, thickness * 2 / 3), gap = 2;
    for (int at = from; at < to; at += block + gap) {
        const int end = std::min(to, at + block);
        const RECT piece = look.vertical ? RECT{r.left, r.bottom - end, r.right, r.bottom - at}
                                         : RECT{r.left + at, r.top, r.left + end, r.bottom};
        fillColor(dc, piece, bar);
    }
}

void paintCalendar(HWND hwnd, HDC dc, const RECT& client, const CalendarLook& look) {
    using namespace calendar;
    (void)hwnd;
    fill(dc, client, COLOR_WINDOW);
    const Layout l = layoutOf(client, lineHeight(look.font));
    SetBkMode(dc, TRANSPARENT);
    // The title: month and year between the arrows that change the month.
    fill(dc, l.title, COLOR_ACTIVECAPTION);
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    const std::wstring title =
        std::wstring(kMonths[look.shown.wMonth - 1]) + L" " + std::to_wstring(look.shown.wYear);
    RECT t = l.title;
    DrawTextW(dc, title.c_str(), -1, &t, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    triangle(dc, l.prev, 2, GetSysColor(COLOR_CAPTIONTEXT));
    triangle(dc, l.next, 3, GetSysColor(COLOR_CAPTIONTEXT));
    // The names of the days, from the first day of the week.
    SetTextColor(dc, GetSysColor(COLOR_ACTIVECAPTION));
    for (int c = 0; c < 7; ++c) {
        RECT cell{l.grid.left + c * l.cellWidth, l.names.top, l.grid.left + (c + 1) * l.cellWidth,
                  l.names.bottom};
        DrawTextW(dc, kDays[(look.firstDay + c) % 7], -1, &cell, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
    const RECT line{l.grid.left, l.names.bottom, l.grid.right, l.names.bottom + 1};
    fill(dc, line, COLOR_3DSHADOW);
    const long selected = dayNumber(look.selected), today = dayNumber(look.today);
    for (int cell = 0; cell < 42; ++cell) {
        const SYSTEMTIME d = cellDate(look.shown.wYear, look.shown.wMonth, look.firstDay, cell);
        RECT r{l.grid.left + (cell % 7) * l.cellWidth, l.grid.top + (cell / 7) * l.cellHeight, 0, 0};
        r.right = r.left + l.cellWidth;
        r.bottom = r.top + l.cellHeight;
        const bool inMonth = d.wMonth == look.shown.wMonth;
        const bool isSelected = dayNumber(d) == selected;
        if (isSelected) {
            fill(dc, r, COLOR_HIGHLIGHT);
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            SetTextColor(dc, GetSysColor(inMonth ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        }
        const std::wstring number = std::to_wstring(d.wDay);
        DrawTextW(dc, number.c_str(), -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        if (dayNumber(d) == today && look.showToday) {
            const HBRUSH red = CreateSolidBrush(RGB(192, 0, 0));
            FrameRect(dc, &r, red);
            DeleteObject(red);
        }
        if (isSelected && look.focused) {
            RECT focus = r;
            InflateRect(&focus, -1, -1);
            DrawFocusRect(dc, &focus);
        }
    }
    if (look.showToday) {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        wchar_t text[32];
        swprintf_s(text, 32, L"Today: %02d.%02d.%04d", look.today.wDay, look.today.wMonth, look.today.wYear);
        RECT r = l.today;
        r.left += 8;
        DrawTextW(dc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
}

} // namespace pal::ctl
