// The help viewer of the platform layer, opened on the application's help file.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

namespace dvapp {

inline constexpr UINT kHelpDisplayTopic = 0x0000;
inline constexpr UINT kHelpContext = 0x000F;

// Opens the help file with the viewer; false when the viewer or the file is missing.
bool OpenHtmlHelp(const wchar_t* helpFile, UINT command, DWORD_PTR data);

} // namespace dvapp

DV_EXPORTS_END
