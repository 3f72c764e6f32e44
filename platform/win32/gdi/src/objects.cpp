// Creating, selecting and deleting drawing objects; the stock objects; pixel surfaces.
#include "dc.h"
#include "dib.h"
#include "font.h"
#include "paint.h"

#include "win/error.h"

#include <array>
#include <cstring>

namespace pal::gdi {

Surface::Surface(const Surface& other)
    : surface_(other.surface_ ? cairo_surface_reference(other.surface_) : nullptr) {}

Surface& Surface::operator=(const Surface& other) {
    if (this != &other) {
        Surface copy(other);
        std::swap(surface_, copy.surface_);
    }
    return *this;
}

Surface& Surface::operator=(Surface&& other) noexcept {
    std::swap(surface_, other.surface_);
    return *this;
}

Surface::~Surface() {
    if (surface_)
        cairo_surface_destroy(surface_);
}

bool Surface::fitsSurface(LONGLONG width, LONGLONG height) {
    return width > 0 && height > 0 && width <= 32767 && height <= 32767 &&
           width * height <= (LONGLONG{1} << 26);
}

Surface Surface::create(int width, int height, bool alpha) {
    if (!fitsSurface(width, height))
        return Surface();
    cairo_surface_t* s =
        cairo_image_surface_create(alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return Surface();
    }
    // New image surfaces are zeroed: black for RGB, transparent for ARGB.
    return Surface(s);
}

int Surface::width() const {
    return surface_ ? cairo_image_surface_get_width(surface_) : 0;
}
int Surface::height() const {
    return surface_ ? cairo_image_surface_get_height(surface_) : 0;
}
bool Surface::hasAlpha() const {
    return surface_ && cairo_image_surface_get_format(surface_) == CAIRO_FORMAT_ARGB32;
}

COLORREF Surface::pixel(int x, int y) const {
    if (!surface_ || x < 0 || y < 0 || x >= width() || y >= height())
        return CLR_INVALID;
    cairo_surface_flush(surface_);
    const unsigned char* row =
        cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    std::uint32_t v;
    std::memcpy(&v, row + 4 * x, 4);
    return RGB(static_cast<BYTE>(v >> 16), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v));
}

bool Surface::savePng(const std::filesystem::path& path) const {
    return surface_ && cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void setSourceColor(cairo_t* cr, COLORREF c) {
    cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
}

namespace {

std::shared_ptr<Pen> makePen(int style, int width, COLORREF color) {
    auto pen = std::make_shared<Pen>();
    pen->style = style;
    pen->width = width < 1 ? 1 : width;
    pen->color = color & 0xFFFFFF;
    return pen;
}

std::shared_ptr<Brush> makeBrush(UINT style, COLORREF color, int hatch = 0) {
    auto brush = std::make_shared<Brush>();
    brush->style = style;
    brush->color = color & 0xFFFFFF;
    brush->hatch = hatch;
    return brush;
}

std::shared_ptr<Object> makeStock(int index) {
    std::shared_ptr<Object> o;
    switch (index) {
    case -1: { // the 1x1 bitmap a memory DC starts with
        auto b = std::make_shared<Bitmap>();
        b->surface = Surface::create(1, 1);
        b->bitsPixel = 1;
        o = b;
        break;
    }
    case WHITE_BRUSH:
        o = makeBrush(BS_SOLID, RGB(255, 255, 255));
        break;
    case LTGRAY_BRUSH:
        o = makeBrush(BS_SOLID, RGB(192, 192, 192));
        break;
    case GRAY_BRUSH:
        o = makeBrush(BS_SOLID, RGB(128, 128, 128));
        break;
    case DKGRAY_BRUSH:
        o = makeBrush(BS_SOLID, RGB(64, 64, 64));
        break;
    case BLACK_BRUSH:
        o = makeBrush(BS_SOLID, 0);
        break;
    case NULL_BRUSH:
        o = makeBrush(BS_NULL, 0);
        break;
    case WHITE_PEN:
        o = makePen(PS_SOLID, 1, RGB(255, 255, 255));
        break;
    case BLACK_PEN:
        o = makePen(PS_SOLID, 1, 0);
        break;
    case NULL_PEN:
        o = makePen(PS_NULL, 1, 0);
        break;
    case DC_BRUSH: {
        auto b = makeBrush(BS_SOLID, RGB(255, 255, 255));
        b->dcBrush = true;
        o = b;
        break;
    }
    case DC_PEN: {
        auto p = makePen(PS_SOLID, 1, 0);
        p->dcPen = true;
        o = p;
        break;
    }
    default:
        o = makeStockFont(index);
        if (!o)
            return nullptr;
    }
    o->stock = true;
    table::insert(o);
    return o;
}

constexpr int kStockCount = DC_PEN + 2; // index 0 holds the default bitmap (-1)

} // namespace

std::shared_ptr<Object> stockObject(int index) {
    if (index < -1 || index > DC_PEN)
        return nullptr;
    static std::array<std::shared_ptr<Object>, kStockCount>* stock = [] {
        auto* all = new std::array<std::shared_ptr<Object>, kStockCount>;
        for (int i = -1; i <= DC_PEN; ++i)
            (*all)[i + 1] = makeStock(i);
        return all;
    }();
    return (*stock)[index + 1];
}

} // namespace pal::gdi

