// The main window of the program. Several may exist at once; the UI module lists them and the
// application object reaches them through that list. A frame is built from a saved state, or as
// a copy of another frame, and writes its state back in the same form.
#pragma once

#include "DravikKernel/DragDropInterface.h"
#include "DravikUI/DockingPane.h"
#include "DravikUI/GenericMainFrame.h"
#include "DravikUI/MessageBar.h"
#include "afxwin.h"
#include "app/StateFrames.h"
#include "frame/ControlFactory.h"
#include "frame/DockingPanes.h"
#include "frame/FrameState.h"
#include "frame/FrameStateHost.h"
#include "frame/FramelessBarRules.h"
#include "frame/MdiClient.h"
#include "frame/TabbedMainToolBarAdapter.h"
#include "pal/visibility.h"
#include "panels/SysPanelToolbar.h"
#include "ribbon/FrameToolsEngine.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CDocument;
class CDvw32Doc;
class CMainFrame;
class GenerateDumpFileContextBase;
class CXTPControl;
class CXTPControlPopup;
class CXTPMenuBar;
class CXTPRibbonGroup;
class CXTPRibbonTab;
class DVRibbonBar;
namespace Dravik::UI {
class RibbonTab;
}
class CXTPRibbonBar;
class CDVRibbonCommandBars;
class CDVTabToolBar;
class CMDIChildWnd;
struct CPrintPreviewState;

// The frame as a settings-profile item: the frame tools' state plus the frame's own section.
class CMainFrameProfileItem : public CFrameToolsEngine {
public:
    // The auto-menu bars are the program's own command bars.
    CMainFrameProfileItem();
    // Both run with the frame standing as the active main frame, so that what they reach acts
    // on this frame. Loading first gives the frame the UI module's theme; saving records the UI
    // style in use (read back by GetUIStyle).
    int LoadState() override;
    int SaveState() override;
    void GetStateData(unsigned flags, std::vector<std::wstring>& keyPaths) const override;
    // The UI style the frame's settings were saved with; empty when none was.
    std::wstring GetUIStyle() const;
};

// What a main frame asks of the application it belongs to. The application registers itself
// while it lives; without one a frame answers for itself (no default state, nothing to save).
class MainFrameApplication {
public:
    MainFrameApplication();
    virtual ~MainFrameApplication();
    MainFrameApplication(const MainFrameApplication&) = delete;
    MainFrameApplication& operator=(const MainFrameApplication&) = delete;
    static MainFrameApplication* Instance();

    virtual std::shared_ptr<MainFrameState> GetDefaultMainFrameState() { return {}; }
    // How deeply message loops are nested (1 for the main loop alone).
    virtual int GetPumpNesting() const { return 1; }
    virtual bool SaveAllModified() { return true; }
    // The add-on applications' consent to the application ending; by default the kernel's
    // add-on manager answers.
    virtual bool AddOnsAllowExit();
    virtual void ActivateNextMainFrame(CMainFrame& closing) {}
    // The profile state when it is saved at exit; the safe-to-exit flag.
    virtual void PrepareExit() {}
    virtual void SaveOpenDocuments() {}
    virtual void CloseAllDocuments() {}
    virtual void UpdateMainFrameTitles() {}
    // The resource id the main frames and their menus are made from.
    virtual int GetMainResourceId() const { return 0; }
    // Shell requests that arrived while a frame was in a modal state.
    virtual void ProcessQueuedDDECommands() {}

