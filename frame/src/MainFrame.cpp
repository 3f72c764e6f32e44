#include "frame/MainFrame.h"

#include "frame/ColorBook.h"
#include "frame/CommandBars.h"
#include "frame/ControlAttributes.h"
#include "frame/ControlFactory.h"
#include "frame/FixedToolBars.h"
#include "frame/MainFrameClose.h"
#include "frame/MessageBarText.h"

#include "DVDiagnostics/DVLog.h"
#include "DVPDMProxy/WorkMix.h"
#include "DravikKernel/ApplicationManager.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/UIModule.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/View.h"
#include "DravikUI/CommandIcons.h"
#include "DravikUI/DialogCache.h"
#include "DravikUI/XML.h"
#include "XTToolkitPro.h"
#include "afx/find_resource.h"
#include "panels/StatusLine.h"
#include "ribbon/CommandDescriptions.h"
#include "ribbon/FrameToolsApplication.h"
#include "ribbon/RibbonBar.h"
#include "xtp/PropExchange.h"

#include <exception>
#include <optional>
#include <utility>

IMPLEMENT_DYNCREATE(CMainFrame, Dravik::UI::MdiMainFrame)

namespace {

MainFrameApplication* g_application = nullptr;

LONGLONG SteadyNow() {
    LARGE_INTEGER count{};
    QueryPerformanceCounter(&count);
    return count.QuadPart;
}

// Whole milliseconds, then the microseconds left over.
void LogElapsed(const char* format, LONGLONG start) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    const LONGLONG micros = frequency.QuadPart > 0 ? (SteadyNow() - start) * 1000000 / frequency.QuadPart : 0;
    DVLog_Write(DVLogInfo, format, static_cast<long long>(micros / 1000),
                static_cast<long long>(micros % 1000));
}

// The document of the active document window: an MDI frame's own active view is none of them.
CDocument* ActiveDocumentOf(CFrameWnd& frame) {
    CFrameWnd* active = frame.GetActiveFrame();
    return active != nullptr ? active->GetActiveDocument() : nullptr;
}

// Takes a frame whose window exists down again when a later step of its creation throws.
class CreationGuard {
public:
    explicit CreationGuard(CMainFrame* frame) : frame_(frame) {}
    ~CreationGuard() {
        if (frame_ != nullptr && ::IsWindow(frame_->m_hWnd))
            frame_->DestroyWindow();
    }
    CMainFrame* Release() { return std::exchange(frame_, nullptr); }

private:
    CMainFrame* frame_;
};

} // namespace

void CMainFrameProfileItem::GetStateData(unsigned flags, std::vector<std::wstring>& keyPaths) const {
    CFrameToolsEngine::GetStateData(flags, keyPaths);
    keyPaths.push_back(L"MainFrame");
}

int CMainFrameProfileItem::LoadState() {
    Dravik::UI::GenericMainFrame* frame = GetMainFrame();
    if (frame == nullptr)
        return CFrameToolsEngine::LoadState();
    UIModule::FakeActiveMainFrameManager active(frame);
    if (auto theme = UIModuleProxy::Instance().GetCurrentTheme())
        frame->SetTheme(theme->Number);
    return CFrameToolsEngine::LoadState();
}

int CMainFrameProfileItem::SaveState() {
    Dravik::UI::GenericMainFrame* frame = GetMainFrame();
    std::optional<UIModule::FakeActiveMainFrameManager> active;
    if (frame != nullptr)
        active.emplace(frame);
    const std::wstring style = UIModuleProxy::Instance().GetCurrentUIStyleName();
    if (!style.empty())
        if (CWinApp* app = AfxGetApp())
            app->WriteProfileStringW(GetCurrentSection().c_str(), L"UIStyle", style.c_str());
    return CFrameToolsEngine::SaveState();
}

std::wstring CMainFrameProfileItem::GetUIStyle() const {
    CWinApp* app = AfxGetApp();
    return app != nullptr ? std::wstring(app->GetProfileStringW(GetCurrentSection().c_str(), L"UIStyle"))
                          : L"";
}

CMainFrameProfileItem::CMainFrameProfileItem() : CFrameToolsEngine(RUNTIME_CLASS(CDVAutoMenuCommandBars)) {}

MainFrameApplication::MainFrameApplication() {
    g_application = this;
}

MainFrameApplication::~MainFrameApplication() {
    if (g_application == this)
        g_application = nullptr;
}

