// Reading and writing the definitions of tool bars and of the ribbon.
#include "DravikUI/XML.h"
#include "DravikUI/XMLDefinitions.h"

#include "NodeText.h"

#include "DVDiagnostics/DVLog.h"
#include "pal/text.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <set>

namespace Dravik::UI::XML {
namespace {

using namespace dvui::xml;
namespace A = AttributeNames;

constexpr std::array<std::wstring_view, 10> kControlTags = {
    TagNames::Button,  TagNames::Popup,    TagNames::ButtonPopup, TagNames::SplitButtonPopup,
    TagNames::Gallery, TagNames::Edit,     TagNames::ComboBox,    TagNames::CheckBox,
    TagNames::Label,   TagNames::Separator};

// Attributes that a control's own fields hold; everything else is an extra attribute.
constexpr std::array<std::wstring_view, 15> kControlAttributes = {
    A::Id,         A::Caption,  A::Description, A::ToolTip, A::KeyTip,   A::Style,    A::State, A::Icon,
    A::BeginGroup, A::Optional, A::Visible,     A::Since,   A::PopupBar, A::Editions, A::Modes};

bool isControlTag(std::wstring_view tag) {
    return std::find(kControlTags.begin(), kControlTags.end(), tag) != kControlTags.end();
}

bool isPopupTag(std::wstring_view tag) {
    return tag == TagNames::Popup || tag == TagNames::ButtonPopup || tag == TagNames::SplitButtonPopup ||
           tag == TagNames::Gallery;
}

std::wstring text(const Node& node, std::wstring_view name) {
    return node.attribute(name).value_or(std::wstring());
}

bool flag(const Node& node, std::wstring_view name, bool fallback) {
    const auto value = node.attribute(name);
    return value ? StringToBool(*value, fallback) : fallback;
}

std::optional<int> integer(const Node& node, std::wstring_view name, const char* what) {
    const auto value = node.attribute(name);
    if (!value)
        return std::nullopt;
    const auto parsed = parseInt(*value);
    if (!parsed)
        logSkipped(node, what);
    return parsed;
}

VersionNumber since(const Node& node) {
    const auto value = node.attribute(A::Since);
    if (!value)
        return {};
    const auto parsed = VersionNumber::fromString(*value);
    if (!parsed)
        logSkipped(node, "the \"since\" version is not a version; ignored");
    return parsed.value_or(VersionNumber{});
}

// The element's own version when it has a readable one. A version of a later major than this
// library writes cannot be read: nothing.
std::optional<VersionNumber> versionOf(const Node& node, const VersionNumber& fallback) {
    const auto value = node.attribute(A::VersionNumber);
    if (!value)
        return fallback;
    const auto parsed = VersionNumber::fromString(*value);
    if (!parsed) {
        logSkipped(node, "the version is not a version; the enclosing one is used");
        return fallback;
    }
    if (parsed->major() > FormatVersion.major()) {
        logSkipped(node, "written by a later format version");
        return std::nullopt;
    }
    return parsed;
}

std::optional<std::wstring> guidOf(const Node& node) {
    const auto value = node.attribute(A::Guid);
    if (!value)
        return std::wstring();
    const auto guid = NormalizeGuid(*value);
    if (!guid)
        logSkipped(node, "the GUID is not a GUID");
    return guid;
}

void setIf(Node node, std::wstring_view name, const std::wstring& value) {
    if (!value.empty())
        node.setAttribute(name, value);
}

void setVersionIf(Node node, std::wstring_view name, const VersionNumber& version) {
    if (!version.isZero())
        node.setAttribute(name, version.toString());
}

// Separators fold into the control after them.
void foldSeparators(std::vector<Control>& controls) {
    std::vector<Control> folded;
    bool group = false;
    for (Control& control : controls) {
        if (control.tag == TagNames::Separator) {
            group = true;
            continue;
        }
        control.beginGroup = control.beginGroup || group;
        group = false;
        folded.push_back(std::move(control));
    }
    controls = std::move(folded);
}

std::optional<Control> loadControl(const Node& element, int depth);

void loadControls(const Node& parent, std::vector<Control>& controls, int depth) {
    for (Node child = parent.firstChild(); child; child = child.nextSibling()) {
        if (auto control = loadControl(child, depth))
            controls.push_back(std::move(*control));
    }
}

std::optional<Control> loadControl(const Node& element, int depth) {
    const std::wstring tag = element.name();
    if (!isControlTag(tag)) {
        logSkipped(element, "not a control");
        return std::nullopt;
    }
    if (!IsApplicable(element))
        return std::nullopt;
    if (depth > kMaxNesting) {
        logSkipped(element, "popups nested too deeply");
        return std::nullopt;
    }
    Control control;
    control.tag = tag;
    if (tag == TagNames::Separator) {
        // A separator makes the next control begin a group; it is kept only in that form.
        control.beginGroup = true;
        return control;
    }
    const auto id = element.attribute(A::Id);
    if (!id) {
        logSkipped(element, "no id");
        return std::nullopt;
    }
    const auto parsedId = parseInt(*id);
    if (!parsedId) {
        logSkipped(element, "the id is not a number");
        return std::nullopt;
    }
    control.id = *parsedId;
    control.caption = text(element, A::Caption);
    control.description = text(element, A::Description);
    control.toolTip = text(element, A::ToolTip);
    control.keyTip = text(element, A::KeyTip);
    control.style = text(element, A::Style);
    control.state = text(element, A::State);
    control.iconId = integer(element, A::Icon, "the icon is not a number; ignored").value_or(-1);
    control.beginGroup = flag(element, A::BeginGroup, false);
    control.optional = flag(element, A::Optional, false);
    control.visible = flag(element, A::Visible, true);
    control.since = since(element);
    control.popupBar = integer(element, A::PopupBar, "the popup bar is not a number; ignored").value_or(0);
    control.editions = text(element, A::Editions);
    control.modes = text(element, A::Modes);
    for (auto& [name, value] : element.attributes()) {
        // A repeated attribute counts once, as every reader of the element sees only the first.
        if (std::find(kControlAttributes.begin(), kControlAttributes.end(), name) ==
                kControlAttributes.end() &&
            !control.findExtra(name))
            control.extra.push_back({std::move(name), std::move(value)});
    }
    if (isPopupTag(tag)) {
        loadControls(element, control.controls, depth + 1);
        foldSeparators(control.controls);
    } else if (element.firstChild()) {
        logSkipped(element, "a control that is no popup holds controls; they are ignored");
    }
    return control;
}

void storeControl(Node parent, const Control& control) {
    Node element = parent.appendChild(control.tag);
    element.setAttribute(A::Id, std::to_wstring(control.id));
    setIf(element, A::Caption, control.caption);
    setIf(element, A::Description, control.description);
    setIf(element, A::ToolTip, control.toolTip);
    setIf(element, A::KeyTip, control.keyTip);
    setIf(element, A::Style, control.style);
    setIf(element, A::State, control.state);
    if (control.iconId != -1)
        element.setAttribute(A::Icon, std::to_wstring(control.iconId));
    if (control.beginGroup)
        element.setAttribute(A::BeginGroup, L"true");
    if (control.optional)
        element.setAttribute(A::Optional, L"true");
    if (!control.visible)
        element.setAttribute(A::Visible, L"false");
    setVersionIf(element, A::Since, control.since);
    if (control.popupBar != 0)
        element.setAttribute(A::PopupBar, std::to_wstring(control.popupBar));
    setIf(element, A::Editions, control.editions);
    setIf(element, A::Modes, control.modes);
    for (const ExtraAttribute& extra : control.extra)
        element.setAttribute(extra.name, extra.value);
    for (const Control& child : control.controls)
        storeControl(element, child);
}

void storeControls(Node parent, const std::vector<Control>& controls) {
    for (const Control& control : controls)
        storeControl(parent, control);
}

bool equalNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(x) == std::towlower(y);
           });
}

} // namespace

