// "ListBox" (and "ComboLBox", the list of a combo box): items with text and data, single,
// multiple and extended selection, sorting, owner-drawn items, and scrolling.
#include "combo_private.h"
#include "control.h"
#include "paint.h"

#include "pal/text.h"

#include <algorithm>
#include <utility>

namespace pal::ctl {
namespace {

struct Item {
    std::wstring text;
    ULONG_PTR data = 0;
    bool selected = false;
    int height = 0;
};

struct List {
    std::vector<Item> items;
    int current = -1; // the selection of a single-selection list
    int caret = 0;    // the item with the focus rectangle
    int anchor = 0;   // where an extended selection starts
    int top = 0;
    int itemHeight = 0;
    int extent = 0; // horizontal extent
    int scrollX = 0;
    bool focused = false;
    bool tracking = false;
    int downSelection = -1;
    bool pressChanged = false; // the press changed the selection: the release tells the parent
    HFONT font = nullptr;
    HWND combo = nullptr;
    // The bars the list was made with: it hides them while they have nothing to scroll and
    // shows them again when they do.
    bool vbar = false, hbar = false;
};

enum class Mode { Single, Multiple, Extended, None };

Mode modeOf(DWORD style) {
    if (style & LBS_NOSEL)
        return Mode::None;
    if (style & LBS_EXTENDEDSEL)
        return Mode::Extended;
    if (style & LBS_MULTIPLESEL)
        return Mode::Multiple;
    return Mode::Single;
}

bool ownerDrawn(DWORD style) {
    return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}
bool hasStrings(DWORD style) {
    return !ownerDrawn(style) || (style & LBS_HASSTRINGS);
}

HWND notifyTarget(HWND hwnd, const List& l) {
    return l.combo ? l.combo : GetParent(hwnd);
}

// The parent hears LBN_* only when the list asks for it (LBS_NOTIFY).
void notifyIfAsked(HWND hwnd, const List& l, UINT code) {
    if (l.combo || !(styleOf(hwnd) & LBS_NOTIFY))
        return;
    notifyCommand(hwnd, code);
}

bool valid(const List& l, WPARAM index) {
    return static_cast<LONG_PTR>(index) >= 0 && static_cast<size_t>(index) < l.items.size();
}

int count(const List& l) {
    return static_cast<int>(l.items.size());
}

int defaultItemHeight(const List& l) {
    return l.itemHeight > 0 ? l.itemHeight : std::max(1, lineHeight(l.font));
}

int heightOf(HWND hwnd, const List& l, int index) {
    if ((styleOf(hwnd) & LBS_OWNERDRAWVARIABLE) && valid(l, static_cast<WPARAM>(index)) &&
        l.items[static_cast<size_t>(index)].height > 0)
        return l.items[static_cast<size_t>(index)].height;
    return defaultItemHeight(l);
}

void redraw(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, TRUE);
}

int clientHeight(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r.bottom - r.top;
}

int visibleCount(HWND hwnd, const List& l) {
    int y = 0, n = 0;
    for (int i = l.top; i < count(l); ++i) {
        y += heightOf(hwnd, l, i);
        if (y > clientHeight(hwnd))
            break;
        ++n;
    }
    return std::max(1, n);
}

void updateScrollBars(HWND hwnd, const List& l) {
    const DWORD style = styleOf(hwnd);
    if (l.vbar) {
        SCROLLINFO si{sizeof si,
                      SIF_RANGE | SIF_PAGE | SIF_POS,
                      0,
                      std::max(0, count(l) - 1),
                      static_cast<UINT>(visibleCount(hwnd, l)),
                      l.top,
                      0};
        if (style & LBS_DISABLENOSCROLL)
            si.fMask |= SIF_DISABLENOSCROLL;
        SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
    }
    if (l.hbar) {
        RECT r{};
        GetClientRect(hwnd, &r);
        SCROLLINFO si{sizeof si,
                      SIF_RANGE | SIF_PAGE | SIF_POS,
                      0,
                      std::max(0, l.extent - 1),
                      static_cast<UINT>(r.right - r.left),
                      l.scrollX,
                      0};
        SetScrollInfo(hwnd, SB_HORZ, &si, TRUE);
    }
}

void setTop(HWND hwnd, List& l, int top) {
    const int most = std::max(0, count(l) - visibleCount(hwnd, l));
    const int wanted = std::clamp(top, 0, std::max(most, 0));
    if (wanted != l.top) {
        l.top = wanted;
        redraw(hwnd);
    }
    updateScrollBars(hwnd, l);
}

void showItem(HWND hwnd, List& l, int index) {
    if (index < 0 || index >= count(l))
        return;
    if (index < l.top)
        setTop(hwnd, l, index);
    else if (index >= l.top + visibleCount(hwnd, l))
        setTop(hwnd, l, index - visibleCount(hwnd, l) + 1);
}

bool selectedAt(const List& l, Mode mode, int i) {
    return mode == Mode::Single ? l.current == i : l.items[static_cast<size_t>(i)].selected;
}

// Ordering of a sorted list: strings without case; owner-drawn items without strings ask the parent.
bool before(HWND hwnd, const List& l, const Item& a, const Item& b) {
    if (hasStrings(styleOf(hwnd)))
        return pal::text::compareNoCase(a.text, b.text) < 0;
    COMPAREITEMSTRUCT c{ODT_LISTBOX, static_cast<UINT>(idOf(hwnd)), hwnd,   static_cast<UINT>(-1),
                        a.data,      static_cast<UINT>(-1),         b.data, 0};
    return SendMessageW(notifyTarget(hwnd, l), WM_COMPAREITEM, static_cast<WPARAM>(idOf(hwnd)),
                        reinterpret_cast<LPARAM>(&c)) < 0;
}

void measure(HWND hwnd, List& l, int index) {
    const DWORD style = styleOf(hwnd);
    if (!(style & LBS_OWNERDRAWVARIABLE))
        return;
    Item& item = l.items[static_cast<size_t>(index)];
    MEASUREITEMSTRUCT m{l.combo ? ODT_COMBOBOX : ODT_LISTBOX,
                        static_cast<UINT>(idOf(l.combo ? l.combo : hwnd)),
                        static_cast<UINT>(index),
                        0,
                        static_cast<UINT>(defaultItemHeight(l)),
                        item.data};
    SendMessageW(notifyTarget(hwnd, l), WM_MEASUREITEM, m.CtlID, reinterpret_cast<LPARAM>(&m));
    item.height = static_cast<int>(m.itemHeight);
}

LRESULT insert(HWND hwnd, List& l, int index, LPARAM lParam, bool sorted) {
    const DWORD style = styleOf(hwnd);
    Item item;
    if (hasStrings(style))
        item.text = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
    else
        item.data = static_cast<ULONG_PTR>(lParam);
    if (index == -1)
        index = count(l);
    if (index < 0 || index > count(l))
        return LB_ERR;
    if (sorted) {
        index = 0;
        while (index < count(l) && !before(hwnd, l, item, l.items[static_cast<size_t>(index)]))
            ++index;
    }
    l.items.insert(l.items.begin() + index, std::move(item));
    if (l.current >= index)
        ++l.current;
    if (l.caret > index && l.caret < count(l))
        ++l.caret;
    measure(hwnd, l, index);
    updateScrollBars(hwnd, l);
    redraw(hwnd);
    return index;
}

void deleteNotice(HWND hwnd, const List& l, int index) {
    const DWORD style = styleOf(hwnd);
    if (!ownerDrawn(style))
        return;
    const Item& item = l.items[static_cast<size_t>(index)];
    DELETEITEMSTRUCT d{l.combo ? ODT_COMBOBOX : ODT_LISTBOX, static_cast<UINT>(idOf(hwnd)),
                       static_cast<UINT>(index), hwnd, item.data};
    SendMessageW(notifyTarget(hwnd, l), WM_DELETEITEM, d.CtlID, reinterpret_cast<LPARAM>(&d));
}

LRESULT remove(HWND hwnd, List& l, WPARAM index) {
    if (!valid(l, index))
        return LB_ERR;
    const int i = static_cast<int>(index);
    deleteNotice(hwnd, l, i);
    l.items.erase(l.items.begin() + i);
    if (l.current == i)
        l.current = -1;
    else if (l.current > i)
        --l.current;
    l.caret = std::clamp(l.caret > i ? l.caret - 1 : l.caret, 0, std::max(0, count(l) - 1));
    l.anchor = std::clamp(l.anchor, 0, std::max(0, count(l) - 1));
    setTop(hwnd, l, l.top);
    redraw(hwnd);
    return count(l);
}

void reset(HWND hwnd, List& l) {
    for (int i = 0; i < count(l); ++i)
        deleteNotice(hwnd, l, i);
    l.items.clear();
    l.current = -1;
    l.caret = l.anchor = l.top = 0;
    updateScrollBars(hwnd, l);
    redraw(hwnd);
}

// Finds from the item after `start`, wrapping round; a prefix match or a whole match, without case.
LRESULT find(HWND hwnd, const List& l, WPARAM start, LPARAM lParam, bool exact) {
    if (count(l) == 0)
        return LB_ERR;
    const DWORD style = styleOf(hwnd);
    const int first = valid(l, start) ? static_cast<int>(start) + 1 : 0;
    for (int k = 0; k < count(l); ++k) {
        const int i = (first + k) % count(l);
        const Item& item = l.items[static_cast<size_t>(i)];
        if (!hasStrings(style)) {
            if (item.data == static_cast<ULONG_PTR>(lParam))
                return i;
            continue;
        }
        const std::wstring wanted = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
        const std::wstring have =
            exact ? item.text : item.text.substr(0, std::min(item.text.size(), wanted.size()));
        if (pal::text::compareNoCase(have, wanted) == 0)
            return i;
    }
    return LB_ERR;
}

bool setCurrent(HWND hwnd, List& l, int index) {
    if (l.current == index)
        return false;
    l.current = index;
    if (index >= 0) {
        l.caret = l.anchor = index;
        showItem(hwnd, l, index);
    }
    redraw(hwnd);
    return true;
}

bool selectRange(HWND hwnd, List& l, int first, int last, bool on) {
    if (first > last)
        std::swap(first, last);
    bool changed = false;
    for (int i = std::max(0, first); i <= std::min(last, count(l) - 1); ++i) {
        Item& item = l.items[static_cast<size_t>(i)];
        changed |= item.selected != on;
        item.selected = on;
    }
    redraw(hwnd);
    return changed;
}

int itemAt(HWND hwnd, const List& l, POINT p, bool* outside) {
    RECT r{};
    GetClientRect(hwnd, &r);
    *outside = !PtInRect(&r, p);
    int y = 0;
    for (int i = l.top; i < count(l); ++i) {
        const int h = heightOf(hwnd, l, i);
        if (p.y < y + h)
            return i;
        y += h;
    }
    *outside = true;
    return count(l) - 1;
}

RECT itemRect(HWND hwnd, const List& l, int index) {
    RECT r{};
    GetClientRect(hwnd, &r);
    int y = 0;
    if (index >= l.top) {
        for (int i = l.top; i < index; ++i)
            y += heightOf(hwnd, l, i);
    } else {
        for (int i = index; i < l.top; ++i)
            y -= heightOf(hwnd, l, i);
    }
    return RECT{r.left - l.scrollX, y, std::max(r.right, static_cast<LONG>(l.extent)) - l.scrollX,
                y + heightOf(hwnd, l, index)};
}

// A click or a key chose `index` (with the keys and buttons held in `keys`): the selection follows
// the list's mode. Answers whether the selection changed.
bool choose(HWND hwnd, List& l, int index, bool shift, bool control, bool toggle) {
    if (index < 0 || index >= count(l))
        return false;
    bool changed = false;
    switch (modeOf(styleOf(hwnd))) {
    case Mode::None:
        l.caret = index;
        redraw(hwnd);
        return false;
    case Mode::Single:
        changed = setCurrent(hwnd, l, index);
        break;
    case Mode::Multiple:
        if (toggle) {
            l.items[static_cast<size_t>(index)].selected = !l.items[static_cast<size_t>(index)].selected;
            changed = true;
        }
        break;
    case Mode::Extended:
        if (shift) {
            if (!control)
                changed |= selectRange(hwnd, l, 0, count(l) - 1, false);
            changed |= selectRange(hwnd, l, l.anchor, index, true);
        } else if (control) {
            if (toggle) {
                l.items[static_cast<size_t>(index)].selected = !l.items[static_cast<size_t>(index)].selected;
                changed = true;
            }
            l.anchor = index;
        } else {
            for (int i = 0; i < count(l); ++i) {
                const bool on = i == index;
                changed |= l.items[static_cast<size_t>(i)].selected != on;
                l.items[static_cast<size_t>(i)].selected = on;
            }
            l.anchor = index;
        }
        break;
    }
    l.caret = index;
    showItem(hwnd, l, index);
    redraw(hwnd);
    return changed;
}

void keyDown(HWND hwnd, List& l, WPARAM key) {
    if (count(l) == 0)
        return;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const Mode mode = modeOf(styleOf(hwnd));
    const int from = mode == Mode::Single && l.current >= 0 ? l.current : l.caret;
    int to = from;
    switch (key) {
    case VK_UP:
    case VK_LEFT:
        to = from - 1;
        break;
    case VK_DOWN:
    case VK_RIGHT:
        to = from + 1;
        break;
    case VK_PRIOR:
        to = from - std::max(1, visibleCount(hwnd, l) - 1);
        break;
    case VK_NEXT:
        to = from + std::max(1, visibleCount(hwnd, l) - 1);
        break;
    case VK_HOME:
        to = 0;
        break;
    case VK_END:
        to = count(l) - 1;
        break;
    case VK_SPACE:
        if (mode == Mode::Multiple || (mode == Mode::Extended && control)) {
            if (choose(hwnd, l, l.caret, false, true, true))
                notifyIfAsked(hwnd, l, LBN_SELCHANGE);
        }
        return;
    default:
        return;
    }
    if (mode == Mode::Single && l.current < 0)
        to = std::max(0, to);
    to = std::clamp(to, 0, count(l) - 1);
    if (mode == Mode::Multiple || (mode == Mode::Extended && control && !shift)) {
        l.caret = to;
        showItem(hwnd, l, to);
        redraw(hwnd);
        return;
    }
    if (choose(hwnd, l, to, shift, false, false)) {
        if (l.combo)
            SendMessageW(l.combo, kComboTracked, static_cast<WPARAM>(to), 0);
        notifyIfAsked(hwnd, l, LBN_SELCHANGE);
    }
}

// Typing a letter moves to the next item that starts with it.
void typeChar(HWND hwnd, List& l, wchar_t c) {
    if (c < 0x20 || !hasStrings(styleOf(hwnd)))
        return;
    const wchar_t text[2] = {c, 0};
    const LRESULT found =
        find(hwnd, l, static_cast<WPARAM>(modeOf(styleOf(hwnd)) == Mode::Single ? l.current : l.caret),
             reinterpret_cast<LPARAM>(text), false);
    if (found != LB_ERR && choose(hwnd, l, static_cast<int>(found), false, false, false))
        notifyIfAsked(hwnd, l, LBN_SELCHANGE);
}

void scroll(HWND hwnd, List& l, WORD code, int thumb) {
    const int page = std::max(1, visibleCount(hwnd, l) - 1);
    switch (code) {
    case SB_LINEUP:
        setTop(hwnd, l, l.top - 1);
        break;
    case SB_LINEDOWN:
        setTop(hwnd, l, l.top + 1);
        break;
    case SB_PAGEUP:
        setTop(hwnd, l, l.top - page);
        break;
    case SB_PAGEDOWN:
        setTop(hwnd, l, l.top + page);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        setTop(hwnd, l, thumb);
        break;
    case SB_TOP:
        setTop(hwnd, l, 0);
        break;
    case SB_BOTTOM:
        setTop(hwnd, l, count(l));
        break;
    default:
        break;
    }
}

void paint(HWND hwnd, UINT message, WPARAM wParam, List& l) {
    const DWORD style = styleOf(hwnd);
    const Mode mode = modeOf(style);
    ListLook look{notifyTarget(hwnd, l), l.top, defaultItemHeight(l), l.caret, l.focused, l.scrollX, l.font};
    const bool drawn = ownerDrawn(style);
    paintControl(hwnd, message, wParam, [&](HDC dc, const RECT& r) {
        paintList(
            hwnd, dc, r, look,
            [&](int i, ListItemView& v) {
                if (i < 0 || i >= count(l))
                    return false;
                const Item& item = l.items[static_cast<size_t>(i)];
                v.text = &item.text;
                v.selected = selectedAt(l, mode, i);
                v.height = heightOf(hwnd, l, i);
                v.data = item.data;
                return true;
            },
            drawn, l.combo ? ODT_COMBOBOX : ODT_LISTBOX);
    });
}

} // namespace

