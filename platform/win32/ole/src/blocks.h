// The layouts of the standard clipboard blocks: terminated text in two encodings and the
// dropped-file list. Every reader here stays within the block's own size.
#pragma once

#include "win/ole.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pal::ole {

// The bytes of a global memory block; nullopt for a bad handle.
std::optional<std::string> bytesOf(HGLOBAL memory);
// A new movable block holding `bytes`; null when it cannot be had.
HGLOBAL globalOf(std::string_view bytes);

// False when a block of a standard format does not hold what the format says: text without a
// terminator within the block, a file list that is not sound. Other formats are opaque.
bool blockSound(UINT format, std::string_view bytes);

// The other text format's block from a sound one of CF_TEXT or CF_UNICODETEXT.
std::string convertText(UINT from, std::string_view bytes);

struct DropList {
    std::vector<std::wstring> paths;
    POINT point{};
    bool nonClient = false;
};
// Nullopt when the header or the list runs past the block or a path lacks its terminator.
std::optional<DropList> parseDropFiles(std::string_view bytes);
// A wide list with the given point.
std::string buildDropFiles(const std::vector<std::wstring>& paths, POINT point, bool nonClient);

} // namespace pal::ole
