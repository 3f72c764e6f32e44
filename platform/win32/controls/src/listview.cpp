// "SysListView32": items with sub-items in four views, owner data, selection by mouse and keys,
// sorting, finding, label editing and dragging, each change told to the parent in the
// platform's order.
#include "control.h"
#include "listview_private.h"
#include "paint.h"

#include <algorithm>

namespace pal::ctl::lv {

constexpr UINT_PTR kEditTimer = 1;

ListView* stateOf(HWND hwnd) {
    return ctl::stateOf<ListView>(hwnd);
}

int viewOf(const ListView& l) {
    return static_cast<int>(l.style & LVS_TYPEMASK);
}

bool ownerData(const ListView& l) {
    return (l.style & LVS_OWNERDATA) != 0;
}

int itemCount(const ListView& l, HWND) {
    return ownerData(l) ? l.virtualCount : static_cast<int>(l.items.size());
}

UINT stateOfItem(const ListView& l, HWND hwnd, int index) {
    if (ownerData(l))
        return (l.virtualSelected.count(index) ? LVIS_SELECTED : 0) | (l.focus == index ? LVIS_FOCUSED : 0);
    const Item& it = l.items[static_cast<size_t>(index)];
    return (it.state & ~LVIS_FOCUSED) | (l.focus == index ? LVIS_FOCUSED : 0);
}

LPARAM paramOf(const ListView& l, HWND hwnd, int index) {
    return ownerData(l) ? 0 : l.items[static_cast<size_t>(index)].param;
}

namespace {

bool valid(const ListView& l, HWND hwnd, int index) {
    return index >= 0 && index < itemCount(l, hwnd);
}

LRESULT notifyItem(HWND hwnd, const ListView& l, UINT code, int index, int subItem = 0) {
    NMLISTVIEW nm{};
    nm.iItem = index;
    nm.iSubItem = subItem;
    if (index >= 0 && valid(l, hwnd, index))
        nm.lParam = paramOf(l, hwnd, index);
    return notify(hwnd, code, &nm.hdr);
}

void invalidateItem(HWND hwnd, const ListView& l, int index) {
    const Layout g = layoutOf(hwnd, l);
    RECT r = itemBounds(hwnd, l, g, index);
    if (g.view == LV_VIEW_DETAILS) {
        r.left = 0;
        r.right = g.client.right;
    }
    InvalidateRect(hwnd, &r, TRUE);
}

// Changes the state bits of one item under `mask`, asking the parent first and telling it after.
bool changeState(HWND hwnd, ListView& l, int index, UINT state, UINT mask) {
    const UINT old = stateOfItem(l, hwnd, index);
    const UINT wanted = (old & ~mask) | (state & mask);
    if (wanted == old)
        return true;
    NMLISTVIEW nm{};
    nm.iItem = index;
    nm.uNewState = wanted;
    nm.uOldState = old;
    nm.uChanged = LVIF_STATE;
    nm.lParam = paramOf(l, hwnd, index);
    if (!ownerData(l) && notify(hwnd, LVN_ITEMCHANGING, &nm.hdr))
        return false;
    if ((wanted & LVIS_FOCUSED) && !(old & LVIS_FOCUSED)) {
        const int before = l.focus;
        l.focus = index;
        if (before >= 0 && before != index && valid(l, hwnd, before)) {
            // The focus leaves the old item first, as its own change.
            l.focus = -1;
            NMLISTVIEW lost{};
            lost.iItem = before;
            lost.uOldState = stateOfItem(l, hwnd, before) | LVIS_FOCUSED;
            lost.uNewState = stateOfItem(l, hwnd, before);
            lost.uChanged = LVIF_STATE;
            lost.lParam = paramOf(l, hwnd, before);
            notify(hwnd, LVN_ITEMCHANGED, &lost.hdr);
            invalidateItem(hwnd, l, before);
            l.focus = index;
        }
    } else if (!(wanted & LVIS_FOCUSED) && l.focus == index) {
        l.focus = -1;
    }
    if (ownerData(l)) {
        if (wanted & LVIS_SELECTED)
            l.virtualSelected.insert(index);
        else
            l.virtualSelected.erase(index);
    } else {
        l.items[static_cast<size_t>(index)].state = wanted & ~LVIS_FOCUSED;
    }
    notify(hwnd, LVN_ITEMCHANGED, &nm.hdr);
    invalidateItem(hwnd, l, index);
    return true;
}

bool singleSelection(HWND hwnd) {
    return (styleOf(hwnd) & LVS_SINGLESEL) != 0;
}

void deselectAllBut(HWND hwnd, ListView& l, int keep) {
    if (ownerData(l)) {
        // One notice with no item stands for every item the parent keeps.
        const bool kept = keep >= 0 && l.virtualSelected.count(keep);
        if (l.virtualSelected.size() <= (kept ? 1u : 0u))
            return;
        l.virtualSelected.clear();
        if (kept)
            l.virtualSelected.insert(keep);
        NMLISTVIEW all{};
        all.iItem = -1;
        all.uOldState = LVIS_SELECTED;
        all.uChanged = LVIF_STATE;
        notify(hwnd, LVN_ITEMCHANGED, &all.hdr);
        InvalidateRect(hwnd, nullptr, TRUE);
        return;
    }
    for (int i = 0; i < static_cast<int>(l.items.size()); ++i)
        if (i != keep && (l.items[static_cast<size_t>(i)].state & LVIS_SELECTED))
            changeState(hwnd, l, i, 0, LVIS_SELECTED);
}

void ensureVisible(HWND hwnd, ListView& l, int index) {
    const Layout g = layoutOf(hwnd, l);
    int unit = index, page = rowsPerPage(hwnd, l);
    if (g.view == LV_VIEW_LIST) {
        unit = index / std::max(1, g.perColumn);
        page = std::max(1, (g.client.right - g.client.left) / std::max(1, g.cellW));
    } else if (g.view == LV_VIEW_ICON || g.view == LV_VIEW_SMALLICON) {
        unit = index / std::max(1, g.perRow);
    }
    const int before = l.top;
    if (unit < l.top)
        l.top = unit;
    else if (unit >= l.top + page)
        l.top = unit - page + 1;
    if (l.top != before) {
        InvalidateRect(hwnd, nullptr, TRUE);
        updateScrollBars(hwnd, l);
    }
}

// A person's choice of one item: the others lose the selection, it gains selection and focus.
void selectOnly(HWND hwnd, ListView& l, int index) {
    deselectAllBut(hwnd, l, index);
    changeState(hwnd, l, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    l.mark = index;
    ensureVisible(hwnd, l, index);
}

void selectRange(HWND hwnd, ListView& l, int from, int to) {
    if (from > to)
        std::swap(from, to);
    if (ownerData(l)) {
        // The parent keeps the items: it hears of the whole range at once, not of each item.
        const bool outside = !l.virtualSelected.empty() &&
                             (*l.virtualSelected.begin() < from || *l.virtualSelected.rbegin() > to);
        if (outside) {
            l.virtualSelected.clear();
            NMLISTVIEW all{};
            all.iItem = -1;
            all.uOldState = LVIS_SELECTED;
            all.uChanged = LVIF_STATE;
            notify(hwnd, LVN_ITEMCHANGED, &all.hdr);
        }
        for (int i = from; i <= to; ++i)
            l.virtualSelected.insert(i);
        NMLVODSTATECHANGE range{};
        range.iFrom = from;
        range.iTo = to;
        range.uNewState = LVIS_SELECTED;
        notify(hwnd, LVN_ODSTATECHANGED, &range.hdr);
        InvalidateRect(hwnd, nullptr, TRUE);
        return;
    }
    const int n = itemCount(l, hwnd);
    for (int i = 0; i < n; ++i)
        if (i < from || i > to)
            changeState(hwnd, l, i, 0, LVIS_SELECTED);
    for (int i = from; i <= to; ++i)
        changeState(hwnd, l, i, LVIS_SELECTED, LVIS_SELECTED);
}

std::wstring labelOf(HWND hwnd, ListView& l, int index) {
    return displayText(hwnd, l, index, 0);
}

int findItem(HWND hwnd, ListView& l, int start, const LVFINDINFOW* info) {
    const int n = itemCount(l, hwnd);
    if (!info || n == 0 || start < -1 || start >= n)
        return -1;
    if (ownerData(l)) {
        NMLVFINDITEMW nm{};
        nm.iStart = start + 1;
        nm.lvfi = *info;
        const auto found = static_cast<int>(notify(hwnd, LVN_ODFINDITEMW, &nm.hdr));
        return valid(l, hwnd, found) ? found : -1;
    }
    const std::wstring wanted =
        (info->flags & (LVFI_STRING | LVFI_PARTIAL | LVFI_SUBSTRING)) ? textFrom(info->psz) : L"";
    const int span = (info->flags & LVFI_WRAP) ? n : n - (start + 1);
    for (int k = 0; k < span; ++k) {
        const int i = (start + 1 + k) % n;
        if (info->flags & LVFI_PARAM) {
            if (l.items[static_cast<size_t>(i)].param == info->lParam)
                return i;
            continue;
        }
        const std::wstring label = labelOf(hwnd, l, i);
        const bool partial = (info->flags & (LVFI_PARTIAL | LVFI_SUBSTRING)) != 0;
        if (partial ? startsWithNoCase(label, wanted) : equalNoCase(label, wanted))
            return i;
    }
    return -1;
}

int nextItem(HWND hwnd, ListView& l, int start, UINT flags) {
    const int n = itemCount(l, hwnd);
    if (start < -1 || start >= n)
        return -1;
    const UINT wantedState = flags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
    auto matches = [&](int i) {
        const UINT s = stateOfItem(l, hwnd, i);
        return (s & wantedState) == wantedState;
    };
    const UINT direction = flags & (LVNI_ABOVE | LVNI_BELOW | LVNI_TOLEFT | LVNI_TORIGHT);
    if (direction) {
        if (start < 0)
            return -1;
        const Layout g = layoutOf(hwnd, l);
        int step = 1;
        if (g.view == LV_VIEW_LIST)
            step = (direction & (LVNI_TOLEFT | LVNI_TORIGHT)) ? std::max(1, g.perColumn) : 1;
        else if (g.view == LV_VIEW_ICON || g.view == LV_VIEW_SMALLICON)
            step = (direction & (LVNI_ABOVE | LVNI_BELOW)) ? std::max(1, g.perRow) : 1;
        else if (direction & (LVNI_TOLEFT | LVNI_TORIGHT))
            return -1;
        const int sign = (direction & (LVNI_ABOVE | LVNI_TOLEFT)) ? -1 : 1;
        for (int i = start + sign * step; i >= 0 && i < n; i += sign * step)
            if (matches(i))
                return i;
        return -1;
    }
    if (wantedState == LVNI_SELECTED && ownerData(l)) {
        auto it = l.virtualSelected.upper_bound(start);
        return it == l.virtualSelected.end() ? -1 : *it;
    }
    for (int i = start + 1; i < n; ++i)
        if (matches(i))
            return i;
    return -1;
}

void sendDeleteItem(HWND hwnd, ListView& l, int index) {
    notifyItem(hwnd, l, LVN_DELETEITEM, index);
}

bool deleteItem(HWND hwnd, ListView& l, int index) {
    if (l.sorting || !valid(l, hwnd, index) || ownerData(l))
        return false;
    if (l.editItem == index)
        l.edit.finish(false);
    sendDeleteItem(hwnd, l, index);
    if (!valid(l, hwnd, index)) // the parent deleted it itself
        return true;
    l.items.erase(l.items.begin() + index);
    if (l.focus == index)
        l.focus = -1;
    else if (l.focus > index)
        --l.focus;
    if (l.mark >= index)
        l.mark = l.mark == index ? -1 : l.mark - 1;
    InvalidateRect(hwnd, nullptr, TRUE);
    updateScrollBars(hwnd, l);
    return true;
}

bool deleteAll(HWND hwnd, ListView& l) {
    if (l.sorting)
        return false;
    l.edit.finish(false);
    if (ownerData(l)) {
        l.virtualCount = 0;
        l.virtualSelected.clear();
    } else if (!l.items.empty()) {
        // The parent may answer TRUE to hear of no item singly.
        if (!notifyItem(hwnd, l, LVN_DELETEALLITEMS, -1))
            for (int i = 0; i < static_cast<int>(l.items.size()); ++i)
                sendDeleteItem(hwnd, l, i);
        l.items.clear();
    }
    l.focus = l.mark = -1;
    l.top = 0;
    InvalidateRect(hwnd, nullptr, TRUE);
    updateScrollBars(hwnd, l);
    return true;
}

void setItemText(Item& it, int subItem, LPCWSTR text) {
    if (subItem == 0) {
        it.textCallback = isTextCallback(text);
        it.text = textFrom(text);
        return;
    }
    if (it.sub.size() < static_cast<size_t>(subItem))
        it.sub.resize(static_cast<size_t>(subItem));
    it.sub[static_cast<size_t>(subItem - 1)] = textFrom(text);
}

int sortedPosition(HWND hwnd, ListView& l, const std::wstring& text) {
    const DWORD style = styleOf(hwnd);
    if (!(style & (LVS_SORTASCENDING | LVS_SORTDESCENDING)))
        return -1;
    const bool down = (style & LVS_SORTDESCENDING) != 0;
    auto it =
        std::upper_bound(l.items.begin(), l.items.end(), text, [&](const std::wstring& t, const Item& item) {
            const int c = lstrcmpiW(t.c_str(), item.text.c_str());
            return down ? c > 0 : c < 0;
        });
    return static_cast<int>(it - l.items.begin());
}

int insertItem(HWND hwnd, ListView& l, const LVITEMW* in) {
    if (!in || l.sorting || ownerData(l) || in->iSubItem != 0)
        return -1;
    Item it;
    if (in->mask & LVIF_TEXT)
        setItemText(it, 0, in->pszText);
    if (in->mask & LVIF_IMAGE)
        it.image = in->iImage;
    if (in->mask & LVIF_PARAM)
        it.param = in->lParam;
    if (in->mask & LVIF_INDENT)
        it.indent = in->iIndent;
    const UINT initialState = (in->mask & LVIF_STATE) ? (in->state & in->stateMask) : 0;
    int at = sortedPosition(hwnd, l, it.text);
    if (at < 0)
        at = std::clamp(in->iItem, 0, static_cast<int>(l.items.size()));
    it.state = initialState & ~LVIS_FOCUSED;
    if ((l.exStyle & LVS_EX_CHECKBOXES) && !(it.state & LVIS_STATEIMAGEMASK))
        it.state |= INDEXTOSTATEIMAGEMASK(1);
    l.items.insert(l.items.begin() + at, std::move(it));
    if (l.focus >= at)
        ++l.focus;
    if (l.mark >= at)
        ++l.mark;
    if (initialState & LVIS_FOCUSED)
        l.focus = at;
    notifyItem(hwnd, l, LVN_INSERTITEM, at);
    // Rows below the view move unseen: only an insertion in view needs painting.
    const Layout g = layoutOf(hwnd, l);
    int first = 0, last = -1;
    visibleRange(hwnd, l, g, first, last);
    if (at <= last + 1)
        InvalidateRect(hwnd, nullptr, TRUE);
    updateScrollBars(hwnd, l);
    return at;
}

BOOL setItem(HWND hwnd, ListView& l, const LVITEMW* in) {
    if (!in || !valid(l, hwnd, in->iItem) || in->iSubItem < 0)
        return FALSE;
    if (ownerData(l)) {
        if (in->mask & LVIF_STATE)
            changeState(hwnd, l, in->iItem, in->state, in->stateMask);
        return TRUE;
    }
    if (in->iSubItem > 0 && static_cast<size_t>(in->iSubItem) >= std::max<size_t>(l.columns.size(), 1))
        return FALSE;
    Item& it = l.items[static_cast<size_t>(in->iItem)];
    if (in->mask & LVIF_TEXT)
        setItemText(it, in->iSubItem, in->pszText);
    if (in->iSubItem == 0) {
        if (in->mask & LVIF_IMAGE)
            it.image = in->iImage;
        if (in->mask & LVIF_PARAM)
            it.param = in->lParam;
        if (in->mask & LVIF_INDENT)
            it.indent = in->iIndent;
        if (in->mask & LVIF_STATE)
            changeState(hwnd, l, in->iItem, in->state, in->stateMask);
    }
    invalidateItem(hwnd, l, in->iItem);
    return TRUE;
}

BOOL getItem(HWND hwnd, ListView& l, LVITEMW* out) {
    if (!out || !valid(l, hwnd, out->iItem) || out->iSubItem < 0)
        return FALSE;
    if (ownerData(l)) {
        NMLVDISPINFOW di{};
        di.item = *out;
        di.item.mask &= ~LVIF_STATE;
        if (di.item.mask) {
            notify(hwnd, LVN_GETDISPINFOW, &di.hdr);
            const UINT keepState = out->state;
            *out = di.item;
            out->state = keepState;
        }
        if (out->mask & LVIF_STATE)
            out->state = stateOfItem(l, hwnd, out->iItem) & out->stateMask;
        return TRUE;
    }
    const Item& it = l.items[static_cast<size_t>(out->iItem)];
    if (out->mask & LVIF_TEXT)
        copyText(displayText(hwnd, l, out->iItem, out->iSubItem), out->pszText, out->cchTextMax);
    if (out->iSubItem == 0) {
        if (out->mask & LVIF_IMAGE)
            out->iImage = it.image;
        if (out->mask & LVIF_PARAM)
            out->lParam = it.param;
        if (out->mask & LVIF_INDENT)
            out->iIndent = it.indent;
        if (out->mask & LVIF_STATE)
            out->state = stateOfItem(l, hwnd, out->iItem) & out->stateMask;
    }
    return TRUE;
}

// Sorting: the parent compares items by their data (LVM_SORTITEMS) or by index (LVM_SORTITEMSEX).
// The items keep their places until the comparisons are done, so a callback that reads the list
// reads a consistent one.
BOOL sortItems(HWND hwnd, ListView& l, LPARAM sortParam, PFNLVCOMPARE compare, bool byIndex) {
    if (!compare || ownerData(l) || l.sorting)
        return FALSE;
    l.edit.finish(false);
    std::vector<size_t> order(l.items.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::vector<LPARAM> keys(l.items.size());
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i] = byIndex ? static_cast<LPARAM>(i) : l.items[i].param;
    l.sorting = true;
    robustSort(order, [&](size_t a, size_t b) { return compare(keys[a], keys[b], sortParam) < 0; });
    l.sorting = false;
    // The items move into their places in the list itself, one cycle of the order at a time: no
    // second list of them is built.
    int focus = -1, mark = -1;
    for (size_t i = 0; i < order.size(); ++i) {
        if (static_cast<int>(order[i]) == l.focus)
            focus = static_cast<int>(i);
        if (static_cast<int>(order[i]) == l.mark)
            mark = static_cast<int>(i);
    }
    for (size_t start = 0; start < order.size(); ++start) {
        if (order[start] == start)
            continue;
        Item held = std::move(l.items[start]);
        size_t at = start;
        while (order[at] != start) {
            const size_t from = order[at];
            l.items[at] = std::move(l.items[from]);
            order[at] = at; // placed
            at = from;
        }
        l.items[at] = std::move(held);
        order[at] = at;
    }
    l.focus = focus;
    l.mark = mark;
    InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
}

void endEdit(HWND hwnd, ListView& l, int index, const std::wstring* text) {
    l.editItem = -1;
    if (!valid(l, hwnd, index))
        return;
    NMLVDISPINFOW di{};
    di.item.mask = LVIF_TEXT;
    di.item.iItem = index;
    std::wstring buffer = text ? *text : std::wstring();
    di.item.pszText = text ? buffer.data() : nullptr;
    di.item.cchTextMax = text ? static_cast<int>(buffer.size()) + 1 : 0;
    di.item.lParam = paramOf(l, hwnd, index);
    const LRESULT accept = notify(hwnd, LVN_ENDLABELEDITW, &di.hdr);
    if (text && accept && !ownerData(l) && valid(l, hwnd, index) &&
        !l.items[static_cast<size_t>(index)].textCallback) {
        l.items[static_cast<size_t>(index)].text = *text;
        invalidateItem(hwnd, l, index);
    }
}

HWND editLabel(HWND hwnd, ListView& l, int index) {
    l.edit.finish(true);
    if (!valid(l, hwnd, index))
        return nullptr;
    if (GetFocus() != hwnd)
        SetFocus(hwnd);
    ensureVisible(hwnd, l, index);
    NMLVDISPINFOW di{};
    std::wstring label = labelOf(hwnd, l, index);
    di.item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    di.item.iItem = index;
    di.item.pszText = label.data();
    di.item.cchTextMax = static_cast<int>(label.size()) + 1;
    di.item.lParam = paramOf(l, hwnd, index);
    di.item.state = stateOfItem(l, hwnd, index);
    if (notify(hwnd, LVN_BEGINLABELEDITW, &di.hdr))
        return nullptr;
    if (!valid(l, hwnd, index))
        return nullptr;
    const Layout g = layoutOf(hwnd, l);
    RECT r = itemBounds(hwnd, l, g, index);
    const int iconW = g.view == LV_VIEW_ICON ? 0 : g.rowH;
    if (g.view == LV_VIEW_ICON)
        r.top = r.bottom - g.rowH - 4;
    else
        r.left += iconW;
    if (g.view == LV_VIEW_DETAILS && !l.columns.empty())
        r.right = std::min<LONG>(r.right, l.columns[0].width);
    r.right = std::max<LONG>(r.right, r.left + 40);
    l.editItem = index;
    return l.edit.begin(hwnd, r, label, l.font, [hwnd, index](const std::wstring* text) {
        if (ListView* s = stateOf(hwnd))
            endEdit(hwnd, *s, index, text);
    });
}

LRESULT activate(HWND hwnd, ListView& l, UINT code, int index, POINT at) {
    NMITEMACTIVATE nm{};
    nm.iItem = index;
    nm.ptAction = at;
    if (valid(l, hwnd, index))
        nm.lParam = paramOf(l, hwnd, index);
    // LVKF_ALT, LVKF_CONTROL, LVKF_SHIFT
    nm.uKeyFlags = (GetKeyState(VK_MENU) < 0 ? 1u : 0u) | (GetKeyState(VK_CONTROL) < 0 ? 2u : 0u) |
                   (GetKeyState(VK_SHIFT) < 0 ? 4u : 0u);
    return notify(hwnd, code, &nm.hdr);
}

// Check boxes are the state images: 1 unticked, 2 ticked.
void toggleCheck(HWND hwnd, ListView& l, int index) {
    const UINT image = (stateOfItem(l, hwnd, index) & LVIS_STATEIMAGEMASK) >> 12;
    changeState(hwnd, l, index, INDEXTOSTATEIMAGEMASK(image == 2 ? 1 : 2), LVIS_STATEIMAGEMASK);
}

void mouseDown(HWND hwnd, ListView& l, POINT p, bool right) {
    l.edit.finish(true);
    KillTimer(hwnd, kEditTimer);
    if (GetFocus() != hwnd)
        SetFocus(hwnd);
    UINT flags = 0;
    const int index = itemAtPoint(hwnd, l, p, &flags, nullptr);
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    // A second click on the label of the only selected, focused item renames it after a pause.
    l.editCandidate = !right && !ctrl && !shift && index >= 0 && index == l.focus &&
                              (flags & LVHT_ONITEMLABEL) && (styleOf(hwnd) & LVS_EDITLABELS) &&
                              (stateOfItem(l, hwnd, index) & LVIS_SELECTED)
                          ? index
                          : -1;
    if (index >= 0 && !right && (flags & LVHT_ONITEMSTATEICON) && (l.exStyle & LVS_EX_CHECKBOXES) &&
        !ownerData(l))
        toggleCheck(hwnd, l, index);
    if (index < 0) {
        if (!ctrl && !shift)
            deselectAllBut(hwnd, l, -1);
    } else if (!singleSelection(hwnd) && shift && l.mark >= 0) {
        selectRange(hwnd, l, l.mark, index);
        changeState(hwnd, l, index, LVIS_FOCUSED, LVIS_FOCUSED);
    } else if (!singleSelection(hwnd) && ctrl) {
        const bool on = (stateOfItem(l, hwnd, index) & LVIS_SELECTED) != 0;
        changeState(hwnd, l, index, (on ? 0 : LVIS_SELECTED) | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        l.mark = index;
    } else if (!(stateOfItem(l, hwnd, index) & LVIS_SELECTED) || right) {
        selectOnly(hwnd, l, index);
    } else {
        changeState(hwnd, l, index, LVIS_FOCUSED, LVIS_FOCUSED);
        l.mark = index;
    }
    l.pressed = true;
    l.pressedItem = index;
    l.pressedAt = p;
    SetCapture(hwnd);
}

void mouseMove(HWND hwnd, ListView& l, POINT p, bool right) {
    if (!l.pressed || l.pressedItem < 0)
        return;
    if (std::abs(p.x - l.pressedAt.x) <= kDragDistance && std::abs(p.y - l.pressedAt.y) <= kDragDistance)
        return;
    // A drag begins: the parent takes over the mouse from here.
    const int index = l.pressedItem;
    l.pressed = false;
    l.pressedItem = -1;
    l.editCandidate = -1;
    if (GetCapture() == hwnd)
        ReleaseCapture();
    NMLISTVIEW nm{};
    nm.iItem = index;
    nm.ptAction = l.pressedAt;
    nm.lParam = paramOf(l, hwnd, index);
    notify(hwnd, right ? LVN_BEGINRDRAG : LVN_BEGINDRAG, &nm.hdr);
}

void mouseUp(HWND hwnd, ListView& l, POINT p, bool right) {
    if (!l.pressed)
        return;
    l.pressed = false;
    if (GetCapture() == hwnd)
        ReleaseCapture();
    const int index = itemAtPoint(hwnd, l, p, nullptr, nullptr);
    if (activate(hwnd, l, right ? NM_RCLICK : NM_CLICK, index, p) == 0 && right)
        askContextMenu(hwnd, p);
    if (l.editCandidate >= 0 && l.editCandidate == index)
        SetTimer(hwnd, kEditTimer, GetDoubleClickTime(), nullptr);
    else
        l.editCandidate = -1;
}

void keyDown(HWND hwnd, ListView& l, WPARAM key) {
    NMLVKEYDOWN kd{};
    kd.wVKey = static_cast<WORD>(key);
    notify(hwnd, LVN_KEYDOWN, &kd.hdr);
    const int n = itemCount(l, hwnd);
    if (n == 0)
        return;
    const Layout g = layoutOf(hwnd, l);
    const int from = valid(l, hwnd, l.focus) ? l.focus : -1;
    const int page = std::max(1, rowsPerPage(hwnd, l) - 1);
    int to = -1;
    int across = 1, along = 1; // steps for left/right and up/down
    if (g.view == LV_VIEW_LIST)
        across = std::max(1, g.perColumn);
    else if (g.view == LV_VIEW_ICON || g.view == LV_VIEW_SMALLICON)
        along = std::max(1, g.perRow);
    switch (key) {
    case VK_DOWN:
        to = from < 0 ? 0 : std::min(n - 1, from + along);
        break;
    case VK_UP:
        to = from < 0 ? 0 : std::max(0, from - along);
        break;
    case VK_RIGHT:
        to = g.view == LV_VIEW_DETAILS ? -1 : (from < 0 ? 0 : std::min(n - 1, from + across));
        break;
    case VK_LEFT:
        to = g.view == LV_VIEW_DETAILS ? -1 : (from < 0 ? 0 : std::max(0, from - across));
        break;
    case VK_HOME:
        to = 0;
        break;
    case VK_END:
        to = n - 1;
        break;
    case VK_NEXT:
        to = from < 0 ? 0 : std::min(n - 1, from + page * along);
        break;
    case VK_PRIOR:
        to = from < 0 ? 0 : std::max(0, from - page * along);
        break;
    case VK_SPACE:
        if (from >= 0 && (l.exStyle & LVS_EX_CHECKBOXES) && !ownerData(l)) {
            toggleCheck(hwnd, l, from);
        } else if (from >= 0 && GetKeyState(VK_CONTROL) < 0 && !singleSelection(hwnd)) {
            const bool on = (stateOfItem(l, hwnd, from) & LVIS_SELECTED) != 0;
            changeState(hwnd, l, from, on ? 0 : LVIS_SELECTED, LVIS_SELECTED);
        } else if (from >= 0) {
            changeState(hwnd, l, from, LVIS_SELECTED, LVIS_SELECTED);
        }
        return;
    case VK_RETURN:
        activate(hwnd, l, LVN_ITEMACTIVATE, from, POINT{});
        return;
    case VK_F2:
        if ((styleOf(hwnd) & LVS_EDITLABELS) && from >= 0)
            editLabel(hwnd, l, from);
        return;
    default:
        return;
    }
    if (to < 0)
        return;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    if (shift && !singleSelection(hwnd)) {
        if (l.mark < 0)
            l.mark = from < 0 ? to : from;
        selectRange(hwnd, l, l.mark, to);
        changeState(hwnd, l, to, LVIS_FOCUSED, LVIS_FOCUSED);
        ensureVisible(hwnd, l, to);
    } else if (ctrl && !singleSelection(hwnd)) {
        changeState(hwnd, l, to, LVIS_FOCUSED, LVIS_FOCUSED);
        ensureVisible(hwnd, l, to);
    } else {
        selectOnly(hwnd, l, to);
    }
}

void typed(HWND hwnd, ListView& l, wchar_t c) {
    if (c < L' ' || itemCount(l, hwnd) == 0)
        return;
    bool after = false;
    const std::wstring prefix = l.typeAhead.add(c, after);
    const int start = std::max(0, l.focus) + (after && l.focus >= 0 ? 1 : 0);
    int found;
    if (ownerData(l)) {
        LVFINDINFOW info{};
        info.flags = LVFI_PARTIAL | LVFI_WRAP | LVFI_STRING;
        info.psz = prefix.c_str();
        NMLVFINDITEMW nm{};
        nm.iStart = start;
        nm.lvfi = info;
        found = static_cast<int>(notify(hwnd, LVN_ODFINDITEMW, &nm.hdr));
    } else {
        found = findPrefix(itemCount(l, hwnd), start, prefix, [&](int i) { return labelOf(hwnd, l, i); });
    }
    if (valid(l, hwnd, found))
        selectOnly(hwnd, l, found);
}

// Columns ------------------------------------------------------------------------------------

void syncHeaderItem(ListView& l, int index, bool insert) {
    if (!l.header)
        return;
    const Column& c = l.columns[static_cast<size_t>(index)];
    HDITEMW hd{};
    hd.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
    hd.cxy = c.width;
    std::wstring text = c.text;
    hd.pszText = text.data();
    hd.fmt = (c.fmt & LVCFMT_JUSTIFYMASK) | HDF_STRING;
    SendMessageW(l.header, insert ? HDM_INSERTITEMW : HDM_SETITEMW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&hd));
}

int insertColumn(HWND hwnd, ListView& l, int at, const LVCOLUMNW* in) {
    if (!in || at < 0)
        return -1;
    at = std::min(at, static_cast<int>(l.columns.size()));
    Column c;
    if (in->mask & LVCF_FMT)
        c.fmt = in->fmt;
    if (in->mask & LVCF_WIDTH)
        c.width = std::max(0, in->cx);
    if (in->mask & LVCF_TEXT)
        c.text = textFrom(in->pszText);
    c.subItem = (in->mask & LVCF_SUBITEM) ? in->iSubItem : at;
    if (in->mask & LVCF_IMAGE)
        c.image = in->iImage;
    l.columns.insert(l.columns.begin() + at, c);
    syncHeaderItem(l, at, true);
    InvalidateRect(hwnd, nullptr, TRUE);
    updateScrollBars(hwnd, l);
    return at;
}

BOOL setColumn(HWND hwnd, ListView& l, int index, const LVCOLUMNW* in) {
    if (!in || index < 0 || index >= static_cast<int>(l.columns.size()))
        return FALSE;
    Column& c = l.columns[static_cast<size_t>(index)];
    if (in->mask & LVCF_FMT)
        c.fmt = in->fmt;
    if (in->mask & LVCF_WIDTH)
        c.width = std::max(0, in->cx);
    if (in->mask & LVCF_TEXT)
        c.text = textFrom(in->pszText);
    if (in->mask & LVCF_SUBITEM)
        c.subItem = in->iSubItem;
    if (in->mask & LVCF_IMAGE)
        c.image = in->iImage;
    syncHeaderItem(l, index, false);
    InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
}

BOOL getColumn(ListView& l, int index, LVCOLUMNW* out) {
    if (!out || index < 0 || index >= static_cast<int>(l.columns.size()))
        return FALSE;
    const Column& c = l.columns[static_cast<size_t>(index)];
    if (out->mask & LVCF_FMT)
        out->fmt = c.fmt;
    if (out->mask & LVCF_WIDTH)
        out->cx = c.width;
    if (out->mask & LVCF_TEXT)
        copyText(c.text, out->pszText, out->cchTextMax);
    if (out->mask & LVCF_SUBITEM)
        out->iSubItem = c.subItem;
    if (out->mask & LVCF_IMAGE)
        out->iImage = c.image;
    if (out->mask & LVCF_ORDER)
        out->iOrder = index;
    return TRUE;
}

int autoWidth(HWND hwnd, ListView& l, int column, bool useHeader) {
    int width = useHeader ? textWidth(l.font, l.columns[static_cast<size_t>(column)].text) + 12 : 0;
    const int n = std::min(itemCount(l, hwnd), 10000); // enough to see the widest of a long list
    for (int i = 0; i < n; ++i)
        width = std::max(
            width,
            textWidth(l.font, displayText(hwnd, l, i, l.columns[static_cast<size_t>(column)].subItem)) +
                (column == 0 && l.images[LVSIL_SMALL] ? 20 : 0) + 12);
    return width;
}

BOOL setColumnWidth(HWND hwnd, ListView& l, int column, int width) {
    if (column < 0 || column >= static_cast<int>(l.columns.size()))
        return FALSE;
    if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER)
        width = autoWidth(hwnd, l, column, width == LVSCW_AUTOSIZE_USEHEADER);
    l.columns[static_cast<size_t>(column)].width = std::max(0, width);
    syncHeaderItem(l, column, false);
    InvalidateRect(hwnd, nullptr, TRUE);
    updateScrollBars(hwnd, l);
    return TRUE;
}

// The header's notifications become the list's: a click asks the parent to sort, a drag of a
// divider resizes the column.
LRESULT headerNotify(HWND hwnd, ListView& l, const NMHDR* h) {
    if (!h || h->hwndFrom != l.header)
        return 0;
    const auto* nm = reinterpret_cast<const NMHEADERW*>(h);
    switch (h->code) {
    case HDN_ITEMCLICKW:
        if (!(styleOf(hwnd) & LVS_NOSORTHEADER))
            notifyItem(hwnd, l, LVN_COLUMNCLICK, -1, nm->iItem);
        return 0;
    case HDN_DIVIDERDBLCLICKW:
        // A double click on a divider fits the column to its widest text.
        setColumnWidth(hwnd, l, nm->iItem, LVSCW_AUTOSIZE_USEHEADER);
        break;
    case HDN_ITEMCHANGEDW:
        if (nm->pitem && (nm->pitem->mask & HDI_WIDTH) && nm->iItem >= 0 &&
            nm->iItem < static_cast<int>(l.columns.size())) {
            l.columns[static_cast<size_t>(nm->iItem)].width = nm->pitem->cxy;
            InvalidateRect(hwnd, nullptr, TRUE);
            updateScrollBars(hwnd, l);
        }
        break;
    default:
        break;
    }
    // Everything else the header says reaches the list's parent as it is.
    const HWND parent = GetParent(hwnd);
    return parent ? SendMessageW(parent, WM_NOTIFY, h->idFrom, reinterpret_cast<LPARAM>(h)) : 0;
}

void makeHeader(HWND hwnd, ListView& l) {
    if (l.header || viewOf(l) != LV_VIEW_DETAILS)
        return;
    DWORD style = WS_CHILD | HDS_HORZ | HDS_BUTTONS | HDS_FULLDRAG;
    if (!(styleOf(hwnd) & LVS_NOCOLUMNHEADER))
        style |= WS_VISIBLE;
    l.header = CreateWindowExW(0, WC_HEADERW, L"", style, 0, 0, 0, 0, hwnd, nullptr, nullptr, nullptr);
    if (l.font && l.header)
        SendMessageW(l.header, WM_SETFONT, reinterpret_cast<WPARAM>(l.font), FALSE);
    for (int i = 0; i < static_cast<int>(l.columns.size()); ++i)
        syncHeaderItem(l, i, true);
    layoutHeader(hwnd, l);
}

void scrollTo(HWND hwnd, ListView& l, int top) {
    const Layout g = layoutOf(hwnd, l);
    const int n = itemCount(l, hwnd);
    int units = n, page = rowsPerPage(hwnd, l);
    if (g.view == LV_VIEW_LIST) {
        units = (n + std::max(1, g.perColumn) - 1) / std::max(1, g.perColumn);
        page = std::max(1, (g.client.right - g.client.left) / std::max(1, g.cellW));
    } else if (g.view == LV_VIEW_ICON || g.view == LV_VIEW_SMALLICON) {
        units = (n + std::max(1, g.perRow) - 1) / std::max(1, g.perRow);
    }
    top = std::clamp(top, 0, std::max(0, units - page));
    if (top == l.top)
        return;
    l.edit.finish(true);
    l.top = top;
    InvalidateRect(hwnd, nullptr, TRUE);
    updateScrollBars(hwnd, l);
}

void onScroll(HWND hwnd, ListView& l, WORD code) {
    const int page = std::max(1, rowsPerPage(hwnd, l));
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_TRACKPOS;
    const int vertical = viewOf(l) == LV_VIEW_LIST ? SB_HORZ : SB_VERT;
    GetScrollInfo(hwnd, vertical, &si);
    switch (code) {
    case SB_LINEUP:
        scrollTo(hwnd, l, l.top - 1);
        break;
    case SB_LINEDOWN:
        scrollTo(hwnd, l, l.top + 1);
        break;
    case SB_PAGEUP:
        scrollTo(hwnd, l, l.top - page);
        break;
    case SB_PAGEDOWN:
        scrollTo(hwnd, l, l.top + page);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        scrollTo(hwnd, l, si.nTrackPos);
        break;
    case SB_TOP:
        scrollTo(hwnd, l, 0);
        break;
    case SB_BOTTOM:
        scrollTo(hwnd, l, itemCount(l, hwnd));
        break;
    default:
        break;
    }
}

POINT pointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

LRESULT itemMessage(HWND hwnd, ListView& l, UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

} // namespace

LRESULT listViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ListView* l = attachState<ListView>(hwnd, message);
    if (!l)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const StateHold<ListView> hold(l);
    if (message == WM_NCCREATE || message == WM_STYLECHANGED)
        l->style = styleOf(hwnd); // asked on every message: kept rather than read each time
    if (message == syncBarsMessage()) {
        if (l->barPending)
            syncScrollBars(hwnd, *l);
        return 0;
    }
    if (l->barPending && (message == WM_PAINT || message == WM_VSCROLL || message == WM_HSCROLL))
        syncScrollBars(hwnd, *l);
    bool handled = true;
    const LRESULT result = itemMessage(hwnd, *l, message, wParam, lParam, handled);
    return handled ? result : DefWindowProcW(hwnd, message, wParam, lParam);
}

namespace {

LRESULT setColour(HWND hwnd, COLORREF& colour, LPARAM lParam) {
    colour = static_cast<COLORREF>(lParam);
    InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT itemMessage(HWND hwnd, ListView& l, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    const auto index = static_cast<int>(wParam);
    switch (message) {
    case WM_CREATE:
        makeHeader(hwnd, l);
        updateScrollBars(hwnd, l);
        return 0;
    case WM_DESTROY:
        l.edit.finish(false);
        if (!ownerData(l))
            deleteAll(hwnd, l);
        if (!(styleOf(hwnd) & LVS_SHAREIMAGELISTS))
            for (HIMAGELIST& list : l.images)
                if (list) {
                    ImageList_Destroy(list);
                    list = nullptr;
                }
        return 0;
    case WM_STYLECHANGED:
        makeHeader(hwnd, l);
        if (l.header)
            ShowWindow(l.header, viewOf(l) == LV_VIEW_DETAILS && !(styleOf(hwnd) & LVS_NOCOLUMNHEADER)
                                     ? SW_SHOW
                                     : SW_HIDE);
        l.top = 0;
        layoutHeader(hwnd, l);
        updateScrollBars(hwnd, l);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_SIZE:
        layoutHeader(hwnd, l);
        updateScrollBars(hwnd, l);
        return 0;
    case WM_SETFONT:
        l.font = reinterpret_cast<HFONT>(wParam);
        l.fontHeight = 0;
        if (l.header)
            SendMessageW(l.header, WM_SETFONT, wParam, lParam);
        layoutHeader(hwnd, l);
        if (LOWORD(lParam))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(l.font);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        l.focused = message == WM_SETFOCUS;
        NMHDR h{};
        notify(hwnd, l.focused ? NM_SETFOCUS : NM_KILLFOCUS, &h);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        mouseDown(hwnd, l, pointOf(lParam), message == WM_RBUTTONDOWN);
        return 0;
    case WM_MOUSEMOVE:
        mouseMove(hwnd, l, pointOf(lParam), (wParam & MK_RBUTTON) != 0);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        mouseUp(hwnd, l, pointOf(lParam), message == WM_RBUTTONUP);
        return 0;
    case WM_CAPTURECHANGED:
        l.pressed = false;
        return 0;
    case WM_TIMER:
        if (wParam != kEditTimer) {
            handled = false;
            return 0;
        }
        KillTimer(hwnd, kEditTimer);
        if (valid(l, hwnd, l.editCandidate) && l.editCandidate == l.focus)
            editLabel(hwnd, l, l.editCandidate);
        l.editCandidate = -1;
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: {
        KillTimer(hwnd, kEditTimer);
        l.editCandidate = -1;
        const POINT p = pointOf(lParam);
        const int hit = itemAtPoint(hwnd, l, p, nullptr, nullptr);
        activate(hwnd, l, message == WM_LBUTTONDBLCLK ? NM_DBLCLK : NM_RDBLCLK, hit, p);
        if (message == WM_LBUTTONDBLCLK && hit >= 0)
            activate(hwnd, l, LVN_ITEMACTIVATE, hit, p);
        return 0;
    }
    case WM_KEYDOWN:
        keyDown(hwnd, l, wParam);
        return 0;
    case WM_CHAR:
        typed(hwnd, l, static_cast<wchar_t>(wParam));
        return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
        onScroll(hwnd, l, LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        scrollTo(hwnd, l, l.top - 3 * static_cast<short>(HIWORD(wParam)) / WHEEL_DELTA);
        return 0;
    case WM_NOTIFY:
        return headerNotify(hwnd, l, reinterpret_cast<const NMHDR*>(lParam));
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        paint(hwnd, l, message, wParam);
        return 0;

    case LVM_GETITEMCOUNT:
        return itemCount(l, hwnd);
    case LVM_SETITEMCOUNT:
        if (ownerData(l)) {
            const int n = std::max(0, index);
            l.virtualCount = n;
            l.virtualSelected.erase(l.virtualSelected.lower_bound(n), l.virtualSelected.end());
            if (l.focus >= n)
                l.focus = -1;
            if (l.mark >= n)
                l.mark = -1;
            InvalidateRect(hwnd, nullptr, TRUE);
            updateScrollBars(hwnd, l);
        } else if (index > 0) {
            l.items.reserve(static_cast<size_t>(index));
        }
        return TRUE;
    case LVM_INSERTITEMW:
        return insertItem(hwnd, l, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_DELETEITEM:
        return deleteItem(hwnd, l, index);
    case LVM_DELETEALLITEMS:
        return deleteAll(hwnd, l);
    case LVM_GETITEMW:
        return getItem(hwnd, l, reinterpret_cast<LVITEMW*>(lParam));
    case LVM_SETITEMW:
        return setItem(hwnd, l, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_GETITEMTEXTW: {
        auto* item = reinterpret_cast<LVITEMW*>(lParam);
        if (!item || !valid(l, hwnd, index) || item->iSubItem < 0)
            return 0;
        const std::wstring text = displayText(hwnd, l, index, item->iSubItem);
        copyText(text, item->pszText, item->cchTextMax);
        return item->pszText && item->cchTextMax > 0
                   ? static_cast<LRESULT>(
                         std::min<size_t>(text.size(), static_cast<size_t>(item->cchTextMax - 1)))
                   : 0;
    }
    case LVM_SETITEMTEXTW: {
        const auto* item = reinterpret_cast<const LVITEMW*>(lParam);
        if (!item)
            return FALSE;
        LVITEMW copy = *item;
        copy.mask = LVIF_TEXT;
        copy.iItem = index;
        return setItem(hwnd, l, &copy);
    }
    case LVM_SETITEMSTATE: {
        const auto* item = reinterpret_cast<const LVITEMW*>(lParam);
        if (!item)
            return FALSE;
        if (index == -1) {
            const int n = itemCount(l, hwnd);
            if (ownerData(l) && (item->stateMask & LVIS_SELECTED) && n > 0) {
                // One notice for the whole range, as owner data asks.
                if (item->state & LVIS_SELECTED)
                    for (int i = 0; i < n; ++i)
                        l.virtualSelected.insert(i);
                else
                    l.virtualSelected.clear();
                NMLISTVIEW nm{};
                nm.iItem = -1;
                nm.uNewState = item->state & LVIS_SELECTED;
                nm.uOldState = ~item->state & LVIS_SELECTED;
                nm.uChanged = LVIF_STATE;
                notify(hwnd, LVN_ITEMCHANGED, &nm.hdr);
                InvalidateRect(hwnd, nullptr, TRUE);
                return TRUE;
            }
            for (int i = 0; i < n; ++i)
                changeState(hwnd, l, i, item->state, item->stateMask & ~LVIS_FOCUSED);
            return TRUE;
        }
        if (!valid(l, hwnd, index))
            return FALSE;
        return changeState(hwnd, l, index, item->state, item->stateMask);
    }
    case LVM_GETITEMSTATE:
        return valid(l, hwnd, index)
                   ? static_cast<LRESULT>(stateOfItem(l, hwnd, index) & static_cast<UINT>(lParam))
                   : 0;
    case LVM_GETSELECTEDCOUNT: {
        if (ownerData(l))
            return static_cast<LRESULT>(l.virtualSelected.size());
        return std::count_if(l.items.begin(), l.items.end(),
                             [](const Item& it) { return (it.state & LVIS_SELECTED) != 0; });
    }
    case LVM_GETNEXTITEM:
        return nextItem(hwnd, l, index, static_cast<UINT>(LOWORD(lParam)));
    case LVM_FINDITEMW:
        return findItem(hwnd, l, index, reinterpret_cast<const LVFINDINFOW*>(lParam));
    case LVM_SORTITEMS:
        return sortItems(hwnd, l, static_cast<LPARAM>(wParam), reinterpret_cast<PFNLVCOMPARE>(lParam), false);
    case LVM_SORTITEMSEX:
        return sortItems(hwnd, l, static_cast<LPARAM>(wParam), reinterpret_cast<PFNLVCOMPARE>(lParam), true);
    case LVM_UPDATE:
        if (!valid(l, hwnd, index))
            return FALSE;
        invalidateItem(hwnd, l, index);
        return TRUE;
    case LVM_REDRAWITEMS: {
        const int n = itemCount(l, hwnd);
        const int last = static_cast<int>(lParam);
        if (index < 0 || last < index || index >= n)
            return FALSE;
        for (int i = index; i <= std::min(last, n - 1); ++i)
            invalidateItem(hwnd, l, i);
        return TRUE;
    }
    case LVM_EDITLABELW:
        if (index == -1) {
            l.edit.finish(false);
            return 0;
        }
        return reinterpret_cast<LRESULT>(editLabel(hwnd, l, index));
    case LVM_GETEDITCONTROL:
        return reinterpret_cast<LRESULT>(l.edit.window());
    case LVM_ENSUREVISIBLE:
        if (!valid(l, hwnd, index))
            return FALSE;
        ensureVisible(hwnd, l, index);
        return TRUE;
    case LVM_GETTOPINDEX: {
        const Layout g = layoutOf(hwnd, l);
        if (g.view == LV_VIEW_DETAILS)
            return std::min(l.top, std::max(0, itemCount(l, hwnd) - 1));
        if (g.view == LV_VIEW_LIST)
            return l.top * std::max(1, g.perColumn);
        return 0;
    }
    case LVM_GETCOUNTPERPAGE:
        return rowsPerPage(hwnd, l);
    case LVM_SCROLL: {
        const Layout g = layoutOf(hwnd, l);
        const int delta =
            g.view == LV_VIEW_LIST
                ? static_cast<int>(wParam) / std::max(1, g.cellW)
                : static_cast<int>(lParam) / std::max(1, g.view == LV_VIEW_DETAILS ? g.rowH : g.cellH);
        scrollTo(hwnd, l, l.top + delta);
        return TRUE;
    }
    case LVM_GETITEMRECT:
    case LVM_GETSUBITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (!r || !valid(l, hwnd, index))
            return FALSE;
        const Layout g = layoutOf(hwnd, l);
        const int code = r->left;
        const int sub = message == LVM_GETSUBITEMRECT ? r->top : 0;
        RECT b = itemBounds(hwnd, l, g, index);
        if (g.view == LV_VIEW_DETAILS && sub > 0) {
            if (sub >= static_cast<int>(l.columns.size()))
                return FALSE;
            int x = b.left;
            for (int c = 0; c < sub; ++c)
                x += l.columns[static_cast<size_t>(c)].width;
            b.left = x;
            b.right = x + l.columns[static_cast<size_t>(sub)].width;
        } else if (code == LVIR_ICON || code == LVIR_LABEL) {
            const int checkW = (l.exStyle & LVS_EX_CHECKBOXES) ? 16 : 0; // the check box comes first
            if (g.view == LV_VIEW_ICON && code == LVIR_ICON)
                b.bottom = b.top + (g.cellH - g.rowH);
            else if (g.view == LV_VIEW_ICON)
                b.top = b.bottom - g.rowH;
            else if (code == LVIR_ICON)
                b = RECT{b.left + checkW, b.top, b.left + checkW + g.rowH, b.bottom};
            else
                b.left += checkW + g.rowH;
        }
        *r = b;
        return TRUE;
    }
    case LVM_GETITEMPOSITION: {
        auto* p = reinterpret_cast<POINT*>(lParam);
        if (!p || !valid(l, hwnd, index))
            return FALSE;
        const RECT b = itemBounds(hwnd, l, layoutOf(hwnd, l), index);
        *p = POINT{b.left, b.top};
        return TRUE;
    }
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: {
        auto* info = reinterpret_cast<LVHITTESTINFO*>(lParam);
        if (!info)
            return -1;
        info->iItem = itemAtPoint(hwnd, l, info->pt, &info->flags, &info->iSubItem);
        if (message == LVM_HITTEST)
            info->iSubItem = 0;
        return info->iItem;
    }
    case LVM_GETBKCOLOR:
        return static_cast<LRESULT>(l.bk);
    case LVM_SETBKCOLOR:
        return setColour(hwnd, l.bk, lParam);
    case LVM_GETTEXTCOLOR:
        return static_cast<LRESULT>(l.text);
    case LVM_SETTEXTCOLOR:
        return setColour(hwnd, l.text, lParam);
    case LVM_GETTEXTBKCOLOR:
        return static_cast<LRESULT>(l.textBk);
    case LVM_SETTEXTBKCOLOR:
        return setColour(hwnd, l.textBk, lParam);
    case LVM_GETIMAGELIST:
        return index >= 0 && index < 3 ? reinterpret_cast<LRESULT>(l.images[index]) : 0;
    case LVM_SETIMAGELIST: {
        if (index < 0 || index >= 3)
            return 0;
        HIMAGELIST old = l.images[index];
        l.images[index] = reinterpret_cast<HIMAGELIST>(lParam);
        layoutHeader(hwnd, l);
        updateScrollBars(hwnd, l);
        InvalidateRect(hwnd, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(old);
    }
    case LVM_GETCALLBACKMASK:
        return static_cast<LRESULT>(l.callbackMask);
    case LVM_SETCALLBACKMASK:
        l.callbackMask = static_cast<UINT>(wParam);
        return TRUE;
    case LVM_GETHEADER:
        return reinterpret_cast<LRESULT>(l.header);
    case LVM_INSERTCOLUMNW:
        return insertColumn(hwnd, l, index, reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_SETCOLUMNW:
        return setColumn(hwnd, l, index, reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_GETCOLUMNW:
        return getColumn(l, index, reinterpret_cast<LVCOLUMNW*>(lParam));
    case LVM_DELETECOLUMN:
        if (index < 0 || index >= static_cast<int>(l.columns.size()))
            return FALSE;
        l.columns.erase(l.columns.begin() + index);
        if (l.header)
            SendMessageW(l.header, HDM_DELETEITEM, wParam, 0);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case LVM_GETCOLUMNWIDTH:
        if (index < 0 || index >= static_cast<int>(l.columns.size()))
            return 0;
        return l.columns[static_cast<size_t>(index)].width;
    case LVM_SETCOLUMNWIDTH:
        return setColumnWidth(hwnd, l, index, static_cast<short>(LOWORD(lParam)));
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return static_cast<LRESULT>(l.exStyle);
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        const DWORD old = l.exStyle;
        const DWORD mask = wParam ? static_cast<DWORD>(wParam) : ~0u;
        l.exStyle = (old & ~mask) | (static_cast<DWORD>(lParam) & mask);
        if ((l.exStyle & LVS_EX_CHECKBOXES) && !(old & LVS_EX_CHECKBOXES))
            for (Item& it : l.items)
                if (!(it.state & LVIS_STATEIMAGEMASK))
                    it.state |= INDEXTOSTATEIMAGEMASK(1);
        InvalidateRect(hwnd, nullptr, TRUE);
        return static_cast<LRESULT>(old);
    }
    case LVM_GETVIEW:
        return viewOf(l);
    case LVM_SETVIEW:
        if (index < LV_VIEW_ICON || index > LV_VIEW_LIST)
            return -1;
        SetWindowLongW(hwnd, GWL_STYLE,
                       static_cast<LONG>((styleOf(hwnd) & ~LVS_TYPEMASK) | static_cast<DWORD>(index)));
        l.style = styleOf(hwnd);
        return 1;
    case LVM_GETSELECTIONMARK:
        return l.mark;
    case LVM_SETSELECTIONMARK: {
        const int old = l.mark;
        l.mark = valid(l, hwnd, static_cast<int>(lParam)) ? static_cast<int>(lParam) : -1;
        return old;
    }
    case LVM_GETSTRINGWIDTHW:
        return lParam ? textWidth(l.font, reinterpret_cast<LPCWSTR>(lParam)) : 0;
    case LVM_GETISEARCHSTRINGW: {
        const std::wstring& text = l.typeAhead.text();
        if (lParam)
            copyText(text, reinterpret_cast<LPWSTR>(lParam), static_cast<int>(text.size()) + 1);
        return static_cast<LRESULT>(text.size());
    }
    case LVM_GETORIGIN: {
        auto* p = reinterpret_cast<POINT*>(lParam);
        if (!p || viewOf(l) == LV_VIEW_DETAILS || viewOf(l) == LV_VIEW_LIST)
            return FALSE;
        const Layout g = layoutOf(hwnd, l);
        *p = POINT{0, l.top * g.cellH};
        return TRUE;
    }
    case LVM_ARRANGE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    default:
        handled = false;
        return 0;
    }
}

} // namespace
} // namespace pal::ctl::lv
