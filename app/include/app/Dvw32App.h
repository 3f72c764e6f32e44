// The application object of the shell. Every part of the program reaches it through
// GetDvw32App; main frames are found through the UI module, never kept here.
#pragma once

#include "dvaux/MfcApplication.h"
#include "pal/visibility.h"

#include "DravikKernel/ApplicationCommand.h"
#include "DravikKernel/ApplicationEvents.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikManagedUIProxy/DravikManagedUIProxy.h"
#include "app/PaneWindowSlots.h"
#include "frame/FrameState.h"
#include "frame/MainFrame.h"
#include "ribbon/FrameToolsApplication.h"
#include "ribbon/UserCommands.h"
#include "win/system/registry.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

DV_EXPORTS_BEGIN

class CDvw32Doc;
class CDVDocTemplate;
class CDVRecentFileList;
class CXTPCommandBars;
class CXTPControls;
class CXTPDockingPane;
class CXTPPropExchange;
class CXTPImageManagerIconSet;
class CXTPControlPopup;
class ServerAppProxy;
class DVServerFactory;
class COleTemplateServer;
class DVPDMObject;

namespace dvapp {
class StartupIni;
class StateFrames;

// How the ids saved with tool-bar and ribbon controls become the ids of this session: a saved
// id of a command that was read takes that command's id; a saved id of an entry that was
// skipped names no command any more.
struct ApplicationCommandRemap {
    std::map<int, int> ids;
    std::set<int> dropped;
};

// A command of the table that the shell runs itself rather than through its add-on.
struct ApplicationCommandHandler {
    std::function<void(CDvw32Doc* document, UINT id)> run;
    bool runsWithoutDocument = false;
};

// The managed add-on manager's side of running an application command.
class AddOnCommandRunner {
public:
    virtual ~AddOnCommandRunner() = default;
    virtual void Run(IApplicationCommand& command, CDvw32Doc* document) = 0;
    // Whether the command's description asks for the view's object command too.
    virtual bool WantsObjectCommands(const IApplicationCommand& command) const = 0;
    virtual bool HasStoredSelection(CDvw32Doc* document) const = 0;
    virtual void SendObjectCommand(CDvw32Doc* document, UINT id) = 0;
};

// Re-numbers the application-command controls of a collection and of the bars they open.
void RemapApplicationCommandIds(CXTPControls* controls, const ApplicationCommandRemap& remap);
} // namespace dvapp

// Application event whose document may want its pop-up toolbar shown at the next idle time.
inline constexpr int kPopupToolbarEvent = 783;
// Application event raised once start-up has ended, whether or not it succeeded.
inline constexpr int kStartedEvent = 1030;

