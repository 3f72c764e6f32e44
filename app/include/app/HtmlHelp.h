// The HTML help viewer, loaded by name on first use.
#pragma once

#include "win/types.h"

namespace dvapp {

inline constexpr UINT kHelpDisplayTopic = 0x0000;
inline constexpr UINT kHelpContext = 0x000F;

// Opens the help file with the viewer; false when the viewer or the file is missing.
bool OpenHtmlHelp(const wchar_t* helpFile, UINT command, DWORD_PTR data);

} // namespace dvapp
