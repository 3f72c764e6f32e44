#include "IconPixels.h"

#include "win/gdi.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace dv::toolkit {

using pal::gdi::Surface;

Surface iconPixels(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !::GetIconInfo(icon, &info))
        return {};
    Surface out;
    if (const Surface colour = pal::gdi::surfaceOf(info.hbmColor)) {
        out = Surface::create(colour.width(), colour.height(), true);
        if (out) {
            cairo_t* cr = cairo_create(out.get());
            cairo_set_source_surface(cr, colour.get(), 0, 0);
            cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
            cairo_paint(cr);
            cairo_destroy(cr);
        }
    }
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return out;
}

HICON iconFromPixels(const Surface& pixels) {
    if (!pixels)
        return nullptr;
    const int w = pixels.width(), h = pixels.height();
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP colour = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (colour == nullptr)
        return nullptr;
    cairo_surface_flush(pixels.get());
    const unsigned char* from = cairo_image_surface_get_data(pixels.get());
    const int stride = cairo_image_surface_get_stride(pixels.get());
    const bool alpha = pixels.hasAlpha();
    for (int y = 0; y < h; ++y) {
        auto* row = static_cast<std::uint32_t*>(bits) + static_cast<size_t>(y) * w;
        std::memcpy(row, from + static_cast<size_t>(y) * stride, static_cast<size_t>(w) * 4);
        if (!alpha) {
            for (int x = 0; x < w; ++x)
                row[x] |= 0xFF000000u;
        }
    }
    // A picture with no visible pixel still needs a mask that says so.
    const std::vector<BYTE> ones(static_cast<size_t>((w + 15) / 16 * 2) * h, 0xFF);
    HBITMAP mask = ::CreateBitmap(w, h, 1, 1, ones.data());
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(colour);
    ::DeleteObject(mask);
    return icon;
}

Surface scaled(const Surface& from, int width, int height) {
    if (!from)
        return {};
    Surface out = Surface::create(width, height, true);
    if (!out)
        return {};
    cairo_t* cr = cairo_create(out.get());
    cairo_scale(cr, double(width) / from.width(), double(height) / from.height());
    cairo_set_source_surface(cr, from.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_destroy(cr);
    return out;
}

Surface greyed(const Surface& from) {
    if (!from)
        return {};
    Surface out = scaled(from, from.width(), from.height());
    if (!out)
        return {};
    cairo_surface_flush(out.get());
    unsigned char* data = cairo_image_surface_get_data(out.get());
    const int stride = cairo_image_surface_get_stride(out.get());
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < out.width(); ++x) {
            const std::uint32_t p = row[x];
            const std::uint32_t a = p >> 24;
            const std::uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            // Luminance lifted towards light grey, at half the opacity.
            const std::uint32_t lum = (r * 30 + g * 59 + b * 11) / 100;
            const std::uint32_t na = a / 2;
            const std::uint32_t grey = a ? ((lum + (a - lum) / 2) * na / a) : 0;
            row[x] = (na << 24) | (grey << 16) | (grey << 8) | grey;
        }
    }
    cairo_surface_mark_dirty(out.get());
    return out;
}

} // namespace dv::toolkit
