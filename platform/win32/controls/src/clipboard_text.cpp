// Until the clipboard exists in the window layer the edit controls have nothing to put it on.
#include "clipboard_text.h"

namespace pal::ctl {

bool putClipboardText(HWND, const std::wstring&) {
    return false;
}

std::optional<std::wstring> clipboardText(HWND) {
    return std::nullopt;
}

} // namespace pal::ctl
