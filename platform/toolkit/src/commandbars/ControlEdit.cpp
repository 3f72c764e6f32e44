#include "xtp/ControlEdit.h"

#include "xtp/CommandBars.h"
#include "xtp/PaintManager.h"
#include "xtp/PropExchange.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CXTPControlEditCtrl, CEdit)
IMPLEMENT_DYNCREATE(CXTPControlEdit, CXTPControl)

LRESULT CXTPControlEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && m_pControl != nullptr &&
        m_pControl->OnHookKeyDown(static_cast<UINT>(wParam), lParam))
        return 0;
    // Enter and Esc have done their work in the hook; the edit would only beep.
    if (message == WM_CHAR && (wParam == VK_RETURN || wParam == VK_ESCAPE))
        return 0;
    if (message == WM_SETFOCUS) {
        const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
        if (auto* edit = dynamic_cast<CXTPControlEdit*>(m_pControl))
            edit->OnSetFocus(reinterpret_cast<HWND>(wParam));
        return result;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}

CXTPControlEdit::CXTPControlEdit() {
    m_controlType = xtpControlEdit;
}

CXTPControlEdit::~CXTPControlEdit() {
    OnShowWindow(FALSE);
}

CString CXTPControlEdit::GetEditText() const {
    return m_strEditText;
}

void CXTPControlEdit::SetEditText(LPCWSTR lpszText) {
    const CString text(lpszText != nullptr ? lpszText : L"");
    if (text == m_strEditText)
        return;
    m_strEditText = text;
    if (m_pEdit != nullptr && m_pEdit->m_hWnd != nullptr) {
        m_bSettingText = TRUE;
        m_pEdit->SetWindowText(text);
        m_bSettingText = FALSE;
    }
    RedrawParent();
}

void CXTPControlEdit::textFromWindow() {
    if (m_pEdit == nullptr || m_pEdit->m_hWnd == nullptr || m_bSettingText)
        return;
    CString text;
    m_pEdit->GetWindowText(text);
    if (text == m_strEditText)
        return;
    m_strEditText = text;
    OnEditChanged();
}

void CXTPControlEdit::OnEditChanged() {
    CXTPCommandBar* bar = GetParent();
    CWnd* site = bar != nullptr ? bar->GetSite() : nullptr;
    if (site != nullptr && site->m_hWnd != nullptr && m_nId != 0)
        site->SendMessage(WM_COMMAND, MAKEWPARAM(m_nId, EN_CHANGE), reinterpret_cast<LPARAM>(bar->m_hWnd));
}

BOOL CXTPControlEdit::OnHookKeyDown(UINT nChar, LPARAM) {
    if (nChar == VK_RETURN) {
        textFromWindow();
        OnExecute();
        return TRUE;
    }
    if (nChar == VK_ESCAPE) {
        if (CXTPCommandBar* bar = GetParent(); bar != nullptr && bar->GetSite() != nullptr)
            bar->GetSite()->SetFocus();
        return TRUE;
    }
    return FALSE;
}

CRect CXTPControlEdit::GetEditRect() const {
    CRect rc = m_rcControl;
    if (m_bShowLabel && m_pParent != nullptr && m_pParent->m_hWnd != nullptr) {
        CClientDC dc(m_pParent);
        CFont* old = dc.SelectObject(CXTPPaintManager::Current()->GetRegularFont());
        rc.left += dc.GetTextExtent(CXTPDrawHelpers::StripMnemonics(m_strCaption.GetString())).cx +
                   CXTPDpi::ScaleX(8);
        dc.SelectObject(old);
    }
    rc.DeflateRect(CXTPDpi::ScaleX(3), CXTPDpi::ScaleY(3));
    return rc;
}

CSize CXTPControlEdit::GetSize(CDC* pDC) {
    int width = m_nWidth > 0 ? m_nWidth : CXTPDpi::ScaleX(120);
    if (m_bShowLabel)
        width += pDC->GetTextExtent(CXTPDrawHelpers::StripMnemonics(m_strCaption.GetString())).cx +
                 CXTPDpi::ScaleX(8);
    const CXTPPaintManager* pm = CXTPPaintManager::Current();
    const int height = m_nHeight > 0                                     ? m_nHeight
                       : m_pParent != nullptr && m_pParent->IsPopupBar() ? pm->GetPopupItemHeight()
                                                                         : pm->GetButtonHeight();
    return CSize(width, height);
}