bool Control::isPopup() const {
    return isPopupTag(tag);
}

const std::wstring* Control::findExtra(std::wstring_view name) const {
    for (const ExtraAttribute& a : extra)
        if (a.name == name)
            return &a.value;
    return nullptr;
}

std::optional<std::wstring> NormalizeGuid(std::wstring_view text) {
    if (text.size() == 36)
        return NormalizeGuid(L"{" + std::wstring(text) + L"}");
    if (text.size() != 38 || text.front() != L'{' || text.back() != L'}')
        return std::nullopt;
    std::wstring guid(text);
    for (std::size_t i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? guid[i] != L'-' : !std::iswxdigit(guid[i]))
            return std::nullopt;
        guid[i] = static_cast<wchar_t>(std::towupper(guid[i]));
    }
    return guid;
}

// ---- tool bars ----

bool ToolBar::load(const Node& element, const VersionNumber& enclosing, bool menuBar) {
    const auto ownVersion = versionOf(element, enclosing);
    if (!ownVersion)
        return false;
    *this = ToolBar{};
    version = *ownVersion;
    const auto ownId = element.attribute(A::Id);
    if (ownId) {
        const auto parsed = parseInt(*ownId);
        if (!parsed) {
            logSkipped(element, "the id is not a number");
            return false;
        }
        id = *parsed;
    } else if (!menuBar) {
        logSkipped(element, "a tool bar without id");
        return false;
    }
    guid = guidOf(element).value_or(std::wstring());
    caption = text(element, A::Caption);
    kind = integer(element, A::Kind, "the kind is not a number; ignored").value_or(0);
    visible = flag(element, A::Visible, true);
    editions = text(element, A::Editions);
    modes = text(element, A::Modes);
    loadControls(element, controls, 1);
    foldSeparators(controls);
    return true;
}