    // What the frame's command and message routing reaches in the application.
    // The context of the crash guard the frame's command and window procedures run in; the
    // kernel's when the application has none of its own.
    virtual std::unique_ptr<GenerateDumpFileContextBase> CreateCrashContext();
    virtual CDvw32Doc* GetActiveDocument() const { return nullptr; }
    // While a request given on the command line is carried out (a direct print).
    virtual bool HasCommandLineInfo() const { return false; }
    virtual bool OnDDECommand(const CString& command) { return false; }
    virtual void QueueDDECommand(const CString& command) {}
    virtual bool ShowHelpTopic(UINT topic) { return false; }
    virtual bool ShowContextHelp() { return false; }
    // Answers the previous help context.
    virtual UINT SetHelpContext(UINT id) { return 0; }
    virtual void EnableMainFrames(bool enable) {}
    virtual bool IsRibbonMode() const { return true; }
    virtual void SetRibbonMode(bool ribbon) {}
    virtual bool GetSaveAtExit() const { return false; }
    virtual void SetSaveAtExit(bool save) {}
    virtual CWnd* GetFindCommandWindow() { return nullptr; }
    // First showing, closing and cloning of a frame.
    // One pass of the application's idle work.
    virtual void OnIdle(long count) {}
    // The start-up picture steps aside once a frame shows.
    virtual void SignalSplashClose() {}
    // The floating properties window and the materials window keep what they show.
    virtual void KeepPaneWindowStates() {}
    // Every main frame takes the application's tool-bar icon size again; by default each
    // frame re-applies its command-bar options.
    virtual void ReapplyToolBarIconSize();
    // Whether the pane is open in any main frame.
    virtual bool IsDockingPaneOpen(int paneId) { return false; }
    // A main frame was sized or moved (its window-placement listener).
    virtual void OnMainFramePlaced(CWnd& frame) {}
    // The main window the application's listener follows; null when no frame of the program is
    // active any more.
    virtual void OnMainWindowActivated(CWnd* frame) {}
    // The text of an application command (17000..32000); nothing when there is no such command.
    virtual std::optional<std::wstring> GetApplicationCommandText(UINT id) const { return std::nullopt; }
    // The UI themes as buttons of a popup (the themes command 2851) and as items of a menu (the
    // tool-bar list's themes submenu); none without an application.
    virtual void AddThemeControls(CXTPControlPopup* popup) {}
    virtual void AppendThemeMenuItems(HMENU menu) {}
};

// What a frame's PDM controls show: the work mix's state, the kernel's PDM text, whether PDM
// programs are installed, whether the work mix can connect and the name its connection reports.
struct OrsaState {
    bool enabled = false;
    std::wstring pdmText;
    bool hasInstalledPrograms = false;
    bool canConnect = false;
    std::wstring connectionName;
};

