// Applying a saved state to a main window and writing a window's state into a main-window
// element. The window is reached through FrameStateHost, which the main frame implements; the
// order of the steps and what is read and written is kept here, in one place.
#pragma once

#include "frame/FrameState.h"

#include "pal/visibility.h"

#include <memory>

DV_EXPORTS_BEGIN

class CXTPPropExchange;

// What applying and saving a state needs of a main window.
class FrameStateHost {
public:
    virtual ~FrameStateHost() = default;

    // The frame's own fields that the state carries.
    std::uint32_t pdmPanes = PdmPaneFiles | PdmPaneAssembly;
    int analysisMode = 0;
    bool minimizeRibbonInWindowedMode = false;
    bool minimizeRibbonInFullScreenMode = true;
    bool showClassicAutoMenu = true;
    int showCommand = 1;
    // The tool kit's layout kept for full-screen mode: a "fullscreenLayout" element, or nothing.
    std::shared_ptr<const Dravik::UI::XML::Document> fullScreenLayout;

    virtual void LockLayout() {}
    virtual void UnlockLayout() {}
    // What the UI library's frame takes from the state (placement aside).
    virtual void LoadBaseState(const MainFrameState& state) {}

    virtual bool IsVisible() const = 0;
    // 0 windowed, 1 full screen, 2 full screen without tabs. Switching may be refused (false).
    virtual int GetScreenMode() const = 0;
    virtual bool SetScreenMode(int mode) = 0;

    virtual bool IsWorkbookMode() const = 0;
    virtual void SetWorkbookMode(bool on) = 0;
    virtual void SetRibbonModeFromApplication() {}
    // Whether the active MDI child is maximised; nothing without an active child.
    virtual std::optional<bool> IsActiveChildMaximized() const = 0;
    virtual void MaximizeActiveChild(bool maximize) = 0;
    // The maximise flag kept for the next child when there is none.
    virtual bool GetGlobalMaximizeFlag() const = 0;
    virtual void SetGlobalMaximizeFlag(bool maximize) = 0;

    virtual bool AreDockingPaneTabCaptionsVisible() const = 0;
    virtual void ShowDockingPaneTabCaptions(bool show) = 0;

    virtual void ApplyRibbonDefinition(const Dravik::UI::XML::RibbonBar& ribbon) = 0;
    virtual void SwitchAnalysisMode(int mode) = 0;
    // Writes the live ribbon into the element.
    virtual void SaveRibbon(Dravik::UI::XML::Node element) = 0;
    // Writes the frameless view tool bar into the element; false when the frame has none.
    virtual bool SaveFramelessToolBar(Dravik::UI::XML::Node element) = 0;

    // The profile item's exchange of options, shortcuts, panes and bars.
    virtual void ExchangeLayout(CXTPPropExchange* exchange, bool controls, bool layout) = 0;

    virtual Dravik::UI::XML::WindowRect GetWindowRect() const = 0;
    virtual void RestoreWindowPlacement(const Dravik::UI::XML::WindowRect& rect, int showCommand) = 0;
};

void ApplyState(FrameStateHost& frame, const MainFrameState& state, bool applyPlacement, bool layout);
void SaveXmlState(FrameStateHost& frame, Dravik::UI::XML::Node element, bool withPlacement, bool layout);

DV_EXPORTS_END
