#include "paint.h"

#include "win/gdi/colors.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace pal::gdi {

Pixels::Pixels(const Surface& surface) : surface_(surface.get()) {
    cairo_surface_flush(surface_);
    data_ = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface_));
    stride_ = size_t(cairo_image_surface_get_stride(surface_)) / 4;
    width_ = surface.width();
    height_ = surface.height();
}

Pixels::~Pixels() {
    cairo_surface_mark_dirty(surface_);
}

void forEachDrawable(DeviceContext& dc, const RECT& area, const std::function<void(int, int)>& fn) {
    for (const RECT& r : dc.drawable().rects()) {
        RECT part;
        if (!IntersectRect(&part, &r, &area))
            continue;
        for (int y = part.top; y < part.bottom; ++y)
            for (int x = part.left; x < part.right; ++x)
                fn(x, y);
    }
}

std::uint32_t applyRop2(int rop2, std::uint32_t p, std::uint32_t d) {
    // The mode's number less one is its truth table: bit (2 * pen + dest) gives the result.
    const unsigned t = static_cast<unsigned>(rop2 - 1);
    std::uint32_t r = 0;
    if (t & 1)
        r |= ~p & ~d;
    if (t & 2)
        r |= ~p & d;
    if (t & 4)
        r |= p & ~d;
    if (t & 8)
        r |= p & d;
    return r & 0xFFFFFF;
}

std::uint32_t applyRop3(BYTE rop, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    // Bit (4 * pattern + 2 * source + dest) of the index byte gives the result.
    std::uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (!(rop & (1 << i)))
            continue;
        r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r & 0xFFFFFF;
}

COLORREF brushColor(const DeviceContext& dc, const Brush& brush) {
    return brush.dcBrush ? dc.state().dcBrushColor & 0xFFFFFF : brush.color;
}

COLORREF penColor(const DeviceContext& dc, const Pen& pen) {
    return pen.dcPen ? dc.state().dcPenColor & 0xFFFFFF : pen.color;
}

int penWidth(const Pen& pen) {
    return pen.style == PS_NULL ? 0 : std::max(1, pen.width);
}

namespace {

// An 8x8 hatch tile: the hatch lines in the brush colour over the background colour, or
// over transparent pixels when the background is not painted.
Surface hatchTile(int hatch, COLORREF color, COLORREF background, bool opaque) {
    Surface tile = Surface::create(8, 8, true);
    Pixels px(tile);
    const std::uint32_t ink = 0xFF000000 | toPixel(color);
    const std::uint32_t back = opaque ? 0xFF000000 | toPixel(background) : 0;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool h = y == 7, v = x == 7, f = x == y, b = x + y == 7;
            bool on = false;
            switch (hatch) {
            case HS_HORIZONTAL:
                on = h;
                break;
            case HS_VERTICAL:
                on = v;
                break;
            case HS_FDIAGONAL:
                on = f;
                break;
            case HS_BDIAGONAL:
                on = b;
                break;
            case HS_CROSS:
                on = h || v;
                break;
            case HS_DIAGCROSS:
                on = f || b;
                break;
            }
            px.at(x, y) = on ? ink : back;
        }
    }
    return tile;
}

void setSurfacePattern(DeviceContext& dc, cairo_t* cr, const Surface& tile) {
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(tile.get());
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
    // User space is logical; the tile starts at the brush origin in device coordinates.
    const DcState& s = dc.state();
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, s.viewportOrg.x - s.windowOrg.x - s.brushOrg.x,
                                s.viewportOrg.y - s.windowOrg.y - s.brushOrg.y);
    cairo_pattern_set_matrix(pattern, &m);
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
}

struct StrokePass {
    COLORREF color;
    std::vector<double> dashes;
};

const std::vector<double>* dashPattern(const Pen& pen) {
    static const std::vector<double> dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6},
        dashDotDot{9, 3, 3, 3, 3, 3};
    // Styled lines exist only one pixel wide; wider pens of those styles draw solid.
    if (penWidth(pen) != 1)
        return nullptr;
    switch (pen.style) {
    case PS_DASH:
        return &dash;
    case PS_DOT:
        return &dot;
    case PS_DASHDOT:
        return &dashDot;
    case PS_DASHDOTDOT:
        return &dashDotDot;
    default:
        return nullptr;
    }
}

std::vector<StrokePass> strokePasses(const DeviceContext& dc, const Pen& pen) {
    const COLORREF color = penColor(dc, pen);
    const std::vector<double>* pattern = dashPattern(pen);
    if (!pattern)
        return {StrokePass{color, {}}};
    std::vector<StrokePass> passes;
    if (dc.state().bkMode == OPAQUE)
        passes.push_back(StrokePass{dc.state().bkColor, {}});
    passes.push_back(StrokePass{color, *pattern});
    return passes;
}

