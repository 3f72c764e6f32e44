// Lines, shapes, rectangles, edges and pixels. Shapes follow the platform's pixel rules: a
// line leaves out its last point, and a shape's outline lies inside its bounding rectangle,
// whose right and bottom edges are excluded.
#include "paint.h"

#include "win/gdi/colors.h"

#include <cmath>
#include <utility>

using namespace pal::gdi;

namespace {

constexpr double kHalf = 0.5;

RECT normalized(int left, int top, int right, int bottom) {
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    return RECT{left, top, right, bottom};
}

void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry) {
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(cr, cx - rx, cy - ry, 2 * rx, 2 * ry);
        return;
    }
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void roundRectPath(cairo_t* cr, double l, double t, double r, double b, double rx, double ry) {
    rx = std::min(rx, (r - l) / 2);
    ry = std::min(ry, (b - t) / 2);
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(cr, l, t, r - l, b - t);
        return;
    }
    auto corner = [&](double cx, double cy, double from) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, from, from + M_PI / 2);
        cairo_restore(cr);
    };
    cairo_new_sub_path(cr);
    corner(r - rx, t + ry, -M_PI / 2);
    corner(r - rx, b - ry, 0);
    corner(l + rx, b - ry, M_PI / 2);
    corner(l + rx, t + ry, M_PI);
    cairo_close_path(cr);
}

// How far inside the bounds the outline's centre runs: half a pixel for a normal pen, half
// the width for PS_INSIDEFRAME, whose whole width stays inside.
double outlineInset(const Pen& pen) {
    return pen.style == PS_INSIDEFRAME ? penWidth(pen) / 2.0 : kHalf;
}

bool hasPen(const DeviceContext& dc) {
    return dc.state().pen && penWidth(*dc.state().pen) > 0;
}

// Fills the inside of a closed shape with the selected brush and outlines it with the pen.
// Without a pen the shape is one pixel smaller on the right and bottom, as on the platform.
void drawClosedShape(DeviceContext& dc, const RECT& box,
                     const std::function<void(cairo_t*, double l, double t, double r, double b)>& shape) {
    const double inset = hasPen(dc) ? outlineInset(*dc.state().pen) : kHalf;
    const double l = box.left + inset, t = box.top + inset, r = box.right - inset, b = box.bottom - inset;
    if (dc.state().brush) {
        if (hasPen(dc))
            fillWithBrush(dc, *dc.state().brush, [&](cairo_t* cr) { shape(cr, l, t, r, b); });
        else
            fillWithBrush(dc, *dc.state().brush,
                          [&](cairo_t* cr) { shape(cr, box.left, box.top, box.right - 1, box.bottom - 1); });
    }
    if (hasPen(dc))
        strokeWithPen(dc, [&](cairo_t* cr) { shape(cr, l, t, r, b); });
}

void fillSurfaceRect(DeviceContext& dc, const Brush& brush, const RECT& logical) {
    if (IsRectEmpty(&logical))
        return;
    fillWithBrush(
        dc, brush,
        [&](cairo_t* cr) {
            cairo_rectangle(cr, logical.left, logical.top, logical.right - logical.left,
                            logical.bottom - logical.top);
        },
        false);
}

void invertSurfaceArea(DeviceContext& dc, const RECT& surfaceRect,
                       const std::function<bool(int, int)>& pick = {}) {
    if (!dc.surface())
        return;
    Pixels px(dc.surface());
    forEachDrawable(dc, surfaceRect, [&](int x, int y) {
        if (pick && !pick(x, y))
            return;
        std::uint32_t& d = px.at(x, y);
        d = (d & 0xFF000000) | (~d & 0xFFFFFF);
    });
}