using namespace pal::gdi;

HGDIOBJ GetStockObject(int index) {
    if (index < 0)
        return nullptr;
    auto o = stockObject(index);
    return o ? o->handle : nullptr;
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if ((style & PS_STYLE_MASK) > PS_INSIDEFRAME) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return static_cast<HPEN>(table::insert(makePen(style & PS_STYLE_MASK, width, color)));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
    if (!pen) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    return static_cast<HBRUSH>(table::insert(makeBrush(BS_SOLID, color)));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return static_cast<HBRUSH>(table::insert(makeBrush(BS_HATCHED, color, hatch)));
}

HBRUSH CreatePatternBrush(HBITMAP handle) {
    auto bitmap = table::getAs<Bitmap>(handle);
    if (!bitmap)
        return nullptr;
    // The brush keeps its own copy: the bitmap may be changed or deleted afterwards.
    const Surface& from = bitmap->surface;
    Surface copy = Surface::create(from.width(), from.height(), from.hasAlpha());
    if (!copy)
        return nullptr;
    cairo_t* cr = cairo_create(copy.get());
    cairo_set_source_surface(cr, from.get(), 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    auto brush = makeBrush(BS_PATTERN, 0);
    brush->pattern = std::move(copy);
    return static_cast<HBRUSH>(table::insert(brush));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
    if (!brush) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    switch (brush->lbStyle) {
    case BS_SOLID:
        return CreateSolidBrush(brush->lbColor);
    case BS_NULL:
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_HATCHED:
        return CreateHatchBrush(static_cast<int>(brush->lbHatch), brush->lbColor);
    case BS_PATTERN:
        return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 32) || !Surface::fitsSurface(width, height)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // 32-bit pixels that carry alpha keep it, premultiplied as AlphaBlend and layered windows
    // read it; pixels whose alpha bytes are all zero are plain colours.
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    bool alpha = false;
    if (pixels && bitsPerPixel == 32) {
        for (size_t i = 0, n = size_t(width) * height; i < n && !alpha; ++i)
            alpha = (pixels[i] >> 24) != 0;
    }
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->surface = Surface::create(width, height, alpha);
    if (!bitmap->surface) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    bitmap->bitsPixel = static_cast<int>(bitsPerPixel);
    if (pixels && bitsPerPixel == 32) {
        Pixels px(bitmap->surface);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                std::uint32_t v = pixels[size_t(y) * width + x];
                if (alpha) {
                    // A colour brighter than its alpha cannot be premultiplied; it is held to it.
                    const std::uint32_t a = v >> 24;
                    v = (a << 24) | (std::min(a, (v >> 16) & 0xFF) << 16) |
                        (std::min(a, (v >> 8) & 0xFF) << 8) | std::min(a, v & 0xFF);
                }
                px.at(x, y) = v;
            }
        }
    } else if (bitsPerPixel == 1) {
        // A monochrome bitmap starts black, as the platform's does; `bits` of one bit a pixel
        // are read row by row, each row padded to 16 bits.
        if (bits) {
            cairo_surface_t* s = bitmap->surface.get();
            cairo_surface_flush(s);
            unsigned char* data = cairo_image_surface_get_data(s);
            const int stride = cairo_image_surface_get_stride(s);
            const int rowBytes = ((width + 15) / 16) * 2;
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const BYTE byte = static_cast<const BYTE*>(bits)[y * rowBytes + x / 8];
                    const std::uint32_t v = (byte >> (7 - x % 8)) & 1 ? 0xFFFFFF : 0;
                    std::memcpy(data + y * stride + 4 * x, &v, 4);
                }
            }
            cairo_surface_mark_dirty(s);
        }
    }
    return static_cast<HBITMAP>(table::insert(bitmap));
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    if (!dcOf(dc))
        return nullptr;
    if (width == 0 || height == 0)
        width = height = 1; // the platform answers a 1x1 bitmap for an empty size
    return CreateBitmap(width, height, 1, 32, nullptr);
}

BOOL GetBitmapDimensionEx(HBITMAP handle, LPSIZE size) {
    auto bitmap = table::getAs<Bitmap>(handle);
    if (!bitmap || !size)
        return FALSE;
    *size = bitmap->dimension;
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ handle) {
    auto o = table::get(handle);
    return o ? o->type() : 0;
}