class CMainFrame : public Dravik::UI::MdiMainFrame,
                   public CMainFrameProfileItem,
                   public CWSGDragDropInterface,
                   public dvapp::StateFrame,
                   protected FrameStateHost {
    DECLARE_DYNCREATE(CMainFrame)
public:
    // The window style of a main frame: an overlapped window that shows its document's title.
    static constexpr DWORD kStyle = 0xCF8000;
    static constexpr UINT kMessageBarId = 59398;
    static constexpr DWORD kMessageBarStyle = 0x50002800;
    static constexpr DWORD kStatusLineStyle = 0x56008200;
    // Inset of a new frame from the work area of its monitor.
    static constexpr int kMonitorInset = 15;

    CMainFrame();
    ~CMainFrame() override;

    // The window alone, without a state (as the application's own tests make frames).
    using Dravik::UI::MdiMainFrame::Create;

    // A new frame laid out by `state`; null when it cannot be made (the failure is logged).
    static CMainFrame* Create(const MainFrameState& state, bool applyPlacement, bool layout);
    // An empty state stands for the application's default one; without that, nothing is made.
    static CMainFrame* CreateFromState(const std::shared_ptr<MainFrameState>& state, bool applyPlacement,
                                       bool layout);
    // A further main window laid out like this one; null when it cannot be made.
    CMainFrame* Clone() const;
    // Shows the frame the first time; later calls do nothing.
    void ShowFirstTime();
    bool IsShown() const { return m_shown; }

    // The saved state of the application's main frames.
    using Dravik::UI::MdiMainFrame::GetCommandBars;
    CXTPCommandBars* GetCommandBars() override { return MdiMainFrame::GetCommandBars(); }
    void ApplyState(const MainFrameState& state, bool applyPlacement, bool layout) override;
    void SaveXmlState(Dravik::UI::XML::Node element) override;

    CDVRibbonCommandBars* GetRibbonCommandBars() const;
    CXTPMenuBar* GetMenuBar();
    CXTPRibbonBar* GetRibbonBar();
    bool IsRibbonMode() const;
    Dravik::UI::DockingPaneManager& GetPaneManager() { return m_paneManager; }

    // The frame's own exchange of options, shortcuts, panes and bars (the "normalLayout").
    void ExchangeLayout(CXTPPropExchange* exchange, bool controls, bool layout) override;

    // A message over the documents; the bar's id, 0 when nothing was shown.
    unsigned ShowMessageBar(int imageId, const std::wstring& title, const std::wstring& text,
                            std::uint64_t value, const std::vector<Dravik::UI::MessageBar::Button>& buttons,
                            Dravik::UI::MessageBar::Callback callback, bool closeOnButton);
    bool CloseMessageBar(unsigned id);
    bool IsValidMessageBar(const Dravik::UI::MessageBar* bar) const;
    // The frame's bar of that id; null when the frame holds none.
    Dravik::UI::MessageBar* FindMessageBar(unsigned id) const;
    size_t GetMessageBarCount() const { return m_messageBars.size(); }

    // None while another frame is the active one, in clean-screen mode or before the first
    // showing; outside ribbon mode only the bars of bits 16 and 32.
    DWORD GetVisibleFramelessToolBars() const override;
    // The program's frameless bars unless another class is asked for.
    BOOL InitFramelessToolBars(CRuntimeClass* framelessClass = nullptr) override;
    void EndModalState() override;
    // The command the active document of this frame runs; 0 when none runs.
    int GetActiveCommandId() const override;
    // The docking panes follow the settings' lock: locked panes keep their splitters.
    void ApplyDockingPanesLock();

    // The ids of the commands hidden from the short menus.
    static const std::vector<UINT>& GetHiddenCommands();

    // Command and message routing: the frame's entry points, its notifications and its
    // command table (MainFrameRouting.cpp, MainFrameMessages.cpp, MainFrameCommands.cpp).
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The kernel's registered commands come first on the road, whatever modules are loaded:
    // they run and update from the ribbon, the menus, the bars and the keys alike.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void GetMessageString(UINT nID, CString& rMessage) const override;
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override;
    void OnDockingPanePopupMenuCommand(UINT command, CXTPDockingPane* pane);
    // Whether the shortcut managers stay silent for this key message.
    bool MustSilenceShortcuts(const MSG& msg);
    // The tabbed tool bar; null when the frame has none.
    CDVTabToolBar* GetTabToolBar() const;
    // The set of open PDM panes, one bit per kind: the frame state's record, saved with it.
    DWORD GetOpenOrsaPanes() const { return pdmPanes; }
    // The bit of a PDM pane in that set; 0 for a pane that is no PDM pane.
    static std::uint32_t PdmPaneBit(int paneId);
    // The ribbon-minimised flags of the normal window and of full screen, as the state saves them.
    bool IsRibbonMinimizedInWindowedMode() const { return minimizeRibbonInWindowedMode; }
    bool IsRibbonMinimizedInFullscreenMode() const { return minimizeRibbonInFullScreenMode; }
    // The handlers of the command table.
    void SelectPaneForCommand(UINT id);
    // The main-frame interface as this frame extends it: what reaches the frameless bars, the
    // theme and the PDM connection reaches the ribbon and the system panel as well.
    void UpdateViewDependentToolBars() override;
    void SetTheme(int theme) override;
    void OnChangeOrsaConnectionState(bool connected);

    // Selection filters: the UI base first, then the system panel's copy.
    void BeginSelectionFilterConfiguration() override;
    void EndSelectionFilterConfiguration() override;
    void SetSelectionFilterSet(int set) override;
    void ShowSelectionFilterButton(UINT id, bool show) override;
    void HideAllSelectionFilterButtons() override;
    void SetSelectionFilterButtonIconAndToolTip(UINT id, int icon, unsigned toolTipId) override;
    void SetSelectionFilterButtonIconAndToolTip(UINT id, int icon, const std::wstring& toolTip) override;
    void SetSelectionFilterButtonProperties(UINT id, int icon, unsigned toolTipId, bool enabled,
                                            bool ticked) override;
    void SetSelectionFilterButtonProperties(UINT id, int icon, const std::wstring& toolTip, bool enabled,
                                            bool ticked) override;
    void SetSelectionFilterButtonState(UINT id, bool enabled, bool ticked) override;
    void UpdateSelectionFilters(CView* view, int command, bool force) override;

    // The kernel's requests for the parameter controls: the ribbon's copy first, then the
    // system panel; a side the frame lacks is left out.
    void DisableSyspanelControls();
    void EnableSyspanelControl(int id, bool enable);
    void SetSyspanelButtonStatus(int id, bool enabled, bool ticked);
    void SetSyspanelDoubleVar(Dravik::DVDocument* document, int id, double value, std::int32_t code);
    void SetSyspanelFont(Dravik::DVDocument* document, int id, const std::wstring& face);
    void SetSyspanelInt(Dravik::DVDocument* document, int id, std::int32_t value);
    void SetSyspanelIntVar(Dravik::DVDocument* document, int id, int value, std::int32_t code);
    void SetSyspanelCString(Dravik::DVDocument* document, int id, const std::wstring& text);
    void SetSyspanelControls(const std::vector<CSysPanelToolbar::CommandButton>& buttons);
    void SyspanelStatusChanged();
    void UpdateSystemPanel();

    // The kernel's questions about the parameter controls; neutral answers (false, none, -1,
    // an empty text, the out value untouched) without a system panel or the control.
    bool GetSyspanelButtonStatus(int id, bool& checked, bool& disabled) const;
    std::optional<SysPanelValue> GetSyspanelControlValue(int id);
    void GetSyspanelIntValue(int id, std::int32_t& value) const;
    void SplitSyspanelRealValue(const SysPanelValue& record, double& value, std::int32_t& code) const;
    void SplitSyspanelRealValueAsInt(const SysPanelValue& record, int& value, std::int32_t& code) const;
    void GetSyspanelFontName(std::wstring& text, int id);
    std::int32_t GetSyspanelMode() const;
    CSysPanelToolbar* GetSysPanelToolbar() const;
    DVRibbonBar* GetDVRibbonBar();

    // Add-on menus: an item or a popup at the place a placement record names; a keyed popup
    // replaces the one inserted with the same key (any case).
    bool InsertUserMenuItem(int id, const std::wstring& text, int anchor, std::uint32_t placement);
    bool InsertUserPopupMenu(const std::wstring& caption, HMENU menu, int anchor, std::uint32_t placement,
                             const std::wstring& key);
    bool RemoveUserPopupMenu(const std::wstring& key);
    // The items add-ons put into the ribbon's help popup, kept over a new ribbon definition.
    size_t GetRibbonHelpItemCount() const { return m_ribbonHelpItems.size(); }

    void OnChangeActiveMainFrame(Dravik::UI::MainFrame* newFrame) override;
    void ShowToolbar(UINT id, bool show);
    void ShowOrsaCommands(bool show);
    // Shown while the settings name a PDM system and its work mix is enabled, else hidden.
    void ShowOrsaCommandsAsThePdmWorks();
    void UpdateOrsaControls();
    bool ResetRibbonGroup(CXTPRibbonGroup* group) override;
    void ResetRibbonTab(CXTPRibbonTab* tab) override;
    bool HasRibbonGroupDefinition(CXTPRibbonGroup* group) const override;
    bool HasRibbonTabDefinition(CXTPRibbonTab* tab) const override;
    bool IsToolBarListed(CXTPToolBar* bar) const override;
    // The installed library configurations as buttons of the menu popup tagged
    // "InstalledLibraries"; a button opens its configuration.
    void UpdateInstalledConfigurationsMenu();
    static void MenuItem_OpenConfiguration(const std::wstring& path);
    void UpdateOrsaControls(const OrsaState& state);
    // What the PDM controls follow; the work mix and the kernel's settings by default.
    virtual OrsaState GetOrsaState() const;

    // Where the settings put the frameless bars, and what the last update made of them.
    virtual dvframe::FramelessBarPositions GetFramelessBarPositions() const;
    void SetHideExpandButtons(bool hide) { m_hideExpandButtons = hide; }
    const dvframe::FramelessBarRules& GetFramelessBarRules() const { return m_framelessRules; }

    // Screens, workbook and ribbon modes, the analysis ribbon and the active view. Screen mode 0
    // is the window, 1 full screen with its bars, 2 the clean screen without any; out of range,
    // or the current mode, changes nothing (false only for a mode out of range or a switch that
    // could not save the layout it leaves).
    int GetScreenMode() const override { return m_screenMode; }
    bool SetScreenMode(int mode) override;
    bool IsWorkbookMode() const override { return m_workbook; }
    void SetWorkbookMode(bool on) override { SetWorkbookMode(on, nullptr); }
    void SetWorkbookMode(bool on, bool* previous);
    void SetRibbonMode(bool on);
    void RecalcLayout(BOOL bNotify = TRUE) override;
    using Dravik::UI::MdiMainFrame::SetActiveView;
    void SetActiveView(CView* view, bool force) override;
    // 1 and 2 are the two analysis ribbons; false for any other mode and for the current one
    // without `force`.
    bool SetAnalysisMode(int mode, bool force);
    int GetAnalysisMode() const { return analysisMode; }
    void UpdateViewDependentRibbonGroups();
    // The bars of the active document show; those of other documents hide.
    void ShowDocumentMessageBars();
    void OnChangeDocumentState(CDocument* document);
    // A pane of this frame takes the one window of its id, from whichever frame shows it.
    void AttachPaneWindow(CXTPDockingPane* pane) override;
    // The pane of a main frame that shows a window, with that frame; none when no pane does.
    static CXTPDockingPane* FindPaneShowing(const CWnd* window, CMainFrame** frame);
    // Moves a document's window into another main frame.
    void MoveChildFrameTo(CMainFrame* target, CMDIChildWnd* child);
    // The tab client of workbook mode (attached while the mode is on).
    CDVTabClientWnd* GetTabClient() const { return m_tabClient.get(); }
    // Set while the clean screen hides the bars: their visibility changes are not the person's.
    bool IsHidingBars() const { return m_hidingBars; }
    // The view-type bits of the active view that ribbon groups may require.
    DWORD GetViewTypeMask();

    // The frame's control factory: the controls of fixed command ids and tags, made over this
    // frame's bars and panes; definitions of menu bars and of the ribbon are applied through it.
    CXTPControl* CreateCustomControl(UINT id, const std::wstring& tag, CXTPCommandBar* bar) override;
    ControlFactoryFrame GetControlFactoryFrame();
    Dravik::UI::XML::RibbonBarApplicationParameters GetRibbonBarApplicationParameters();
    Dravik::UI::XML::ApplicationParameters GetMenuBarApplicationParameters();
    // After a ribbon definition was applied: the ribbon's system-panel controls are initialised
    // and take the manual-update flag of their twins on the system-panel tool bar.
    void InitRibbonControls();
    // Colour-book choice (command 2031): with an active document, a person picks a colour for
    // the system panel's colour control.
    void OnColorBook();
    void OnUpdateColorBook(CCmdUI* cmdUI);
    // Library data dragged over and dropped on the frame.
    DROPEFFECT DragDropOver(CWnd* window, COleDataObject* data, DWORD keyState, CPoint point) override;
    BOOL DragDropDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, CPoint point) override;