class CDvw32App : public dvaux::MfcApplication,
                  public FrameToolsApplication,
                  public TypedApplicationEventListener<kPopupToolbarEvent>,
                  public DravikManagedUIProxy::IPrototypesCallback {
    DECLARE_DYNAMIC(CDvw32App)
public:
    // The command line with one more parameter: "ini:" names a configuration file.
    class DVCommandLineInfo : public CCommandLineInfo {
    public:
        void ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast) override;

        // The configuration file, absolute, or empty when none (or an invalid one) was given.
        CString m_strConfigurationFile;
    };

    // The values of the configuration that start-up keeps.
    struct StartupSettings {
        std::wstring Language, RegistryName, Company, Tutor, TutorHTM, TutorDownloadUri, VideoPlayer,
            AppTitle;
        std::wstring ApplicationsFile, DefaultStateFile, BackgroundImage, DefaultDynamicToolBarFile,
            DefaultContextMenuFile, DefaultTemplateFolder;
    };

    CDvw32App();
    ~CDvw32App() override;

    // Main frames: each action runs once per main frame of the UI module, in its order;
    // frames of another class are skipped.
    template <class Action> static void ForEachMainFrame(Action action) {
        UIModuleProxy::Instance().ForEachMainFrame([&](CFrameWnd* frame) {
            if (CMainFrame* mainFrame = DYNAMIC_DOWNCAST(CMainFrame, frame))
                action(mainFrame);
        });
    }
    static std::vector<CMainFrame*> GetMainFrames();
    static size_t NumMainFrames();
    // Enables or disables every main frame's window; a call made while one runs does nothing.
    void EnableMainFrames(bool enable);

    // The main initialisation, with the command line and the effective configuration.
    using dvaux::MfcApplication::InitInstance;
    virtual BOOL InitInstance(DVCommandLineInfo& commandLine, const dvapp::StartupIni& ini);
    int ExitInstance() override;

    // Application commands 17000-32000, in the order they were added.
    IApplicationCommand* GetApplicationCommand(UINT id) const;
    IApplicationCommand* GetApplicationCommandAt(size_t index) const;
    size_t GetApplicationCommandCount() const { return m_applicationCommands.size(); }
    // Appends a command under the next free id; none (and the command dropped) past 32000.
    IApplicationCommand* AddApplicationCommand(std::unique_ptr<IApplicationCommand> command);
    // The command with the same identity is kept (with `replace`, the given one takes its
    // place and id) and registered again; otherwise the command is appended. None past 32000.
    IApplicationCommand* RegisterApplicationCommand(std::unique_ptr<IApplicationCommand> command,
                                                    bool replace);
    // The "ApplicationCommand" entries of an exchange, in order, into the table.
    dvapp::ApplicationCommandRemap LoadApplicationCommands(CXTPPropExchange* exchange);
    void SaveApplicationCommands(CXTPPropExchange* exchange) const;
    // "application.xml": read at start-up, the main frames' controls remapped. A file that does
    // not load is set aside and the table stays empty; false then.
    static std::wstring GetApplicationCommandsFilePath();
    bool LoadApplicationCommandsFile();
    // How the ids of the last session became this session's. Bars built later from a state
    // saved in the last session still carry the old ids: each such set of bars is remapped once.
    const dvapp::ApplicationCommandRemap& GetApplicationCommandRemap() const {
        return m_applicationCommandRemap;
    }
    void RemapApplicationCommandIds(CXTPCommandBars* bars) const;
    bool SaveApplicationCommandsFile() const;
    // The handler of 17000-32000 and what it reaches.
    void OnApplicationCommand(UINT id);
    void SetApplicationCommandHandler(UINT id, dvapp::ApplicationCommandHandler handler);
    void SetAddOnCommandRunner(dvapp::AddOnCommandRunner* runner) { m_addOnCommandRunner = runner; }
    // The handler of 15000-16999, the add-ons' own commands, and its update handler (enabled
    // while a loaded add-on owns the id and the active document, if any, can be edited).
    void OnAddonCommand(UINT id);
    void OnUpdateAddonCommand(CCmdUI* cmdUI);

    // The main frames as the state code sees them; none until the main frame provides them.
    void SetStateFrames(dvapp::StateFrames* frames) { m_stateFrames = frames; }
    dvapp::StateFrames* GetStateFrames() const { return m_stateFrames; }
    // "state.xml" in the "MainFrame" folder of the profile's data (the default profile's for
    // none); empty when the folder does not exist and `create` is false.
    static std::wstring GetStateFilePath(const wchar_t* profileName = nullptr, bool create = false);
    // At exit: the recent files, "application.xml", then the main frames into "state.xml".
    // TRUE when the state document was written and the commands file too; TRUE without doing
    // anything while the save-at-exit flag is clear.
    BOOL SaveState();
    // A profile's saved frame state applied to the open frames (more are made for extra saved
    // windows). TRUE only when a state file of this product was read and applied.
    BOOL LoadState(const wchar_t* profileName, bool force);
    const std::shared_ptr<MainFrameState>& GetDefaultMainFrameState() const { return m_defaultFrameState; }
    // The help file start-up found; empty when none.
    const std::wstring& GetHelpFilePath() const { return m_helpFilePath; }
    // The main document template, made at start-up; null before.
    CDVDocTemplate* GetDocTemplate() const { return m_docTemplate; }

    // The documents to reopen: written when the last main frame closes, read at start-up; the
    // kernel's settings say whether there are any.
    static bool GetReopenDocuments();
    static void SetReopenDocuments(bool reopen);
    void SaveOpenDocuments();
    std::vector<std::wstring> GetDocumentsToReopen();
    // The documents browser's configurations: those open with a file are written with the
    // documents and opened again at start-up, whatever the documents' setting says.
    void SaveOpenConfigurations();
    void ReopenConfigurations();

    // The recent-file list, made at start-up when the settings ask for one.
    CDVRecentFileList* GetRecentFileList() const;
    // While a recent-file entry is being opened (its failure may keep the entry).
    bool IsOpeningRecentFile() const { return m_openingRecentFile; }
    bool CreateRecentFileList(int count);
    // Every road that adds to the list; a path the list refuses is logged, never thrown on.
    void AddToRecentFileList(LPCWSTR lpszPathName) override;
    // Every road that opens a document ends the keep mark of the recent-file list.
    using dvaux::MfcApplication::OpenDocumentFile;
    CDocument* OpenDocumentFile(LPCWSTR lpszFileName, BOOL bAddToMRU) override;
    // The recent-file command: the entry opened, a failed one removed unless the person chose
    // to keep it, then the keep mark cleared.
    BOOL OnRecentFileCommand(UINT nID);

    // The command id of an add-on's command, 0 when there is none.
    UINT FindApplicationCommandId(const Dravik::UniqueIdentifier& key, int internalId) const;
    UINT FindApplicationCommandId(const wchar_t* key, int internalId) const;

    // Names registered by the kernel through the callback object, compared without case.
    void AddRegisteredName(const wchar_t* name);
    bool IsRegisteredName(const wchar_t* name) const;

    // DDE commands that arrived before start-up ended.
    void QueueDDECommand(const CString& command);
    const std::deque<CString>& GetQueuedDDECommands() const { return m_ddeQueue; }
    // The DDE queue: a command that arrives before start-up is ready waits, in order, and runs
    // once when the queue is processed after the ready mark is set.
    BOOL OnDDECommand(LPWSTR lpszCommand) override;
    void ProcessQueuedDDECommands();
    bool IsDDEReady() const { return m_ddeReady; }
    void SetDDEReady(bool ready) { m_ddeReady = ready; }

    // The edition's title string and document template; the setters answer the old value.
    UINT GetTitleStringId() const { return m_titleStringId; }
    UINT SetTitleStringId(UINT id);
    UINT GetDocTemplateResourceId() const { return m_docTemplateResourceId; }
    UINT SetDocTemplateResourceId(UINT id);
    void SetRegistryProfileName(const wchar_t* name);

    const StartupSettings& GetStartupSettings() const { return m_startup; }
    CSize GetFixedMainWindowSize() const { return m_fixedSize; }
    // "AppTitle" when the configuration sets it, else the edition's title.
    CString GetApplicationTitle();

    // The Exit command (1019 and ID_APP_EXIT) and the Close-all command (1204); non-zero
    // when the command was carried out.
    int OnExitCommand();
    int OnCloseAllCommand();

    CDvw32Doc* GetActiveDocument() const { return m_activeDocument; }
    CDvw32Doc* GetPendingPopupToolbarDocument() const { return m_pendingPopupToolbarDocument; }

    // The help context: while the nesting count is 0 (or a negative delta brings it back to 0)
    // the id and file are set; the delta is always added to the count. Answers the previous id.
    UINT SetHelpContext(UINT helpId, const wchar_t* helpFile, int delta);
    UINT GetHelpContextId() const { return m_helpContextId; }
    const std::wstring& GetHelpContextFile() const { return m_helpContextFile; }
    // Context help for the current help id; a relative help file is taken in the program folder.
    // False when the help could not be shown.
    bool ShowContextHelp();

    // Help routes, themes and display settings, each applied to every main frame.
    bool ShowHelpTopic(UINT helpId);
    // The platform's own help route, past this class's override.
    void InvokeWinHelp(UINT helpId);
    void WinHelpInternal(DWORD_PTR data, UINT command) override;
    // An existing help file for a name (a relative one taken in the program folder); empty when none.
    static std::wstring ResolveHelpFilePath(const std::wstring& fileName);
    bool ShowHelpFileTopic(const wchar_t* topic);
    void OnTutorials();
    // False, with nothing changed, for a name the UI module does not know or refuses.
    bool SetTheme(const std::wstring& themeName);
    void OnThemeCommand(UINT id);
    void OnUpdateThemeCommand(CCmdUI* pCmdUI);
    UINT GetThemeCommand() const { return m_themeCommand; }
    const std::wstring& GetThemeName() const { return m_uiStyle; }
    void SetRibbonMode(bool ribbon);
    bool GetRibbonMode() const { return m_ribbonMode; }
    // Sizes below 1 in either direction are ignored.
    void SetToolBarIconSize(CSize size);
    void SetToolBarIconSize(int cx, int cy) { SetToolBarIconSize(CSize(cx, cy)); }
    CSize GetToolBarIconSizeScaled() const { return m_toolBarIconSizeScaled; }
    void ShowCommandStatistics();

    // The application's own commands and the relays of state changes to every main frame.
    void OnAppAbout();
    void OnFixedSize();
    void OnOrsaConnect();
    void OnOrsaDisconnect();
    void OnOrsaWorkMixCommand();
    void OnUpdateOrsaConnect(CCmdUI* pCmdUI);
    void OnUpdateOrsaConnected(CCmdUI* pCmdUI);
    void OnInfoTipCommand(UINT id);
    void OnIs3DMessage(WPARAM wParam, LPARAM lParam);
    void OnLogWindow();
    void OnUpdateLogWindow(CCmdUI* pCmdUI);
    void OnChangeDocumentState(CDvw32Doc* document);
    void OnChangeOrsaConnectionState(bool connected);
    void RepaintMarkedDocuments();
    void UpdateMainFrameTitles();
    void ActivateNextMainFrame();
    void InitializeTextBrowserProfileItems();
    void HandTextToBrowsers(const wchar_t* text);
    std::wstring GetDictionaryFileName();

