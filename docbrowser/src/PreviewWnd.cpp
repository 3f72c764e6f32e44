#include "docbrowser/PreviewWnd.h"

namespace DocumentsMenu {

BEGIN_MESSAGE_MAP(PreviewWnd, CWnd)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL PreviewWnd::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, ::GetSysColor(COLOR_WINDOW));
    return TRUE;
}

} // namespace DocumentsMenu
