// Decoding image files through FreeImage, kept apart from the platform's types (FreeImage
// declares its own versions of them).
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace pal::html {

struct Decoded {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels; // premultiplied ARGB, top row first
};

// A PNG, JPEG, GIF or BMP file; empty when it is none, is broken, or is wider or taller than
// `maxSide` (checked from its header before any pixels are decoded).
Decoded decodeImage(const std::filesystem::path& file, int maxSide);

} // namespace pal::html