protected:
    // The PDM system's object, kept while the system is connected.
    std::shared_ptr<DVPDMObject> m_pdmObject;
    // Every help request ends here, with the help file of its context; false when nothing could
    // be shown.
    bool RouteHelp(DWORD_PTR data, UINT command, const std::wstring& contextFile);
    void OnContextHelpCommand();

public:
    bool GetSaveAtExit() const { return m_saveAtExit; }
    void SetSaveAtExit(bool save) { m_saveAtExit = save; }
    bool IsApplicationStateClear() const { return true; }

    // The application state flags the crash guard keeps: 1 the error mark, 2 the documents are
    // to be recovered and the program restarted, 4 the program may end without asking about
    // modified documents.
    static constexpr std::uint8_t kStateErrorMark = 1, kStateErrorRestore = 2, kStateSafeToExit = 4;
    bool HasApplicationState(std::uint8_t mask) const { return (m_applicationState.load() & mask) == mask; }
    // Setting the safe-to-exit flag remembers the frames and documents of that moment: one
    // made later was never asked about, so the flag stops holding once there is one.
    void SetApplicationState(std::uint8_t mask);

    ServerAppProxy& GetServerAppProxy() { return *m_serverAppProxy; }
    // What the PDM system gave when its profile was last applied; kept with the settings.
    const std::wstring& GetOrsaProfileFileName() const { return m_orsaProfileFileName; }
    void SetOrsaProfileFileName(std::wstring name) { m_orsaProfileFileName = std::move(name); }

    // --- the message loop's side of the application, the crash guard, restart ---
    BOOL IsIdleMessage(MSG* pMsg) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnIdle(LONG lCount) override;
    BOOL SaveAllModified() override;
    LRESULT ProcessWndProcException(CException* e, const MSG* pMsg) override;
    // The document whose pop-up toolbar is checked at the next idle time.
    void SetPendingPopupToolbarDocument(CDvw32Doc* document) { m_pendingPopupToolbarDocument = document; }
    // From any thread; the first report wins while its record lives.
    void ReportCriticalError(const std::wstring& text);
    void OnCriticalErrorBarButton(UINT buttonId);
    bool HasPendingCriticalError() const;
    // The bar of the pending report; 0 before the idle cycle showed it.
    unsigned GetCriticalErrorBarId() const;
    // Starts a fresh copy of the program with this one's command line, then ends this one;
    // without `keepState` nothing of this session's state is saved on the way out.
    void Restart(bool keepState);
    // The crash report's half of a restart: nothing unless the error-restore flag is set.
    void PrepareRestart();
    // The command line a restarted copy gets: the program quoted, then this run's own.
    std::wstring GetRestartCommandLine() const;
    // A copy started by Restart waits here until the process that started it has ended, so
    // that it reads that process's saved state whole.
    static void WaitForRestartingProcess();
    // How many message pumps run, nested, at this moment (the main frame defers its close
    // while a nested one runs).
    int GetPumpNesting() const { return m_pumpNesting; }
    // Set by a report made off the main thread: the main thread stops at its next message.
    bool IsStopRequested() const { return m_stopRequested.load(); }
    // Where the main thread waits, once stopped, for the report to end the process.
    void StopForCriticalError();

    // Start-up's own steps: the administrator's profile, the applications INI, the automation
    // server, the PDM connection, the macro manager, the classes-root probe, the icon size.
    void ImportStartupProfile();
    // The configuration's applications INI, else the edition's file in the program folder.
    void GetApplicationsIniPath(std::wstring& path) const;
    // 2 while the PDM integration is off; 3 ends start-up.
    int InitOrsaIntegration();
    void InitializeMacroManager();
    DVServerFactory& GetServerFactory() { return *m_serverFactory; }
    COleTemplateServer& GetTemplateServer() { return *m_templateServer; }
    // The recovery copy of a recovered drawing goes once the drawing is saved (checked in idle
    // time) or closed, saved or discarded by the person; until then it stays on disk.
    void ForgetSavedRecoveryCopies();
    void OnDocumentClosed(CDvw32Doc* document);
    // Utilities the callback object answers with: paint blocked or let go in every document;
    // the main frames' section of a profile (the default one for none); the UI main window's
    // accelerators; whether an icon set holds a vector icon; the kernel's document template.
    static void BlockPaintAllDocuments(bool block);
    static std::wstring GetMainFrameProfileSection(const wchar_t* profileName = nullptr);
    static HACCEL GetMainAcceleratorTable();
    static bool HasVectorIcons(const CXTPImageManagerIconSet* icons);
    CDVDocTemplate* GetKernelDocTemplate() const;
    // The primary monitor, found at start-up.
    HMONITOR GetPrimaryMonitor() const { return m_primaryMonitor; }
    // The tutorials' installed folder for the product's language; empty when not installed.
    std::wstring GetTutorialsFolder() const;
    // The edition's title text; empty when the kernel has no such string.
    std::wstring GetTitleString() const;
    // One entry per UI theme, in the UI module's order, with commands 3401 on (49 at most):
    // buttons showing their caption in a command-bar popup, plain items in a menu. Nothing
    // without a popup or menu.
    static void AddThemeControls(CXTPControlPopup* popup);
    static void AppendThemeMenuItems(HMENU menu);
    // The name of an application command (17000..32000); nothing for an unknown command.
    std::optional<std::wstring> GetApplicationCommandName(UINT id) const;
    // What the main frames' bars and panes ask of the program: set before the first frame is
    // made, cleared when the application ends.
    void InstallFrameHooks();
    static void RemoveFrameHooks();
    // Whether start-up asked the add-ons' manager for server mode.
    bool IsServerMode() const { return m_serverMode; }
    // --- pane windows: one per process, shared by the main frames' panes ---
    CWnd* GetOrsaArchivesWindow(bool availableOnly, bool create) override;
    CWnd* GetOrsaDesktopWindow(bool availableOnly, bool create) override;
    CWnd* GetOrsaFavoritesWindow(bool availableOnly, bool create) override;
    CWnd* GetOrsaConfigurationSettingsWindow(bool availableOnly, bool create) override;
    CWnd* GetOrsaSearchWindow(bool availableOnly, bool create) override;
    CWnd* GetOrsaMailWindow(bool availableOnly, bool create) override;
    CWnd* GetOrsaLibraryElementsWindow(bool availableOnly, bool create) override;
    CWnd* GetOrsaAssemblyWindow(bool availableOnly, bool create) override;
    CWnd* GetProductStructureWindow(bool create) override;
    CWnd* GetConfigurationsWindow(bool create) override;
    CWnd* GetTechRequirementsWindow(bool create) override;
    CWnd* GetModelTreeWindow(bool create) override;
    CWnd* GetModelElementsWindow(bool create) override;
    CWnd* GetDrawMenuWindow(bool create) override;
    CWnd* GetPropertiesWindow(bool create) override;
    CWnd* GetTaskWindow(bool create) override;
    CWnd* GetNcWindow(bool create) override;
    CWnd* GetStructureElementsWindow(bool create) override;
    CWnd* GetCamWindow(bool create) override;
    CWnd* GetWeldTreeWindow(bool create) override;
    CWnd* GetMacrosWindow(bool create) override;
    CWnd* GetAnnotationsWindow(bool create) override;
    CWnd* GetLayersWindow(bool create) override;
    CWnd* GetQualityManagementWindow(bool create) override;
    CWnd* GetBackgroundTasksWindow(bool create) override;
    CWnd* GetGenerationQueueWindow(bool create) override;
    CWnd* GetBirdsEyeViewWindow(bool create) override;
    CWnd* GetErrorWindow(bool create) override;
    CWnd* GetVariablesWindow(bool create) override;
    CWnd* GetAssemblyStructureWindow(bool create) override;
    CWnd* GetMaterialWindow(bool create) override;
    CWnd* GetFormFactorWindow(bool create) override;
    CWnd* GetFindCommandWindow(bool create) override;
    CWnd* GetFeaResultParametersWindow(bool create) override;
    // The window of a pane id (the PDM panes' only while the PDM can show them); null for ids
    // that name no pane window.
    CWnd* GetDockingPaneWindow(int paneId, bool create);
    dvapp::PaneWindowSlots& GetPaneWindowSlots() { return *m_paneWindows; }
    // The pane of some main frame that shows the window of a pane id (made when missing), with
    // that frame and the window; none (and no frame) when no pane shows it.
    CXTPDockingPane* FindDockingPane(int paneId, CMainFrame** frame, CWnd** window);
    // The configuration's "DockingPanes" switch of the switchable pane windows, applied once at
    // start-up before any main frame exists.
    void EnableDockingPaneWindows(const dvapp::StartupIni& ini);

    // The one active document of all main frames: the pane windows that show a document's
    // contents follow it. A document marked as closing counts as none.
    void SetActiveDocument(CDvw32Doc* document);
    // A document that closes is never left the active document, even while a change of the
    // active document is under way.
    void ForgetDocument(CDvw32Doc* document);
    size_t GetMainFrameCount() const override { return NumMainFrames(); }
    SIZE GetToolBarIconSize() const override { return m_toolBarIconSize; }
    std::vector<DefaultToolBarRow> GetDefaultToolBars() override;
    bool IsInternalApplicationCommand(UINT id) const override;
    // The user commands of the process, run by the frame tools by their ids.
    CDVUserCommands* GetUserCommands() override { return &m_userCommands; }
    DravikManagedUIProxy::IPrototypesCallback* GetPrototypesCallback() override { return this; }
    void OnRecentFilePinStateChanged(int index) override;

    // IPrototypesCallback
    void CreateDocumentFromPrototype(const wchar_t* prototypePath) override;
    // ApplicationEventListener
    void OnApplicationEvent(int event, ApplicationEventArgs& args) override;

