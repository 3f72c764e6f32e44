// What the controls share: their registration, their per-window state and how they draw.
#pragma once

#include "win/controls.h"

#include <string>
#include <vector>

namespace pal::controls {

constexpr wchar_t kDialogClass[] = L"#32770";

// A list box's items, its caret and the first item in view.
struct ListState {
    struct Item {
        std::wstring text;
        LPARAM data = 0;
        bool selected = false;
    };
    std::vector<Item> items;
    int caret = -1;
    int top = 0;
};

// The window's dialog id and its parent, and a notification to the parent.
void notifyParent(HWND control, WORD code);

LRESULT buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT listBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT staticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The text of a window as it holds it.
std::wstring windowText(HWND hwnd);
// The text shown for a label: without '&' marks ("&&" shows one '&').
std::wstring withoutMnemonic(const std::wstring& text);
// The lower-cased character after a single '&', or 0.
wchar_t mnemonicOf(const std::wstring& text);

// Text measuring and drawing, in one place for every control. `width` limits wrapped text.
SIZE measureText(HDC dc, const std::wstring& text, LONG width, bool wrap);
constexpr LONG kListItemHeight = 18;

} // namespace pal::controls
