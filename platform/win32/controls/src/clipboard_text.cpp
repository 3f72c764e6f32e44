// The edit controls' text on the clipboard, as CF_UNICODETEXT: UTF-16 units with a terminator.
#include "pal/clipboard_text.h"

#include "pal/text.h"
#include "win/ole/clipboard.h"

#include <cstring>

namespace pal::ctl {

bool putClipboardText(HWND owner, const std::wstring& text) {
    const std::u16string units = pal::text::toUtf16(text);
    const SIZE_T bytes = (units.size() + 1) * sizeof(char16_t);
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block)
        return false;
    if (void* p = GlobalLock(block)) {
        std::memcpy(p, units.c_str(), bytes);
        GlobalUnlock(block);
    }
    if (!OpenClipboard(owner)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    const bool ok = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    CloseClipboard();
    if (!ok)
        GlobalFree(block);
    return ok;
}

std::optional<std::wstring> clipboardText(HWND owner) {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner))
        return std::nullopt;
    std::optional<std::wstring> text;
    if (const HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
        const SIZE_T size = GlobalSize(block);
        if (const auto* p = static_cast<const char16_t*>(GlobalLock(block))) {
            size_t n = 0;
            while (n < size / sizeof(char16_t) && p[n])
                ++n;
            text = pal::text::fromUtf16(std::u16string_view(p, n));
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return text;
}

} // namespace pal::ctl