LRESULT listBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    List* l = attachState<List>(hwnd, message);
    if (!l)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const DWORD style = styleOf(hwnd);
    const Mode mode = modeOf(style);
    switch (message) {
    case WM_NCCREATE:
        l->vbar = (style & WS_VSCROLL) != 0;
        l->hbar = (style & WS_HSCROLL) != 0;
        break;
    case WM_MOUSEACTIVATE:
        // The dropped list of a combo box never takes activation from the box's window.
        if (l->combo)
            return MA_NOACTIVATE;
        break;
    case WM_CREATE:
        if (style & LBS_OWNERDRAWFIXED) {
            MEASUREITEMSTRUCT m{ODT_LISTBOX,
                                static_cast<UINT>(idOf(hwnd)),
                                0,
                                0,
                                static_cast<UINT>(defaultItemHeight(*l)),
                                0};
            SendMessageW(GetParent(hwnd), WM_MEASUREITEM, m.CtlID, reinterpret_cast<LPARAM>(&m));
            l->itemHeight = static_cast<int>(m.itemHeight);
        }
        updateScrollBars(hwnd, *l);
        return 0;
    case kListSetCombo:
        l->combo = reinterpret_cast<HWND>(wParam);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case LB_ADDSTRING:
        return insert(hwnd, *l, -1, lParam, (style & LBS_SORT) != 0);
    case LB_INSERTSTRING:
        return insert(hwnd, *l, static_cast<int>(wParam), lParam, false);
    case LB_DELETESTRING:
        return remove(hwnd, *l, wParam);
    case LB_RESETCONTENT:
        reset(hwnd, *l);
        return 0;
    case LB_GETCOUNT:
        return count(*l);
    case LB_GETTEXT: {
        if (!valid(*l, wParam))
            return LB_ERR;
        const Item& item = l->items[wParam];
        if (!hasStrings(style)) {
            if (lParam)
                *reinterpret_cast<ULONG_PTR*>(lParam) = item.data;
            return sizeof(ULONG_PTR);
        }
        if (lParam) {
            auto* out = reinterpret_cast<wchar_t*>(lParam);
            std::copy(item.text.begin(), item.text.end(), out);
            out[item.text.size()] = L'\0';
        }
        return static_cast<LRESULT>(item.text.size());
    }
    case LB_GETTEXTLEN:
        if (!valid(*l, wParam))
            return LB_ERR;
        return hasStrings(style) ? static_cast<LRESULT>(l->items[wParam].text.size()) : sizeof(ULONG_PTR);
    case LB_GETITEMDATA:
        return valid(*l, wParam) ? static_cast<LRESULT>(l->items[wParam].data) : LB_ERR;
    case LB_SETITEMDATA:
        if (!valid(*l, wParam))
            return LB_ERR;
        l->items[wParam].data = static_cast<ULONG_PTR>(lParam);
        return TRUE;
    case LB_SETCURSEL:
        if (mode != Mode::Single)
            return LB_ERR;
        if (static_cast<int>(wParam) == -1) {
            setCurrent(hwnd, *l, -1);
            return LB_ERR;
        }
        if (!valid(*l, wParam))
            return LB_ERR;
        setCurrent(hwnd, *l, static_cast<int>(wParam));
        return static_cast<LRESULT>(wParam);
    case LB_GETCURSEL:
        if (mode == Mode::Single)
            return l->current >= 0 ? l->current : LB_ERR;
        return count(*l) ? l->caret : LB_ERR;
    case LB_SETSEL: {
        if (mode == Mode::Single || mode == Mode::None)
            return LB_ERR;
        const int index = static_cast<int>(lParam);
        if (index == -1) {
            selectRange(hwnd, *l, 0, count(*l) - 1, wParam != 0);
            return LB_OKAY;
        }
        if (!valid(*l, static_cast<WPARAM>(lParam)))
            return LB_ERR;
        l->items[static_cast<size_t>(index)].selected = wParam != 0;
        l->caret = index;
        redraw(hwnd);
        return LB_OKAY;
    }
    case LB_GETSEL:
        if (!valid(*l, wParam))
            return LB_ERR;
        return selectedAt(*l, mode, static_cast<int>(wParam)) ? 1 : 0;
    case LB_GETSELCOUNT:
        if (mode == Mode::Single)
            return LB_ERR;
        return std::count_if(l->items.begin(), l->items.end(), [](const Item& i) { return i.selected; });
    case LB_GETSELITEMS: {
        if (mode == Mode::Single)
            return LB_ERR;
        auto* out = reinterpret_cast<int*>(lParam);
        int n = 0;
        for (int i = 0; i < count(*l) && n < static_cast<int>(wParam) && out; ++i) {
            if (l->items[static_cast<size_t>(i)].selected)
                out[n++] = i;
        }
        return n;
    }
    case LB_SELITEMRANGE:
        if (mode == Mode::Single)
            return LB_ERR;
        selectRange(hwnd, *l, LOWORD(lParam), HIWORD(lParam), wParam != 0);
        return LB_OKAY;
    case LB_SELITEMRANGEEX: {
        if (mode == Mode::Single)
            return LB_ERR;
        const int first = static_cast<int>(wParam), last = static_cast<int>(lParam);
        if (first <= last)
            selectRange(hwnd, *l, first, last, true);
        else
            selectRange(hwnd, *l, last, first, false);
        return LB_OKAY;
    }
    case LB_FINDSTRING:
        return find(hwnd, *l, wParam, lParam, false);
    case LB_FINDSTRINGEXACT:
        return find(hwnd, *l, wParam, lParam, true);
    case LB_SELECTSTRING: {
        const LRESULT found = find(hwnd, *l, wParam, lParam, false);
        if (found == LB_ERR)
            return LB_ERR;
        if (mode == Mode::Single)
            setCurrent(hwnd, *l, static_cast<int>(found));
        else
            l->items[static_cast<size_t>(found)].selected = true;
        return found;
    }
    case LB_GETTOPINDEX:
        return l->top;
    case LB_SETTOPINDEX:
        if (!valid(*l, wParam) && !(wParam == 0 && count(*l) == 0))
            return LB_ERR;
        setTop(hwnd, *l, static_cast<int>(wParam));
        return LB_OKAY;
    case LB_GETCARETINDEX:
        return l->caret;
    case LB_SETCARETINDEX:
        if (!valid(*l, wParam))
            return LB_ERR;
        l->caret = static_cast<int>(wParam);
        showItem(hwnd, *l, l->caret);
        redraw(hwnd);
        return LB_OKAY;
    case LB_GETANCHORINDEX:
        return l->anchor;
    case LB_SETANCHORINDEX:
        if (!valid(*l, wParam))
            return LB_ERR;
        l->anchor = static_cast<int>(wParam);
        return LB_OKAY;
    case LB_GETITEMRECT:
        if (!valid(*l, wParam) || !lParam)
            return LB_ERR;
        *reinterpret_cast<RECT*>(lParam) = itemRect(hwnd, *l, static_cast<int>(wParam));
        return LB_OKAY;
    case LB_GETITEMHEIGHT:
        if ((style & LBS_OWNERDRAWVARIABLE) && count(*l) > 0) {
            if (!valid(*l, wParam))
                return LB_ERR;
            return heightOf(hwnd, *l, static_cast<int>(wParam));
        }
        return defaultItemHeight(*l);
    case LB_SETITEMHEIGHT: {
        const int height = LOWORD(lParam);
        if (height <= 0 || height > 255)
            return LB_ERR;
        if (style & LBS_OWNERDRAWVARIABLE) {
            if (!valid(*l, wParam))
                return LB_ERR;
            l->items[wParam].height = height;
        } else {
            l->itemHeight = height;
        }
        setTop(hwnd, *l, l->top);
        redraw(hwnd);
        return LB_OKAY;
    }
    case LB_GETHORIZONTALEXTENT:
        return l->extent;
    case LB_SETHORIZONTALEXTENT:
        l->extent = std::max(0, static_cast<int>(wParam));
        updateScrollBars(hwnd, *l);
        return 0;
    case LB_ITEMFROMPOINT: {
        bool outside = false;
        const int i = itemAt(hwnd, *l, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, &outside);
        return MAKELONG(static_cast<WORD>(std::max(0, i)), outside ? 1 : 0);
    }
    case WM_SETFOCUS:
        l->focused = true;
        redraw(hwnd);
        notifyIfAsked(hwnd, *l, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        l->focused = false;
        redraw(hwnd);
        notifyIfAsked(hwnd, *l, LBN_KILLFOCUS);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        bool outside = false;
        const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const int i = itemAt(hwnd, *l, p, &outside);
        if (l->combo) {
            if (styleOf(hwnd) & WS_CHILD)
                SetFocus(l->combo);
            RECT r{};
            GetClientRect(hwnd, &r);
            if (!PtInRect(&r, p)) {
                SendMessageW(l->combo, kComboDismissed, 0, 0);
                return 0;
            }
            l->tracking = true;
            SetCapture(hwnd);
            choose(hwnd, *l, i, false, false, false);
            return 0;
        }
        SetFocus(hwnd);
        if (message == WM_LBUTTONDBLCLK) {
            if (!outside)
                notifyIfAsked(hwnd, *l, LBN_DBLCLK);
            return 0;
        }
        if (outside && i < 0)
            return 0;
        const bool changed = choose(hwnd, *l, i, (wParam & MK_SHIFT) != 0, (wParam & MK_CONTROL) != 0, true);
        l->downSelection = l->current;
        l->pressChanged = changed;
        l->tracking = true;
        SetCapture(hwnd);
        return 0;
    }
    case WM_MOUSEMOVE: {
        if (!l->tracking && !l->combo)
            return 0;
        bool outside = false;
        const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const int i = itemAt(hwnd, *l, p, &outside);
        if (!outside && (mode == Mode::Single))
            setCurrent(hwnd, *l, i);
        return 0;
    }
    case WM_LBUTTONUP: {
        if (!l->tracking)
            return 0;
        l->tracking = false;
        if (GetCapture() == hwnd && !l->combo)
            ReleaseCapture();
        if (l->combo) {
            bool outside = false;
            const int i = itemAt(hwnd, *l, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, &outside);
            SendMessageW(l->combo, outside ? kComboDismissed : kComboPicked, static_cast<WPARAM>(i), 0);
            return 0;
        }
        // The parent hears of a selection made by the press, or dragged to another item, when the
        // button is released.
        if (std::exchange(l->pressChanged, false) || (mode == Mode::Single && l->current != l->downSelection))
            notifyIfAsked(hwnd, *l, LBN_SELCHANGE);
        return 0;
    }
    case WM_KEYDOWN:
        if ((style & LBS_WANTKEYBOARDINPUT) && !l->combo) {
            const LRESULT answer =
                SendMessageW(GetParent(hwnd), WM_VKEYTOITEM,
                             MAKEWPARAM(static_cast<WORD>(wParam), static_cast<WORD>(l->caret)),
                             reinterpret_cast<LPARAM>(hwnd));
            if (answer == -2)
                return 0;
        }
        keyDown(hwnd, *l, wParam);
        return 0;
    case WM_CHAR:
        typeChar(hwnd, *l, static_cast<wchar_t>(wParam));
        return 0;
    case WM_VSCROLL: {
        SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(hwnd, SB_VERT, &si);
        scroll(hwnd, *l, LOWORD(wParam), si.nTrackPos);
        return 0;
    }
    case WM_HSCROLL: {
        RECT r{};
        GetClientRect(hwnd, &r);
        const int most = std::max(0, l->extent - static_cast<int>(r.right - r.left));
        int x = l->scrollX;
        switch (LOWORD(wParam)) {
        case SB_LINELEFT:
            x -= 8;
            break;
        case SB_LINERIGHT:
            x += 8;
            break;
        case SB_PAGELEFT:
            x -= r.right - r.left;
            break;
        case SB_PAGERIGHT:
            x += r.right - r.left;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            x = static_cast<short>(HIWORD(wParam));
            break;
        case SB_LEFT:
            x = 0;
            break;
        case SB_RIGHT:
            x = most;
            break;
        default:
            break;
        }
        l->scrollX = std::clamp(x, 0, most);
        updateScrollBars(hwnd, *l);
        redraw(hwnd);
        return 0;
    }
    case WM_MOUSEWHEEL:
        setTop(hwnd, *l, l->top - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3);
        return 0;
    case WM_SETFONT:
        l->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            redraw(hwnd);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(l->font);
    case WM_SIZE:
        setTop(hwnd, *l, l->top);
        return 0;
    case WM_DESTROY:
        reset(hwnd, *l);
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        paint(hwnd, message, wParam, *l);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace pal::ctl
