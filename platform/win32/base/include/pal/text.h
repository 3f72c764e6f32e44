// Conversions between UTF-8, UTF-16 and wchar_t (UTF-32 here).
// Malformed input never fails: each bad sequence becomes U+FFFD.
#pragma once

#include "pal/visibility.h"

#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

namespace pal::text {

std::wstring fromUtf8(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);
// Appends one character as UTF-8; a surrogate or a value past U+10FFFF becomes U+FFFD.
void appendUtf8(std::string& out, char32_t c);
std::wstring fromUtf16(std::u16string_view utf16);
std::u16string toUtf16(std::wstring_view wide);

// UTF-16 little-endian bytes, as they cross a process or file boundary.
std::wstring fromUtf16leBytes(std::string_view bytes);
std::string toUtf16leBytes(std::wstring_view wide);

// Case-insensitive comparison the way the platform compares names (simple per-character folding).
int compareNoCase(std::wstring_view a, std::wstring_view b);
bool equalsNoCase(std::wstring_view a, std::wstring_view b);
std::wstring toLower(std::wstring_view s);
std::wstring toUpper(std::wstring_view s);

} // namespace pal::text

DV_EXPORTS_END
