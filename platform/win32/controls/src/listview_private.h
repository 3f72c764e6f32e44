// The list view's state, shared by its behaviour (listview.cpp) and its look (listview_paint.cpp).
#pragma once

#include "item_support.h"
#include "win/controls/listview.h"

#include <set>
#include <string>
#include <vector>

namespace pal::ctl::lv {

struct Item {
    std::wstring text;
    bool textCallback = false;
    int image = 0;
    LPARAM param = 0;
    UINT state = 0;
    int indent = 0;
    std::vector<std::wstring> sub; // sub-item 1 is sub[0]
};

struct Column {
    int fmt = LVCFMT_LEFT;
    int width = 60;
    std::wstring text;
    int subItem = 0;
    int image = -1;
};

struct ListView : HeldState {
    DWORD style = 0; // the window's style, kept as it changes
    std::vector<Item> items;
    // Owner data: the parent holds the items; the control only the count and the states.
    int virtualCount = 0;
    std::set<int> virtualSelected;
    int focus = -1;
    int mark = -1; // where a Shift range starts
    std::vector<Column> columns;
    HWND header = nullptr;
    HIMAGELIST images[3] = {};
    COLORREF bk = GetSysColor(COLOR_WINDOW);
    COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    COLORREF textBk = GetSysColor(COLOR_WINDOW);
    DWORD exStyle = 0;
    UINT callbackMask = 0;
    HFONT font = nullptr;
    int fontHeight = 0;     // measured when first needed
    int ownerRowHeight = 0; // an owner-drawn report's row, asked of the parent once
    SCROLLINFO shownBar{};  // what the scroll bar was last given
    bool barShown = false;
    bool barPending = false; // a posted message will set the bar
    int top = 0;             // first visible row (report, small icons, icons) or column (list)
    bool focused = false;
    bool sorting = false;
    // The button press that may become a click or a drag.
    bool pressed = false;
    int pressedItem = -1;
    POINT pressedAt{};
    LabelEdit edit;
    int editItem = -1;
    int editCandidate = -1; // clicked again while selected: renamed unless a double click follows
    TypeAhead typeAhead;
};

// Geometry: one place answers where every item is in every view.
struct Layout {
    int view;         // LV_VIEW_*
    int headerH;      // report only
    int rowH;         // report, list and small icons
    int cellW, cellH; // icon and small-icon cells; list columns
    int perColumn;    // list: rows in a column
    int perRow;       // icons: cells in a row
    RECT client;
};

ListView* stateOf(HWND hwnd);
int viewOf(const ListView& l);
int itemCount(const ListView& l, HWND hwnd);
bool ownerData(const ListView& l);
Layout layoutOf(HWND hwnd, const ListView& l);
// The font's line height, measured once per font.
int fontHeightOf(ListView& l);
// The item's whole cell in client coordinates (whatever scrolling shows).
RECT itemBounds(HWND hwnd, const ListView& l, const Layout& g, int index);
// The first and last items at least partly in view; last < first when none are.
void visibleRange(HWND hwnd, const ListView& l, const Layout& g, int& first, int& last);
int itemAtPoint(HWND hwnd, const ListView& l, POINT p, UINT* flags, int* subItem);
int rowsPerPage(HWND hwnd, const ListView& l);
// What is shown for an item: its own text and image, or the parent's through LVN_GETDISPINFOW.
std::wstring displayText(HWND hwnd, ListView& l, int index, int subItem);
int displayImage(HWND hwnd, ListView& l, int index);
UINT stateOfItem(const ListView& l, HWND hwnd, int index);
LPARAM paramOf(const ListView& l, HWND hwnd, int index);
void paint(HWND hwnd, ListView& l, UINT message, WPARAM wParam);
// A change of range or position alone is deferred to a posted message unless `now`.
void updateScrollBars(HWND hwnd, ListView& l, bool now = false);
// The private message that brings a deferred scroll bar up to date, and its handling.
UINT syncBarsMessage();
void syncScrollBars(HWND hwnd, ListView& l);
void layoutHeader(HWND hwnd, ListView& l);

} // namespace pal::ctl::lv