void ToolBar::store(Node element) const {
    if (id != 0)
        element.setAttribute(A::Id, std::to_wstring(id));
    setIf(element, A::Guid, guid);
    setIf(element, A::Caption, caption);
    if (kind != 0)
        element.setAttribute(A::Kind, std::to_wstring(kind));
    if (!visible)
        element.setAttribute(A::Visible, L"false");
    element.setAttribute(A::VersionNumber, version.toString());
    setIf(element, A::Editions, editions);
    setIf(element, A::Modes, modes);
    storeControls(element, controls);
}

// ---- ribbon ----

bool RibbonGroup::load(const Node& element, const VersionNumber& version) {
    *this = RibbonGroup{};
    const auto ownGuid = guidOf(element);
    guid = ownGuid.value_or(std::wstring());
    caption = text(element, A::Caption);
    if (guid.empty() && caption.empty()) {
        logSkipped(element, "a group with neither GUID nor caption");
        return false;
    }
    id = integer(element, A::Id, "the id is not a number; ignored").value_or(-1);
    code = integer(element, A::Code, "the code is not a number; ignored").value_or(0);
    keyTip = text(element, A::KeyTip);
    disabledByUser = flag(element, A::DisabledByUser, false);
    since = XML::since(element);
    editions = text(element, A::Editions);
    modes = text(element, A::Modes);
    loadControls(element, controls, 1);
    foldSeparators(controls);
    hasControls = !controls.empty();
    return true;
}

void RibbonGroup::store(Node element) const {
    setIf(element, A::Guid, guid);
    if (id != -1)
        element.setAttribute(A::Id, std::to_wstring(id));
    if (code != 0)
        element.setAttribute(A::Code, std::to_wstring(code));
    setIf(element, A::Caption, caption);
    setIf(element, A::KeyTip, keyTip);
    if (disabledByUser)
        element.setAttribute(A::DisabledByUser, L"true");
    setVersionIf(element, A::Since, since);
    setIf(element, A::Editions, editions);
    setIf(element, A::Modes, modes);
    if (hasControls)
        storeControls(element, controls);
}

