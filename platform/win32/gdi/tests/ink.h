// Where something was drawn on a canvas: the bounds of the pixels that differ from the
// background, and a font helper for the text tests.
#pragma once

#include "canvas.h"

#include <algorithm>
#include <climits>
#include <cwchar>

struct Ink {
    RECT bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN}; // right and bottom exclusive
    int pixels = 0;
    bool empty() const { return pixels == 0; }
};

inline Ink inkOf(const Canvas& c, COLORREF background = RGB(255, 255, 255), RECT area = {0, 0, -1, -1}) {
    if (area.right < 0)
        area = RECT{0, 0, c.width, c.height};
    Ink ink;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (GetPixel(c.dc, x, y) != background) {
                ++ink.pixels;
                ink.bounds.left = std::min<LONG>(ink.bounds.left, x);
                ink.bounds.top = std::min<LONG>(ink.bounds.top, y);
                ink.bounds.right = std::max<LONG>(ink.bounds.right, x + 1);
                ink.bounds.bottom = std::max<LONG>(ink.bounds.bottom, y + 1);
            }
    return ink;
}

inline bool inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Glyphs may reach a pixel past their advance on either side (side bearings, smoothing).
inline RECT withBearings(RECT r) {
    r.left -= 1;
    r.right += 1;
    return r;
}

inline HFONT makeFont(const wchar_t* face, LONG height, LONG weight = FW_NORMAL) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectW(&lf);
}

// A canvas with a font selected, black text and a transparent background.
struct TextCanvas : Canvas {
    HFONT font;
    HGDIOBJ previousFont;
    TextCanvas(int w, int h, const wchar_t* face = L"Tahoma", LONG height = -13) : Canvas(w, h) {
        font = makeFont(face, height);
        previousFont = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
    }
    ~TextCanvas() {
        SelectObject(dc, previousFont);
        DeleteObject(font);
    }
    LONG width(const wchar_t* text, int count = -1) const {
        SIZE s{};
        GetTextExtentPoint32W(dc, text, count < 0 ? int(std::wcslen(text)) : count, &s);
        return s.cx;
    }
    TEXTMETRICW metrics() const {
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        return tm;
    }
};
