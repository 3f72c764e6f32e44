// Texts brought into one form for searching: what a person types and what the program shows
// then compare by plain substring, whatever their case or spelling variant.
#pragma once

#include "pal/visibility.h"

#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

namespace Dravik {

// Lower case, with the letters a person may type either way folded into one ("ё" into "е",
// "й" kept), non-breaking spaces into spaces and the soft hyphen dropped.
std::wstring GetSearchableEquivalent(std::wstring_view text);

} // namespace Dravik

DV_EXPORTS_END
