// The menu model shared by the menu functions and the popup tracker. Menus live in a table of
// their own under their own lock, never held while a window procedure runs.
#pragma once

#include "win/user.h"

#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace pal::win::menus {

struct Item {
    UINT type = MFT_STRING;
    UINT state = 0;
    UINT id = 0;
    HMENU sub = nullptr;
    std::wstring text;
    ULONG_PTR data = 0;
    HBITMAP bitmap = nullptr;
    HBITMAP checked = nullptr;
    HBITMAP unchecked = nullptr;

    bool separator() const { return (type & MFT_SEPARATOR) != 0; }
    bool disabled() const { return (state & MFS_GRAYED) != 0; }
};

struct Menu {
    HMENU handle = nullptr;
    bool popup = false;
    std::vector<Item> items;
};

std::unique_lock<std::mutex> lock();
// The menu behind a live handle, or null (lock held).
Menu* find(HMENU menu);
// A copy of the menu's items; empty for a handle that is no menu.
std::vector<Item> itemsOf(HMENU menu);

// The text as shown: without the '&' marks ("&&" shows one '&') and without the part after a tab.
std::wstring shownText(const std::wstring& text);
// The character after a single '&', lower-cased; 0 when there is none.
wchar_t mnemonicOf(const std::wstring& text);

} // namespace pal::win::menus

namespace pal::win::menus {

// A popup menu on the screen while it is tracked: its items as they were when it opened, where
// each lies in the popup's client area, and which is selected.
struct Level {
    HMENU menu = nullptr;
    HWND window = nullptr;
    std::vector<Item> items;
    std::vector<RECT> rects;
    SIZE size{};
    int selected = -1;
};

// Lays the items out one under the other; a popup never grows wider or taller than `limit`.
void layout(Level& level, SIZE limit);
// Paints the popup (its frame, items, checks, submenu arrows and the selection).
void paint(HDC dc, const Level& level);

} // namespace pal::win::menus
