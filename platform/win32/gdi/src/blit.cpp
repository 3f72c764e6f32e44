// Block transfers, pattern fills, stretching, alpha blending and gradients. A plain copy goes
// through Cairo; the other raster operations combine pattern, source and destination bits
// pixel by pixel, as Cairo has no bitwise operators.
#include "paint.h"

#include "win/error.h"

#include <algorithm>
#include <vector>

using namespace pal::gdi;

namespace {

BYTE ropIndex(DWORD rop) {
    return static_cast<BYTE>((rop >> 16) & 0xFF);
}
bool usesSource(BYTE rop) {
    return ((rop >> 2) ^ rop) & 0x33;
}
bool usesPattern(BYTE rop) {
    return ((rop >> 4) ^ rop) & 0x0F;
}

// Far coordinates are held back where their sum cannot overflow; nothing lies out there anyway.
LONG farClamp(LONGLONG v) {
    constexpr LONGLONG kFar = LONGLONG{1} << 30;
    return static_cast<LONG>(std::clamp(v, -kFar, kFar));
}

RECT normalizedRect(int x, int y, int w, int h) {
    RECT r{farClamp(x), farClamp(y), farClamp(LONGLONG{x} + w), farClamp(LONGLONG{y} + h)};
    if (r.right < r.left)
        std::swap(r.left, r.right);
    if (r.bottom < r.top)
        std::swap(r.top, r.bottom);
    return r;
}

// The source pixels a transfer reads, copied first so a transfer within one surface reads
// what was there before it started. Pixels outside the source read as black.
struct SourceBlock {
    std::vector<std::uint32_t> pixels;
    int width = 0;
    std::uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

SourceBlock readBlock(const Surface& surface, POINT from, int width, int height) {
    SourceBlock block;
    block.width = width;
    block.pixels.assign(size_t(width) * height, 0);
    Pixels px(surface);
    for (int y = 0; y < height; ++y) {
        const int sy = from.y + y;
        if (sy < 0 || sy >= px.height())
            continue;
        for (int x = 0; x < width; ++x) {
            const int sx = from.x + x;
            if (sx >= 0 && sx < px.width())
                block.pixels[size_t(y) * width + x] = px.at(sx, sy) & 0xFFFFFF;
        }
    }
    return block;
}

// The selected brush rendered over `area` (surface coordinates), anchored at the brush origin.
SourceBlock patternBlock(DeviceContext& dc, const RECT& area) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    Surface tile = Surface::create(w, h);
    SourceBlock block;
    block.width = w;
    block.pixels.assign(size_t(w) * h, 0);
    if (!tile || !dc.state().brush)
        return block;
    cairo_t* cr = cairo_create(tile.get());
    cairo_translate(cr, dc.dx() - area.left, dc.dy() - area.top);
    if (setBrushSource(dc, cr, *dc.state().brush))
        cairo_paint(cr);
    cairo_destroy(cr);
    Pixels px(tile);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            block.pixels[size_t(y) * w + x] = px.at(x, y) & 0xFFFFFF;
    return block;
}

// Combines pattern, source and destination over `dest` (surface coordinates of the DC).
void ropPixels(DeviceContext& dc, const RECT& dest, BYTE rop, const SourceBlock* source) {
    if (!dc.surface() || IsRectEmpty(&dest))
        return;
    const SourceBlock pattern = usesPattern(rop) ? patternBlock(dc, dest) : SourceBlock{};
    Pixels px(dc.surface());
    forEachDrawable(dc, dest, [&](int x, int y) {
        const int bx = x - dest.left, by = y - dest.top;
        std::uint32_t& d = px.at(x, y);
        const std::uint32_t p = pattern.width ? pattern.at(bx, by) : 0;
        const std::uint32_t s = source ? source->at(bx, by) : 0;
        d = 0xFF000000 | applyRop3(rop, p, s, d & 0xFFFFFF);
    });
}

bool copyWithCairo(DeviceContext& dest, const RECT& logical, const Surface& source, POINT sourceOrigin) {
    cairo_t* cr = dest.cairo();
    if (!cr)
        return false;
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, source.get(), logical.left - sourceOrigin.x, logical.top - sourceOrigin.y);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    // Only the part that lies on the source is copied.
    RECT onSource{sourceOrigin.x, sourceOrigin.y, sourceOrigin.x + (logical.right - logical.left),
                  sourceOrigin.y + (logical.bottom - logical.top)};
    const RECT bounds{0, 0, source.width(), source.height()};
    if (IntersectRect(&onSource, &onSource, &bounds)) {
        cairo_rectangle(cr, logical.left + (onSource.left - sourceOrigin.x),
                        logical.top + (onSource.top - sourceOrigin.y), onSource.right - onSource.left,
                        onSource.bottom - onSource.top);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    return true;
}

// The part `visible` (surface coordinates of the destination) of the source rectangle `from`
// (sw x sh) stretched over the destination rectangle `target`; mirrored along an axis where
// `mirrorX` or `mirrorY` says. Only the visible part is made, however large the stretch.
Surface stretchedPart(const Surface& source, POINT from, int sw, int sh, const RECT& target,
                      const RECT& visible, bool mirrorX, bool mirrorY, bool smooth) {
    Surface out =
        Surface::create(visible.right - visible.left, visible.bottom - visible.top, source.hasAlpha());
    if (!out)
        return out;
    const double width = target.right - target.left, height = target.bottom - target.top;
    cairo_t* cr = cairo_create(out.get());
    cairo_translate(cr, target.left - visible.left + (mirrorX ? width : 0),
                    target.top - visible.top + (mirrorY ? height : 0));
    cairo_scale(cr, (mirrorX ? -width : width) / sw, (mirrorY ? -height : height) / sh);
    cairo_set_source_surface(cr, source.get(), -from.x, -from.y);
    cairo_pattern_set_filter(cairo_get_source(cr), smooth ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    return out;
}

BOOL blit(HDC destHandle, int x, int y, int w, int h, HDC sourceHandle, int sx, int sy, DWORD rop) {
    auto dest = dcOf(destHandle);
    if (!dest)
        return FALSE;
    const BYTE index = ropIndex(rop);
    std::shared_ptr<DeviceContext> source;
    if (usesSource(index)) {
        source = dcOf(sourceHandle);
        if (!source || !source->surface())
            return FALSE;
    }
    // Only the part that can be drawn on is worked on, so a huge rectangle costs nothing.
    const RECT whole = dest->toSurface(normalizedRect(x, y, w, h));
    RECT area;
    const RECT box = dest->drawable().box();
    if (!IntersectRect(&area, &whole, &box))
        return TRUE;
    if (!source) {
        ropPixels(*dest, area, index, nullptr);
        return TRUE;
    }
    POINT from = source->toSurface(sx, sy);
    from.x += area.left - whole.left;
    from.y += area.top - whole.top;
    if (index == ropIndex(SRCCOPY) && source->surface().get() != dest->surface().get()) {
        RECT logical = area;
        OffsetRect(&logical, -dest->dx(), -dest->dy());
        return copyWithCairo(*dest, logical, source->surface(), from) ? TRUE : FALSE;
    }
    const SourceBlock block =
        readBlock(source->surface(), from, area.right - area.left, area.bottom - area.top);
    ropPixels(*dest, area, index, &block);
    return TRUE;
}

} // namespace

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
    if (usesSource(ropIndex(rop))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return blit(dc, x, y, width, height, nullptr, 0, 0, rop);
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop) {
    return blit(dest, x, y, width, height, source, sx, sy, rop);
}

BOOL StretchBlt(HDC destHandle, int x, int y, int width, int height, HDC sourceHandle, int sx, int sy, int sw,
                int sh, DWORD rop) {
    const BYTE index = ropIndex(rop);
    if (!usesSource(index))
        return blit(destHandle, x, y, width, height, nullptr, 0, 0, rop);
    if (width == sw && height == sh)
        return blit(destHandle, x, y, width, height, sourceHandle, sx, sy, rop);
    auto dest = dcOf(destHandle);
    auto source = dcOf(sourceHandle);
    if (!dest || !source || !source->surface() || sw == 0 || sh == 0)
        return FALSE;
    if (width == 0 || height == 0)
        return TRUE;
    // Negative sizes mirror, unless both of an axis are negative; a mirrored source reads from
    // the other end of its rectangle.
    const bool mirrorX = (width < 0) != (sw < 0), mirrorY = (height < 0) != (sh < 0);
    POINT from = source->toSurface(sx, sy);
    if (sw < 0)
        from.x += sw;
    if (sh < 0)
        from.y += sh;
    const RECT target = dest->toSurface(normalizedRect(x, y, width, height));
    RECT visible;
    const RECT box = dest->drawable().box();
    if (!IntersectRect(&visible, &target, &box))
        return TRUE;
    const Surface part = stretchedPart(source->surface(), from, std::abs(sw), std::abs(sh), target, visible,
                                       mirrorX, mirrorY, dest->state().stretchMode == HALFTONE);
    if (!part)
        return FALSE;
    if (index == ropIndex(SRCCOPY)) {
        RECT logical = visible;
        OffsetRect(&logical, -dest->dx(), -dest->dy());
        return copyWithCairo(*dest, logical, part, POINT{0, 0}) ? TRUE : FALSE;
    }
    const SourceBlock block = readBlock(part, POINT{0, 0}, part.width(), part.height());
    ropPixels(*dest, visible, index, &block);
    return TRUE;
}

BOOL AlphaBlend(HDC destHandle, int x, int y, int width, int height, HDC sourceHandle, int sx, int sy, int sw,
                int sh, BLENDFUNCTION blend) {
    auto dest = dcOf(destHandle);
    auto source = dcOf(sourceHandle);
    if (!dest || !source || !source->surface())
        return FALSE;
    const Surface& src = source->surface();
    const POINT from = source->toSurface(sx, sy);
    // The platform refuses negative sizes and a source rectangle that leaves the source.
    if (width < 0 || height < 0 || sw < 0 || sh < 0 || blend.BlendOp != AC_SRC_OVER || from.x < 0 ||
        from.y < 0 || from.x + sw > src.width() || from.y + sh > src.height()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!width || !height || !sw || !sh)
        return TRUE;
    Surface pixels = src;
    if (!(blend.AlphaFormat & AC_SRC_ALPHA) && src.hasAlpha()) {
        // Without per-pixel alpha the source counts as opaque whatever its alpha bytes hold.
        pixels = Surface::create(sw, sh);
        const SourceBlock block = readBlock(src, from, sw, sh);
        Pixels px(pixels);
        for (int j = 0; j < sh; ++j)
            for (int i = 0; i < sw; ++i)
                px.at(i, j) = 0xFF000000 | block.at(i, j);
    }
    const POINT origin = pixels.get() == src.get() ? from : POINT{0, 0};
    cairo_t* cr = dest->cairo();
    if (!cr)
        return FALSE;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, width, height);
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, double(width) / sw, double(height) / sh);
    cairo_set_source_surface(cr, pixels.get(), -origin.x, -origin.y);
    cairo_pattern_set_filter(cairo_get_source(cr),
                             width == sw && height == sh ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_paint_with_alpha(cr, blend.SourceConstantAlpha / 255.0);
    cairo_restore(cr);
    return TRUE;
}

