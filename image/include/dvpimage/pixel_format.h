// Pixel formats, colours and the size arithmetic built on the format table.
#pragma once

#include "pal/visibility.h"

#include <cstdint>

DV_EXPORTS_BEGIN

namespace Image {

enum PixelFormat : std::uint32_t {
    PF_UNKNOWN = 0,
    PF_L8,
    PF_L16,
    PF_R5G6B5,
    PF_R8G8B8,
    PF_B8G8R8,
    PF_A8R8G8B8,
    PF_A8B8G8R8,
    PF_B8G8R8A8,
    PF_R8G8B8A8,
    PF_X8R8G8B8,
    PF_X8B8G8R8,
    PF_DXT1,
    PF_DXT2,
    PF_DXT3,
    PF_DXT4,
    PF_DXT5,
    PF_FLOAT32_R,
    PF_FLOAT32_RGB,
    PF_FLOAT32_RGBA,
    PF_DEPTH,
    PF_SHORT_RGBA,
    PF_SHORT_RGB,
    PF_R8,
    PF_R16,
    PF_B5G6R5,
    PF_COUNT
};

struct Color {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

struct ColorF {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;
};

// Static queries over the format table. A value outside the enumeration answers as PF_UNKNOWN.
class Pixels {
public:
    Pixels& operator=(const Pixels&) { return *this; }
    Pixels& operator=(Pixels&&) { return *this; }

    static const char* GetFormatName(PixelFormat format);
    static std::uint32_t GetNumElemBytes(PixelFormat format);
    static std::uint32_t GetNumElemBits(PixelFormat format);
    static std::uint32_t GetComponentCount(PixelFormat format);
    static std::uint32_t GetFlags(PixelFormat format);
    static bool HasAlpha(PixelFormat format);
    static bool IsCompressed(PixelFormat format);
    static bool IsAccessible(PixelFormat format);
    // Sizes are 64-bit: a large volume must not wrap around to a small number.
    static std::uint64_t GetMemorySize(PixelFormat format, std::uint32_t width, std::uint32_t height,
                                       std::uint32_t depth);
    static std::uint64_t CalculateSize(PixelFormat format, std::uint32_t width, std::uint32_t height,
                                       std::uint32_t depth, std::uint32_t mipmaps);
};

} // namespace Image

DV_EXPORTS_END
