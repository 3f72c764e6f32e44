// The texts of the system panel: its strings lie 10000 above their panel numbers in the kernel's
// string resources.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <string>

DV_EXPORTS_BEGIN

inline constexpr UINT kSystemPanelStringBase = 10000;

// Empty when the kernel has no such string.
std::wstring LoadSystemPanelString(UINT id);

DV_EXPORTS_END
