// Only the header is read before the pixels, so a file declaring an absurd size costs nothing.
#include "decode.h"

#include <FreeImage.h>

#include <fstream>
#include <iterator>

namespace pal::html {

namespace {

constexpr std::uintmax_t kMaxImageFile = 32u << 20;

Decoded toPixels(FIBITMAP* dib, int maxSide) {
    const int width = static_cast<int>(FreeImage_GetWidth(dib));
    const int height = static_cast<int>(FreeImage_GetHeight(dib));
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide)
        return {};
    FIBITMAP* b32 = FreeImage_ConvertTo32Bits(dib);
    if (!b32)
        return {};
    Decoded out{width, height, std::vector<std::uint32_t>(size_t(width) * height)};
    for (int y = 0; y < height; ++y) {
        const BYTE* row = FreeImage_GetScanLine(b32, height - 1 - y); // FreeImage rows go bottom-up
        for (int x = 0; x < width; ++x) {
            const BYTE* p = row + 4 * x;
            const std::uint32_t a = p[FI_RGBA_ALPHA];
            auto pre = [a](std::uint32_t c) { return (c * a + 127) / 255; };
            out.pixels[size_t(y) * width + x] =
                (a << 24) | (pre(p[FI_RGBA_RED]) << 16) | (pre(p[FI_RGBA_GREEN]) << 8) | pre(p[FI_RGBA_BLUE]);
        }
    }
    FreeImage_Unload(b32);
    return out;
}

} // namespace

Decoded decodeImage(const std::filesystem::path& file, int maxSide) {
    Decoded image;
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size == 0 || size > kMaxImageFile || !std::filesystem::is_regular_file(file, ec))
        return image;
    std::ifstream in(file, std::ios::binary);
    std::vector<BYTE> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.size() != size)
        return image;
    FIMEMORY* memory = FreeImage_OpenMemory(data.data(), static_cast<DWORD>(data.size()));
    if (!memory)
        return image;
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileTypeFromMemory(memory, 0);
    if (format == FIF_PNG || format == FIF_JPEG || format == FIF_GIF || format == FIF_BMP) {
        bool fits = false;
        if (FIBITMAP* header = FreeImage_LoadFromMemory(format, memory, FIF_LOAD_NOPIXELS)) {
            const unsigned w = FreeImage_GetWidth(header), h = FreeImage_GetHeight(header);
            fits = w > 0 && h > 0 && w <= unsigned(maxSide) && h <= unsigned(maxSide);
            FreeImage_Unload(header);
        }
        FreeImage_SeekMemory(memory, 0, SEEK_SET);
        if (fits) {
            if (FIBITMAP* dib = FreeImage_LoadFromMemory(format, memory, 0)) {
                image = toPixels(dib, maxSide);
                FreeImage_Unload(dib);
            }
        }
    }
    FreeImage_CloseMemory(memory);
    return image;
}

} // namespace pal::html
