#include "images.h"

#include "decode.h"

#include <cstring>

namespace pal::html {

namespace {

Image decode(const std::filesystem::path& file) {
    const Decoded pixels = decodeImage(file, maxImageSide);
    if (pixels.pixels.empty())
        return {};
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), pixels.width, -pixels.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap)
            DeleteObject(bitmap);
        return {};
    }
    std::memcpy(bits, pixels.pixels.data(), pixels.pixels.size() * sizeof(std::uint32_t));
    return {bitmap, pixels.width, pixels.height};
}

const Image kMissing{};

} // namespace

ImageCache::~ImageCache() {
    clear();
}

const Image& ImageCache::load(const std::wstring& url, const std::filesystem::path& file) {
    if (auto it = images_.find(url); it != images_.end())
        return it->second;
    return images_.emplace(url, file.empty() ? Image{} : decode(file)).first->second;
}

const Image& ImageCache::find(const std::wstring& url) const {
    auto it = images_.find(url);
    return it == images_.end() ? kMissing : it->second;
}

void ImageCache::clear() {
    for (auto& [url, image] : images_)
        if (image.bitmap)
            DeleteObject(image.bitmap);
    images_.clear();
}

} // namespace pal::html
