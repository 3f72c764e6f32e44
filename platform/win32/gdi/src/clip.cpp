// Clipping of a device context. The clip region is kept in device coordinates, so it stays
// where it is when the window or viewport origin moves later.
#include "dc.h"

#include "win/error.h"

using namespace pal::gdi;

namespace {

// The region a clip operation starts from: the DC's clip, or everything it can draw on.
Region currentClip(DeviceContext& dc) {
    if (dc.state().clip)
        return *dc.state().clip;
    Region all = dc.drawable();
    all.offset(-dc.origin().x, -dc.origin().y);
    return all;
}

int setClip(DeviceContext& dc, std::optional<Region> clip) {
    dc.state().clip = std::move(clip);
    dc.changed();
    return dc.drawable().kind();
}

RECT toDevice(DeviceContext& dc, int left, int top, int right, int bottom) {
    RECT r{left, top, right, bottom};
    OffsetRect(&r, dc.state().viewportOrg.x - dc.state().windowOrg.x,
               dc.state().viewportOrg.y - dc.state().windowOrg.y);
    return r;
}

} // namespace

int ExtSelectClipRgn(HDC handle, HRGN region, int mode) {
    auto dc = dcOf(handle);
    if (!dc)
        return ERROR;
    if (!region) {
        if (mode != RGN_COPY) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return ERROR;
        }
        return setClip(*dc, std::nullopt);
    }
    Region given;
    if (!regionOf(region, given))
        return ERROR;
    if (mode == RGN_COPY)
        return setClip(*dc, std::move(given));
    static constexpr Region::Op ops[] = {Region::Op::And, Region::Op::Or, Region::Op::Xor, Region::Op::Diff};
    if (mode < RGN_AND || mode > RGN_DIFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    return setClip(*dc, Region::combine(currentClip(*dc), given, ops[mode - RGN_AND]));
}

int SelectClipRgn(HDC dc, HRGN region) {
    return ExtSelectClipRgn(dc, region, RGN_COPY);
}

int IntersectClipRect(HDC handle, int left, int top, int right, int bottom) {
    auto dc = dcOf(handle);
    if (!dc)
        return ERROR;
    return setClip(*dc, currentClip(*dc).intersect(Region(toDevice(*dc, left, top, right, bottom))));
}

int ExcludeClipRect(HDC handle, int left, int top, int right, int bottom) {
    auto dc = dcOf(handle);
    if (!dc)
        return ERROR;
    return setClip(*dc, currentClip(*dc).subtract(Region(toDevice(*dc, left, top, right, bottom))));
}

int OffsetClipRgn(HDC handle, int dx, int dy) {
    auto dc = dcOf(handle);
    if (!dc)
        return ERROR;
    if (!dc->state().clip)
        return dc->drawable().kind();
    Region moved = *dc->state().clip;
    moved.offset(dx, dy);
    return setClip(*dc, std::move(moved));
}

int GetClipBox(HDC handle, LPRECT box) {
    auto dc = dcOf(handle);
    if (!dc || !box)
        return ERROR;
    const Region& area = dc->drawable();
    *box = area.box();
    if (!area.empty())
        OffsetRect(box, -dc->dx(), -dc->dy());
    return area.kind();
}

int GetClipRgn(HDC handle, HRGN region) {
    auto dc = dcOf(handle);
    if (!dc || !region)
        return -1;
    if (!dc->state().clip)
        return 0;
    return setRegion(region, *dc->state().clip) ? 1 : -1;
}

BOOL PtVisible(HDC handle, int x, int y) {
    auto dc = dcOf(handle);
    if (!dc)
        return -1;
    const POINT p = dc->toSurface(x, y);
    return dc->drawable().contains(p.x, p.y) ? TRUE : FALSE;
}

BOOL RectVisible(HDC handle, const RECT* rect) {
    auto dc = dcOf(handle);
    if (!dc || !rect)
        return FALSE;
    return dc->drawable().intersects(dc->toSurface(*rect)) ? TRUE : FALSE;
}
