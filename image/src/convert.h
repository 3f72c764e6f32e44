// Row converters for copies between two different formats.
#pragma once

#include "dvpimage/pixel_format.h"

#include <cstddef>

namespace Image::detail {

// Converts count consecutive elements as if each went through a float colour that starts at
// (0, 0, 0, 1) and keeps the channels the source does not set. Null when the destination has no
// conversion: such a destination is left as it is.
using RowConverter = void (*)(const unsigned char* src, unsigned char* dst, std::size_t count);

RowConverter rowConverter(PixelFormat source, PixelFormat destination);

} // namespace Image::detail
