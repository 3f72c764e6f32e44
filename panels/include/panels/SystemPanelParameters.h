// Reading and writing a document parameter by name for the system panel: the selected objects
// when there is a selection, the document's defaults for new elements otherwise.
#pragma once

#include "DravikKernel/Parameters.h"
#include "pal/visibility.h"

#include <cstdint>
#include <optional>
#include <string_view>

DV_EXPORTS_BEGIN

class CDvw32Doc;

// The value all selected objects agree on (empty when they differ or no object carries the
// parameter); without a selection, the defaults' value.
std::optional<dveval::VariantParameter> GetParameterValue(CDvw32Doc* document, std::wstring_view name);
// The value all default containers holding the name agree on; empty when they differ.
std::optional<dveval::VariantParameter> GetDefaultParameterValue(CDvw32Doc* document, std::wstring_view name);
// True when the selection took the value (also when no object can carry the parameter, which
// callers take as handled); false when it went to the defaults.
bool SetParameterValue(CDvw32Doc* document, std::wstring_view name, const dveval::VariantParameter& value);
void SetDefaultParameterValue(CDvw32Doc* document, std::wstring_view name,
                              const dveval::VariantParameter& value);

// A real made a 32-bit integer: truncated, clamped to the range, NaN giving 0.
std::int32_t RealToInt32(double value);

DV_EXPORTS_END
