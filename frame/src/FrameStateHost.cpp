#include "frame/FrameStateHost.h"

#include "DVDiagnostics/DVLog.h"
#include "xtp/PropExchange.h"

#include <string>

namespace {

namespace XML = Dravik::UI::XML;

constexpr wchar_t kLayouts[] = L"codejock";
constexpr wchar_t kNormalLayout[] = L"normalLayout";
constexpr wchar_t kFullScreenLayout[] = L"fullscreenLayout";

class LayoutLock {
public:
    explicit LayoutLock(FrameStateHost& frame) : frame_(frame) { frame_.LockLayout(); }
    ~LayoutLock() { frame_.UnlockLayout(); }
    LayoutLock(const LayoutLock&) = delete;
    LayoutLock& operator=(const LayoutLock&) = delete;

private:
    FrameStateHost& frame_;
};

const wchar_t* boolText(bool value) {
    return value ? L"true" : L"false";
}

void writePlacement(FrameStateHost& frame, XML::Node element) {
    const XML::WindowRect rect = frame.GetWindowRect();
    if (!rect.empty())
        element.setAttribute(XML::AttributeNames::WindowRect,
                             std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L"," +
                                 std::to_wstring(rect.right) + L"," + std::to_wstring(rect.bottom));
    switch (frame.showCommand) {
    case 2:
        element.setAttribute(XML::AttributeNames::WindowState, L"minimized");
        break;
    case 3:
        element.setAttribute(XML::AttributeNames::WindowState, L"maximized");
        break;
    default:
        element.setAttribute(XML::AttributeNames::WindowState, L"normal");
        break;
    }
}

void applyLayouts(FrameStateHost& frame, const XML::Document& layouts, bool layout) {
    CXTPPropExchangeXMLNode exchange(TRUE, layouts.root());
    if (exchange.IsSectionExists(kNormalLayout)) {
        CXTPPropExchangeSection normal(&exchange, kNormalLayout);
        frame.ExchangeLayout(&*normal, true, layout);
    }
    if (const XML::Node full = layouts.root().child(kFullScreenLayout)) {
        auto copy = std::make_shared<XML::Document>();
        copy->assignCopy(full);
        frame.fullScreenLayout = std::move(copy);
    }
}

void saveLayouts(FrameStateHost& frame, XML::Node element, bool layout) {
    CXTPPropExchangeXMLNode exchange(FALSE, element.appendChild(kLayouts));
    if (!exchange.OnBeforeExchange())
        return;
    // The normal layout is the windowed one: taken in full screen it would come back in place
    // of the windowed layout. When the frame cannot leave full screen now, none is written and
    // the one saved before stays the next start's.
    const int previous = frame.GetScreenMode();
    if (previous == 0 || frame.SetScreenMode(0)) {
        {
            CXTPPropExchangeSection normal(&exchange, kNormalLayout);
            frame.ExchangeLayout(&*normal, true, layout);
        }
        if (previous != 0)
            frame.SetScreenMode(previous);
    } else {
        DVLog_Write(DVLogWarning, "The main window stays in screen mode %d; its windowed layout is not saved",
                    previous);
    }
    if (frame.fullScreenLayout && frame.fullScreenLayout->root())
        exchange.GetNode().appendCopy(frame.fullScreenLayout->root());
}

} // namespace

void ApplyState(FrameStateHost& frame, const MainFrameState& state, bool applyPlacement, bool layout) {
    LayoutLock lock(frame);
    frame.LoadBaseState(state);
    frame.pdmPanes = state.pdmPanes;
    frame.minimizeRibbonInWindowedMode = state.minimizeRibbonInWindowedMode;
    frame.minimizeRibbonInFullScreenMode = state.minimizeRibbonInFullScreenMode;
    frame.showClassicAutoMenu = state.showClassicAutoMenu;
    frame.ShowDockingPaneTabCaptions(state.showDockingPaneTabCaptions);
    if (state.ribbonBar)
        frame.ApplyRibbonDefinition(*state.ribbonBar);
    if (state.layouts && state.layouts->root())
        applyLayouts(frame, *state.layouts, layout);
    frame.SetRibbonModeFromApplication();
    frame.SetWorkbookMode(state.workbook);
    if (((state.analysisMode == 1 || state.analysisMode == 2) && state.analysisMode != frame.analysisMode) ||
        state.ribbonBar) {
        frame.SwitchAnalysisMode(state.analysisMode);
        frame.analysisMode = state.analysisMode;
    }
    if (!state.workbook) {
        frame.SetGlobalMaximizeFlag(state.maximizeMdi);
        frame.MaximizeActiveChild(state.maximizeMdi);
    }
    if (applyPlacement) {
        frame.showCommand = state.showCommand;
        const bool visible = frame.IsVisible();
        frame.RestoreWindowPlacement(state.windowRect, visible ? state.showCommand : 0);
        if (visible && state.fullScreen != (frame.GetScreenMode() == 1))
            frame.SetScreenMode(state.fullScreen ? 1 : 0);
    }
}

void SaveXmlState(FrameStateHost& frame, XML::Node element, bool withPlacement, bool layout) {
    if (withPlacement) {
        writePlacement(frame, element);
        element.setAttribute(L"fullscreen", boolText(frame.GetScreenMode() == 1));
    }
    element.setAttribute(L"workbook", boolText(frame.IsWorkbookMode()));
    element.setAttribute(L"maximizeMdi",
                         boolText(frame.IsActiveChildMaximized().value_or(frame.GetGlobalMaximizeFlag())));
    element.setAttribute(L"minimizeRibbonBarInWindowedMode", boolText(frame.minimizeRibbonInWindowedMode));
    element.setAttribute(L"minimizeRibbonBarInFullscreenMode",
                         boolText(frame.minimizeRibbonInFullScreenMode));
    element.setAttribute(L"showClassicAutoMenu", boolText(frame.showClassicAutoMenu));
    element.setAttribute(L"showDockingPaneTabCaptions", boolText(frame.AreDockingPaneTabCaptionsVisible()));
    element.setAttribute(L"analysisMode", AnalysisModeToText(frame.analysisMode));
    element.setAttribute(L"orsaWindows", PdmPanesToText(frame.pdmPanes));
    element.setAttribute(XML::AttributeNames::VersionNumber, StateFormatVersion.toString());
    frame.SaveRibbon(element.appendChild(XML::TagNames::RibbonBar));
    const XML::Node frameless = element.appendChild(XML::TagNames::FramelessToolBar);
    if (!frame.SaveFramelessToolBar(frameless))
        element.removeChild(frameless);
    saveLayouts(frame, element, layout);
}
