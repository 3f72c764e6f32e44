// The command bars' requests that reach the frame through its routing map: the controls and
// popups it makes for ids its bars only name, what each gets before it shows, and the execution
// of a control.
#include "frame/MainFrame.h"

#include "frame/CommandBars.h"
#include "frame/CommandPopups.h"
#include "frame/ControlFactory.h"
#include "frame/TabToolBar.h"
#include "panels/DataExchange.h"
#include "panels/SysPanelToolbar.h"
#include "ribbon/RibbonBar.h"

#include "DVDiagnostics/NotBuiltYet.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/UIModuleProxy.h"
#include "XTToolkitPro.h"
#include "panels/SysPanelToolbar.h"
#include "ribbon/CommandDescriptions.h"

namespace {

constexpr UINT kTabsPopup = 1075;
// The colour a command card's picture is laid over.
constexpr COLORREF kCommandCardBackground = 0xF2F2F2;

CommandPopupServices popupServices() {
    CommandPopupServices services;
    services.isRegistered = [](int id) {
        return id > 0 && DVCommandContainer::Instance().IsRegistered(static_cast<unsigned>(id));
    };
    services.loadString = [](int id) { return DVLoadString(static_cast<UINT>(id)); };
    services.commandCaption = services.loadString;
    return services;
}

} // namespace

// The popup of the tabbed tool bar's modes is built afresh each time it opens, so that it lists
// the modes and their keys as they are now.
void CMainFrame::OnInitCommandsPopup(CXTPPopupBar* popup) {
    CXTPControlPopup* control = popup != nullptr ? popup->GetControlPopup() : nullptr;
    CDVTabToolBar* tabs = GetTabToolBar();
    if (control == nullptr || control->GetID() != static_cast<int>(kTabsPopup) || tabs == nullptr)
        return;
    tabs->UpdateAccelerators();
    HMENU menu = tabs->BuildPopupMenu();
    if (menu == nullptr)
        return;
    CMenu wrapper;
    wrapper.Attach(menu);
    control->SetCommandBar(&wrapper);
    wrapper.DestroyMenu();
}

int CMainFrame::OnCreateControl(XTP_COMMANDBARS_CREATECONTROL* request) {
    if (request == nullptr)
        return 0;
    if (CSysPanelToolbar* panel = GetSysPanelToolbar();
        request->bToolBar && panel != nullptr && request->pCommandBar == panel)
        return panel->OnCreateControl(*request) ? 1 : 0;
    return AnswerCreateControl(request, GetControlFactoryFrame(), popupServices());
}

LRESULT CMainFrame::OnInitControl(WPARAM, LPARAM lParam) {
    auto* control = reinterpret_cast<CXTPControl*>(lParam);
    if (control == nullptr)
        return 0;
    ControlInitServices services;
    services.hintsBlocked = AreControlHintsBlocked();
    const CXTPCommandBar* parent = control->GetParent();
    services.forToolBar = parent != nullptr && parent->GetType() == xtpBarTypeNormal;
    services.loadString = [](int id) { return DVLoadString(static_cast<UINT>(id)); };
    services.translate = [](const char* key) {
        return Dravik::I18n::Translate(std::wstring(key, key + strlen(key)));
    };
    if (const auto* bars = dynamic_cast<CDVCommandBars*>(GetCommandBars()))
        for (const ToolBarListEntry& entry : bars->GetToolBarList())
            services.toolBarTitles.push_back(entry.title);
    MainFrameApplication* app = MainFrameApplication::Instance();
    services.applicationCommandText = [app](int id) -> std::optional<std::wstring> {
        return app != nullptr ? app->GetApplicationCommandText(static_cast<UINT>(id)) : std::nullopt;
    };
    services.bestIconSize = [](int size) {
        return static_cast<int>(UIModuleProxy::Instance().GetBestUnscaledIconSize(size).cx);
    };
    services.commandTip = [bars = GetCommandBars()](int id) -> std::optional<std::wstring> {
        const CommandDescriptionRecord* record =
            ReadCommandDescription(static_cast<UINT>(id), bars, kCommandCardBackground);
        if (record == nullptr || record->description.empty())
            return std::nullopt;
        std::wstring tip =
            record->title.empty() ? record->description : record->title + L"\n" + record->description;
        if (!record->keyboardCall.empty())
            tip += L"\n" + Dravik::I18n::Translate("commands.tooltip_keyboard_call") + L": " +
                   record->keyboardCall;
        return tip;
    };
    InitFrameControl(control, services);
    return 0;
}

LRESULT CMainFrame::OnInitPopup(WPARAM, LPARAM lParam) {
    InitCommandPopupBar(reinterpret_cast<CXTPCommandBar*>(lParam));
    return 0;
}

LRESULT CMainFrame::OnControlExecute(WPARAM, LPARAM lParam) {
    const auto* record = reinterpret_cast<const NMXTPCONTROL*>(lParam);
    if (record == nullptr || record->hdr.code != XTP_CN_EXECUTE || record->pControl == nullptr)
        return 0;
    CXTPControl* control = record->pControl;
    // A control whose parameter names a file, a URL or a library fragment is acted upon there;
    // until that lands nothing is.
    if (!control->GetParameter().IsEmpty())
        DV_NOT_BUILT_YET("a control's file, URL or fragment parameter is not acted upon");
    // The value a person gave one copy of a parameter control reaches its other copies, on the
    // ribbon and on the system panel; copying executes nothing, and the guard keeps it so.
    if (!m_copyingControlValue && dynamic_cast<IDataExchange*>(control) != nullptr) {
        m_copyingControlValue = true;
        if (DVRibbonBar* ribbon = GetDVRibbonBar())
            ribbon->PopulateControlData(control);
        if (auto* sysPanel = dynamic_cast<CSysPanelToolbar*>(GetSystemPanelToolBar()))
            sysPanel->CopyControlValue(control);
        m_copyingControlValue = false;
    }
    return 0;
}
