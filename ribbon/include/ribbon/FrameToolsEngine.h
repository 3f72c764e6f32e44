// The tool part of every main frame: it builds the frame's docking panes when the frame's window
// is created, finds a pane by its toggle command, keeps the frame's settings with the settings
// profile, gives the status line its command prompts and runs the commands a person types by
// their codes.
#pragma once

#include "pal/visibility.h"

#include "DravikKernel/ProfileManager.h"
#include "afxwin.h"

#include <memory>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CCmdUI;
class CDVTabView;
class CEmbeddedHelpFrame;
class CManipPanel;
class CStatusLine;
class CView;
class CXTPCommandBars;
class CXTPCommandBarsOptions;
class CXTPDockingPane;
class CXTPRibbonGroup;
class CXTPRibbonTab;
class CXTPToolBar;
struct CRuntimeClass;
struct GUID;

// The frame's tabbed main tool bar as the engine fills it with the default tabs.
class TabbedMainToolBar {
public:
    virtual ~TabbedMainToolBar() = default;
    virtual CXTPToolBar* GetToolBar() = 0;
    // A default tab with its commands (0 a separator).
    virtual void AddOriginalTab(const std::wstring& name, const UINT* ids, int count, const GUID& guid,
                                bool visible, bool extra) = 0;
    // Gives the tab of `guid` a key (virtual-key code with ACCEL modifier flags); false while the
    // bar has no such tab.
    virtual bool SetTabAccelerator(const GUID& guid, WORD key, BYTE modifiers) = 0;
};

namespace Dravik::UI {
class AutoMenuToolBar;
class GenericMainFrame;
} // namespace Dravik::UI

class CFrameToolsEngine : public DravikProfileItem {
public:
    // Pane ids of the panes the engine makes.
    static constexpr int kDrawMenuPane = 1004;
    static constexpr int kPropertiesPane = 1007;

    // Status-line prompts.
    static constexpr UINT kIdlePromptId = 57345;
    static constexpr UINT kTypedCommandsHelpCommand = 2924;

    CFrameToolsEngine();
    ~CFrameToolsEngine() override;

    // The frame the engine serves; every operation that needs it does nothing without it.
    void SetMainFrame(Dravik::UI::GenericMainFrame* frame) { m_mainFrame = frame; }
    Dravik::UI::GenericMainFrame* GetMainFrame() const { return m_mainFrame; }

    // Builds the frame's docking panes (and the frame's other tools) once, when its window is
    // made; false when the frame is missing or something cannot be made.
    bool CreateDockingPanesAndToolBars();
    void CreateManipPanelKind1();
    void CreateManipPanelKind2();
    CManipPanel* GetManipPanel(int number) const;

    // The frame's pane shown by a pane-toggle command (782-799, 811-826); null for any other id
    // or when the frame has no such pane.
    CXTPDockingPane* FindPaneByCommand(UINT commandId) const;
    // The pane id a pane-toggle command stands for; 0 for any other id.
    static int GetPaneIdOfCommand(UINT commandId);
    // The shared pane window that a pane of the engine shows; null for other ids.
    static CWnd* GetPaneWindow(int paneId);
    // The caption a pane is made with; empty for a pane the frames do not make.
    static std::wstring GetPaneCaption(int paneId);

    // Settings profile: version 1 of the engine's state.
    int LoadState() override;
    int SaveState() override;
    void GetStateData(unsigned flags, std::vector<std::wstring>& keyPaths) const override;
    unsigned GetVersion() const override { return 1; }
    // The engine's section as a key path below the current user's key.
    std::wstring GetSectionKeyPath() const;

    // The status-line prompt of a command id; false when there is none.
    virtual bool GetMessageString(UINT id, std::wstring& text) const;
    // A key pressed in the frame; true when it was taken.
    bool OnTypedCommandKey(UINT virtualKey);

    CStatusLine* GetStatusLine() const { return m_statusLine.get(); }
    // The command bars of the frame's auto-menu tool bar, and that bar once the frame is built.
    CXTPCommandBars* GetAutoMenuCommandBars() const { return m_autoMenuCommandBars; }
    Dravik::UI::AutoMenuToolBar* GetAutoMenuToolBar() const { return m_autoMenuToolBar; }

    // Gives the auto-menu bars and the frameless tool bars the frame's command-bar options;
    // the frame is laid out again when asked.
    void ApplyCommandBarOptions(bool recalcLayout);
    // The frameless tool bars take the main command bars' shortcuts.
    void CopyShortcutsToFramelessToolBars();

    // The customise sheet of the frame tools, opened on a page (commands 35001 and 9607).
    void ShowCustomizeDialog(int page);
    // What the sheet selects when it opens from the ribbon's menus: a tab (1), a group (2) or a
    // control (3).
    struct CustomizeTarget {
        int kind = 0;
        void* item = nullptr;
        bool flag = false;
    };
    void ShowCustomizeDialog(int page, const CustomizeTarget& target);

