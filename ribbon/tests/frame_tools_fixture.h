// A main frame of the UI library's framework with the frame tools engine, and an application that
// offers the pane windows a test chooses.
#pragma once

#include "ribbon/FrameToolsApplication.h"
#include "ribbon/FrameToolsEngine.h"

#include "DravikUI/DockingPane.h"
#include "DravikUI/GenericMainFrame.h"

#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace dvribbon::test {

// A pane window that paints its pane's id, so that a person can tell the panes apart.
class PaneWindow : public Dravik::UI::DockingPaneChildWindow {
public:
    explicit PaneWindow(int id) : id_(id) {}
    int id() const { return id_; }

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    int id_;
};

class PaneApplication : public FrameToolsApplication {
public:
    explicit PaneApplication(std::set<int> panes) : panes_(std::move(panes)) {}
    ~PaneApplication() override;
    size_t GetMainFrameCount() const override { return frames; }
    size_t frames = 1;
    std::vector<DefaultToolBarRow> toolBars;
    std::vector<DefaultToolBarRow> GetDefaultToolBars() override { return toolBars; }

    CWnd* GetOrsaArchivesWindow() override { return window(1012); }
    CWnd* GetOrsaDesktopWindow() override { return window(1013); }
    CWnd* GetOrsaFavoritesWindow() override { return window(1014); }
    CWnd* GetOrsaConfigurationSettingsWindow() override { return window(1033); }
    CWnd* GetOrsaSearchWindow() override { return window(1015); }
    CWnd* GetOrsaMailWindow() override { return window(1027); }
    CWnd* GetOrsaLibraryElementsWindow() override { return window(1040); }
    CWnd* GetProductStructureWindow() override { return window(1020); }
    CWnd* GetConfigurationsWindow() override { return window(1030); }
    CWnd* GetTechRequirementsWindow() override { return window(1038); }
    CWnd* GetOrsaAssemblyWindow() override { return window(1019); }
    CWnd* GetModelTreeWindow() override { return window(1006); }
    CWnd* GetModelElementsWindow() override { return window(1022); }
    CWnd* GetDrawMenuWindow() override { return window(1004); }
    CWnd* GetPropertiesWindow() override { return window(1007); }
    CWnd* GetTaskWindow() override { return window(1008); }
    CWnd* GetNcWindow() override { return window(1009); }
    CWnd* GetStructureElementsWindow() override { return window(1025); }
    CWnd* GetCamWindow() override { return window(1034); }
    CWnd* GetWeldTreeWindow() override { return window(1011); }
    CWnd* GetMacrosWindow() override { return window(1010); }
    CWnd* GetAnnotationsWindow() override { return window(1029); }
    CWnd* GetLayersWindow() override { return window(1031); }
    CWnd* GetQualityManagementWindow() override { return window(1032); }
    CWnd* GetBackgroundTasksWindow() override { return window(1036); }
    CWnd* GetGenerationQueueWindow() override { return window(1039); }
    CWnd* GetBirdsEyeViewWindow() override { return window(1003); }
    CWnd* GetErrorWindow() override { return window(1005); }
    CWnd* GetVariablesWindow() override { return window(1017); }
    CWnd* GetAssemblyStructureWindow() override { return window(1023); }
    CWnd* GetMaterialWindow() override { return window(1021); }
    CWnd* GetFormFactorWindow() override { return window(1035); }
    CWnd* GetFindCommandWindow() override { return window(1028); }
    CWnd* GetFeaResultParametersWindow() override { return window(1041); }

private:
    CWnd* window(int id);
    std::set<int> panes_;
    // Pane windows live under the hidden pane parent until a pane takes them.
    std::shared_ptr<CWnd> parent_;
    std::map<int, std::unique_ptr<PaneWindow>> windows_;
};

// A tabbed main tool bar that records what the engine gives it; the bar shows the first tab's
// commands.
class RecordingTabbedBar : public TabbedMainToolBar {
public:
    explicit RecordingTabbedBar(CXTPToolBar* bar) : bar_(bar) {}
    CXTPToolBar* GetToolBar() override { return bar_; }
    void AddOriginalTab(const std::wstring& name, const UINT* ids, int count, const GUID& guid, bool visible,
                        bool extra) override;
    bool SetTabAccelerator(const GUID& guid, WORD key, BYTE modifiers) override;

    std::vector<std::wstring> tabs;
    // The accelerators given, in order: tab name and key.
    std::vector<std::pair<std::wstring, WORD>> keys;

private:
    CXTPToolBar* bar_;
    std::vector<GUID> guids_;
};

class EngineFrame : public Dravik::UI::MdiMainFrame, public CFrameToolsEngine {
public:
    Dravik::UI::DockingPaneManager panes;
    bool created = false;
    int activeCommand = 0;
    bool tabbedBarFails = false;
    std::unique_ptr<RecordingTabbedBar> tabbedBar;

    CWnd* GetDockingPaneWindow(CXTPDockingPane* pane) override;
    int GetActiveCommandId() const override { return activeCommand; }

protected:
    TabbedMainToolBar* CreateTabbedMainToolBar(CXTPCommandBars* bars, const std::wstring& caption) override;
    int OnCreate(LPCREATESTRUCTW lpcs);
    void OnDestroy();
    // Every command is there to be clicked.
    void OnAnyCommand(UINT) {}
    void OnUpdateAny(CCmdUI* ui) { ui->Enable(TRUE); }
    DECLARE_MESSAGE_MAP()
};

} // namespace dvribbon::test
