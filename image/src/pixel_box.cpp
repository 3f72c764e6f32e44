#include "dvpimage/pixel_box.h"

#include "convert.h"
#include "format_table.h"

#include <cstring>

namespace Image {
namespace {

// Byte offset of element (x, y, z) in 64-bit arithmetic: no pitch or origin can wrap it around.
std::size_t byteOffset(const PixelBox& box, std::uint64_t x, std::uint64_t y, std::uint64_t z) {
    return static_cast<std::size_t>(detail::elemBytes(box.format) *
                                    (x + y * box.rowPitch + z * box.slicePitch));
}

unsigned char* elementAt(const PixelBox& box, std::uint64_t x, std::uint64_t y, std::uint64_t z) {
    return static_cast<unsigned char*>(box.data) + byteOffset(box, x, y, z);
}

} // namespace

PixelBox::PixelBox(const Box& box, PixelFormat fmt, void* pixels)
    : extent(box), format(fmt), data(pixels), rowPitch(box.GetWidth()),
      slicePitch(box.GetHeight() * box.GetWidth()) {}

PixelBox::PixelBox(std::uint32_t width, std::uint32_t height, std::uint32_t depth, PixelFormat fmt,
                   void* pixels)
    : extent(0, 0, 0, width, height, depth), format(fmt), data(pixels), rowPitch(width),
      slicePitch(width * height) {}

bool PixelBox::IsConsecutive() const {
    return rowPitch == GetWidth() && slicePitch == GetWidth() * GetHeight();
}

void PixelBox::SetConsecutive() {
    rowPitch = GetWidth();
    slicePitch = GetWidth() * GetHeight();
}

std::uint64_t PixelBox::GetConsecutiveSize() const {
    return Pixels::GetMemorySize(format, GetWidth(), GetHeight(), GetDepth());
}

bool PixelBox::IsEmpty() const {
    return data == nullptr || GetWidth() == 0 || GetHeight() == 0 || GetDepth() == 0;
}

PixelBox PixelBox::GetSubVolume(const Box& box) const {
    if (detail::isCompressed(format) && box == extent)
        return *this;
    if (!extent.Contains(box))
        return *this;
    PixelBox result = *this;
    result.extent = Box(0, 0, 0, box.GetWidth(), box.GetHeight(), box.GetDepth());
    if (data != nullptr)
        result.data =
            elementAt(*this, box.left - extent.left, box.top - extent.top, box.front - extent.front);
    return result;
}

void PixelBox::CopyPixels(const PixelBox& source, const PixelBox& destination) {
    const std::uint32_t width = source.GetWidth();
    const std::uint32_t height = source.GetHeight();
    const std::uint32_t depth = source.GetDepth();
    if (width != destination.GetWidth() || height != destination.GetHeight() ||
        depth != destination.GetDepth())
        return;
    if (source.IsEmpty() || destination.IsEmpty())
        return;

    const Box& se = source.extent;
    const Box& de = destination.extent;
    const bool sameFormat = source.format == destination.format;
    if (detail::isCompressed(source.format) || detail::isCompressed(destination.format)) {
        if (sameFormat)
            std::memmove(
                destination.data, source.data,
                static_cast<std::size_t>(Pixels::GetMemorySize(source.format, width, height, depth)));
        return;
    }

    // Both boxes start at their first element, whatever their origin.
    if (sameFormat && source.IsConsecutive() && destination.IsConsecutive()) {
        std::memmove(elementAt(destination, de.left, de.top, de.front),
                     elementAt(source, se.left, se.top, se.front),
                     static_cast<std::size_t>(source.GetConsecutiveSize()));
        return;
    }

    const std::size_t rowBytes = std::size_t{detail::elemBytes(source.format)} * width;
    const detail::RowConverter convert =
        sameFormat ? nullptr : detail::rowConverter(source.format, destination.format);
    if (!sameFormat && convert == nullptr)
        return;
    for (std::uint64_t z = 0; z < depth; ++z) {
        for (std::uint64_t y = 0; y < height; ++y) {
            const unsigned char* from = elementAt(source, se.left, se.top + y, se.front + z);
            unsigned char* to = elementAt(destination, de.left, de.top + y, de.front + z);
            if (sameFormat)
                std::memmove(to, from, rowBytes);
            else
                convert(from, to, width);
        }
    }
}

} // namespace Image
