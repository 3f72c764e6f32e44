#include "item_support.h"

#include <algorithm>
#include <cwctype>

namespace pal::ctl {

void copyText(const std::wstring& text, LPWSTR buffer, int capacity) {
    if (!buffer || capacity <= 0 || isTextCallback(buffer))
        return;
    const size_t n = std::min(text.size(), static_cast<size_t>(capacity - 1));
    std::copy_n(text.data(), n, buffer);
    buffer[n] = L'\0';
}

bool isTextCallback(LPCWSTR text) {
    return reinterpret_cast<LONG_PTR>(text) == -1;
}

std::wstring textFrom(LPCWSTR text) {
    if (!text || isTextCallback(text))
        return {};
    return text;
}

namespace {
wchar_t fold(wchar_t c) {
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}
} // namespace

bool startsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
    if (prefix.size() > text.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (fold(text[i]) != fold(prefix[i]))
            return false;
    return true;
}

bool equalNoCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && startsWithNoCase(a, b);
}

std::wstring TypeAhead::add(wchar_t c, bool& startAfterCurrent) {
    const DWORD now = GetTickCount();
    if (now - last_ > 1000)
        text_.clear();
    last_ = now;
    // The same letter again steps to the next item with it rather than growing the text.
    const bool repeat = !text_.empty() && std::all_of(text_.begin(), text_.end(),
                                                      [&](wchar_t t) { return fold(t) == fold(c); });
    text_ += c;
    startAfterCurrent = text_.size() == 1 || repeat;
    return repeat ? std::wstring(1, c) : text_;
}

int findPrefix(int count, int start, const std::wstring& prefix,
               const std::function<std::wstring(int)>& textAt) {
    if (count <= 0)
        return -1;
    start = ((start % count) + count) % count;
    for (int k = 0; k < count; ++k) {
        const int i = (start + k) % count;
        if (startsWithNoCase(textAt(i), prefix))
            return i;
    }
    return -1;
}

HWND LabelEdit::begin(HWND owner, const RECT& where, const std::wstring& text, HFONT font, EndFn end) {
    finish(false);
    edit_ = CreateWindowExW(0, L"Edit", text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                            where.left, where.top, where.right - where.left, where.bottom - where.top, owner,
                            nullptr, nullptr, nullptr);
    if (!edit_)
        return nullptr;
    end_ = std::move(end);
    if (font)
        SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowLongPtrW(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    base_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LabelEdit::editProc)));
    SendMessageW(edit_, EM_SETSEL, 0, -1);
    SetFocus(edit_);
    return edit_;
}

void LabelEdit::finish(bool commit) {
    if (!edit_)
        return;
    const HWND edit = edit_;
    edit_ = nullptr; // ending may move the focus, which must not end it a second time
    std::wstring text = textOf(edit);
    EndFn end = std::move(end_);
    end_ = nullptr;
    if (end)
        end(commit ? &text : nullptr);
    const HWND owner = GetParent(edit);
    if (GetFocus() == edit)
        SetFocus(owner);
    DestroyWindow(edit);
}

LRESULT LabelEdit::editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<LabelEdit*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    const WNDPROC base = self ? self->base_ : nullptr;
    if (!self || !base)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | CallWindowProcW(base, hwnd, message, wParam, lParam);
    case WM_KEYDOWN:
        if (self->edit_ == hwnd && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
            self->finish(wParam == VK_RETURN);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == L'\r' || wParam == 27)
            return 0;
        break;
    case WM_KILLFOCUS:
        if (self->edit_ == hwnd) {
            CallWindowProcW(base, hwnd, message, wParam, lParam);
            self->finish(true);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
        return CallWindowProcW(base, hwnd, message, wParam, lParam);
    default:
        break;
    }
    return CallWindowProcW(base, hwnd, message, wParam, lParam);
}

} // namespace pal::ctl
