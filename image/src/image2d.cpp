#include "dvpimage/image2d.h"
#include "dvpimage/stream.h"

#include "colour.h"
#include "format_table.h"
#include "registry.h"

#include <cstring>

namespace Image {

Image2D::Image2D() = default;

Image2D::Image2D(std::uint32_t width, std::uint32_t height, PixelFormat format) {
    const std::uint64_t bytes = std::uint64_t{detail::elemBytes(format)} * width * height;
    if (bytes > detail::kMaxPixelBytes)
        return;
    auto data = std::make_unique<ImageData>();
    data->format = format;
    data->width = width;
    data->height = height;
    data->depth = 1;
    data->pixels.assign(static_cast<std::size_t>(bytes), 0);
    data_ = std::move(data);
}

Image2D::Image2D(const Image2D& other)
    : data_(other.data_ ? std::make_unique<ImageData>(*other.data_) : nullptr) {}

Image2D::Image2D(Image2D&& other) noexcept = default;

Image2D& Image2D::operator=(const Image2D& other) {
    if (this == &other)
        return *this;
    if (!other.data_)
        data_.reset();
    else if (data_)
        *data_ = *other.data_;
    else
        data_ = std::make_unique<ImageData>(*other.data_);
    return *this;
}

Image2D& Image2D::operator=(Image2D&& other) noexcept = default;

Image2D::~Image2D() = default;

std::uint32_t Image2D::Width() const {
    return data_ ? data_->width : 0;
}
std::uint32_t Image2D::Height() const {
    return data_ ? data_->height : 0;
}
PixelFormat Image2D::Format() const {
    return data_ ? data_->format : PF_UNKNOWN;
}
std::uint32_t Image2D::Dpm() const {
    return data_ ? data_->dpmX : 0;
}
std::size_t Image2D::Size() const {
    return data_ ? data_->pixels.size() : 0;
}
std::uint32_t Image2D::Bpp() const {
    return data_ ? detail::elemBytes(data_->format) * 8 : 0;
}

const void* Image2D::Bits() const {
    return data_ && !data_->pixels.empty() ? data_->pixels.data() : nullptr;
}

void* Image2D::Bits() {
    return data_ && !data_->pixels.empty() ? data_->pixels.data() : nullptr;
}

bool Image2D::IsEmpty() const {
    return !data_ || data_->pixels.empty();
}

PixelBox Image2D::GetPixelBox() const {
    PixelBox box(Width(), Height(), 1, Format(), const_cast<void*>(Bits()));
    return box;
}

std::uint32_t Image2D::GetCrc() const {
    if (!data_)
        return 0;
    std::uint32_t hash = 2166136261u;
    for (const std::uint8_t byte : data_->pixels) {
        hash ^= byte;
        hash *= 16777619u;
    }
    return hash;
}

// Null outside the image or past its pixel bytes, so no access can leave the buffer.
unsigned char* Image2D::pixelAt(std::uint32_t x, std::uint32_t y) const {
    if (!data_ || x >= data_->width || y >= data_->height)
        return nullptr;
    const std::uint64_t bytes = detail::elemBytes(data_->format);
    const std::uint64_t offset = (x + std::uint64_t{y} * data_->width) * bytes;
    if (bytes == 0 || offset + bytes > data_->pixels.size())
        return nullptr;
    return data_->pixels.data() + offset;
}

void Image2D::SetPixel(std::uint32_t x, std::uint32_t y, const Color& colour) {
    unsigned char* element = pixelAt(x, y);
    if (element == nullptr)
        return;
    if (!detail::packColour(data_->format, colour, element) &&
        detail::groupOf(data_->format) == detail::Group::Float) {
        const ColorF scaled{static_cast<float>(colour.r / 255.0), static_cast<float>(colour.g / 255.0),
                            static_cast<float>(colour.b / 255.0), static_cast<float>(colour.a / 255.0)};
        detail::packColourF(data_->format, scaled, element);
    }
}

void Image2D::GetPixel(std::uint32_t x, std::uint32_t y, Color& colour) const {
    const unsigned char* element = pixelAt(x, y);
    if (element == nullptr)
        return;
    const PixelFormat format = data_->format;
    if (detail::unpackColour(format, element, colour)) {
        // The short format without alpha reads as opaque, as the packed formats without alpha do.
        if (format == PF_SHORT_RGB)
            colour.a = 255;
        return;
    }
    if (detail::groupOf(format) == detail::Group::Float) {
        // Float channels are quantised to 8 bits; channels the format lacks read as 255.
        ColorF value{1.0f, 1.0f, 1.0f, 1.0f};
        detail::unpackColourF(format, element, value);
        colour = Color{static_cast<std::uint8_t>(detail::floatToBits(value.r, 8)),
                       static_cast<std::uint8_t>(detail::floatToBits(value.g, 8)),
                       static_cast<std::uint8_t>(detail::floatToBits(value.b, 8)),
                       static_cast<std::uint8_t>(detail::floatToBits(value.a, 8))};
    }
}

void Image2D::SetPixel(std::uint32_t x, std::uint32_t y, const ColorF& colour) {
    if (unsigned char* element = pixelAt(x, y))
        detail::packColourF(data_->format, colour, element);
}

void Image2D::GetPixel(std::uint32_t x, std::uint32_t y, ColorF& colour) const {
    if (const unsigned char* element = pixelAt(x, y))
        detail::unpackColourF(data_->format, element, colour);
}

bool Image2D::Load(IStream& stream, const std::string& type, std::int32_t) {
    Codec* codec = detail::findCodec(type);
    if (codec == nullptr) {
        unsigned char head[32] = {};
        const std::uint64_t got = stream.Read(head, sizeof head);
        codec = detail::findCodecByContent(head, sizeof head);
        // Back by what was read, so a short stream returns to where it was.
        stream.Skip(-static_cast<std::int32_t>(got > sizeof head ? sizeof head : got));
        if (codec == nullptr)
            return false;
    }
    data_ = std::make_unique<ImageData>(codec->Decode(stream));
    return !IsEmpty();
}

bool Image2D::Load(const void* data, std::size_t size, const std::string& type, std::int32_t) {
    Codec* codec = detail::findCodec(type);
    if (codec == nullptr && size > 32 && data != nullptr)
        codec = detail::findCodecByContent(data, 32);
    if (codec == nullptr)
        return false;
    data_ = std::make_unique<ImageData>(codec->Decode(data, size));
    return !IsEmpty();
}

bool Image2D::Save(IStream& stream, const std::string& type, std::int32_t) const {
    Codec* codec = detail::findCodec(type);
    if (codec == nullptr || !data_)
        return false;
    std::unique_ptr<IStream> encoded = codec->Encode(*data_);
    std::uint64_t written = 0;
    unsigned char chunk[1024];
    while (encoded && !encoded->IsEof()) {
        const std::uint64_t got = encoded->Read(chunk, sizeof chunk);
        if (got == 0)
            break;
        stream.Write(chunk, got);
        written += got;
    }
    return written > 0;
}

} // namespace Image
