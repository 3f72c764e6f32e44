// DIB sections and the copying of pixels between bitmaps and DIB memory.
#include "dib.h"

#include "dc.h"
#include "paint.h"

#include "win/error.h"

#include <cstring>
#include <mutex>
#include <set>

namespace pal::gdi {

namespace {

cairo_user_data_key_t memoryKey;

void freeMemory(void* p) {
    delete[] static_cast<BYTE*>(p);
}

// The sections whose memory is kept apart from their pixels.
std::mutex& separateMutex() {
    static std::mutex m;
    return m;
}
std::set<DibSection*>& separateSections() {
    static std::set<DibSection*> all;
    return all;
}

struct Format {
    int bits = 0;
    bool topDown = false;
    LONG width = 0, height = 0;
    size_t stride = 0;
};

// The 32- and 24-bit layouts this layer reads and writes; false for anything else.
bool readFormat(const BITMAPINFO* info, Format& f) {
    if (!info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
        return false;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biPlanes != 1 || (h.biBitCount != 32 && h.biBitCount != 24))
        return false;
    if (h.biCompression == BI_BITFIELDS) {
        const auto* masks = reinterpret_cast<const DWORD*>(info->bmiColors);
        if (h.biBitCount != 32 || masks[0] != 0xFF0000 || masks[1] != 0xFF00 || masks[2] != 0xFF)
            return false;
    } else if (h.biCompression != BI_RGB) {
        return false;
    }
    if (!Surface::fitsSurface(h.biWidth, h.biHeight < 0 ? -(LONGLONG)h.biHeight : h.biHeight))
        return false;
    f.bits = h.biBitCount;
    f.topDown = h.biHeight < 0;
    f.width = h.biWidth;
    f.height = f.topDown ? -h.biHeight : h.biHeight;
    f.stride = ((size_t(f.width) * f.bits + 31) / 32) * 4;
    return true;
}

// The image row a DIB row lands on.
int imageRow(const Format& f, int dibRow) {
    return f.topDown ? dibRow : f.height - 1 - dibRow;
}

void rowToPixels(const Format& f, const BYTE* from, std::uint32_t* to, int count, bool keepAlpha) {
    for (int x = 0; x < count; ++x) {
        if (f.bits == 32) {
            std::uint32_t v;
            std::memcpy(&v, from + 4 * x, 4);
            to[x] = keepAlpha ? v : (0xFF000000 | v);
        } else {
            const BYTE* p = from + 3 * x;
            to[x] = 0xFF000000 | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
        }
    }
}

void pixelsToRow(const Format& f, const std::uint32_t* from, BYTE* to, int count, bool keepAlpha) {
    for (int x = 0; x < count; ++x) {
        if (f.bits == 32) {
            const std::uint32_t v = keepAlpha ? from[x] : (from[x] & 0xFFFFFF);
            std::memcpy(to + 4 * x, &v, 4);
        } else {
            BYTE* p = to + 3 * x;
            p[0] = BYTE(from[x]);
            p[1] = BYTE(from[x] >> 8);
            p[2] = BYTE(from[x] >> 16);
        }
    }
}

Format formatOf(const DibSection& d) {
    Format f;
    f.bits = d.header.biBitCount;
    f.topDown = d.header.biHeight < 0;
    f.width = d.header.biWidth;
    f.height = f.topDown ? -d.header.biHeight : d.header.biHeight;
    f.stride = d.stride;
    return f;
}

} // namespace

DibSection::~DibSection() {
    std::lock_guard lock(separateMutex());
    separateSections().erase(this);
}

void DibSection::memoryToPixels() {
    if (!separate())
        return;
    const Format f = formatOf(*this);
    Pixels px(surface);
    for (int r = 0; r < f.height; ++r)
        rowToPixels(f, memory + size_t(r) * f.stride, &px.at(0, imageRow(f, r)), f.width, false);
}

void DibSection::pixelsToMemory() {
    if (!separate())
        return;
    const Format f = formatOf(*this);
    Pixels px(surface);
    for (int r = 0; r < f.height; ++r)
        pixelsToRow(f, &px.at(0, imageRow(f, r)), memory + size_t(r) * f.stride, f.width, false);
}

} // namespace pal::gdi

