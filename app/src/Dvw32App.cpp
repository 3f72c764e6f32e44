#include "app/Dvw32App.h"
#include "app/FindCommandPane.h"

#include "CriticalErrorRecord.h"

#include "app/DVServer.h"
#include "app/GenerateDumpFileAppContext.h"
#include "app/HelpPath.h"
#include "app/HtmlHelp.h"
#include "app/KernelCommandIdentifiers.h"
#include "app/RecentFileList.h"
#include "app/ServerAppProxy.h"
#include "app/Splash.h"
#include "app/StartPages.h"
#include "app/StartupIni.h"
#include "ribbon/RibbonBar.h"

#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/Module.h"
#include "DVDiagnostics/NotBuiltYet.h"
#include "DravikKernel/ApplicationManager.h"
#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/KernelRuntime.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/ProfileManager.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/View.h"
#include "DravikManagedUIProxy/DravikManagedUIProxy.h"
#include "DravikUI/ChildFrame.h"
#include "DravikUI/TabView.h"
#include "afx/oletemplate.h"
#include "win/base.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

IMPLEMENT_DYNAMIC(CDvw32App, dvaux::MfcApplication)

BEGIN_MESSAGE_MAP(CDvw32App, dvaux::MfcApplication)
ON_COMMAND_RANGE(17000, 32000, &CDvw32App::OnApplicationCommand)
ON_COMMAND_RANGE(15000, 16999, &CDvw32App::OnAddonCommand)
ON_UPDATE_COMMAND_UI_RANGE(15000, 16999, &CDvw32App::OnUpdateAddonCommand)
ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, &CDvw32App::OnRecentFileCommand)
// The application's own commands, after the main frame's routing has passed them on.
ON_COMMAND(ID_APP_ABOUT, &CDvw32App::OnAppAbout)
ON_COMMAND(1601, &CDvw32App::OnContextHelpCommand)
ON_COMMAND(ID_HELP, &CDvw32App::OnContextHelpCommand)
ON_COMMAND(ID_CONTEXT_HELP, &CDvw32App::OnContextHelpCommand)
ON_COMMAND(ID_FILE_PRINT_SETUP, &CWinApp::OnFilePrintSetup)
ON_COMMAND_RANGE(1863, 1866, &CDvw32App::OnInfoTipCommand)
ON_COMMAND(1868, &CDvw32App::OnFixedSize)
ON_COMMAND(1206, &CDvw32App::OnTutorials)
ON_COMMAND_RANGE(3401, 3449, &CDvw32App::OnThemeCommand)
ON_UPDATE_COMMAND_UI_RANGE(3401, 3449, &CDvw32App::OnUpdateThemeCommand)
ON_COMMAND(2074, &CDvw32App::OnOrsaConnect)
ON_UPDATE_COMMAND_UI(2074, &CDvw32App::OnUpdateOrsaConnect)
ON_COMMAND(2075, &CDvw32App::OnOrsaDisconnect)
ON_UPDATE_COMMAND_UI(2075, &CDvw32App::OnUpdateOrsaConnected)
ON_COMMAND(9311, &CDvw32App::OnOrsaWorkMixCommand)
ON_UPDATE_COMMAND_UI(9311, &CDvw32App::OnUpdateOrsaConnected)
ON_COMMAND(7306, &CDvw32App::OnLogWindow)
ON_UPDATE_COMMAND_UI(7306, &CDvw32App::OnUpdateLogWindow)
ON_THREAD_MESSAGE(1339, &CDvw32App::OnIs3DMessage)
END_MESSAGE_MAP()

namespace {

constexpr UINT kFirstApplicationCommand = 17000;
constexpr UINT kLastApplicationCommand = 32000;

const AFX_STRING_RESOURCE kStrings[] = {
    {AFX_IDS_APP_TITLE, L"DRAVIK CAD"},
};
AFX_STRING_TABLE(kStrings);

} // namespace

CDvw32App::CDvw32App()
    : m_serverAppProxy(std::make_unique<ServerAppProxy>(*this)),
      m_paneWindows(std::make_unique<dvapp::PaneWindowSlots>()),
      m_serverFactory(std::make_unique<DVServerFactory>()),
      m_templateServer(std::make_unique<COleTemplateServer>()) {
    m_mainThreadId = GetCurrentThreadId();
    m_findCommandPane = dvapp::InstallFindCommandPane(*this);
}