    // What the ribbon's menus ask of the frame: whether the default state defines a group or a
    // tab, resetting them to it, and whether a tool bar is one a person may add commands to.
    virtual bool HasRibbonGroupDefinition(CXTPRibbonGroup* group) const { return false; }
    virtual bool HasRibbonTabDefinition(CXTPRibbonTab* tab) const { return false; }
    virtual bool ResetRibbonGroup(CXTPRibbonGroup* group) { return false; }
    virtual void ResetRibbonTab(CXTPRibbonTab* tab) {}
    virtual bool IsToolBarListed(CXTPToolBar* bar) const { return true; }

    // The tools made by CreateDockingPanesAndToolBars; null until then.
    TabbedMainToolBar* GetTabbedMainToolBar() const { return m_tabbedMainToolBar; }
    CXTPToolBar* GetSystemPanelToolBar() const { return m_systemPanelToolBar; }
    // The default bar 1063, 1065, 1070 or 1071; null for other ids or before it was made.
    CXTPToolBar* GetRememberedToolBar(UINT barId) const;

    // The frame's PDM panes shown (as recorded open) or closed with the PDM connection.
    void ShowOrsaWindows(bool show);

    // The page tabs and rulers of the active tab view (commands 803 and 804); both are off
    // without a tab view.
    void OnShowRulers();
    void OnUpdateShowRulers(CCmdUI* ui);
    void OnTabs();
    void OnUpdateTabs(CCmdUI* ui);
    // The user commands 37000-37999: run by id, enabled while the application holds the id.
    void OnUserCommand(UINT id);
    void OnUpdateUserCommand(CCmdUI* ui);
    // The user-tools dialog (command 1215), modal.
    void OnUserTools();
    // Frame message 0x56B: a path with a code saying what to do with it (`path` a wide text).
    LRESULT OnDocumentPathMessage(WPARAM code, LPARAM path);
    static constexpr UINT kDocumentPathMessage = 0x56B;
    static constexpr UINT kShowRulersCommand = 803;
    static constexpr UINT kTabsCommand = 804;
    static constexpr UINT kUserToolsCommand = 1215;
    static constexpr UINT kUserToolsHelpId = 121500;
    // The tab view of the frame's active view; null when it has none.
    CDVTabView* GetActiveTabView() const;

    // The help window beside the frame: a URL shows it (made on first use), none destroys it.
    // False when it cannot be made; `navigation` is passed on unchanged.
    bool ShowEmbeddedHelp(const wchar_t* url, DWORD navigation = 0);
    // Closes the help window later (its close is posted) and forgets it.
    void CloseEmbeddedHelp();
    void OnEmbeddedHelpDestroyed() { m_embeddedHelp = nullptr; }
    // After every move and sizing of the frame.
    void UpdateEmbeddedHelpPosition(UINT sizeType, int cx, int cy);
    CEmbeddedHelpFrame* GetEmbeddedHelpFrame() const { return m_embeddedHelp; }

    // Bar ids of the frame's own bars.
    static constexpr UINT kTabbedMainToolBarId = 1000;
    static constexpr UINT kSystemPanelToolBarId = 1002;

protected:
    // The auto-menu command bars are made of the class given (the frame's own class of command
    // bars); they cannot be asked of a virtual while the frame is still being constructed.
    explicit CFrameToolsEngine(CRuntimeClass* autoMenuCommandBarsClass);
    // The frame's tabbed main tool bar, made in its command bars with the caption given; null
    // when it cannot be made. The frame owns what it returns.
    virtual TabbedMainToolBar* CreateTabbedMainToolBar(CXTPCommandBars* bars, const std::wstring& caption) {
        return nullptr;
    }
    // The classes of the frame's default bars and of its system-panel bar.
    virtual CRuntimeClass* GetToolBarClass() const;
    virtual CRuntimeClass* GetSystemPanelToolBarClass() const;
    // The new system-panel bar's controls, registered before the bar is set up.
    virtual void RegisterSystemPanelControls(CXTPToolBar& bar);

private:
    bool CreateDefaultToolBars();
    void ApplyOptionsToDocumentViews(const CXTPCommandBarsOptions& options);
    bool CreateSystemPanelToolBar();

    Dravik::UI::GenericMainFrame* m_mainFrame = nullptr;
    CXTPCommandBars* m_autoMenuCommandBars = nullptr; // owned: released with the engine
    Dravik::UI::AutoMenuToolBar* m_autoMenuToolBar = nullptr;
    std::unique_ptr<CStatusLine> m_statusLine;
    std::unique_ptr<CManipPanel> m_manipPanel1;
    std::unique_ptr<CManipPanel> m_manipPanel2;
    TabbedMainToolBar* m_tabbedMainToolBar = nullptr;
    CXTPToolBar* m_systemPanelToolBar = nullptr;
    // The default bars 1065, 1070, 1063 and 1071.
    CXTPToolBar* m_toolBar1065 = nullptr;
    CXTPToolBar* m_toolBar1070 = nullptr;
    CXTPToolBar* m_toolBar1063 = nullptr;
    CXTPToolBar* m_toolBar1071 = nullptr;
    DWORD m_orsaPaneMask = 3;
    CRect m_rect;
    CEmbeddedHelpFrame* m_embeddedHelp = nullptr; // owned: a window that deletes itself
};

DV_EXPORTS_END
