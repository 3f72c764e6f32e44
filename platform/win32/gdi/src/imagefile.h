// Decoding image files, kept apart from the platform's types (FreeImage declares its own
// versions of them).
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace pal::gdi {

struct DecodedImage {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels; // premultiplied ARGB, top row first
};

// The images of an .ico (every frame), .bmp or .png file; empty when the file is none of
// them, is corrupt or truncated, or holds an image wider or taller than `maxSide`.
std::vector<DecodedImage> decodeImages(const std::filesystem::path& file, int maxSide);

} // namespace pal::gdi
