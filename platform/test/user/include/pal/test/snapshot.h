// Pictures of windows for tests: a window with its children as pixels, saved as PNG and
// compared pixel by pixel.
#pragma once

#include "pal/gdi.h"
#include "win/user.h"

#include <filesystem>
#include <string>

namespace pal::test {

// The window as it looks (pending paints done first), its frame included unless `clientOnly`;
// empty for a window that is gone.
pal::gdi::Surface snapshot(HWND hwnd, bool clientOnly = false);
bool saveSnapshot(HWND hwnd, const std::filesystem::path& png, bool clientOnly = false);
// How many pixels differ between two pictures; every pixel counts when the sizes differ.
size_t differingPixels(const pal::gdi::Surface& a, const pal::gdi::Surface& b);

// Keeps a picture under `name` (".png" added when missing) in the test's sandbox and, for a
// person to look at, in the folder DV_PAL_SNAPSHOTS names when that is an absolute path (made
// when missing). Answers whether the sandbox copy was written; the other copy is a courtesy.
bool keepSnapshot(const pal::gdi::Surface& picture, const std::string& name);
bool keepSnapshot(HWND hwnd, const std::string& name, bool clientOnly = false);

} // namespace pal::test
