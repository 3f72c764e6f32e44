#include "xtp/CommandBars.h"
#include "xtp/ControlComboBox.h"
#include "xtp/ControlEdit.h"
#include "xtp/ControlGallery.h"
#include "xtp/ControlLabel.h"
#include "xtp/ImageManager.h"
#include "xtp/PaintManager.h"
#include "xtp/PropExchange.h"

IMPLEMENT_DYNCREATE(CXTPControl, CCmdTarget)
IMPLEMENT_DYNCREATE(CXTPControlButton, CXTPControl)

namespace {

// The idle update's view of a control: the update handler's answers land on the control, which
// repaints only what changed.
class ControlCmdUI : public CCmdUI {
public:
    explicit ControlCmdUI(CXTPControl* control) : control_(control) {
        m_nID = static_cast<UINT>(control->GetID());
    }
    void Enable(BOOL bOn) override {
        control_->SetEnabled(bOn);
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { control_->SetChecked(nCheck != 0); }
    void SetRadio(BOOL bOn) override { control_->SetChecked(bOn); }
    void SetText(LPCTSTR lpszText) override { control_->SetCaption(lpszText); }

private:
    CXTPControl* control_;
};

} // namespace

CXTPControl::CXTPControl() = default;
CXTPControl::~CXTPControl() = default;

CXTPControl* CXTPControl::CreateControl(XTPControlType type) {
    switch (type) {
    case xtpControlPopup:
    case xtpControlButtonPopup:
    case xtpControlSplitButtonPopup:
        return CXTPControlPopup::CreateControlPopup(type);
    case xtpControlComboBox:
        return new CXTPControlComboBox;
    case xtpControlEdit:
        return new CXTPControlEdit;
    case xtpControlLabel:
        return new CXTPControlLabel;
    case xtpControlCheckBox:
        return new CXTPControlCheckBox;
    case xtpControlGallery:
        return new CXTPControlGallery;
    case xtpControlRadioButton: {
        auto* c = new CXTPControlButton;
        c->m_controlType = xtpControlRadioButton;
        return c;
    }
    default:
        return new CXTPControlButton;
    }
}

DWORD CXTPControl::InternalRelease() {
    const LONG left = --m_dwRef;
    if (left == 0)
        delete this;
    return static_cast<DWORD>(left < 0 ? 0 : left);
}

void CXTPControl::SetID(int nId) {
    if (m_nId == nId)
        return;
    m_nId = nId;
    RedrawParent();
}

void CXTPControl::SetCaption(LPCWSTR lpszCaption) {
    const CString caption(lpszCaption != nullptr ? lpszCaption : L"");
    if (caption == m_strCaption)
        return;
    m_strCaption = caption;
    DelayLayoutParent();
}

CString CXTPControl::GetTooltip() const {
    if (!m_strTooltip.IsEmpty())
        return m_strTooltip;
    return CXTPDrawHelpers::StripMnemonics(m_strCaption.GetString());
}

void CXTPControl::SetStyle(XTPButtonStyle style) {
    if (style == m_buttonStyle)
        return;
    m_buttonStyle = style;
    DelayLayoutParent();
}

void CXTPControl::SetBeginGroup(BOOL bBeginGroup) {
    if ((bBeginGroup != FALSE) == (m_bBeginGroup != FALSE))
        return;
    m_bBeginGroup = bBeginGroup;
    DelayLayoutParent();
}

void CXTPControl::SetVisible(BOOL bVisible) {
    if ((bVisible != FALSE) == (m_bVisible != FALSE))
        return;
    m_bVisible = bVisible;
    DelayLayoutParent();
}

void CXTPControl::SetHideFlag(DWORD dwFlag, BOOL bSet) {
    // Reasons are set while a bar lays out: no further layout is asked for.
    if (dwFlag & xtpHideGeneric)
        m_bVisible = !bSet;
    dwFlag &= ~DWORD(xtpHideGeneric);
    m_dwHideFlags = bSet ? (m_dwHideFlags | dwFlag) : (m_dwHideFlags & ~dwFlag);
}

void CXTPControl::SetEnabled(BOOL bEnabled) {
    if ((bEnabled != FALSE) == (m_bEnabled != FALSE))
        return;
    m_bEnabled = bEnabled;
    OnEnabledChanged();
    RedrawParent();
}

void CXTPControl::SetChecked(BOOL bChecked) {
    if ((bChecked != FALSE) == (m_bChecked != FALSE))
        return;
    m_bChecked = bChecked;
    RedrawParent();
}

void CXTPControl::SetWidth(int nWidth) {
    if (nWidth == m_nWidth)
        return;
    m_nWidth = nWidth;
    DelayLayoutParent();
}

void CXTPControl::SetHeight(int nHeight) {
    if (nHeight == m_nHeight)
        return;
    m_nHeight = nHeight;
    DelayLayoutParent();
}

CXTPCommandBars* CXTPControl::GetCommandBars() const {
    if (m_pParent != nullptr && m_pParent->GetCommandBars() != nullptr)
        return m_pParent->GetCommandBars();
    return m_pControls != nullptr ? m_pControls->GetCommandBars() : nullptr;
}

int CXTPControl::GetIndex() const {
    return m_pControls != nullptr ? m_pControls->IndexOf(this) : -1;
}

void CXTPControl::RedrawParent(BOOL) {
    if (m_pParent != nullptr && m_pParent->m_hWnd != nullptr && !m_rcControl.IsRectEmpty())
        ::InvalidateRect(m_pParent->m_hWnd, &m_rcControl, FALSE);
}

void CXTPControl::DelayLayoutParent() {
    if (m_pParent != nullptr)
        m_pParent->DelayLayout();
}

CSize CXTPControl::GetSize(CDC* pDC) {
    const BOOL horizontal = m_pParent == nullptr || (m_pParent->IsHorizontal() && !m_pParent->IsPopupBar());
    return CXTPPaintManager::Current()->GetControlSize(pDC, this, horizontal);
}

void CXTPControl::Draw(CDC* pDC) {
    CXTPPaintManager::Current()->DrawControl(pDC, this);
}

void CXTPControl::OnClick(BOOL, CPoint) {
    if (m_bEnabled)
        OnExecute();
}

void CXTPControl::OnLButtonUp(CPoint point) {
    OnClick(FALSE, point);
}

BOOL CXTPControl::IsFocusable() const {
    return m_bVisible && m_controlType != xtpControlLabel;
}

void CXTPControl::OnExecute() {
    CXTPCommandBars* bars = GetCommandBars();
    CWnd* site = m_pParent != nullptr ? m_pParent->GetSite() : nullptr;
    const int id = m_nId;
    const BOOL closePopups = m_bCloseSubMenuOnClick;
    // The command may rebuild the bars and this control with them: nothing of `this` is used
    // once the command is on its way.
    if (bars != nullptr) {
        if (bars->m_bTrackingModal) {
            bars->m_nTrackedCommand = static_cast<UINT>(id);
            bars->ClosePopups();
            return;
        }
        if (closePopups)
            bars->ClosePopups();
    }
    // The site hears of the execution first (a control that takes values lets its twins take
    // this one); a site that acted on it itself answers non-zero, and no command follows.
    if (site != nullptr && site->m_hWnd != nullptr && id != 0 && NotifySite(XTP_CN_EXECUTE) == 0)
        site->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

LRESULT CXTPControl::NotifySite(UINT code) {
    CWnd* site = m_pParent != nullptr ? m_pParent->GetSite() : nullptr;
    if (site == nullptr || site->m_hWnd == nullptr)
        return 0;
    NMXTPCONTROL record{};
    record.hdr.hwndFrom = m_pParent->GetSafeHwnd();
    record.hdr.idFrom = static_cast<UINT_PTR>(m_nId);
    record.hdr.code = code;
    record.pControl = this;
    return site->SendMessage(WM_XTP_CONTROLNOTIFY, static_cast<WPARAM>(m_nId),
                             reinterpret_cast<LPARAM>(&record));
}

BOOL CXTPControl::OnSetSelected(int bSelected) {
    if ((bSelected != 0) == (m_bSelected != FALSE))
        return FALSE;
    m_bSelected = bSelected != 0;
    RedrawParent();
    return TRUE;
}

void CXTPControl::OnIdleUpdate(CCmdTarget* pTarget) {
    if ((m_dwFlags & xtpFlagManualUpdate) || m_nId <= 0 || pTarget == nullptr)
        return;
    ControlCmdUI ui(this);
    ui.DoUpdate(pTarget, TRUE);
}

void CXTPControl::Copy(CXTPControl* pControl, BOOL) {
    if (pControl == nullptr || pControl == this)
        return;
    m_nId = pControl->m_nId;
    m_controlType = pControl->m_controlType;
    m_strCaption = pControl->m_strCaption;
    m_strDescription = pControl->m_strDescription;
    m_strTooltip = pControl->m_strTooltip;
    m_strPrompt = pControl->m_strPrompt;
    m_strParameter = pControl->m_strParameter;
    m_strShortcutText = pControl->m_strShortcutText;
    m_nTag = pControl->m_nTag;
    m_dwFlags = pControl->m_dwFlags;
    m_buttonStyle = pControl->m_buttonStyle;
    m_bBeginGroup = pControl->m_bBeginGroup;
    m_bVisible = pControl->m_bVisible;
    m_bEnabled = pControl->m_bEnabled;
    m_bChecked = pControl->m_bChecked;
    m_strCategory = pControl->m_strCategory;
    m_nWidth = pControl->m_nWidth;
    m_nHeight = pControl->m_nHeight;
    m_nIconId = pControl->m_nIconId;
    m_szIcon = pControl->m_szIcon;
    m_bCloseSubMenuOnClick = pControl->m_bCloseSubMenuOnClick;
    m_bTemporary = pControl->m_bTemporary;
    m_bDefaultItem = pControl->m_bDefaultItem;
}

CXTPImageManagerIcon* CXTPControl::GetImage(int nWidth) {
    CXTPCommandBars* bars = GetCommandBars();
    const int id = GetIconId();
    return bars != nullptr && id > 0 ? bars->GetImageManager()->GetImage(static_cast<UINT>(id), nWidth)
                                     : nullptr;
}

CXTPControl* CXTPControl::Clone(BOOL bRecursive) {
    CObject* made = GetRuntimeClass()->CreateObject();
    auto* control = dynamic_cast<CXTPControl*>(made);
    if (control == nullptr) {
        delete made;
        control = CreateControl(m_controlType);
    }
    control->Copy(this, bRecursive);
    return control;
}

BOOL CXTPControl::Compare(CXTPControl* pOther) {
    return pOther != nullptr && pOther->m_nId == m_nId && pOther->m_controlType == m_controlType &&
           pOther->m_strCaption == m_strCaption && pOther->m_bBeginGroup == m_bBeginGroup &&
           pOther->m_buttonStyle == m_buttonStyle && pOther->m_bVisible == m_bVisible &&
           pOther->m_strParameter == m_strParameter && pOther->m_nWidth == m_nWidth &&
           pOther->GetRuntimeClass() == GetRuntimeClass();
}

void CXTPControl::DoPropExchange(CXTPPropExchange* pPX) {
    // The type and id are read by the list before the control is made.
    int type = m_controlType;
    PX_Int(pPX, L"Type", type, xtpControlButton);
    PX_Int(pPX, L"Id", m_nId, 0);
    PX_String(pPX, L"Caption", m_strCaption, L"");
    PX_String(pPX, L"Description", m_strDescription, L"");
    PX_String(pPX, L"Tooltip", m_strTooltip, L"");
    PX_String(pPX, L"Prompt", m_strPrompt, L"");
    PX_String(pPX, L"Parameter", m_strParameter, L"");
    PX_String(pPX, L"Category", m_strCategory, L"");
    DWORD tag = static_cast<DWORD>(m_nTag);
    PX_DWord(pPX, L"Tag", tag, 0);
    m_nTag = tag;
    PX_DWord(pPX, L"Flags", m_dwFlags, 0);
    int style = m_buttonStyle;
    PX_Int(pPX, L"Style", style, xtpButtonAutomatic);
    if (style >= xtpButtonAutomatic && style <= xtpButtonCaptionAndDescription)
        m_buttonStyle = static_cast<XTPButtonStyle>(style);
    PX_Bool(pPX, L"BeginGroup", m_bBeginGroup, FALSE);
    PX_Bool(pPX, L"Visible", m_bVisible, TRUE);
    PX_Int(pPX, L"Width", m_nWidth, 0);
    PX_Int(pPX, L"Height", m_nHeight, 0);
    PX_Int(pPX, L"IconId", m_nIconId, 0);
    // Sizes from a damaged file cannot make a control absurdly large.
    m_nWidth = std::clamp(m_nWidth, 0, 10000);
    m_nHeight = std::clamp(m_nHeight, 0, 2000);
}