CDvw32App::~CDvw32App() {
    if (m_clearSettingsMutex != nullptr)
        CloseHandle(m_clearSettingsMutex);
    // The listener registration goes with the listener base; the callback object, the first
    // member, goes last of the members.
}

bool CDvw32App::NoCaseLess::operator()(const std::wstring& a, const std::wstring& b) const {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                TRUE) == CSTR_LESS_THAN;
}

// Main frames ------------------------------------------------------------------------------

std::vector<CMainFrame*> CDvw32App::GetMainFrames() {
    std::vector<CMainFrame*> frames;
    ForEachMainFrame([&](CMainFrame* frame) { frames.push_back(frame); });
    return frames;
}

size_t CDvw32App::NumMainFrames() {
    size_t count = 0;
    ForEachMainFrame([&](CMainFrame*) { ++count; });
    return count;
}

void CDvw32App::EnableMainFrames(bool enable) {
    if (m_enablingMainFrames)
        return;
    m_enablingMainFrames = true;
    ForEachMainFrame([&](CMainFrame* frame) {
        if (frame->m_hWnd != nullptr)
            frame->EnableWindow(enable ? TRUE : FALSE);
    });
    m_enablingMainFrames = false;
}

CDvw32App* GetDvw32App() {
    return DYNAMIC_DOWNCAST(CDvw32App, AfxGetApp());
}

CMainFrame* GetMainFrame() {
    return DYNAMIC_DOWNCAST(CMainFrame, UIModuleProxy::Instance().GetMainWindow());
}

// Main initialisation ------------------------------------------------------------------------

