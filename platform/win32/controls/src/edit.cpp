// "Edit", single-line: typed characters replace the selection at the caret; arrows, Home, End,
// Backspace and Delete edit as usual. Every change of the text tells the parent EN_CHANGE.
#include "controls.h"

#include "paint.h"

#include <algorithm>

namespace pal::controls {
namespace {

// Window extra bytes: the selection's anchor and its caret end, and the length limit.
constexpr int kAnchor = 0;
constexpr int kCaret = sizeof(LONG_PTR);
constexpr int kLimit = 2 * sizeof(LONG_PTR);
constexpr LONG_PTR kDefaultLimit = 30000;

struct Selection {
    size_t anchor;
    size_t caret;
    size_t from() const { return std::min(anchor, caret); }
    size_t to() const { return std::max(anchor, caret); }
};

Selection selectionOf(HWND hwnd, size_t length) {
    return Selection{std::min<size_t>(static_cast<size_t>(GetWindowLongPtrW(hwnd, kAnchor)), length),
                     std::min<size_t>(static_cast<size_t>(GetWindowLongPtrW(hwnd, kCaret)), length)};
}

void select(HWND hwnd, size_t anchor, size_t caret) {
    SetWindowLongPtrW(hwnd, kAnchor, static_cast<LONG_PTR>(anchor));
    SetWindowLongPtrW(hwnd, kCaret, static_cast<LONG_PTR>(caret));
    InvalidateRect(hwnd, nullptr, TRUE);
}

size_t limitOf(HWND hwnd) {
    const LONG_PTR l = GetWindowLongPtrW(hwnd, kLimit);
    return static_cast<size_t>(l > 0 ? l : kDefaultLimit);
}

// Replaces the selection, keeping to the limit, and puts the caret after the new text.
void replaceSelection(HWND hwnd, const std::wstring& with) {
    std::wstring text = windowText(hwnd);
    const Selection s = selectionOf(hwnd, text.size());
    std::wstring insert = with;
    const size_t room = limitOf(hwnd) - std::min(limitOf(hwnd), text.size() - (s.to() - s.from()));
    if (insert.size() > room) {
        insert.resize(room);
        notifyParent(hwnd, EN_MAXTEXT);
    }
    text.replace(s.from(), s.to() - s.from(), insert);
    DefWindowProcW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    select(hwnd, s.from() + insert.size(), s.from() + insert.size());
    notifyParent(hwnd, EN_UPDATE);
    notifyParent(hwnd, EN_CHANGE);
}

void key(HWND hwnd, WPARAM vk) {
    const std::wstring text = windowText(hwnd);
    const Selection s = selectionOf(hwnd, text.size());
    const bool shift = GetKeyState(VK_SHIFT) & 0x8000;
    size_t caret = s.caret;
    switch (vk) {
    case VK_LEFT:
        caret = !shift && s.from() != s.to() ? s.from() : (caret ? caret - 1 : 0);
        break;
    case VK_RIGHT:
        caret = !shift && s.from() != s.to() ? s.to() : std::min(text.size(), caret + 1);
        break;
    case VK_HOME:
        caret = 0;
        break;
    case VK_END:
        caret = text.size();
        break;
    case VK_DELETE:
        if (GetWindowLongW(hwnd, GWL_STYLE) & ES_READONLY)
            return;
        if (s.from() == s.to() && s.caret < text.size())
            select(hwnd, s.caret, s.caret + 1);
        replaceSelection(hwnd, L"");
        return;
    default:
        return;
    }
    select(hwnd, shift ? s.anchor : caret, caret);
}

void character(HWND hwnd, wchar_t ch) {
    if (GetWindowLongW(hwnd, GWL_STYLE) & ES_READONLY)
        return;
    if (ch == L'\b') {
        const std::wstring text = windowText(hwnd);
        const Selection s = selectionOf(hwnd, text.size());
        if (s.from() == s.to()) {
            if (s.caret == 0)
                return;
            select(hwnd, s.caret - 1, s.caret);
        }
        replaceSelection(hwnd, L"");
        return;
    }
    // Control characters (Enter, Escape, Tab and the Ctrl letters) are not text.
    if (ch < 0x20 || ch == 0x7F)
        return;
    replaceSelection(hwnd, std::wstring(1, ch));
}

} // namespace

LRESULT editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_SETTEXT: {
        const LRESULT r = DefWindowProcW(hwnd, message, wParam, lParam);
        select(hwnd, 0, 0);
        notifyParent(hwnd, EN_CHANGE);
        return r;
    }
    case EM_GETSEL: {
        const Selection s = selectionOf(hwnd, windowText(hwnd).size());
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(s.from());
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(s.to());
        return MAKELRESULT(static_cast<WORD>(s.from()), static_cast<WORD>(s.to()));
    }
    case EM_SETSEL: {
        // -1 as the start removes the selection; -1 as the end means the end of the text.
        const size_t length = windowText(hwnd).size();
        const auto start = static_cast<long long>(static_cast<int>(wParam));
        const auto end = static_cast<long long>(static_cast<int>(lParam));
        if (start < 0) {
            const size_t caret = selectionOf(hwnd, length).caret;
            select(hwnd, caret, caret);
            return 0;
        }
        select(hwnd, std::min<size_t>(static_cast<size_t>(start), length),
               end < 0 ? length : std::min<size_t>(static_cast<size_t>(end), length));
        return 0;
    }
    case EM_REPLACESEL:
        replaceSelection(hwnd, lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"");
        return 0;
    case EM_LIMITTEXT:
        SetWindowLongPtrW(hwnd, kLimit, wParam ? static_cast<LONG_PTR>(wParam) : 0x7FFFFFFE);
        return 0;
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(limitOf(hwnd));
    case WM_KEYDOWN:
        key(hwnd, wParam);
        return 0;
    case WM_CHAR:
        character(hwnd, static_cast<wchar_t>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        if (GetFocus() != hwnd)
            SetFocus(hwnd);
        return 0;
    case WM_SETFOCUS:
        InvalidateRect(hwnd, nullptr, TRUE);
        notifyParent(hwnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        InvalidateRect(hwnd, nullptr, TRUE);
        notifyParent(hwnd, EN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        const HDC dc = BeginPaint(hwnd, &ps);
        const std::wstring text = windowText(hwnd);
        const Selection s = selectionOf(hwnd, text.size());
        paintEdit(dc, hwnd, text, s.from(), s.to(), GetFocus() == hwnd);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace pal::controls
