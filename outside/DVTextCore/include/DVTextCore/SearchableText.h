// The form of a text that the program's find boxes compare: what a person would not tell apart
// when searching is made the same on both sides.
#pragma once

#include "pal/visibility.h"

#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

namespace Dravik {

// The text in lower case, in every script (Latin, Cyrillic, Greek, ...).
std::wstring GetSearchableEquivalent(std::wstring_view text);

} // namespace Dravik

DV_EXPORTS_END