BOOL CDvw32App::InitInstance(DVCommandLineInfo& commandLine, const dvapp::StartupIni& ini) {
    if (!CWinApp::InitInstance())
        return FALSE;
    EnumDisplayMonitors(nullptr, nullptr, FindPrimaryMonitorProc,
                        reinterpret_cast<LPARAM>(&m_primaryMonitor));
    m_saveAtExit = false;
    m_orsaProfileFileName = GetProfileStringW(L"Settings", L"OrsaProfileFileName", L"").GetString();
    EnableDockingPaneWindows(ini);

    ImportStartupProfile();
    LoadAddOns();
    // The text browsers' plug-ins come with the text browsers.
    DV_NOT_BUILT_YET("start-up: the text browsers' plug-ins");
    // The kernel's commands that the shell names, before any main frame asks for them.
    RegisterApplicationCommands();
    // The add-ons' commands of the last session, so that the bars saved with them still work.
    LoadApplicationCommandsFile();
    CDVApplicationManager::Instance().StartApplications(1, 1);

    m_helpFilePath =
        dvapp::FindHelpFile(*this, m_startup.Company, m_startup.RegistryName, m_startup.Language);
    // The class library's own help route reads its field, not ours: both name the same file.
    if (!m_helpFilePath.empty()) {
        std::free(const_cast<wchar_t*>(m_pszHelpFilePath));
        m_pszHelpFilePath = wcsdup(m_helpFilePath.c_str());
    }
    // A value longer than the buffer the variable is read into leaves the switch as it was.
    wchar_t trace[256] = L"";
    if (GetEnvironmentVariableW(L"DRAVIK_STRING_ID", trace, 256) < 256)
        g_bTraceMessages = std::wcscmp(trace, L"1") == 0;

    // Kernel drawings shown in the UI library's child frames, by tab views.
    m_docTemplate =
        CDVDocTemplate::Create(GetDocTemplateResourceId(), RUNTIME_CLASS(CDvw32Doc),
                               RUNTIME_CLASS(Dravik::UI::MdiChildFrame), RUNTIME_CLASS(CDVTabView));
    if (m_docTemplate != nullptr)
        AddDocTemplate(m_docTemplate);

    // A first start, or a theme name this version does not know, takes the UI module's default.
    const std::wstring savedTheme = GetProfileStringW(L"Settings", L"UIStyle", L"").GetString();
    if (!SetTheme(savedTheme) && !SetTheme(UIModuleProxy::Instance().GetDefaultThemeName())) {
        DVLog_Write(DVLogFailure, "Failed to initialize theme");
        return FALSE;
    }

    if (!CreateFirstMainFrame()) {
        DVLog_Write(DVLogFailure, "Failed to create main window");
        return FALSE;
    }
    RegisterServer();

    CDVApplicationManager::Instance().StartApplications(0, 1);
    CDVApplicationManager::Instance().CreateApplicationTools();
    if (CMainFrame* frame = GetMainFrame()) {
        // Later resets of the menu bar go back to what it holds now.
        if (CXTPCommandBar* menu = frame->GetMenuBar())
            menu->GetControls()->CreateOriginalControls();
    }
    if (m_helpContextNesting == 0) {
        m_helpContextId = 1;
        m_helpContextFile.clear();
    }
    automenu(0);
    ShowSyspanelSet(0);
    m_saveAtExit = true;

    if (!m_startup.AppTitle.empty()) {
        free(const_cast<wchar_t*>(m_pszAppName));
        m_pszAppName = wcsdup(m_startup.AppTitle.c_str());
    } else if (const std::wstring title = DVLoadString(GetTitleStringId()); !title.empty()) {
        free(const_cast<wchar_t*>(m_pszAppName));
        m_pszAppName = wcsdup(title.c_str());
    }

    if (!GlobalContainer::Instance().FinishInitSession())
        return FALSE;
    // Server mode belongs to the managed add-ons' manager, which this program does not run: the
    // request is kept for it.
    m_serverMode = GetSettings().serverMode || ini.Effective().GetInt(L"SETTINGS", L"SERVER", 0) != 0;
    if (InitOrsaIntegration() == 3)
        return FALSE;
    InitializeMacroManager();
    CreateRecentFileList(GetSettings().recentFileCount);
    GetMaterialWindow(true);

    if (commandLine.m_bRunEmbedded || commandLine.m_bRunAutomated) {
        m_saveAtExit = true;
        if (CMainFrame* frame = GetMainFrame())
            frame->RecalcLayout();
        return TRUE;
    }

    ProbeClassesRootWrite();

    // What the crash report may have left for this start.
    if (GetProfileStringW(L"ErrorRestore", L"BugReportFolder", L"").IsEmpty())
        WriteProfileStringW(L"ErrorRestore", L"BugReportFolder", L"");
    if (GetProfileInt(L"ErrorRestore", L"Restart", 0) != 0)
        WriteProfileInt(L"ErrorRestore", L"Restart", 0);

    if (WantsStartPages())
        OpenStartPages();

    // The program does not open an empty drawing of its own accord.
    if (commandLine.m_nShellCommand == CCommandLineInfo::FileNew)
        commandLine.m_nShellCommand = CCommandLineInfo::FileNothing;
    RecoverDocuments();
    if (!ProcessShellCommand(commandLine))
        return FALSE;

    ApplyDisplaySettings();
    ForEachMainFrame([](CMainFrame* frame) { frame->ShowFirstTime(); });

    // The shell's requests that came while starting run now, once, in the order they came.
    m_ddeReady = true;
    if (!m_ddeQueue.empty()) {
        AfxOleSetUserCtrl(TRUE);
        ProcessQueuedDDECommands();
    }

    // The last session's library configurations, then its documents when the settings ask for
    // them; the documents' list is used once.
    ReopenConfigurations();
    const std::vector<std::wstring> reopen =
        GetReopenDocuments() ? GetDocumentsToReopen() : std::vector<std::wstring>();
    WriteProfileInt(L"OpenDocuments", L"Count", 0);
    if (!reopen.empty()) {
        BeginWaitCursor();
        for (const std::wstring& path : reopen)
            OpenDocumentFile(path.c_str());
        EndWaitCursor();
    }

    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!PumpMessage())
            return FALSE;
    }
    return TRUE;
}

