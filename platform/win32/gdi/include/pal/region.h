// A set of pixels as a list of non-overlapping rectangles in bands: rows of equal top and
// bottom, sorted by top and then by left, with touching equal bands merged. The form is
// canonical, so two regions hold the same pixels exactly when their lists are equal.
#pragma once

#include "pal/visibility.h"

#include "win/rect.h"

#include <vector>

DV_EXPORTS_BEGIN

namespace pal::gdi {

class Region {
public:
    enum class Op { And, Or, Xor, Diff };

    Region() = default;
    explicit Region(const RECT& rect);

    static Region combine(const Region& a, const Region& b, Op op);
    Region& unite(const Region& other) { return *this = combine(*this, other, Op::Or); }
    Region& intersect(const Region& other) { return *this = combine(*this, other, Op::And); }
    Region& subtract(const Region& other) { return *this = combine(*this, other, Op::Diff); }

    bool empty() const { return rects_.empty(); }
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int kind() const;
    RECT box() const;
    bool contains(int x, int y) const;
    bool intersects(const RECT& rect) const;
    void offset(int dx, int dy);
    const std::vector<RECT>& rects() const { return rects_; }
    bool operator==(const Region& other) const;

private:
    std::vector<RECT> rects_;
};

} // namespace pal::gdi

DV_EXPORTS_END
