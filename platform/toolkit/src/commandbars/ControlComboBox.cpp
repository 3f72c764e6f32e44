#include "xtp/ControlComboBox.h"

#include "xtp/CommandBars.h"
#include "xtp/PaintManager.h"
#include "xtp/PropExchange.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CXTPControlComboBoxEditCtrl, CXTPControlEditCtrl)
IMPLEMENT_DYNAMIC(CXTPControlComboBoxList, CXTPPopupBar)
IMPLEMENT_DYNCREATE(CXTPControlComboBox, CXTPControlEdit)

namespace {

// A row of the dropped-down list: choosing it chooses the item.
class ComboItem : public CXTPControlButton {
public:
    ComboItem(CXTPControlComboBox* combo, int index) : combo_(combo), index_(index) {
        m_dwFlags = xtpFlagManualUpdate;
    }
    void OnExecute() override {
        CXTPControlComboBox* combo = combo_;
        const int index = index_;
        combo->ShowDropDown(FALSE); // this row goes with the list
        combo->OnSelChanged(index);
    }

private:
    CXTPControlComboBox* combo_;
    int index_;
};

} // namespace

CXTPControlComboBoxList::CXTPControlComboBoxList(CXTPControlComboBox* pCombo) : m_pCombo(pCombo) {}

void CXTPControlComboBoxList::Rebuild() {
    m_pControls->RemoveAll();
    if (m_pCombo == nullptr)
        return;
    for (int i = 0; i < m_pCombo->GetCount(); ++i) {
        auto* row = new ComboItem(m_pCombo, i);
        row->SetCaption(m_pCombo->GetLBText(i));
        row->SetChecked(i == m_pCombo->GetCurSel());
        m_pControls->Add(row);
    }
}

CXTPControlComboBox::CXTPControlComboBox() {
    m_controlType = xtpControlComboBox;
}

CXTPControlComboBox::~CXTPControlComboBox() {
    if (m_pList != nullptr) {
        m_pList->Close();
        m_pList->InternalRelease();
    }
}

int CXTPControlComboBox::AddString(LPCWSTR lpszString) {
    return InsertString(-1, lpszString);
}

int CXTPControlComboBox::InsertString(int nIndex, LPCWSTR lpszString) {
    Item item{CString(lpszString != nullptr ? lpszString : L""), 0};
    if (nIndex < 0 || nIndex >= GetCount()) {
        m_items.push_back(item);
        return GetCount() - 1;
    }
    m_items.insert(m_items.begin() + nIndex, item);
    if (m_nCurSel >= nIndex)
        ++m_nCurSel;
    return nIndex;
}

int CXTPControlComboBox::DeleteString(int nIndex) {
    if (nIndex < 0 || nIndex >= GetCount())
        return CB_ERR;
    m_items.erase(m_items.begin() + nIndex);
    if (m_nCurSel == nIndex)
        m_nCurSel = -1;
    else if (m_nCurSel > nIndex)
        --m_nCurSel;
    return GetCount();
}

void CXTPControlComboBox::ResetContent() {
    m_items.clear();
    m_nCurSel = -1;
}

void CXTPControlComboBox::GetLBText(int nIndex, CString& rString) const {
    rString = GetLBText(nIndex);
}

CString CXTPControlComboBox::GetLBText(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_items[static_cast<size_t>(nIndex)].text : CString();
}

int CXTPControlComboBox::FindStringExact(int nStartAfter, LPCWSTR lpszString) const {
    for (int i = std::max(0, nStartAfter + 1); i < GetCount(); ++i) {
        if (m_items[static_cast<size_t>(i)].text.CompareNoCase(lpszString) == 0)
            return i;
    }
    return CB_ERR;
}

int CXTPControlComboBox::FindString(int nStartAfter, LPCWSTR lpszString) const {
    const int count = GetCount();
    const CString prefix(lpszString);
    const int start = nStartAfter >= 0 && nStartAfter < count ? nStartAfter + 1 : 0;
    for (int n = 0; n < count; ++n) {
        const int i = (start + n) % count;
        if (m_items[static_cast<size_t>(i)].text.Left(prefix.GetLength()).CompareNoCase(prefix) == 0)
            return i;
    }
    return CB_ERR;
}

DWORD_PTR CXTPControlComboBox::GetItemData(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_items[static_cast<size_t>(nIndex)].data : 0;
}

int CXTPControlComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
    if (nIndex < 0 || nIndex >= GetCount())
        return CB_ERR;
    m_items[static_cast<size_t>(nIndex)].data = dwItemData;
    return 0;
}

int CXTPControlComboBox::SetCurSel(int nSelect) {
    if (nSelect < -1 || nSelect >= GetCount())
        return CB_ERR;
    m_nCurSel = nSelect;
    SetEditText(GetLBText(nSelect));
    RedrawParent();
    return nSelect;
}

void CXTPControlComboBox::SetDropDownListStyle(BOOL bDropDownListStyle) {
    m_bDropDownList = bDropDownListStyle;
    DelayLayoutParent();
}

BOOL CXTPControlComboBox::GetDroppedState() const {
    return m_pList != nullptr && m_pList->IsOpen();
}