namespace {

// What the main frames ask of the application object.
class FrameApplication : public MainFrameApplication {
public:
    explicit FrameApplication(CDvw32App& app) : app_(app) {}
    std::shared_ptr<MainFrameState> GetDefaultMainFrameState() override {
        return app_.GetDefaultMainFrameState();
    }
    bool SaveAllModified() override { return app_.SaveAllModified() != FALSE; }
    void SaveOpenDocuments() override { app_.SaveOpenDocuments(); }
    void CloseAllDocuments() override { app_.CloseAllDocuments(FALSE); }
    // Open in whichever frame shows its window.
    bool IsDockingPaneOpen(int paneId) override {
        CXTPDockingPane* pane = app_.FindDockingPane(paneId, nullptr, nullptr);
        return pane != nullptr && !pane->IsClosed();
    }
    int GetPumpNesting() const override { return app_.GetPumpNesting(); }
    // What the frame's routing reaches.
    std::unique_ptr<GenerateDumpFileContextBase> CreateCrashContext() override {
        return std::make_unique<GenerateDumpFileAppContext>();
    }
    CDvw32Doc* GetActiveDocument() const override { return app_.GetActiveDocument(); }
    bool HasCommandLineInfo() const override { return app_.m_pCmdInfo != nullptr; }
    bool ShowHelpTopic(UINT topic) override { return app_.ShowHelpTopic(topic); }
    void SetRibbonMode(bool ribbon) override { app_.SetRibbonMode(ribbon); }
    bool IsRibbonMode() const override { return app_.GetRibbonMode(); }
    bool OnDDECommand(const CString& command) override {
        CString text = command;
        return app_.OnDDECommand(text.GetBuffer()) != FALSE;
    }
    void QueueDDECommand(const CString& command) override { app_.QueueDDECommand(command); }
    bool ShowContextHelp() override { return app_.ShowContextHelp(); }
    UINT SetHelpContext(UINT id) override { return app_.SetHelpContext(id, nullptr, 0); }
    void EnableMainFrames(bool enable) override { app_.EnableMainFrames(enable); }
    bool GetSaveAtExit() const override { return app_.GetSaveAtExit(); }
    void SetSaveAtExit(bool save) override { app_.SetSaveAtExit(save); }
    CWnd* GetFindCommandWindow() override { return app_.GetFindCommandWindow(false); }
    void OnIdle(long count) override { app_.OnIdle(count); }
    // The last main frame closes: the profiles keep their state, and through the kernel's
    // callback the application's commands and the frames' state; from then on the program may
    // end without asking about its documents again.
    void PrepareExit() override {
        if (app_.GetSaveAtExit())
            DravikProfileManager::SaveState();
        app_.SetApplicationState(CDvw32App::kStateSafeToExit);
    }
    void SignalSplashClose() override { ::SignalSplashClose(); }
    // Shell requests that waited while a frame was modal.
    void ProcessQueuedDDECommands() override { app_.ProcessQueuedDDECommands(); }
    void UpdateMainFrameTitles() override { app_.UpdateMainFrameTitles(); }
    // The closing frame is the main window: the one after it takes over.
    void ActivateNextMainFrame(CMainFrame&) override { app_.ActivateNextMainFrame(); }
    int GetMainResourceId() const override { return static_cast<int>(::GetMainResourceId()); }
    // A cloned frame takes the size the person chose, like every other frame.
    void ReapplyToolBarIconSize() override { app_.SetToolBarIconSize(CSize(app_.GetToolBarIconSize())); }
    std::optional<std::wstring> GetApplicationCommandText(UINT id) const override {
        return app_.GetApplicationCommandName(id);
    }
    void AddThemeControls(CXTPControlPopup* popup) override { CDvw32App::AddThemeControls(popup); }
    void AppendThemeMenuItems(HMENU menu) override { CDvw32App::AppendThemeMenuItems(menu); }

private:
    CDvw32App& app_;
};

} // namespace

// The frames of the last session's saved state when there is one, else one frame of the
// default state; the first becomes the application's main window.
bool CDvw32App::CreateFirstMainFrame() {
    if (!m_frameApplication)
        m_frameApplication = std::make_unique<FrameApplication>(*this);
    InstallFrameHooks();
    if (!m_mainFrameStates)
        m_mainFrameStates = std::make_unique<MainFrameStates>();
    SetStateFrames(m_mainFrameStates.get());
    if (!m_defaultFrameState && !m_startup.DefaultStateFile.empty())
        m_defaultFrameState = LoadDefaultMainFrameState(m_startup.DefaultStateFile);
    LoadState(nullptr, false);
    if (NumMainFrames() == 0)
        CMainFrame::CreateFromState(nullptr, false, true); // the default state names no place
    const std::vector<CMainFrame*> frames = GetMainFrames();
    if (frames.empty())
        return false;
    UIModuleProxy& ui = UIModuleProxy::Instance();
    if (ui.GetMainWindow() == nullptr)
        ui.SetMainWindow(frames.front());
    m_pMainWnd = ui.GetMainWindow();
    return true;
}

// Shut-down ----------------------------------------------------------------------------------