void configureStroke(cairo_t* cr, const Pen& pen, const StrokePass& pass) {
    const int width = penWidth(pen);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, width > 1 ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, width > 1 ? CAIRO_LINE_JOIN_ROUND : CAIRO_LINE_JOIN_MITER);
    cairo_set_dash(cr, pass.dashes.data(), static_cast<int>(pass.dashes.size()), 0);
    setSourceColor(cr, pass.color);
}

// Draws with `paint` (which sets sources, builds the path and fills or strokes it) into a
// scratch surface over the shape's bounds, then combines the scratch pixels with the DC's
// pixels under its binary raster operation.
void drawUnderRop2(DeviceContext& dc, const std::function<void(cairo_t*)>& paint,
                   const std::function<void(cairo_t*, double*, double*, double*, double*)>& extents) {
    cairo_t* cr = dc.cairo();
    if (!cr)
        return;
    double x0, y0, x1, y1;
    cairo_save(cr);
    extents(cr, &x0, &y0, &x1, &y1);
    cairo_new_path(cr);
    cairo_restore(cr);
    RECT bounds{
        static_cast<LONG>(std::floor(x0)) + dc.dx() - 1, static_cast<LONG>(std::floor(y0)) + dc.dy() - 1,
        static_cast<LONG>(std::ceil(x1)) + dc.dx() + 1, static_cast<LONG>(std::ceil(y1)) + dc.dy() + 1};
    const RECT box = dc.drawable().box();
    if (!IntersectRect(&bounds, &bounds, &box))
        return;
    Surface scratch = Surface::create(bounds.right - bounds.left, bounds.bottom - bounds.top, true);
    if (!scratch)
        return;
    cairo_t* t = cairo_create(scratch.get());
    // Clipped to the scratch surface, so a shape reaching far outside costs only what lies inside.
    cairo_rectangle(t, 0, 0, scratch.width(), scratch.height());
    cairo_clip(t);
    cairo_translate(t, dc.dx() - bounds.left, dc.dy() - bounds.top);
    cairo_set_antialias(t, CAIRO_ANTIALIAS_NONE);
    paint(t);
    cairo_destroy(t);
    Pixels src(scratch);
    Pixels dst(dc.surface());
    const int rop2 = dc.state().rop2;
    forEachDrawable(dc, bounds, [&](int x, int y) {
        const std::uint32_t s = src.at(x - bounds.left, y - bounds.top);
        if (!(s >> 24))
            return;
        std::uint32_t& d = dst.at(x, y);
        d = (d & 0xFF000000) | applyRop2(rop2, s & 0xFFFFFF, d & 0xFFFFFF);
    });
}

} // namespace

void thinPolyline(DeviceContext& dc, const POINT* points, int count, bool close) {
    const Pen* pen = dc.state().pen.get();
    if (!pen || penWidth(*pen) == 0 || dc.state().rop2 == R2_NOP || !dc.surface() || count < 2)
        return;
    const std::uint32_t ink = toPixel(penColor(dc, *pen));
    const std::uint32_t back = toPixel(dc.state().bkColor);
    const bool opaqueGaps = dc.state().bkMode == OPAQUE;
    const std::vector<double>* dashes = dashPattern(*pen);
    const int rop2 = dc.state().rop2;
    const Region& area = dc.drawable();
    const bool oneRect = area.rects().size() == 1;
    const RECT box = area.box();
    Pixels px(dc.surface());
    // The style runs on along the whole polyline, one step a pixel, drawn or not.
    size_t dashIndex = 0;
    LONGLONG dashLeft = dashes ? static_cast<LONGLONG>((*dashes)[0]) : 0;
    LONGLONG dashPeriod = 0;
    if (dashes)
        for (double d : *dashes)
            dashPeriod += static_cast<LONGLONG>(d);
    auto stepDash = [&](LONGLONG steps) {
        if (!dashes || steps <= 0)
            return;
        steps %= dashPeriod;
        while (steps >= dashLeft) {
            steps -= dashLeft;
            dashIndex = (dashIndex + 1) % dashes->size();
            dashLeft = static_cast<LONGLONG>((*dashes)[dashIndex]);
        }
        dashLeft -= steps;
    };
    auto plot = [&](LONGLONG x, LONGLONG y) {
        const bool on = !dashes || dashIndex % 2 == 0;
        stepDash(1);
        if (!on && !opaqueGaps)
            return;
        const bool inside = oneRect ? (x >= box.left && x < box.right && y >= box.top && y < box.bottom)
                                    : area.contains(static_cast<int>(x), static_cast<int>(y));
        if (!inside)
            return;
        std::uint32_t& d = px.at(static_cast<int>(x), static_cast<int>(y));
        const std::uint32_t colour = on ? ink : back;
        d = 0xFF000000 | (rop2 == R2_COPYPEN ? colour : applyRop2(rop2, colour, d & 0xFFFFFF));
    };
    const int segments = close ? count : count - 1;
    for (int i = 0; i < segments; ++i) {
        const POINT& p = points[i];
        const POINT& q = points[(i + 1) % count];
        // Bresenham's stepping along the longer axis, the end point left out. Only the steps
        // whose major coordinate falls on the drawable box are walked: the minor coordinate
        // of step n is worked out directly, so a line from far away costs no more than the
        // part of it that can be seen.
        const LONGLONG ax = LONGLONG{p.x} + dc.dx(), ay = LONGLONG{p.y} + dc.dy();
        const LONGLONG bx = LONGLONG{q.x} + dc.dx(), by = LONGLONG{q.y} + dc.dy();
        const bool xMajor = std::llabs(bx - ax) >= std::llabs(by - ay);
        const LONGLONG length = xMajor ? std::llabs(bx - ax) : std::llabs(by - ay);
        const LONGLONG minor = xMajor ? std::llabs(by - ay) : std::llabs(bx - ax);
        const LONGLONG majorStart = xMajor ? ax : ay, minorStart = xMajor ? ay : ax;
        const int majorStep = (xMajor ? ax < bx : ay < by) ? 1 : -1;
        const int minorStep = (xMajor ? ay < by : ax < bx) ? 1 : -1;
        const LONGLONG lo = xMajor ? box.left : box.top, hi = xMajor ? box.right : box.bottom;
        LONGLONG first = majorStep > 0 ? lo - majorStart : majorStart - (hi - 1);
        LONGLONG last = majorStep > 0 ? hi - majorStart : majorStart - lo + 1;
        first = std::clamp<LONGLONG>(first, 0, length);
        last = std::clamp<LONGLONG>(last, first, length);
        stepDash(first);
        if (first < last) {
            LONGLONG k = (2 * minor * first + length - 1) / (2 * length); // minor steps taken so far
            LONGLONG err = 2 * minor * (first + 1) - length - 2 * length * k;
            for (LONGLONG n = first; n < last; ++n) {
                const LONGLONG major = majorStart + majorStep * n, across = minorStart + minorStep * k;
                if (xMajor)
                    plot(major, across);
                else
                    plot(across, major);
                if (err > 0) {
                    ++k;
                    err -= 2 * length;
                }
                err += 2 * minor;
            }
        }
        stepDash(length - last);
    }
}

