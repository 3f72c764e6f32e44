// The frame's control factory and the parameters its menu-bar and ribbon definitions are applied
// with.
#include "frame/MainFrame.h"

#include "frame/CommandBars.h"
#include "frame/ControlAttributes.h"
#include "frame/ControlFactory.h"

#include "DravikKernel/CommandCatalogue.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "XTToolkitPro.h"
#include "panels/SysPanelToolbar.h"
#include "ribbon/RibbonBar.h"

CXTPControl* CMainFrame::CreateCustomControl(UINT id, const std::wstring& tag, CXTPCommandBar* bar) {
    return ::CreateCustomControl(static_cast<int>(id), tag, bar, GetControlFactoryFrame());
}

ControlFactoryFrame CMainFrame::GetControlFactoryFrame() {
    ControlFactoryFrame frame;
    frame.bars = GetCommandBars();
    frame.mainMenuBar = GetMenuBar();
    if (MainFrameApplication* app = MainFrameApplication::Instance()) {
        frame.mainResourceId = app->GetMainResourceId();
        frame.addThemeControls = [app](CXTPControlPopup* popup) { app->AddThemeControls(popup); };
    }
    frame.panes = &m_paneManager;
    frame.ribbon = GetDVRibbonBar();
    return frame;
}

namespace {

// Controls of a definition come from the frame's factory for definitions (a special control by
// its state name, others by their tag); attributes are handled as the bar's kind asks.
Dravik::UI::XML::ApplicationParameters ParametersOf(CMainFrame& frame, AttributeScope scope) {
    Dravik::UI::XML::ApplicationParameters parameters;
    parameters.createControl = [&frame](const Dravik::UI::XML::Control& definition, CXTPCommandBar* bar) {
        return static_cast<Dravik::UI::GenericMainFrame&>(frame).CreateCustomControl(definition, bar);
    };
    parameters.handleAttribute = [scope](CXTPControl* control, const std::wstring& name,
                                         const std::wstring& value) {
        HandleControlAttribute(control, name, value, scope);
    };
    parameters.createBackstagePage = [&frame](const Dravik::UI::XML::BackstageItem& definition) -> CWnd* {
        DVRibbonBar* ribbon = frame.GetDVRibbonBar();
        return ribbon != nullptr ? ribbon->GetBackstagePage(definition.state) : nullptr;
    };
    // The kernel's commands, the person's own and the application's. The add-ons' block counts
    // whole: an add-on registers its commands once the main frame stands, after the ribbon loaded.
    parameters.isKnownCommand = [](int id) {
        constexpr int kAddOnCommandsFirst = 15000;
        constexpr int kAddOnCommandsLast = 16999;
        constexpr int kUserCommandsFirst = 37000;
        constexpr int kUserCommandsLast = 37999;
        if (id <= 0)
            return false;
        if (DVFindCatalogueCommand(static_cast<unsigned>(id)) != nullptr ||
            (id >= kAddOnCommandsFirst && id <= kAddOnCommandsLast) ||
            (id >= kUserCommandsFirst && id <= kUserCommandsLast))
            return true;
        DravikServerAppProxy* shell = DravikServerAppProxy::Instance();
        return shell != nullptr && shell->GetApplicationCommand(static_cast<UINT>(id)) != nullptr;
    };
    return parameters;
}

} // namespace

Dravik::UI::XML::RibbonBarApplicationParameters CMainFrame::GetRibbonBarApplicationParameters() {
    return ParametersOf(*this, AttributeScope::Ribbon);
}

Dravik::UI::XML::ApplicationParameters CMainFrame::GetMenuBarApplicationParameters() {
    return ParametersOf(*this, AttributeScope::MenuBar);
}

CRuntimeClass* CMainFrame::GetSystemPanelToolBarClass() const {
    return RUNTIME_CLASS(CSysPanelToolbar);
}

CRuntimeClass* CMainFrame::GetToolBarClass() const {
    return RUNTIME_CLASS(CDVToolBar);
}
