// Text on the clipboard for the edit controls.
#pragma once

#include "win/user.h"

#include <optional>
#include <string>

namespace pal::ctl {

// Puts `text` on the clipboard as Unicode text, owned by `owner`; false when the clipboard is busy.
bool putClipboardText(HWND owner, const std::wstring& text);
// The clipboard's Unicode text, or nothing.
std::optional<std::wstring> clipboardText(HWND owner);

} // namespace pal::ctl
