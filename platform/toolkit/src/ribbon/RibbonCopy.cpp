// A ribbon made as the copy of another: its tabs, groups, controls and settings.
#include "xtp/RibbonBar.h"

void CXTPRibbonTab::Copy(const CXTPRibbonTab* pSource) {
    if (pSource == nullptr || pSource == this)
        return;
    m_nId = pSource->m_nId;
    SetCaption(pSource->GetCaption());
    SetTooltip(pSource->GetTooltip());
    SetVisible(pSource->IsVisible());
    m_contextColor = pSource->m_contextColor;
    m_strContextCaption = pSource->m_strContextCaption;
    m_strKeyTip = pSource->m_strKeyTip;
}

void CXTPRibbonGroup::Copy(const CXTPRibbonGroup* pSource) {
    if (pSource == nullptr || pSource == this)
        return;
    m_strCaption = pSource->m_strCaption;
    m_nId = pSource->m_nId;
    m_nIconId = pSource->m_nIconId;
    m_bVisible = pSource->m_bVisible;
    m_bShowOptionButton = pSource->m_bShowOptionButton;
    m_nReducePriority = pSource->m_nReducePriority;
}

void CXTPRibbonBar::Copy(CXTPCommandBar* pCommandBar, BOOL bRecursive) {
    auto* source = dynamic_cast<CXTPRibbonBar*>(pCommandBar);
    if (source == nullptr || source == this)
        return;
    m_strTitle = source->m_strTitle;
    m_nBarID = source->m_nBarID;
    m_dwFlags = source->m_dwFlags;
    m_bCustomizable = source->m_bCustomizable;
    if (m_pCommandBars == nullptr)
        SetCommandBars(source->m_pCommandBars);

    HideKeyTips();
    RemoveAllTabs();
    for (int t = 0; t < source->GetTabCount(); ++t) {
        CXTPRibbonTab* from = source->GetTab(t);
        CXTPRibbonTab* tab = InsertTab(t, from->GetCaption(), from->GetID());
        CXTPRibbonGroups* groups = from->GetGroups();
        for (int g = 0; g < groups->GetCount(); ++g) {
            CXTPRibbonGroup* fromGroup = groups->GetAt(g);
            CXTPRibbonGroup* group = tab->GetGroups()->Add(fromGroup->GetCaption(), fromGroup->GetID());
            for (CXTPControl* control : *fromGroup->GetControls())
                group->GetControls()->AddClone(control, -1, bRecursive);
            group->Copy(fromGroup);
        }
        tab->Copy(from);
    }
    if (CXTPRibbonTab* selected = source->GetSelectedTab();
        selected != nullptr && GetTab(selected->GetIndex()))
        m_pControlTab->CXTPTabManager::SetSelectedItem(GetTab(selected->GetIndex()));

    m_pQuickAccessControls->RemoveAll();
    for (CXTPControl* control : *source->m_pQuickAccessControls)
        m_pQuickAccessControls->AddClone(control, -1, bRecursive);

    // The File button and the tab strip are this ribbon's own; further controls are copied.
    for (int i = m_pControls->GetCount() - 1; i >= 0; --i)
        if (CXTPControl* own = m_pControls->GetAt(i); own != m_pSystemButton && own != m_pControlTab)
            m_pControls->Remove(own);
    for (CXTPControl* control : *source->m_pControls) {
        if (control == source->m_pSystemButton)
            m_pSystemButton->Copy(control, bRecursive);
        else if (control == source->m_pControlTab)
            m_pControlTab->SetVisible(control->IsVisible());
        else
            m_pControls->AddClone(control, -1, bRecursive);
    }

    m_bShowQuickAccess = source->m_bShowQuickAccess;
    m_bQuickAccessBelow = source->m_bQuickAccessBelow;
    m_bMinimized = source->m_bMinimized;
    m_bSystemButtonVisible = source->m_bSystemButtonVisible;
    OnControlsChanged();
}
