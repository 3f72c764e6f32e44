// A person's definition over the program's default one. The person's definition is the truth
// for what it holds: controls added, removed or moved, tabs and groups hidden. The default adds
// only what the person's definition cannot have known: items that shipped ("since") with a later
// program version than the one that wrote the person's definition.
#include "DravikUI/XMLDefinitions.h"

#include <algorithm>

namespace Dravik::UI::XML {
namespace {

bool isNewer(const VersionNumber& since, const VersionNumber& personVersion) {
    return !personVersion.isZero() && since > personVersion;
}

// Each default item that the person's list lacks and that is newer than the person's definition
// goes in after the nearest item before it (in the default's order) that the person's list has;
// at the front when there is none.
template <typename Item, typename Same>
void addNewerItems(std::vector<Item>& person, const std::vector<Item>& defaults,
                   const VersionNumber& personVersion, Same same) {
    for (std::size_t i = 0; i < defaults.size(); ++i) {
        const Item& item = defaults[i];
        const auto has = [&](const Item& candidate) {
            return std::any_of(person.begin(), person.end(),
                               [&](const Item& p) { return same(p, candidate); });
        };
        if (has(item) || !isNewer(item.since, personVersion))
            continue;
        auto at = person.begin();
        for (std::size_t j = i; j-- > 0;) {
            const auto found = std::find_if(person.begin(), person.end(),
                                            [&](const Item& p) { return same(p, defaults[j]); });
            if (found != person.end()) {
                at = found + 1;
                break;
            }
        }
        person.insert(at, item);
    }
}

// Controls are the same by id and kind; popups without id (the menus of a menu bar) by caption.
bool sameControl(const Control& a, const Control& b) {
    if (a.tag != b.tag)
        return false;
    if (a.id != 0 || b.id != 0)
        return a.id == b.id;
    return a.isPopup() && !a.caption.empty() && a.caption == b.caption;
}

void mergeControls(std::vector<Control>& person, const std::vector<Control>& defaults,
                   const VersionNumber& personVersion) {
    for (Control& control : person) {
        if (!control.isPopup())
            continue;
        const auto source = std::find_if(defaults.begin(), defaults.end(),
                                         [&](const Control& d) { return sameControl(control, d); });
        if (source != defaults.end())
            mergeControls(control.controls, source->controls, personVersion);
    }
    addNewerItems(person, defaults, personVersion, sameControl);
}

bool sameGuid(const std::wstring& a, const std::wstring& b) {
    return !a.empty() && a == b;
}

} // namespace

void ToolBar::merge(const ToolBar& defaults) {
    if (caption.empty())
        caption = defaults.caption;
    if (guid.empty())
        guid = defaults.guid;
    if (controls.empty()) {
        controls = defaults.controls;
        return;
    }
    mergeControls(controls, defaults.controls, version);
}

void RibbonGroup::merge(const RibbonGroup& defaults, const VersionNumber& personVersion) {
    if (!hasControls) {
        controls = defaults.controls;
        return;
    }
    mergeControls(controls, defaults.controls, personVersion);
}

void RibbonTab::merge(const RibbonTab& defaults, const VersionNumber& personVersion) {
    for (RibbonGroup& group : groups)
        if (const RibbonGroup* source = defaults.findGroup(group.guid))
            group.merge(*source, personVersion);
    addNewerItems(groups, defaults.groups, personVersion,
                  [](const RibbonGroup& a, const RibbonGroup& b) { return sameGuid(a.guid, b.guid); });
}

void RibbonBar::merge(const RibbonBar& defaults) {
    tabDefinitions = defaults.tabDefinitions;
    groupDefinitions = defaults.groupDefinitions;
    for (RibbonTab& tab : tabs) {
        if (const RibbonTab* source = defaults.findTab(tab.guid)) {
            tab.merge(*source, version);
            continue;
        }
        // A tab of the person's own may still name default groups by GUID alone.
        for (RibbonGroup& group : tab.groups)
            if (!group.hasControls && groupDefinitions)
                if (const auto found = groupDefinitions->find(group.guid); found != groupDefinitions->end())
                    group.controls = found->second.controls;
    }
    addNewerItems(tabs, defaults.tabs, version,
                  [](const RibbonTab& a, const RibbonTab& b) { return sameGuid(a.guid, b.guid); });
    if (quickAccess.empty())
        quickAccess = defaults.quickAccess;
    if (backstage.empty())
        backstage = defaults.backstage;
}

} // namespace Dravik::UI::XML
