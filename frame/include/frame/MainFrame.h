// The main window of the program. Several may exist at once; the UI module lists them and the
// application object reaches them through that list. A frame is built from a saved state, or as
// a copy of another frame, and writes its state back in the same form.
#pragma once

#include "DravikUI/DockingPane.h"
#include "DravikUI/GenericMainFrame.h"
#include "DravikUI/MessageBar.h"
#include "afxwin.h"
#include "app/StateFrames.h"
#include "frame/FrameStateHost.h"
#include "frame/MdiClient.h"
#include "frame/TabbedMainToolBarAdapter.h"
#include "pal/visibility.h"
#include "ribbon/FrameToolsEngine.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CDocument;
class CMainFrame;
class CXTPMenuBar;
class CXTPRibbonBar;
class CDVRibbonCommandBars;

// The frame as a settings-profile item: the frame tools' state plus the frame's own section.
class CMainFrameProfileItem : public CFrameToolsEngine {
public:
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
    // The add-on applications' consent to the application ending.
    virtual bool AddOnsAllowExit() { return true; }
    virtual void ActivateNextMainFrame(CMainFrame& closing) {}
    // The profile state when it is saved at exit; the safe-to-exit flag.
    virtual void PrepareExit() {}
    virtual void SaveOpenDocuments() {}
    virtual void CloseAllDocuments() {}
    virtual void UpdateMainFrameTitles() {}
    // Shell requests that arrived while a frame was in a modal state.
    virtual void ProcessQueuedDDECommands() {}
};

class CMainFrame : public Dravik::UI::MdiMainFrame,
                   public CMainFrameProfileItem,
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
    size_t GetMessageBarCount() const { return m_messageBars.size(); }

    // None while another frame is the active one, in clean-screen mode or before the first
    // showing; outside ribbon mode only the bars of bits 16 and 32.
    DWORD GetVisibleFramelessToolBars() const override;
    void EndModalState() override;

    // The ids of the commands hidden from the short menus.
    static const std::vector<UINT>& GetHiddenCommands();

    // The main-frame interface as this frame extends it: what reaches the frameless bars, the
    // theme and the PDM connection reaches the ribbon and the system panel as well.
    void UpdateViewDependentToolBars() override;
    void SetTheme(int theme) override;
    void OnChangeOrsaConnectionState(bool connected);

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

protected:
    // A fresh node to save a layout into; none when it cannot be made.
    virtual std::shared_ptr<Dravik::UI::XML::Document> MakeLayoutNode(const wchar_t* name);

protected:
    // Seams to the parts of the frame built elsewhere: they succeed when nothing is to be done.
    virtual bool SetUpRibbonBar() { return true; }
    virtual bool CreateDockingPanesAndToolBarsStep() { return CreateDockingPanesAndToolBars(); }

    CWnd* GetDockingPaneWindow(CXTPDockingPane* pane) override;
    TabbedMainToolBar* CreateTabbedMainToolBar(CXTPCommandBars* bars, const std::wstring& caption) override;

    int OnCreate(LPCREATESTRUCTW lpcs);
    void OnClose();
    void OnDestroy();
    LRESULT OnMessageBarClosed(WPARAM, LPARAM lParam);
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

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
    void SwitchAnalysisMode(int mode) override { analysisMode = mode; }
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

    Dravik::UI::DockingPaneManager m_paneManager;
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
    bool isStatusLineVisible();
    void showStatusLine(bool show);
    bool m_statusLineInWindow = true;
    bool m_statusLineInFullScreen = false;
    std::shared_ptr<Dravik::UI::XML::Document> m_normalLayout;
    CRect m_normalRect;
    bool m_workbookBeforeCleanScreen = true;
    bool m_hidingBars = false;
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
