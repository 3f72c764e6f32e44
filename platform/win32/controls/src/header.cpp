// "SysHeader32": captions over the columns of a report. A click on a caption is told to the
// parent; dragging a divider resizes the column left of it.
#include "win/controls/header.h"
#include "control.h"
#include "item_support.h"
#include "paint.h"
#include "win/gdi/imagelist.h"

#include <algorithm>
#include <vector>

namespace pal::ctl {
namespace {

struct HeaderItem {
    int width = 50;
    std::wstring text;
    int fmt = HDF_LEFT | HDF_STRING;
    LPARAM param = 0;
    int image = -1;
};

struct Header {
    std::vector<HeaderItem> items;
    HIMAGELIST images = nullptr;
    HFONT font = nullptr;
    int pressed = -1;  // caption held down
    int tracking = -1; // column whose divider is dragged
    int trackFrom = 0; // mouse x where the drag began, less the width then
    bool moved = false;
};

constexpr int kDividerSlop = 4;

bool valid(const Header& h, int i) {
    return i >= 0 && i < static_cast<int>(h.items.size());
}

RECT itemRect(HWND hwnd, const Header& h, int index) {
    RECT client;
    GetClientRect(hwnd, &client);
    int x = 0;
    for (int i = 0; i < index; ++i)
        x += h.items[static_cast<size_t>(i)].width;
    return RECT{x, 0, x + h.items[static_cast<size_t>(index)].width, client.bottom};
}

// Which caption or divider is under a point.
int hitTest(HWND hwnd, const Header& h, POINT p, UINT& flags) {
    RECT client;
    GetClientRect(hwnd, &client);
    flags = HHT_NOWHERE;
    if (p.y < 0) {
        flags = HHT_ABOVE;
        return -1;
    }
    if (p.y >= client.bottom) {
        flags = HHT_BELOW;
        return -1;
    }
    if (p.x < 0) {
        flags = HHT_TOLEFT;
        return -1;
    }
    int x = 0;
    for (int i = 0; i < static_cast<int>(h.items.size()); ++i) {
        const int right = x + h.items[static_cast<size_t>(i)].width;
        if (std::abs(p.x - right) <= kDividerSlop &&
            (i + 1 == static_cast<int>(h.items.size()) || p.x <= right + kDividerSlop)) {
            // The divider belongs to the column on its left, unless a following column is wider
            // than the slop and the point is well inside it.
            flags = HHT_ONDIVIDER;
            return i;
        }
        if (p.x >= x && p.x < right) {
            flags = HHT_ONHEADER;
            return i;
        }
        x = right;
    }
    if (p.x >= client.right)
        flags = HHT_TORIGHT;
    return -1;
}

LRESULT notifyHeader(HWND hwnd, UINT code, int index, HDITEMW* item, int button = 0) {
    NMHEADERW nm{};
    nm.iItem = index;
    nm.iButton = button;
    nm.pitem = item;
    return notify(hwnd, code, &nm.hdr);
}

int insertItem(HWND hwnd, Header& h, int at, const HDITEMW* in) {
    if (!in || at < 0)
        return -1;
    at = std::min(at, static_cast<int>(h.items.size()));
    HeaderItem item;
    if (in->mask & HDI_WIDTH)
        item.width = std::max(0, in->cxy);
    if (in->mask & HDI_TEXT)
        item.text = textFrom(in->pszText);
    if (in->mask & HDI_FORMAT)
        item.fmt = in->fmt;
    if (in->mask & HDI_LPARAM)
        item.param = in->lParam;
    if (in->mask & HDI_IMAGE)
        item.image = in->iImage;
    h.items.insert(h.items.begin() + at, item);
    InvalidateRect(hwnd, nullptr, TRUE);
    return at;
}

BOOL setItem(HWND hwnd, Header& h, int index, const HDITEMW* in) {
    if (!in || !valid(h, index))
        return FALSE;
    HDITEMW copy = *in;
    if (notifyHeader(hwnd, HDN_ITEMCHANGINGW, index, &copy))
        return FALSE;
    HeaderItem& item = h.items[static_cast<size_t>(index)];
    if (in->mask & HDI_WIDTH)
        item.width = std::max(0, in->cxy);
    if (in->mask & HDI_TEXT)
        item.text = textFrom(in->pszText);
    if (in->mask & HDI_FORMAT)
        item.fmt = in->fmt;
    if (in->mask & HDI_LPARAM)
        item.param = in->lParam;
    if (in->mask & HDI_IMAGE)
        item.image = in->iImage;
    notifyHeader(hwnd, HDN_ITEMCHANGEDW, index, &copy);
    InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
}

BOOL getItem(const Header& h, int index, HDITEMW* out) {
    if (!out || !valid(h, index))
        return FALSE;
    const HeaderItem& item = h.items[static_cast<size_t>(index)];
    if (out->mask & HDI_WIDTH)
        out->cxy = item.width;
    if (out->mask & HDI_TEXT)
        copyText(item.text, out->pszText, out->cchTextMax);
    if (out->mask & HDI_FORMAT)
        out->fmt = item.fmt;
    if (out->mask & HDI_LPARAM)
        out->lParam = item.param;
    if (out->mask & HDI_IMAGE)
        out->iImage = item.image;
    if (out->mask & HDI_ORDER)
        out->iOrder = index;
    return TRUE;
}

void fillColor(HDC dc, const RECT& r, COLORREF color) {
    const HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void paintHeader(HWND hwnd, Header& h, UINT message, WPARAM wParam) {
    paintControl(hwnd, message, wParam, [&](HDC dc, const RECT& client) {
        const HGDIOBJ oldFont = SelectObject(dc, fontOrDefault(h.font));
        fillColor(dc, client, GetSysColor(COLOR_3DFACE));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        int x = 0;
        for (int i = 0; i < static_cast<int>(h.items.size()); ++i) {
            const HeaderItem& item = h.items[static_cast<size_t>(i)];
            RECT r{x, 0, x + item.width, client.bottom};
            x = r.right;
            if (r.left >= client.right)
                break;
            RECT edge = r;
            DrawEdge(dc, &edge, h.pressed == i && !h.moved ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
            RECT text{r.left + 6, r.top, r.right - 6, r.bottom};
            if (h.pressed == i && !h.moved)
                OffsetRect(&text, 1, 1);
            if ((item.fmt & HDF_IMAGE) && h.images && item.image >= 0) {
                int w = 0, ht = 0;
                ImageList_GetIconSize(h.images, &w, &ht);
                ImageList_Draw(h.images, item.image, dc, text.left, (r.top + r.bottom - ht) / 2,
                               ILD_TRANSPARENT);
                text.left += w + 4;
            }
            if (item.fmt & (HDF_SORTUP | HDF_SORTDOWN)) {
                RECT arrow{text.right - 8, (r.top + r.bottom) / 2 - 3, text.right,
                           (r.top + r.bottom) / 2 + 3};
                triangle(dc, arrow, (item.fmt & HDF_SORTUP) ? 0 : 1, GetSysColor(COLOR_GRAYTEXT));
                text.right -= 12;
            }
            UINT align = DT_LEFT;
            if ((item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT)
                align = DT_RIGHT;
            else if ((item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER)
                align = DT_CENTER;
            DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &text,
                      align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        }
        if (x < client.right) {
            RECT rest{x, 0, client.right, client.bottom};
            DrawEdge(dc, &rest, EDGE_RAISED, BF_RECT | BF_SOFT);
        }
        SelectObject(dc, oldFont);
    });
}

void endTrack(HWND hwnd, Header& h, bool notifyEnd) {
    const int column = h.tracking;
    h.tracking = -1;
    if (GetCapture() == hwnd)
        ReleaseCapture();
    if (notifyEnd && valid(h, column)) {
        HDITEMW item{};
        item.mask = HDI_WIDTH;
        item.cxy = h.items[static_cast<size_t>(column)].width;
        notifyHeader(hwnd, HDN_ENDTRACKW, column, &item);
    }
}

} // namespace

LRESULT headerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Header* h = attachState<Header>(hwnd, message);
    if (!h)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const auto index = static_cast<int>(wParam);
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_SETFONT:
        h->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(h->font);
    case WM_LBUTTONDOWN: {
        UINT flags = 0;
        const int hit = hitTest(hwnd, *h, p, flags);
        if (hit < 0)
            return 0;
        if (flags == HHT_ONDIVIDER) {
            HDITEMW item{};
            item.mask = HDI_WIDTH;
            item.cxy = h->items[static_cast<size_t>(hit)].width;
            if (notifyHeader(hwnd, HDN_BEGINTRACKW, hit, &item))
                return 0;
            h->tracking = hit;
            h->trackFrom = p.x - h->items[static_cast<size_t>(hit)].width;
        } else if (styleOf(hwnd) & HDS_BUTTONS) {
            h->pressed = hit;
            h->moved = false;
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        SetCapture(hwnd);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (valid(*h, h->tracking)) {
            HDITEMW item{};
            item.mask = HDI_WIDTH;
            item.cxy = std::max(0, static_cast<int>(p.x) - h->trackFrom);
            if (notifyHeader(hwnd, HDN_TRACKW, h->tracking, &item))
                endTrack(hwnd, *h, true);
            else
                setItem(hwnd, *h, h->tracking, &item);
        } else if (h->pressed >= 0) {
            const RECT r = itemRect(hwnd, *h, h->pressed);
            const bool inside = PtInRect(&r, p) != 0;
            if (h->moved == inside) {
                h->moved = !inside;
                InvalidateRect(hwnd, nullptr, TRUE);
            }
        }
        return 0;
    case WM_LBUTTONUP:
        if (h->tracking >= 0) {
            endTrack(hwnd, *h, true);
        } else if (h->pressed >= 0) {
            const int clicked = h->pressed;
            const bool moved = h->moved;
            h->pressed = -1;
            if (GetCapture() == hwnd)
                ReleaseCapture();
            InvalidateRect(hwnd, nullptr, TRUE);
            if (!moved && valid(*h, clicked))
                notifyHeader(hwnd, HDN_ITEMCLICKW, clicked, nullptr);
        }
        return 0;
    case WM_LBUTTONDBLCLK: {
        UINT flags = 0;
        const int hit = hitTest(hwnd, *h, p, flags);
        if (hit >= 0)
            notifyHeader(hwnd, flags == HHT_ONDIVIDER ? HDN_DIVIDERDBLCLICKW : HDN_ITEMDBLCLICKW, hit,
                         nullptr);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (h->tracking >= 0)
            endTrack(hwnd, *h, true);
        if (h->pressed >= 0) {
            h->pressed = -1;
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    case WM_SETCURSOR: {
        POINT at;
        GetCursorPos(&at);
        ScreenToClient(hwnd, &at);
        UINT flags = 0;
        hitTest(hwnd, *h, at, flags);
        if (flags == HHT_ONDIVIDER || h->tracking >= 0) {
            SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
            return TRUE;
        }
        break;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        paintHeader(hwnd, *h, message, wParam);
        return 0;
    case HDM_GETITEMCOUNT:
        return static_cast<LRESULT>(h->items.size());
    case HDM_INSERTITEMW:
        return insertItem(hwnd, *h, index, reinterpret_cast<const HDITEMW*>(lParam));
    case HDM_DELETEITEM:
        if (!valid(*h, index))
            return FALSE;
        h->items.erase(h->items.begin() + index);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case HDM_GETITEMW:
        return getItem(*h, index, reinterpret_cast<HDITEMW*>(lParam));
    case HDM_SETITEMW:
        return setItem(hwnd, *h, index, reinterpret_cast<const HDITEMW*>(lParam));
    case HDM_GETITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (!r || !valid(*h, index))
            return FALSE;
        *r = itemRect(hwnd, *h, index);
        return TRUE;
    }
    case HDM_HITTEST: {
        auto* info = reinterpret_cast<HDHITTESTINFO*>(lParam);
        if (!info)
            return -1;
        info->iItem = hitTest(hwnd, *h, info->pt, info->flags);
        return info->iItem;
    }
    case HDM_LAYOUT: {
        auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
        if (!layout || !layout->prc || !layout->pwpos)
            return FALSE;
        const int height = (styleOf(hwnd) & HDS_HIDDEN) ? 0 : lineHeight(h->font) + 8;
        RECT& r = *layout->prc;
        *layout->pwpos = WINDOWPOS{hwnd,
                                   nullptr,
                                   static_cast<int>(r.left),
                                   static_cast<int>(r.top),
                                   static_cast<int>(r.right - r.left),
                                   height,
                                   SWP_NOZORDER};
        r.top += height;
        return TRUE;
    }
    case HDM_SETIMAGELIST: {
        HIMAGELIST old = h->images;
        h->images = reinterpret_cast<HIMAGELIST>(lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(old);
    }
    case HDM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(h->images);
    case HDM_ORDERTOINDEX:
        return index;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace pal::ctl