int CDvw32App::ExitInstance() {
    if (m_saveAtExit) {
        WriteProfileInt(L"Settings", L"ToolBarIconSize", m_toolBarIconSize.cx);
        WriteProfileInt(L"Settings", L"RibbonMode", m_ribbonMode ? 1 : 0);
        WriteProfileStringW(L"Settings", L"UIStyle", m_uiStyle.c_str());
        WriteProfileStringW(L"Settings", L"OrsaProfileFileName", m_orsaProfileFileName.c_str());
    }
    std::vector<std::unique_ptr<IApplicationCommand>> commands;
    commands.swap(m_applicationCommands);
    for (const auto& command : commands)
        GlobalContainer::Instance().UnregisterCmd(command->GetID());
    commands.clear();
    CDVApplicationManager::Instance().UnloadApplications();
    DravikManagedUIProxy::WpfAccessor::ShutdownDispatcher();
    Dravik::Module::shutdownAll();
    CloseKernelSession();

    for (ATOM* atom : {&m_ddeAppAtom, &m_ddeTopicAtom}) {
        if (*atom != 0)
            GlobalDeleteAtom(*atom);
        *atom = 0;
    }
    SetStateFrames(nullptr);
    m_mainFrameStates.reset();
    m_frameApplication.reset();
    RemoveFrameHooks();
    const int result = CWinApp::ExitInstance();
    AfxPostQuitMessage(0);
    if (m_clearSettingsMutex != nullptr) {
        CloseHandle(m_clearSettingsMutex);
        m_clearSettingsMutex = nullptr;
    }
    return result != 0 ? 1 : 0;
}

// Application commands ---------------------------------------------------------------------

IApplicationCommand* CDvw32App::GetApplicationCommand(UINT id) const {
    if (id < kFirstApplicationCommand || id > kLastApplicationCommand)
        return nullptr;
    return GetApplicationCommandAt(id - kFirstApplicationCommand);
}

bool CDvw32App::IsInternalApplicationCommand(UINT id) const {
    const IApplicationCommand* command = GetApplicationCommand(id);
    return command != nullptr && command->IsInternal();
}

IApplicationCommand* CDvw32App::GetApplicationCommandAt(size_t index) const {
    return index < m_applicationCommands.size() ? m_applicationCommands[index].get() : nullptr;
}

IApplicationCommand* CDvw32App::AddApplicationCommand(std::unique_ptr<IApplicationCommand> command) {
    const size_t id = kFirstApplicationCommand + m_applicationCommands.size();
    if (!command || id > kLastApplicationCommand)
        return nullptr;
    command->SetID(static_cast<int>(id));
    GlobalContainer::Instance().RegisterCmd(command->GetID(), L"", command->GetID(), DVCommandFlags());
    m_applicationCommands.push_back(std::move(command));
    return m_applicationCommands.back().get();
}

UINT CDvw32App::FindApplicationCommandId(const Dravik::UniqueIdentifier& key, int internalId) const {
    for (const auto& command : m_applicationCommands) {
        const auto* managed = dynamic_cast<const ApplicationCommand*>(command.get());
        if (managed && managed->GetInternalID() == internalId && managed->GetKeyID() == key)
            return static_cast<UINT>(managed->GetID());
    }
    return 0;
}

UINT CDvw32App::FindApplicationCommandId(const wchar_t* key, int internalId) const {
    if (key == nullptr || *key == L'\0')
        return static_cast<UINT>(internalId);
    const auto identifier = Dravik::UniqueIdentifier::TryParse(key);
    for (const auto& command : m_applicationCommands) {
        if (command->GetInternalID() != internalId)
            continue;
        if (const auto* managed = dynamic_cast<const ApplicationCommand*>(command.get())) {
            if (identifier && managed->GetKeyID() == *identifier)
                return static_cast<UINT>(managed->GetID());
        } else if (const auto* classic = dynamic_cast<const CDVAppCommand*>(command.get())) {
            if (classic->GetAddOnName() == key)
                return static_cast<UINT>(classic->GetID());
        }
    }
    return 0;
}

// The last session's documents --------------------------------------------------------------

bool CDvw32App::GetReopenDocuments() {
    return GetSettings().reopenDocuments;
}

void CDvw32App::SetReopenDocuments(bool reopen) {
    GetSettings().reopenDocuments = reopen;
}

// Registered names, DDE queue, ids ---------------------------------------------------------

void CDvw32App::AddRegisteredName(const wchar_t* name) {
    if (name != nullptr && *name != L'\0')
        m_registeredNames.insert(name);
}

bool CDvw32App::IsRegisteredName(const wchar_t* name) const {
    return name != nullptr && *name != L'\0' && m_registeredNames.count(name) > 0;
}

UINT CDvw32App::SetTitleStringId(UINT id) {
    const UINT old = m_titleStringId;
    m_titleStringId = id;
    return old;
}

