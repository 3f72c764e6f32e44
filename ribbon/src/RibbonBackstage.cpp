// The backstage view and the pages of the ribbon's own.
#include "ribbon/RibbonBackstage.h"

#include "ribbon/FrameToolsApplication.h"
#include "ribbon/RibbonControls.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/HelpIDModifier.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikKernel/ModuleProxies.h"
#include "DravikKernel/PrintWindow.h"
#include "DravikKernel/Settings.h"
#include "DravikUI/DockingPane.h"
#include "DravikUI/GenericMainFrame.h"

namespace {

// The floating window a pane shows in: the mini frame at the top of its containers.
CWnd* floatingWindowOf(CXTPDockingPane* pane) {
    CXTPDockingPaneBase* node = pane;
    while (node->GetContainer() != nullptr)
        node = node->GetContainer();
    return dynamic_cast<CXTPDockingPaneMiniWnd*>(node);
}

} // namespace

// ---- the view ---------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(RibbonBackstageView, CXTPRibbonBackstageView)

BOOL RibbonBackstageView::Popup(CXTPControlPopup* pSystemButton) {
    if (dynamic_cast<RibbonSystemButton*>(pSystemButton) == nullptr)
        return FALSE;
    const bool command = GetSettings().backstageCommand;
    for (CXTPControl* control : *GetControls())
        if (control->GetID() == static_cast<int>(kTabOrCommandId))
            control->SetVisible(dynamic_cast<CXTPRibbonBackstageTab*>(control) != nullptr ? !command
                                                                                          : command);
    HideFloatingWindows();
    return CXTPRibbonBackstageView::Popup(pSystemButton);
}

void RibbonBackstageView::HideFloatingWindows() {
    auto* frame = dynamic_cast<Dravik::UI::GenericMainFrame*>(GetSite());
    if (frame == nullptr)
        return;
    auto hide = [this](CWnd* window) {
        if (window != nullptr && window->m_hWnd != nullptr && window->IsWindowVisible()) {
            window->ShowWindow(SW_HIDE);
            m_hidden.insert(window->m_hWnd);
        }
    };
    if (CXTPDockingPaneManager* panes = frame->GetDockingPaneManager())
        for (CXTPDockingPane* pane : panes->GetPaneList())
            if (pane->IsFloating())
                hide(floatingWindowOf(pane));
    if (CXTPCommandBars* bars = frame->GetCommandBars())
        for (int i = 0; i < bars->GetCount(); ++i)
            if (CXTPToolBar* bar = bars->GetAt(i); bar->GetPosition() == xtpBarFloating)
                hide(bar);
}

void RibbonBackstageView::OnCancel() {
    if (!IsOpen())
        return;
    CXTPRibbonBackstageView::OnCancel();
    // A window may have gone while the backstage covered the frame (a pane closed by a command,
    // a bar deleted): only those that still exist come back.
    for (HWND window : m_hidden)
        if (::IsWindow(window))
            ::ShowWindow(window, SW_SHOWNORMAL);
    m_hidden.clear();
    for (CXTPControl* control : *GetControls())
        if (auto* tab = dynamic_cast<CXTPRibbonBackstageTab*>(control))
            if (auto* print = dynamic_cast<DVRibbonBackstagePrintPage*>(tab->GetControlPane()))
                print->ReleasePrintWindow();
}

// ---- pages ------------------------------------------------------------------------------------

DVRibbonHelpChangingBackstagePage::DVRibbonHelpChangingBackstagePage(UINT helpId, UINT templateId)
    : DVRibbonBackstagePage(templateId), m_helpId(helpId) {}

DVRibbonHelpChangingBackstagePage::~DVRibbonHelpChangingBackstagePage() = default;

BOOL DVRibbonHelpChangingBackstagePage::OnSetActive() {
    // The topic a page set before goes first: the application keeps pushed topics as a count,
    // and one left pushed would keep the page's topic after the page has gone.
    m_help.reset();
    m_help = std::make_unique<HelpIDModifier>();
    m_help->set(m_helpId, nullptr, false);
    return DVRibbonBackstagePage::OnSetActive();
}

BOOL DVRibbonHelpChangingBackstagePage::OnKillActive() {
    m_help.reset();
    return DVRibbonBackstagePage::OnKillActive();
}

// ---- print ------------------------------------------------------------------------------------

DVRibbonBackstagePrintPage::DVRibbonBackstagePrintPage() : DVRibbonHelpChangingBackstagePage(kHelpId) {}