MainFrameApplication* MainFrameApplication::Instance() {
    return g_application;
}

bool MainFrameApplication::AddOnsAllowExit() {
    IApplicationManagerProxy* addOns = ApplicationManager::Proxy();
    return addOns == nullptr || addOns->CanClose();
}

void MainFrameApplication::ReapplyToolBarIconSize() {
    UIModuleProxy::Instance().ForEachMainFrame([](CFrameWnd* frame) {
        if (auto* main = DYNAMIC_DOWNCAST(CMainFrame, frame))
            main->ApplyCommandBarOptions(true);
    });
}

BEGIN_MESSAGE_MAP(CMainFrame, CMainFrame::RoutingMap)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_MESSAGE(Dravik::UI::MessageBar::kClosedMessage, &CMainFrame::OnMessageBarClosed)
ON_COMMAND(2031, &CMainFrame::OnColorBook)
ON_UPDATE_COMMAND_UI(2031, &CMainFrame::OnUpdateColorBook)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() {
    analysisMode = 1;
    DVLog_Write(DVLogInfo, "Constructed main window @ 0x%p...", static_cast<void*>(this));
}

CMainFrame::~CMainFrame() {
    if (MainFrameApplication* app = MainFrameApplication::Instance())
        app->UpdateMainFrameTitles();
    SetDockingPaneManager(nullptr);
}

CMainFrame* CMainFrame::Create(const MainFrameState& state, bool applyPlacement, bool layout) {
    const LONGLONG start = SteadyNow();
    auto* frame = new CMainFrame;
    // A frame whose window cannot be made deletes itself.
    if (!frame->CFrameWnd::Create(nullptr, L"", kStyle))
        return nullptr;
    CreationGuard guard(frame);
    try {
        if (CXTPMenuBar* menuBar = frame->GetMenuBar(); menuBar != nullptr && state.menuBar) {
            state.menuBar->apply(menuBar, frame->GetMenuBarApplicationParameters());
            menuBar->GetControls()->CreateOriginalControls();
        }
        frame->ApplyState(state, applyPlacement, layout);
        if (CXTPRibbonBar* ribbon = frame->GetRibbonBar())
            ribbon->GetControls()->CreateOriginalControls();
        frame->UpdateInstalledConfigurationsMenu();
        // Also a frame whose state holds no layout to load offers the PDM commands only while
        // the PDM works, as every later one does.
        frame->ShowOrsaCommandsAsThePdmWorks();
    } catch (const std::exception& e) {
        DVLog_Write(DVLogOptionalFailure, "Failed to create a main frame: %s", e.what());
        return nullptr;
    }
    LogElapsed("Created main frame in %lld.%03lld ms", start);
    return guard.Release();
}

CMainFrame* CMainFrame::CreateFromState(const std::shared_ptr<MainFrameState>& state, bool applyPlacement,
                                        bool layout) {
    std::shared_ptr<MainFrameState> effective = state;
    if (!effective)
        if (MainFrameApplication* app = MainFrameApplication::Instance())
            effective = app->GetDefaultMainFrameState();
    if (!effective)
        return nullptr;
    return Create(*effective, applyPlacement, layout);
}

CMainFrame* CMainFrame::Clone() const {
    const LONGLONG start = SteadyNow();
    auto& self = const_cast<CMainFrame&>(*this);
    // The copy takes this frame's live bars and layout, but not its placement: it opens beside it.
    Dravik::UI::XML::Document document;
    Dravik::UI::XML::Node element = document.resetRoot(Dravik::UI::XML::TagNames::MainWindow);
    ::SaveXmlState(self, element, false, true);
    std::shared_ptr<MainFrameState> base;
    if (MainFrameApplication* app = MainFrameApplication::Instance())
        base = app->GetDefaultMainFrameState();
    std::shared_ptr<MainFrameState> state = LoadMainFrameState(element, Dravik::UI::XML::FormatVersion, base);
    if (!state)
        return nullptr;
    // What belongs to the window rather than its bars starts afresh in the new one.
    const MainFrameState fresh;
    state->fullScreen = false;
    state->analysisMode = fresh.analysisMode;
    state->pdmPanes = fresh.pdmPanes;
    state->showDockingPaneTabCaptions = fresh.showDockingPaneTabCaptions;
    if (CXTPMenuBar* menuBar = self.GetMenuBar()) {
        auto definition = std::make_shared<Dravik::UI::XML::ToolBar>();
        definition->save(menuBar, Dravik::VersionNumber{}, FrameSavingParameters(false));
        state->menuBar = std::move(definition);
    }
    const XTPTabLayoutStyle tabLayout = m_paneManager.GetTabPaintManager()->GetLayout();
    const XTPTabLayoutStyle panelLayout = m_paneManager.GetPanelPaintManager()->GetLayout();
    CMainFrame* clone = Create(*state, false, false);
    if (clone == nullptr)
        return nullptr;
    // The new window's panes look like this one's: the same icons and tab layouts.
    clone->m_paneManager.SetImageManager(m_paneManager.GetImageManager());
    clone->m_paneManager.GetTabPaintManager()->SetLayout(tabLayout);
    clone->m_paneManager.GetPanelPaintManager()->SetLayout(panelLayout);
    clone->m_paneManager.RedrawPanes();
    if (MainFrameApplication* app = MainFrameApplication::Instance())
        app->ReapplyToolBarIconSize();
    LogElapsed("Cloned main frame in %lld.%03lld ms", start);
    return clone;
}

