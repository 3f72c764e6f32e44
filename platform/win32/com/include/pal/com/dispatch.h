// Late-bound calls through IDispatch, as scripts and the small programs around DravikCad make
// them: arguments given in call order (Invoke wants them last first) and freed by the call.
#pragma once

#include "pal/visibility.h"
#include "win/com.h"

#include <string_view>
#include <vector>

DV_EXPORTS_BEGIN

namespace pal::com {

// Argument variants whose values the call takes over.
VARIANT textArgument(std::wstring_view text);
VARIANT shortArgument(short value);
VARIANT longArgument(LONG value);

// Calls method `id` of `on`; `result` may be null when the answer does not matter.
HRESULT invoke(IDispatch* on, DISPID id, std::vector<VARIANT> args, VARIANT* result = nullptr);
// The same by the member's name; a name the object does not know fails as GetIDsOfNames says.
HRESULT invokeByName(IDispatch* on, const wchar_t* name, std::vector<VARIANT> args,
                     VARIANT* result = nullptr);

} // namespace pal::com

DV_EXPORTS_END