bool setBrushSource(DeviceContext& dc, cairo_t* cr, const Brush& brush) {
    switch (brush.style) {
    case BS_SOLID:
        setSourceColor(cr, brushColor(dc, brush));
        return true;
    case BS_HATCHED:
        setSurfacePattern(
            dc, cr, hatchTile(brush.hatch, brush.color, dc.state().bkColor, dc.state().bkMode == OPAQUE));
        return true;
    case BS_PATTERN:
        if (!brush.pattern)
            return false;
        setSurfacePattern(dc, cr, brush.pattern);
        return true;
    default:
        return false;
    }
}

void strokeWithPen(DeviceContext& dc, const PathBuilder& path) {
    const Pen* pen = dc.state().pen.get();
    if (!pen || penWidth(*pen) == 0 || dc.state().rop2 == R2_NOP)
        return;
    const auto passes = strokePasses(dc, *pen);
    auto paint = [&](cairo_t* cr) {
        for (const StrokePass& pass : passes) {
            configureStroke(cr, *pen, pass);
            path(cr);
            cairo_stroke(cr);
        }
    };
    if (dc.state().rop2 == R2_COPYPEN) {
        if (cairo_t* cr = dc.cairo()) {
            cairo_save(cr);
            paint(cr);
            cairo_restore(cr);
        }
        return;
    }
    drawUnderRop2(dc, paint, [&](cairo_t* cr, double* x0, double* y0, double* x1, double* y1) {
        // The path's bounds widened by the pen: exact extents would tessellate the whole shape.
        path(cr);
        cairo_path_extents(cr, x0, y0, x1, y1);
        const double half = penWidth(*pen);
        *x0 -= half;
        *y0 -= half;
        *x1 += half;
        *y1 += half;
    });
}

void fillWithBrush(DeviceContext& dc, const Brush& brush, const PathBuilder& path, bool rop2,
                   cairo_fill_rule_t rule) {
    if (brush.style == BS_NULL || (rop2 && dc.state().rop2 == R2_NOP))
        return;
    auto paint = [&](cairo_t* cr) {
        if (!setBrushSource(dc, cr, brush))
            return;
        cairo_set_fill_rule(cr, rule);
        path(cr);
        cairo_fill(cr);
    };
    if (!rop2 || dc.state().rop2 == R2_COPYPEN) {
        // Filling sets its own source and fill rule every time, so nothing needs restoring.
        if (cairo_t* cr = dc.cairo())
            paint(cr);
        return;
    }
    drawUnderRop2(dc, paint, [&](cairo_t* cr, double* x0, double* y0, double* x1, double* y1) {
        path(cr);
        cairo_path_extents(cr, x0, y0, x1, y1);
    });
}

} // namespace pal::gdi