void CMainFrame::ShowFirstTime() {
    if (m_shown)
        return;
    if (auto theme = UIModuleProxy::Instance().GetCurrentTheme())
        SetTheme(theme->Number);
    MainFrameApplication* app = MainFrameApplication::Instance();
    if (app != nullptr)
        app->OnIdle(0);
    PostMessage(WM_IDLEUPDATECMDUI);
    UpdateWindow();
    if (app != nullptr)
        app->SignalSplashClose();
    ShowWindow(showCommand);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    m_shown = true;
    // Nothing was laid out before the first showing.
    RecalcLayout();
    SetActiveView(GetActiveDravikView(), true);
    UpdateViewDependentToolBars();
    UpdateOrsaControls();
}

void CMainFrame::ApplyState(const MainFrameState& state, bool applyPlacement, bool layout) {
    ::ApplyState(*this, state, applyPlacement, layout);
}

void CMainFrame::SaveXmlState(Dravik::UI::XML::Node element) {
    ::SaveXmlState(*this, element, true, true);
}

CDVRibbonCommandBars* CMainFrame::GetRibbonCommandBars() const {
    return DYNAMIC_DOWNCAST(CDVRibbonCommandBars, GetCommandBars());
}

CXTPMenuBar* CMainFrame::GetMenuBar() {
    CDVRibbonCommandBars* bars = GetRibbonCommandBars();
    return bars != nullptr ? bars->GetMainMenuBar() : nullptr;
}

CXTPRibbonBar* CMainFrame::GetRibbonBar() {
    CDVRibbonCommandBars* bars = GetRibbonCommandBars();
    return bars != nullptr ? bars->GetRibbonBar() : nullptr;
}

bool CMainFrame::IsRibbonMode() const {
    CDVRibbonCommandBars* bars = GetRibbonCommandBars();
    return bars != nullptr && bars->IsRibbonMode();
}

const std::vector<UINT>& CMainFrame::GetHiddenCommands() {
    static const std::vector<UINT> ids{
        1045, 57612, 1248, 1739, 1252, 1989, 1409, 1699, 1217, 1708, 1050, 1790, 1932, 1258, 1089, 1345, 1007,
        1233, 1231,  1232, 8013, 8139, 8140, 8028, 8066, 8141, 8143, 8003, 8014, 8027, 8025, 8033, 8174, 8164,
        8166, 8165,  8167, 8162, 8168, 8034, 8036, 8044, 8050, 8051, 8216, 8217, 8207, 8206, 8057, 2036, 8058,
        8059, 8060,  8061, 8067, 8091, 8092, 8093, 8095, 8102, 8103, 8105, 8124, 8125, 1901, 1265, 1113, 1041,
        1051, 1731,  1737, 1720, 1721, 1722, 1723, 1724, 1725, 1726, 1727, 1728, 1716, 1034, 1070, 1071, 1621,
        1466, 2860,  1703, 1448, 1382, 1377, 1611, 1215, 8059, 1683, 1094, 1246};
    return ids;
}

CWnd* CMainFrame::GetDockingPaneWindow(CXTPDockingPane* pane) {
    return pane != nullptr ? GetPaneWindow(pane->GetID()) : nullptr;
}

