// How a popup menu is laid out and painted.
#include "menus.h"

#include <algorithm>

namespace pal::win::menus {
namespace {

constexpr LONG kItemHeight = 22;
constexpr LONG kSeparatorHeight = 9;
constexpr LONG kCheckColumn = 28; // room for a check mark left of the text
constexpr LONG kArrowColumn = 24; // room for a submenu's arrow right of the text
constexpr LONG kShortcutGap = 24; // between the text and the shortcut after the tab
constexpr LONG kBorder = 2;

// The system's menu font, made once for the process; its bold copy writes a menu's default item.
HFONT menuFont(bool bold = false) {
    static const auto made = [](bool heavy) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        if (heavy)
            metrics.lfMenuFont.lfWeight = FW_BOLD;
        return CreateFontIndirectW(&metrics.lfMenuFont);
    };
    static const HFONT regular = made(false);
    static const HFONT heavy = made(true);
    return bold ? heavy : regular;
}

// The size a line of menu text takes in the menu font.
SIZE textSize(const std::wstring& text, bool bold = false) {
    SIZE size{0, 16};
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, menuFont(bold));
    if (!text.empty())
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    return size;
}

enum class Align { Left, Right };

// One line of item text, its mnemonic underlined, vertically centred in `r`, in the DC's text
// colour; what does not fit ends in an ellipsis.
void drawText(HDC dc, const std::wstring& text, const RECT& r, Align align, bool bold = false) {
    RECT box = r;
    const HGDIOBJ old = SelectObject(dc, menuFont(bold));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | (align == Align::Right ? DT_RIGHT : DT_LEFT));
    SelectObject(dc, old);
}

void fill(HDC dc, const RECT& r, COLORREF color) {
    HBRUSH b = CreateSolidBrush(color);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

void line(HDC dc, int x0, int y0, int x1, int y1, COLORREF color, int width = 1) {
    HPEN pen = CreatePen(PS_SOLID, width, color);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, old);
    DeleteObject(pen);
}

// A check mark, or a dot for a radio item, centred in the check column.
void check(HDC dc, const RECT& item, bool radio, COLORREF ink) {
    const int cx = item.left + kCheckColumn / 2, cy = (item.top + item.bottom) / 2;
    if (radio) {
        HBRUSH b = CreateSolidBrush(ink);
        HGDIOBJ oldBrush = SelectObject(dc, b);
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        Ellipse(dc, cx - 3, cy - 3, cx + 4, cy + 4);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(b);
        return;
    }
    const POINT mark[] = {{cx - 4, cy}, {cx - 1, cy + 3}, {cx + 5, cy - 3}};
    for (int d = 0; d < 2; ++d) {
        const POINT shifted[] = {
            {mark[0].x, mark[0].y + d}, {mark[1].x, mark[1].y + d}, {mark[2].x, mark[2].y + d}};
        HPEN pen = CreatePen(PS_SOLID, 1, ink);
        HGDIOBJ old = SelectObject(dc, pen);
        Polyline(dc, shifted, 3);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
}

// The arrow of an item that opens a submenu.
void arrow(HDC dc, const RECT& item, COLORREF ink) {
    const int x = item.right - kArrowColumn / 2 - 2, cy = (item.top + item.bottom) / 2;
    const POINT tip[] = {{x, cy - 4}, {x + 4, cy}, {x, cy + 4}};
    HBRUSH b = CreateSolidBrush(ink);
    HPEN p = CreatePen(PS_SOLID, 1, ink);
    HGDIOBJ oldBrush = SelectObject(dc, b);
    HGDIOBJ oldPen = SelectObject(dc, p);
    Polygon(dc, tip, 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(p);
    DeleteObject(b);
}

std::wstring shortcutOf(const std::wstring& text) {
    const size_t tab = text.find(L'\t');
    return tab == std::wstring::npos ? std::wstring() : text.substr(tab + 1);
}

} // namespace

void layout(Level& level, SIZE limit) {
    LONG textWidth = 0, shortcutWidth = 0, y = kBorder;
    level.rects.clear();
    for (const Item& it : level.items) {
        const LONG h =
            it.separator() ? kSeparatorHeight : std::max(kItemHeight, textSize(shownText(it.text)).cy + 6);
        level.rects.push_back(RECT{kBorder, y, 0, y + h});
        y += h;
        if (!it.separator()) {
            const bool bold = (it.state & MFS_DEFAULT) != 0;
            textWidth = std::max(textWidth, textSize(shownText(it.text), bold).cx);
            shortcutWidth = std::max(shortcutWidth, textSize(shortcutOf(it.text), bold).cx);
        }
    }
    // A text of any length fits in the screen's width; what does not fit is cut when painted.
    LONG width = kCheckColumn + textWidth + (shortcutWidth ? kShortcutGap + shortcutWidth : 0) + kArrowColumn;
    width = std::min(width + 2 * kBorder, std::max<LONG>(limit.cx, 64));
    for (RECT& r : level.rects)
        r.right = width - kBorder;
    level.size = SIZE{width, std::min(y + kBorder, std::max<LONG>(limit.cy, kItemHeight))};
}

void paint(HDC dc, const Level& level) {
    const RECT all{0, 0, level.size.cx, level.size.cy};
    fill(dc, all, GetSysColor(COLOR_MENU));
    // The popup's edge: raised, as a menu stands above what it covers.
    RECT edge = all;
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    for (size_t i = 0; i < level.items.size() && i < level.rects.size(); ++i) {
        const Item& it = level.items[i];
        const RECT& r = level.rects[i];
        if (it.separator()) {
            const int y = (r.top + r.bottom) / 2;
            line(dc, r.left + 2, y - 1, r.right - 2, y - 1, GetSysColor(COLOR_BTNSHADOW));
            line(dc, r.left + 2, y, r.right - 2, y, GetSysColor(COLOR_BTNHIGHLIGHT));
            continue;
        }
        const bool selected = static_cast<int>(i) == level.selected;
        if (selected)
            fill(dc, r, GetSysColor(COLOR_HIGHLIGHT));
        const COLORREF ink = GetSysColor(it.disabled() ? COLOR_GRAYTEXT
                                         : selected    ? COLOR_HIGHLIGHTTEXT
                                                       : COLOR_MENUTEXT);
        SetTextColor(dc, ink);
        SetBkMode(dc, TRANSPARENT);
        if (it.state & MFS_CHECKED)
            check(dc, r, (it.type & MFT_RADIOCHECK) != 0, ink);
        RECT text{r.left + kCheckColumn, r.top, r.right - kArrowColumn, r.bottom};
        // The default item, what a double click would do, stands out in bold.
        const bool bold = (it.state & MFS_DEFAULT) != 0;
        drawText(dc, it.text.substr(0, it.text.find(L'\t')), text, Align::Left, bold);
        if (const std::wstring shortcut = shortcutOf(it.text); !shortcut.empty())
            drawText(dc, shortcut, text, Align::Right, bold);
        if (it.sub)
            arrow(dc, r, ink);
    }
}

} // namespace pal::win::menus
