// A view of caller-owned pixel memory: an extent, a format and pitches counted in elements. The data
// pointer addresses coordinate (0, 0, 0); the extent's left, top and front are offsets into it.
#pragma once

#include "dvpimage/box.h"
#include "dvpimage/pixel_format.h"
#include "pal/visibility.h"

#include <cstdint>

DV_EXPORTS_BEGIN

namespace Image {

struct PixelBox {
    Box extent;
    PixelFormat format = PF_UNKNOWN;
    void* data = nullptr;
    std::uint32_t rowPitch = 0;
    std::uint32_t slicePitch = 0;

    PixelBox() = default;
    PixelBox(const Box& box, PixelFormat fmt, void* pixels);
    PixelBox(std::uint32_t width, std::uint32_t height, std::uint32_t depth, PixelFormat fmt, void* pixels);

    std::uint32_t GetWidth() const { return extent.GetWidth(); }
    std::uint32_t GetHeight() const { return extent.GetHeight(); }
    std::uint32_t GetDepth() const { return extent.GetDepth(); }

    std::uint32_t GetRowSkip() const { return rowPitch - GetWidth(); }
    std::uint32_t GetSliceSkip() const { return slicePitch - GetHeight() * rowPitch; }
    std::uint32_t GetOffset() const {
        return extent.left + extent.top * rowPitch + extent.front * slicePitch;
    }

    bool IsConsecutive() const;
    void SetConsecutive();
    std::uint64_t GetConsecutiveSize() const;
    bool IsEmpty() const;

    // A box outside the extent gives a copy of this box; nothing is reported.
    PixelBox GetSubVolume(const Box& box) const;

    // Copies between boxes of the same width, height and depth, converting the format when needed.
    static void CopyPixels(const PixelBox& source, const PixelBox& destination);
};

} // namespace Image

DV_EXPORTS_END
