// Where a list view's items are in each view, and how they look. Only the items in view are
// measured, asked for or drawn, so a list of any length paints in the time of one page.
#include "listview_private.h"
#include "paint.h"
#include "win/controls/owner_draw.h"

#include <algorithm>

namespace pal::ctl::lv {
namespace {

// The control type an owner-drawn list view gives in its measure and draw requests.
constexpr UINT ODT_LISTVIEW = 102;

SIZE imageSize(HIMAGELIST list, int fallback) {
    int w = fallback, h = fallback;
    if (list)
        ImageList_GetIconSize(list, &w, &h);
    return SIZE{w, h};
}

void fillColor(HDC dc, const RECT& r, COLORREF color) {
    const HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

COLORREF solid(COLORREF c, int sysColor) {
    return c == CLR_NONE || c == CLR_DEFAULT ? GetSysColor(sysColor) : c;
}

int unitCount(const Layout& g, int n) {
    if (g.view == LV_VIEW_DETAILS)
        return n;
    const int per = g.view == LV_VIEW_LIST ? g.perColumn : g.perRow;
    return (n + per - 1) / per;
}

int unitsInView(const Layout& g) {
    const int h = g.client.bottom - g.client.top - g.headerH;
    switch (g.view) {
    case LV_VIEW_DETAILS:
        return std::max(1, h / g.rowH);
    case LV_VIEW_LIST:
        return std::max(1, (g.client.right - g.client.left) / g.cellW);
    default:
        return std::max(1, h / g.cellH);
    }
}

} // namespace

int fontHeightOf(ListView& l) {
    if (l.fontHeight <= 0)
        l.fontHeight = lineHeight(l.font);
    return l.fontHeight;
}

// An owner-drawn report's rows are as high as its parent says the first time it is asked.
static int ownerRowHeight(HWND hwnd, ListView& l, int fallback) {
    if (l.ownerRowHeight <= 0) {
        MEASUREITEMSTRUCT m{};
        m.CtlType = ODT_LISTVIEW;
        m.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
        m.itemHeight = static_cast<UINT>(fallback);
        SendMessageW(GetParent(hwnd), WM_MEASUREITEM, m.CtlID, reinterpret_cast<LPARAM>(&m));
        l.ownerRowHeight = m.itemHeight > 0 ? static_cast<int>(m.itemHeight) : fallback;
    }
    return l.ownerRowHeight;
}

Layout layoutOf(HWND hwnd, const ListView& l) {
    Layout g{};
    g.view = viewOf(l);
    GetClientRect(hwnd, &g.client);
    const int fh = fontHeightOf(const_cast<ListView&>(l));
    const SIZE small = imageSize(l.images[LVSIL_SMALL], 16);
    g.rowH = std::max<int>(fh, small.cy) + 4;
    if (g.view == LV_VIEW_DETAILS && (styleOf(hwnd) & LVS_OWNERDRAWFIXED))
        g.rowH = ownerRowHeight(hwnd, const_cast<ListView&>(l), g.rowH);
    g.headerH = g.view == LV_VIEW_DETAILS && !(styleOf(hwnd) & LVS_NOCOLUMNHEADER) ? fh + 8 : 0;
    if (g.view == LV_VIEW_ICON) {
        const SIZE big = imageSize(l.images[LVSIL_NORMAL], 32);
        g.cellW = std::max<int>(big.cx + 32, 76);
        g.cellH = big.cy + 10 + 2 * fh + 4;
    } else if (g.view == LV_VIEW_SMALLICON) {
        g.cellW = 150;
        g.cellH = g.rowH;
    } else {
        g.cellW = g.view == LV_VIEW_LIST ? 150 : 0;
        g.cellH = g.rowH;
    }
    g.perColumn = std::max(1, static_cast<int>(g.client.bottom - g.client.top) / g.rowH);
    g.perRow = g.cellW ? std::max(1, static_cast<int>(g.client.right - g.client.left) / g.cellW) : 1;
    return g;
}

RECT itemBounds(HWND, const ListView& l, const Layout& g, int index) {
    switch (g.view) {
    case LV_VIEW_DETAILS: {
        int width = 0;
        for (const Column& c : l.columns)
            width += c.width;
        if (l.columns.empty())
            width = g.client.right;
        const int y = g.headerH + (index - l.top) * g.rowH;
        return RECT{0, y, width, y + g.rowH};
    }
    case LV_VIEW_LIST: {
        const int x = (index / g.perColumn - l.top) * g.cellW, y = (index % g.perColumn) * g.rowH;
        return RECT{x, y, x + g.cellW, y + g.rowH};
    }
    default: {
        const int x = (index % g.perRow) * g.cellW, y = (index / g.perRow - l.top) * g.cellH;
        return RECT{x, y, x + g.cellW, y + g.cellH};
    }
    }
}

void visibleRange(HWND hwnd, const ListView& l, const Layout& g, int& first, int& last) {
    const int n = itemCount(l, hwnd);
    const int units = unitsInView(g) + 1; // a part-shown row or column counts
    int per = 1;
    if (g.view == LV_VIEW_LIST)
        per = g.perColumn;
    else if (g.view != LV_VIEW_DETAILS)
        per = g.perRow;
    first = std::min(n, l.top * per);
    last = std::min(n - 1, (l.top + units) * per - 1);
    if (g.view == LV_VIEW_DETAILS) {
        const int rows = (g.client.bottom - g.headerH + g.rowH - 1) / g.rowH;
        last = std::min(n - 1, l.top + std::max(0, rows) - 1);
    }
}

int rowsPerPage(HWND hwnd, const ListView& l) {
    const Layout g = layoutOf(hwnd, l);
    switch (g.view) {
    case LV_VIEW_DETAILS:
        return unitsInView(g);
    case LV_VIEW_LIST:
        return unitsInView(g) * g.perColumn;
    default:
        return unitsInView(g);
    }
}

int itemAtPoint(HWND hwnd, const ListView& l, POINT p, UINT* flags, int* subItem) {
    const Layout g = layoutOf(hwnd, l);
    if (flags)
        *flags = LVHT_NOWHERE;
    if (subItem)
        *subItem = 0;
    const int n = itemCount(l, hwnd);
    if (p.y < g.headerH) {
        if (flags)
            *flags = LVHT_ABOVE;
        return -1;
    }
    if (p.x < 0 || p.y < 0 || p.x >= g.client.right || p.y >= g.client.bottom) {
        if (flags)
            *flags = p.y >= g.client.bottom ? LVHT_BELOW : (p.x < 0 ? LVHT_TOLEFT : LVHT_TORIGHT);
        return -1;
    }
    long long index = -1;
    switch (g.view) {
    case LV_VIEW_DETAILS:
        index = l.top + static_cast<long long>((p.y - g.headerH) / g.rowH);
        break;
    case LV_VIEW_LIST:
        index = (static_cast<long long>(p.x / g.cellW) + l.top) * g.perColumn + p.y / g.rowH;
        if (p.y / g.rowH >= g.perColumn)
            index = -1;
        break;
    default:
        if (p.x / g.cellW >= g.perRow)
            return -1;
        index = (static_cast<long long>(p.y / g.cellH) + l.top) * g.perRow + p.x / g.cellW;
        break;
    }
    if (index < 0 || index >= n)
        return -1;
    const RECT b = itemBounds(hwnd, l, g, static_cast<int>(index));
    if (p.x >= b.right)
        return -1;
    if (flags) {
        const int checkW = (l.exStyle & LVS_EX_CHECKBOXES) && g.view != LV_VIEW_ICON ? 16 : 0;
        const bool onIcon =
            g.view == LV_VIEW_ICON ? p.y < b.bottom - 2 * g.rowH : p.x < b.left + checkW + g.rowH;
        *flags = p.x < b.left + checkW ? LVHT_ONITEMSTATEICON : onIcon ? LVHT_ONITEMICON : LVHT_ONITEMLABEL;
    }
    if (subItem && g.view == LV_VIEW_DETAILS) {
        int x = 0;
        for (size_t c = 0; c < l.columns.size(); ++c) {
            x += l.columns[c].width;
            if (p.x < x) {
                *subItem = static_cast<int>(c);
                break;
            }
        }
    }
    return static_cast<int>(index);
}

namespace {

// One question to the parent answers both the text and the image of an item it keeps.
void fetch(HWND hwnd, ListView& l, int index, int subItem, std::wstring* text, int* image) {
    const bool owner = ownerData(l);
    UINT mask = 0;
    if (text) {
        if (owner || (subItem == 0 && l.items[static_cast<size_t>(index)].textCallback))
            mask |= LVIF_TEXT;
        else if (subItem == 0)
            *text = l.items[static_cast<size_t>(index)].text;
        else {
            const auto& sub = l.items[static_cast<size_t>(index)].sub;
            *text = static_cast<size_t>(subItem) <= sub.size() ? sub[static_cast<size_t>(subItem - 1)] : L"";
        }
    }
    if (image) {
        if (owner || l.items[static_cast<size_t>(index)].image == I_IMAGECALLBACK)
            mask |= LVIF_IMAGE;
        else
            *image = l.items[static_cast<size_t>(index)].image;
    }
    if (!mask)
        return;
    wchar_t buffer[264] = {};
    NMLVDISPINFOW di{};
    di.item.mask = mask;
    di.item.iItem = index;
    di.item.iSubItem = subItem;
    di.item.pszText = buffer;
    di.item.cchTextMax = 260;
    di.item.lParam = owner ? 0 : l.items[static_cast<size_t>(index)].param;
    notify(hwnd, LVN_GETDISPINFOW, &di.hdr);
    if (text && (mask & LVIF_TEXT)) {
        // The parent may answer in our buffer or point at its own text.
        const wchar_t* answer = di.item.pszText && !isTextCallback(di.item.pszText) ? di.item.pszText : L"";
        *text = answer;
    }
    if (image && (mask & LVIF_IMAGE))
        *image = di.item.iImage;
}

} // namespace

std::wstring displayText(HWND hwnd, ListView& l, int index, int subItem) {
    std::wstring text;
    fetch(hwnd, l, index, subItem, &text, nullptr);
    return text;
}

int displayImage(HWND hwnd, ListView& l, int index) {
    int image = -1;
    fetch(hwnd, l, index, 0, nullptr, &image);
    return image;
}

UINT syncBarsMessage() {
    static const UINT message = RegisterWindowMessageW(L"DvListViewSyncScrollBar");
    return message;
}

void syncScrollBars(HWND hwnd, ListView& l) {
    l.barPending = false;
    updateScrollBars(hwnd, l, true);
}

void updateScrollBars(HWND hwnd, ListView& l, bool now) {
    static thread_local bool busy = false; // a bar appearing resizes the client area
    if (busy || (styleOf(hwnd) & LVS_NOSCROLL))
        return;
    busy = true;
    const Layout g = layoutOf(hwnd, l);
    const int units = unitCount(g, itemCount(l, hwnd));
    const int page = unitsInView(g);
    l.top = std::clamp(l.top, 0, std::max(0, units - page));
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = std::max(0, units - 1);
    si.nPage = static_cast<UINT>(page);
    si.nPos = l.top;
    const bool across = g.view == LV_VIEW_LIST;
    const bool show = units > page;
    // Only a change reaches the window: inserting many items asks this once per item.
    const bool same = l.barShown == show && l.shownBar.nMax == si.nMax && l.shownBar.nPage == si.nPage &&
                      l.shownBar.nPos == si.nPos && l.shownBar.fMask == (across ? 1u : 2u);
    if (!same && !now && show && show == l.barShown) {
        // Only the range or position moved: told once the current messages are done, so that
        // inserting many items sets the bar once.
        if (!l.barPending)
            l.barPending = PostMessageW(hwnd, syncBarsMessage(), 0, 0) != FALSE;
        if (l.barPending) {
            busy = false;
            return;
        }
    }
    if (!same) {
        l.barPending = false;
        if (show) {
            ShowScrollBar(hwnd, across ? SB_HORZ : SB_VERT, TRUE);
            SetScrollInfo(hwnd, across ? SB_HORZ : SB_VERT, &si, TRUE);
        } else {
            ShowScrollBar(hwnd, across ? SB_HORZ : SB_VERT, FALSE);
        }
        ShowScrollBar(hwnd, across ? SB_VERT : SB_HORZ, FALSE);
        l.barShown = show;
        l.shownBar = si;
        l.shownBar.fMask = across ? 1u : 2u; // which bar it was
        busy = false;
        layoutHeader(hwnd, l);
        return;
    }
    busy = false;
}

void layoutHeader(HWND hwnd, ListView& l) {
    if (!l.header)
        return;
    const Layout g = layoutOf(hwnd, l);
    SetWindowPos(l.header, nullptr, 0, 0, g.client.right, g.headerH, SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

struct ItemLook {
    COLORREF text, back;
    bool selected, focus;
};

LRESULT customDraw(HWND hwnd, DWORD stage, HDC dc, const RECT& r, int index, int subItem, UINT state,
                   LPARAM param, ItemLook* look) {
    NMLVCUSTOMDRAW cd{};
    cd.nmcd.dwDrawStage = stage;
    cd.nmcd.hdc = dc;
    cd.nmcd.rc = r;
    cd.nmcd.dwItemSpec = static_cast<DWORD_PTR>(index);
    cd.nmcd.uItemState = state;
    cd.nmcd.lItemlParam = param;
    cd.iSubItem = subItem;
    if (look) {
        cd.clrText = look->text;
        cd.clrTextBk = look->back;
    }
    const LRESULT result = notify(hwnd, NM_CUSTOMDRAW, &cd.nmcd.hdr);
    if (look) {
        look->text = cd.clrText;
        look->back = cd.clrTextBk;
    }
    return result;
}

void drawCheck(HDC dc, const RECT& r, bool checked) {
    RECT box{r.left + 2, (r.top + r.bottom) / 2 - 6, r.left + 15, (r.top + r.bottom) / 2 + 7};
    fillColor(dc, box, RGB(255, 255, 255));
    FrameRect(dc, &box, GetSysColorBrush(COLOR_WINDOWTEXT));
    if (checked) {
        const HPEN pen = CreatePen(PS_SOLID, 2, GetSysColor(COLOR_WINDOWTEXT));
        const HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, box.left + 3, box.top + 6, nullptr);
        LineTo(dc, box.left + 5, box.top + 9);
        LineTo(dc, box.left + 10, box.top + 3);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
}

void drawText(HDC dc, const std::wstring& text, RECT r, UINT format, COLORREF color) {
    SetTextColor(dc, color);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOPREFIX | DT_END_ELLIPSIS);
}

UINT alignOf(int fmt) {
    switch (fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
        return DT_RIGHT;
    case LVCFMT_CENTER:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

void drawItem(HWND hwnd, ListView& l, const Layout& g, HDC dc, int index, LRESULT paintAnswer) {
    const RECT bounds = itemBounds(hwnd, l, g, index);
    const UINT state = stateOfItem(l, hwnd, index);
    const bool selected = (state & LVIS_SELECTED) != 0 && l.editItem != index;
    const bool showSel = selected && (l.focused || (styleOf(hwnd) & LVS_SHOWSELALWAYS));
    ItemLook look{solid(l.text, COLOR_WINDOWTEXT), l.textBk, selected, l.focused && l.focus == index};
    const LPARAM param = paramOf(l, hwnd, index);
    LRESULT itemAnswer = 0;
    if (paintAnswer & CDRF_NOTIFYITEMDRAW) {
        itemAnswer = customDraw(hwnd, CDDS_ITEMPREPAINT, dc, bounds, index, 0,
                                (selected ? CDIS_SELECTED : 0) | (look.focus ? CDIS_FOCUS : 0), param, &look);
        if (itemAnswer & CDRF_SKIPDEFAULT)
            return;
    }
    if (g.view == LV_VIEW_DETAILS && (styleOf(hwnd) & LVS_OWNERDRAWFIXED)) {
        // The parent draws the whole row.
        DRAWITEMSTRUCT d{};
        d.CtlType = ODT_LISTVIEW;
        d.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
        d.itemID = static_cast<UINT>(index);
        d.itemAction = ODA_DRAWENTIRE;
        d.itemState = (selected ? ODS_SELECTED : 0) | (look.focus ? ODS_FOCUS : 0);
        d.hwndItem = hwnd;
        d.hDC = dc;
        d.rcItem = bounds;
        d.itemData = static_cast<ULONG_PTR>(param);
        SendMessageW(GetParent(hwnd), WM_DRAWITEM, d.CtlID, reinterpret_cast<LPARAM>(&d));
        return;
    }
    const COLORREF selBack = GetSysColor(l.focused ? COLOR_HIGHLIGHT : COLOR_3DFACE);
    const COLORREF selText = GetSysColor(l.focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    std::wstring label;
    int image = -1;
    fetch(hwnd, l, index, 0, &label, &image);
    const bool checks = (l.exStyle & LVS_EX_CHECKBOXES) != 0;
    const int checkW = checks ? 16 : 0;
    const bool checked =
        !ownerData(l) && ((l.items[static_cast<size_t>(index)].state & LVIS_STATEIMAGEMASK) >> 12) == 2;

    if (g.view == LV_VIEW_ICON) {
        HIMAGELIST list = l.images[LVSIL_NORMAL];
        const SIZE big = imageSize(list, 32);
        const int x = bounds.left + (g.cellW - big.cx) / 2, y = bounds.top + 4;
        if (list && image >= 0)
            ImageList_Draw(list, image, dc, x, y, showSel ? ILD_BLEND50 : ILD_TRANSPARENT);
        // Two lines at most: a longer label ends in an ellipsis rather than a cut line.
        RECT text{bounds.left + 2, y + big.cy + 4, bounds.right - 2, y + big.cy + 4 + 2 * fontHeightOf(l)};
        RECT measure = text;
        DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &measure,
                  DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
        const int w = std::min<int>(measure.right - measure.left, text.right - text.left);
        RECT back{text.left + (text.right - text.left - w) / 2 - 1, text.top,
                  text.left + (text.right - text.left + w) / 2 + 1, std::min(text.bottom, measure.bottom)};
        if (showSel)
            fillColor(dc, back, selBack);
        else if (look.back != CLR_NONE && look.back != l.bk)
            fillColor(dc, back, look.back);
        drawText(dc, label, text, DT_CENTER | DT_WORDBREAK, showSel ? selText : look.text);
        if (look.focus)
            DrawFocusRect(dc, &back);
    } else {
        HIMAGELIST list = l.images[LVSIL_SMALL];
        const SIZE small = imageSize(list, 16);
        const int firstRight =
            g.view == LV_VIEW_DETAILS && !l.columns.empty() ? l.columns[0].width : bounds.right - bounds.left;
        const bool fullRow = g.view == LV_VIEW_DETAILS && (l.exStyle & LVS_EX_FULLROWSELECT);
        if (checks)
            drawCheck(dc, RECT{bounds.left, bounds.top, bounds.left + checkW, bounds.bottom}, checked);
        const int indent = ownerData(l) ? 0 : l.items[static_cast<size_t>(index)].indent * small.cx;
        const int iconX = bounds.left + checkW + 2 + indent;
        if (list && image >= 0)
            ImageList_Draw(list, image, dc, iconX, bounds.top + (g.rowH - small.cy) / 2,
                           showSel ? ILD_BLEND50 : ILD_TRANSPARENT);
        const int textX = iconX + (list ? small.cx + 3 : 0);
        RECT label0{textX, bounds.top, bounds.left + firstRight, bounds.bottom};
        RECT sel = label0;
        if (g.view != LV_VIEW_DETAILS) {
            const int w = textWidth(l.font, label) + 6;
            sel.right = std::min<LONG>(sel.right, sel.left + w);
        }
        if (fullRow)
            sel.right = bounds.right;
        if (showSel)
            fillColor(dc, sel, selBack);
        else if (look.back != CLR_NONE && look.back != l.bk)
            fillColor(dc, sel, look.back);
        const int pad = 3;
        const UINT single = DT_SINGLELINE | DT_VCENTER;
        RECT t{label0.left + pad, label0.top, label0.right - pad, label0.bottom};
        drawText(dc, label, t, single | (l.columns.empty() ? DT_LEFT : alignOf(l.columns[0].fmt)),
                 showSel ? selText : look.text);
        if (g.view == LV_VIEW_DETAILS) {
            int x = bounds.left + firstRight;
            for (size_t c = 1; c < l.columns.size(); ++c) {
                const Column& column = l.columns[c];
                RECT cell{x, bounds.top, x + column.width, bounds.bottom};
                x += column.width;
                if (cell.left >= g.client.right)
                    break;
                ItemLook subLook = look;
                if (itemAnswer & CDRF_NOTIFYSUBITEMDRAW) {
                    const LRESULT sub =
                        customDraw(hwnd, CDDS_ITEMPREPAINT | CDDS_SUBITEM, dc, cell, index,
                                   static_cast<int>(c), selected ? CDIS_SELECTED : 0, param, &subLook);
                    if (sub & CDRF_SKIPDEFAULT)
                        continue;
                }
                std::wstring text;
                fetch(hwnd, l, index, column.subItem, &text, nullptr);
                RECT tc{cell.left + pad + 3, cell.top, cell.right - pad, cell.bottom};
                drawText(dc, text, tc, single | alignOf(column.fmt),
                         fullRow && showSel ? selText : subLook.text);
            }
        }
        if (look.focus) {
            RECT f = fullRow ? RECT{label0.left, bounds.top, bounds.right, bounds.bottom} : sel;
            DrawFocusRect(dc, &f);
        }
    }
    if (itemAnswer & CDRF_NOTIFYPOSTPAINT)
        customDraw(hwnd, CDDS_ITEMPOSTPAINT, dc, bounds, index, 0, selected ? CDIS_SELECTED : 0, param,
                   nullptr);
}

} // namespace

void paint(HWND hwnd, ListView& l, UINT message, WPARAM wParam) {
    paintControl(hwnd, message, wParam, [&](HDC dc, const RECT& client) {
        const HGDIOBJ oldFont = SelectObject(dc, fontOrDefault(l.font));
        fillColor(dc, client, solid(l.bk, COLOR_WINDOW));
        const LRESULT answer = customDraw(hwnd, CDDS_PREPAINT, dc, client, 0, 0, 0, 0, nullptr);
        if (!(answer & CDRF_SKIPDEFAULT)) {
            const Layout g = layoutOf(hwnd, l);
            int first = 0, last = -1;
            visibleRange(hwnd, l, g, first, last);
            if (ownerData(l) && first <= last) {
                NMLVCACHEHINT hint{};
                hint.iFrom = first;
                hint.iTo = last;
                notify(hwnd, LVN_ODCACHEHINT, &hint.hdr);
            }
            for (int i = first; i <= last; ++i)
                drawItem(hwnd, l, g, dc, i, answer);
            if (g.view == LV_VIEW_DETAILS && (l.exStyle & LVS_EX_GRIDLINES)) {
                const HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DFACE));
                const HGDIOBJ old = SelectObject(dc, pen);
                for (int y = g.headerH + g.rowH - 1; y < client.bottom; y += g.rowH) {
                    MoveToEx(dc, 0, y, nullptr);
                    LineTo(dc, client.right, y);
                }
                int x = 0;
                for (const Column& c : l.columns) {
                    x += c.width;
                    MoveToEx(dc, x - 1, g.headerH, nullptr);
                    LineTo(dc, x - 1, client.bottom);
                }
                SelectObject(dc, old);
                DeleteObject(pen);
            }
        }
        if (answer & CDRF_NOTIFYPOSTPAINT)
            customDraw(hwnd, CDDS_POSTPAINT, dc, client, 0, 0, 0, 0, nullptr);
        SelectObject(dc, oldFont);
    });
}

} // namespace pal::ctl::lv
