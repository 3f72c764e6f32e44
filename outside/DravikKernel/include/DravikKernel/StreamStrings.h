// The kernel's stream strings: how a wide string is kept in a byte stream by every record the
// maker's libraries write (user commands, their files).
//
// The encoding: a 32-bit little-endian count of UTF-16 code units, then the units, little-endian.
// A reader refuses a count above kMaxStreamStringUnits and a stream that ends inside a string.
#pragma once

#include "Compression/Streams.h"
#include "afxstr.h"
#include "pal/visibility.h"

#include <cstdint>

DV_EXPORTS_BEGIN

inline constexpr std::uint32_t kMaxStreamStringUnits = 1u << 24;

// False when the stream took less than the whole string.
bool DvwWriteString(dvio::IWriteStream& stream, LPCWSTR text);
// False, and `text` empty, when the stream holds no whole string.
bool DvwReadUniString(dvio::IReadStream& stream, CString& text);

DV_EXPORTS_END
