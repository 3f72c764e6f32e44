#include "DravikUI/Ribbon.h"

#include "DravikUI/XMLDefinitions.h"

#include "xtp/PopupBar.h"

#include <algorithm>
#include <cwctype>

IMPLEMENT_DYNCREATE(Dravik::UI::RibbonGroup, CXTPRibbonGroup)
IMPLEMENT_DYNCREATE(Dravik::UI::RibbonBar, CXTPRibbonBar)

namespace Dravik::UI {
namespace {

bool equalNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(x) == std::towlower(y);
           });
}

// The group that holds a control directly, when it is one of the library's.
RibbonGroup* groupOf(const CXTPControl* control) {
    if (control == nullptr)
        return nullptr;
    auto* ribbon = dynamic_cast<CXTPRibbonBar*>(control->GetParent());
    if (ribbon == nullptr)
        return nullptr;
    for (int t = 0; t < ribbon->GetTabCount(); ++t) {
        CXTPRibbonGroups* groups = ribbon->GetTab(t)->GetGroups();
        for (int g = 0; g < groups->GetCount(); ++g)
            if (groups->GetAt(g)->GetControls() == control->GetControls())
                return dynamic_cast<RibbonGroup*>(groups->GetAt(g));
    }
    return nullptr;
}

// An item of a group's context menu that shows or hides one optional control.
class OptionalItem : public CXTPControlButton {
public:
    explicit OptionalItem(CXTPControl* control) : control_(control) {}
    void OnExecute() override {
        MakeControlOptional(control_, !IsOptionalControl(control_), true);
        if (CXTPCommandBars* bars = GetCommandBars())
            bars->ClosePopups();
    }

private:
    CXTPControl* control_;
};

} // namespace

bool RibbonTab::HasGUID(const GUID& guid) const {
    return HasGUID(pal::com::guidToString(guid));
}

bool RibbonTab::HasGUID(std::wstring_view guid) const {
    const auto normal = XML::NormalizeGuid(guid);
    return normal && std::find(guids_.begin(), guids_.end(), *normal) != guids_.end();
}

GUID RibbonTab::GetGUID() const {
    GUID guid{};
    if (!guids_.empty())
        CLSIDFromString(guids_.front().c_str(), &guid);
    return guid;
}

bool RibbonTab::HasTag(std::wstring_view tag) const {
    return std::any_of(tags_.begin(), tags_.end(),
                       [&](const std::wstring& t) { return equalNoCase(t, tag); });
}

void RibbonTab::SetDisabledByUser(bool disabled) {
    disabledByUser_ = disabled;
    SetVisible(!disabled);
}

void RibbonTab::Copy(const CXTPRibbonTab* pSource) {
    CXTPRibbonTab::Copy(pSource);
    if (const auto* other = dynamic_cast<const RibbonTab*>(pSource); other != nullptr && other != this) {
        guids_ = other->guids_;
        tags_ = other->tags_;
        disabledByUser_ = other->disabledByUser_;
    }
}

void RibbonGroup::Copy(const CXTPRibbonGroup* pSource) {
    CXTPRibbonGroup::Copy(pSource);
    const auto* other = dynamic_cast<const RibbonGroup*>(pSource);
    if (other == nullptr || other == this)
        return;
    guid_ = other->guid_;
    code_ = other->code_;
    viewTypes_ = other->viewTypes_;
    analysisId_ = other->analysisId_;
    disabledByUser_ = other->disabledByUser_;
    optional_.clear();
    for (const CXTPControl* control : other->optional_)
        if (CXTPControl* copy = GetAt(other->IndexOf(control)))
            optional_.push_back(copy);
}

void RibbonGroup::SetDisabledByUser(bool disabled) {
    disabledByUser_ = disabled;
    SetVisible(!disabled);
}

bool RibbonGroup::IsOptional(const CXTPControl* control) const {
    return control != nullptr && IndexOf(control) >= 0 &&
           std::find(optional_.begin(), optional_.end(), control) != optional_.end();
}

void RibbonGroup::SetOptional(CXTPControl* control, bool optional) {
    if (control == nullptr || IndexOf(control) < 0)
        return;
    // Controls that left the group are forgotten on the way.
    std::erase_if(optional_, [&](const CXTPControl* c) { return c == control || IndexOf(c) < 0; });
    if (optional)
        optional_.push_back(control);
    control->SetVisible(!optional);
    UpdateOptionButton();
}

void RibbonGroup::UpdateOptionButton() {
    const bool hidden = std::any_of(optional_.begin(), optional_.end(),
                                    [&](const CXTPControl* c) { return IndexOf(c) >= 0; });
    ShowOptionButton(hidden);
}

void RibbonGroup::GetContextMenu(CXTPPopupBar* popup) {
    if (popup == nullptr)
        return;
    bool first = true;
    for (int i = 0; i < GetCount(); ++i) {
        CXTPControl* control = GetAt(i);
        if (!CanBeOptional(control))
            continue;
        CXTPControl* item =
            popup->GetControls()->Add(new OptionalItem(control), control->GetID(), L"", -1, TRUE);
        item->SetCaption(control->GetCaption());
        item->SetChecked(!IsOptional(control));
        item->SetFlags(item->GetFlags() | xtpFlagManualUpdate);
        item->SetBeginGroup(first && popup->GetControlCount() > 1);
        first = false;
    }
}

bool CanBeOptional(const CXTPControl* control) {
    return control != nullptr && control->GetID() > 0 && groupOf(control) != nullptr;
}

bool IsOptionalControl(const CXTPControl* control) {
    const RibbonGroup* group = groupOf(control);
    return group != nullptr && group->IsOptional(control);
}

void MakeControlOptional(CXTPControl* control, bool optional, bool updateLayout) {
    RibbonGroup* group = groupOf(control);
    if (group == nullptr || control->GetID() <= 0)
        return;
    group->SetOptional(control, optional);
    if (updateLayout)
        if (CXTPRibbonBar* ribbon = group->GetRibbonBar())
            ribbon->RecalcLayout();
}

void RemoveControl(CXTPControl* control) {
    if (control == nullptr)
        return;
    if (RibbonGroup* group = groupOf(control))
        group->SetOptional(control, false);
    if (CXTPControls* controls = control->GetControls())
        controls->Remove(control);
}

} // namespace Dravik::UI