UINT CDvw32App::SetDocTemplateResourceId(UINT id) {
    const UINT old = m_docTemplateResourceId;
    m_docTemplateResourceId = id;
    return old;
}

void CDvw32App::SetRegistryProfileName(const wchar_t* name) {
    std::free(const_cast<wchar_t*>(m_pszProfileName));
    m_pszProfileName = name ? wcsdup(name) : nullptr;
}

CString CDvw32App::GetApplicationTitle() {
    if (!m_startup.AppTitle.empty())
        return m_startup.AppTitle.c_str();
    if (m_cachedTitle.IsEmpty())
        m_cachedTitle = DVLoadString(m_titleStringId).c_str();
    return m_cachedTitle;
}

// Commands ---------------------------------------------------------------------------------

int CDvw32App::OnExitCommand() {
    if (DravikServerAppProxy* proxy = DravikServerAppProxy::Instance())
        proxy->TerminateAllCommands(nullptr, true);
    if (!SaveAllModified())
        return 0;
    if (IApplicationManagerProxy* addOns = ApplicationManager::Proxy();
        addOns != nullptr && !addOns->CanClose())
        return 0;
    SaveOpenDocuments();
    ExitInstance();
    return 1;
}

int CDvw32App::OnCloseAllCommand() {
    if (SaveAllModified())
        CloseAllDocuments(FALSE);
    return 1;
}

// Callbacks --------------------------------------------------------------------------------

void CDvw32App::OnRecentFilePinStateChanged(int index) {
    if (CDVRecentFileList* list = GetRecentFileList())
        list->OnPinStateChanged(index);
}

void CDvw32App::CreateDocumentFromPrototype(const wchar_t* prototypePath) {
    // The new document shows in the main frame, not under its backstage.
    if (CMainFrame* frame = GetMainFrame())
        if (DVRibbonBar* ribbon = frame->GetDVRibbonBar())
            ribbon->CloseBackstage();
    DocumentManager::Instance().CreateAndSaveNewDocumentFromPrototype(prototypePath, DocInitParams{});
}

void CDvw32App::OnApplicationEvent(int event, ApplicationEventArgs& args) {
    constexpr unsigned kNotForPopupToolbar = 0x20;
    if (event != kPopupToolbarEvent || (args.Flags & kNotForPopupToolbar) != 0)
        return;
    if (args.Document == nullptr || args.Document != m_activeDocument)
        return;
    CDvw32Doc* document = args.Document;
    if (document->IsInCommand())
        return;
    // The document's active view, or the drawing view inside it when that view holds tabs.
    auto* view = dynamic_cast<CDVView*>(document->GetActiveView());
    if (view == nullptr) {
        CDVView* active = DVGetActiveView();
        view = active != nullptr && active->GetDvwDocument() == document ? active : nullptr;
    }
    if (view != nullptr && view->IsShowPopupToolbar())
        m_pendingPopupToolbarDocument = document;
}

// Utilities --------------------------------------------------------------------------------

CString GetApplicationName() {
    if (GlobalContainer::Instance().IsVirelo())
        return L"VIRELO CAD 3D";
    CString name;
    name.LoadString(AFX_IDS_APP_TITLE);
    return name;
}

int FormatFixedBuffer32(wchar_t* buffer, size_t count, const wchar_t* format, ...) {
    if (buffer == nullptr || count == 0 || format == nullptr)
        return -1;
    va_list args;
    va_start(args, format);
    const int written = _vsnwprintf_s(buffer, count, count - 1, format, args);
    va_end(args);
    return written < 0 ? -1 : written;
}

namespace Dravik {

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
        if (key_ != nullptr)
            RegCloseKey(key_);
        key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
}

RegistryKey::~RegistryKey() {
    if (key_ != nullptr)
        RegCloseKey(key_);
}

RegistryKey RegistryKey::Open(HKEY parent, const wchar_t* subKey, REGSAM access) {
    HKEY key = nullptr;
    if (parent == nullptr || RegOpenKeyExW(parent, subKey, 0, access, &key) != ERROR_SUCCESS)
        return RegistryKey();
    return RegistryKey(key);
}

bool RegistryKey::GetStringValue(const wchar_t* name, std::wstring& value) const {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (key_ == nullptr || RegQueryValueExW(key_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    if (size <= sizeof(wchar_t)) {
        value.clear();
        return true;
    }
    // One more character than stored, so that a value saved without its terminator still ends.
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD read = size;
    if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<LPBYTE>(text.data()), &read) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    value = text.c_str();
    return true;
}

} // namespace Dravik
