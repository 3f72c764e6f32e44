// What the drawing functions share: pen and brush sources, drawing under the binary raster
// operation, and direct access to the pixels where Cairo has no equivalent operation.
#pragma once

#include "dc.h"

#include <functional>

namespace pal::gdi {

// Builds a path in logical coordinates on the given context.
using PathBuilder = std::function<void(cairo_t*)>;

// Strokes the path with the DC's pen (nothing for a null pen), under its ROP2 mode.
void strokeWithPen(DeviceContext& dc, const PathBuilder& path);
// One-pixel lines through `points` with the DC's pen, each segment leaving out its last
// point, as the platform rasterises them; `close` adds the segment back to the start.
void thinPolyline(DeviceContext& dc, const POINT* points, int count, bool close);
// Fills the path with a brush (nothing for a null brush), under the DC's ROP2 mode when
// `rop2` is set, else copying.
void fillWithBrush(DeviceContext& dc, const Brush& brush, const PathBuilder& path, bool rop2 = true,
                   cairo_fill_rule_t rule = CAIRO_FILL_RULE_WINDING);
// Sets a brush as the context's source, the pattern anchored at the DC's brush origin; false
// for a null brush.
bool setBrushSource(DeviceContext& dc, cairo_t* cr, const Brush& brush);
// The colour a solid brush or pen paints, the DC colours taken into account.
COLORREF brushColor(const DeviceContext& dc, const Brush& brush);
COLORREF penColor(const DeviceContext& dc, const Pen& pen);
// The pen's width in pixels; 0 for a null pen.
int penWidth(const Pen& pen);

// The 32-bit pixels of an image surface; flushed on creation, marked dirty when done.
class Pixels {
public:
    explicit Pixels(const Surface& surface);
    ~Pixels();
    std::uint32_t& at(int x, int y) { return data_[size_t(y) * stride_ + x]; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    cairo_surface_t* surface_;
    std::uint32_t* data_;
    size_t stride_;
    int width_, height_;
};

// Calls `fn(x, y)` for each pixel of `area` (surface coordinates) that the DC may draw on.
void forEachDrawable(DeviceContext& dc, const RECT& area, const std::function<void(int, int)>& fn);

// One binary raster operation on 24-bit colour values.
std::uint32_t applyRop2(int rop2, std::uint32_t pen, std::uint32_t dest);
// One ternary raster operation (the ROP's index byte) on 24-bit colour values.
std::uint32_t applyRop3(BYTE rop, std::uint32_t pattern, std::uint32_t source, std::uint32_t dest);

constexpr std::uint32_t toPixel(COLORREF c) {
    return (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}
constexpr COLORREF fromPixel(std::uint32_t p) {
    return RGB(BYTE(p >> 16), BYTE(p >> 8), BYTE(p));
}

} // namespace pal::gdi