void CXTPControlEdit::Draw(CDC* pDC) {
    const XTP_THEME_COLORS& c = CXTPPaintManager::Current()->GetColors();
    if (m_bShowLabel) {
        CRect label = m_rcControl;
        label.right = GetEditRect().left;
        label.left += CXTPDpi::ScaleX(3);
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(m_bEnabled ? c.clrText : c.clrTextDisabled);
        pDC->DrawText(m_strCaption, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_HIDEPREFIX);
    }
    CRect field = GetEditRect();
    field.InflateRect(2, 2);
    pDC->FillSolidRect(&field, m_bEnabled ? c.clrEditFace : c.clrBarFace);
    const COLORREF border = m_bSelected && m_bEnabled ? c.clrAccent : c.clrEditBorder;
    pDC->Draw3dRect(&field, border, border);
    // Without its window (not shown yet) the field shows the text itself.
    if (m_pEdit == nullptr || m_pEdit->m_hWnd == nullptr) {
        CRect text = GetEditRect();
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(m_bEnabled ? c.clrWindowText : c.clrTextDisabled);
        pDC->DrawText(m_strEditText, &text,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

void CXTPControlEdit::OnClick(BOOL, CPoint) {
    if (m_pEdit != nullptr && m_pEdit->m_hWnd != nullptr && m_bEnabled) {
        m_pEdit->SetFocus();
        m_pEdit->SetSel(0, -1);
    }
}

void CXTPControlEdit::PlaceEditWindow() {
    if (m_pEdit == nullptr || m_pEdit->m_hWnd == nullptr)
        return;
    const CRect rc = GetEditRect();
    m_pEdit->MoveWindow(&rc, FALSE);
}

void CXTPControlEdit::OnShowWindow(BOOL bShow) {
    if (m_pEdit != nullptr && m_pEdit->m_hWnd == nullptr) {
        delete m_pEdit; // its window went with its bar's
        m_pEdit = nullptr;
    }
    if (!bShow || m_pParent == nullptr || m_pParent->m_hWnd == nullptr || m_rcControl.IsRectEmpty()) {
        if (m_pEdit != nullptr) {
            if (m_pEdit->m_hWnd != nullptr)
                m_pEdit->DestroyWindow();
            delete m_pEdit;
            m_pEdit = nullptr;
        }
        return;
    }
    if (m_pEdit == nullptr) {
        m_pEdit = CreateEditCtrl();
        DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
        if (m_bReadOnly)
            style |= ES_READONLY;
        if (!m_pEdit->Create(style, GetEditRect(), m_pParent, static_cast<UINT>(m_nId))) {
            delete m_pEdit;
            m_pEdit = nullptr;
            return;
        }
        m_pEdit->SendMessage(
            WM_SETFONT,
            reinterpret_cast<WPARAM>(CXTPPaintManager::Current()->GetRegularFont()->GetSafeHandle()), TRUE);
        m_bSettingText = TRUE;
        m_pEdit->SetWindowText(m_strEditText);
        m_bSettingText = FALSE;
        m_pEdit->EnableWindow(m_bEnabled);
        return;
    }
    PlaceEditWindow();
}

void CXTPControlEdit::OnEnabledChanged() {
    if (m_pEdit != nullptr && m_pEdit->m_hWnd != nullptr)
        m_pEdit->EnableWindow(m_bEnabled);
}

void CXTPControlEdit::Copy(CXTPControl* pControl, BOOL bRecursive) {
    CXTPControl::Copy(pControl, bRecursive);
    if (auto* other = dynamic_cast<CXTPControlEdit*>(pControl)) {
        m_strEditText = other->m_strEditText;
        m_bShowLabel = other->m_bShowLabel;
        m_bReadOnly = other->m_bReadOnly;
    }
}

void CXTPControlEdit::DoPropExchange(CXTPPropExchange* pPX) {
    CXTPControl::DoPropExchange(pPX);
    PX_Bool(pPX, L"ShowLabel", m_bShowLabel, FALSE);
    PX_Bool(pPX, L"ReadOnly", m_bReadOnly, FALSE);
}
