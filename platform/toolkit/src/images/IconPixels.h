// Between icon handles and premultiplied pixel surfaces, for the image manager's own use.
#pragma once

#include "pal/gdi.h"

namespace dv::toolkit {

// The icon's pixels (a copy); empty for a stale handle.
pal::gdi::Surface iconPixels(HICON icon);
// A new icon showing the surface's pixels; null for an empty surface.
HICON iconFromPixels(const pal::gdi::Surface& pixels);
// A copy of `from` at the size (smoothly scaled when it differs).
pal::gdi::Surface scaled(const pal::gdi::Surface& from, int width, int height);
// The same picture faded to grey, as a disabled command shows it.
pal::gdi::Surface greyed(const pal::gdi::Surface& from);

} // namespace dv::toolkit
