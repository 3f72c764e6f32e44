// What the frame relays to its ribbon: the system panel's parameter controls copied in the
// ribbon, their values, and the look-ups of tabs and values.
#include "ribbon/RibbonBar.h"

#include "DravikUI/CommandBarHelpers.h"
#include "DravikUI/ToolBars.h"
#include "XTToolkitPro.h"

namespace {

// The ids of the copies of the system panel's controls in the ribbon; the coordinate-system
// control (912) keeps its state when a command ends.
bool IsSystemPanelId(int id) {
    return id >= 904 && id <= 999 && id != 912;
}

// The kernel sets these controls' states itself: the idle update leaves them alone from now on.
void KeepStateByHand(CXTPControl* control) {
    control->SetFlags(control->GetFlags() | xtpFlagManualUpdate);
}

// However many copies a request changes, the ribbon is redrawn once, also when a copy throws.
class RedrawLock {
public:
    explicit RedrawLock(CXTPCommandBar* bar) : m_bar(bar) { Dravik::UI::LockRedraw(bar); }
    ~RedrawLock() { Dravik::UI::UnlockRedraw(m_bar); }
    RedrawLock(const RedrawLock&) = delete;
    RedrawLock& operator=(const RedrawLock&) = delete;

private:
    CXTPCommandBar* m_bar;
};

} // namespace

void DVRibbonBar::ForEachCopy(int id, const std::function<void(CXTPControl*)>& action) {
    const RedrawLock lock(this);
    ForEachControl(
        [&](CXTPControl* control) {
            if (control->GetID() == id)
                action(control);
        },
        true);
}

void DVRibbonBar::DisableSystemPanelControls() {
    const RedrawLock lock(this);
    ForEachControl(
        [](CXTPControl* control) {
            if (!IsSystemPanelId(control->GetID()))
                return;
            if (auto* exchange = dynamic_cast<IDataExchange*>(control))
                exchange->Reset();
            control->SetEnabled(FALSE);
        },
        true);
}

void DVRibbonBar::EnableControl(int id, bool enable) {
    ForEachCopy(id, [&](CXTPControl* control) {
        KeepStateByHand(control);
        control->SetEnabled(enable);
    });
}

void DVRibbonBar::SetControlState(int id, bool enabled, bool ticked) {
    ForEachCopy(id, [&](CXTPControl* control) {
        KeepStateByHand(control);
        control->SetChecked(ticked);
        control->SetEnabled(enabled);
    });
}

void DVRibbonBar::SetValue(Dravik::DVDocument* document, int id, const SysPanelValue& value) {
    ForEachCopy(id, [&](CXTPControl* control) {
        if (auto* exchange = dynamic_cast<IDataExchange*>(control))
            exchange->SetValue(document, value);
        control->SetEnabled(TRUE);
    });
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
    // The selected tab's visible groups first, the first group that holds the id deciding.
    CXTPControl* control = nullptr;
    if (CXTPRibbonTab* tab = self->GetSelectedTab()) {
        CXTPRibbonGroups* groups = tab->GetGroups();
        for (int g = 0; control == nullptr && groups != nullptr && g < groups->GetCount(); ++g)
            if (groups->GetAt(g)->IsVisible())
                control = groups->GetAt(g)->GetControls()->FindControl(xtpControlError, id, FALSE, TRUE);
    }
    if (control == nullptr)
        self->ForEachControl(
            [&](CXTPControl* each) {
                if (control == nullptr && each->GetID() == id)
                    control = each;
            },
            true);
    auto* found = dynamic_cast<IDataExchange*>(control);
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
