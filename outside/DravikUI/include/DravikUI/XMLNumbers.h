// Numbers in the texts of the UI library's XML formats and of the files beside them.
#pragma once

#include "pal/visibility.h"

#include <optional>
#include <string_view>

DV_EXPORTS_BEGIN

namespace DravikXML {

// The value of a whole text in `radix` (2 to 36): an optional sign, then digits only. None for
// anything else, for an empty text and for a value outside int.
std::optional<int> TryStringToInt(std::wstring_view text, int radix);
// The same, `fallback` when the text is not such a number.
int StringToInt(std::wstring_view text, int fallback, int radix);

} // namespace DravikXML

DV_EXPORTS_END
