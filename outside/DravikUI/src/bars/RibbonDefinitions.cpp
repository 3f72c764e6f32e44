// Ribbon definitions applied onto a live ribbon, and a live ribbon saved as definitions.
#include "ControlDefinitions.h"

#include "DravikUI/Ribbon.h"
#include "DravikUI/XML.h"
#include "DravikUI/XMLDefinitions.h"

#include "DVDiagnostics/DVLog.h"
#include "pal/text.h"
#include "xtp/RibbonBackstageView.h"
#include "xtp/RibbonBar.h"

namespace Dravik::UI::XML {
namespace {

detail::ControlAdder adderOf(CXTPRibbonGroup* group) {
    return [group](XTPControlType type, int id, CXTPControl* made) {
        return made != nullptr ? group->Add(made, id) : group->Add(type, id);
    };
}

detail::ControlAdder adderOf(CXTPControls* controls) {
    return [controls](XTPControlType type, int id, CXTPControl* made) {
        return made != nullptr ? controls->Add(made, id) : controls->Add(type, id);
    };
}

// The backstage's menu, in place of what it held. A tab whose page the application does not
// know is left out, and so is a command it does not know.
void applyBackstage(const std::vector<BackstageItem>& items, CXTPRibbonBackstageView* view,
                    const RibbonBarApplicationParameters& parameters) {
    if (view == nullptr || items.empty())
        return;
    view->GetControls()->RemoveAll();
    for (const BackstageItem& item : items) {
        CXTPControl* made = nullptr;
        if (item.tag == TagNames::BackstageCommand) {
            if (parameters.isKnownCommand && !parameters.isKnownCommand(item.id)) {
                DVLog_Write(DVLogWarning, "The backstage command %d is no command of the program", item.id);
                continue;
            }
            made = view->AddCommand(static_cast<UINT>(item.id), item.caption.c_str());
        } else if (CWnd* page =
                       parameters.createBackstagePage ? parameters.createBackstagePage(item) : nullptr) {
            // A tab shows a page, always there to be shown: no command's update decides it.
            made = view->AddTab(page, static_cast<UINT>(item.id), item.caption.c_str());
            made->SetFlags(made->GetFlags() | xtpFlagManualUpdate);
        } else {
            DVLog_Write(DVLogWarning,
                        "The backstage tab %d names the page \"%s\", which the program does not have",
                        item.id, pal::text::toUtf8(item.state).c_str());
            continue;
        }
        made->SetBeginGroup(item.beginGroup);
    }
}

std::vector<BackstageItem> saveBackstage(CXTPRibbonBackstageView* view, const SavingParameters& parameters) {
    std::vector<BackstageItem> items;
    if (view == nullptr)
        return items;
    for (CXTPControl* control : *view->GetControls()) {
        BackstageItem item;
        item.id = control->GetID();
        item.caption = control->GetCaption().GetString();
        item.beginGroup = control->GetBeginGroup() != FALSE;
        if (dynamic_cast<CXTPRibbonBackstageTab*>(control) != nullptr) {
            item.tag = TagNames::BackstageTab;
            item.state = parameters.controlStateName ? parameters.controlStateName(control) : std::wstring();
            if (item.state.empty())
                continue;
        } else {
            item.tag = TagNames::BackstageCommand;
        }
        items.push_back(std::move(item));
    }
    return items;
}

} // namespace

void RibbonGroup::apply(CXTPRibbonGroup* group, const RibbonBarApplicationParameters& parameters) const {
    if (group == nullptr)
        return;
    group->RemoveAll();
    group->SetCaption(caption.c_str());
    group->SetID(id);
    auto* own = dynamic_cast<UI::RibbonGroup*>(group);
    if (own != nullptr) {
        own->SetGUIDText(guid);
        own->SetCode(code);
        own->SetDisabledByUser(disabledByUser);
    }
    const detail::ControlAdder add = adderOf(group);
    for (const Control& definition : controls) {
        CXTPControl* control = detail::applyControl(definition, add, group->GetRibbonBar(), parameters);
        if (control != nullptr && definition.optional)
            MakeControlOptional(control, true, false);
    }
    if (own != nullptr)
        own->UpdateOptionButton();
}

void RibbonGroup::save(CXTPRibbonGroup* group, const SavingParameters& parameters) {
    *this = RibbonGroup{};
    if (group == nullptr)
        return;
    caption = group->GetCaption().GetString();
    id = group->GetID();
    if (const auto* own = dynamic_cast<const UI::RibbonGroup*>(group)) {
        guid = own->GetGUIDText();
        code = own->GetCode();
        disabledByUser = own->IsDisabledByUser();
    }
    controls = detail::saveControls(group->GetControls(), parameters);
    for (int i = 0; i < group->GetCount() && i < static_cast<int>(controls.size()); ++i)
        if (IsOptionalControl(group->GetAt(i))) {
            controls[static_cast<std::size_t>(i)].optional = true;
            controls[static_cast<std::size_t>(i)].visible = true;
        }
    hasControls = !controls.empty();
}

void RibbonTab::apply(CXTPRibbonTab* tab, const RibbonBarApplicationParameters& parameters) const {
    if (tab == nullptr)
        return;
    tab->SetCaption(caption.c_str());
    tab->SetKeyboardTip(keyTip.c_str());
    if (auto* own = dynamic_cast<UI::RibbonTab*>(tab)) {
        own->SetGUIDs(guid.empty() ? std::vector<std::wstring>() : std::vector<std::wstring>{guid});
        own->SetTags(tags);
        own->SetDisabledByUser(disabledByUser);
    }
    tab->GetGroups()->RemoveAll();
    for (const RibbonGroup& group : groups)
        group.apply(tab->AddGroup(group.caption.c_str()), parameters);
}

CXTPRibbonTab* RibbonTab::applyTo(CXTPRibbonBar* ribbon, const RibbonBarApplicationParameters& parameters,
                                  int index) const {
    if (ribbon == nullptr)
        return nullptr;
    if (index < 0 || index > ribbon->GetTabCount())
        index = ribbon->GetTabCount();
    CXTPRibbonTab* tab = ribbon->InsertTab(index, caption.c_str());
    apply(tab, parameters);
    return tab;
}

void RibbonTab::save(CXTPRibbonTab* tab, const SavingParameters& parameters) {
    *this = RibbonTab{};
    if (tab == nullptr)
        return;
    caption = tab->GetCaption().GetString();
    keyTip = tab->GetKeyboardTip().GetString();
    if (const auto* own = dynamic_cast<const UI::RibbonTab*>(tab)) {
        if (own->HasGUID())
            guid = own->GetGUIDs().front();
        tags = own->GetTags();
        disabledByUser = own->IsDisabledByUser();
    }
    CXTPRibbonGroups* live = tab->GetGroups();
    for (int g = 0; g < live->GetCount(); ++g) {
        RibbonGroup group;
        group.save(live->GetAt(g), parameters);
        groups.push_back(std::move(group));
    }
}

void RibbonBar::apply(CXTPRibbonBar* ribbon, const RibbonBarApplicationParameters& parameters) const {
    if (ribbon == nullptr)
        return;
    ribbon->RemoveAllTabs();
    for (const RibbonTab& tab : tabs)
        tab.applyTo(ribbon, parameters, -1);
    CXTPControls* access = ribbon->GetQuickAccessControls();
    access->RemoveAll();
    const detail::ControlAdder add = adderOf(access);
    for (const Control& definition : quickAccess)
        detail::applyControl(definition, add, ribbon, parameters);
    applyBackstage(backstage, ribbon->GetBackstageView(), parameters);
    ribbon->DelayLayout();
}

void RibbonBar::save(CXTPRibbonBar* ribbon, const VersionNumber& savedVersion,
                     const SavingParameters& parameters) {
    *this = RibbonBar{};
    version = savedVersion;
    if (ribbon == nullptr)
        return;
    for (int t = 0; t < ribbon->GetTabCount(); ++t) {
        RibbonTab tab;
        tab.save(ribbon->GetTab(t), parameters);
        tabs.push_back(std::move(tab));
    }
    quickAccess = detail::saveControls(ribbon->GetQuickAccessControls(), parameters);
    backstage = saveBackstage(ribbon->GetBackstageView(), parameters);
}

void SaveRibbonBar(CXTPRibbonBar* ribbon, Node element, const SavingParameters& parameters) {
    RibbonBar definition;
    definition.save(ribbon, FormatVersion, parameters);
    definition.store(element);
}

void SaveRibbonTab(CXTPRibbonTab* tab, Node element, const SavingParameters& parameters) {
    RibbonTab definition;
    definition.save(tab, parameters);
    element.setAttribute(AttributeNames::VersionNumber, FormatVersion.toString());
    definition.store(element);
}

} // namespace Dravik::UI::XML
