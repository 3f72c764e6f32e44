#include "Palette.h"

#include "xtp/PaintManager.h"

#include <cstdlib>

namespace dvtk::docking {

namespace {

int luminance(COLORREF c) {
    return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000;
}

// The text of a selected list item is written on the theme's light highlight; where the accent
// is dark the same text would vanish on it, and white is written there instead.
COLORREF textOnAccent(const XTP_THEME_COLORS& c) {
    if (std::abs(luminance(c.clrAccent) - luminance(c.clrHighlightText)) >= 100)
        return c.clrHighlightText;
    return luminance(c.clrAccent) < 128 ? RGB(255, 255, 255) : RGB(0, 0, 0);
}

} // namespace

Palette currentPalette() {
    const XTP_THEME_COLORS& c = CXTPPaintManager::Current()->GetColors();
    return Palette{c.clrBarFace,    c.clrPopupGutter, c.clrText,  c.clrAccent,
                   textOnAccent(c), c.clrBarFace,     c.clrText,  c.clrWindow,
                   c.clrWindowText, c.clrBarBorder,   c.clrWindow};
}

void drawText(CDC& dc, const CString& text, CRect rc, COLORREF colour, UINT format) {
    CFont* old = dc.SelectObject(CXTPPaintManager::Current()->GetRegularFont());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(colour);
    dc.DrawText(text, &rc, format | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    dc.SelectObject(old);
}

void drawCloseGlyph(CDC& dc, const CRect& rc, COLORREF colour) {
    CPen pen(PS_SOLID, 2, colour);
    CPen* old = dc.SelectObject(&pen);
    const CPoint c = rc.CenterPoint();
    dc.MoveTo(c.x - 4, c.y - 4);
    dc.LineTo(c.x + 4, c.y + 4);
    dc.MoveTo(c.x + 4, c.y - 4);
    dc.LineTo(c.x - 4, c.y + 4);
    dc.SelectObject(old);
}

// A drawing pin: upright when the container is docked, lying down when it is collapsed.
void drawPinGlyph(CDC& dc, const CRect& rc, COLORREF colour, bool pinned) {
    CPen pen(PS_SOLID, 1, colour);
    CPen* old = dc.SelectObject(&pen);
    CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
    const CPoint c = rc.CenterPoint();
    if (pinned) {
        dc.Rectangle(c.x - 3, c.y - 5, c.x + 3, c.y + 1);
        dc.MoveTo(c.x - 5, c.y + 1);
        dc.LineTo(c.x + 6, c.y + 1);
        dc.MoveTo(c.x, c.y + 1);
        dc.LineTo(c.x, c.y + 6);
    } else {
        dc.Rectangle(c.x - 1, c.y - 3, c.x + 5, c.y + 3);
        dc.MoveTo(c.x - 1, c.y - 5);
        dc.LineTo(c.x - 1, c.y + 6);
        dc.MoveTo(c.x - 1, c.y);
        dc.LineTo(c.x - 6, c.y);
    }
    dc.SelectObject(oldBrush);
    dc.SelectObject(old);
}

} // namespace dvtk::docking
