// Fuzz target of the load path: the bytes are loaded by content and by one named codec, and a
// decoded picture is read back, checksummed and converted.
#include "dvpimage/image2d.h"
#include "dvpimage/stream.h"

#include <FreeImage.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

class BytesStream : public Image::IStream {
public:
    BytesStream(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint64_t Read(void* buffer, std::uint64_t count) override {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - position_));
        if (n > 0)
            std::memcpy(buffer, data_ + position_, n);
        position_ += n;
        return n;
    }
    void Write(const void*, std::uint64_t) override {}
    void Skip(std::int32_t offset) override {
        const std::int64_t to = static_cast<std::int64_t>(position_) + offset;
        position_ =
            static_cast<std::size_t>(std::clamp<std::int64_t>(to, 0, static_cast<std::int64_t>(size_)));
    }
    bool IsEof() const override { return position_ >= size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// Pictures the library would accept but that take seconds and gigabytes to decode are no finding;
// the fuzzer skips those whose header, read by the format that will decode them, claims more than
// 64 MiB.
bool tooSlowToFuzz(FREE_IMAGE_FORMAT fif, const std::uint8_t* data, std::size_t size) {
    if (fif == FIF_UNKNOWN || !FreeImage_FIFSupportsNoPixels(fif))
        return false;
    FIMEMORY* memory = FreeImage_OpenMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size));
    bool slow = false;
    if (FreeImage_ValidateFromMemory(fif, memory)) {
        FreeImage_SeekMemory(memory, 0, SEEK_SET);
        FIBITMAP* header = FreeImage_LoadFromMemory(fif, memory, FIF_LOAD_NOPIXELS);
        if (header != nullptr && header->data != nullptr) {
            const std::uint64_t bytes = std::uint64_t{FreeImage_GetWidth(header)} *
                                        FreeImage_GetHeight(header) *
                                        std::max(4u, FreeImage_GetBPP(header) / 8);
            slow = bytes > (64u << 20);
        }
        if (header != nullptr)
            FreeImage_Unload(header);
    }
    FreeImage_CloseMemory(memory);
    return slow;
}

FREE_IMAGE_FORMAT detected(const std::uint8_t* data, std::size_t size) {
    FIMEMORY* memory = FreeImage_OpenMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size));
    const FREE_IMAGE_FORMAT fif = FreeImage_GetFileTypeFromMemory(memory, static_cast<int>(size));
    FreeImage_CloseMemory(memory);
    return fif;
}

void exercise(const Image::Image2D& image) {
    if (image.IsEmpty())
        return;
    (void)image.GetCrc();
    Image::Color colour;
    image.GetPixel(0, 0, colour);
    image.GetPixel(image.Width() - 1, image.Height() - 1, colour);
    image.GetPixel(image.Width(), image.Height(), colour);
    Image::Image2D target(image.Width(), image.Height(), Image::PF_A8R8G8B8);
    Image::PixelBox::CopyPixels(image.GetPixelBox(), target.GetPixelBox());
}

const char* const kTypes[] = {"png", "bmp", "jpg",  "tif", "pgm", "ppm",
                              "gif", "tga", "wbmp", "cut", "g3",  "pcd"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = (Image::Init(), true);
    (void)ready;
    if (size > (16u << 20))
        return 0;
    if (!tooSlowToFuzz(detected(data, size), data, size)) {
        BytesStream stream(data, size);
        Image::Image2D byContent;
        byContent.Load(stream, "");
        exercise(byContent);
    }
    const char* type = kTypes[size % std::size(kTypes)];
    if (!tooSlowToFuzz(FreeImage_GetFIFFromFilename(type), data, size)) {
        Image::Image2D byName;
        byName.Load(data, size, type);
        exercise(byName);
    }
    return 0;
}
