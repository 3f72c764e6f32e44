#include "frame/CommandPopups.h"

#include "frame/CommandBars.h"
#include "frame/ControlFactory.h"
#include "frame/ControlTable.h"

#include "DravikUI/AutoMenu.h"
#include "DravikUI/XML.h"

#include "DVTextCore/I18n.h"
#include "XTToolkitPro.h"

namespace {

constexpr int kTearOffWidth = 400;
constexpr int kPopupBarWidth = 10000;
constexpr int kExpandWidth = 10;

void addButtons(CXTPCommandBar* bar, std::span<const int> ids) {
    for (const int id : ids)
        bar->GetControls()->Add(new CDVControlButton, id);
}

void addExpandButton(CXTPCommandBar* bar) {
    CXTPControl* expand = bar->GetControls()->Add(new CDVControlButton, CDVControlButton::kExpandId);
    expand->SetWidth(CXTPDpi::ScaleX(kExpandWidth));
}

void finishPopupBar(CXTPPopupBar* bar, int id, const std::wstring& title) {
    for (int i = 0; i < bar->GetControls()->GetCount(); ++i) {
        CXTPControl* control = bar->GetControls()->GetAt(i);
        control->SetTooltip(GetStrWithoutCommandLetters(control->GetCaption().GetString()).c_str());
    }
    bar->SetTearOffPopup(title.c_str(), static_cast<UINT>(id), kTearOffWidth);
    bar->SetWidth(kPopupBarWidth);
}

std::wstring call(const std::function<std::wstring(int)>& source, int id) {
    return source ? source(id) : std::wstring();
}

// A control whose tip would only repeat its caption tells what its command does instead.
std::optional<std::wstring> kernelTip(const CXTPControl& control, const ControlInitServices& services) {
    if (!services.commandTip ||
        control.GetTooltip().GetString() != GetStrWithoutCommandLetters(control.GetCaption().GetString()))
        return std::nullopt;
    return services.commandTip(control.GetID());
}

} // namespace

CXTPControlPopup* CreateCommandPopup(CXTPCommandBars* bars, int id, const CommandPopupServices& services) {
    const std::span<const int> fixed = FixedPopupCommands(id);
    std::optional<int> group;
    if (fixed.empty()) {
        group = FindCommandGroup(id);
        if (!group)
            return nullptr;
    }
    CXTPControlPopup* popup = CXTPControlPopup::CreateControlPopup(fixed.empty() ? xtpControlSplitButtonPopup
                                                                                 : xtpControlButtonPopup);
    popup->SetID(id);
    CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(bars);
    popup->SetCommandBar(bar);
    bar->InternalRelease();
    std::wstring title;
    if (!fixed.empty()) {
        addButtons(bar, fixed);
        if (FixedPopupHasExpandButton(id))
            addExpandButton(bar);
        title = id == 1416 ? Dravik::I18n::Translate("panels.ribbon.enableclipplane")
                           : call(services.commandCaption, id);
    } else {
        for (const int command : CommandGroupCommands(*group))
            if (!services.isRegistered || services.isRegistered(command))
                bar->GetControls()->Add(new CDVControlButton, command);
        addExpandButton(bar);
        title = *group == -1 ? call(services.commandCaption, id)
                             : GetStrWithoutCommandLetters(call(services.loadString, *group));
    }
    finishPopupBar(bar, id, title);
    return popup;
}

void InitCommandPopupBar(CXTPCommandBar* bar) {
    if (bar == nullptr)
        return;
    CXTPControls* controls = bar->GetControls();
    if (CXTPControl* expand = controls->FindControl(CDVControlButton::kExpandId)) {
        controls->Remove(expand);
        return;
    }
    if (controls->GetCount() > 0 && controls->GetAt(0)->GetID() == 1352) {
        controls->RemoveAll();
        addButtons(bar, RefilledPopupCommands());
    }
}

void FinishControlTexts(CXTPControl* control) {
    if (control == nullptr)
        return;
    const std::wstring description =
        CleanControlDescription(control->GetDescription().GetString(), static_cast<int>(control->GetType()));
    control->SetDescription(description.c_str());
    // A control without a tooltip of its own shows its caption; that stays so.
    const CString tooltip = control->GetTooltip();
    const std::wstring plain = GetStrWithoutCommandLetters(tooltip.GetString());
    if (plain != tooltip.GetString())
        control->SetTooltip(plain.c_str());
}