bool RibbonTab::HasTag(std::wstring_view tag) const {
    return std::any_of(tags.begin(), tags.end(), [&](const std::wstring& t) { return equalNoCase(t, tag); });
}

const RibbonGroup* RibbonTab::findGroup(std::wstring_view groupGuid) const {
    if (groupGuid.empty())
        return nullptr;
    for (const RibbonGroup& group : groups)
        if (group.guid == groupGuid)
            return &group;
    return nullptr;
}

bool RibbonTab::load(const Node& element, const VersionNumber& enclosing) {
    const auto version = versionOf(element, enclosing);
    if (!version)
        return false;
    *this = RibbonTab{};
    guid = guidOf(element).value_or(std::wstring());
    caption = text(element, A::Caption);
    if (guid.empty() && caption.empty()) {
        logSkipped(element, "a tab with neither GUID nor caption");
        return false;
    }
    keyTip = text(element, A::KeyTip);
    ParseValueSet(text(element, A::Tags), [&](std::wstring_view tag, bool) { tags.emplace_back(tag); });
    disabledByUser = flag(element, A::DisabledByUser, false);
    since = XML::since(element);
    editions = text(element, A::Editions);
    modes = text(element, A::Modes);
    for (Node child = element.firstChild(); child; child = child.nextSibling()) {
        if (!isNamed(child, TagNames::RibbonGroup)) {
            logSkipped(child, "not a ribbon group");
            continue;
        }
        if (!IsApplicable(child))
            continue;
        RibbonGroup group;
        if (!group.load(child, *version))
            continue;
        if (findGroup(group.guid)) {
            logSkipped(child, "a second group with the same GUID in one tab");
            continue;
        }
        groups.push_back(std::move(group));
    }
    return true;
}

void RibbonTab::store(Node element) const {
    setIf(element, A::Guid, guid);
    setIf(element, A::Caption, caption);
    setIf(element, A::KeyTip, keyTip);
    if (!tags.empty()) {
        std::wstring joined;
        for (const std::wstring& tag : tags)
            joined += (joined.empty() ? L"" : L",") + tag;
        element.setAttribute(A::Tags, joined);
    }
    if (disabledByUser)
        element.setAttribute(A::DisabledByUser, L"true");
    setVersionIf(element, A::Since, since);
    setIf(element, A::Editions, editions);
    setIf(element, A::Modes, modes);
    for (const RibbonGroup& group : groups)
        group.store(element.appendChild(TagNames::RibbonGroup));
}

const RibbonTab* RibbonBar::findTab(std::wstring_view tabGuid) const {
    if (tabGuid.empty())
        return nullptr;
    for (const RibbonTab& tab : tabs)
        if (tab.guid == tabGuid)
            return &tab;
    return nullptr;
}

