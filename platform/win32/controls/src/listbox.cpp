// "ListBox": a list of names, one selected (or several with LBS_MULTIPLESEL / LBS_EXTENDEDSEL).
// Arrows, Home and End move the selection; a click selects, a double click tells the parent
// LBN_DBLCLK; with LBS_NOTIFY a change of selection tells it LBN_SELCHANGE.
#include "controls.h"

#include "paint.h"

#include "pal/text.h"

#include <algorithm>

namespace pal::controls {
namespace {

ListState* stateOf(HWND hwnd) {
    return reinterpret_cast<ListState*>(GetWindowLongPtrW(hwnd, 0));
}

bool multiple(HWND hwnd) {
    return (GetWindowLongW(hwnd, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

void notifySelection(HWND hwnd) {
    if (GetWindowLongW(hwnd, GWL_STYLE) & LBS_NOTIFY)
        notifyParent(hwnd, LBN_SELCHANGE);
}

int visibleRows(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return std::max<int>(1, (r.bottom - r.top) / kListItemHeight);
}

// Keeps the caret's item in view.
void scrollTo(HWND hwnd, ListState& s, int index) {
    if (index < 0)
        return;
    const int rows = visibleRows(hwnd);
    if (index < s.top)
        s.top = index;
    else if (index >= s.top + rows)
        s.top = index - rows + 1;
}

// Selects one item only (or none for -1), as a click or an arrow key does.
void selectOnly(HWND hwnd, ListState& s, int index) {
    for (auto& item : s.items)
        item.selected = false;
    if (index >= 0 && static_cast<size_t>(index) < s.items.size())
        s.items[static_cast<size_t>(index)].selected = true;
    s.caret = index;
    scrollTo(hwnd, s, index);
    InvalidateRect(hwnd, nullptr, TRUE);
}

int currentSelection(const ListState& s) {
    for (size_t i = 0; i < s.items.size(); ++i) {
        if (s.items[i].selected)
            return static_cast<int>(i);
    }
    return -1;
}

LRESULT insert(HWND hwnd, ListState& s, int at, LPCWSTR text) {
    ListState::Item item{text ? text : L"", 0, false};
    size_t index =
        at < 0 || static_cast<size_t>(at) > s.items.size() ? s.items.size() : static_cast<size_t>(at);
    if (at == -2 && (GetWindowLongW(hwnd, GWL_STYLE) & LBS_SORT)) {
        index = static_cast<size_t>(std::upper_bound(s.items.begin(), s.items.end(), item,
                                                     [](const auto& a, const auto& b) {
                                                         return pal::text::compareNoCase(a.text, b.text) < 0;
                                                     }) -
                                    s.items.begin());
    }
    s.items.insert(s.items.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
    InvalidateRect(hwnd, nullptr, TRUE);
    return static_cast<LRESULT>(index);
}

// The first item from `start + 1` on (wrapping) whose text begins with, or equals, `text`.
LRESULT findString(const ListState& s, int start, LPCWSTR text, bool exact) {
    const std::wstring wanted = text ? text : L"";
    const size_t n = s.items.size();
    for (size_t k = 0; k < n; ++k) {
        const size_t i = (static_cast<size_t>(start + 1) + k) % n;
        const std::wstring& t = s.items[i].text;
        if (exact ? pal::text::equalsNoCase(t, wanted)
                  : t.size() >= wanted.size() && pal::text::equalsNoCase(t.substr(0, wanted.size()), wanted))
            return static_cast<LRESULT>(i);
    }
    return LB_ERR;
}

int itemAt(HWND hwnd, const ListState& s, LPARAM lParam) {
    const int y = GET_Y_LPARAM(lParam);
    if (y < 0)
        return -1;
    const int index = s.top + y / kListItemHeight;
    return index < static_cast<int>(s.items.size()) ? index : -1;
}

} // namespace

LRESULT listBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(new ListState));
    ListState* state = stateOf(hwnd);
    if (!state)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    ListState& s = *state;
    const auto count = static_cast<int>(s.items.size());
    const int index = static_cast<int>(wParam);
    const bool valid = index >= 0 && index < count;
    switch (message) {
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, 0, 0);
        delete state;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case LB_ADDSTRING:
        return insert(hwnd, s, -2, reinterpret_cast<LPCWSTR>(lParam));
    case LB_INSERTSTRING:
        return insert(hwnd, s, index, reinterpret_cast<LPCWSTR>(lParam));
    case LB_DELETESTRING:
        if (!valid)
            return LB_ERR;
        s.items.erase(s.items.begin() + index);
        s.caret = std::min(s.caret, static_cast<int>(s.items.size()) - 1);
        InvalidateRect(hwnd, nullptr, TRUE);
        return static_cast<LRESULT>(s.items.size());
    case LB_RESETCONTENT:
        s.items.clear();
        s.caret = -1;
        s.top = 0;
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case LB_GETCOUNT:
        return count;
    case LB_GETTEXT:
        if (!valid)
            return LB_ERR;
        if (lParam) {
            const std::wstring& t = s.items[static_cast<size_t>(index)].text;
            std::copy(t.begin(), t.end(), reinterpret_cast<LPWSTR>(lParam));
            reinterpret_cast<LPWSTR>(lParam)[t.size()] = 0;
        }
        return static_cast<LRESULT>(s.items[static_cast<size_t>(index)].text.size());
    case LB_GETTEXTLEN:
        return valid ? static_cast<LRESULT>(s.items[static_cast<size_t>(index)].text.size()) : LB_ERR;
    case LB_GETITEMDATA:
        return valid ? static_cast<LRESULT>(s.items[static_cast<size_t>(index)].data) : LB_ERR;
    case LB_SETITEMDATA:
        if (!valid)
            return LB_ERR;
        s.items[static_cast<size_t>(index)].data = lParam;
        return 0;
    case LB_GETCURSEL:
        return multiple(hwnd) ? s.caret : currentSelection(s);
    case LB_SETCURSEL:
        if (multiple(hwnd))
            return LB_ERR;
        selectOnly(hwnd, s, valid ? index : -1);
        return valid ? index : LB_ERR;
    case LB_GETSEL:
        return valid ? (s.items[static_cast<size_t>(index)].selected ? 1 : 0) : LB_ERR;
    case LB_SETSEL: {
        if (!multiple(hwnd))
            return LB_ERR;
        const int which = static_cast<int>(lParam);
        for (int i = 0; i < count; ++i) {
            if (which == -1 || i == which)
                s.items[static_cast<size_t>(i)].selected = wParam != 0;
        }
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case LB_GETSELCOUNT:
        if (!multiple(hwnd))
            return LB_ERR;
        return std::count_if(s.items.begin(), s.items.end(), [](const auto& i) { return i.selected; });
    case LB_GETSELITEMS: {
        if (!multiple(hwnd))
            return LB_ERR;
        int n = 0;
        auto* out = reinterpret_cast<int*>(lParam);
        for (int i = 0; i < count && n < index; ++i) {
            if (s.items[static_cast<size_t>(i)].selected)
                out[n++] = i;
        }
        return n;
    }
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
        return count ? findString(s, index < 0 || index >= count ? -1 : index,
                                  reinterpret_cast<LPCWSTR>(lParam), message == LB_FINDSTRINGEXACT)
                     : LB_ERR;
    case LB_SELECTSTRING: {
        const LRESULT found = count ? findString(s, index < 0 || index >= count ? -1 : index,
                                                 reinterpret_cast<LPCWSTR>(lParam), false)
                                    : LB_ERR;
        if (found != LB_ERR && !multiple(hwnd))
            selectOnly(hwnd, s, static_cast<int>(found));
        return found;
    }
    case LB_GETTOPINDEX:
        return s.top;
    case LB_SETTOPINDEX:
        if (!valid && count)
            return LB_ERR;
        s.top = count ? index : 0;
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case LB_GETITEMHEIGHT:
        return kListItemHeight;
    case LB_GETITEMRECT: {
        if (!valid)
            return LB_ERR;
        RECT client{};
        GetClientRect(hwnd, &client);
        *reinterpret_cast<RECT*>(lParam) =
            RECT{0, (index - s.top) * kListItemHeight, client.right, (index - s.top + 1) * kListItemHeight};
        return 0;
    }
    case WM_KEYDOWN: {
        if (!count)
            return 0;
        int next = s.caret;
        switch (wParam) {
        case VK_UP:
            next = std::max(0, s.caret - 1);
            break;
        case VK_DOWN:
            next = std::min(count - 1, s.caret + 1);
            break;
        case VK_HOME:
            next = 0;
            break;
        case VK_END:
            next = count - 1;
            break;
        case VK_PRIOR:
            next = std::max(0, s.caret - visibleRows(hwnd));
            break;
        case VK_NEXT:
            next = std::min(count - 1, s.caret + visibleRows(hwnd));
            break;
        default:
            return 0;
        }
        if (next != s.caret || currentSelection(s) != next) {
            selectOnly(hwnd, s, next);
            notifySelection(hwnd);
        }
        return 0;
    }
    case WM_LBUTTONDOWN: {
        if (GetFocus() != hwnd)
            SetFocus(hwnd);
        const int at = itemAt(hwnd, s, lParam);
        if (at < 0)
            return 0;
        if (multiple(hwnd) && (wParam & MK_CONTROL)) {
            s.items[static_cast<size_t>(at)].selected = !s.items[static_cast<size_t>(at)].selected;
            s.caret = at;
            InvalidateRect(hwnd, nullptr, TRUE);
        } else {
            selectOnly(hwnd, s, at);
        }
        notifySelection(hwnd);
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        if (itemAt(hwnd, s, lParam) >= 0 && (GetWindowLongW(hwnd, GWL_STYLE) & LBS_NOTIFY))
            notifyParent(hwnd, LBN_DBLCLK);
        return 0;
    case WM_MOUSEWHEEL:
        s.top =
            std::clamp(s.top - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3, 0, std::max(0, count - 1));
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(hwnd, nullptr, TRUE);
        if (GetWindowLongW(hwnd, GWL_STYLE) & LBS_NOTIFY)
            notifyParent(hwnd, message == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        const HDC dc = BeginPaint(hwnd, &ps);
        paintList(dc, hwnd, s, GetFocus() == hwnd);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace pal::controls
