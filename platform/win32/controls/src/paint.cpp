// How the controls look: the classic raised buttons with the default button's dark frame,
// sunken edit and list boxes, the dialog's face, and the message box icons.
#include "paint.h"

#include <algorithm>

namespace pal::controls {
namespace {

enum class Align { Left, Center, Right };

// Draws text in `r` in the DC's text colour, a mnemonic underlined unless `noPrefix`; wrapped at
// words when `wrap`, else one line centred vertically. The one place the text layer's DrawTextW
// takes over (DT_WORDBREAK or DT_SINGLELINE | DT_VCENTER, DT_LEFT / DT_CENTER / DT_RIGHT,
// DT_NOPREFIX, DT_END_ELLIPSIS on one line).
void drawText(HDC, const std::wstring&, const RECT&, Align, bool /*wrap*/, bool /*noPrefix*/) {}

void fill(HDC dc, const RECT& r, COLORREF color) {
    HBRUSH b = CreateSolidBrush(color);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

void frame(HDC dc, const RECT& r, COLORREF color) {
    HBRUSH b = CreateSolidBrush(color);
    FrameRect(dc, &r, b);
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

void checkMark(HDC dc, int x, int y, COLORREF ink) {
    HPEN pen = CreatePen(PS_SOLID, 1, ink);
    HGDIOBJ old = SelectObject(dc, pen);
    for (int d = 0; d < 3; ++d) {
        const POINT mark[] = {{x, y + 2 + d}, {x + 2, y + 4 + d}, {x + 7, y - 1 + d}};
        Polyline(dc, mark, 3);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

DWORD styleOf(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

// The parent's face behind a control that does not cover itself.
COLORREF face() {
    return GetSysColor(COLOR_BTNFACE);
}

} // namespace

SIZE measureText(HDC, const std::wstring& text, LONG width, bool wrap) {
    // Until the text layer measures with the dialog font: 7 pixels a character, 16 a line.
    constexpr LONG kChar = 7, kLine = 16;
    const LONG natural = static_cast<LONG>(text.size()) * kChar;
    if (!wrap || width <= 0 || natural <= width)
        return SIZE{natural, kLine};
    const LONG lines = (natural + width - 1) / width;
    return SIZE{width, lines * kLine};
}

void paintButton(HDC dc, HWND hwnd, DWORD type, LONG_PTR state) {
    RECT r{};
    GetClientRect(hwnd, &r);
    const bool enabled = IsWindowEnabled(hwnd);
    const bool pushed = (state & BST_PUSHED) != 0;
    const bool focused = (state & BST_FOCUS) != 0;
    const std::wstring text = windowText(hwnd);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));

    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
        fill(dc, r, face());
        RECT edge = r;
        // The default button wears a dark frame around its raised edge.
        if (type == BS_DEFPUSHBUTTON) {
            frame(dc, edge, GetSysColor(COLOR_WINDOWFRAME));
            InflateRect(&edge, -1, -1);
        }
        if (pushed) {
            frame(dc, edge, GetSysColor(COLOR_BTNSHADOW));
        } else {
            DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
        }
        RECT label = r;
        if (pushed)
            OffsetRect(&label, 1, 1);
        drawText(dc, text, label, Align::Center, false, false);
        if (focused) {
            RECT f = r;
            InflateRect(&f, -4, -4);
            DrawFocusRect(dc, &f);
        }
        return;
    }
    fill(dc, r, face());
    if (type == BS_GROUPBOX) {
        RECT box{r.left, r.top + 7, r.right, r.bottom};
        DrawEdge(dc, &box, EDGE_ETCHED, BF_RECT);
        RECT label{r.left + 8, r.top, r.right - 8, r.top + 16};
        drawText(dc, text, label, Align::Left, false, false);
        return;
    }
    // Check boxes and radio buttons: the box or circle at the left, the text after it.
    const int y = (r.top + r.bottom) / 2 - 6;
    const RECT box{r.left, y, r.left + 13, y + 13};
    const bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    const int check = static_cast<int>(state & 3);
    const COLORREF ink = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    if (radio) {
        disc(dc, box, GetSysColor(pushed ? COLOR_BTNFACE : COLOR_WINDOW), GetSysColor(COLOR_BTNSHADOW));
        if (check == BST_CHECKED)
            disc(dc, RECT{box.left + 4, box.top + 4, box.right - 4, box.bottom - 4}, ink, ink);
    } else {
        RECT b = box;
        fill(dc, b, GetSysColor(check == BST_INDETERMINATE || pushed ? COLOR_BTNFACE : COLOR_WINDOW));
        DrawEdge(dc, &b, EDGE_SUNKEN, BF_RECT);
        if (check != BST_UNCHECKED)
            checkMark(dc, box.left + 3, box.top + 4,
                      check == BST_INDETERMINATE ? GetSysColor(COLOR_GRAYTEXT) : ink);
    }
    RECT label{box.right + 5, r.top, r.right, r.bottom};
    drawText(dc, text, label, Align::Left, false, false);
    if (focused && !text.empty()) {
        RECT f = label;
        f.right = std::min<LONG>(r.right, label.left + measureText(dc, text, 0, false).cx + 2);
        DrawFocusRect(dc, &f);
    }
}

void paintEdit(HDC dc, HWND hwnd, const std::wstring& text, size_t selFrom, size_t selTo, bool focused) {
    RECT r{};
    GetClientRect(hwnd, &r);
    const DWORD style = styleOf(hwnd);
    const bool enabled = IsWindowEnabled(hwnd);
    fill(dc, r, GetSysColor(enabled && !(style & ES_READONLY) ? COLOR_WINDOW : COLOR_BTNFACE));
    // The border or the sunken edge is the window's frame; the text keeps a little off it.
    RECT inner = r;
    inner.left += 2;
    inner.right -= 2;
    // The text scrolls so that the caret stays in view.
    const LONG caretX = measureText(dc, text.substr(0, selTo), 0, false).cx;
    const LONG width = inner.right - inner.left;
    const LONG scroll = caretX > width - 2 ? caretX - width + 2 : 0;
    const std::wstring shown = (style & ES_PASSWORD) ? std::wstring(text.size(), L'*') : text;
    if (focused && selFrom != selTo) {
        const LONG from = measureText(dc, shown.substr(0, selFrom), 0, false).cx - scroll;
        const LONG to = measureText(dc, shown.substr(0, selTo), 0, false).cx - scroll;
        fill(dc,
             RECT{std::max(inner.left, inner.left + from), inner.top + 1,
                  std::min(inner.right, inner.left + to), inner.bottom - 1},
             GetSysColor(COLOR_HIGHLIGHT));
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    RECT textRect{inner.left - scroll, inner.top, inner.right, inner.bottom};
    drawText(dc, shown, textRect, Align::Left, false, true);
    if (focused) {
        const int x = inner.left + caretX - scroll;
        RECT caret{x, inner.top + 2, x + 1, inner.bottom - 2};
        fill(dc, caret, GetSysColor(COLOR_WINDOWTEXT));
    }
}

void paintList(HDC dc, HWND hwnd, const ListState& state, bool focused) {
    RECT r{};
    GetClientRect(hwnd, &r);
    const bool enabled = IsWindowEnabled(hwnd);
    fill(dc, r, GetSysColor(COLOR_WINDOW));
    const RECT inner = r;
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = static_cast<size_t>(std::max(0, state.top)); i < state.items.size(); ++i) {
        const LONG top = inner.top + static_cast<LONG>(i - static_cast<size_t>(state.top)) * kListItemHeight;
        if (top >= inner.bottom)
            break;
        const RECT row{inner.left, top, inner.right, std::min(inner.bottom, top + kListItemHeight)};
        const bool selected = state.items[i].selected;
        if (selected)
            fill(dc, row, GetSysColor(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(!enabled   ? COLOR_GRAYTEXT
                                     : selected ? COLOR_HIGHLIGHTTEXT
                                                : COLOR_WINDOWTEXT));
        RECT text{row.left + 3, row.top, row.right - 2, row.bottom};
        drawText(dc, state.items[i].text, text, Align::Left, false, true);
        if (focused && static_cast<int>(i) == state.caret)
            DrawFocusRect(dc, &row);
    }
}

void paintStatic(HDC dc, HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    fill(dc, r, face());
    const DWORD style = styleOf(hwnd);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    const Align align = (style & 3) == SS_CENTER  ? Align::Center
                        : (style & 3) == SS_RIGHT ? Align::Right
                                                  : Align::Left;
    drawText(dc, windowText(hwnd), r, align, true, (style & SS_NOPREFIX) != 0);
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