void edgeLines(DeviceContext& dc, RECT& r, UINT flags, COLORREF topLeft, COLORREF bottomRight) {
    auto line = [&](COLORREF c, RECT part) {
        Brush b;
        b.color = c;
        fillSurfaceRect(dc, b, part);
    };
    if (flags & BF_LEFT)
        line(topLeft, RECT{r.left, r.top, r.left + 1, r.bottom});
    if (flags & BF_TOP)
        line(topLeft, RECT{r.left, r.top, r.right, r.top + 1});
    if (flags & BF_RIGHT)
        line(bottomRight, RECT{r.right - 1, r.top, r.right, r.bottom});
    if (flags & BF_BOTTOM)
        line(bottomRight, RECT{r.left, r.bottom - 1, r.right, r.bottom});
    if (flags & BF_LEFT)
        ++r.left;
    if (flags & BF_TOP)
        ++r.top;
    if (flags & BF_RIGHT)
        --r.right;
    if (flags & BF_BOTTOM)
        --r.bottom;
}

// Thin pens step pixel by pixel as the platform does; wider ones are stroked with round ends.
void polyline(DeviceContext& dc, const POINT* points, int count, bool close) {
    if (!dc.state().pen || penWidth(*dc.state().pen) <= 1) {
        thinPolyline(dc, points, count, close);
        return;
    }
    strokeWithPen(dc, [&](cairo_t* cr) {
        cairo_move_to(cr, points[0].x + kHalf, points[0].y + kHalf);
        for (int i = 1; i < count; ++i)
            cairo_line_to(cr, points[i].x + kHalf, points[i].y + kHalf);
        if (close)
            cairo_close_path(cr);
    });
}

} // namespace

BOOL MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
    auto dc = dcOf(handle);
    if (!dc)
        return FALSE;
    if (previous)
        *previous = dc->state().position;
    dc->state().position = POINT{x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC handle, LPPOINT position) {
    auto dc = dcOf(handle);
    if (!dc || !position)
        return FALSE;
    *position = dc->state().position;
    return TRUE;
}

BOOL LineTo(HDC handle, int x, int y) {
    auto dc = dcOf(handle);
    if (!dc)
        return FALSE;
    const POINT ends[] = {dc->state().position, POINT{x, y}};
    polyline(*dc, ends, 2, false);
    dc->state().position = POINT{x, y};
    return TRUE;
}

BOOL Polyline(HDC handle, const POINT* points, int count) {
    auto dc = dcOf(handle);
    if (!dc || !points || count < 2)
        return FALSE;
    polyline(*dc, points, count, false);
    return TRUE;
}

BOOL Polygon(HDC handle, const POINT* points, int count) {
    auto dc = dcOf(handle);
    if (!dc || !points || count < 2)
        return FALSE;
    auto path = [&](cairo_t* cr) {
        cairo_move_to(cr, points[0].x + kHalf, points[0].y + kHalf);
        for (int i = 1; i < count; ++i)
            cairo_line_to(cr, points[i].x + kHalf, points[i].y + kHalf);
        cairo_close_path(cr);
    };
    if (dc->state().brush)
        fillWithBrush(*dc, *dc->state().brush, path, true,
                      dc->state().polyFillMode == WINDING ? CAIRO_FILL_RULE_WINDING
                                                          : CAIRO_FILL_RULE_EVEN_ODD);
    polyline(*dc, points, count, true);
    return TRUE;
}

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
    auto dc = dcOf(handle);
    if (!dc)
        return FALSE;
    const RECT box = normalized(left, top, right, bottom);
    if (hasPen(*dc) && dc->state().brush) {
        // The inside is filled apart from the outline, so an XOR outline is not undone by the fill.
        const int w = dc->state().pen->style == PS_INSIDEFRAME ? penWidth(*dc->state().pen) : 1;
        const RECT inside{box.left + w, box.top + w, box.right - w, box.bottom - w};
        if (!IsRectEmpty(&inside))
            fillWithBrush(*dc, *dc->state().brush, [&](cairo_t* cr) {
                cairo_rectangle(cr, inside.left, inside.top, inside.right - inside.left,
                                inside.bottom - inside.top);
            });
        const double inset = outlineInset(*dc->state().pen);
        strokeWithPen(*dc, [&](cairo_t* cr) {
            cairo_rectangle(cr, box.left + inset, box.top + inset, box.right - box.left - 2 * inset,
                            box.bottom - box.top - 2 * inset);
        });
        return TRUE;
    }
    drawClosedShape(*dc, box, [](cairo_t* cr, double l, double t, double r, double b) {
        cairo_rectangle(cr, l, t, r - l, b - t);
    });
    return TRUE;
}

