#include "pal/region.h"

#include "win/gdi/objects.h"

#include <algorithm>

namespace pal::gdi {
namespace {

struct Span {
    LONG left, right;
    bool operator==(const Span&) const = default;
};

// The spans of a canonical region's band that covers [top, bottom), which lies inside one band.
void spansAt(const std::vector<RECT>& rects, size_t& cursor, LONG top, LONG bottom, std::vector<Span>& out) {
    out.clear();
    while (cursor < rects.size() && rects[cursor].bottom <= top)
        ++cursor;
    for (size_t i = cursor; i < rects.size() && rects[i].top < bottom; ++i) {
        if (rects[i].top <= top && rects[i].bottom >= bottom)
            out.push_back({rects[i].left, rects[i].right});
    }
}

bool keep(bool inA, bool inB, Region::Op op) {
    switch (op) {
    case Region::Op::And:
        return inA && inB;
    case Region::Op::Or:
        return inA || inB;
    case Region::Op::Xor:
        return inA != inB;
    case Region::Op::Diff:
        return inA && !inB;
    }
    return false;
}

void combineSpans(const std::vector<Span>& a, const std::vector<Span>& b, Region::Op op,
                  std::vector<Span>& out) {
    out.clear();
    std::vector<LONG> xs;
    xs.reserve(2 * (a.size() + b.size()));
    for (const Span& s : a)
        xs.insert(xs.end(), {s.left, s.right});
    for (const Span& s : b)
        xs.insert(xs.end(), {s.left, s.right});
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    size_t ia = 0, ib = 0;
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
        const LONG x0 = xs[i], x1 = xs[i + 1];
        while (ia < a.size() && a[ia].right <= x0)
            ++ia;
        while (ib < b.size() && b[ib].right <= x0)
            ++ib;
        const bool inA = ia < a.size() && a[ia].left <= x0;
        const bool inB = ib < b.size() && b[ib].left <= x0;
        if (!keep(inA, inB, op))
            continue;
        if (!out.empty() && out.back().right == x0)
            out.back().right = x1;
        else
            out.push_back({x0, x1});
    }
}

} // namespace

Region::Region(const RECT& rect) {
    if (!IsRectEmpty(&rect))
        rects_.push_back(rect);
}

Region Region::combine(const Region& a, const Region& b, Op op) {
    std::vector<LONG> ys;
    ys.reserve(2 * (a.rects_.size() + b.rects_.size()));
    for (const RECT& r : a.rects_)
        ys.insert(ys.end(), {r.top, r.bottom});
    for (const RECT& r : b.rects_)
        ys.insert(ys.end(), {r.top, r.bottom});
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    Region result;
    std::vector<Span> sa, sb, spans, previous;
    size_t ca = 0, cb = 0;
    size_t previousStart = 0; // index in result of the previous band's first rectangle
    LONG previousBottom = 0;
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        const LONG top = ys[i], bottom = ys[i + 1];
        spansAt(a.rects_, ca, top, bottom, sa);
        spansAt(b.rects_, cb, top, bottom, sb);
        combineSpans(sa, sb, op, spans);
        if (spans.empty())
            continue;
        if (!previous.empty() && previousBottom == top && spans == previous) {
            for (size_t k = previousStart; k < result.rects_.size(); ++k)
                result.rects_[k].bottom = bottom;
        } else {
            previousStart = result.rects_.size();
            for (const Span& s : spans)
                result.rects_.push_back(RECT{s.left, top, s.right, bottom});
            previous = spans;
        }
        previousBottom = bottom;
    }
    return result;
}

int Region::kind() const {
    return rects_.empty() ? NULLREGION : rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

RECT Region::box() const {
    RECT box{};
    for (const RECT& r : rects_)
        UnionRect(&box, &box, &r);
    return box;
}

bool Region::contains(int x, int y) const {
    const POINT p{x, y};
    return std::any_of(rects_.begin(), rects_.end(), [&](const RECT& r) { return PtInRect(&r, p); });
}

bool Region::intersects(const RECT& rect) const {
    RECT dummy;
    return std::any_of(rects_.begin(), rects_.end(),
                       [&](const RECT& r) { return IntersectRect(&dummy, &r, &rect); });
}

void Region::offset(int dx, int dy) {
    for (RECT& r : rects_)
        OffsetRect(&r, dx, dy);
}

bool Region::operator==(const Region& other) const {
    return std::equal(rects_.begin(), rects_.end(), other.rects_.begin(), other.rects_.end(),
                      [](const RECT& a, const RECT& b) { return EqualRect(&a, &b); });
}

} // namespace pal::gdi
