#include "xtp/CommandBars.h"
#include "xtp/PaintManager.h"
#include "xtp/PropExchange.h"

IMPLEMENT_DYNCREATE(CXTPControlPopup, CXTPControl)

CXTPControlPopup::CXTPControlPopup() {
    m_controlType = xtpControlPopup;
}

CXTPControlPopup::~CXTPControlPopup() {
    if (m_pCommandBar != nullptr) {
        if (m_pCommandBar->m_pControlPopup == this)
            m_pCommandBar->m_pControlPopup = nullptr;
        m_pCommandBar->InternalRelease();
    }
}

CXTPControlPopup* CXTPControlPopup::CreateControlPopup(XTPControlType controlType) {
    auto* popup = new CXTPControlPopup;
    popup->m_controlType = controlType == xtpControlButtonPopup || controlType == xtpControlSplitButtonPopup
                               ? controlType
                               : xtpControlPopup;
    return popup;
}

void CXTPControlPopup::SetCommandBar(CXTPCommandBar* pBar) {
    if (pBar == m_pCommandBar)
        return;
    if (m_bPopup)
        OnSetPopup(FALSE);
    if (pBar != nullptr)
        pBar->InternalAddRef();
    if (m_pCommandBar != nullptr)
        m_pCommandBar->InternalRelease();
    m_pCommandBar = pBar;
    if (pBar != nullptr && pBar->GetCommandBars() == nullptr)
        pBar->SetCommandBars(GetCommandBars());
}

void CXTPControlPopup::SetCommandBar(CMenu* pMenu) {
    CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(GetCommandBars());
    if (pMenu != nullptr)
        bar->GetControls()->LoadMenu(pMenu);
    SetCommandBar(bar);
    bar->InternalRelease();
}

BOOL CXTPControlPopup::OnSetPopup(BOOL bPopup) {
    if ((bPopup != FALSE) == (m_bPopup != FALSE))
        return FALSE;
    if (m_pParent == nullptr)
        return FALSE;
    if (bPopup && m_pParent->GetType() == xtpBarTypeRibbon) {
        // A ribbon keeps its controls in its groups and quick access bar, not in the list its
        // popup index counts in: the popup opens under the control by itself.
        auto* bar = dynamic_cast<CXTPPopupBar*>(m_pCommandBar);
        m_bPopup = bar != nullptr && bar->Popup(this);
        return m_bPopup;
    }
    const int index = GetIndex();
    if (bPopup)
        return index >= 0 && m_pParent->SetPopuped(index, m_pParent->m_bKeyboardSelect);
    if (m_pParent->GetPopuped() == index)
        m_pParent->SetPopuped(-1);
    return TRUE;
}

BOOL CXTPControlPopup::IsSplitArrow(CPoint point) const {
    if (m_controlType != xtpControlSplitButtonPopup || m_pParent == nullptr)
        return FALSE;
    const int arrow = CXTPPaintManager::Current()->GetSplitDropDownWidth();
    if (m_pParent->IsPopupBar())
        return point.x >= m_rcControl.right - arrow;
    return m_pParent->IsHorizontal() ? point.x >= m_rcControl.right - arrow
                                     : point.y >= m_rcControl.bottom - arrow;
}

void CXTPControlPopup::OnClick(BOOL bKeyboard, CPoint pt) {
    if (!m_bEnabled && m_controlType != xtpControlPopup)
        return;
    // A split button runs its command from the button part and opens from the arrow.
    if (m_controlType == xtpControlSplitButtonPopup && !bKeyboard && !IsSplitArrow(pt))
        return;
    OnSetPopup(!m_bPopup);
}

void CXTPControlPopup::OnLButtonUp(CPoint point) {
    if (m_controlType == xtpControlSplitButtonPopup && !IsSplitArrow(point) && m_bEnabled && !m_bPopup)
        OnExecute();
}

void CXTPControlPopup::OnExecute() {
    if (m_controlType == xtpControlSplitButtonPopup)
        CXTPControl::OnExecute();
    else
        OnSetPopup(TRUE);
}

BOOL CXTPControlPopup::OnHookKeyDown(UINT nChar, LPARAM) {
    if (nChar == VK_RETURN || (nChar == VK_RIGHT && m_pParent != nullptr && m_pParent->IsPopupBar()) ||
        (nChar == VK_DOWN && m_pParent != nullptr && !m_pParent->IsPopupBar())) {
        if (m_bPopup)
            return FALSE;
        if (m_controlType == xtpControlSplitButtonPopup && nChar == VK_RETURN) {
            CXTPControl::OnExecute();
            return TRUE;
        }
        return OnSetPopup(TRUE);
    }
    return FALSE;
}

void CXTPControlPopup::Copy(CXTPControl* pControl, BOOL bRecursive) {
    CXTPControl::Copy(pControl, bRecursive);
    auto* other = dynamic_cast<CXTPControlPopup*>(pControl);
    if (other == nullptr || other->m_pCommandBar == nullptr)
        return;
    if (bRecursive) {
        CXTPCommandBar* bar = other->m_pCommandBar->Clone(TRUE);
        SetCommandBar(bar);
        bar->InternalRelease();
    } else {
        SetCommandBar(other->m_pCommandBar);
    }
}

BOOL CXTPControlPopup::Compare(CXTPControl* pOther) {
    if (!CXTPControl::Compare(pOther))
        return FALSE;
    auto* other = static_cast<CXTPControlPopup*>(pOther);
    CXTPControls* mine = m_pCommandBar != nullptr ? m_pCommandBar->GetControls() : nullptr;
    CXTPControls* theirs = other->m_pCommandBar != nullptr ? other->m_pCommandBar->GetControls() : nullptr;
    const int count = mine != nullptr ? mine->GetCount() : 0;
    if (count != (theirs != nullptr ? theirs->GetCount() : 0))
        return FALSE;
    for (int i = 0; i < count; ++i) {
        if (!mine->GetAt(i)->Compare(theirs->GetAt(i)))
            return FALSE;
    }
    return TRUE;
}

void CXTPControlPopup::DoPropExchange(CXTPPropExchange* pPX) {
    CXTPControl::DoPropExchange(pPX);
    if (pPX->IsStoring()) {
        if (m_pCommandBar == nullptr)
            return;
        CXTPPropExchangeSection section(pPX, L"CommandBar");
        m_pCommandBar->GetControls()->DoPropExchange(section);
        return;
    }
    auto* px = dynamic_cast<CXTPPropExchangeXMLNode*>(pPX);
    if (px != nullptr && !px->IsSectionExists(L"CommandBar"))
        return;
    CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(GetCommandBars());
    {
        CXTPPropExchangeSection section(pPX, L"CommandBar");
        bar->GetControls()->DoPropExchange(section);
    }
    SetCommandBar(bar);
    bar->InternalRelease();
}

void CXTPControlPopup::OnIdleUpdate(CCmdTarget* pTarget) {
    // A menu item's submenu has no command; a button with a popup has one.
    if (m_controlType != xtpControlPopup)
        CXTPControl::OnIdleUpdate(pTarget);
}