BOOL RoundRect(HDC handle, int left, int top, int right, int bottom, int width, int height) {
    auto dc = dcOf(handle);
    if (!dc)
        return FALSE;
    drawClosedShape(*dc, normalized(left, top, right, bottom),
                    [&](cairo_t* cr, double l, double t, double r, double b) {
                        roundRectPath(cr, l, t, r, b, std::abs(width) / 2.0, std::abs(height) / 2.0);
                    });
    return TRUE;
}

BOOL Ellipse(HDC handle, int left, int top, int right, int bottom) {
    auto dc = dcOf(handle);
    if (!dc)
        return FALSE;
    drawClosedShape(*dc, normalized(left, top, right, bottom),
                    [](cairo_t* cr, double l, double t, double r, double b) {
                        ellipsePath(cr, (l + r) / 2, (t + b) / 2, (r - l) / 2, (b - t) / 2);
                    });
    return TRUE;
}

int FillRect(HDC handle, const RECT* rect, HBRUSH brushHandle) {
    auto dc = dcOf(handle);
    auto brush = brushArgument(brushHandle);
    if (!dc || !rect || !brush)
        return 0;
    fillSurfaceRect(*dc, *brush, *rect);
    return 1;
}

int FrameRect(HDC handle, const RECT* rect, HBRUSH brushHandle) {
    auto dc = dcOf(handle);
    auto brush = brushArgument(brushHandle);
    if (!dc || !rect || !brush)
        return 0;
    const RECT& r = *rect;
    if (IsRectEmpty(&r))
        return 1;
    fillSurfaceRect(*dc, *brush, RECT{r.left, r.top, r.right, r.top + 1});
    fillSurfaceRect(*dc, *brush, RECT{r.left, r.bottom - 1, r.right, r.bottom});
    fillSurfaceRect(*dc, *brush, RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1});
    fillSurfaceRect(*dc, *brush, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1});
    return 1;
}

BOOL InvertRect(HDC handle, const RECT* rect) {
    auto dc = dcOf(handle);
    if (!dc || !rect)
        return FALSE;
    invertSurfaceArea(*dc, dc->toSurface(*rect));
    return TRUE;
}

BOOL DrawFocusRect(HDC handle, const RECT* rect) {
    auto dc = dcOf(handle);
    if (!dc || !rect)
        return FALSE;
    // Every other pixel of the outline is inverted, so drawing it again takes it away.
    const RECT r = dc->toSurface(*rect);
    invertSurfaceArea(*dc, r, [&](int x, int y) {
        const bool onEdge = x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1;
        return onEdge && ((x + y) & 1) == 0;
    });
    return TRUE;
}