DWORD CMainFrame::GetVisibleFramelessToolBars() const {
    if (UIModuleProxy::Instance().GetActiveMainFrame() != this || m_screenMode == 2 || !m_shown)
        return 0;
    const DWORD mask = MdiMainFrame::GetVisibleFramelessToolBars();
    return IsRibbonMode() ? mask : mask & (16 | 32);
}

BOOL CMainFrame::InitFramelessToolBars(CRuntimeClass* framelessClass) {
    return MdiMainFrame::InitFramelessToolBars(
        framelessClass != nullptr ? framelessClass : RUNTIME_CLASS(CDVFramelessToolBars));
}

int CMainFrame::GetActiveCommandId() const {
    const auto* view = dynamic_cast<const CDVView*>(GetActiveDravikView());
    CDvw32Doc* document = view != nullptr ? view->GetDvwDocument() : nullptr;
    if (document == nullptr)
        document = DYNAMIC_DOWNCAST(CDvw32Doc, ActiveDocumentOf(const_cast<CMainFrame&>(*this)));
    if (document == nullptr || !document->IsInCommand())
        return 0;
    // A command the container has no id for still runs: it keeps the frame from taking typed
    // codes, and its prompt is the idle one.
    return static_cast<int>(
        DVCommandContainer::Instance().GetCommandId(document->GetCommandName()).value_or(-1));
}

void CMainFrame::ApplyDockingPanesLock() {
    m_paneManager.LockPanes(GetSettings().lockDockingPanes);
}

void CMainFrame::EndModalState() {
    MdiMainFrame::EndModalState();
    if (!InModalState())
        if (MainFrameApplication* app = MainFrameApplication::Instance())
            app->ProcessQueuedDDECommands();
}

// The names the shortcut texts give the modifier and movement keys, from the kernel's strings.
void CMainFrame::SetKeyNames() {
    CXTPShortcutManager* shortcuts = GetCommandBars()->GetShortcutManager();
    if (shortcuts == nullptr)
        return;
    constexpr std::pair<UINT, UINT> kModifiers[] = {{VK_CONTROL, 10386}, {VK_MENU, 10387}, {VK_SHIFT, 10388}};
    for (const auto& [key, stringId] : kModifiers) {
        std::wstring name = DVLoadString(stringId);
        std::erase(name, L'+');
        if (!name.empty())
            shortcuts->SetKeyNameText(key, name.c_str());
    }
    constexpr UINT kMovementKeys[] = {VK_NEXT,   VK_PRIOR,  VK_HOME,   VK_END,
                                      VK_INSERT, VK_DELETE, VK_ESCAPE, VK_SPACE};
    UINT stringId = 41768;
    for (UINT key : kMovementKeys) {
        const std::wstring name = DVLoadString(stringId++);
        if (!name.empty())
            shortcuts->SetKeyNameText(key, name.c_str());
    }
}

// A new frame lies on the monitor of the application's main frame, inside its work area.
void CMainFrame::SizeToMonitor() {
    HMONITOR monitor = nullptr;
    if (CWnd* main = UIModuleProxy::Instance().GetMainWindow();
        main != nullptr && main != this && main->m_hWnd)
        monitor = ::MonitorFromWindow(main->m_hWnd, MONITOR_DEFAULTTOPRIMARY);
    if (monitor == nullptr)
        monitor = ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(monitor, &info))
        return;
    CRect area(info.rcWork);
    area.DeflateRect(kMonitorInset, kMonitorInset);
    MoveWindow(area, FALSE);
}

// The program's own shortcuts are its accelerator table 1; a settings profile that carries
// shortcuts of its own puts them over these when it is applied.
constexpr UINT kFrameAccelerators = 1;

