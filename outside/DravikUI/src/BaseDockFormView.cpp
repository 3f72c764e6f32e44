#include "DravikUI/BaseDockFormView.h"

#include "win/base.h"

namespace {
COLORREF g_background = RGB(255, 255, 255);
}

void CBaseDockFormView::SetDefaultBackgroundColor(COLORREF color) {
    g_background = color;
}

COLORREF CBaseDockFormView::GetDefaultBackgroundColor() {
    return g_background;
}
