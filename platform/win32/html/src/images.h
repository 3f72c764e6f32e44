// Images for pages: decoded from local files through FreeImage into 32-bit DIB sections that
// AlphaBlend draws, kept per URL for the life of the page engine.
#pragma once

#include "win/gdi.h"

#include <filesystem>
#include <map>
#include <string>

namespace pal::html {

struct Image {
    HBITMAP bitmap = nullptr; // null: the image is missing or could not be decoded
    int width = 0, height = 0;
};

class ImageCache {
public:
    ImageCache() = default;
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;
    ~ImageCache();

    // Decodes the file once; a missing or broken file is remembered as missing.
    const Image& load(const std::wstring& url, const std::filesystem::path& file);
    // The image of a URL loaded before; a missing one when it never was.
    const Image& find(const std::wstring& url) const;
    void clear();

private:
    std::map<std::wstring, Image> images_;
};

// The largest side of an image a page may show; a larger one counts as missing.
inline constexpr int maxImageSide = 8192;

} // namespace pal::html