protected:
    // A fresh node to save a layout into; none when it cannot be made.
    virtual std::shared_ptr<Dravik::UI::XML::Document> MakeLayoutNode(const wchar_t* name);
    // The ribbon's place, File button, backstage and PDM popup; false only without command bars.
    virtual bool SetUpRibbonBar();
    // Seam to the panes and bars built elsewhere.
    virtual bool CreateDockingPanesAndToolBarsStep() { return CreateDockingPanesAndToolBars(); }
    // Whether, with no command running, the 3D module asks the drawing controls back to their
    // defaults.
    virtual bool DrawingControlsReset() const;

    CWnd* GetDockingPaneWindow(CXTPDockingPane* pane) override;
    // The system-panel tool bar is the panels' own, which the ribbon's parameter controls mirror.
    CRuntimeClass* GetSystemPanelToolBarClass() const override;
    // The default bars are the program's fixable tool bars.
    CRuntimeClass* GetToolBarClass() const override;
    TabbedMainToolBar* CreateTabbedMainToolBar(CXTPCommandBars* bars, const std::wstring& caption) override;

    int OnCreate(LPCREATESTRUCTW lpcs);
    void OnClose();
    void OnDestroy();
    LRESULT OnMessageBarClosed(WPARAM, LPARAM lParam);
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

    // Routing: the body of OnCommand, the handlers of the routing's messages and the command
    // table's runners. The routing's map lies between the frame's own and the UI base's.
    BOOL DoOnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    LRESULT OnDDEExecute(WPARAM wParam, LPARAM lParam);
    LRESULT OnDockingPaneNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnRibbonMinimized(WPARAM wParam, LPARAM lParam);
    LRESULT OnToolBarVisibleChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnControlNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnTabsChanged(WPARAM wParam, LPARAM lParam);
    LRESULT On3DRefresh(WPARAM wParam, LPARAM lParam);
    LRESULT OnViewChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryEndSessionMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnEndSessionMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnEnableMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnShowWindowMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnPositionMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnChangingActiveTab(WPARAM wParam, LPARAM lParam);
    void OnSize(UINT nType, int cx, int cy);
    void OnMove(int x, int y);
    void OnActivateApp(BOOL active, DWORD threadId);
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    void OnDropFiles(HDROP drop);
    // The command bars' requests: popups, controls and their execution.
    void OnInitCommandsPopup(CXTPPopupBar* popup);
    int OnCreateControl(XTP_COMMANDBARS_CREATECONTROL* request);
    LRESULT OnInitControl(WPARAM wParam, LPARAM lParam);
    LRESULT OnInitPopup(WPARAM wParam, LPARAM lParam);
    LRESULT OnControlExecute(WPARAM wParam, LPARAM lParam);
    // While an executed control's value is copied to its twins.
    bool m_copyingControlValue = false;
    struct CommandRow;
    static std::span<const CommandRow> CommandTable();
    static const CommandRow* FindCommandRow(UINT id, bool update);
    static const AFX_MSGMAP* GetRoutingMessageMap();
    static const AFX_MSGMAP* GetCommandTableMap();
    static bool RunCommandRow(CCmdTarget& target, AFX_CALL& call);
    static bool UpdateCommandRow(CCmdTarget& target, AFX_CALL& call);
    void ToggleToolBarAt(UINT id);
    void OnUpdateToolBarAt(CCmdUI* ui);
    void OnPaneCommand(UINT id);
    void OnUpdatePaneCommand(CCmdUI* ui);
    void OnFrameToggle(UINT id);
    void OnUpdateFrameToggle(CCmdUI* ui);
    void OnTabToolBarOption(UINT id);
    void OnUpdateTabToolBarOption(CCmdUI* ui);
    void OnNothing(UINT id) {}
    void OnUpdateEnabled(CCmdUI* ui);
    void OnScreenModeCommand(UINT id);
    void OnUpdateScreenModeCommand(CCmdUI* ui);
    void OnMoveToMainFrame(UINT id);
    void OnSelectTab(UINT id);
    void OnUpdateSelectTab(CCmdUI* ui);
    void OnHelpCommand(UINT id);
    void OnWindowList(UINT id);
    void OnUpdateWindowListItem(CCmdUI* ui);
    void OnFrameToolsCommand(UINT id);
    void OnUpdateFrameToolsCommand(CCmdUI* ui);
    void OnPdmCommand(UINT id);
    void OnUpdatePdmCommand(CCmdUI* ui);
    // The items of the PDM panes follow the application's pane windows; false for other ids.
    bool UpdatePdmPaneItem(CCmdUI* ui);