void CMainFrame::ApplyCommandBarSettings() {
    CXTPCommandBars* bars = GetCommandBars();
    if (CXTPShortcutManager* shortcuts = bars->GetShortcutManager()) {
        LPCWSTR name = MAKEINTRESOURCEW(kFrameAccelerators);
        if (HACCEL table = ::LoadAcceleratorsW(AfxFindResourceHandle(name, RT_ACCELERATOR), name)) {
            shortcuts->SetAccelerators(table);
            ::DestroyAcceleratorTable(table);
        } else {
            DVLog_Write(DVLogExpected, "No accelerator table %u (error %u)", kFrameAccelerators,
                        static_cast<unsigned>(::GetLastError()));
        }
    }
    CXTPCommandBarsOptions* options = bars->GetCommandBarsOptions();
    options->bUseDisabledIcons = TRUE;
    options->ShowKeyboardCues(xtpKeyboardCuesShowWindowsDefault);
    options->bShowPopupBarToolTips = TRUE;
    // The command cards name the keys that call a command.
    options->bShowKeyboardTips = TRUE;
    options->bSyncFloatingBars = TRUE;
    options->szIcons = CSize(16, 16);
    options->szPopupIcons = CSize(16, 16);
    if (FrameToolsApplication* app = FrameToolsApplication::Instance()) {
        const SIZE size = app->GetToolBarIconSize();
        options->szLargeIcons = CSize(CXTPDpi::ScaleX(size.cx), CXTPDpi::ScaleY(size.cy));
    }
    options->bLargeIcons = ::GetSystemMetrics(SM_CXFULLSCREEN) > 1280;
    // Tips with a title and a description, on the frame's bars and on its auto-menu bars.
    for (CXTPCommandBars* tipped :
         {bars, GetAutoMenuCommandBars(), static_cast<CXTPCommandBars*>(GetFramelessToolBars())})
        if (tipped != nullptr && tipped->GetToolTipContext() != nullptr)
            tipped->GetToolTipContext()->SetStyle(xtpToolTipMarkup);
    ApplyCommandBarOptions(false);
    CopyShortcutsToFramelessToolBars();
}

int CMainFrame::OnCreate(LPCREATESTRUCTW lpcs) {
    if (MdiMainFrame::OnCreate(lpcs) == -1)
        return -1;
    // The frameless bars take the frame's options, tips and shortcuts with its own bars below.
    InitFramelessToolBars();
    SetMainFrame(this);
    DragAcceptFiles(TRUE);
    SizeToMonitor();
    // Library data can still be dropped elsewhere when the frame's target cannot be registered.
    if (!RegisterDropTarget(this))
        DVLog_Write(DVLogExpected, "No drop target on main window 0x%08x",
                    static_cast<unsigned>(reinterpret_cast<uintptr_t>(m_hWnd)));
    if (!GetStatusLine()->Create(this, kStatusLineStyle, AFX_IDW_STATUS_BAR))
        return -1;
    GetStatusLine()->CreatePanes();
    if (!InitCommandBars(RUNTIME_CLASS(CDVRibbonCommandBars)) || GetCommandBars() == nullptr)
        return -1;
    Dravik::UI::LoadCommandIcons(*GetCommandBars()->GetImageManager(),
                                 CXTPPaintManager::Current()->IsDarkTheme());
    ApplyCommandBarSettings();
    if (!m_paneManager.InstallDockingPanes(this, TRUE))
        return -1;
    ApplyDockingPanesLock();
    SetDockingPaneManager(&m_paneManager);
    if (GetMenuBar() == nullptr)
        return -1;
    const std::vector<UINT>& hidden = GetHiddenCommands();
    GetCommandBars()->HideCommands(hidden.data(), static_cast<int>(hidden.size()));
    if (!SetUpRibbonBar() || !CreateDockingPanesAndToolBarsStep())
        return -1;
    SetWorkbookMode(true);
    SetKeyNames();
    if (m_tabbedBarAdapter != nullptr && m_tabbedBarAdapter->GetTabToolBar() != nullptr)
        m_tabbedBarAdapter->GetTabToolBar()->UpdateAccelerators();
    UIModuleProxy::Instance().AddMainFrame(this);
    if (MainFrameApplication* app = MainFrameApplication::Instance())
        app->UpdateMainFrameTitles();
    return 0;
}

TabbedMainToolBar* CMainFrame::CreateTabbedMainToolBar(CXTPCommandBars* bars, const std::wstring& caption) {
    m_tabbedBarAdapter = CDVTabbedMainToolBar::Create(bars, caption);
    return m_tabbedBarAdapter.get();
}

// The frame's answers to the close questions, over the application it belongs to.
class CMainFrame::Closing : public dvframe::CloseHost {
public:
    explicit Closing(CMainFrame& frame) : frame_(frame), app_(MainFrameApplication::Instance()) {}

