// The colour a person picks from a colour book, as the system panel's colour control keeps it.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <cstdint>
#include <string>

DV_EXPORTS_BEGIN

class CDvw32Doc;

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

// The folder the colour books are read from: the settings' folder as a full path when one is set,
// else "ColorBooks" in the program folder.
std::wstring ColorBooksFolder();

// Lets a person pick a colour from the colour books for the document: the request goes out as the
// application event, opening at `cursor` over `owner`; a chosen colour becomes the colour
// control's value in the document and the control's command is sent to `owner`. False when
// nothing was chosen (or there is no document), and then nothing changes.
bool ChooseColorFromBooks(HWND owner, CDvw32Doc* document, POINT cursor);

} // namespace dvframe

DV_EXPORTS_END
