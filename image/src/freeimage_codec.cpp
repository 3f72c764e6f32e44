#include "dvpimage/codec.h"
#include "dvpimage/pixel_box.h"
#include "dvpimage/stream.h"

#include "format_table.h"

#include <FreeImage.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

namespace Image {
namespace {

using detail::kMaxEncodedBytes;

class Memory {
public:
    Memory() : handle_(FreeImage_OpenMemory()) {}
    Memory(const void* data, std::size_t size)
        : handle_(FreeImage_OpenMemory(static_cast<BYTE*>(const_cast<void*>(data)),
                                       static_cast<DWORD>(std::min(size, kMaxEncodedBytes)))) {}
    ~Memory() {
        if (handle_ != nullptr)
            FreeImage_CloseMemory(handle_);
    }
    Memory(const Memory&) = delete;
    Memory& operator=(const Memory&) = delete;
    FIMEMORY* get() const { return handle_; }

private:
    FIMEMORY* handle_;
};

struct Unload {
    void operator()(FIBITMAP* dib) const { FreeImage_Unload(dib); }
};
using Bitmap = std::unique_ptr<FIBITMAP, Unload>;

// Reads the header alone where the plug-in can, so that a file claiming a picture too large to hold
// is refused before FreeImage allocates and decodes it.
bool headerFits(FREE_IMAGE_FORMAT fif, FIMEMORY* memory) {
    if (!FreeImage_FIFSupportsNoPixels(fif))
        return true;
    Bitmap header(FreeImage_LoadFromMemory(fif, memory, FIF_LOAD_NOPIXELS));
    FreeImage_SeekMemory(memory, 0, SEEK_SET);
    if (!header || header->data == nullptr)
        return false;
    // Pictures under 24 bits are widened to 24 on load.
    const std::uint64_t bytesPerPixel = std::max<std::uint64_t>((FreeImage_GetBPP(header.get()) + 7) / 8, 3);
    const std::uint64_t bytes =
        std::uint64_t{FreeImage_GetWidth(header.get())} * FreeImage_GetHeight(header.get()) * bytesPerPixel;
    return bytes <= detail::kMaxPixelBytes;
}

// Most plug-ins tell their own bytes from others'; a few (WBMP, CUT, G3, PCD) have no such check, and
// for them the named format is all there is to go on. A check reads the bytes, so a plug-in whose
// check reads nothing has none.
bool hasContentCheck(FREE_IMAGE_FORMAT fif) {
    struct Probe {
        long position = 0;
        bool read = false;
    } probe;
    FreeImageIO io{};
    io.read_proc = [](void* buffer, unsigned size, unsigned count, fi_handle handle) -> unsigned {
        static_cast<Probe*>(handle)->read = true;
        std::memset(buffer, 0, std::size_t{size} * count);
        return count;
    };
    io.seek_proc = [](fi_handle handle, long offset, int) -> int {
        static_cast<Probe*>(handle)->position = offset;
        return 0;
    };
    io.tell_proc = [](fi_handle handle) -> long { return static_cast<Probe*>(handle)->position; };
    FreeImage_ValidateFromHandle(fif, &io, &probe);
    return probe.read;
}

// Brings a standard bitmap to 8-bit grey, 24 or 32 bits; null when the conversion fails.
FIBITMAP* toHeldDepth(FIBITMAP* dib) {
    if (FreeImage_GetImageType(dib) != FIT_BITMAP)
        return dib;
    const FREE_IMAGE_COLOR_TYPE colourType = FreeImage_GetColorType(dib);
    FIBITMAP* converted = nullptr;
    if (colourType == FIC_MINISWHITE || colourType == FIC_MINISBLACK)
        converted = FreeImage_ConvertToGreyscale(dib);
    else if (FreeImage_GetBPP(dib) < 24 || colourType == FIC_PALETTE || colourType == FIC_CMYK)
        converted = FreeImage_ConvertTo24Bits(dib);
    else
        return dib;
    FreeImage_Unload(dib);
    return converted;
}

PixelFormat formatOf(FIBITMAP* dib) {
    switch (FreeImage_GetImageType(dib)) {
    case FIT_BITMAP:
        switch (FreeImage_GetBPP(dib)) {
        case 8:
            return PF_L8;
        case 16:
            return PF_L16;
        case 24:
            return PF_R8G8B8;
        case 32:
            return PF_A8R8G8B8;
        default:
            return PF_UNKNOWN;
        }
    case FIT_UINT16:
    case FIT_INT16:
        return PF_R16;
    case FIT_FLOAT:
        return PF_FLOAT32_R;
    case FIT_RGB16:
        return PF_SHORT_RGB;
    case FIT_RGBA16:
        return PF_SHORT_RGBA;
    case FIT_RGBF:
        return PF_FLOAT32_RGB;
    case FIT_RGBAF:
        return PF_FLOAT32_RGBA;
    default:
        return PF_UNKNOWN;
    }
}

// How an image goes into a FreeImage bitmap: its type and depth, and the format of the bitmap's rows
// (the image's own format unless the bytes must be rearranged).
struct Target {
    FREE_IMAGE_TYPE type = FIT_UNKNOWN;
    int bpp = 0;
    PixelFormat rows = PF_UNKNOWN;
};

// Both questions are asked, and both must be answered yes.
bool canExport(FREE_IMAGE_FORMAT fif, const Target& target) {
    if (target.type == FIT_UNKNOWN)
        return false;
    const bool type = FreeImage_FIFSupportsExportType(fif, target.type) != FALSE;
    const bool depth = FreeImage_FIFSupportsExportBPP(fif, target.bpp) != FALSE;
    return type && depth;
}

Target targetFor(FREE_IMAGE_FORMAT fif, PixelFormat format) {
    const int bpp = static_cast<int>((Pixels::GetNumElemBits(format) / 8) * 8);
    Target target;
    switch (format) {
    case PF_L8:
    case PF_R8G8B8:
    case PF_A8R8G8B8:
        target = {FIT_BITMAP, bpp, format};
        break;
    // FreeImage keeps blue first in memory: the red-first formats are rearranged on the way out.
    case PF_B8G8R8:
        target = {FIT_BITMAP, bpp, PF_R8G8B8};
        break;
    case PF_A8B8G8R8:
        target = {FIT_BITMAP, bpp, PF_A8R8G8B8};
        break;
    // Grey of 16 bits is written as 16 bits or not at all: a standard bitmap of 16 bits would be
    // read as 5-6-5 colour, and 8-bit grey would lose half of every value.
    case PF_L16:
    case PF_R16:
        target = {FIT_UINT16, 16, format};
        break;
    case PF_FLOAT32_R:
        target = {FIT_FLOAT, bpp, format};
        break;
    case PF_FLOAT32_RGB:
        target = {FIT_RGBF, bpp, format};
        break;
    case PF_FLOAT32_RGBA:
        target = {FIT_RGBAF, bpp, format};
        break;
    case PF_SHORT_RGBA:
        target = {FIT_RGBA16, bpp, format};
        break;
    case PF_SHORT_RGB:
        target = {FIT_RGB16, bpp, format};
        break;
    default:
        break;
    }
    return canExport(fif, target) ? target : Target{};
}

Bitmap toBitmap(const ImageData& image, const Target& target) {
    const std::uint64_t rowBytes = std::uint64_t{Pixels::GetNumElemBytes(image.format)} * image.width;
    if (image.width == 0 || image.height == 0 || image.width > INT_MAX || image.height > INT_MAX ||
        rowBytes * image.height > image.pixels.size())
        return Bitmap();
    Bitmap dib(FreeImage_AllocateT(target.type, static_cast<int>(image.width), static_cast<int>(image.height),
                                   target.bpp));
    if (!dib)
        return dib;
    if (target.type == FIT_BITMAP && target.bpp == 8) {
        RGBQUAD* palette = FreeImage_GetPalette(dib.get());
        for (int i = 0; palette != nullptr && i < 256; ++i)
            palette[i] = RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
    }
    FreeImage_SetDotsPerMeterX(dib.get(), image.dpmX);
    FreeImage_SetDotsPerMeterY(dib.get(), image.dpmY);
    const std::uint8_t* source = image.pixels.data();
    for (std::uint32_t y = 0; y < image.height; ++y, source += rowBytes) {
        BYTE* line = FreeImage_GetScanLine(dib.get(), static_cast<int>(y));
        if (target.rows == image.format) {
            std::memcpy(line, source, static_cast<std::size_t>(rowBytes));
        } else {
            PixelBox::CopyPixels(PixelBox(image.width, 1, 1, image.format, const_cast<std::uint8_t*>(source)),
                                 PixelBox(image.width, 1, 1, target.rows, line));
        }
    }
    return dib;
}

std::unique_ptr<IStream> streamOf(const void* bytes, std::uint64_t size) {
    auto stream = std::make_unique<MemoryStream>(0);
    stream->Write(bytes, size);
    for (std::uint64_t back = size; back > 0;) {
        const std::uint64_t step = std::min<std::uint64_t>(back, INT32_MAX);
        stream->Skip(-static_cast<std::int32_t>(step));
        back -= step;
    }
    return stream;
}

} // namespace

FreeImageCodec::FreeImageCodec(std::string name, int format) : name_(std::move(name)), format_(format) {}

std::string FreeImageCodec::GetName() const {
    return name_;
}

std::string FreeImageCodec::GetTypeName(const void* data, std::size_t size) {
    if (data == nullptr || size == 0)
        return {};
    Memory memory(data, size);
    if (memory.get() == nullptr)
        return {};
    const FREE_IMAGE_FORMAT fif =
        FreeImage_GetFileTypeFromMemory(memory.get(), static_cast<int>(std::min<std::size_t>(size, INT_MAX)));
    if (fif == FIF_UNKNOWN)
        return {};
    const char* name = FreeImage_GetFormatFromFIF(fif);
    return name != nullptr ? name : "";
}

bool FreeImageCodec::CanDecode(const void* data, std::size_t size) {
    return !GetTypeName(data, size).empty();
}

ImageData FreeImageCodec::Decode(IStream& stream) {
    MemoryStream whole(stream);
    return Decode(whole.Data(), static_cast<std::size_t>(whole.Size()));
}

ImageData FreeImageCodec::Decode(const void* data, std::size_t size) {
    ImageData result;
    if (data == nullptr || size == 0 || size > kMaxEncodedBytes)
        return result;
    Memory memory(data, size);
    if (memory.get() == nullptr)
        return result;
    const auto fif = static_cast<FREE_IMAGE_FORMAT>(format_);
    // Some plug-ins (TARGA among them) crash on bytes of another format, so bytes are decoded only by
    // a format that recognises them as its own or that cannot recognise anything.
    const bool own = FreeImage_ValidateFromMemory(fif, memory.get());
    FreeImage_SeekMemory(memory.get(), 0, SEEK_SET);
    if ((!own && hasContentCheck(fif)) || !headerFits(fif, memory.get()))
        return result;
    FIBITMAP* loaded = FreeImage_LoadFromMemory(fif, memory.get(), 0);
    if (loaded != nullptr && loaded->data == nullptr) { // a plug-in gave up half-way
        FreeImage_Unload(loaded);
        loaded = nullptr;
    }
    Bitmap dib(loaded != nullptr ? toHeldDepth(loaded) : nullptr);
    if (!dib || !FreeImage_HasPixels(dib.get()))
        return result;

    const PixelFormat format = formatOf(dib.get());
    const std::uint32_t width = FreeImage_GetWidth(dib.get());
    const std::uint32_t height = FreeImage_GetHeight(dib.get());
    const std::uint64_t rowBytes = std::uint64_t{Pixels::GetNumElemBytes(format)} * width;
    if (rowBytes * height > detail::kMaxPixelBytes)
        return result;
    result.format = format;
    result.width = width;
    result.height = height;
    result.depth = 1;
    result.dpmX = FreeImage_GetDotsPerMeterX(dib.get());
    result.dpmY = FreeImage_GetDotsPerMeterY(dib.get());
    result.pixels.resize(static_cast<std::size_t>(rowBytes * height));
    const std::size_t copied =
        static_cast<std::size_t>(std::min<std::uint64_t>(rowBytes, FreeImage_GetPitch(dib.get())));
    for (std::uint32_t y = 0; y < height; ++y)
        std::memcpy(result.pixels.data() + y * rowBytes,
                    FreeImage_GetScanLine(dib.get(), static_cast<int>(y)), copied);
    return result;
}

std::unique_ptr<IStream> FreeImageCodec::Encode(const ImageData& image) {
    const auto fif = static_cast<FREE_IMAGE_FORMAT>(format_);
    const Target target = targetFor(fif, image.format);
    if (target.type == FIT_UNKNOWN)
        return streamOf(nullptr, 0);
    Bitmap dib = toBitmap(image, target);
    if (!dib)
        return streamOf(nullptr, 0);
    Memory memory;
    if (memory.get() == nullptr || !FreeImage_SaveToMemory(fif, dib.get(), memory.get(), 0))
        return streamOf(nullptr, 0); // a half-written file is no file
    BYTE* bytes = nullptr;
    DWORD size = 0;
    if (!FreeImage_AcquireMemory(memory.get(), &bytes, &size))
        return streamOf(nullptr, 0);
    return streamOf(bytes, size);
}

} // namespace Image
