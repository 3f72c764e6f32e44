// A two-dimensional image that owns its pixels, loaded and saved through the codec registry.
#pragma once

#include "dvpimage/codec.h"
#include "dvpimage/pixel_box.h"
#include "dvpimage/pixel_format.h"
#include "pal/visibility.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

DV_EXPORTS_BEGIN

namespace Image {

class IStream;

class Image2D {
public:
    Image2D();
    // An image whose pixel bytes would not fit in the library's limit is refused: it has no data.
    Image2D(std::uint32_t width, std::uint32_t height, PixelFormat format);
    Image2D(const Image2D& other);
    Image2D(Image2D&& other) noexcept;
    Image2D& operator=(const Image2D& other);
    Image2D& operator=(Image2D&& other) noexcept;
    ~Image2D();

    std::uint32_t Width() const;
    std::uint32_t Height() const;
    PixelFormat Format() const;
    std::uint32_t Dpm() const;
    std::size_t Size() const;
    std::uint32_t Bpp() const;
    const void* Bits() const;
    void* Bits();
    bool IsEmpty() const;

    PixelBox GetPixelBox() const;
    std::uint32_t GetCrc() const;

    // Outside the image these do nothing.
    void GetPixel(std::uint32_t x, std::uint32_t y, Color& colour) const;
    void GetPixel(std::uint32_t x, std::uint32_t y, ColorF& colour) const;
    void SetPixel(std::uint32_t x, std::uint32_t y, const Color& colour);
    void SetPixel(std::uint32_t x, std::uint32_t y, const ColorF& colour);

    // True when the image now holds decoded pixels. Without a codec the image is left as it was.
    bool Load(IStream& stream, const std::string& type, std::int32_t flags = 0);
    bool Load(const void* data, std::size_t size, const std::string& type, std::int32_t flags = 0);
    // True when encoded bytes were written.
    bool Save(IStream& stream, const std::string& type, std::int32_t flags = 0) const;

private:
    unsigned char* pixelAt(std::uint32_t x, std::uint32_t y) const;

    std::unique_ptr<ImageData> data_;
};

} // namespace Image

DV_EXPORTS_END
