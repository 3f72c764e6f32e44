// Decoding .ico, .bmp and .png files through FreeImage. The files' directories and sizes are
// checked against the file's length first, so a truncated file is refused rather than read
// as an image with missing rows, and the sizes the headers declare are checked before any
// pixels are allocated.
#include "imagefile.h"

#include <FreeImage.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace pal::gdi {

namespace {

constexpr std::uintmax_t kMaxFile = 64u << 20;

template <class T> T read(const std::vector<BYTE>& d, size_t at) {
    T v{};
    if (at + sizeof(T) <= d.size())
        std::memcpy(&v, d.data() + at, sizeof(T));
    return v;
}

std::uint32_t bigEndian(const std::vector<BYTE>& d, size_t at) {
    if (at + 4 > d.size())
        return 0;
    return (std::uint32_t(d[at]) << 24) | (std::uint32_t(d[at + 1]) << 16) | (std::uint32_t(d[at + 2]) << 8) |
           d[at + 3];
}

// Whether the image stored at `at` (a PNG stream, a BMP file, or an icon frame's DIB whose
// height counts the mask too) declares a size within `maxSide`.
bool declaredSizeFits(const std::vector<BYTE>& d, size_t at, int maxSide, bool iconFrame) {
    static constexpr BYTE kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    long long w, h;
    if (at + 24 <= d.size() && std::memcmp(d.data() + at, kPng, 8) == 0) {
        w = bigEndian(d, at + 16);
        h = bigEndian(d, at + 20);
    } else {
        const size_t info = iconFrame ? at : at + 14;
        if (read<std::uint32_t>(d, info) == 12) { // the oldest header has 16-bit sides
            w = read<std::uint16_t>(d, info + 4);
            h = read<std::uint16_t>(d, info + 6);
        } else {
            w = read<std::int32_t>(d, info + 4);
            h = read<std::int32_t>(d, info + 8);
        }
        h = h < 0 ? -h : h;
        if (iconFrame)
            h /= 2;
    }
    return w > 0 && h > 0 && w <= maxSide && h <= maxSide;
}

bool bmpComplete(const std::vector<BYTE>& d) {
    if (d.size() < 14 + 16)
        return false;
    const std::uint32_t offBits = read<std::uint32_t>(d, 10);
    const std::uint32_t headerSize = read<std::uint32_t>(d, 14);
    if (headerSize < 12 || 14 + size_t(headerSize) > d.size() || offBits > d.size())
        return false;
    if (headerSize == 12)
        return true; // the oldest header; FreeImage checks the rest
    const std::int32_t width = read<std::int32_t>(d, 18);
    const std::int32_t height = read<std::int32_t>(d, 22);
    const std::uint16_t bits = read<std::uint16_t>(d, 28);
    const std::uint32_t compression = read<std::uint32_t>(d, 30);
    if (width <= 0 || height == 0 || height == INT32_MIN || bits == 0)
        return false;
    if (compression != 0 && compression != 3)
        return true;
    const std::uint64_t stride = ((std::uint64_t(width) * bits + 31) / 32) * 4;
    return offBits + stride * std::uint64_t(height < 0 ? -std::int64_t(height) : height) <= d.size();
}

bool icoComplete(const std::vector<BYTE>& d) {
    if (d.size() < 6 || read<std::uint16_t>(d, 0) != 0 || read<std::uint16_t>(d, 2) != 1)
        return false;
    const size_t count = read<std::uint16_t>(d, 4);
    if (count == 0 || 6 + 16 * count > d.size())
        return false;
    for (size_t i = 0; i < count; ++i) {
        const std::uint64_t bytes = read<std::uint32_t>(d, 6 + 16 * i + 8);
        const std::uint64_t offset = read<std::uint32_t>(d, 6 + 16 * i + 12);
        if (bytes == 0 || offset + bytes > d.size())
            return false;
    }
    return true;
}

DecodedImage toImage(FIBITMAP* dib, int maxSide) {
    if (!dib)
        return {};
    const int w = static_cast<int>(FreeImage_GetWidth(dib));
    const int h = static_cast<int>(FreeImage_GetHeight(dib));
    if (w <= 0 || h <= 0 || w > maxSide || h > maxSide)
        return {};
    FIBITMAP* b32 = FreeImage_ConvertTo32Bits(dib);
    if (!b32)
        return {};
    DecodedImage s{w, h, std::vector<std::uint32_t>(size_t(w) * h)};
    {
        for (int y = 0; y < h; ++y) {
            const BYTE* row = FreeImage_GetScanLine(b32, h - 1 - y); // FreeImage rows go bottom-up
            for (int x = 0; x < w; ++x) {
                const BYTE* p = row + 4 * x;
                const std::uint32_t a = p[FI_RGBA_ALPHA];
                auto pre = [a](std::uint32_t c) { return (c * a + 127) / 255; };
                s.pixels[size_t(y) * w + x] = (a << 24) | (pre(p[FI_RGBA_RED]) << 16) |
                                              (pre(p[FI_RGBA_GREEN]) << 8) | pre(p[FI_RGBA_BLUE]);
            }
        }
    }
    FreeImage_Unload(b32);
    return s;
}

} // namespace

std::vector<DecodedImage> decodeImages(const std::filesystem::path& native, int maxSide) {
    std::vector<DecodedImage> frames;
    std::error_code ec;
    const auto size = std::filesystem::file_size(native, ec);
    if (ec || size == 0 || size > kMaxFile)
        return frames;
    std::ifstream in(native, std::ios::binary);
    std::vector<BYTE> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.size() != size)
        return frames;
    FIMEMORY* memory = FreeImage_OpenMemory(data.data(), static_cast<DWORD>(data.size()));
    if (!memory)
        return frames;
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileTypeFromMemory(memory, 0);
    bool fits = format == FIF_ICO ? icoComplete(data) : declaredSizeFits(data, 0, maxSide, false);
    for (size_t i = 0; format == FIF_ICO && fits && i < read<std::uint16_t>(data, 4); ++i)
        fits = declaredSizeFits(data, read<std::uint32_t>(data, 6 + 16 * i + 12), maxSide, true);
    if (!fits) {
        // Nothing to decode.
    } else if (format == FIF_ICO) {
        if (FIMULTIBITMAP* multi = FreeImage_LoadMultiBitmapFromMemory(FIF_ICO, memory, ICO_MAKEALPHA)) {
            const int pages = FreeImage_GetPageCount(multi);
            for (int i = 0; i < pages; ++i) {
                FIBITMAP* page = FreeImage_LockPage(multi, i);
                DecodedImage s = toImage(page, maxSide);
                if (page)
                    FreeImage_UnlockPage(multi, page, FALSE);
                if (s.pixels.empty()) {
                    frames.clear(); // one broken frame spoils the file
                    break;
                }
                frames.push_back(std::move(s));
            }
            FreeImage_CloseMultiBitmap(multi, 0);
        }
    } else if ((format == FIF_BMP && bmpComplete(data)) || format == FIF_PNG) {
        FIBITMAP* dib = FreeImage_LoadFromMemory(format, memory, 0);
        if (DecodedImage s = toImage(dib, maxSide); !s.pixels.empty())
            frames.push_back(std::move(s));
        if (dib)
            FreeImage_Unload(dib);
    }
    FreeImage_CloseMemory(memory);
    return frames;
}

} // namespace pal::gdi
