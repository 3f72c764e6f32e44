#include "xtp/ThemedControls.h"

IMPLEMENT_DYNAMIC(CXTPComboBox, CComboBox)
IMPLEMENT_DYNAMIC(CXTPListBox, CListBox)
IMPLEMENT_DYNAMIC(CXTPTreeCtrl, CTreeCtrl)

namespace {

// A flat look's one-pixel border over the control's edge.
void flatBorder(CWnd* wnd, XTPControlTheme theme) {
    const XTP_CONTROL_THEME_COLORS c = XTPGetControlThemeColors(theme);
    if (!c.bFlat || wnd->m_hWnd == nullptr)
        return;
    CClientDC dc(wnd);
    CRect r;
    wnd->GetClientRect(&r);
    dc.Draw3dRect(&r, c.clrBorder, c.clrBorder);
}

} // namespace

void CXTPComboBox::SetTheme(XTPControlTheme theme) {
    theme_ = theme;
    if (m_hWnd != nullptr)
        Invalidate();
}

LRESULT CXTPComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CComboBox::WindowProc(message, wParam, lParam);
    if (message == WM_PAINT)
        flatBorder(this, theme_);
    return result;
}

void CXTPListBox::SetTheme(XTPControlTheme theme) {
    theme_ = theme;
    if (m_hWnd != nullptr)
        Invalidate();
}

LRESULT CXTPListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CListBox::WindowProc(message, wParam, lParam);
    if (message == WM_PAINT)
        flatBorder(this, theme_);
    return result;
}

void CXTPTreeBase::SetTheme(XTPControlTheme theme) {
    theme_ = theme;
    if (tree_ == nullptr || tree_->m_hWnd == nullptr)
        return;
    const XTP_CONTROL_THEME_COLORS c = XTPGetControlThemeColors(theme);
    if (theme == xtpControlThemeDefault || theme == xtpControlThemeFlat) {
        // -1: the system's colours again.
        tree_->SetBkColor(static_cast<COLORREF>(-1));
        tree_->SetTextColor(static_cast<COLORREF>(-1));
        tree_->SetLineColor(CLR_DEFAULT);
    } else {
        tree_->SetBkColor(c.clrFace);
        tree_->SetTextColor(c.clrText);
        tree_->SetLineColor(c.clrBorder);
    }
    tree_->Invalidate();
}