public:
    // The routing's map as the base of the frame's own.
    struct RoutingMap {
        static constexpr bool kMessageMapSplice = true;
        static const AFX_MSGMAP* GetThisMessageMap() { return CMainFrame::GetRoutingMessageMap(); }
    };

protected:
    // FrameStateHost
    void LockLayout() override { ++m_layoutLocks; }
    void UnlockLayout() override { --m_layoutLocks; }
    bool IsVisible() const override;
    std::optional<bool> IsActiveChildMaximized() const override;
    void MaximizeActiveChild(bool maximize) override;
    bool GetGlobalMaximizeFlag() const override { return m_maximizeChildren; }
    void SetGlobalMaximizeFlag(bool maximize) override { m_maximizeChildren = maximize; }
    bool AreDockingPaneTabCaptionsVisible() const override { return m_tabCaptions; }
    void ShowDockingPaneTabCaptions(bool show) override { m_tabCaptions = show; }
    void ApplyRibbonDefinition(const Dravik::UI::XML::RibbonBar& ribbon) override;
    // The UI module switches the ribbon's analysis part to the mode the state names.
    void SwitchAnalysisMode(int mode) override;
    void SaveRibbon(Dravik::UI::XML::Node element) override;
    bool SaveFramelessToolBar(Dravik::UI::XML::Node element) override { return false; }
    Dravik::UI::XML::WindowRect GetWindowRect() const override;
    void RestoreWindowPlacement(const Dravik::UI::XML::WindowRect& rect, int showCommand) override;

