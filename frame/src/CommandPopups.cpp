#include "frame/CommandPopups.h"

#include "frame/CommandBars.h"
#include "frame/ControlTable.h"

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
    control->SetTooltip(GetStrWithoutCommandLetters(control->GetTooltip().GetString()).c_str());
}
