// Pictures of windows for tests: a window with its children as pixels, saved as PNG and
// compared pixel by pixel.
#pragma once

#include "pal/gdi.h"
#include "win/user.h"

#include <filesystem>

namespace pal::test {

// The window as it looks (pending paints done first), its frame included unless `clientOnly`;
// empty for a window that is gone.
pal::gdi::Surface snapshot(HWND hwnd, bool clientOnly = false);
bool saveSnapshot(HWND hwnd, const std::filesystem::path& png, bool clientOnly = false);
// How many pixels differ between two pictures; every pixel counts when the sizes differ.
size_t differingPixels(const pal::gdi::Surface& a, const pal::gdi::Surface& b);

} // namespace pal::test
