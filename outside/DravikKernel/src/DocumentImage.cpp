#include "DravikKernel/DocumentImage.h"

#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/PageRender.h"

#include "pal/gdi.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstring>

const wchar_t* const g_szDocPV = L"Preview";
const wchar_t* const g_szDocIcon = L"Icon";

namespace Dravik {
namespace {

cairo_status_t appendPng(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

struct PngSource {
    const std::string& bytes;
    std::size_t pos = 0;
};

cairo_status_t readPng(void* closure, unsigned char* data, unsigned int length) {
    auto* source = static_cast<PngSource*>(closure);
    if (length > source->bytes.size() - source->pos)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, source->bytes.data() + source->pos, length);
    source->pos += length;
    return CAIRO_STATUS_SUCCESS;
}

// What is under this many pixels is a dot in a preview.
constexpr int kPreviewDotBelow = 6;

} // namespace

std::string MakePreviewPng(const DravikDocument2& document) {
    const DVDocument& content = *document.Cont2D();
    const Page& page = content.GetPages()[content.GetCurrentPage()];
    const double longer = std::max(page.width, page.height);
    const int w = std::max(1, static_cast<int>(std::lround(kPreviewSize * page.width / longer)));
    const int h = std::max(1, static_cast<int>(std::lround(kPreviewSize * page.height / longer)));

    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
    std::string png;
    if (dc && bitmap) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        const RECT all{0, 0, w, h};
        DrawPageDetailed(dc, content, -1, FitPage(page, all, 0), {}, kPreviewDotBelow);
        const pal::gdi::Surface surface = pal::gdi::surfaceOf(dc);
        cairo_surface_flush(surface.get());
        if (cairo_surface_write_to_png_stream(surface.get(), appendPng, &png) != CAIRO_STATUS_SUCCESS)
            png.clear();
        SelectObject(dc, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (dc)
        DeleteDC(dc);
    return png;
}

std::string MakeIconPng(const DravikDocument2& document) {
    const DVDocument& content = *document.Cont2D();
    const Page& page = content.GetPages()[content.GetCurrentPage()];
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, kIconSize, kIconSize);
    std::string png;
    if (dc && bitmap) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        // A band along the bottom tells the kinds apart at a glance: blue for drawings and
        // other 2D documents, orange for models.
        const RECT all{0, 0, kIconSize, kIconSize};
        const int band = kIconSize / 6;
        HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
        FillRect(dc, &all, white);
        DeleteObject(white);
        const RECT sheet{1, 1, kIconSize - 1, kIconSize - band - 1};
        DrawPageDetailed(dc, content, -1, FitPage(page, sheet, 1), {}, kPreviewDotBelow);
        const RECT strip{0, kIconSize - band, kIconSize, kIconSize};
        HBRUSH kind = CreateSolidBrush(document.Is2D() ? RGB(40, 90, 200) : RGB(230, 130, 30));
        FillRect(dc, &strip, kind);
        DeleteObject(kind);
        const pal::gdi::Surface surface = pal::gdi::surfaceOf(dc);
        cairo_surface_flush(surface.get());
        if (cairo_surface_write_to_png_stream(surface.get(), appendPng, &png) != CAIRO_STATUS_SUCCESS)
            png.clear();
        SelectObject(dc, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (dc)
        DeleteDC(dc);
    return png;
}

} // namespace Dravik

CDravikImage* DvwLoadDVDocImage(const wchar_t* path, const wchar_t* name) {
    if (!path || !name)
        return nullptr;
    auto document = Dravik::grb::LoadFile(path, nullptr);
    const std::string* png = document ? document->GetPicture(name) : nullptr;
    if (!png)
        return nullptr;
    Dravik::PngSource source{*png};
    cairo_surface_t* image = cairo_image_surface_create_from_png_stream(Dravik::readPng, &source);
    HBITMAP bitmap = nullptr;
    if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) {
        const int w = cairo_image_surface_get_width(image), h = cairo_image_surface_get_height(image);
        if (pal::gdi::Surface::fitsSurface(w, h)) {
            HDC dc = CreateCompatibleDC(nullptr);
            bitmap = CreateCompatibleBitmap(dc, w, h);
            DeleteDC(dc);
        }
        if (bitmap) {
            const pal::gdi::Surface target = pal::gdi::surfaceOf(bitmap);
            cairo_t* cr = cairo_create(target.get());
            cairo_set_source_surface(cr, image, 0, 0);
            cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
            cairo_paint(cr);
            cairo_destroy(cr);
            cairo_surface_mark_dirty(target.get());
        }
    }
    cairo_surface_destroy(image);
    return bitmap ? new CDravikImage(bitmap) : nullptr;
}

CDravikImage::CDravikImage(HBITMAP bitmap) : bitmap_(bitmap) {
    if (bitmap_) {
        const pal::gdi::Surface surface = pal::gdi::surfaceOf(bitmap_);
        width_ = surface.width();
        height_ = surface.height();
    }
}

CDravikImage::~CDravikImage() {
    if (bitmap_)
        DeleteObject(bitmap_);
}

void CDravikImage::Draw(HDC dc, const RECT& rect, int mode, int, int, COLORREF background) const {
    if (!dc || !bitmap_ || width_ <= 0 || height_ <= 0)
        return;
    if (background != CLR_INVALID) {
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    }
    const int rw = rect.right - rect.left, rh = rect.bottom - rect.top;
    int x = rect.left, y = rect.top, w = width_, h = height_;
    switch (mode) {
    case DrawStretch:
        w = rw;
        h = rh;
        break;
    case DrawCentered:
        x += (rw - w) / 2;
        y += (rh - h) / 2;
        break;
    case DrawFit: {
        const double scale = std::min(double(rw) / width_, double(rh) / height_);
        w = std::max(1, static_cast<int>(std::lround(width_ * scale)));
        h = std::max(1, static_cast<int>(std::lround(height_ * scale)));
        x += (rw - w) / 2;
        y += (rh - h) / 2;
        break;
    }
    default: // DrawActualSize
        break;
    }
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap_);
    const int oldMode = SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, x, y, w, h, source, 0, 0, width_, height_, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
    SelectObject(source, old);
    DeleteDC(source);
}

HBITMAP CDravikImage::CreateBitmap(HDC dc, int width, int height) const {
    if (width < 1 || height < 1)
        return nullptr;
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP made = CreateCompatibleBitmap(memory, width, height);
    if (made) {
        HGDIOBJ old = SelectObject(memory, made);
        Draw(memory, RECT{0, 0, width, height}, DrawFit, 0, 0, RGB(255, 255, 255));
        SelectObject(memory, old);
    }
    DeleteDC(memory);
    return made;
}