BOOL CXTPControlComboBox::ShowDropDown(BOOL bShow) {
    if ((bShow != FALSE) == (GetDroppedState() != FALSE))
        return FALSE;
    if (!bShow) {
        m_pList->Close();
        RedrawParent();
        return TRUE;
    }
    CXTPCommandBar* bar = GetParent();
    if (bar == nullptr || bar->m_hWnd == nullptr)
        return FALSE;
    if (m_pList == nullptr)
        m_pList = new CXTPControlComboBoxList(this);
    m_pList->SetCommandBars(bar->GetCommandBars());
    m_pList->SetOwner(bar->GetSite());
    m_pList->Rebuild();
    m_pList->SetWidth(std::max(m_nDropDownWidth, m_rcControl.Width()));
    CRect rc = m_rcControl;
    bar->ClientToScreen(&rc);
    const BOOL shown = m_pList->Popup(rc.left, rc.bottom, &rc);
    if (shown && m_nCurSel >= 0)
        m_pList->SetSelected(m_nCurSel, TRUE);
    RedrawParent();
    return shown;
}

void CXTPControlComboBox::OnSelChanged(int nIndex) {
    SetCurSel(nIndex);
    notify(CBN_SELCHANGE);
    CXTPControl::OnExecute();
}

void CXTPControlComboBox::notify(UINT nCode) {
    CXTPCommandBar* bar = GetParent();
    CWnd* site = bar != nullptr ? bar->GetSite() : nullptr;
    if (site != nullptr && site->m_hWnd != nullptr && m_nId != 0)
        site->SendMessage(WM_COMMAND, MAKEWPARAM(m_nId, nCode), reinterpret_cast<LPARAM>(bar->m_hWnd));
}

void CXTPControlComboBox::OnEditChanged() {
    notify(CBN_EDITCHANGE);
}

BOOL CXTPControlComboBox::OnHookKeyDown(UINT nChar, LPARAM lParam) {
    if (nChar == VK_F4 || (nChar == VK_DOWN && (::GetKeyState(VK_MENU) & 0x8000))) {
        ShowDropDown(!GetDroppedState());
        return TRUE;
    }
    // While the list is down, the keys of the edit part move in the list.
    if (GetDroppedState()) {
        switch (nChar) {
        case VK_DOWN:
        case VK_UP:
            return m_pList->OnHookKeyDown(nChar, lParam);
        case VK_RETURN:
            if (CXTPControl* row = m_pList->GetControl(m_pList->GetSelected()))
                row->OnExecute();
            else
                ShowDropDown(FALSE);
            return TRUE;
        case VK_ESCAPE:
            ShowDropDown(FALSE);
            return TRUE;
        default:
            break;
        }
    }
    return CXTPControlEdit::OnHookKeyDown(nChar, lParam);
}

CRect CXTPControlComboBox::GetDropButtonRect() const {
    CRect rc = CXTPControlEdit::GetEditRect();
    rc.InflateRect(2, 2);
    rc.left = rc.right - CXTPDpi::ScaleX(16);
    return rc;
}

CRect CXTPControlComboBox::GetEditRect() const {
    CRect rc = CXTPControlEdit::GetEditRect();
    rc.right -= CXTPDpi::ScaleX(16);
    return rc;
}

CSize CXTPControlComboBox::GetSize(CDC* pDC) {
    CSize size = CXTPControlEdit::GetSize(pDC);
    if (m_nWidth <= 0)
        size.cx += CXTPDpi::ScaleX(16);
    return size;
}

void CXTPControlComboBox::Draw(CDC* pDC) {
    const XTP_THEME_COLORS& c = CXTPPaintManager::Current()->GetColors();
    CXTPControlEdit::Draw(pDC);
    const CRect button = GetDropButtonRect();
    const BOOL dropped = GetDroppedState();
    if (dropped || m_bSelected)
        pDC->FillSolidRect(button.left, button.top + 1, button.Width() - 1, button.Height() - 2,
                           dropped ? c.clrPressedFace : c.clrHotFace);
    CXTPPaintManager::Current()->DrawArrow(pDC, button, TRUE, m_bEnabled ? c.clrText : c.clrTextDisabled);
}

void CXTPControlComboBox::OnClick(BOOL bKeyboard, CPoint pt) {
    if (!m_bEnabled)
        return;
    if (bKeyboard || m_bDropDownList || GetDropButtonRect().PtInRect(pt)) {
        ShowDropDown(!GetDroppedState());
        return;
    }
    CXTPControlEdit::OnClick(bKeyboard, pt);
}

void CXTPControlComboBox::OnShowWindow(BOOL bShow) {
    CXTPControlEdit::OnShowWindow(bShow && !m_bDropDownList);
}

void CXTPControlComboBox::Copy(CXTPControl* pControl, BOOL bRecursive) {
    CXTPControlEdit::Copy(pControl, bRecursive);
    if (auto* other = dynamic_cast<CXTPControlComboBox*>(pControl)) {
        m_items = other->m_items;
        m_nCurSel = other->m_nCurSel;
        m_bDropDownList = other->m_bDropDownList;
        m_nDropDownWidth = other->m_nDropDownWidth;
    }
}

void CXTPControlComboBox::DoPropExchange(CXTPPropExchange* pPX) {
    CXTPControlEdit::DoPropExchange(pPX);
    PX_Bool(pPX, L"DropDownList", m_bDropDownList, FALSE);
}
