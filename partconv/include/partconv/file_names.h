// How the kernel's keys and guises become file names, and the fixed texts of the header
// written at the top of every file the kernel writes.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

namespace partconv {

// Keys and built names hold at most this many characters.
inline constexpr std::size_t maxNameLength = 255;

inline constexpr int formatBinary = 1;
inline constexpr int formatText = 2;

// The guise's name after "GUISE=" in a header ("unknown" for guises outside the table).
std::string_view guiseHeaderName(int guise);

// The name a narrow-name open uses for a key; nothing when the name would be too long.
// `programDir` is the program's folder as the system writes it (for the schema guise).
std::optional<std::string> narrowFileName(int guise, int format, std::string_view key,
                                          std::wstring_view programDir);
// The names the wide-name reading and writing opens use; nothing when too long.
std::optional<std::wstring> wideReadFileName(int guise, std::wstring_view key);
std::optional<std::wstring> wideWriteFileName(int guise, int format, std::wstring_view key);

// The three fixed lines of every header, each with its line feed.
std::string headerLine1();
std::string headerLine2();
std::string headerEndLine();

// "MC_MODEL=" text for a processor type as the operating system reports it (386, 486, 586,
// 2200, 8664), and the type of the processor this program runs on.
std::string_view machineModel(int processorType);
int processorType();

// "7-okt-2025" for the DATE= line.
std::string headerDate(const SYSTEMTIME& utc);

// The kernel's header text cut after each ";" into lines; what follows the last ";" is
// dropped. Nothing when a piece is too long for the header's line buffer.
inline constexpr std::size_t maxHeaderPiece = 284;
std::optional<std::string> headerTextLines(std::string_view text);

} // namespace partconv

DV_EXPORTS_END