private:
    std::unique_ptr<CDVTabbedMainToolBar> m_tabbedBarAdapter;
    class Closing;
    void SizeToMonitor();
    void ApplyCommandBarSettings();
    void SetKeyNames();

    CDVDockingPaneManager m_paneManager;
    // An add-on's item in the ribbon's help popup: what it was made from and the control made.
    struct RibbonHelpItem {
        int id = 0;
        std::wstring text;
        std::uint32_t placement = 0;
        CXTPControl* control = nullptr;
    };
    std::vector<RibbonHelpItem> m_ribbonHelpItems;
    void TakeOutRibbonHelpItems();
    void PutBackRibbonHelpItems();
    bool m_hidingBars = false;
    bool m_hideExpandButtons = false;
    dvframe::FramelessBarRules m_framelessRules;
    // The default state whose ribbon definition resets a group or a tab.
    std::shared_ptr<MainFrameState> m_defaultState;
    const Dravik::UI::XML::RibbonBar* GetDefaultRibbonDefinition();
    const Dravik::UI::XML::RibbonTab* FindDefaultTabDefinition(const Dravik::UI::RibbonTab& tab);
    // The selection-filter bar's mode popup shown or not, copied to the panel.
    void CopySelectionModeControls();
    // The steps of UpdateSystemPanel, run while both copies' redrawing is locked.
    void UpdateSystemPanelControls(CSysPanelToolbar* panel);
    std::vector<std::unique_ptr<Dravik::UI::MessageBar>> m_messageBars;
    int m_screenMode = 0;
    bool m_shown = false;
    bool m_workbook = false;
    bool m_maximizeChildren = false;
    bool m_tabCaptions = true;
    int m_layoutLocks = 0;

    // Screens and workbook mode.
    void SaveLayout(const Dravik::UI::XML::Document& node);
    void LoadLayout(const Dravik::UI::XML::Document& node);
    void CoverMonitor();
    void CloseAllPanes();
    // The six bars of the classic layout: the system panel, the tabbed bar and the four
    // remembered default bars (any not made yet is null).
    std::vector<CXTPToolBar*> fixedToolBars() const;
    bool isStatusLineVisible();
    void showStatusLine(bool show);
    bool m_statusLineInWindow = true;
    bool m_statusLineInFullScreen = false;
    std::shared_ptr<Dravik::UI::XML::Document> m_normalLayout;
    CRect m_normalRect;
    bool m_workbookBeforeCleanScreen = true;
    bool m_updatingBars = false;
    std::unique_ptr<CDVTabClientWnd> m_tabClient;
    std::unique_ptr<CDVMDIClientWnd> m_mdiClient;
};

// The application's main frames as its state code sees them: the UI module's list of frames of
// this class, and new frames made from a state (apply the placement, lay out the panes).
class MainFrameStates : public dvapp::StateFrames {
public:
    std::vector<dvapp::StateFrame*> GetMainFrames() override;
    dvapp::StateFrame* CreateFromState(const std::shared_ptr<MainFrameState>& state) override;
};

DV_EXPORTS_END