int GetObjectW(HGDIOBJ handle, int size, LPVOID buffer) {
    auto o = table::get(handle);
    if (!o)
        return 0;
    auto answer = [&](const auto& value) -> int {
        if (!buffer)
            return static_cast<int>(sizeof(value));
        if (size < static_cast<int>(sizeof(value)))
            return 0;
        std::memcpy(buffer, &value, sizeof(value));
        return static_cast<int>(sizeof(value));
    };
    if (auto pen = std::dynamic_pointer_cast<Pen>(o))
        return answer(LOGPEN{static_cast<UINT>(pen->style), POINT{pen->width, 0}, pen->color});
    if (auto brush = std::dynamic_pointer_cast<Brush>(o))
        return answer(LOGBRUSH{brush->style, brush->color, static_cast<ULONG_PTR>(brush->hatch)});
    if (auto font = std::dynamic_pointer_cast<Font>(o))
        return answer(font->log);
    if (auto dib = std::dynamic_pointer_cast<DibSection>(o)) {
        BITMAP bm{0,
                  dib->header.biWidth,
                  std::abs(dib->header.biHeight),
                  static_cast<LONG>(dib->stride),
                  1,
                  static_cast<WORD>(dib->bitsPixel),
                  dib->memory};
        if (buffer && size >= static_cast<int>(sizeof(DIBSECTION))) {
            DIBSECTION ds{};
            ds.dsBm = bm;
            ds.dsBmih = dib->header;
            return answer(ds);
        }
        return answer(bm);
    }
    if (auto bitmap = std::dynamic_pointer_cast<Bitmap>(o)) {
        const Surface& s = bitmap->surface;
        const LONG widthBytes = bitmap->bitsPixel == 1 ? ((s.width() + 15) / 16) * 2 : s.width() * 4;
        return answer(
            BITMAP{0, s.width(), s.height(), widthBytes, 1, static_cast<WORD>(bitmap->bitsPixel), nullptr});
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
    auto dc = dcOf(handle);
    if (!dc)
        return nullptr;
    auto o = table::get(object);
    if (!o)
        return nullptr;
    if (auto region = std::dynamic_pointer_cast<RegionObject>(o)) {
        const int kind = SelectClipRgn(handle, static_cast<HRGN>(object));
        return kind == ERROR ? HGDI_ERROR : reinterpret_cast<HGDIOBJ>(static_cast<LONG_PTR>(kind));
    }
    std::shared_ptr<Object> previous;
    {
        std::lock_guard lock(table::mutex());
        switch (o->type()) {
        case OBJ_PEN:
        case OBJ_BRUSH:
        case OBJ_FONT:
            break;
        case OBJ_BITMAP: {
            // A bitmap lives in one memory DC at a time, and never in a window's DC.
            auto bitmap = std::static_pointer_cast<Bitmap>(o);
            if (!dc->memory() || (bitmap->selectedInto && bitmap->selectedInto != dc.get())) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return nullptr;
            }
            if (dc->state().bitmap && !dc->state().bitmap->stock)
                dc->state().bitmap->selectedInto = nullptr;
            // A section that keeps its memory apart hands its pixels over as it changes DCs.
            if (auto leaving = std::dynamic_pointer_cast<DibSection>(dc->state().bitmap))
                leaving->pixelsToMemory();
            if (auto entering = std::dynamic_pointer_cast<DibSection>(bitmap))
                entering->memoryToPixels();
            if (!bitmap->stock)
                bitmap->selectedInto = dc.get();
            break;
        }
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        DeviceContext::select(dc->state(), o, previous);
    }
    if (o->type() == OBJ_BITMAP)
        dc->changed();
    return previous ? previous->handle : nullptr;
}

HGDIOBJ GetCurrentObject(HDC handle, UINT type) {
    auto dc = dcOf(handle);
    if (!dc)
        return nullptr;
    const DcState& s = dc->state();
    Object* o = type == OBJ_PEN      ? static_cast<Object*>(s.pen.get())
                : type == OBJ_BRUSH  ? static_cast<Object*>(s.brush.get())
                : type == OBJ_FONT   ? s.font.get()
                : type == OBJ_BITMAP ? static_cast<Object*>(s.bitmap.get())
                                     : nullptr;
    return o ? o->handle : nullptr;
}

BOOL DeleteObject(HGDIOBJ handle) {
    auto o = table::get(handle);
    // Device contexts and icons have their own ways out (DeleteDC, DestroyIcon).
    if (!o || o->type() == OBJ_DC || o->type() == OBJ_MEMDC || o->type() == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (o->stock)
        return TRUE;
    return table::remove(handle, true) ? TRUE : FALSE;
}
