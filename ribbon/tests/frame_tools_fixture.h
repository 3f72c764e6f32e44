// A main frame of the UI library's framework with the frame tools engine, and an application that
// offers the pane windows a test chooses.
#pragma once

#include "ribbon/FrameToolsApplication.h"
#include "ribbon/FrameToolsEngine.h"

#include "DravikUI/DockingPane.h"
#include "DravikUI/GenericMainFrame.h"

#include <functional>
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
    SIZE iconSize{24, 24};
    SIZE GetToolBarIconSize() const override { return iconSize; }
    std::vector<DefaultToolBarRow> GetDefaultToolBars() override { return toolBars; }

    CWnd* GetOrsaArchivesWindow(bool, bool create) override { return create ? window(1012) : nullptr; }
    CWnd* GetOrsaDesktopWindow(bool, bool create) override { return create ? window(1013) : nullptr; }
    CWnd* GetOrsaFavoritesWindow(bool, bool create) override { return create ? window(1014) : nullptr; }
    CWnd* GetOrsaConfigurationSettingsWindow(bool, bool create) override {
        return create ? window(1033) : nullptr;
    }
    CWnd* GetOrsaSearchWindow(bool, bool create) override { return create ? window(1015) : nullptr; }
    CWnd* GetOrsaMailWindow(bool, bool create) override { return create ? window(1027) : nullptr; }
    CWnd* GetOrsaLibraryElementsWindow(bool, bool create) override { return create ? window(1040) : nullptr; }
    CWnd* GetProductStructureWindow(bool create) override { return create ? window(1020) : nullptr; }
    CWnd* GetConfigurationsWindow(bool create) override { return create ? window(1030) : nullptr; }
    CWnd* GetTechRequirementsWindow(bool create) override { return create ? window(1038) : nullptr; }
    CWnd* GetOrsaAssemblyWindow(bool, bool create) override { return create ? window(1019) : nullptr; }
    CWnd* GetModelTreeWindow(bool create) override { return create ? window(1006) : nullptr; }
    CWnd* GetModelElementsWindow(bool create) override { return create ? window(1022) : nullptr; }
    CWnd* GetDrawMenuWindow(bool create) override { return create ? window(1004) : nullptr; }
    CWnd* GetPropertiesWindow(bool create) override { return create ? window(1007) : nullptr; }
    CWnd* GetTaskWindow(bool create) override { return create ? window(1008) : nullptr; }
    CWnd* GetNcWindow(bool create) override { return create ? window(1009) : nullptr; }
    CWnd* GetStructureElementsWindow(bool create) override { return create ? window(1025) : nullptr; }
    CWnd* GetCamWindow(bool create) override { return create ? window(1034) : nullptr; }
    CWnd* GetWeldTreeWindow(bool create) override { return create ? window(1011) : nullptr; }
    CWnd* GetMacrosWindow(bool create) override { return create ? window(1010) : nullptr; }
    CWnd* GetAnnotationsWindow(bool create) override { return create ? window(1029) : nullptr; }
    CWnd* GetLayersWindow(bool create) override { return create ? window(1031) : nullptr; }
    CWnd* GetQualityManagementWindow(bool create) override { return create ? window(1032) : nullptr; }
    CWnd* GetBackgroundTasksWindow(bool create) override { return create ? window(1036) : nullptr; }
    CWnd* GetGenerationQueueWindow(bool create) override { return create ? window(1039) : nullptr; }
    CWnd* GetBirdsEyeViewWindow(bool create) override { return create ? window(1003) : nullptr; }
    CWnd* GetErrorWindow(bool create) override { return create ? window(1005) : nullptr; }
    CWnd* GetVariablesWindow(bool create) override { return create ? window(1017) : nullptr; }
    CWnd* GetAssemblyStructureWindow(bool create) override { return create ? window(1023) : nullptr; }
    CWnd* GetMaterialWindow(bool create) override { return create ? window(1021) : nullptr; }
    CWnd* GetFormFactorWindow(bool create) override { return create ? window(1035) : nullptr; }
    CWnd* GetFindCommandWindow(bool create) override { return create ? window(1028) : nullptr; }
    CWnd* GetFeaResultParametersWindow(bool create) override { return create ? window(1041) : nullptr; }

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
    // Another tabbed bar for the frames made while it is set (the frame's own class, say).
    static std::function<TabbedMainToolBar*(CXTPCommandBars*, const std::wstring&)> tabbedBarMaker;

    CWnd* GetDockingPaneWindow(CXTPDockingPane* pane) override;
    int GetActiveCommandId() const override { return activeCommand; }

    // The frameless bars that take the auto-menu icon size, as a test makes them.
    Dravik::UI::FramelessToolBar* framelessAutoMenu = nullptr;
    Dravik::UI::FramelessToolBar* framelessView = nullptr;
    Dravik::UI::FramelessToolBar* editInPlace = nullptr;
    Dravik::UI::FramelessToolBar* drawingView = nullptr;
    Dravik::UI::FramelessToolBar* feaTaskModel = nullptr;
    Dravik::UI::FramelessToolBar* GetFramelessAutoMenuToolBar() const override { return framelessAutoMenu; }
    Dravik::UI::FramelessToolBar* GetFramelessViewToolBar() const override { return framelessView; }
    Dravik::UI::FramelessToolBar* GetEditInPlaceToolBar() const override { return editInPlace; }
    Dravik::UI::FramelessToolBar* GetDrawingViewToolBar() const override { return drawingView; }
    Dravik::UI::FramelessToolBar* GetFeaTaskModelToolBar() const override { return feaTaskModel; }

    // Runs while a modal dialog of the frame waits for input.
    std::function<void(HWND dialog)> onEnterIdle;

protected:
    TabbedMainToolBar* CreateTabbedMainToolBar(CXTPCommandBars* bars, const std::wstring& caption) override;
    int OnCreate(LPCREATESTRUCTW lpcs);
    void OnDestroy();
    // Every command is there to be clicked.
    void OnAnyCommand(UINT) {}
    void OnUpdateAny(CCmdUI* ui) { ui->Enable(TRUE); }
    LRESULT OnEnterIdle(WPARAM, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

} // namespace dvribbon::test
