// What the window layer and the layers that extend drawing need of the drawing layer beyond
// the platform's functions: pixel surfaces, device contexts over a window's part of a
// surface, and regions behind HRGN handles.
#pragma once

#include "pal/visibility.h"

#include "pal/region.h"
#include "win/gdi.h"

#include <cairo.h>

#include <filesystem>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace pal::gdi {

// A reference to a Cairo image surface; copies share the pixels.
class Surface {
public:
    Surface() = default;
    // Takes over the caller's reference.
    explicit Surface(cairo_surface_t* adopted) : surface_(adopted) {}
    Surface(const Surface& other);
    Surface& operator=(const Surface& other);
    Surface(Surface&& other) noexcept : surface_(other.surface_) { other.surface_ = nullptr; }
    Surface& operator=(Surface&& other) noexcept;
    ~Surface();

    // An opaque (RGB) or alpha (premultiplied ARGB) surface, cleared; empty when the size is
    // absurd (see fitsSurface) or Cairo cannot make it.
    static Surface create(int width, int height, bool alpha = false);
    // Whether a surface of this size may be allocated: both sides positive and at most 32767,
    // and no more than 2^28 pixels.
    static bool fitsSurface(LONGLONG width, LONGLONG height);

    cairo_surface_t* get() const { return surface_; }
    explicit operator bool() const { return surface_ != nullptr; }
    int width() const;
    int height() const;
    bool hasAlpha() const;
    // The pixel as a COLORREF (alpha dropped); CLR_INVALID outside.
    COLORREF pixel(int x, int y) const;
    bool savePng(const std::filesystem::path& path) const;

private:
    cairo_surface_t* surface_ = nullptr;
};

// A DC drawing on `surface` with device 0,0 at `origin` (surface coordinates) and drawing
// limited to `visible` (surface coordinates). Released with releaseWindowDC.
struct WindowTarget {
    Surface surface;
    POINT origin{};
    Region visible;
    HWND window = nullptr;
};
HDC createWindowDC(const WindowTarget& target);
// False when `dc` is not a live window DC.
bool releaseWindowDC(HDC dc);
// The window a DC was made for; null for memory DCs and stale handles.
HWND windowOfDC(HDC dc);

// The pixels a DC draws on (a window's surface or the selected bitmap's); empty for a stale handle.
Surface surfaceOf(HDC dc);
Surface surfaceOf(HBITMAP bitmap);

// Regions behind handles.
HRGN createRegion(const Region& region);
bool regionOf(HRGN handle, Region& out);
bool setRegion(HRGN handle, const Region& region);

// The live drawing objects (DCs included), for leak checks.
size_t liveObjects();

// Every size the file or resource an icon was loaded from holds (an icon group's sizes, without
// repeats, smallest first); the icon's own size when it was made otherwise; empty for a stale
// handle.
std::vector<SIZE> iconSizes(HICON icon);

// Told the shape's name ("arrow", "ibeam", "none", ...) whenever SetCursor changes the cursor:
// how a display driver shows it. One listener; null removes it.
using CursorListener = void (*)(const std::string& shape);
void setCursorListener(CursorListener listener);

} // namespace pal::gdi

DV_EXPORTS_END