protected:
    DECLARE_MESSAGE_MAP()
protected:
    // The callback object is the first member so that it is the last to go.
    std::unique_ptr<ServerAppProxy> m_serverAppProxy;
    std::unique_ptr<dvapp::PaneWindowSlots> m_paneWindows;
    // The find-command pane's link to the frames and the help.
    std::shared_ptr<void> m_findCommandPane;
    CDvw32Doc* m_activeDocument = nullptr;
    bool m_saveAtExit = false;
    UINT m_helpContextId = 1;
    int m_helpContextNesting = 0;
    std::wstring m_helpContextFile;
    std::vector<std::unique_ptr<IApplicationCommand>> m_applicationCommands;
    std::wstring m_applicationsIniPath;
    CSize m_fixedSize{1440, 900};
    StartupSettings m_startup;
    CDvw32Doc* m_pendingPopupToolbarDocument = nullptr;
    std::wstring m_uiStyle;
    std::wstring m_orsaProfileFileName;
    CSize m_toolBarIconSize{24, 24};
    CSize m_toolBarIconSizeScaled{24, 24};
    UINT m_themeCommand = 0;
    bool m_ribbonMode = true;
    dvapp::StateFrames* m_stateFrames = nullptr;
    std::shared_ptr<MainFrameState> m_defaultFrameState;
    std::map<UINT, dvapp::ApplicationCommandHandler> m_applicationCommandHandlers;
    dvapp::AddOnCommandRunner* m_addOnCommandRunner = nullptr;
    // A file that failed to load was set aside; nothing empty is saved in its place.
    bool m_applicationFileSetAside = false;
    dvapp::ApplicationCommandRemap m_applicationCommandRemap;
    bool m_openingRecentFile = false;

    // The critical-error record and the state flags; the mutex guards the record.
    struct CriticalErrorRecord;
    mutable std::mutex m_appMutex;
    std::unique_ptr<CriticalErrorRecord> m_criticalError;
    std::vector<HWND> m_safeToExitFrames;
    std::vector<CDvw32Doc*> m_safeToExitDocuments;
    std::atomic<bool> m_stopRequested{false};
    int m_pumpNesting = 0;
    std::atomic<HANDLE> m_mainStopped{nullptr};
    DWORD m_mainThreadId = 0;
    void ShowPendingCriticalErrorBar();
    void RunPaneIdleUpdates();
    void UpdatePopupToolbar();

