#include "ribbon/RibbonBar.h"

#include "ribbon/RibbonBackstage.h"
#include "ribbon/RibbonControls.h"

#include "XTToolkitPro.h"

IMPLEMENT_DYNCREATE(DVRibbonBar, Dravik::UI::RibbonBar)

DVRibbonBar::DVRibbonBar() {
    // The File button and the tab strip of the program's own, where the tool kit's stood.
    const int fileIndex = m_pControls->IndexOf(m_pSystemButton);
    m_pControls->Remove(m_pSystemButton);
    m_pSystemButton = new RibbonSystemButton;
    m_pControls->Add(m_pSystemButton, XTP_ID_RIBBONCONTROLSYSTEMBUTTON, L"", fileIndex);
    const int tabIndex = m_pControls->IndexOf(m_pControlTab);
    m_pControls->Remove(m_pControlTab);
    m_pControlTab = new RibbonTabControl;
    m_pControls->Add(m_pControlTab, XTP_ID_RIBBONCONTROLTAB, L"", tabIndex);
}

DVRibbonBar::~DVRibbonBar() {
    // The managed controls go with their pages, before the ribbon's window.
    m_exportPage.reset();
    m_exportOrsaPage.reset();
    m_newDocumentPage.reset();
    if (m_recentFilesPage && m_recentFilesPage->m_hWnd != nullptr)
        m_recentFilesPage->DestroyWindow();
    m_recentFilesPage.reset();
    m_printPage.reset();
}

CSize DVRibbonBar::GetIconSize() const {
    CXTPCommandBars* bars = GetCommandBars();
    const bool scaled = bars != nullptr && bars->GetCommandBarsOptions()->bDpiBitmapScaling;
    return scaled ? CXTPDpi::ScaleIcon(CSize(16, 16)) : CSize(16, 16);
}

CSize DVRibbonBar::GetLargeIconSize() const {
    CXTPCommandBars* bars = GetCommandBars();
    const bool scaled = bars != nullptr && bars->GetCommandBarsOptions()->bDpiBitmapScaling;
    return scaled ? CXTPDpi::ScaleIcon(CSize(32, 32)) : CSize(32, 32);
}

HICON DVRibbonBar::GetControlIcon(CXTPControl* control, int size) {
    CXTPCommandBars* bars = GetCommandBars();
    if (control == nullptr || bars == nullptr || bars->GetImageManager() == nullptr)
        return nullptr;
    CXTPImageManagerIcon* icon =
        bars->GetImageManager()->GetImage(static_cast<UINT>(control->GetIconId()), size);
    return icon != nullptr ? icon->GetIcon() : nullptr;
}

Dravik::UI::RibbonTab* DVRibbonBar::FindTabByGuid(std::wstring_view guid) const {
    for (int i = 0; i < GetTabCount(); ++i)
        if (auto* tab = dynamic_cast<Dravik::UI::RibbonTab*>(GetTab(i)); tab != nullptr && tab->HasGUID(guid))
            return tab;
    return nullptr;
}
