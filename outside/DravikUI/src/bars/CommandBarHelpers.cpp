#include "DravikUI/CommandBarHelpers.h"

#include "xtp/PaintManager.h"

#include <map>

namespace Dravik::UI {
namespace {

// Lock counts by bar; a bar is only ever locked on the user-interface thread.
std::map<const CXTPCommandBar*, int>& locks() {
    static auto* counts = new std::map<const CXTPCommandBar*, int>;
    return *counts;
}

} // namespace

void LockRedraw(CXTPCommandBar* bar) {
    if (bar != nullptr && ++locks()[bar] == 1)
        bar->SuppressRedraw(TRUE);
}

void UnlockRedraw(CXTPCommandBar* bar) {
    const auto found = locks().find(bar);
    if (found == locks().end())
        return;
    if (--found->second > 0)
        return;
    locks().erase(found);
    bar->SuppressRedraw(FALSE);
    if (bar->GetSafeHwnd() != nullptr) {
        bar->Invalidate(FALSE);
        bar->UpdateWindow();
    }
}

bool IsRedrawLocked(const CXTPCommandBar* bar) {
    return locks().count(bar) != 0;
}

void DrawPopupTriangle(CDC* pDC, CXTPControl* control) {
    if (pDC == nullptr || control == nullptr)
        return;
    const CRect rc = control->GetRect();
    const int size = CXTPDpi::ScaleX(5);
    const CXTPPaintManager* paint = CXTPPaintManager::Current();
    const COLORREF colour = paint == nullptr        ? RGB(0, 0, 0)
                            : control->GetEnabled() ? paint->GetColors().clrText
                                                    : paint->GetColors().clrTextDisabled;
    const CPoint corner(rc.right - 2, rc.bottom - 2);
    const POINT points[3] = {{corner.x, corner.y - size}, {corner.x, corner.y}, {corner.x - size, corner.y}};
    CBrush brush(colour);
    CPen pen(PS_SOLID, 1, colour);
    CBrush* oldBrush = pDC->SelectObject(&brush);
    CPen* oldPen = pDC->SelectObject(&pen);
    pDC->Polygon(points, 3);
    pDC->SelectObject(oldPen);
    pDC->SelectObject(oldBrush);
}

} // namespace Dravik::UI
