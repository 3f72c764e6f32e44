// The face of this library's own dialogs, the message box icons, and text measured in the
// dialog font.
#include "modal_paint.h"

#include "win/gdi.h"

namespace pal::controls {
namespace {

void fill(HDC dc, const RECT& r, COLORREF color) {
    HBRUSH b = CreateSolidBrush(color);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

// A closed shape of points, filled with `inside` and outlined with `outline`.
void shape(HDC dc, const POINT* points, int count, COLORREF inside, COLORREF outline) {
    HBRUSH b = CreateSolidBrush(inside);
    HPEN p = CreatePen(PS_SOLID, 1, outline);
    HGDIOBJ oldBrush = SelectObject(dc, b);
    HGDIOBJ oldPen = SelectObject(dc, p);
    Polygon(dc, points, count);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(p);
    DeleteObject(b);
}

void disc(HDC dc, const RECT& r, COLORREF inside, COLORREF outline) {
    HBRUSH b = CreateSolidBrush(inside);
    HPEN p = CreatePen(PS_SOLID, 1, outline);
    HGDIOBJ oldBrush = SelectObject(dc, b);
    HGDIOBJ oldPen = SelectObject(dc, p);
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(p);
    DeleteObject(b);
}

COLORREF face() {
    return GetSysColor(COLOR_BTNFACE);
}

} // namespace

SIZE measureText(HDC, const std::wstring& text, LONG width, bool wrap) {
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    // A word longer than the width is broken too, as an edit control breaks it.
    RECT r{0, 0, wrap && width > 0 ? width : 0x7FFF, 0};
    DrawTextW(dc, text.c_str(), -1, &r,
              DT_CALCRECT | DT_NOPREFIX | (wrap ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE));
    if (wrap && width > 0 && r.right > width)
        r.right = width;
    SelectObject(dc, old);
    DeleteDC(dc);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void paintDialog(HDC dc, HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    fill(dc, r, face());
}

void paintBoxIcon(HDC dc, UINT kind, POINT at) {
    const RECT box{at.x, at.y, at.x + 32, at.y + 32};
    const COLORREF white = RGB(255, 255, 255);
    switch (kind) {
    case MB_ICONERROR: {
        // A red disc with a white cross.
        disc(dc, box, RGB(200, 30, 30), RGB(140, 10, 10));
        HPEN pen = CreatePen(PS_SOLID, 3, white);
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, at.x + 10, at.y + 10, nullptr);
        LineTo(dc, at.x + 22, at.y + 22);
        MoveToEx(dc, at.x + 22, at.y + 10, nullptr);
        LineTo(dc, at.x + 10, at.y + 22);
        SelectObject(dc, old);
        DeleteObject(pen);
        break;
    }
    case MB_ICONWARNING: {
        // A yellow triangle with a black exclamation mark.
        const POINT triangle[] = {{at.x + 16, at.y + 1}, {at.x + 31, at.y + 30}, {at.x + 1, at.y + 30}};
        shape(dc, triangle, 3, RGB(250, 210, 40), RGB(120, 90, 0));
        fill(dc, RECT{at.x + 15, at.y + 10, at.x + 18, at.y + 22}, RGB(0, 0, 0));
        fill(dc, RECT{at.x + 15, at.y + 24, at.x + 18, at.y + 27}, RGB(0, 0, 0));
        break;
    }
    case MB_ICONINFORMATION: {
        // A blue disc with a white "i".
        disc(dc, box, RGB(30, 90, 200), RGB(10, 50, 140));
        fill(dc, RECT{at.x + 14, at.y + 7, at.x + 18, at.y + 11}, white);
        fill(dc, RECT{at.x + 14, at.y + 13, at.x + 18, at.y + 25}, white);
        break;
    }
    case MB_ICONQUESTION: {
        // A blue disc with a white question mark.
        disc(dc, box, RGB(30, 90, 200), RGB(10, 50, 140));
        HPEN pen = CreatePen(PS_SOLID, 3, white);
        HGDIOBJ old = SelectObject(dc, pen);
        const POINT hook[] = {{at.x + 11, at.y + 12}, {at.x + 12, at.y + 9},  {at.x + 16, at.y + 7},
                              {at.x + 20, at.y + 9},  {at.x + 21, at.y + 12}, {at.x + 19, at.y + 15},
                              {at.x + 16, at.y + 17}, {at.x + 16, at.y + 20}};
        Polyline(dc, hook, 8);
        SelectObject(dc, old);
        DeleteObject(pen);
        fill(dc, RECT{at.x + 15, at.y + 23, at.x + 18, at.y + 26}, white);
        break;
    }
    default:
        break;
    }
}

} // namespace pal::controls
