// The walks over the ribbon's controls every other part of the ribbon builds on: tabs, groups,
// the controls of the groups and, depth first, those of their popups; the chain of popups above a
// control.
#include "ribbon/RibbonBar.h"

#include "XTToolkitPro.h"

namespace {

// Popups of popups: a deeper chain can only be one that holds itself.
constexpr size_t kMaxDepth = 32;

using PathVisitor = std::function<void(CXTPControl*, const DVRibbonBar::ControlPath&)>;

void Walk(CXTPControls* controls, const PathVisitor& visit, DVRibbonBar::ControlPath& path) {
    if (controls == nullptr || path.size() > kMaxDepth)
        return;
    for (int i = 0; i < controls->GetCount(); ++i) {
        CXTPControl* control = controls->GetAt(i);
        visit(control, path);
        if (CXTPControls* inner = DVRibbonBar::GetPopupControls(control)) {
            path.push_back(static_cast<CXTPControlPopup*>(control));
            Walk(inner, visit, path);
            path.pop_back();
        }
    }
}

// The chain of popups from `controls` down to `target`; false when it is not below them.
bool FindPath(CXTPControls* controls, const CXTPControl* target, DVRibbonBar::ControlPath& path) {
    if (controls == nullptr || path.size() > kMaxDepth)
        return false;
    for (int i = 0; i < controls->GetCount(); ++i) {
        CXTPControl* control = controls->GetAt(i);
        if (control == target)
            return true;
        if (CXTPControls* inner = DVRibbonBar::GetPopupControls(control)) {
            path.push_back(static_cast<CXTPControlPopup*>(control));
            if (FindPath(inner, target, path))
                return true;
            path.pop_back();
        }
    }
    return false;
}

} // namespace

CXTPControls* DVRibbonBar::GetPopupControls(CXTPControl* control) {
    auto* popup = DYNAMIC_DOWNCAST(CXTPControlPopup, control);
    return popup != nullptr && popup->GetCommandBar() != nullptr ? popup->GetCommandBar()->GetControls()
                                                                 : nullptr;
}

void DVRibbonBar::ForEachGroup(const std::function<void(CXTPRibbonGroup*)>& action) const {
    if (!action)
        return;
    for (int t = 0; t < GetTabCount(); ++t) {
        CXTPRibbonGroups* groups = GetTab(t)->GetGroups();
        for (int g = 0; groups != nullptr && g < groups->GetCount(); ++g)
            action(groups->GetAt(g));
    }
}

CXTPControls* DVRibbonBar::GetTabControlPopupControls() const {
    return GetControlTab() != nullptr ? GetPopupControls(GetControlTab()) : nullptr;
}

void DVRibbonBar::ForEachControlWithPath(
    const std::function<void(CXTPControl*, const ControlPath&)>& action) const {
    if (!action)
        return;
    ControlPath path;
    ForEachGroup([&](CXTPRibbonGroup* group) { Walk(group->GetControls(), action, path); });
    Walk(GetTabControlPopupControls(), action, path);
}

void DVRibbonBar::ForEachControlWithPath(
    CXTPRibbonTabPopupToolBar* popup, const std::function<void(CXTPControl*, const ControlPath&)>& action) {
    if (popup == nullptr || !action)
        return;
    ControlPath path;
    CXTPRibbonGroups* groups = popup->GetGroups();
    for (int g = 0; g < groups->GetCount(); ++g)
        Walk(groups->GetAt(g)->GetControls(), action, path);
}

void DVRibbonBar::ForEachControl(const std::function<void(CXTPControl*)>& action, bool recurse) const {
    if (!action)
        return;
    if (recurse) {
        ForEachControlWithPath([&](CXTPControl* control, const ControlPath&) { action(control); });
        return;
    }
    ForEachGroup([&](CXTPRibbonGroup* group) {
        for (CXTPControl* control : *group->GetControls())
            action(control);
    });
    if (CXTPControls* inner = GetTabControlPopupControls())
        for (CXTPControl* control : *inner)
            action(control);
}

DVRibbonBar::ControlPath DVRibbonBar::GetControlPath(const CXTPControl* control) const {
    ControlPath path;
    if (control == nullptr)
        return path;
    bool found = false;
    ForEachGroup([&](CXTPRibbonGroup* group) {
        if (!found)
            found = FindPath(group->GetControls(), control, path);
    });
    if (!found)
        found = FindPath(GetQuickAccessControls(), control, path);
    if (!found)
        found = FindPath(GetTabControlPopupControls(), control, path);
    if (!found)
        path.clear();
    return path;
}
