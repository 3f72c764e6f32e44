// Rectangle arithmetic: shared by the window layer and the drawing layer.
#pragma once

#include "pal/visibility.h"

#include "win/types.h"

DV_EXPORTS_BEGIN

inline BOOL SetRect(LPRECT r, int left, int top, int right, int bottom) {
    if (!r)
        return FALSE;
    *r = RECT{left, top, right, bottom};
    return TRUE;
}
inline BOOL SetRectEmpty(LPRECT r) {
    return SetRect(r, 0, 0, 0, 0);
}
inline BOOL CopyRect(LPRECT to, const RECT* from) {
    if (!to || !from)
        return FALSE;
    *to = *from;
    return TRUE;
}
inline BOOL IsRectEmpty(const RECT* r) {
    return !r || r->right <= r->left || r->bottom <= r->top;
}
inline BOOL PtInRect(const RECT* r, POINT p) {
    return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}
inline BOOL EqualRect(const RECT* a, const RECT* b) {
    return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}
inline BOOL OffsetRect(LPRECT r, int dx, int dy) {
    if (!r)
        return FALSE;
    r->left += dx;
    r->right += dx;
    r->top += dy;
    r->bottom += dy;
    return TRUE;
}
inline BOOL InflateRect(LPRECT r, int dx, int dy) {
    if (!r)
        return FALSE;
    r->left -= dx;
    r->right += dx;
    r->top -= dy;
    r->bottom += dy;
    return TRUE;
}
// Empty when the two do not overlap; the answer says whether they do.
inline BOOL IntersectRect(LPRECT out, const RECT* a, const RECT* b) {
    if (!out || !a || !b)
        return FALSE;
    RECT r{a->left > b->left ? a->left : b->left, a->top > b->top ? a->top : b->top,
           a->right < b->right ? a->right : b->right, a->bottom < b->bottom ? a->bottom : b->bottom};
    if (IsRectEmpty(&r)) {
        SetRectEmpty(out);
        return FALSE;
    }
    *out = r;
    return TRUE;
}
// An empty rectangle adds nothing; the answer says whether the union is non-empty.
inline BOOL UnionRect(LPRECT out, const RECT* a, const RECT* b) {
    if (!out || !a || !b)
        return FALSE;
    if (IsRectEmpty(a)) {
        if (IsRectEmpty(b)) {
            SetRectEmpty(out);
            return FALSE;
        }
        *out = *b;
        return TRUE;
    }
    if (IsRectEmpty(b)) {
        *out = *a;
        return TRUE;
    }
    *out = RECT{a->left < b->left ? a->left : b->left, a->top < b->top ? a->top : b->top,
                a->right > b->right ? a->right : b->right, a->bottom > b->bottom ? a->bottom : b->bottom};
    return TRUE;
}

DV_EXPORTS_END
