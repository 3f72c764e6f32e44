#include "Palette.h"

namespace dvtk::docking {

const Palette& palette(bool dark) {
    static const Palette light{RGB(238, 238, 242), RGB(222, 225, 231), RGB(30, 30, 30),    RGB(0, 122, 204),
                               RGB(255, 255, 255), RGB(222, 225, 231), RGB(60, 60, 60),    RGB(255, 255, 255),
                               RGB(0, 90, 158),    RGB(204, 206, 219), RGB(255, 255, 255), RGB(70, 70, 70)};
    static const Palette night{RGB(45, 45, 48),    RGB(63, 63, 70), RGB(220, 220, 220), RGB(0, 122, 204),
                               RGB(255, 255, 255), RGB(51, 51, 55), RGB(190, 190, 190), RGB(30, 30, 30),
                               RGB(86, 156, 214),  RGB(67, 67, 70), RGB(30, 30, 30),    RGB(210, 210, 210)};
    return dark ? night : light;
}

void drawText(CDC& dc, const CString& text, CRect rc, COLORREF colour, UINT format) {
    CGdiObject* old = dc.SelectStockObject(DEFAULT_GUI_FONT);
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
