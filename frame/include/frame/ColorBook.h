// The colour a person picks from a colour book, as the system panel's colour control keeps it.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <cstdint>

DV_EXPORTS_BEGIN

namespace dvframe {

// The system panel's colour control (command and control id).
constexpr unsigned kColorControlId = 904;
// The application event that lets a person pick from the colour books.
constexpr unsigned kColorBookEvent = 1026;

// The colour moved up one byte; the shift is done on 32 unsigned bits (a blue colour fills the top
// byte) and the control keeps that bit pattern as its integer.
constexpr std::int32_t ColorBookControlValue(COLORREF color) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(color) << 8);
}

} // namespace dvframe

DV_EXPORTS_END