    void ActivateFrame() override { frame_.ActivateFrame(-1); }
    // Without an active document nothing is ended: the kernel takes no document as all of them.
    void TerminateActiveDocumentCommands() override {
        auto* document = DYNAMIC_DOWNCAST(CDvw32Doc, ActiveDocumentOf(frame_));
        if (DravikServerAppProxy* proxy = DravikServerAppProxy::Instance();
            proxy != nullptr && document != nullptr)
            proxy->TerminateAllCommands(document, true);
    }
    int PumpNesting() const override { return app_ != nullptr ? app_->GetPumpNesting() : 1; }
    void RepostClose() override { frame_.PostMessage(WM_CLOSE); }
    void KeepPaneWindowStates() override {
        if (app_ != nullptr)
            app_->KeepPaneWindowStates();
    }
    CDocument* GetActiveDocument() override { return ActiveDocumentOf(frame_); }
    // The document's windows are children of the main frames, so the class library's question,
    // asked with this frame, would find them all in "another frame" and answer without asking:
    // the document is asked itself whenever this close closes it.
    bool CanCloseFrame(CDocument& document) override {
        return ShownByAnotherMainFrame(document) || document.SaveModified() != FALSE;
    }
    bool ShownByAnotherMainFrame(CDocument& document) override {
        for (POSITION at = document.GetFirstViewPosition(); at != nullptr;) {
            CView* view = document.GetNextView(at);
            CFrameWnd* top = view != nullptr ? view->GetParentFrame() : nullptr;
            while (top != nullptr && top->GetParentFrame() != nullptr)
                top = top->GetParentFrame();
            if (top != nullptr && top != &frame_)
                return true;
        }
        return false;
    }
    bool SaveAllModified() override { return app_ == nullptr || app_->SaveAllModified(); }
    bool IsApplicationMainFrame() const override {
        return UIModuleProxy::Instance().GetMainWindow() == &frame_;
    }
    int NumMainFrames() const override {
        int count = 0;
        UIModuleProxy::Instance().ForEachMainFrame(
            [&](CFrameWnd* f) { count += f->IsKindOf(RUNTIME_CLASS(CMainFrame)); });
        return count;
    }
    bool AddOnsAllowExit() override { return app_ == nullptr || app_->AddOnsAllowExit(); }
    void ActivateNextMainFrame() override {
        if (app_ != nullptr)
            app_->ActivateNextMainFrame(frame_);
    }
    // The last frame goes: its documents' tab groups are kept with the application's state.
    void PrepareExit() override {
        if (app_ == nullptr)
            return;
        if (app_->GetSaveAtExit() && frame_.GetTabClient() != nullptr)
            frame_.GetTabClient()->SaveState();
        app_->PrepareExit();
    }
    void ReleaseFrameViews() override {}
    void SaveOpenDocuments() override {
        if (app_ != nullptr)
            app_->SaveOpenDocuments();
    }
    void CloseAllDocuments() override {
        if (app_ != nullptr)
            app_->CloseAllDocuments();
    }
    void DestroyFrame() override { frame_.MdiMainFrame::OnClose(); }

private:
    CMainFrame& frame_;
    MainFrameApplication* app_;
};

void CMainFrame::OnClose() {
    DVLog_Write(DVLogInfo, "Closing main window 0x%08x @ 0x%p...",
                static_cast<unsigned>(reinterpret_cast<uintptr_t>(m_hWnd)), static_cast<void*>(this));
    // Registered with the automatic document template while it closes, so that no document the
    // close opens or shows lands in this frame.
    CDVDocTemplate* autoTemplate = CDVDocTemplate::AutoMainFrame::FindDocTemplate();
    if (autoTemplate != nullptr)
        autoTemplate->AddMainFrame(this);
    CFrameWnd* const self = this; // the frame may be gone when the close ends
    Closing closing(*this);
    dvframe::CloseMainFrame(closing);
    if (autoTemplate != nullptr)
        autoTemplate->RemoveMainFrame(self);
}

void CMainFrame::OnDestroy() {
    if (MarkAsBeingDestroyed())
        return;
    SetActiveView(nullptr, false);
    DetachDockingPaneChildWindows();
    SetScreenMode(0);
    CDialogCache::Instance().ResetCache();
    if (IApplicationManagerProxy* addOns = ApplicationManager::Proxy())
        addOns->OnMainFrameDestroy();
    MdiMainFrame::OnDestroy();
}

// A frame that is gone is no longer one of the UI module's main frames.
void CMainFrame::PostNcDestroy() {
    UIModuleProxy& ui = UIModuleProxy::Instance();
    ui.RemoveMainFrame(this);
    if (ui.GetMainWindow() == this)
        ui.SetMainWindow(nullptr);
    MdiMainFrame::PostNcDestroy();
}