namespace {

// The backstage's tabs and commands: each needs a numeric id, a tab also the page it shows; a
// separator starts a group with the next entry.
void loadBackstage(const Node& element, std::vector<BackstageItem>& items) {
    bool beginGroup = false;
    for (Node child = element.firstChild(); child; child = child.nextSibling()) {
        if (isNamed(child, TagNames::Separator)) {
            beginGroup = true;
            continue;
        }
        const bool tab = isNamed(child, TagNames::BackstageTab);
        if (!tab && !isNamed(child, TagNames::BackstageCommand)) {
            logSkipped(child, "not a backstage tab or command");
            continue;
        }
        if (!IsApplicable(child))
            continue;
        const auto id = integer(child, A::Id, "the id is not a number");
        if (!id) {
            if (!child.attribute(A::Id))
                logSkipped(child, "a backstage entry without id");
            continue;
        }
        BackstageItem item;
        item.tag = tab ? std::wstring(TagNames::BackstageTab) : std::wstring(TagNames::BackstageCommand);
        item.id = *id;
        item.caption = text(child, A::Caption);
        item.state = text(child, A::State);
        item.beginGroup = beginGroup || flag(child, A::BeginGroup, false);
        item.editions = text(child, A::Editions);
        item.modes = text(child, A::Modes);
        if (tab && item.state.empty()) {
            logSkipped(child, "a backstage tab that names no page");
            continue;
        }
        beginGroup = false;
        items.push_back(std::move(item));
    }
}

void storeBackstage(Node element, const std::vector<BackstageItem>& items) {
    for (const BackstageItem& item : items) {
        Node child = element.appendChild(item.tag);
        child.setAttribute(A::Id, std::to_wstring(item.id));
        if (!item.caption.empty())
            child.setAttribute(A::Caption, item.caption);
        if (!item.state.empty())
            child.setAttribute(A::State, item.state);
        if (item.beginGroup)
            child.setAttribute(A::BeginGroup, L"true");
        if (!item.editions.empty())
            child.setAttribute(A::Editions, item.editions);
        if (!item.modes.empty())
            child.setAttribute(A::Modes, item.modes);
    }
}

} // namespace

bool RibbonBar::load(const Node& element, const VersionNumber& enclosing) {
    const auto ownVersion = versionOf(element, enclosing);
    if (!ownVersion)
        return false;
    *this = RibbonBar{};
    version = *ownVersion;
    for (Node child = element.firstChild(); child; child = child.nextSibling()) {
        if (isNamed(child, L"quickAccess")) {
            loadControls(child, quickAccess, 1);
            foldSeparators(quickAccess);
            continue;
        }
        if (isNamed(child, TagNames::Backstage)) {
            loadBackstage(child, backstage);
            continue;
        }
        if (!isNamed(child, TagNames::RibbonTab)) {
            logSkipped(child, "not a ribbon tab");
            continue;
        }
        if (!IsApplicable(child))
            continue;
        RibbonTab tab;
        if (!tab.load(child, version))
            continue;
        if (findTab(tab.guid)) {
            logSkipped(child, "a second tab with the same GUID");
            continue;
        }
        tabs.push_back(std::move(tab));
    }
    // The definitions this ribbon brings: every group with a GUID that lists its controls.
    auto store = std::make_shared<GroupStore>();
    for (const RibbonTab& tab : tabs)
        for (const RibbonGroup& group : tab.groups)
            if (!group.guid.empty() && group.hasControls)
                store->emplace(group.guid, group);
    for (RibbonTab& tab : tabs)
        for (RibbonGroup& group : tab.groups)
            if (!group.hasControls && !group.guid.empty())
                if (const auto found = store->find(group.guid); found != store->end())
                    group.controls = found->second.controls;
    groupDefinitions = std::move(store);
    tabDefinitions = std::make_shared<const std::vector<RibbonTab>>(tabs);
    return true;
}

void RibbonBar::store(Node element) const {
    element.setAttribute(A::VersionNumber, version.toString());
    for (const RibbonTab& tab : tabs)
        tab.store(element.appendChild(TagNames::RibbonTab));
    if (!quickAccess.empty())
        storeControls(element.appendChild(L"quickAccess"), quickAccess);
    if (!backstage.empty())
        storeBackstage(element.appendChild(TagNames::Backstage), backstage);
}

const RibbonTab* RibbonBar::FindTabDefinition(std::wstring_view tabGuid) const {
    if (!tabDefinitions || tabGuid.empty())
        return nullptr;
    for (const RibbonTab& tab : *tabDefinitions)
        if (tab.guid == tabGuid)
            return &tab;
    return nullptr;
}

const RibbonGroup* RibbonBar::FindGroupDefinition(std::wstring_view tabGuid,
                                                  std::wstring_view groupGuid) const {
    const RibbonTab* tab = FindTabDefinition(tabGuid);
    return tab ? tab->findGroup(groupGuid) : nullptr;
}

} // namespace Dravik::UI::XML
