// The region functions over the region objects of the handle table.
#include "object.h"

#include "win/error.h"

#include <algorithm>

namespace pal::gdi {

HRGN createRegion(const Region& region) {
    auto o = std::make_shared<RegionObject>();
    o->region = region;
    return static_cast<HRGN>(table::insert(o));
}

bool regionOf(HRGN handle, Region& out) {
    auto o = table::getAs<RegionObject>(handle);
    if (!o)
        return false;
    std::lock_guard lock(table::mutex());
    out = o->region;
    return true;
}

bool setRegion(HRGN handle, const Region& region) {
    auto o = table::getAs<RegionObject>(handle);
    if (!o)
        return false;
    std::lock_guard lock(table::mutex());
    o->region = region;
    return true;
}

} // namespace pal::gdi

using namespace pal::gdi;

namespace {

// Region coordinates stay within 2^27 either way, as on the platform, so moving one can never
// overflow.
constexpr LONG kLimit = LONG{1} << 27;

LONG limited(int v) {
    return std::clamp<LONG>(v, -kLimit, kLimit);
}

// The platform orders the corners of a reversed rectangle.
Region rectRegion(int left, int top, int right, int bottom) {
    return Region(RECT{limited(std::min(left, right)), limited(std::min(top, bottom)),
                       limited(std::max(left, right)), limited(std::max(top, bottom))});
}

} // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return createRegion(rectRegion(left, top, right, bottom));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
    return setRegion(region, rectRegion(left, top, right, bottom)) ? TRUE : FALSE;
}

int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode) {
    Region ra, rb, result;
    if (!table::getAs<RegionObject>(dest) || !regionOf(a, ra))
        return ERROR;
    if (mode == RGN_COPY) {
        result = ra;
    } else {
        static constexpr Region::Op ops[] = {Region::Op::And, Region::Op::Or, Region::Op::Xor,
                                             Region::Op::Diff};
        if (mode < RGN_AND || mode > RGN_DIFF) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return ERROR;
        }
        if (!regionOf(b, rb))
            return ERROR;
        result = Region::combine(ra, rb, ops[mode - RGN_AND]);
    }
    const int kind = result.kind();
    return setRegion(dest, result) ? kind : ERROR;
}

BOOL PtInRegion(HRGN region, int x, int y) {
    Region r;
    return regionOf(region, r) && r.contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN region, const RECT* rect) {
    Region r;
    return rect && regionOf(region, r) && r.intersects(*rect) ? TRUE : FALSE;
}

int GetRgnBox(HRGN region, LPRECT box) {
    Region r;
    if (!box || !regionOf(region, r))
        return ERROR;
    *box = r.box();
    return r.kind();
}

int OffsetRgn(HRGN region, int dx, int dy) {
    Region r;
    if (!regionOf(region, r))
        return ERROR;
    const RECT box = r.box();
    if (!r.empty() && (LONGLONG{box.left} + dx < -kLimit || LONGLONG{box.right} + dx > kLimit ||
                       LONGLONG{box.top} + dy < -kLimit || LONGLONG{box.bottom} + dy > kLimit)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    r.offset(dx, dy);
    return setRegion(region, r) ? r.kind() : ERROR;
}

BOOL EqualRgn(HRGN a, HRGN b) {
    Region ra, rb;
    if (!regionOf(a, ra) || !regionOf(b, rb))
        return ERROR;
    return ra == rb ? TRUE : FALSE;
}
