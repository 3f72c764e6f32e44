// "SysLink": text with links written as <a href="..." id="...">...</a>. A click or Enter on a link
// tells the parent (NM_CLICK, NM_RETURN) with the link's index, id and URL; Tab moves between the
// links before it leaves the control.
#include "control.h"
#include "link_markup.h"
#include "paint.h"

#include <algorithm>

namespace pal::ctl {
namespace {

struct Link {
    std::vector<LinkRun> runs;
    std::vector<MarkupLink> links;
    int focus = 0;
    bool focused = false;
    HFONT font = nullptr;
};

void parse(Link& l, const std::wstring& markup) {
    ParsedMarkup parsed = parseLinkMarkup(markup);
    l.runs = std::move(parsed.runs);
    l.links = std::move(parsed.links);
    l.focus = 0;
}

void fillItem(const Link& l, int index, LITEM& item) {
    const MarkupLink& link = l.links[static_cast<size_t>(index)];
    item.mask = LIF_ITEMINDEX | LIF_STATE | LIF_ITEMID | LIF_URL;
    item.iLink = index;
    item.state = link.state | (l.focused && l.focus == index ? LIS_FOCUSED : 0);
    item.stateMask = LIS_FOCUSED | LIS_ENABLED | LIS_VISITED | LIS_HOTTRACK;
    const size_t idLength = std::min(link.id.size(), static_cast<size_t>(MAX_LINKID_TEXT - 1));
    std::copy_n(link.id.data(), idLength, item.szID);
    item.szID[idLength] = L'\0';
    const size_t urlLength = std::min(link.url.size(), static_cast<size_t>(L_MAX_URL_LENGTH - 1));
    std::copy_n(link.url.data(), urlLength, item.szUrl);
    item.szUrl[urlLength] = L'\0';
}

void tell(HWND hwnd, const Link& l, int index, UINT code) {
    if (index < 0 || index >= static_cast<int>(l.links.size()))
        return;
    NMLINK n{};
    fillItem(l, index, n.item);
    notify(hwnd, code, &n.hdr);
}

// The link under a point, laid out as the painting lays it out: one line, runs side by side.
int linkAt(HWND hwnd, const Link& l, POINT p) {
    (void)hwnd;
    const int height = lineHeight(l.font);
    if (p.y < 0 || p.y >= height + 2)
        return -1;
    int x = 0;
    for (const LinkRun& run : l.runs) {
        const int w = textWidth(l.font, run.text);
        if (p.x >= x && p.x < x + w)
            return run.link;
        x += w;
    }
    return -1;
}

int findLink(const Link& l, const LITEM& item) {
    if (item.mask & LIF_ITEMID) {
        for (size_t i = 0; i < l.links.size(); ++i) {
            if (l.links[i].id == item.szID)
                return static_cast<int>(i);
        }
        return -1;
    }
    return item.iLink >= 0 && item.iLink < static_cast<int>(l.links.size()) ? item.iLink : -1;
}

bool tabMoves(const Link& l, bool back) {
    return back ? l.focus > 0 : l.focus + 1 < static_cast<int>(l.links.size());
}

} // namespace

LRESULT linkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Link* l = attachState<Link>(hwnd, message);
    if (!l)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_NCCREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        parse(*l, cs && cs->lpszName ? cs->lpszName : L"");
        break;
    }
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        parse(*l, lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
        InvalidateRect(hwnd, nullptr, TRUE);
        return result;
    }
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTCHARS;
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_TAB &&
            tabMoves(*l, GetKeyState(VK_SHIFT) < 0))
            code |= DLGC_WANTTAB;
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN &&
            !(styleOf(hwnd) & LWS_IGNORERETURN) && !l->links.empty())
            code |= DLGC_WANTALLKEYS;
        return code;
    }
    case WM_SETFOCUS:
        l->focused = true;
        // Coming back by Shift+Tab lands on the last link.
        if (GetKeyState(VK_TAB) < 0 && GetKeyState(VK_SHIFT) < 0 && !l->links.empty())
            l->focus = static_cast<int>(l->links.size()) - 1;
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_KILLFOCUS:
        l->focused = false;
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_TAB) {
            const bool back = GetKeyState(VK_SHIFT) < 0;
            if (tabMoves(*l, back)) {
                l->focus += back ? -1 : 1;
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            return 0;
        }
        if ((wParam == VK_RETURN && !(styleOf(hwnd) & LWS_IGNORERETURN)) || wParam == VK_SPACE)
            tell(hwnd, *l, l->focus, NM_RETURN);
        return 0;
    case WM_LBUTTONDOWN: {
        const int index = linkAt(hwnd, *l, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (index < 0)
            return 0;
        l->focus = index;
        SetFocus(hwnd);
        InvalidateRect(hwnd, nullptr, FALSE);
        tell(hwnd, *l, index, NM_CLICK);
        return 0;
    }
    case LM_HITTEST: {
        auto* info = reinterpret_cast<LHITTESTINFO*>(lParam);
        if (!info)
            return FALSE;
        const int index = linkAt(hwnd, *l, info->pt);
        if (index < 0)
            return FALSE;
        fillItem(*l, index, info->item);
        return TRUE;
    }
    case LM_GETITEM: {
        auto* item = reinterpret_cast<LITEM*>(lParam);
        if (!item)
            return FALSE;
        const int index = findLink(*l, *item);
        if (index < 0)
            return FALSE;
        const UINT mask = item->mask;
        LITEM full{};
        fillItem(*l, index, full);
        if (mask & LIF_STATE)
            item->state = full.state & item->stateMask;
        if (mask & LIF_URL)
            std::copy(std::begin(full.szUrl), std::end(full.szUrl), item->szUrl);
        if (mask & LIF_ITEMID)
            std::copy(std::begin(full.szID), std::end(full.szID), item->szID);
        item->iLink = index;
        return TRUE;
    }
    case LM_SETITEM: {
        const auto* item = reinterpret_cast<const LITEM*>(lParam);
        if (!item)
            return FALSE;
        const int index = findLink(*l, *item);
        if (index < 0)
            return FALSE;
        MarkupLink& link = l->links[static_cast<size_t>(index)];
        if (item->mask & LIF_STATE)
            link.state = (link.state & ~item->stateMask) | (item->state & item->stateMask & ~LIS_FOCUSED);
        if (item->mask & LIF_URL)
            link.url = item->szUrl;
        if ((item->mask & LIF_ITEMID) && (item->mask & LIF_ITEMINDEX))
            link.id = item->szID;
        InvalidateRect(hwnd, nullptr, FALSE);
        return TRUE;
    }
    case LM_GETIDEALHEIGHT:
        return lineHeight(l->font) + 2;
    case WM_SETFONT:
        l->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(l->font);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        const LinkLook look{&l->runs, l->focus, l->focused, l->font};
        paintControl(hwnd, message, wParam, [&](HDC dc, const RECT& r) { paintLink(hwnd, dc, r, look); });
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace pal::ctl
