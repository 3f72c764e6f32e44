// Text on the clipboard, as the edit controls and the class library's views put it there.
#pragma once

#include "pal/visibility.h"
#include "win/user.h"

#include <optional>
#include <string>

DV_EXPORTS_BEGIN

namespace pal::ctl {

// Puts `text` on the clipboard as Unicode text, owned by `owner`; false when the clipboard is busy.
bool putClipboardText(HWND owner, const std::wstring& text);
// The clipboard's Unicode text, or nothing.
std::optional<std::wstring> clipboardText(HWND owner);

} // namespace pal::ctl

DV_EXPORTS_END