using namespace pal::gdi;

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD) {
    Format f;
    if (bits)
        *bits = nullptr;
    if (usage > DIB_PAL_COLORS || section || !readFormat(info, f)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto dib = std::make_shared<DibSection>();
    dib->header = info->bmiHeader;
    dib->header.biSize = sizeof(BITMAPINFOHEADER);
    dib->header.biSizeImage = static_cast<DWORD>(f.stride * f.height);
    dib->stride = f.stride;
    dib->bitsPixel = f.bits;
    BYTE* memory = new (std::nothrow) BYTE[f.stride * f.height]();
    if (!memory) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    dib->memory = memory;
    cairo_surface_t* s;
    if (f.bits == 32) {
        // The surface reads the memory in place; a bottom-up DIB is walked with a negative stride.
        BYTE* first = f.topDown ? memory : memory + (size_t(f.height) - 1) * f.stride;
        const int stride = f.topDown ? static_cast<int>(f.stride) : -static_cast<int>(f.stride);
        s = cairo_image_surface_create_for_data(first, CAIRO_FORMAT_ARGB32, f.width, f.height, stride);
    } else {
        s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, f.width, f.height);
    }
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_set_user_data(s, &memoryKey, memory, freeMemory) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        delete[] memory;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    dib->surface = Surface(s);
    if (dib->separate()) {
        dib->memoryToPixels();
        std::lock_guard lock(separateMutex());
        separateSections().insert(dib.get());
    }
    HGDIOBJ handle = table::insert(dib);
    if (handle && bits)
        *bits = memory;
    return static_cast<HBITMAP>(handle);
}

BOOL GdiFlush() {
    std::lock_guard lock(separateMutex());
    for (DibSection* d : separateSections())
        d->pixelsToMemory();
    return TRUE;
}

int GetDIBits(HDC dc, HBITMAP handle, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT usage) {
    auto bitmap = table::getAs<Bitmap>(handle);
    if (!bitmap || !dcOf(dc) || !info || usage > DIB_PAL_COLORS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const Surface& s = bitmap->surface;
    if (!bits) {
        BITMAPINFOHEADER& h = info->bmiHeader;
        if (h.biSize < sizeof(BITMAPINFOHEADER))
            return 0;
        h.biWidth = s.width();
        h.biHeight = s.height();
        h.biPlanes = 1;
        if (h.biBitCount != 24)
            h.biBitCount = 32;
        h.biCompression = BI_RGB;
        h.biSizeImage = static_cast<DWORD>(((size_t(s.width()) * h.biBitCount + 31) / 32) * 4 * s.height());
        h.biClrUsed = h.biClrImportant = 0;
        return s.height();
    }
    Format f;
    if (!readFormat(info, f) || f.width != s.width()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    f.height = std::min<LONG>(f.height, s.height());
    if (auto dib = std::dynamic_pointer_cast<DibSection>(bitmap))
        dib->pixelsToMemory();
    const bool alpha = s.hasAlpha();
    Pixels px(s);
    int copied = 0;
    for (UINT r = start; r < start + lines && r < UINT(f.height); ++r, ++copied)
        pixelsToRow(f, &px.at(0, imageRow(f, int(r))),
                    static_cast<BYTE*>(bits) + size_t(r - start) * f.stride, f.width, alpha);
    return copied;
}

int SetDIBits(HDC, HBITMAP handle, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage) {
    auto bitmap = table::getAs<Bitmap>(handle);
    Format f;
    if (!bitmap || !bits || usage > DIB_PAL_COLORS || !readFormat(info, f) ||
        f.width != bitmap->surface.width()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const Surface& s = bitmap->surface;
    f.height = std::min<LONG>(f.height, s.height());
    const bool alpha = s.hasAlpha();
    int copied = 0;
    {
        Pixels px(s);
        for (UINT r = start; r < start + lines && r < UINT(f.height); ++r, ++copied)
            rowToPixels(f, static_cast<const BYTE*>(bits) + size_t(r - start) * f.stride,
                        &px.at(0, imageRow(f, int(r))), f.width, alpha);
    }
    if (auto dib = std::dynamic_pointer_cast<DibSection>(bitmap))
        dib->pixelsToMemory();
    return copied;
}

int StretchDIBits(HDC handle, int x, int y, int width, int height, int sx, int sy, int sw, int sh,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    Format f;
    auto dc = dcOf(handle);
    if (!dc || !bits || usage > DIB_PAL_COLORS || !readFormat(info, f)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Surface image = Surface::create(f.width, f.height);
    if (!image)
        return 0;
    {
        Pixels px(image);
        for (int r = 0; r < f.height; ++r)
            rowToPixels(f, static_cast<const BYTE*>(bits) + size_t(r) * f.stride, &px.at(0, imageRow(f, r)),
                        f.width, false);
    }
    // The source goes through a memory DC so the blit's own rules (clipping, mirroring) apply.
    HDC memoryDC = CreateCompatibleDC(handle);
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->surface = image;
    HBITMAP temporary = static_cast<HBITMAP>(table::insert(bitmap));
    HGDIOBJ old = SelectObject(memoryDC, temporary);
    // A bottom-up DIB measures the source rectangle from its bottom row.
    const int top = f.topDown ? sy : f.height - (sy + sh);
    const BOOL done = StretchBlt(handle, x, y, width, height, memoryDC, sx, top, sw, sh, rop);
    SelectObject(memoryDC, old);
    DeleteObject(temporary);
    DeleteDC(memoryDC);
    return done ? sh : 0;
}
