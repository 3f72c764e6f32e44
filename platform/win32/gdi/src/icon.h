// Icons and cursors behind HICON handles: a premultiplied image with a hot spot, and the
// frames of the file it came from for copies at another size.
#pragma once

#include "object.h"
#include "win/gdi/icon.h"

#include <string>
#include <vector>

namespace pal::gdi {

struct Icon : Object {
    // Not a drawing object: GetObjectType answers 0 and SelectObject refuses it.
    DWORD type() const override { return 0; }
    Surface image; // ARGB32, premultiplied
    bool isIcon = true;
    POINT hotspot{};
    std::string shape = "custom";                       // the standard cursor's name, for the journal
    std::shared_ptr<const std::vector<Surface>> frames; // every size the file held
};

std::shared_ptr<Icon> iconOf(HICON icon);
HICON insertIcon(std::shared_ptr<Icon> icon);
// A premultiplied copy of `from` at width x height (smoothly scaled when the size differs).
Surface scaledCopy(const Surface& from, int width, int height, bool alpha);
// The frame nearest a size: the smallest at least as large, else the largest.
const Surface& nearestFrame(const std::vector<Surface>& frames, int width, int height);
// The images of an .ico, .bmp or .png file, premultiplied; empty when the file is not one
// of them, is corrupt or truncated, or holds an image of absurd size.
std::vector<Surface> decodeImageFile(const std::wstring& path);
// The premultiplied pixels of a bitmap: its alpha when it has any, else opaque.
Surface alphaPixels(const Bitmap& bitmap);

} // namespace pal::gdi
