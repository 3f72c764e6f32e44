// Per-element colour conversions: one element of a format to or from an 8-bit or a float colour.
#pragma once

#include "dvpimage/pixel_format.h"
#include "pal/visibility.h"

// Exported although internal: the tests check the channel rules against these shortcuts.
DV_EXPORTS_BEGIN

namespace Image::detail {

// False when the format has no 8-bit conversion; nothing is written then.
bool packColour(PixelFormat format, const Color& colour, void* element);
bool unpackColour(PixelFormat format, const void* element, Color& colour);

// Channels the format does not set keep the colour's values; formats without conversion are untouched.
void packColourF(PixelFormat format, const ColorF& colour, void* element);
void unpackColourF(PixelFormat format, const void* element, ColorF& colour);

} // namespace Image::detail

DV_EXPORTS_END
