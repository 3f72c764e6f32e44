// A three-dimensional extent with exclusive right, bottom and back edges.
#pragma once

#include "pal/visibility.h"

#include <cstdint>

DV_EXPORTS_BEGIN

namespace Image {

template <typename T> struct BoxT {
    T left = 0, top = 0, right = 1, bottom = 1, front = 0, back = 1;

    BoxT() = default;
    BoxT(T width, T height, T depth) : right(width), bottom(height), back(depth) {}
    BoxT(T l, T t, T r, T b) : left(l), top(t), right(r), bottom(b) {}
    // The three minima first, then the three maxima.
    BoxT(T l, T t, T f, T r, T b, T bk) : left(l), top(t), right(r), bottom(b), front(f), back(bk) {}

    bool operator==(const BoxT& other) const = default;

    bool Contains(const BoxT& other) const {
        return other.left >= left && other.top >= top && other.front >= front && other.right <= right &&
               other.bottom <= bottom && other.back <= back;
    }

    T GetWidth() const { return right - left; }
    T GetHeight() const { return bottom - top; }
    T GetDepth() const { return back - front; }
};

using Box = BoxT<unsigned>;

} // namespace Image

DV_EXPORTS_END
