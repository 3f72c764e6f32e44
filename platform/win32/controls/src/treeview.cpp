// "SysTreeView32": items under parents that expand and collapse; selection, label editing,
// dragging and check boxes by mouse and keys, each told to the parent in the platform's order.
#include "win/controls/treeview.h"
#include "control.h"
#include "item_support.h"
#include "paint.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_set>
#include <vector>

struct DvTreeItem {
    std::wstring text;
    bool textCallback = false;
    int image = 0;
    int selectedImage = 0;
    int children = 0; // TVIF_CHILDREN as given: 0, 1 or I_CHILDRENCALLBACK
    LPARAM param = 0;
    UINT state = 0;
    DvTreeItem* parent = nullptr;
    DvTreeItem* first = nullptr;
    DvTreeItem* last = nullptr; // the last child, so that appending costs nothing to find it
    DvTreeItem* next = nullptr;
    DvTreeItem* prev = nullptr;
};

namespace pal::ctl {
namespace {

using Node = DvTreeItem;

struct Tree : HeldState {
    Node root; // the hidden parent of the top-level items
    std::unordered_set<Node*> live;
    Node* caret = nullptr;
    Node* dropHilite = nullptr;
    HIMAGELIST images = nullptr;
    HIMAGELIST stateImages = nullptr;
    HFONT font = nullptr;
    COLORREF bk = CLR_NONE, text = CLR_NONE, lines = CLR_DEFAULT;
    int indent = 19;
    int itemHeight = 0; // 0: from the font and images
    int top = 0;        // first visible row
    bool focused = false;
    bool pressed = false;
    Node* pressedItem = nullptr;
    POINT pressedAt{};
    bool pressedRight = false;
    Node* editCandidate = nullptr; // a second click on the selected label starts editing
    LabelEdit edit;
    Node* editItem = nullptr;
    TypeAhead typeAhead;
    bool sorting = false;
    bool pending = false; // a posted message brings the scroll bar up to date
};

constexpr UINT_PTR kEditTimer = 1;

Tree* treeOf(HWND hwnd) {
    return stateOf<Tree>(hwnd);
}

bool isLive(const Tree& t, HTREEITEM item) {
    return item && t.live.count(item) != 0;
}

int rowHeight(const Tree& t) {
    if (t.itemHeight > 0)
        return t.itemHeight;
    int w = 0, h = 0;
    if (t.images)
        ImageList_GetIconSize(t.images, &w, &h);
    return std::max(lineHeight(t.font), h) + 2;
}

int depthOf(const Node* n) {
    int d = 0;
    for (const Node* p = n->parent; p && p->parent; p = p->parent)
        ++d;
    return d;
}

bool hasChildren(HWND hwnd, Tree& t, Node* n) {
    if (n->first || n->children == 1)
        return true;
    if (n->children != I_CHILDRENCALLBACK)
        return false;
    NMTVDISPINFOW di{};
    di.item.mask = TVIF_CHILDREN;
    di.item.hItem = n;
    di.item.lParam = n->param;
    notify(hwnd, TVN_GETDISPINFOW, &di.hdr);
    return di.item.cChildren != 0 && isLive(t, n);
}

std::wstring labelOf(HWND hwnd, Tree& t, Node* n) {
    if (!n->textCallback)
        return n->text;
    wchar_t buffer[264] = {};
    NMTVDISPINFOW di{};
    di.item.mask = TVIF_TEXT;
    di.item.hItem = n;
    di.item.pszText = buffer;
    di.item.cchTextMax = 260;
    di.item.lParam = n->param;
    notify(hwnd, TVN_GETDISPINFOW, &di.hdr);
    (void)t;
    return di.item.pszText && !isTextCallback(di.item.pszText) ? di.item.pszText : L"";
}

int imageOf(HWND hwnd, Node* n, bool selected) {
    const int image = selected ? n->selectedImage : n->image;
    if (image != I_IMAGECALLBACK)
        return image;
    NMTVDISPINFOW di{};
    di.item.mask = selected ? TVIF_SELECTEDIMAGE : TVIF_IMAGE;
    di.item.hItem = n;
    di.item.lParam = n->param;
    notify(hwnd, TVN_GETDISPINFOW, &di.hdr);
    return selected ? di.item.iSelectedImage : di.item.iImage;
}

// The rows shown: every item whose ancestors are all expanded, in order.
std::vector<Node*> visibleRows(Tree& t) {
    std::vector<Node*> rows;
    std::vector<Node*> stack;
    for (Node* c = t.root.first; c; c = c->next)
        stack.push_back(c);
    std::reverse(stack.begin(), stack.end());
    while (!stack.empty()) {
        Node* n = stack.back();
        stack.pop_back();
        rows.push_back(n);
        if ((n->state & TVIS_EXPANDED) && n->first) {
            std::vector<Node*> kids;
            for (Node* c = n->first; c; c = c->next)
                kids.push_back(c);
            stack.insert(stack.end(), kids.rbegin(), kids.rend());
        }
    }
    return rows;
}

int rowOf(Tree& t, Node* n) {
    const auto rows = visibleRows(t);
    const auto it = std::find(rows.begin(), rows.end(), n);
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

int pageRows(HWND hwnd, const Tree& t) {
    RECT r;
    GetClientRect(hwnd, &r);
    return std::max(1, static_cast<int>(r.bottom) / rowHeight(t));
}

void updateScrollBar(HWND hwnd, Tree& t) {
    static thread_local bool busy = false;
    if (busy || (styleOf(hwnd) & TVS_NOSCROLL))
        return;
    busy = true;
    const int rows = static_cast<int>(visibleRows(t).size());
    const int page = pageRows(hwnd, t);
    t.top = std::clamp(t.top, 0, std::max(0, rows - page));
    if (rows > page) {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMax = rows - 1;
        si.nPage = static_cast<UINT>(page);
        si.nPos = t.top;
        ShowScrollBar(hwnd, SB_VERT, TRUE);
        SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
    } else {
        ShowScrollBar(hwnd, SB_VERT, FALSE);
    }
    busy = false;
}

UINT syncMessage() {
    static const UINT message = RegisterWindowMessageW(L"DvTreeViewSync");
    return message;
}

// The scroll bar and the picture follow a change once the messages in hand are done, so that
// filling a tree of thousands of items walks it once rather than once per item.
void changed(HWND hwnd, Tree& t) {
    if (t.pending)
        return;
    t.pending = PostMessageW(hwnd, syncMessage(), 0, 0) != FALSE;
    if (!t.pending) {
        updateScrollBar(hwnd, t);
        InvalidateRect(hwnd, nullptr, TRUE);
    }
}

void scrollTo(HWND hwnd, Tree& t, int top) {
    const int rows = static_cast<int>(visibleRows(t).size());
    t.top = std::clamp(top, 0, std::max(0, rows - pageRows(hwnd, t)));
    changed(hwnd, t);
}

void sync(HWND hwnd, Tree& t) {
    if (!t.pending)
        return;
    t.pending = false;
    updateScrollBar(hwnd, t);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void fillItem(const Node* n, TVITEMW& item) {
    item.hItem = const_cast<Node*>(n);
    if (!n)
        return;
    item.mask |= TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
    item.state = n->state;
    item.lParam = n->param;
}

LRESULT notifyTree(HWND hwnd, UINT code, UINT action, const Node* oldItem, const Node* newItem,
                   POINT at = {}) {
    NMTREEVIEWW nm{};
    nm.action = action;
    fillItem(oldItem, nm.itemOld);
    fillItem(newItem, nm.itemNew);
    nm.ptDrag = at;
    return notify(hwnd, code, &nm.hdr);
}

void ensureVisible(HWND hwnd, Tree& t, Node* n, bool byMessage);

// Expands or collapses, asking first. By message the parent hears of it only until the item has
// once been expanded; a person's expansion is always told.
bool expand(HWND hwnd, Tree& t, Node* n, UINT code, bool byMessage) {
    const UINT action = code & 0x3;
    if (!isLive(t, n) || action == 0)
        return false;
    const bool open = (n->state & TVIS_EXPANDED) != 0;
    const bool wantOpen = action == TVE_TOGGLE ? !open : action == TVE_EXPAND;
    if (wantOpen == open) {
        if (!wantOpen && (code & TVE_COLLAPSERESET)) {
            n->state &= ~TVIS_EXPANDEDONCE;
            while (n->first)
                SendMessageW(hwnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(n->first));
        }
        return false;
    }
    if (wantOpen && !hasChildren(hwnd, t, n))
        return false;
    const bool tell = !byMessage || !(n->state & TVIS_EXPANDEDONCE);
    const UINT told = wantOpen ? TVE_EXPAND : TVE_COLLAPSE;
    if (tell && notifyTree(hwnd, TVN_ITEMEXPANDINGW, told, nullptr, n))
        return false;
    if (!isLive(t, n))
        return false;
    if (wantOpen)
        n->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    else
        n->state &= ~TVIS_EXPANDED;
    // A collapse that hides the selection moves it to the collapsed item.
    if (!wantOpen && t.caret) {
        for (Node* p = t.caret->parent; p; p = p->parent)
            if (p == n) {
                Node* old = t.caret;
                t.caret = n;
                notifyTree(hwnd, TVN_SELCHANGEDW, TVC_UNKNOWN, old, n);
                break;
            }
    }
    if (tell && isLive(t, n))
        notifyTree(hwnd, TVN_ITEMEXPANDEDW, told, nullptr, n);
    if (!wantOpen && (code & TVE_COLLAPSERESET) && isLive(t, n)) {
        n->state &= ~TVIS_EXPANDEDONCE;
        while (n->first)
            SendMessageW(hwnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(n->first));
    }
    changed(hwnd, t);
    return true;
}

bool select(HWND hwnd, Tree& t, Node* n, UINT action) {
    if (n && !isLive(t, n))
        return false;
    if (n == t.caret) {
        if (n)
            ensureVisible(hwnd, t, n, true);
        return true;
    }
    Node* old = t.caret;
    if (notifyTree(hwnd, TVN_SELCHANGINGW, action, old, n))
        return false;
    if (n && !isLive(t, n))
        return false;
    if (old && isLive(t, old))
        old->state &= ~TVIS_SELECTED;
    t.caret = n;
    if (n) {
        n->state |= TVIS_SELECTED;
        ensureVisible(hwnd, t, n, true);
    }
    notifyTree(hwnd, TVN_SELCHANGEDW, action, old && isLive(t, old) ? old : nullptr, n);
    InvalidateRect(hwnd, nullptr, TRUE);
    return true;
}

void ensureVisible(HWND hwnd, Tree& t, Node* n, bool byMessage) {
    for (Node* p = n->parent; p && p->parent; p = p->parent)
        if (!(p->state & TVIS_EXPANDED))
            expand(hwnd, t, p, TVE_EXPAND, byMessage);
    const int row = rowOf(t, n);
    if (row < 0)
        return;
    const int page = pageRows(hwnd, t);
    const int before = t.top;
    if (row < t.top)
        t.top = row;
    else if (row >= t.top + page)
        t.top = row - page + 1;
    if (t.top != before)
        changed(hwnd, t);
}

void unlink(Node* n) {
    if (n->prev)
        n->prev->next = n->next;
    else if (n->parent)
        n->parent->first = n->next;
    if (n->next)
        n->next->prev = n->prev;
    else if (n->parent)
        n->parent->last = n->prev;
    n->prev = n->next = nullptr;
}

void linkAfter(Node* parent, Node* after, Node* n) {
    n->parent = parent;
    if (!after) {
        n->next = parent->first;
        if (n->next)
            n->next->prev = n;
        else
            parent->last = n;
        parent->first = n;
        n->prev = nullptr;
        return;
    }
    n->prev = after;
    n->next = after->next;
    if (n->next)
        n->next->prev = n;
    else
        parent->last = n;
    after->next = n;
}

void applyItem(Tree& t, Node* n, const TVITEMW& in, HWND hwnd) {
    if (in.mask & TVIF_TEXT) {
        n->textCallback = isTextCallback(in.pszText);
        n->text = textFrom(in.pszText);
    }
    if (in.mask & TVIF_IMAGE)
        n->image = in.iImage;
    if (in.mask & TVIF_SELECTEDIMAGE)
        n->selectedImage = in.iSelectedImage;
    if (in.mask & TVIF_CHILDREN)
        n->children = in.cChildren == I_CHILDRENCALLBACK ? I_CHILDRENCALLBACK : (in.cChildren ? 1 : 0);
    if (in.mask & TVIF_PARAM)
        n->param = in.lParam;
    if (in.mask & TVIF_STATE) {
        const UINT mask = in.stateMask & ~TVIS_SELECTED;
        n->state = (n->state & ~mask) | (in.state & mask);
        if ((in.stateMask & TVIS_SELECTED) && n != t.caret) {
            if (in.state & TVIS_SELECTED)
                n->state |= TVIS_SELECTED;
            else
                n->state &= ~TVIS_SELECTED;
        }
    }
    (void)hwnd;
}

HTREEITEM insertItem(HWND hwnd, Tree& t, const TVINSERTSTRUCTW* in) {
    if (!in || t.sorting)
        return nullptr;
    Node* parent = (!in->hParent || in->hParent == TVI_ROOT) ? &t.root : in->hParent;
    if (parent != &t.root && !isLive(t, parent))
        return nullptr;
    auto n = std::make_unique<Node>();
    applyItem(t, n.get(), in->item, hwnd);
    n->state &= ~(TVIS_SELECTED | TVIS_EXPANDEDONCE);
    if ((styleOf(hwnd) & TVS_CHECKBOXES) && !(n->state & TVIS_STATEIMAGEMASK))
        n->state |= INDEXTOSTATEIMAGEMASK(1);
    Node* last = parent->last;
    Node* after = last;
    const HTREEITEM where = in->hInsertAfter;
    if (where == TVI_FIRST) {
        after = nullptr;
    } else if (where == TVI_SORT) {
        const std::wstring label = n->text;
        after = nullptr;
        for (Node* c = parent->first; c; c = c->next) {
            if (lstrcmpiW(labelOf(hwnd, t, c).c_str(), label.c_str()) > 0)
                break;
            after = c;
        }
    } else if (where && where != TVI_LAST) {
        // After a sibling; one that is not a child of this parent puts the item last.
        after = isLive(t, where) && where->parent == parent ? where : last;
    }
    Node* raw = n.release();
    t.live.insert(raw);
    linkAfter(parent, after, raw);
    changed(hwnd, t);
    return raw;
}

void deleteNode(HWND hwnd, Tree& t, Node* n) {
    while (n->first)
        deleteNode(hwnd, t, n->first);
    if (t.editItem == n)
        t.edit.finish(false);
    notifyTree(hwnd, TVN_DELETEITEMW, 0, n, nullptr);
    unlink(n);
    t.live.erase(n);
    if (t.dropHilite == n)
        t.dropHilite = nullptr;
    if (t.editCandidate == n)
        t.editCandidate = nullptr;
    if (t.pressedItem == n)
        t.pressedItem = nullptr;
    delete n;
}

BOOL deleteItem(HWND hwnd, Tree& t, HTREEITEM item) {
    if (t.sorting)
        return FALSE;
    if (!item || item == TVI_ROOT) {
        t.caret = nullptr;
        while (t.root.first)
            deleteNode(hwnd, t, t.root.first);
        t.top = 0;
        changed(hwnd, t);
        return TRUE;
    }
    if (!isLive(t, item))
        return FALSE;
    // The selection moves off a deleted branch to a neighbour, or the parent.
    bool caretInside = false;
    for (Node* p = t.caret; p; p = p->parent)
        if (p == item)
            caretInside = true;
    Node* parent = item->parent;
    Node* neighbour = item->next ? item->next : item->prev;
    if (caretInside) {
        Node* old = t.caret;
        t.caret = nullptr;
        old->state &= ~TVIS_SELECTED;
    }
    deleteNode(hwnd, t, item);
    if (parent != &t.root && isLive(t, parent) && !parent->first)
        parent->state &= ~TVIS_EXPANDED;
    if (caretInside) {
        Node* next = neighbour ? neighbour : (parent != &t.root ? parent : nullptr);
        if (next && isLive(t, next))
            select(hwnd, t, next, TVC_UNKNOWN);
    }
    changed(hwnd, t);
    return TRUE;
}

HTREEITEM nextItem(HWND hwnd, Tree& t, UINT code, HTREEITEM item) {
    const bool needsItem = code == TVGN_NEXT || code == TVGN_PREVIOUS || code == TVGN_PARENT ||
                           code == TVGN_CHILD || code == TVGN_NEXTVISIBLE || code == TVGN_PREVIOUSVISIBLE;
    if (needsItem && !(code == TVGN_CHILD && (!item || item == TVI_ROOT)) && !isLive(t, item))
        return nullptr;
    switch (code) {
    case TVGN_ROOT:
        return t.root.first;
    case TVGN_NEXT:
        return item->next;
    case TVGN_PREVIOUS:
        return item->prev;
    case TVGN_PARENT:
        return item->parent == &t.root ? nullptr : item->parent;
    case TVGN_CHILD:
        return (!item || item == TVI_ROOT) ? t.root.first : item->first;
    case TVGN_CARET:
        return t.caret;
    case TVGN_DROPHILITE:
        return t.dropHilite;
    case TVGN_FIRSTVISIBLE: {
        const auto rows = visibleRows(t);
        return t.top < static_cast<int>(rows.size()) ? rows[static_cast<size_t>(t.top)] : nullptr;
    }
    case TVGN_LASTVISIBLE: {
        const auto rows = visibleRows(t);
        return rows.empty() ? nullptr : rows.back();
    }
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
        const auto rows = visibleRows(t);
        const auto it = std::find(rows.begin(), rows.end(), item);
        if (it == rows.end())
            return nullptr;
        if (code == TVGN_NEXTVISIBLE)
            return it + 1 == rows.end() ? nullptr : *(it + 1);
        return it == rows.begin() ? nullptr : *(it - 1);
    }
    default:
        (void)hwnd;
        return nullptr;
    }
}

// Geometry of one row: where its button, check box, icon and label are.
struct RowParts {
    RECT row, button, check, icon, label;
};

RowParts partsOf(HWND hwnd, Tree& t, Node* n, int row) {
    RECT client;
    GetClientRect(hwnd, &client);
    const int h = rowHeight(t);
    RowParts p{};
    const int y = (row - t.top) * h;
    p.row = RECT{0, y, client.right, y + h};
    const bool atRoot = (styleOf(hwnd) & (TVS_LINESATROOT)) != 0;
    int x = (depthOf(n) + (atRoot ? 1 : 0)) * t.indent;
    p.button = RECT{x - t.indent, y, x, y + h};
    int iw = 0, ih = 0;
    if (t.stateImages)
        ImageList_GetIconSize(t.stateImages, &iw, &ih);
    else if (styleOf(hwnd) & TVS_CHECKBOXES)
        iw = 16;
    p.check = RECT{x, y, x + iw, y + h};
    x += iw;
    iw = 0;
    if (t.images)
        ImageList_GetIconSize(t.images, &iw, &ih);
    p.icon = RECT{x, y, x + iw + (iw ? 2 : 0), y + h};
    x = p.icon.right;
    const int w = textWidth(t.font, labelOf(hwnd, t, n)) + 6;
    p.label = RECT{x, y, x + w, y + h};
    return p;
}

Node* hitTest(HWND hwnd, Tree& t, POINT pt, UINT& flags) {
    RECT client;
    GetClientRect(hwnd, &client);
    flags = 0;
    if (pt.y < 0)
        flags |= TVHT_ABOVE;
    if (pt.y >= client.bottom)
        flags |= TVHT_BELOW;
    if (pt.x < 0)
        flags |= TVHT_TOLEFT;
    if (pt.x >= client.right)
        flags |= TVHT_TORIGHT;
    if (flags)
        return nullptr;
    const auto rows = visibleRows(t);
    const int row = t.top + static_cast<int>(pt.y) / rowHeight(t);
    if (row < 0 || row >= static_cast<int>(rows.size())) {
        flags = TVHT_NOWHERE;
        return nullptr;
    }
    Node* n = rows[static_cast<size_t>(row)];
    const RowParts p = partsOf(hwnd, t, n, row);
    if (pt.x < p.button.left)
        flags = TVHT_ONITEMINDENT;
    else if (pt.x < p.button.right)
        flags = hasChildren(hwnd, t, n) && (styleOf(hwnd) & TVS_HASBUTTONS) ? TVHT_ONITEMBUTTON
                                                                            : TVHT_ONITEMINDENT;
    else if (pt.x < p.check.right)
        flags = TVHT_ONITEMSTATEICON;
    else if (pt.x < p.icon.right)
        flags = TVHT_ONITEMICON;
    else if (pt.x < p.label.right)
        flags = TVHT_ONITEMLABEL;
    else
        flags = TVHT_ONITEMRIGHT;
    return n;
}

void toggleCheck(HWND hwnd, Tree& t, Node* n) {
    const UINT image = (n->state & TVIS_STATEIMAGEMASK) >> 12;
    n->state = (n->state & ~TVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(image == 2 ? 1 : 2);
    (void)t;
    InvalidateRect(hwnd, nullptr, TRUE);
}

void endEdit(HWND hwnd, Tree& t, Node* n, const std::wstring* text) {
    t.editItem = nullptr;
    if (!isLive(t, n))
        return;
    NMTVDISPINFOW di{};
    std::wstring buffer = text ? *text : std::wstring();
    di.item.mask = TVIF_TEXT | TVIF_HANDLE | TVIF_PARAM;
    di.item.hItem = n;
    di.item.lParam = n->param;
    di.item.pszText = text ? buffer.data() : nullptr;
    di.item.cchTextMax = text ? static_cast<int>(buffer.size()) + 1 : 0;
    const LRESULT accept = notify(hwnd, TVN_ENDLABELEDITW, &di.hdr);
    if (text && accept && isLive(t, n) && !n->textCallback) {
        n->text = *text;
        InvalidateRect(hwnd, nullptr, TRUE);
    }
}

HWND editLabel(HWND hwnd, Tree& t, Node* n) {
    t.edit.finish(true);
    KillTimer(hwnd, kEditTimer);
    if (!isLive(t, n))
        return nullptr;
    if (GetFocus() != hwnd)
        SetFocus(hwnd);
    select(hwnd, t, n, TVC_UNKNOWN);
    std::wstring label = labelOf(hwnd, t, n);
    NMTVDISPINFOW di{};
    di.item.mask = TVIF_TEXT | TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
    di.item.hItem = n;
    di.item.state = n->state;
    di.item.lParam = n->param;
    di.item.pszText = label.data();
    di.item.cchTextMax = static_cast<int>(label.size()) + 1;
    if (notify(hwnd, TVN_BEGINLABELEDITW, &di.hdr) || !isLive(t, n))
        return nullptr;
    const int row = rowOf(t, n);
    if (row < 0)
        return nullptr;
    RECT r = partsOf(hwnd, t, n, row).label;
    r.right = std::max<LONG>(r.right + 20, r.left + 80);
    t.editItem = n;
    return t.edit.begin(hwnd, r, label, t.font, [hwnd, n](const std::wstring* text) {
        if (Tree* s = treeOf(hwnd))
            endEdit(hwnd, *s, n, text);
    });
}

void mouseDown(HWND hwnd, Tree& t, POINT p, bool right) {
    t.edit.finish(true);
    KillTimer(hwnd, kEditTimer);
    if (GetFocus() != hwnd)
        SetFocus(hwnd);
    UINT flags = 0;
    Node* n = hitTest(hwnd, t, p, flags);
    t.editCandidate = nullptr;
    if (!n)
        return;
    if (flags & TVHT_ONITEMBUTTON) {
        expand(hwnd, t, n, TVE_TOGGLE, false);
        // Still a click when the button comes up, but never the start of a drag.
        t.pressed = true;
        t.pressedItem = nullptr;
        t.pressedRight = right;
        SetCapture(hwnd);
        return;
    }
    if (!right && (flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON | TVHT_ONITEMSTATEICON | TVHT_ONITEMRIGHT))) {
        if (n == t.caret && (flags & TVHT_ONITEMLABEL) && (styleOf(hwnd) & TVS_EDITLABELS))
            t.editCandidate = n;
        select(hwnd, t, n, TVC_BYMOUSE);
    }
    t.pressed = true;
    t.pressedItem = n;
    t.pressedAt = p;
    t.pressedRight = right;
    SetCapture(hwnd);
}

void mouseMove(HWND hwnd, Tree& t, POINT p) {
    if (!t.pressed || !isLive(t, t.pressedItem))
        return;
    if (std::abs(p.x - t.pressedAt.x) <= kDragDistance && std::abs(p.y - t.pressedAt.y) <= kDragDistance)
        return;
    Node* n = t.pressedItem;
    t.pressed = false;
    t.pressedItem = nullptr;
    t.editCandidate = nullptr;
    if (GetCapture() == hwnd)
        ReleaseCapture();
    if (!(styleOf(hwnd) & TVS_DISABLEDRAGDROP))
        notifyTree(hwnd, t.pressedRight ? TVN_BEGINRDRAGW : TVN_BEGINDRAGW, 0, nullptr, n, t.pressedAt);
}

void mouseUp(HWND hwnd, Tree& t, POINT p) {
    if (!t.pressed)
        return;
    t.pressed = false;
    if (GetCapture() == hwnd)
        ReleaseCapture();
    NMHDR h{};
    const LRESULT taken = notify(hwnd, t.pressedRight ? NM_RCLICK : NM_CLICK, &h);
    if (t.pressedRight && !taken)
        askContextMenu(hwnd, p);
    UINT flags = 0;
    Node* n = hitTest(hwnd, t, p, flags);
    if (!t.pressedRight && !taken && n && n == t.pressedItem && (flags & TVHT_ONITEMSTATEICON) &&
        (styleOf(hwnd) & TVS_CHECKBOXES))
        toggleCheck(hwnd, t, n);
    if (t.editCandidate && t.editCandidate == n)
        SetTimer(hwnd, kEditTimer, GetDoubleClickTime(), nullptr);
    else
        t.editCandidate = nullptr;
}

void keyDown(HWND hwnd, Tree& t, WPARAM key) {
    NMTVKEYDOWN kd{};
    kd.wVKey = static_cast<WORD>(key);
    notify(hwnd, TVN_KEYDOWN, &kd.hdr);
    const auto rows = visibleRows(t);
    if (rows.empty())
        return;
    Node* n = t.caret;
    const int row = n ? rowOf(t, n) : -1;
    const int last = static_cast<int>(rows.size()) - 1;
    auto go = [&](int r) {
        select(hwnd, t, rows[static_cast<size_t>(std::clamp(r, 0, last))], TVC_BYKEYBOARD);
    };
    switch (key) {
    case VK_DOWN:
        go(row < 0 ? 0 : row + 1);
        break;
    case VK_UP:
        go(row < 0 ? 0 : row - 1);
        break;
    case VK_HOME:
        go(0);
        break;
    case VK_END:
        go(last);
        break;
    case VK_NEXT:
        go(row + pageRows(hwnd, t) - 1);
        break;
    case VK_PRIOR:
        go(row - pageRows(hwnd, t) + 1);
        break;
    case VK_LEFT:
        if (!n)
            go(0);
        else if (n->state & TVIS_EXPANDED)
            expand(hwnd, t, n, TVE_COLLAPSE, false);
        else if (n->parent != &t.root)
            select(hwnd, t, n->parent, TVC_BYKEYBOARD);
        break;
    case VK_RIGHT:
        if (!n)
            go(0);
        else if (!(n->state & TVIS_EXPANDED))
            expand(hwnd, t, n, TVE_EXPAND, false);
        else if (n->first)
            select(hwnd, t, n->first, TVC_BYKEYBOARD);
        break;
    case VK_ADD:
        if (n)
            expand(hwnd, t, n, TVE_EXPAND, false);
        break;
    case VK_SUBTRACT:
        if (n)
            expand(hwnd, t, n, TVE_COLLAPSE, false);
        break;
    case VK_SPACE:
        if (n && (styleOf(hwnd) & TVS_CHECKBOXES))
            toggleCheck(hwnd, t, n);
        break;
    case VK_F2:
        if (n && (styleOf(hwnd) & TVS_EDITLABELS))
            editLabel(hwnd, t, n);
        break;
    case VK_RETURN: {
        NMHDR h{};
        notify(hwnd, NM_RETURN, &h);
        break;
    }
    default:
        break;
    }
}

void typed(HWND hwnd, Tree& t, wchar_t c) {
    if (c <= L' ')
        return;
    const auto rows = visibleRows(t);
    bool after = false;
    const std::wstring prefix = t.typeAhead.add(c, after);
    const int row = t.caret ? rowOf(t, t.caret) : -1;
    const int start = std::max(0, row) + (after && row >= 0 ? 1 : 0);
    const int found = findPrefix(static_cast<int>(rows.size()), start, prefix,
                                 [&](int i) { return labelOf(hwnd, t, rows[static_cast<size_t>(i)]); });
    if (found >= 0)
        select(hwnd, t, rows[static_cast<size_t>(found)], TVC_BYKEYBOARD);
}

BOOL sortChildren(HWND hwnd, Tree& t, Node* parent, PFNTVCOMPARE compare, LPARAM param, bool recurse) {
    if (!parent || parent == TVI_ROOT)
        parent = &t.root;
    else if (!isLive(t, parent))
        return FALSE;
    if (t.sorting)
        return FALSE;
    std::vector<Node*> kids;
    for (Node* c = parent->first; c; c = c->next)
        kids.push_back(c);
    std::vector<size_t> order(kids.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::vector<std::wstring> labels;
    if (!compare)
        for (Node* k : kids)
            labels.push_back(labelOf(hwnd, t, k));
    t.sorting = true;
    robustSort(order, [&](size_t a, size_t b) {
        if (compare)
            return compare(kids[a]->param, kids[b]->param, param) < 0;
        return lstrcmpiW(labels[a].c_str(), labels[b].c_str()) < 0;
    });
    t.sorting = false;
    parent->first = parent->last = nullptr;
    Node* prev = nullptr;
    for (size_t i : order) {
        Node* k = kids[i];
        k->next = nullptr;
        linkAfter(parent, prev, k);
        prev = k;
    }
    if (recurse)
        for (Node* k : kids)
            sortChildren(hwnd, t, k, compare, param, true);
    InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
}

void fillColor(HDC dc, const RECT& r, COLORREF color) {
    const HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

COLORREF solid(COLORREF c, int sysColor) {
    return c == CLR_NONE || c == CLR_DEFAULT ? GetSysColor(sysColor) : c;
}

LRESULT customDraw(HWND hwnd, DWORD stage, HDC dc, const RECT& r, Node* n, UINT state, int level,
                   COLORREF* text, COLORREF* back) {
    NMTVCUSTOMDRAW cd{};
    cd.nmcd.dwDrawStage = stage;
    cd.nmcd.hdc = dc;
    cd.nmcd.rc = r;
    cd.nmcd.dwItemSpec = reinterpret_cast<DWORD_PTR>(n);
    cd.nmcd.uItemState = state;
    cd.nmcd.lItemlParam = n ? n->param : 0;
    cd.iLevel = level;
    if (text)
        cd.clrText = *text;
    if (back)
        cd.clrTextBk = *back;
    const LRESULT result = notify(hwnd, NM_CUSTOMDRAW, &cd.nmcd.hdr);
    if (text)
        *text = cd.clrText;
    if (back)
        *back = cd.clrTextBk;
    return result;
}

void dottedLine(HDC dc, int x0, int y0, int x1, int y1, COLORREF color) {
    // Every other pixel, as the platform draws tree lines.
    if (x0 == x1)
        for (int y = y0 + ((y0 & 1) ? 1 : 0); y <= y1; y += 2)
            SetPixel(dc, x0, y, color);
    else
        for (int x = x0 + ((x0 & 1) ? 1 : 0); x <= x1; x += 2)
            SetPixel(dc, x, y0, color);
}

void drawCheck(HDC dc, const RECT& r, UINT image) {
    if (image == 0)
        return;
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    RECT box{cx - 6, cy - 6, cx + 7, cy + 7};
    fillColor(dc, box, RGB(255, 255, 255));
    FrameRect(dc, &box, GetSysColorBrush(COLOR_WINDOWTEXT));
    if (image == 3) {
        RECT mixed{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3};
        fillColor(dc, mixed, GetSysColor(COLOR_GRAYTEXT));
    } else if (image == 2) {
        const HPEN pen = CreatePen(PS_SOLID, 2, GetSysColor(COLOR_WINDOWTEXT));
        const HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, box.left + 3, box.top + 6, nullptr);
        LineTo(dc, box.left + 5, box.top + 9);
        LineTo(dc, box.left + 10, box.top + 3);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
}

void paintTree(HWND hwnd, Tree& t, UINT message, WPARAM wParam) {
    paintControl(hwnd, message, wParam, [&](HDC dc, const RECT& client) {
        const HGDIOBJ oldFont = SelectObject(dc, fontOrDefault(t.font));
        const COLORREF bk = solid(t.bk, COLOR_WINDOW);
        fillColor(dc, client, bk);
        const LRESULT answer = customDraw(hwnd, CDDS_PREPAINT, dc, client, nullptr, 0, 0, nullptr, nullptr);
        const DWORD style = styleOf(hwnd);
        const COLORREF lineColor = solid(t.lines, COLOR_GRAYTEXT);
        if (!(answer & CDRF_SKIPDEFAULT)) {
            const auto rows = visibleRows(t);
            const int h = rowHeight(t);
            const int end =
                std::min(static_cast<int>(rows.size()), t.top + static_cast<int>(client.bottom) / h + 1);
            for (int row = t.top; row < end; ++row) {
                Node* n = rows[static_cast<size_t>(row)];
                const RowParts p = partsOf(hwnd, t, n, row);
                const bool selected = n == t.caret && t.editItem != n;
                const bool show = selected && (t.focused || (style & TVS_SHOWSELALWAYS));
                const bool drop = n == t.dropHilite;
                COLORREF text = solid(t.text, COLOR_WINDOWTEXT), back = bk;
                if (show || drop) {
                    text = GetSysColor(t.focused || drop ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
                    back = GetSysColor(t.focused || drop ? COLOR_HIGHLIGHT : COLOR_3DFACE);
                }
                LRESULT itemAnswer = 0;
                if (answer & CDRF_NOTIFYITEMDRAW) {
                    itemAnswer =
                        customDraw(hwnd, CDDS_ITEMPREPAINT, dc, p.row, n,
                                   (selected ? CDIS_SELECTED : 0) | (selected && t.focused ? CDIS_FOCUS : 0),
                                   depthOf(n), &text, &back);
                    if (itemAnswer & CDRF_SKIPDEFAULT)
                        continue;
                }
                const int midY = (p.row.top + p.row.bottom) / 2;
                const int midX = (p.button.left + p.button.right) / 2;
                const bool showRootLines = (style & TVS_LINESATROOT) || n->parent != &t.root;
                if ((style & TVS_HASLINES) && showRootLines) {
                    // The line to the item, and the parent's line past it to the next sibling.
                    dottedLine(dc, midX, midY, p.button.right - 2, midY, lineColor);
                    dottedLine(dc, midX, n->prev || n->parent != &t.root ? p.row.top : midY, midX,
                               n->next ? p.row.bottom : midY, lineColor);
                    int x = midX - t.indent;
                    for (Node* a = n->parent; a && a != &t.root; a = a->parent, x -= t.indent)
                        if (a->next && (a->parent != &t.root || (style & TVS_LINESATROOT)))
                            dottedLine(dc, x, p.row.top, x, p.row.bottom, lineColor);
                }
                if ((style & TVS_HASBUTTONS) && showRootLines && hasChildren(hwnd, t, n)) {
                    RECT box{midX - 4, midY - 4, midX + 5, midY + 5};
                    fillColor(dc, box, bk);
                    FrameRect(dc, &box, GetSysColorBrush(COLOR_GRAYTEXT));
                    const HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
                    const HGDIOBJ old = SelectObject(dc, pen);
                    MoveToEx(dc, midX - 2, midY, nullptr);
                    LineTo(dc, midX + 3, midY);
                    if (!(n->state & TVIS_EXPANDED)) {
                        MoveToEx(dc, midX, midY - 2, nullptr);
                        LineTo(dc, midX, midY + 3);
                    }
                    SelectObject(dc, old);
                    DeleteObject(pen);
                }
                const UINT stateImage = (n->state & TVIS_STATEIMAGEMASK) >> 12;
                if (t.stateImages && stateImage > 0) {
                    int w = 0, ih = 0;
                    ImageList_GetIconSize(t.stateImages, &w, &ih);
                    ImageList_Draw(t.stateImages, static_cast<int>(stateImage), dc, p.check.left,
                                   midY - ih / 2, ILD_TRANSPARENT);
                } else if (style & TVS_CHECKBOXES) {
                    drawCheck(dc, p.check, stateImage);
                }
                if (t.images) {
                    int w = 0, ih = 0;
                    ImageList_GetIconSize(t.images, &w, &ih);
                    const int image = imageOf(hwnd, n, selected);
                    if (image >= 0)
                        ImageList_Draw(t.images, image, dc, p.icon.left, midY - ih / 2, ILD_TRANSPARENT);
                }
                if (show || drop || back != bk)
                    fillColor(dc, p.label, back);
                SetBkMode(dc, TRANSPARENT);
                SetTextColor(dc, text);
                RECT tr{p.label.left + 3, p.label.top, p.label.right, p.label.bottom};
                const std::wstring label = labelOf(hwnd, t, n);
                DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &tr,
                          DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
                if (selected && t.focused)
                    DrawFocusRect(dc, &p.label);
                if (itemAnswer & CDRF_NOTIFYPOSTPAINT)
                    customDraw(hwnd, CDDS_ITEMPOSTPAINT, dc, p.row, n, selected ? CDIS_SELECTED : 0,
                               depthOf(n), nullptr, nullptr);
            }
        }
        if (answer & CDRF_NOTIFYPOSTPAINT)
            customDraw(hwnd, CDDS_POSTPAINT, dc, client, nullptr, 0, 0, nullptr, nullptr);
        SelectObject(dc, oldFont);
    });
}

BOOL getItem(HWND hwnd, Tree& t, TVITEMW* out) {
    if (!out || !isLive(t, out->hItem))
        return FALSE;
    Node* n = out->hItem;
    if (out->mask & TVIF_TEXT)
        copyText(labelOf(hwnd, t, n), out->pszText, out->cchTextMax);
    if (out->mask & TVIF_IMAGE)
        out->iImage = n->image;
    if (out->mask & TVIF_SELECTEDIMAGE)
        out->iSelectedImage = n->selectedImage;
    if (out->mask & TVIF_CHILDREN)
        out->cChildren =
            n->children == I_CHILDRENCALLBACK ? I_CHILDRENCALLBACK : (n->first || n->children ? 1 : 0);
    if (out->mask & TVIF_PARAM)
        out->lParam = n->param;
    if (out->mask & TVIF_STATE)
        out->state = n->state & out->stateMask;
    return TRUE;
}

} // namespace

LRESULT treeViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        // The parent hears of each item going while the window still answers.
        if (Tree* t = treeOf(hwnd))
            while (t->root.first) {
                Node* n = t->root.first;
                unlink(n);
                t->live.erase(n);
                std::vector<Node*> stack{n};
                while (!stack.empty()) {
                    Node* d = stack.back();
                    stack.pop_back();
                    for (Node* c = d->first; c; c = c->next)
                        stack.push_back(c);
                    t->live.erase(d);
                    delete d;
                }
            }
    }
    Tree* t = attachState<Tree>(hwnd, message);
    if (!t)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const StateHold<Tree> hold(t);
    if (message == syncMessage()) {
        sync(hwnd, *t);
        return 0;
    }
    if (message == WM_PAINT || message == WM_VSCROLL || message == WM_MOUSEWHEEL)
        sync(hwnd, *t);
    const auto item = reinterpret_cast<HTREEITEM>(lParam);
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_CREATE:
        updateScrollBar(hwnd, *t);
        return 0;
    case WM_DESTROY:
        t->edit.finish(false);
        KillTimer(hwnd, kEditTimer);
        t->caret = nullptr;
        while (t->root.first)
            deleteNode(hwnd, *t, t->root.first);
        return 0;
    case WM_SIZE:
        updateScrollBar(hwnd, *t);
        return 0;
    case WM_SETFONT:
        t->font = reinterpret_cast<HFONT>(wParam);
        changed(hwnd, *t);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(t->font);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        t->focused = message == WM_SETFOCUS;
        NMHDR h{};
        notify(hwnd, t->focused ? NM_SETFOCUS : NM_KILLFOCUS, &h);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        mouseDown(hwnd, *t, p, message == WM_RBUTTONDOWN);
        return 0;
    case WM_MOUSEMOVE:
        mouseMove(hwnd, *t, p);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        mouseUp(hwnd, *t, p);
        return 0;
    case WM_CAPTURECHANGED:
        t->pressed = false;
        return 0;
    case WM_LBUTTONDBLCLK: {
        KillTimer(hwnd, kEditTimer);
        t->editCandidate = nullptr;
        UINT flags = 0;
        Node* n = hitTest(hwnd, *t, p, flags);
        NMHDR h{};
        if (!notify(hwnd, NM_DBLCLK, &h) && n && (flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON)))
            expand(hwnd, *t, n, TVE_TOGGLE, false);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kEditTimer) {
            KillTimer(hwnd, kEditTimer);
            Node* n = t->editCandidate;
            t->editCandidate = nullptr;
            if (isLive(*t, n) && n == t->caret)
                editLabel(hwnd, *t, n);
            return 0;
        }
        break;
    case WM_KEYDOWN:
        keyDown(hwnd, *t, wParam);
        return 0;
    case WM_CHAR:
        typed(hwnd, *t, static_cast<wchar_t>(wParam));
        return 0;
    case WM_VSCROLL: {
        const int page = pageRows(hwnd, *t);
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(hwnd, SB_VERT, &si);
        int top = t->top;
        switch (LOWORD(wParam)) {
        case SB_LINEUP:
            --top;
            break;
        case SB_LINEDOWN:
            ++top;
            break;
        case SB_PAGEUP:
            top -= page;
            break;
        case SB_PAGEDOWN:
            top += page;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            top = si.nTrackPos;
            break;
        case SB_TOP:
            top = 0;
            break;
        case SB_BOTTOM:
            top = static_cast<int>(t->live.size());
            break;
        default:
            break;
        }
        scrollTo(hwnd, *t, top);
        return 0;
    }
    case WM_MOUSEWHEEL:
        scrollTo(hwnd, *t, t->top - 3 * static_cast<short>(HIWORD(wParam)) / WHEEL_DELTA);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        paintTree(hwnd, *t, message, wParam);
        return 0;

    case TVM_INSERTITEMW:
        return reinterpret_cast<LRESULT>(
            insertItem(hwnd, *t, reinterpret_cast<const TVINSERTSTRUCTW*>(lParam)));
    case TVM_DELETEITEM:
        return deleteItem(hwnd, *t, item);
    case TVM_EXPAND:
        return expand(hwnd, *t, item, static_cast<UINT>(wParam), true);
    case TVM_GETCOUNT:
        return static_cast<LRESULT>(t->live.size());
    case TVM_GETNEXTITEM:
        return reinterpret_cast<LRESULT>(nextItem(hwnd, *t, static_cast<UINT>(wParam), item));
    case TVM_SELECTITEM:
        if (item && !isLive(*t, item))
            return FALSE;
        switch (wParam & 0xFF) {
        case TVGN_CARET:
            return select(hwnd, *t, item, TVC_UNKNOWN);
        case TVGN_DROPHILITE:
            t->dropHilite = item;
            InvalidateRect(hwnd, nullptr, TRUE);
            return TRUE;
        case TVGN_FIRSTVISIBLE: {
            if (!item)
                return FALSE;
            ensureVisible(hwnd, *t, item, true);
            t->top = rowOf(*t, item);
            changed(hwnd, *t);
            return TRUE;
        }
        default:
            return FALSE;
        }
    case TVM_GETITEMW:
        return getItem(hwnd, *t, reinterpret_cast<TVITEMW*>(lParam));
    case TVM_SETITEMW: {
        const auto* in = reinterpret_cast<const TVITEMW*>(lParam);
        if (!in || !isLive(*t, in->hItem))
            return FALSE;
        applyItem(*t, in->hItem, *in, hwnd);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    }
    case TVM_GETITEMSTATE:
        return isLive(*t, reinterpret_cast<HTREEITEM>(wParam))
                   ? static_cast<LRESULT>(reinterpret_cast<HTREEITEM>(wParam)->state &
                                          static_cast<UINT>(lParam))
                   : 0;
    case TVM_GETITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (!r)
            return FALSE;
        HTREEITEM n = nullptr;
        std::memcpy(&n, r, sizeof n); // the item comes in where the rectangle goes out
        if (!isLive(*t, n))
            return FALSE;
        const int row = rowOf(*t, n);
        if (row < 0)
            return FALSE;
        const RowParts parts = partsOf(hwnd, *t, n, row);
        *r = wParam ? parts.label : parts.row;
        return TRUE;
    }
    case TVM_HITTEST: {
        auto* info = reinterpret_cast<TVHITTESTINFO*>(lParam);
        if (!info)
            return 0;
        info->hItem = hitTest(hwnd, *t, info->pt, info->flags);
        return reinterpret_cast<LRESULT>(info->hItem);
    }
    case TVM_EDITLABELW:
        return reinterpret_cast<LRESULT>(editLabel(hwnd, *t, item));
    case TVM_ENDEDITLABELNOW:
        t->edit.finish(!wParam);
        return TRUE;
    case TVM_GETEDITCONTROL:
        return reinterpret_cast<LRESULT>(t->edit.window());
    case TVM_ENSUREVISIBLE:
        if (!isLive(*t, item))
            return FALSE;
        ensureVisible(hwnd, *t, item, true);
        return TRUE;
    case TVM_GETVISIBLECOUNT:
        return pageRows(hwnd, *t);
    case TVM_SORTCHILDREN:
        return sortChildren(hwnd, *t, item, nullptr, 0, wParam != 0);
    case TVM_SORTCHILDRENCB: {
        const auto* sort = reinterpret_cast<const TVSORTCB*>(lParam);
        if (!sort || !sort->lpfnCompare)
            return FALSE;
        return sortChildren(hwnd, *t, sort->hParent, sort->lpfnCompare, sort->lParam, wParam != 0);
    }
    case TVM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(wParam == TVSIL_STATE    ? t->stateImages
                                         : wParam == TVSIL_NORMAL ? t->images
                                                                  : nullptr);
    case TVM_SETIMAGELIST: {
        HIMAGELIST* slot = wParam == TVSIL_STATE    ? &t->stateImages
                           : wParam == TVSIL_NORMAL ? &t->images
                                                    : nullptr;
        if (!slot)
            return 0;
        HIMAGELIST old = *slot;
        *slot = reinterpret_cast<HIMAGELIST>(lParam);
        changed(hwnd, *t);
        return reinterpret_cast<LRESULT>(old);
    }
    case TVM_GETINDENT:
        return t->indent;
    case TVM_SETINDENT:
        t->indent = std::max(static_cast<int>(wParam), 8);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case TVM_GETITEMHEIGHT:
        return rowHeight(*t);
    case TVM_SETITEMHEIGHT: {
        const int old = rowHeight(*t);
        t->itemHeight = static_cast<short>(LOWORD(wParam)) == -1 ? 0 : std::max(1, static_cast<int>(wParam));
        changed(hwnd, *t);
        return old;
    }
    case TVM_GETBKCOLOR:
        return static_cast<LRESULT>(t->bk == CLR_NONE ? static_cast<COLORREF>(-1) : t->bk);
    case TVM_SETBKCOLOR: {
        const COLORREF old = t->bk;
        t->bk = static_cast<COLORREF>(lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return static_cast<LRESULT>(old);
    }
    case TVM_GETTEXTCOLOR:
        return static_cast<LRESULT>(t->text);
    case TVM_SETTEXTCOLOR: {
        const COLORREF old = t->text;
        t->text = static_cast<COLORREF>(lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return static_cast<LRESULT>(old);
    }
    case TVM_GETLINECOLOR:
        return static_cast<LRESULT>(t->lines);
    case TVM_SETLINECOLOR: {
        const COLORREF old = t->lines;
        t->lines = static_cast<COLORREF>(lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return static_cast<LRESULT>(old);
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace pal::ctl
