// What this library's own dialogs (message boxes, the file dialog) share.
#pragma once

#include "win/controls.h"

#include <string>
#include <vector>

namespace pal::controls {

constexpr wchar_t kDialogClass[] = L"#32770";

// The window's dialog id and its parent, and a notification to the parent.
void notifyParent(HWND control, WORD code);

// The window procedure of this library's own dialogs (message boxes, the file dialog).
LRESULT dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The text of a window as it holds it.
std::wstring windowText(HWND hwnd);
// The text shown for a label: without '&' marks ("&&" shows one '&').
std::wstring withoutMnemonic(const std::wstring& text);
// The lower-cased character after a single '&', or 0.
wchar_t mnemonicOf(const std::wstring& text);

// Text measuring and drawing, in one place for every control. `width` limits wrapped text.
SIZE measureText(HDC dc, const std::wstring& text, LONG width, bool wrap);

} // namespace pal::controls