public:
    // Saves the modified documents whose last automatic save lies longer back than the
    // interval of the settings, with the auto-save window up meanwhile. A save that fails
    // waits the interval like one that succeeded, and is told once, in a message bar that
    // names the file, until a save of that document succeeds again.
    void AutoSaveDocuments();

protected:
    // The open serials of the documents whose failed auto-save the person has been told of.
    std::set<std::uint64_t> m_autoSaveFailuresTold;

    // What start-up took, so that shut-down gives back exactly that.
    HANDLE m_clearSettingsMutex = nullptr;
    ATOM m_ddeAppAtom = 0;
    ATOM m_ddeTopicAtom = 0;
    UINT m_titleStringId = 0;
    UINT m_docTemplateResourceId = 0;
    CString m_cachedTitle;
    CDVDocTemplate* m_docTemplate = nullptr;
    std::wstring m_helpFilePath;
    // What the main frames ask of the application, and the frames as the state code sees them.
    std::unique_ptr<MainFrameApplication> m_frameApplication;
    std::unique_ptr<dvapp::StateFrames> m_mainFrameStates;

    // The kernel session goes after the commands, add-ons and modules that use it.
    virtual void CloseKernelSession() {}

    // The documents the crash report listed, opened again (at most the first hundred).
    void RecoverDocuments();
    // The length of a stored list, as far as the list is ever read: a count past `most` (a store
    // damaged or written by something else) reads as `most`, and is logged; a negative one as 0.
    int ReadListCount(LPCWSTR section, LPCWSTR entry, int most);

    // Start-up steps, in their order.
    void LoadAddOns();
    void RegisterServer();
    void ProbeClassesRootWrite();
    void ApplyDisplaySettings();
    // Whether the start pages open at start-up (the program's own start-up decides).
    virtual bool WantsStartPages() const { return false; }
    std::map<CDvw32Doc*, std::wstring> m_recoveryCopies;
    std::unique_ptr<DVServerFactory> m_serverFactory;
    std::unique_ptr<COleTemplateServer> m_templateServer;
    bool m_serverMode = false;
    HMONITOR m_primaryMonitor = nullptr;

