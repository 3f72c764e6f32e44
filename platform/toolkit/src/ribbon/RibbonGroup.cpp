#include "xtp/RibbonBar.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CXTPRibbonGroup, CCmdTarget)

CXTPRibbonGroup::CXTPRibbonGroup() : m_pControls(new CXTPControls) {}

CXTPRibbonGroup::~CXTPRibbonGroup() {
    m_pControls->RemoveAll();
    m_pControls->InternalRelease();
}

void CXTPRibbonGroup::SetCaption(LPCWSTR lpszCaption) {
    m_strCaption = lpszCaption ? lpszCaption : L"";
    if (CXTPRibbonBar* ribbon = GetRibbonBar())
        ribbon->DelayLayout();
}

int CXTPRibbonGroup::GetIndex() const {
    if (!m_pParent)
        return -1;
    CXTPRibbonGroups* groups = m_pParent->GetGroups();
    for (int i = 0; i < groups->GetCount(); ++i) {
        if (groups->GetAt(i) == this)
            return i;
    }
    return -1;
}

CXTPRibbonBar* CXTPRibbonGroup::GetRibbonBar() const {
    return m_pParent ? m_pParent->GetRibbonBar() : nullptr;
}

void CXTPRibbonGroup::SetVisible(BOOL bVisible) {
    if (!bVisible == !m_bVisible)
        return;
    m_bVisible = bVisible;
    if (CXTPRibbonBar* ribbon = GetRibbonBar())
        ribbon->DelayLayout();
}

void CXTPRibbonGroup::ShowOptionButton(BOOL bShow) {
    m_bShowOptionButton = bShow;
    if (CXTPRibbonBar* ribbon = GetRibbonBar())
        ribbon->DelayLayout();
}

void CXTPRibbonGroup::AttachToRibbon() {
    CXTPRibbonBar* ribbon = GetRibbonBar();
    m_pControls->SetParent(ribbon);
    if (ribbon)
        m_pControls->SetCommandBars(ribbon->GetCommandBars());
}

int CXTPRibbonGroup::GetCount() const {
    return m_pControls->GetCount();
}

CXTPControl* CXTPRibbonGroup::GetAt(int nIndex) const {
    return m_pControls->GetAt(nIndex);
}

CXTPControl* CXTPRibbonGroup::Add(int nType, int nId, LPCWSTR lpszCaption, int nBefore) {
    AttachToRibbon();
    CXTPControl* control = m_pControls->Add(static_cast<XTPControlType>(nType), nId, L"", nBefore);
    if (control && lpszCaption)
        control->SetCaption(lpszCaption);
    if (CXTPRibbonBar* ribbon = GetRibbonBar())
        ribbon->OnControlsChanged();
    return control;
}

CXTPControl* CXTPRibbonGroup::Add(CXTPControl* pControl, int nId, int nBefore) {
    AttachToRibbon();
    CXTPControl* control = m_pControls->Add(pControl, nId, L"", nBefore);
    if (CXTPRibbonBar* ribbon = GetRibbonBar())
        ribbon->OnControlsChanged();
    return control;
}

void CXTPRibbonGroup::Remove(CXTPControl* pControl) {
    m_pControls->Remove(pControl);
    if (CXTPRibbonBar* ribbon = GetRibbonBar())
        ribbon->OnControlsChanged();
}

void CXTPRibbonGroup::RemoveAll() {
    m_pControls->RemoveAll();
    if (CXTPRibbonBar* ribbon = GetRibbonBar())
        ribbon->OnControlsChanged();
}

int CXTPRibbonGroup::IndexOf(const CXTPControl* pControl) const {
    return m_pControls->IndexOf(pControl);
}

CXTPControl* CXTPRibbonGroup::FindControl(int nId) const {
    return m_pControls->FindControl(nId);
}

CRect CXTPRibbonGroup::GetCaptionRect() const {
    CRect rc = m_rcGroup;
    rc.top = rc.bottom - CXTPRibbonPaintManager::Current()->GetGroupCaptionHeight();
    return rc;
}

// ---- the groups of a tab ----------------------------------------------------------------------

CXTPRibbonGroups::~CXTPRibbonGroups() = default;

CXTPRibbonGroup* CXTPRibbonGroups::GetAt(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    return m_arrGroups[static_cast<size_t>(nIndex)].get();
}

CXTPRibbonGroup* CXTPRibbonGroups::InsertAt(int nIndex, LPCWSTR lpszCaption, int nId) {
    CXTPRibbonBar* owner = m_pParent ? m_pParent->GetRibbonBar() : nullptr;
    std::unique_ptr<CXTPRibbonGroup> group(owner ? owner->CreateRibbonGroup() : new CXTPRibbonGroup);
    group->m_strCaption = lpszCaption ? lpszCaption : L"";
    group->m_nId = nId;
    group->m_pParent = m_pParent;
    group->AttachToRibbon();
    CXTPRibbonGroup* made = group.get();
    nIndex = std::clamp(nIndex, 0, GetCount());
    m_arrGroups.insert(m_arrGroups.begin() + nIndex, std::move(group));
    if (CXTPRibbonBar* ribbon = m_pParent ? m_pParent->GetRibbonBar() : nullptr)
        ribbon->DelayLayout();
    return made;
}

void CXTPRibbonGroups::Remove(int nIndex) {
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    if (CXTPRibbonBar* ribbon = m_pParent ? m_pParent->GetRibbonBar() : nullptr)
        ribbon->OnControlsChanged();
    m_arrGroups.erase(m_arrGroups.begin() + nIndex);
}

void CXTPRibbonGroups::RemoveAll() {
    if (CXTPRibbonBar* ribbon = m_pParent ? m_pParent->GetRibbonBar() : nullptr)
        ribbon->OnControlsChanged();
    m_arrGroups.clear();
}

CXTPRibbonGroup* CXTPRibbonGroups::FindGroup(int nId) const {
    for (const auto& g : m_arrGroups) {
        if (g->m_nId == nId && nId != 0)
            return g.get();
    }
    return nullptr;
}

// ---- a tab ------------------------------------------------------------------------------------

CXTPRibbonTab::CXTPRibbonTab() : m_pGroups(std::make_unique<CXTPRibbonGroups>(this)) {}

CXTPRibbonTab::~CXTPRibbonTab() = default;

CXTPRibbonGroup* CXTPRibbonTab::AddGroup(int nId) {
    CString caption;
    caption.LoadString(static_cast<UINT>(nId));
    const int newline = caption.Find(L'\n');
    if (newline >= 0)
        caption = caption.Mid(newline + 1);
    return m_pGroups->Add(caption, nId);
}

void CXTPRibbonTab::SetContextTab(XTPRibbonTabContextColor color, LPCWSTR lpszContextCaption) {
    m_contextColor = color;
    m_strContextCaption = lpszContextCaption ? lpszContextCaption : L"";
    if (m_pRibbonBar)
        m_pRibbonBar->DelayLayout();
}