void CMainFrame::ShowOrsaCommandsAsThePdmWorks() {
    ShowOrsaCommands(!GetSettings().pdmText.empty() && DVPDMWorkMix::Instance().IsEnabled());
}

void CMainFrame::ExchangeLayout(CXTPPropExchange* exchange, bool controls, bool layout) {
    CXTPCommandBars* bars = GetCommandBars();
    if (exchange == nullptr || bars == nullptr)
        return;
    LockLayout();
    XTP_COMMANDBARS_PROPEXCHANGE_PARAM param;
    param.bSerializeControls = controls;
    {
        CXTPPropExchangeSection options(exchange, L"Options");
        bars->GetCommandBarsOptions()->DoPropExchange(options, TRUE);
    }
    {
        CXTPPropExchangeSection shortcuts(exchange, L"Shortcuts");
        if (CXTPShortcutManager* manager = bars->GetShortcutManager())
            manager->DoPropExchange(shortcuts);
    }
    if (layout) {
        CXTPPropExchangeSection panes(exchange, L"DockingPane");
        m_paneManager.DoPropExchange(panes);
        if (exchange->IsLoading())
            m_paneManager.ClosePane(1016);
    }
    {
        CXTPPropExchangeSection section(exchange, L"CommandBars");
        bars->DoPropExchange(section, &param);
        dvframe::ExchangeFixedToolBars(section, bars);
        // A bar left floating on a monitor that is gone comes back where it can be reached.
        for (int i = 0; i < bars->GetCount(); ++i)
            if (CXTPToolBar* bar = bars->GetAt(i); bar != nullptr && bar->IsVisible())
                KeepFloatingBarOnScreen(bar);
    }
    if (CXTPCommandBars* autoMenu = GetAutoMenuCommandBars()) {
        CXTPPropExchangeSection section(exchange, L"Automenu");
        XTP_COMMANDBARS_PROPEXCHANGE_PARAM autoParam;
        autoParam.bSerializeControls = FALSE;
        autoMenu->DoPropExchange(section, &autoParam);
        dvframe::ExchangeFixedToolBars(section, autoMenu);
    }
    if (exchange->IsLoading()) {
        // The cards name the keys that call each command, and loaded shortcuts may have changed them.
        RefreshCommandToolTips(bars);
        UpdateInstalledConfigurationsMenu();
        // A layout saved while the PDM worked holds its commands shown.
        ShowOrsaCommandsAsThePdmWorks();
    }
    UnlockLayout();
}

unsigned CMainFrame::ShowMessageBar(int imageId, const std::wstring& title, const std::wstring& text,
                                    std::uint64_t value,
                                    const std::vector<Dravik::UI::MessageBar::Button>& buttons,
                                    Dravik::UI::MessageBar::Callback callback, bool closeOnButton) {
    if (title.empty() && text.empty())
        return 0;
    auto bar = std::make_unique<Dravik::UI::MessageBar>(value, std::move(callback), closeOnButton);
    if (GetCommandBars() == nullptr || !bar->Create(GetCommandBars(), kMessageBarStyle, kMessageBarId)) {
        if (::IsWindow(bar->m_hWnd))
            bar->DestroyWindow();
        return 0;
    }
    bar->EnableMarkup(TRUE);
    // The image column shows a picture made for it, at one of the sizes it is drawn at.
    const CXTPImageManagerIconSet* images =
        imageId > 0 ? GetCommandBars()->GetImageManager()->GetIconSet(static_cast<UINT>(imageId)) : nullptr;
    const bool hasImage =
        images != nullptr &&
        (images->GetIcon(32) != nullptr || images->GetIcon(24) != nullptr || images->GetIcon(16) != nullptr);
    bar->SetMessage(dvframe::BuildMessageBarMarkup(hasImage, imageId, title, text).c_str());
    bar->SetButtons(buttons);
    const unsigned id = bar->GetId();
    m_messageBars.push_back(std::move(bar));
    RecalcLayout();
    return id;
}

bool CMainFrame::CloseMessageBar(unsigned id) {
    for (auto& bar : m_messageBars)
        if (bar->GetId() == id) {
            bar->Close();
            return true;
        }
    return false;
}

Dravik::UI::MessageBar* CMainFrame::FindMessageBar(unsigned id) const {
    for (const auto& own : m_messageBars)
        if (own->GetId() == id)
            return own.get();
    return nullptr;
}

