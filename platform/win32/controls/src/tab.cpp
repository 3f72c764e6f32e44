// "SysTabControl32": a row of tabs; a click or an arrow key asks the parent (TCN_SELCHANGING)
// before the tab changes and tells it after (TCN_SELCHANGE).
#include "win/controls/tab.h"
#include "control.h"
#include "item_support.h"
#include "paint.h"

#include <algorithm>
#include <vector>

namespace pal::ctl {
namespace {

struct Tab {
    std::wstring text;
    int image = -1;
    LPARAM param = 0;
    DWORD state = 0;
};

struct Tabs {
    std::vector<Tab> tabs;
    int current = -1;
    int focus = -1;
    HIMAGELIST images = nullptr;
    HFONT font = nullptr;
    SIZE fixed{0, 0};
    bool focused = false;
};

bool valid(const Tabs& t, int i) {
    return i >= 0 && i < static_cast<int>(t.tabs.size());
}

int tabHeight(const Tabs& t) {
    return t.fixed.cy > 0 ? t.fixed.cy : lineHeight(t.font) + 8;
}

RECT tabRect(const Tabs& t, int index) {
    int x = 2;
    for (int i = 0; i <= index; ++i) {
        const Tab& tab = t.tabs[static_cast<size_t>(i)];
        int w = t.fixed.cx > 0 ? t.fixed.cx : textWidth(t.font, tab.text) + 16;
        if (t.images && tab.image >= 0) {
            int iw = 0, ih = 0;
            ImageList_GetIconSize(t.images, &iw, &ih);
            w += iw + 4;
        }
        if (i == index)
            return RECT{x, 2, x + w, 2 + tabHeight(t)};
        x += w;
    }
    return RECT{};
}

int hitTest(const Tabs& t, POINT p) {
    for (int i = 0; i < static_cast<int>(t.tabs.size()); ++i) {
        const RECT r = tabRect(t, i);
        if (PtInRect(&r, p))
            return i;
    }
    return -1;
}

// A person's change of tab: the parent may refuse it.
void choose(HWND hwnd, Tabs& t, int index) {
    if (!valid(t, index) || index == t.current)
        return;
    NMHDR h{};
    if (notify(hwnd, TCN_SELCHANGING, &h))
        return;
    t.current = t.focus = index;
    InvalidateRect(hwnd, nullptr, TRUE);
    notify(hwnd, TCN_SELCHANGE, &h);
}

void fillColor(HDC dc, const RECT& r, COLORREF color) {
    const HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void paintTabs(HWND hwnd, Tabs& t, UINT message, WPARAM wParam) {
    paintControl(hwnd, message, wParam, [&](HDC dc, const RECT& client) {
        const HGDIOBJ oldFont = SelectObject(dc, fontOrDefault(t.font));
        fillColor(dc, client, GetSysColor(COLOR_3DFACE));
        RECT page{client.left, client.top + 2 + tabHeight(t), client.right, client.bottom};
        DrawEdge(dc, &page, EDGE_RAISED, BF_RECT);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        for (int i = 0; i < static_cast<int>(t.tabs.size()); ++i) {
            RECT r = tabRect(t, i);
            const bool current = i == t.current;
            if (current)
                InflateRect(&r, 2, 2);
            else
                r.top += 2;
            r.bottom = page.top + (current ? 1 : 0);
            fillColor(dc, r, GetSysColor(COLOR_3DFACE));
            DrawEdge(dc, &r, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT | BF_SOFT);
            RECT text{r.left + 6, r.top, r.right - 6, r.bottom};
            const Tab& tab = t.tabs[static_cast<size_t>(i)];
            if (t.images && tab.image >= 0) {
                int iw = 0, ih = 0;
                ImageList_GetIconSize(t.images, &iw, &ih);
                ImageList_Draw(t.images, tab.image, dc, text.left, (text.top + text.bottom - ih) / 2,
                               ILD_TRANSPARENT);
                text.left += iw + 4;
            }
            DrawTextW(dc, tab.text.c_str(), static_cast<int>(tab.text.size()), &text,
                      DT_SINGLELINE | DT_VCENTER | DT_CENTER);
            if (current && t.focused) {
                RECT f = text;
                InflateRect(&f, 2, -3);
                DrawFocusRect(dc, &f);
            }
        }
        SelectObject(dc, oldFont);
    });
}

BOOL setItem(HWND hwnd, Tabs& t, int index, const TCITEMW* in) {
    if (!in || !valid(t, index))
        return FALSE;
    Tab& tab = t.tabs[static_cast<size_t>(index)];
    if (in->mask & TCIF_TEXT)
        tab.text = textFrom(in->pszText);
    if (in->mask & TCIF_IMAGE)
        tab.image = in->iImage;
    if (in->mask & TCIF_PARAM)
        tab.param = in->lParam;
    if (in->mask & TCIF_STATE)
        tab.state = (tab.state & ~in->dwStateMask) | (in->dwState & in->dwStateMask);
    InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
}

} // namespace

LRESULT tabProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Tabs* t = attachState<Tabs>(hwnd, message);
    if (!t)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const auto index = static_cast<int>(wParam);
    switch (message) {
    case WM_SETFONT:
        t->font = reinterpret_cast<HFONT>(wParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(t->font);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        t->focused = message == WM_SETFOCUS;
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN: {
        const int hit = hitTest(*t, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (styleOf(hwnd) & TCS_FOCUSONBUTTONDOWN)
            SetFocus(hwnd);
        choose(hwnd, *t, hit);
        return 0;
    }
    case WM_LBUTTONUP: {
        NMHDR h{};
        notify(hwnd, NM_CLICK, &h);
        return 0;
    }
    case WM_KEYDOWN: {
        NMKEY k{};
        k.nVKey = static_cast<UINT>(wParam);
        notify(hwnd, TCN_KEYDOWN, &k.hdr);
        if (wParam == VK_LEFT)
            choose(hwnd, *t, t->current - 1);
        else if (wParam == VK_RIGHT)
            choose(hwnd, *t, t->current + 1);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        paintTabs(hwnd, *t, message, wParam);
        return 0;
    case TCM_GETITEMCOUNT:
        return static_cast<LRESULT>(t->tabs.size());
    case TCM_INSERTITEMW: {
        const auto* in = reinterpret_cast<const TCITEMW*>(lParam);
        if (!in || index < 0)
            return -1;
        const int at = std::min(index, static_cast<int>(t->tabs.size()));
        t->tabs.insert(t->tabs.begin() + at, Tab{});
        setItem(hwnd, *t, at, in);
        if (t->current >= at)
            ++t->current;
        if (t->current < 0)
            t->current = 0;
        return at;
    }
    case TCM_SETITEMW:
        return setItem(hwnd, *t, index, reinterpret_cast<const TCITEMW*>(lParam));
    case TCM_GETITEMW: {
        auto* out = reinterpret_cast<TCITEMW*>(lParam);
        if (!out || !valid(*t, index))
            return FALSE;
        const Tab& tab = t->tabs[static_cast<size_t>(index)];
        if (out->mask & TCIF_TEXT)
            copyText(tab.text, out->pszText, out->cchTextMax);
        if (out->mask & TCIF_IMAGE)
            out->iImage = tab.image;
        if (out->mask & TCIF_PARAM)
            out->lParam = tab.param;
        if (out->mask & TCIF_STATE)
            out->dwState = tab.state & out->dwStateMask;
        return TRUE;
    }
    case TCM_DELETEITEM:
        if (!valid(*t, index))
            return FALSE;
        t->tabs.erase(t->tabs.begin() + index);
        if (t->current >= static_cast<int>(t->tabs.size()) || t->current > index)
            t->current = t->tabs.empty() ? -1 : std::max(0, t->current - 1);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case TCM_DELETEALLITEMS:
        t->tabs.clear();
        t->current = t->focus = -1;
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case TCM_GETCURSEL:
        return t->current;
    case TCM_SETCURSEL: {
        // By message: no notifications, as the platform does.
        if (!valid(*t, index))
            return -1;
        const int old = t->current;
        t->current = t->focus = index;
        InvalidateRect(hwnd, nullptr, TRUE);
        return old;
    }
    case TCM_GETCURFOCUS:
        return t->focus;
    case TCM_SETCURFOCUS:
        choose(hwnd, *t, index);
        return 0;
    case TCM_GETITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (!r || !valid(*t, index))
            return FALSE;
        *r = tabRect(*t, index);
        return TRUE;
    }
    case TCM_HITTEST: {
        auto* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
        if (!info)
            return -1;
        const int hit = hitTest(*t, info->pt);
        info->flags = hit < 0 ? TCHT_NOWHERE : TCHT_ONITEMLABEL;
        return hit;
    }
    case TCM_ADJUSTRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (!r)
            return 0;
        const int band = 2 + tabHeight(*t);
        if (wParam) { // display area to window
            r->top -= band;
            InflateRect(r, 2, 2);
        } else {
            r->top += band;
            InflateRect(r, -2, -2);
        }
        return 0;
    }
    case TCM_SETITEMSIZE: {
        const SIZE old{t->fixed.cx > 0 ? t->fixed.cx : 0, tabHeight(*t)};
        t->fixed = SIZE{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        InvalidateRect(hwnd, nullptr, TRUE);
        return MAKELPARAM(old.cx, old.cy);
    }
    case TCM_GETROWCOUNT:
        return 1;
    case TCM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(t->images);
    case TCM_SETIMAGELIST: {
        HIMAGELIST old = t->images;
        t->images = reinterpret_cast<HIMAGELIST>(lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(old);
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace pal::ctl