private:
    bool CreateFirstMainFrame();
    bool RecoverDocument(const std::wstring& path, bool copy);

    struct NoCaseLess {
        bool operator()(const std::wstring& a, const std::wstring& b) const;
    };
    std::set<std::wstring, NoCaseLess> m_registeredNames;
    std::deque<CString> m_ddeQueue;
    bool m_ddeReady = false;
    bool m_enablingMainFrames = false;
    std::atomic<std::uint8_t> m_applicationState{0};
    // The process's user commands.
    CDVUserCommands m_userCommands;
};

// The application object; never null while the program runs.
CDvw32App* GetDvw32App();
// The UI module's main window as a main frame, or null when it is missing or of another class.
CMainFrame* GetMainFrame();

// The callback of the monitor enumeration that start-up finds the primary monitor with.
BOOL FindPrimaryMonitorProc(HMONITOR monitor, HDC dc, LPRECT rect, LPARAM found);

// The resource id of the main frame and the document templates for the running edition.
UINT GetMainResourceId();

// The application's name for message boxes raised before a main frame exists.
CString GetApplicationName();

// Formats into a caller's buffer of 32 characters; the characters written, or -1.
int FormatFixedBuffer32(wchar_t* buffer, size_t count, const wchar_t* format, ...);

namespace Dravik {

// An owned handle of an open registry key; empty when the key could not be opened.
class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegistryKey& operator=(RegistryKey&& other) noexcept;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey();

    // A subkey of an open key (a root key counts as open) with the given access; empty when
    // the parent is not open or the subkey cannot be opened.
    static RegistryKey Open(HKEY parent, const wchar_t* subKey, REGSAM access);
    RegistryKey OpenSubKey(const wchar_t* subKey, REGSAM access) const { return Open(key_, subKey, access); }

    bool IsOpen() const { return key_ != nullptr; }
    HKEY Get() const { return key_; }

    // A string value (REG_SZ only); false when the key is not open or the value cannot be read.
    // A value that holds no more than its terminator reads as an empty string.
    bool GetStringValue(const wchar_t* name, std::wstring& value) const;

private:
    explicit RegistryKey(HKEY key) : key_(key) {}
    HKEY key_ = nullptr;
};

} // namespace Dravik

DV_EXPORTS_END
