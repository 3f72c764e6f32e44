// What the item controls (list view, tree view, tab control, header) share: copying text into a
// caller's buffer, a sort that survives any comparison, typing to find an item, and the edit box
// that renames a label in place.
#pragma once

#include "control.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace pal::ctl {

// Copies at most `capacity - 1` characters and a terminator; nothing for a null buffer or no room.
void copyText(const std::wstring& text, LPWSTR buffer, int capacity);
// A caller's text: empty for null and for the callback marker.
std::wstring textFrom(LPCWSTR text);
bool isTextCallback(LPCWSTR text);

// Orders `order` by `less`. The comparison is the caller's and may contradict itself: the sort
// still ends after at most n·log n comparisons and every element stays in the sequence exactly
// once. Equal elements keep their order.
template <class Less> void robustSort(std::vector<std::size_t>& order, Less less) {
    // Bottom-up merging: every loop is bounded by the run lengths alone, never by what the
    // comparison answered, so a contradicting comparison gives some order and nothing worse.
    const std::size_t n = order.size();
    std::vector<std::size_t> scratch(n);
    for (std::size_t width = 1; width < n; width *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * width) {
            const std::size_t mid = lo + width < n ? lo + width : n;
            const std::size_t hi = lo + 2 * width < n ? lo + 2 * width : n;
            std::size_t a = lo, b = mid, out = lo;
            while (a < mid && b < hi)
                scratch[out++] = less(order[b], order[a]) ? order[b++] : order[a++];
            while (a < mid)
                scratch[out++] = order[a++];
            while (b < hi)
                scratch[out++] = order[b++];
        }
        order.swap(scratch);
    }
}

// Case-insensitive, as the system compares labels.
bool startsWithNoCase(const std::wstring& text, const std::wstring& prefix);
bool equalNoCase(const std::wstring& a, const std::wstring& b);

// Type-ahead: the characters typed within a second of each other build one search text; the same
// character typed again steps through the items that begin with it.
class TypeAhead {
public:
    // The text to look for after `c`, and whether the search starts after the current item (a new
    // search or a repeated character) or at it (a longer prefix).
    std::wstring add(wchar_t c, bool& startAfterCurrent);
    const std::wstring& text() const { return text_; }

private:
    std::wstring text_;
    DWORD last_ = 0;
};

// Finds the first index from `start` (wrapping) among `count` whose text starts with `prefix`;
// -1 without one.
int findPrefix(int count, int start, const std::wstring& prefix,
               const std::function<std::wstring(int)>& textAt);

// The edit box over a label. `end` runs once with the new text, or null when the edit was
// cancelled (Esc) or the control goes away.
class LabelEdit {
public:
    using EndFn = std::function<void(const std::wstring* text)>;
    HWND begin(HWND owner, const RECT& where, const std::wstring& text, HFONT font, EndFn end);
    // Ends an edit in progress: with its text when `commit`, without otherwise.
    void finish(bool commit);
    HWND window() const { return edit_; }
    bool active() const { return edit_ != nullptr; }

private:
    static LRESULT editProc(HWND, UINT, WPARAM, LPARAM);
    HWND edit_ = nullptr;
    WNDPROC base_ = nullptr;
    EndFn end_;
};

// Pixels the mouse moves with a button down before a drag begins.
constexpr int kDragDistance = 4;

} // namespace pal::ctl