DVRibbonBackstagePrintPage::~DVRibbonBackstagePrintPage() {
    DestroyPrintWindow();
    if (m_hWnd != nullptr)
        CWnd::DestroyWindow();
}

bool DVRibbonBackstagePrintPage::CreatePage(CWnd* parent) {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        return ::RegisterClassW(&wc) != 0;
    }();
    return registered && parent != nullptr && parent->m_hWnd != nullptr &&
           CWnd::Create(kClassName, L"Print", kStyle, CRect(0, 0, 0, 0), parent, 0) != FALSE;
}

void DVRibbonBackstagePrintPage::DestroyPrintWindow() {
    if (m_printWindow && m_printWindow->m_hWnd != nullptr)
        m_printWindow->DestroyWindow();
    m_printWindow.reset();
}

void DVRibbonBackstagePrintPage::SetDocument(CDvw32Doc* document) {
    if (document == m_document)
        return;
    DestroyPrintWindow();
    m_document = document;
    m_context.reset();
}

void DVRibbonBackstagePrintPage::SetDrawingContext(
    std::shared_ptr<Dravik::Print::PrintDrawingContext> context) {
    if (context == m_context)
        return;
    DestroyPrintWindow();
    m_context = std::move(context);
}

void DVRibbonBackstagePrintPage::ReleasePrintWindow() {
    DestroyPrintWindow();
    m_context.reset();
}

BOOL DVRibbonBackstagePrintPage::OnSetActive() {
    if (!m_printWindow && m_hWnd != nullptr) {
        CRect client;
        GetClientRect(&client);
        CWnd* window = m_context ? Dravik::Print::create_print_wnd(m_context, this, kPreviewStyle, client)
                                 : Dravik::Print::create_print_wnd(m_document, this, kPreviewStyle, client);
        m_printWindow.reset(window);
    }
    return DVRibbonHelpChangingBackstagePage::OnSetActive();
}

LRESULT DVRibbonBackstagePrintPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DVRibbonHelpChangingBackstagePage::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE && m_printWindow && m_printWindow->m_hWnd != nullptr) {
        CRect client;
        GetClientRect(&client);
        m_printWindow->MoveWindow(&client);
    }
    return result;
}

// ---- pages of managed controls ----------------------------------------------------------------

BOOL DVRibbonManagedBackstagePage::DestroyWindow() {
    if (m_hWnd == nullptr)
        return FALSE;
    const HWND control = Detach();
    DestroyControl(control);
    return TRUE;
}

DVRibbonNewDocumentBackstagePage::DVRibbonNewDocumentBackstagePage(CWnd* parent)
    : DVRibbonManagedBackstagePage(kHelpId) {
    FrameToolsApplication* app = FrameToolsApplication::Instance();
    if (HWND control = DravikManagedUIProxy::PrototypesController::CreateControl(
            parent != nullptr ? parent->m_hWnd : nullptr, nullptr,
            app != nullptr ? app->GetPrototypesCallback() : nullptr)) {
        ::ShowWindow(control, SW_HIDE);
        Attach(control);
    }
}

DVRibbonNewDocumentBackstagePage::~DVRibbonNewDocumentBackstagePage() {
    DestroyWindow();
}

void DVRibbonNewDocumentBackstagePage::DestroyControl(HWND control) {
    DravikManagedUIProxy::PrototypesController::DestroyControl(control);
}

void DVRibbonNewDocumentBackstagePage::SetPrototypeFolder(const wchar_t* folder, bool refresh) {
    if (m_hWnd == nullptr)
        return;
    DravikManagedUIProxy::PrototypesController::SetPrototypeFolder(m_hWnd, folder, refresh);
    m_folderSet = true;
}

int DVRibbonNewDocumentBackstagePage::PrototypesThemeType(int pageTheme, COLORREF background) {
    const double luminance =
        (0.299 * GetRValue(background) + 0.587 * GetGValue(background) + 0.114 * GetBValue(background)) /
        255.0;
    const int light = pageTheme == 12 ? 2 : pageTheme == 16 ? 4 : 0;
    return luminance > 0.5 ? light : light + 1;
}

void DVRibbonNewDocumentBackstagePage::SetTheme(int theme) {
    DVRibbonManagedBackstagePage::SetTheme(theme);
    if (m_hWnd != nullptr)
        DravikManagedUIProxy::PrototypesController::SetTheme(m_hWnd, PrototypesThemeType(theme, m_clrBack));
}

