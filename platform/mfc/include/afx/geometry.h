// CPoint, CSize and CRect: the platform's POINT, SIZE and RECT with their usual helpers.
#pragma once

#include "pal/visibility.h"
#include "win/rect.h"
#include "win/types.h"

#include <utility>

DV_EXPORTS_BEGIN

class CSize : public SIZE {
public:
    CSize() : SIZE{0, 0} {}
    CSize(int cx, int cy) : SIZE{cx, cy} {}
    CSize(SIZE s) : SIZE(s) {}
    explicit CSize(POINT p) : SIZE{p.x, p.y} {}
    bool operator==(const SIZE& o) const { return cx == o.cx && cy == o.cy; }
    bool operator!=(const SIZE& o) const { return !(*this == o); }
    void operator+=(SIZE s) {
        cx += s.cx;
        cy += s.cy;
    }
    void operator-=(SIZE s) {
        cx -= s.cx;
        cy -= s.cy;
    }
    CSize operator+(SIZE s) const { return CSize(cx + s.cx, cy + s.cy); }
    CSize operator-(SIZE s) const { return CSize(cx - s.cx, cy - s.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
};

class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int x, int y) : POINT{x, y} {}
    CPoint(POINT p) : POINT(p) {}
    explicit CPoint(SIZE s) : POINT{s.cx, s.cy} {}
    explicit CPoint(LPARAM lParam) : POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)} {}
    void Offset(int dx, int dy) {
        x += dx;
        y += dy;
    }
    void Offset(POINT p) { Offset(p.x, p.y); }
    void Offset(SIZE s) { Offset(s.cx, s.cy); }
    void SetPoint(int px, int py) {
        x = px;
        y = py;
    }
    bool operator==(const POINT& o) const { return x == o.x && y == o.y; }
    bool operator!=(const POINT& o) const { return !(*this == o); }
    void operator+=(SIZE s) { Offset(s); }
    void operator-=(SIZE s) { Offset(-s.cx, -s.cy); }
    void operator+=(POINT p) { Offset(p); }
    void operator-=(POINT p) { Offset(-p.x, -p.y); }
    CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
    CPoint operator+(POINT p) const { return CPoint(x + p.x, y + p.y); }
    // The distance between two points is a size.
    CSize operator-(POINT p) const { return CSize(x - p.x, y - p.y); }
    CPoint operator-() const { return CPoint(-x, -y); }
};

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}
    CRect(LPCRECT r) : RECT(*r) {}
    CRect(POINT topLeft, SIZE size) : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
    CRect(POINT topLeft, POINT bottomRight) : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    void SetRect(int l, int t, int r, int b) { *this = CRect(l, t, r, b); }
    void SetRect(POINT topLeft, POINT bottomRight) { *this = CRect(topLeft, bottomRight); }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void CopyRect(LPCRECT r) { *this = CRect(*r); }
    bool EqualRect(LPCRECT r) const { return *this == *r; }
    void OffsetRect(int dx, int dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
    void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
    void InflateRect(int dx, int dy) {
        left -= dx;
        right += dx;
        top -= dy;
        bottom += dy;
    }
    void InflateRect(SIZE s) { InflateRect(s.cx, s.cy); }
    // Each side moves outwards by its own amount.
    void InflateRect(LPCRECT r) { InflateRect(r->left, r->top, r->right, r->bottom); }
    void InflateRect(int l, int t, int r, int b) {
        left -= l;
        top -= t;
        right += r;
        bottom += b;
    }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void DeflateRect(SIZE s) { InflateRect(-s.cx, -s.cy); }
    void DeflateRect(LPCRECT r) { InflateRect(-r->left, -r->top, -r->right, -r->bottom); }
    void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
    // Swaps the sides that are the wrong way round.
    void NormalizeRect() {
        if (left > right)
            std::swap(left, right);
        if (top > bottom)
            std::swap(top, bottom);
    }
    void MoveToX(int x) {
        right = x + Width();
        left = x;
    }
    void MoveToY(int y) {
        bottom = y + Height();
        top = y;
    }
    void MoveToXY(int x, int y) {
        MoveToX(x);
        MoveToY(y);
    }
    void MoveToXY(POINT p) { MoveToXY(p.x, p.y); }
    BOOL IntersectRect(LPCRECT a, LPCRECT b) { return ::IntersectRect(this, a, b); }
    BOOL UnionRect(LPCRECT a, LPCRECT b) { return ::UnionRect(this, a, b); }
    // What is left of `a` once `b` is taken away, when that is a rectangle; else `a`.
    BOOL SubtractRect(LPCRECT a, LPCRECT b);

    bool operator==(const RECT& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const RECT& o) const { return !(*this == o); }
    void operator+=(POINT p) { OffsetRect(p); }
    void operator+=(SIZE s) { OffsetRect(s); }
    void operator+=(LPCRECT r) { InflateRect(r); }
    void operator-=(POINT p) { OffsetRect(-p.x, -p.y); }
    void operator-=(SIZE s) { OffsetRect(-s.cx, -s.cy); }
    void operator-=(LPCRECT r) { DeflateRect(r); }
    void operator&=(const RECT& r) { IntersectRect(this, &r); }
    void operator|=(const RECT& r) { UnionRect(this, &r); }
    CRect operator+(POINT p) const { return Moved(p.x, p.y); }
    CRect operator+(SIZE s) const { return Moved(s.cx, s.cy); }
    CRect operator-(POINT p) const { return Moved(-p.x, -p.y); }
    CRect operator-(SIZE s) const { return Moved(-s.cx, -s.cy); }
    CRect operator+(LPCRECT r) const {
        CRect out(*this);
        out.InflateRect(r);
        return out;
    }
    CRect operator-(LPCRECT r) const {
        CRect out(*this);
        out.DeflateRect(r);
        return out;
    }
    CRect operator&(const RECT& r) const {
        CRect out;
        out.IntersectRect(this, &r);
        return out;
    }
    CRect operator|(const RECT& r) const {
        CRect out;
        out.UnionRect(this, &r);
        return out;
    }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

private:
    CRect Moved(int dx, int dy) const {
        CRect out(*this);
        out.OffsetRect(dx, dy);
        return out;
    }
};

inline BOOL CRect::SubtractRect(LPCRECT a, LPCRECT b) {
    CRect out(*a);
    RECT overlap;
    if (::IntersectRect(&overlap, a, b)) {
        const bool fullWidth = overlap.left == a->left && overlap.right == a->right;
        const bool fullHeight = overlap.top == a->top && overlap.bottom == a->bottom;
        if (fullWidth && fullHeight)
            out.SetRectEmpty();
        else if (fullWidth && overlap.top == a->top)
            out.top = overlap.bottom;
        else if (fullWidth && overlap.bottom == a->bottom)
            out.bottom = overlap.top;
        else if (fullHeight && overlap.left == a->left)
            out.left = overlap.right;
        else if (fullHeight && overlap.right == a->right)
            out.right = overlap.left;
    }
    *this = out;
    return !IsRectEmpty();
}

DV_EXPORTS_END
