#include "dvpimage/pixel_format.h"

#include "format_table.h"

namespace Image {

const char* Pixels::GetFormatName(PixelFormat format) {
    return detail::desc(format).name;
}

std::uint32_t Pixels::GetNumElemBytes(PixelFormat format) {
    return detail::elemBytes(format);
}

std::uint32_t Pixels::GetNumElemBits(PixelFormat format) {
    return detail::elemBytes(format) * 8;
}

std::uint32_t Pixels::GetComponentCount(PixelFormat format) {
    return detail::desc(format).components;
}

std::uint32_t Pixels::GetFlags(PixelFormat format) {
    return detail::desc(format).flags;
}

// Callers have always been told every format may carry alpha; the flags say which really do.
bool Pixels::HasAlpha(PixelFormat) {
    return true;
}

bool Pixels::IsCompressed(PixelFormat format) {
    return detail::isCompressed(format);
}

bool Pixels::IsAccessible(PixelFormat format) {
    return format != PF_UNKNOWN && format < PF_COUNT && !detail::isCompressed(format);
}

std::uint64_t Pixels::GetMemorySize(PixelFormat format, std::uint32_t width, std::uint32_t height,
                                    std::uint32_t depth) {
    if (detail::isCompressed(format)) {
        const std::uint64_t blockBytes = format == PF_DXT1 ? 8 : 16;
        return ((std::uint64_t{width} + 3) / 4) * ((std::uint64_t{height} + 3) / 4) * blockBytes * depth;
    }
    return std::uint64_t{detail::elemBytes(format)} * width * height * depth;
}

std::uint64_t Pixels::CalculateSize(PixelFormat format, std::uint32_t width, std::uint32_t height,
                                    std::uint32_t depth, std::uint32_t mipmaps) {
    std::uint64_t total = 0;
    for (std::uint64_t level = 0; level <= mipmaps; ++level) {
        total += GetMemorySize(format, width, height, depth);
        if (width > 1)
            width /= 2;
        if (height > 1)
            height /= 2;
        if (depth > 1)
            depth /= 2;
    }
    return total;
}

} // namespace Image
