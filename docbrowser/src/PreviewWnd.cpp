#include "docbrowser/PreviewWnd.h"

#include "xtp/PaintManager.h"

namespace DocumentsMenu {

BEGIN_MESSAGE_MAP(PreviewWnd, CWnd)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL PreviewWnd::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, CXTPPaintManager::Current()->GetColors().clrWindow);
    return TRUE;
}

void PreviewWnd::ApplyTheme(int) {
    if (GetSafeHwnd() != nullptr)
        Invalidate();
}

} // namespace DocumentsMenu
