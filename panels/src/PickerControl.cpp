#include "PickerControl.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "panels/DataExchange.h"
#include "xtp/CommandBar.h"
#include "xtp/PaintManager.h"

#include <algorithm>

namespace panels::picker {

CSize Size(CXTPControl& control) {
    const int barButton = CXTPPaintManager::Current()->GetButtonHeight();
    return CSize(control.GetWidth(), std::max(barButton - 2, 20));
}

CRect DrawFrame(CDC* dc, CXTPControl& control) {
    CXTPPaintManager* paint = CXTPPaintManager::Current();
    dc->SelectObject(paint->GetRegularFont());
    CRect rect = control.GetRect();
    CBrush ground(paint->GetXtremeColor(COLOR_WINDOW));
    dc->FillRect(&rect, &ground);
    const COLORREF edge = paint->GetXtremeColor(COLOR_BTNSHADOW);
    dc->Draw3dRect(&rect, edge, edge);
    CRect content = rect;
    content.left += 3;
    content.right -= CXTPDpi::ScaleX(5) + CXTPDpi::ScaleX(9);
    CRect arrow(content.right, rect.top, rect.right - CXTPDpi::ScaleX(3), rect.bottom);
    paint->DrawArrow(dc, arrow, TRUE,
                     paint->GetXtremeColor(control.GetEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    return content;
}

int DrawText(CDC* dc, CXTPControl& control, const CRect& content, const std::wstring& text) {
    if (text.empty())
        return 0;
    CXTPPaintManager* paint = CXTPPaintManager::Current();
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(paint->GetXtremeColor(control.GetEnabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    CRect box = content;
    dc->DrawText(text.c_str(), static_cast<int>(text.size()), &box,
                 DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    CRect measured = content;
    dc->DrawText(text.c_str(), static_cast<int>(text.size()), &measured,
                 DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    return std::min(measured.Width(), content.Width());
}

CDvw32Doc* ActiveDocument(const CXTPControl& control) {
    CFrameWnd* frame = GetControlFrame(&control);
    return frame != nullptr ? DVGetActiveDoc(frame->GetSafeHwnd()) : nullptr;
}

CRect InitialDialogRect() {
    return CRect(0, 0, CXTPDpi::ScaleX(300), CXTPDpi::ScaleY(300));
}

void ShowUnder(CDialog& dialog, CXTPControl& control, const CRect& rect) {
    CRect place = control.GetRect();
    control.GetParent()->ClientToScreen(&place);
    dialog.SetWindowPos(nullptr, place.left, place.bottom + 1, rect.Width(), rect.Height(),
                        SWP_NOZORDER | SWP_NOACTIVATE);
    dialog.ShowWindow(SW_SHOWNOACTIVATE);
}

void KeepSize(CRect& rect, CSize size) {
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
}

void CloseDropDown(CDialog* dialog, CXTPControl& control) {
    control.SetPressed(FALSE);
    control.RedrawParent();
    if (dialog != nullptr && dialog->GetSafeHwnd() != nullptr) {
        dialog->EndDialog(0);
        dialog->DestroyWindow();
    }
}

} // namespace panels::picker
