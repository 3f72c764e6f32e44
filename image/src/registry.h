// The process registry as the images use it.
#pragma once

#include "dvpimage/codec.h"

#include <cstddef>
#include <string>

namespace Image::detail {

// Byte by byte with the standard tolower.
std::string lowerName(const std::string& name);

Codec* findCodec(const std::string& name);
Codec* findCodecByContent(const void* data, std::size_t size);

} // namespace Image::detail
