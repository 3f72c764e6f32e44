// printf-style formatting with Microsoft's rules.
//
// In a wide format %s and %c take wide arguments and %hs/%S/%hc/%C narrow ones; in a narrow
// format it is the other way round. %ls and %lc are always wide. %ld/%lu read 32-bit values
// (long is 32-bit there), %lld, %I64d and %I64u 64-bit ones, %Id/%Iu/%zu pointer-sized ones.
// %n is refused. Malformed conversions are copied to the output as they stand.
#pragma once

#include "pal/visibility.h"

#include <cstdarg>
#include <string>

DV_EXPORTS_BEGIN

namespace pal {

std::wstring vformat(const wchar_t* format, va_list args);
std::string vformat(const char* format, va_list args);
std::wstring format(const wchar_t* format, ...);
std::string format(const char* format, ...);

} // namespace pal

DV_EXPORTS_END