namespace {

std::wstring formatWith(const std::wstring& format, const std::wstring& value) {
    std::wstring text = format;
    if (const auto at = text.find(L"%s"); at != std::wstring::npos)
        text.replace(at, 2, value);
    return text;
}

} // namespace

void InitFrameControl(CXTPControl* control, const ControlInitServices& services) {
    if (control == nullptr)
        return;
    if (services.hintsBlocked) {
        control->SetDescription(L"");
        control->SetTooltip(L"");
        control->SetFlags(control->GetFlags() | xtpFlagManualUpdate);
        return;
    }
    const int id = control->GetID();
    const auto load = [&](int stringId) { return call(services.loadString, stringId); };
    if (id == 1628 || id == 1636) {
        control->SetHeight(CXTPDpi::ScaleY(20));
        const int icon = services.bestIconSize ? services.bestIconSize(20) : 16;
        control->SetIconSize(CSize(icon, icon));
        control->SetStyle(xtpButtonIconAndCaption);
    } else if (id == 1251) {
        control->SetFlags(control->GetFlags() | xtpFlagManualUpdate);
    } else if (id == 1254) {
        control->SetStyle(xtpButtonIconAndCaption);
        control->SetCaption(GetStrWithoutCommandLetters(control->GetCaption().GetString()).c_str());
        control->SetTooltip(GetStrWithoutCommandLetters(load(43107)).c_str());
    } else if (id == 1416) {
        const std::wstring text =
            services.translate ? services.translate("panels.ribbon.enableclipplane") : std::wstring();
        control->SetCaption(text.c_str());
        control->SetTooltip(text.c_str());
    } else if (id >= 700 && id <= 749) {
        // The list of definitions may be shorter than the range of its commands.
        if (const auto index = ToolBarDefinitionIndex(id, services.toolBarTitles.size()))
            control->SetPrompt(formatWith(load(11284), services.toolBarTitles[*index]).c_str());
    } else if (id >= 17000 && id <= 32000 && services.applicationCommandText) {
        if (const auto text = services.applicationCommandText(id)) {
            control->SetDescription(text->c_str());
            control->SetTooltip(text->c_str());
            if (!text->empty()) {
                control->SetPrompt(text->c_str());
                if (!services.forToolBar)
                    control->SetCaption(text->c_str());
            }
        }
    }
    // A control made by the frame's factory (a popup, a combo box) has no text of its own yet.
    if (control->GetCaption().IsEmpty() && id > 0) {
        const std::wstring text = load(id);
        const std::size_t feed = text.find(L'\n');
        control->SetCaption((feed == std::wstring::npos ? text : text.substr(feed + 1)).c_str());
    }
    if (const auto tip = kernelTip(*control, services))
        control->SetTooltip(tip->c_str());
    FinishControlTexts(control);
}

int AnswerCreateControl(XTP_COMMANDBARS_CREATECONTROL* request, const ControlFactoryFrame& frame,
                        const CommandPopupServices& services) {
    if (request == nullptr)
        return 0;
    CXTPCommandBar* bar = request->pCommandBar;
    const int id = static_cast<int>(request->nID);
    if (request->bToolBar && bar != nullptr)
        if (Dravik::UI::AutoMenuController* autoMenu = Dravik::UI::AutoMenuController::Instance())
            if (autoMenu->HasToolBar(bar) && autoMenu->OnCreateControl(request))
                return 1;
    const bool normalBar = bar == nullptr || bar->GetType() == xtpBarTypeNormal;
    const std::wstring_view tag =
        normalBar ? Dravik::UI::XML::TagNames::ButtonPopup : Dravik::UI::XML::TagNames::Popup;
    if (CXTPControl* control = CreateCustomControl(id, tag, bar, frame)) {
        request->pControl = control;
        return 1;
    }
    if (!request->bToolBar)
        return 0;
    if (CXTPControlPopup* popup = CreateCommandPopup(frame.bars, id, services)) {
        request->pControl = popup;
        return 1;
    }
    return 0;
}
