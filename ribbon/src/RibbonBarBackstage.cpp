// The ribbon's backstage: the pages it owns, showing one of its tabs, closing it, its theme.
#include "ribbon/RibbonBackstage.h"
#include "ribbon/RibbonBar.h"
#include "ribbon/RibbonControls.h"

#include "XTToolkitPro.h"

#include <array>

namespace {

// The pages a backstage tab of the ribbon's definition can name, by state.
constexpr std::wstring_view kPrintPage = L"printDialog";
constexpr std::wstring_view kRecentFilesPage = L"recentFileList";
constexpr std::wstring_view kNewDocumentPage = L"newDocument";
constexpr std::wstring_view kExportPage = L"export";
constexpr std::wstring_view kExportOrsaPage = L"exportToOrsa";

} // namespace

RibbonBackstageView* DVRibbonBar::GetRibbonBackstageView() const {
    return dynamic_cast<RibbonBackstageView*>(GetBackstageView());
}

DVRibbonBackstagePrintPage* DVRibbonBar::GetPrintPage(bool create) {
    if (!m_printPage && create) {
        m_printPage = std::make_unique<DVRibbonBackstagePrintPage>();
        // Without the ribbon's window the page waits for its backstage tab without one.
        m_printPage->CreatePage(this);
    }
    return m_printPage.get();
}

RecentFilesBackstagePage* DVRibbonBar::GetRecentFilesPage(bool create) {
    if (!m_recentFilesPage && create) {
        m_recentFilesPage = std::make_unique<RecentFilesBackstagePage>();
        if (m_hWnd != nullptr)
            m_recentFilesPage->Create(XTP_IDD_RIBBONBACKSTAGEPAGE_RECENT, this);
    }
    return m_recentFilesPage.get();
}

DVRibbonNewDocumentBackstagePage* DVRibbonBar::GetNewDocumentPage(bool create) {
    if (!m_newDocumentPage && create)
        m_newDocumentPage = std::make_unique<DVRibbonNewDocumentBackstagePage>(this);
    return m_newDocumentPage.get();
}

DVRibbonExportBackstagePage* DVRibbonBar::GetExportPage(bool create) {
    if (!m_exportPage && create)
        m_exportPage = std::make_unique<DVRibbonExportBackstagePage>(this);
    return m_exportPage.get();
}

DVRibbonExportOrsaBackstagePage* DVRibbonBar::GetExportOrsaPage(bool create) {
    if (!m_exportOrsaPage && create)
        m_exportOrsaPage = std::make_unique<DVRibbonExportOrsaBackstagePage>(this);
    return m_exportOrsaPage.get();
}

CWnd* DVRibbonBar::GetBackstagePage(const std::wstring& state) {
    CWnd* page = nullptr;
    if (state == kPrintPage)
        page = GetPrintPage(true);
    else if (state == kRecentFilesPage)
        page = GetRecentFilesPage(true);
    else if (state == kNewDocumentPage)
        page = GetNewDocumentPage(true);
    else if (state == kExportPage)
        page = GetExportPage(true);
    else if (state == kExportOrsaPage)
        page = GetExportOrsaPage(true);
    return page != nullptr && page->m_hWnd != nullptr ? page : nullptr;
}

std::wstring DVRibbonBar::GetSpecialControlStateName(CXTPControl* control) {
    if (dynamic_cast<RibbonTabsPopup*>(control) != nullptr)
        return L"ribbonTabsPopup";
    auto* tab = dynamic_cast<CXTPRibbonBackstageTab*>(control);
    if (tab == nullptr)
        return {};
    CWnd* page = tab->GetControlPane();
    if (dynamic_cast<DVRibbonBackstagePrintPage*>(page) != nullptr)
        return std::wstring(kPrintPage);
    if (dynamic_cast<RecentFilesBackstagePage*>(page) != nullptr)
        return std::wstring(kRecentFilesPage);
    if (dynamic_cast<DVRibbonNewDocumentBackstagePage*>(page) != nullptr)
        return std::wstring(kNewDocumentPage);
    if (dynamic_cast<DVRibbonExportOrsaBackstagePage*>(page) != nullptr)
        return std::wstring(kExportOrsaPage);
    if (dynamic_cast<DVRibbonExportBackstagePage*>(page) != nullptr)
        return std::wstring(kExportPage);
    return {};
}

bool DVRibbonBar::ShowBackstageTab(UINT id, CWnd* page) {
    CXTPRibbonControlSystemButton* file = GetSystemButton();
    RibbonBackstageView* view = GetRibbonBackstageView();
    if (file == nullptr || view == nullptr)
        return false;
    CXTPRibbonBackstageTab* chosen = nullptr;
    for (CXTPControl* control : *view->GetControls()) {
        auto* tab = dynamic_cast<CXTPRibbonBackstageTab*>(control);
        if (tab == nullptr || tab->GetID() != static_cast<int>(id) ||
            (page != nullptr && tab->GetControlPane() != page))
            continue;
        if ((tab->GetFlags() & xtpFlagManualUpdate) == 0) {
            // The tab is enabled as the command's update handler says; a command no one
            // handles leaves its tab disabled.
            BackstageTabCmdUi update(tab);
            OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &update, nullptr);
            if (!update.IsHandled())
                if (CWnd* site = GetSite())
                    update.DoUpdate(site, TRUE);
        }
        if (tab->GetEnabled() && chosen == nullptr)
            chosen = tab;
    }
    if (chosen == nullptr)
        return false;
    if (view->IsOpen()) {
        if (view->GetActiveTab() != chosen)
            view->SetActiveTab(chosen);
        return true;
    }
    view->SetActiveTab(chosen);
    return file->OnSetPopup(TRUE) != FALSE && view->IsOpen();
}

CXTPRibbonBackstageTab* DVRibbonBar::GetActiveBackstageTab() const {
    CXTPRibbonBackstageView* view = GetBackstageView();
    return view != nullptr && view->IsOpen() ? view->GetActiveTab() : nullptr;
}

void DVRibbonBar::CloseBackstage() {
    if (CXTPRibbonBackstageView* view = GetBackstageView())
        view->OnCancel();
    if (CWnd* site = GetSite(); site != nullptr && site->m_hWnd != nullptr)
        site->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void DVRibbonBar::SetBackstageTheme(int viewTheme, int pageTheme) {
    m_backstageTheme = viewTheme;
    CXTPRibbonBackstageView* view = GetBackstageView();
    if (view == nullptr)
        return;
    view->SetTheme(viewTheme);
    for (CXTPControl* control : *view->GetControls()) {
        auto* tab = dynamic_cast<CXTPRibbonBackstageTab*>(control);
        CWnd* pane = tab != nullptr ? tab->GetControlPane() : nullptr;
        if (auto* own = dynamic_cast<DVRibbonBackstagePage*>(pane))
            own->SetTheme(pageTheme);
        else if (auto* kit = dynamic_cast<CXTPRibbonBackstagePage*>(pane))
            kit->SetTheme(pageTheme);
    }
}