BOOL DVRibbonNewDocumentBackstagePage::OnSetActive() {
    if (!m_folderSet && m_hWnd != nullptr) {
        const std::wstring folder = TemplateFolderToFullPath(GetSettings().templateFolder.c_str());
        DravikManagedUIProxy::PrototypesController::SetPrototypeFolder(m_hWnd, folder.c_str(), false);
        m_folderSet = true;
    }
    return DVRibbonManagedBackstagePage::OnSetActive();
}

DVRibbonExportBackstagePageBase::DVRibbonExportBackstagePageBase(CWnd* parent, UINT helpId, bool toOrsa)
    : DVRibbonManagedBackstagePage(helpId), m_toOrsa(toOrsa) {
    if (HWND control = DravikManagedUIProxy::ExportController::CreateControl(
            parent != nullptr ? parent->m_hWnd : nullptr, {}, this)) {
        ::ShowWindow(control, SW_HIDE);
        Attach(control);
    }
}

DVRibbonExportBackstagePageBase::~DVRibbonExportBackstagePageBase() {
    DestroyWindow();
}

void DVRibbonExportBackstagePageBase::DestroyControl(HWND control) {
    DravikManagedUIProxy::ExportController::DestroyControl(control);
}

CDvw32Doc* DVRibbonExportBackstagePageBase::ActiveDocument() const {
    CWnd* main = AfxGetMainWnd();
    auto* frame = dynamic_cast<CFrameWnd*>(main);
    CFrameWnd* active = frame != nullptr ? frame->GetActiveFrame() : nullptr;
    return active != nullptr ? dynamic_cast<CDvw32Doc*>(active->GetActiveDocument()) : nullptr;
}

void DVRibbonExportBackstagePageBase::SetTheme(int theme) {
    DVRibbonManagedBackstagePage::SetTheme(theme);
    if (m_hWnd != nullptr)
        DravikManagedUIProxy::ExportController::SetTheme(m_hWnd, m_clrBack, m_clrText);
}

BOOL DVRibbonExportBackstagePageBase::OnSetActive() {
    if (!m_filtersLoaded) {
        std::vector<DravikManagedUIProxy::ExportFilter> filters;
        if (LTModuleProxy* module = LTModuleProxy::Instance())
            for (const ImportExportItem& item : module->GetExportFormats(ActiveDocument()))
                filters.push_back({item.description, item.extension});
        DravikManagedUIProxy::ExportController::SetFilters(m_hWnd, filters);
        m_filtersLoaded = true;
    }
    if (!m_themed && m_hWnd != nullptr) {
        DravikManagedUIProxy::ExportController::SetTheme(m_hWnd, m_clrBack, m_clrText);
        m_themed = true;
    }
    return DVRibbonManagedBackstagePage::OnSetActive();
}

void DVRibbonExportBackstagePageBase::OnApplicationEvent(int, ApplicationEventArgs& args) {
    // Formats change with what the document holds; the list is read again when the page shows.
    constexpr unsigned kContentChanged = 4;
    constexpr unsigned kViewOnly = 2;
    const auto* change = dynamic_cast<const DocumentContentChangedArgs*>(&args);
    if (change != nullptr && (change->Flags & kContentChanged) != 0 && (change->ChangeFlags & kViewOnly) == 0)
        m_filtersLoaded = false;
}

void DVRibbonExportBackstagePageBase::OnExportFormatChosen(int formatIndex) {
    if (LTModuleProxy* module = LTModuleProxy::Instance())
        module->Export(ActiveDocument(), m_toOrsa, formatIndex);
}

// ---- recent files -----------------------------------------------------------------------------

BOOL RecentFilesBackstagePage::OnSetActive() {
    const BOOL result = CXTPRibbonBackstagePageRecent::OnSetActive();
    for (int i = 0; i < GetItemCount(); ++i) {
        const CString path = GetItemPath(i);
        SetItemNetwork(i, path.IsEmpty() || ::PathIsNetworkPathW(path) != FALSE);
    }
    return result;
}

BOOL RecentFilesBackstagePage::OnKillActive() {
    if (FrameToolsApplication* app = FrameToolsApplication::Instance())
        app->OnRecentFilePinStateChanged(-1);
    return CXTPRibbonBackstagePageRecent::OnKillActive();
}

// ---- command updates --------------------------------------------------------------------------

BackstageTabCmdUi::BackstageTabCmdUi(CXTPControl* tab) : m_tab(tab) {
    m_nID = static_cast<UINT>(tab->GetID());
}

void BackstageTabCmdUi::Enable(BOOL bOn) {
    m_tab->SetEnabled(bOn);
    m_bEnableChanged = TRUE;
    m_handled = true;
}