BOOL DrawEdge(HDC handle, LPRECT rect, UINT edge, UINT flags) {
    auto dc = dcOf(handle);
    if (!dc || !rect)
        return FALSE;
    RECT r = *rect;
    const bool soft = flags & BF_SOFT;
    const UINT outer = edge & BDR_OUTER, inner = edge & BDR_INNER;
    if (flags & (BF_FLAT | BF_MONO)) {
        const COLORREF c = GetSysColor(flags & BF_MONO ? COLOR_WINDOWFRAME : COLOR_3DSHADOW);
        if (outer)
            edgeLines(*dc, r, flags, c, c);
        if (inner) {
            const COLORREF face = GetSysColor(flags & BF_MONO ? COLOR_WINDOW : COLOR_3DFACE);
            edgeLines(*dc, r, flags, face, face);
        }
    } else {
        if (outer & BDR_RAISEDOUTER)
            edgeLines(*dc, r, flags, GetSysColor(soft ? COLOR_3DHILIGHT : COLOR_3DLIGHT),
                      GetSysColor(COLOR_3DDKSHADOW));
        else if (outer & BDR_SUNKENOUTER)
            edgeLines(*dc, r, flags, GetSysColor(soft ? COLOR_3DDKSHADOW : COLOR_3DSHADOW),
                      GetSysColor(COLOR_3DHILIGHT));
        if (inner & BDR_RAISEDINNER)
            edgeLines(*dc, r, flags, GetSysColor(soft ? COLOR_3DLIGHT : COLOR_3DHILIGHT),
                      GetSysColor(COLOR_3DSHADOW));
        else if (inner & BDR_SUNKENINNER)
            edgeLines(*dc, r, flags, GetSysColor(soft ? COLOR_3DSHADOW : COLOR_3DDKSHADOW),
                      GetSysColor(COLOR_3DLIGHT));
    }
    if (flags & BF_MIDDLE) {
        Brush face;
        face.color = GetSysColor(flags & BF_MONO ? COLOR_WINDOW : COLOR_3DFACE);
        fillSurfaceRect(*dc, face, r);
    }
    if (flags & BF_ADJUST)
        *rect = r;
    return TRUE;
}

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color) {
    auto dc = dcOf(handle);
    if (!dc || !dc->surface())
        return CLR_INVALID;
    const POINT p = dc->toSurface(x, y);
    if (!dc->drawable().contains(p.x, p.y))
        return CLR_INVALID;
    Pixels px(dc->surface());
    px.at(p.x, p.y) = 0xFF000000 | toPixel(color);
    return color & 0xFFFFFF;
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color) {
    return SetPixel(dc, x, y, color) == CLR_INVALID ? FALSE : TRUE;
}

COLORREF GetPixel(HDC handle, int x, int y) {
    auto dc = dcOf(handle);
    if (!dc || !dc->surface())
        return CLR_INVALID;
    const POINT p = dc->toSurface(x, y);
    if (!dc->drawable().contains(p.x, p.y))
        return CLR_INVALID;
    return dc->surface().pixel(p.x, p.y);
}

BOOL FillRgn(HDC handle, HRGN region, HBRUSH brushHandle) {
    auto dc = dcOf(handle);
    auto brush = brushArgument(brushHandle);
    Region rgn;
    if (!dc || !brush || !regionOf(region, rgn))
        return FALSE;
    for (const RECT& r : rgn.rects())
        fillSurfaceRect(*dc, *brush, r);
    return TRUE;
}

BOOL PaintRgn(HDC handle, HRGN region) {
    auto dc = dcOf(handle);
    if (!dc || !dc->state().brush)
        return FALSE;
    return FillRgn(handle, region, static_cast<HBRUSH>(dc->state().brush->handle));
}

BOOL FrameRgn(HDC handle, HRGN region, HBRUSH brushHandle, int width, int height) {
    auto dc = dcOf(handle);
    auto brush = brushArgument(brushHandle);
    Region rgn;
    if (!dc || !brush || !regionOf(region, rgn) || width <= 0 || height <= 0)
        return FALSE;
    // The frame is what the region loses when any of its pixels within the frame's width of
    // its outside are taken away.
    Region inside = rgn;
    for (POINT shift : {POINT{width, 0}, POINT{-width, 0}, POINT{0, height}, POINT{0, -height}}) {
        Region moved = rgn;
        moved.offset(shift.x, shift.y);
        inside.intersect(moved);
    }
    const Region frame = Region::combine(rgn, inside, Region::Op::Diff);
    for (const RECT& r : frame.rects())
        fillSurfaceRect(*dc, *brush, r);
    return TRUE;
}

BOOL InvertRgn(HDC handle, HRGN region) {
    auto dc = dcOf(handle);
    Region rgn;
    if (!dc || !regionOf(region, rgn))
        return FALSE;
    for (const RECT& r : rgn.rects())
        invertSurfaceArea(*dc, dc->toSurface(r));
    return TRUE;
}
