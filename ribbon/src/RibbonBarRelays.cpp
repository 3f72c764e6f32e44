// What the frame relays to its ribbon: the system panel's parameter controls copied in the
// ribbon, their values, and the look-ups of tabs and values.
#include "ribbon/RibbonBar.h"

#include "DravikUI/ToolBars.h"
#include "XTToolkitPro.h"

namespace {

// Popups of popups: a deeper chain can only be one that holds itself.
constexpr int kMaxDepth = 32;

void Visit(CXTPControls* controls, const std::function<void(CXTPControl*)>& action, bool recurse, int depth) {
    if (controls == nullptr || depth > kMaxDepth)
        return;
    for (int i = 0; i < controls->GetCount(); ++i) {
        CXTPControl* control = controls->GetAt(i);
        action(control);
        if (!recurse)
            continue;
        if (auto* popup = DYNAMIC_DOWNCAST(CXTPControlPopup, control);
            popup != nullptr && popup->GetCommandBar())
            Visit(popup->GetCommandBar()->GetControls(), action, recurse, depth + 1);
    }
}

// The ids of the copies of the system panel's controls in the ribbon.
bool IsSystemPanelId(int id) {
    return id >= 904 && id <= 999;
}

} // namespace

void DVRibbonBar::ForEachGroup(const std::function<void(CXTPRibbonGroup*)>& action) const {
    for (int t = 0; t < GetTabCount(); ++t) {
        CXTPRibbonGroups* groups = GetTab(t)->GetGroups();
        for (int g = 0; groups != nullptr && g < groups->GetCount(); ++g)
            action(groups->GetAt(g));
    }
}

void DVRibbonBar::ForEachControl(const std::function<void(CXTPControl*)>& action, bool recurse) const {
    ForEachGroup([&](CXTPRibbonGroup* group) { Visit(group->GetControls(), action, recurse, 0); });
    Visit(GetControls(), action, recurse, 0);
}

void DVRibbonBar::DisableSystemPanelControls() {
    ForEachControl(
        [](CXTPControl* control) {
            if (!IsSystemPanelId(control->GetID()) || control->GetID() == 912)
                return;
            if (auto* exchange = dynamic_cast<IDataExchange*>(control))
                exchange->Reset();
            control->SetEnabled(FALSE);
        },
        true);
}

void DVRibbonBar::EnableControl(int id, bool enable) {
    ForEachControl(
        [&](CXTPControl* control) {
            if (control->GetID() == id)
                control->SetEnabled(enable);
        },
        true);
}

void DVRibbonBar::SetControlState(int id, bool enabled, bool ticked) {
    ForEachControl(
        [&](CXTPControl* control) {
            if (control->GetID() != id)
                return;
            control->SetEnabled(enabled);
            control->SetChecked(ticked);
        },
        true);
}

void DVRibbonBar::SetValue(Dravik::DVDocument* document, int id, const SysPanelValue& value) {
    ForEachControl(
        [&](CXTPControl* control) {
            if (control->GetID() != id)
                return;
            if (auto* exchange = dynamic_cast<IDataExchange*>(control))
                exchange->SetValue(document, value);
        },
        true);
}

void DVRibbonBar::SetControlDoubleVar(Dravik::DVDocument* document, int id, double value, std::int32_t code) {
    SysPanelValue record;
    record.Real = value;
    record.Variable = code;
    SetValue(document, id, record);
}

void DVRibbonBar::SetControlInt(Dravik::DVDocument* document, int id, std::int32_t value) {
    SysPanelValue record;
    record.Integer = value;
    SetValue(document, id, record);
}

void DVRibbonBar::SetControlIntVar(Dravik::DVDocument* document, int id, int value, std::int32_t code) {
    SetControlDoubleVar(document, id, value, code);
}

void DVRibbonBar::SetControlValue(Dravik::DVDocument* document, int id, const std::wstring& text) {
    SysPanelValue record;
    record.Text = text;
    SetValue(document, id, record);
}

void DVRibbonBar::PopulateControlData(CXTPControl* source) {
    const auto* value = dynamic_cast<IDataExchange*>(source);
    if (value == nullptr)
        return;
    ForEachControl(
        [&](CXTPControl* control) {
            if (control != source && control->GetID() == source->GetID())
                if (auto* copy = dynamic_cast<IDataExchange*>(control))
                    copy->CopyValueFrom(*value);
        },
        true);
}

const SysPanelValue* DVRibbonBar::GetControlData(CXTPRibbonBar* ribbon, int id) {
    auto* self = DYNAMIC_DOWNCAST(DVRibbonBar, ribbon);
    if (self == nullptr)
        return nullptr;
    auto valueOf = [id](CXTPControl* control) -> IDataExchange* {
        return control->GetID() == id ? dynamic_cast<IDataExchange*>(control) : nullptr;
    };
    IDataExchange* found = nullptr;
    if (CXTPRibbonTab* tab = self->GetSelectedTab()) {
        CXTPRibbonGroups* groups = tab->GetGroups();
        for (int g = 0; found == nullptr && groups != nullptr && g < groups->GetCount(); ++g)
            if (groups->GetAt(g)->IsVisible())
                Visit(
                    groups->GetAt(g)->GetControls(),
                    [&](CXTPControl* control) {
                        if (found == nullptr)
                            found = valueOf(control);
                    },
                    true, 0);
    }
    if (found == nullptr)
        self->ForEachControl(
            [&](CXTPControl* control) {
                if (found == nullptr)
                    found = valueOf(control);
            },
            true);
    return found != nullptr ? found->GetValue() : nullptr;
}

Dravik::UI::RibbonTab* DVRibbonBar::FindTabByGuid(CXTPRibbonBar* ribbon, const GUID& guid) {
    if (ribbon == nullptr)
        return nullptr;
    for (int t = 0; t < ribbon->GetTabCount(); ++t)
        if (auto* tab = dynamic_cast<Dravik::UI::RibbonTab*>(ribbon->GetTab(t));
            tab != nullptr && tab->HasGUID(guid))
            return tab;
    return nullptr;
}
