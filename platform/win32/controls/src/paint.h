// How the controls look. Each control keeps its behaviour in its own file and hands what it
// shows to one of these functions; they draw through the drawing layer.
#pragma once

#include "control.h"

#include <functional>
#include <string>
#include <vector>

namespace pal::ctl {

// Runs `draw` inside BeginPaint/EndPaint, or on the device context of WM_PRINTCLIENT.
// A dialog's background in the brush its procedure answers to WM_CTLCOLORDLG.
void paintDialogBackground(HWND dialog, HDC dc);

void paintControl(HWND hwnd, UINT message, WPARAM wParam, const std::function<void(HDC, const RECT&)>& draw);

// Text measurement in a control's font (the system's dialog font when `font` is null).
int textWidth(HFONT font, const std::wstring& text);
int lineHeight(HFONT font);
HFONT fontOrDefault(HFONT font);

// Helpers of the painting files.
void fill(HDC dc, const RECT& r, int sysColor);
// Sets the system's text and background colours for the kind, then lets the parent change them.
HBRUSH prepareColors(HWND hwnd, HDC dc, UINT ctlColorMessage);
void triangle(HDC dc, const RECT& r, int direction, COLORREF color); // 0 up, 1 down, 2 left, 3 right

struct ButtonLook {
    DWORD type;
    DWORD style;
    int check;
    bool pushed;
    bool focused;
    HANDLE image;
    UINT imageKind;
    HFONT font;
};
void paintButton(HWND hwnd, HDC dc, const RECT& client, const ButtonLook& look);

struct StaticLook {
    DWORD kind;
    DWORD style;
    HANDLE image;
    HFONT font;
};
void paintStatic(HWND hwnd, HDC dc, const RECT& client, const StaticLook& look);

struct EditLook {
    const std::vector<std::wstring>* lines; // as shown (password characters already in place)
    std::vector<int> lineStarts;            // character index of each line's start
    int selStart;
    int selEnd;
    int caret;
    bool focused;
    bool showSelection;
    int firstLine;
    int scrollX;
    int leftMargin;
    HFONT font;
    bool readOnly;
};
void paintEdit(HWND hwnd, HDC dc, const RECT& client, const EditLook& look);

struct ListLook {
    HWND owner; // who draws owner-drawn items: the parent, or the combo box of a combo's list
    int top;
    int itemHeight;
    int caret;
    bool focused;
    int scrollX;
    HFONT font;
};
// Draws the visible items; `item` answers an item's text, whether it is selected, and its height.
struct ListItemView {
    const std::wstring* text;
    bool selected;
    int height;
    ULONG_PTR data;
};
void paintList(HWND hwnd, HDC dc, const RECT& client, const ListLook& look,
               const std::function<bool(int, ListItemView&)>& item, bool ownerDraw, UINT ctlType);

struct ComboLook {
    DWORD style;
    const std::wstring* text; // the selected item's text (drop-down list) or null
    bool focused;
    bool dropped;
    bool pressed;
    int buttonWidth;
    HFONT font;
};
void paintCombo(HWND hwnd, HDC dc, const RECT& client, const ComboLook& look);

struct ScrollLook {
    bool vertical;
    int arrow;   // each arrow's length along the bar
    int thumbAt; // the thumb's start along the bar
    int thumb;   // its length; 0 when there is nothing to scroll
    bool enabled;
    UINT disabledArrows;
};
void paintScrollBar(HDC dc, const RECT& area, const ScrollLook& look);

struct ProgressLook {
    int low, high, pos;
    bool marquee;
    int marqueeOffset;
    bool vertical;
    COLORREF bar, background;
};
void paintProgress(HWND hwnd, HDC dc, const RECT& client, const ProgressLook& look);

struct LinkRun {
    std::wstring text;
    int link; // -1 for plain text
};
struct LinkLook {
    const std::vector<LinkRun>* runs;
    int focusedLink;
    bool focused;
    HFONT font;
};
void paintLink(HWND hwnd, HDC dc, const RECT& client, const LinkLook& look);

struct CalendarLook {
    SYSTEMTIME shown; // year and month on view
    SYSTEMTIME selected;
    SYSTEMTIME today;
    bool focused;
    bool showToday;
    HFONT font;
    int firstDay; // 0 = Monday
};
void paintCalendar(HWND hwnd, HDC dc, const RECT& client, const CalendarLook& look);

} // namespace pal::ctl