namespace {

void addStop(cairo_pattern_t* p, double offset, const TRIVERTEX& v) {
    cairo_pattern_add_color_stop_rgb(p, offset, v.Red / 65280.0, v.Green / 65280.0, v.Blue / 65280.0);
}

} // namespace

BOOL GradientFill(HDC handle, TRIVERTEX* vertices, ULONG vertexCount, void* mesh, ULONG meshCount,
                  ULONG mode) {
    auto dc = dcOf(handle);
    if (!dc || !vertices || !mesh || mode > GRADIENT_FILL_TRIANGLE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    cairo_t* cr = dc->cairo();
    if (!cr)
        return FALSE;
    auto vertex = [&](ULONG i) -> const TRIVERTEX* { return i < vertexCount ? &vertices[i] : nullptr; };
    for (ULONG m = 0; m < meshCount; ++m) {
        cairo_pattern_t* pattern = nullptr;
        if (mode == GRADIENT_FILL_TRIANGLE) {
            const auto& t = static_cast<const GRADIENT_TRIANGLE*>(mesh)[m];
            const TRIVERTEX *a = vertex(t.Vertex1), *b = vertex(t.Vertex2), *c = vertex(t.Vertex3);
            if (!a || !b || !c)
                return FALSE;
            pattern = cairo_pattern_create_mesh();
            cairo_mesh_pattern_begin_patch(pattern);
            cairo_mesh_pattern_move_to(pattern, a->x, a->y);
            cairo_mesh_pattern_line_to(pattern, b->x, b->y);
            cairo_mesh_pattern_line_to(pattern, c->x, c->y);
            int corner = 0;
            for (const TRIVERTEX* v : {a, b, c})
                cairo_mesh_pattern_set_corner_color_rgb(pattern, corner++, v->Red / 65280.0,
                                                        v->Green / 65280.0, v->Blue / 65280.0);
            cairo_mesh_pattern_end_patch(pattern);
            cairo_save(cr);
            cairo_move_to(cr, a->x, a->y);
            cairo_line_to(cr, b->x, b->y);
            cairo_line_to(cr, c->x, c->y);
            cairo_close_path(cr);
        } else {
            const auto& r = static_cast<const GRADIENT_RECT*>(mesh)[m];
            const TRIVERTEX *a = vertex(r.UpperLeft), *b = vertex(r.LowerRight);
            if (!a || !b)
                return FALSE;
            const bool horizontal = mode == GRADIENT_FILL_RECT_H;
            // The end colours fall on the first and last pixels' centres.
            pattern = horizontal ? cairo_pattern_create_linear(a->x + 0.5, 0, b->x - 0.5, 0)
                                 : cairo_pattern_create_linear(0, a->y + 0.5, 0, b->y - 0.5);
            addStop(pattern, 0, *a);
            addStop(pattern, 1, *b);
            cairo_save(cr);
            const RECT box = normalizedRect(a->x, a->y, b->x - a->x, b->y - a->y);
            cairo_rectangle(cr, box.left, box.top, box.right - box.left, box.bottom - box.top);
        }
        cairo_set_source(cr, pattern);
        cairo_fill(cr);
        cairo_restore(cr);
        cairo_pattern_destroy(pattern);
    }
    return TRUE;
}