bool CMainFrame::IsValidMessageBar(const Dravik::UI::MessageBar* bar) const {
    if (bar == nullptr)
        return false;
    for (const auto& own : m_messageBars)
        if (own.get() == bar)
            return true;
    return false;
}

LRESULT CMainFrame::OnMessageBarClosed(WPARAM, LPARAM lParam) {
    auto* closed = reinterpret_cast<Dravik::UI::MessageBar*>(lParam);
    for (auto it = m_messageBars.begin(); it != m_messageBars.end(); ++it)
        if (it->get() == closed) {
            std::unique_ptr<Dravik::UI::MessageBar> bar = std::move(*it);
            m_messageBars.erase(it);
            if (::IsWindow(bar->m_hWnd))
                bar->DestroyWindow();
            RecalcLayout();
            break;
        }
    return 0;
}

bool CMainFrame::IsVisible() const {
    return m_hWnd != nullptr && IsWindowVisible();
}

std::optional<bool> CMainFrame::IsActiveChildMaximized() const {
    BOOL maximized = FALSE;
    CMDIChildWnd* child = const_cast<CMainFrame*>(this)->MDIGetActive(&maximized);
    if (child == nullptr)
        return std::nullopt;
    return maximized != FALSE;
}

void CMainFrame::MaximizeActiveChild(bool maximize) {
    if (CMDIChildWnd* child = MDIGetActive()) {
        if (maximize)
            MDIMaximize(child);
        else
            MDIRestore(child);
    }
}

void CMainFrame::ApplyRibbonDefinition(const Dravik::UI::XML::RibbonBar& ribbon) {
    Dravik::UI::LayoutLock lock(static_cast<Dravik::UI::MainFrame*>(this));
    TakeOutRibbonHelpItems();
    if (CXTPRibbonBar* bar = GetRibbonBar()) {
        ribbon.apply(bar, GetRibbonBarApplicationParameters());
        InitRibbonControls();
        PutBackRibbonHelpItems();
        // The definition made every tab and group anew, each shown: which of them the active
        // drawing and its view want is decided again.
        if (DVRibbonBar* own = GetDVRibbonBar()) {
            CView* view = GetActiveDravikView();
            own->UpdateContextualTabs(view != nullptr ? view->GetDocument() : nullptr);
        }
        UpdateOrsaControls();
        UpdateViewDependentRibbonGroups();
    }
}

void CMainFrame::SaveRibbon(Dravik::UI::XML::Node element) {
    Dravik::UI::XML::RibbonBar definition;
    if (CXTPRibbonBar* bar = GetRibbonBar())
        definition.save(bar, Dravik::UI::XML::FormatVersion, FrameSavingParameters(false));
    definition.store(element);
}

Dravik::UI::XML::WindowRect CMainFrame::GetWindowRect() const {
    CRect r;
    CWnd::GetWindowRect(&r);
    return {r.left, r.top, r.right, r.bottom};
}

void CMainFrame::RestoreWindowPlacement(const Dravik::UI::XML::WindowRect& rect, int command) {
    // A frame not yet shown only takes the place; its first showing uses the show command.
    MoveWindow(CRect(rect.left, rect.top, rect.right, rect.bottom), FALSE);
    if (command != 0)
        ShowWindow(command);
}

std::vector<dvapp::StateFrame*> MainFrameStates::GetMainFrames() {
    std::vector<dvapp::StateFrame*> frames;
    UIModuleProxy::Instance().ForEachMainFrame([&](CFrameWnd* frame) {
        if (auto* main = DYNAMIC_DOWNCAST(CMainFrame, frame))
            frames.push_back(main);
    });
    return frames;
}

dvapp::StateFrame* MainFrameStates::CreateFromState(const std::shared_ptr<MainFrameState>& state) {
    return CMainFrame::CreateFromState(state, true, true);
}

void CMainFrame::OnColorBook() {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    dvframe::ChooseColorFromBooks(m_hWnd, DYNAMIC_DOWNCAST(CDvw32Doc, ActiveDocumentOf(*this)), cursor);
}

void CMainFrame::OnUpdateColorBook(CCmdUI* cmdUI) {
    cmdUI->Enable(DYNAMIC_DOWNCAST(CDvw32Doc, ActiveDocumentOf(*this)) != nullptr);
}
