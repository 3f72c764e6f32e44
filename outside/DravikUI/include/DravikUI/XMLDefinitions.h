// Definitions of tool bars and of the ribbon, as the UI library's XML describes them: what a bar
// holds, independent of any live bar. They load from an element (skipping, and logging, what is
// not valid), store back into one, and merge a person's definition with the program's default.
#pragma once

#include "DVDiagnostics/VersionNumber.h"
#include "DravikUI/XMLNode.h"

#include "pal/visibility.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

DV_EXPORTS_BEGIN

class CWnd;
class CXTPCommandBar;
class CXTPControl;
class CXTPRibbonBar;
class CXTPRibbonGroup;
class CXTPRibbonTab;

namespace Dravik::UI::XML {

struct Control;
struct BackstageItem;

// How definitions become live controls: the application may make the control of a definition
// itself (null lets the library make the default control of the kind, through the bar's command
// bars), and hears every extra attribute once the control stands in its bar. The pages of the
// ribbon's backstage tabs are the application's: it gives the page a tab shows (null: it knows
// no such page, and the tab is left out); a backstage command it does not know is left out too.
struct ApplicationParameters {
    std::function<CXTPControl*(const Control& definition, CXTPCommandBar* bar)> createControl;
    std::function<void(CXTPControl* control, const std::wstring& name, const std::wstring& value)>
        handleAttribute;
    std::function<CWnd*(const BackstageItem& definition)> createBackstagePage;
    std::function<bool(int id)> isKnownCommand;
};

using RibbonBarApplicationParameters = ApplicationParameters;

// How live controls become definitions: the state name of a special control (empty for the
// others), and the extra attributes the application keeps for a control.
struct SavingParameters {
    std::function<std::wstring(CXTPControl* control)> controlStateName;
    std::function<void(CXTPControl* control, Control& definition)> writeExtraAttributes;
};

// An attribute that the library does not interpret itself (a file name, a URL, a gallery's
// width, ...): kept in order and handed to the application's attribute handler on apply.
struct ExtraAttribute {
    std::wstring name;
    std::wstring value;
    friend bool operator==(const ExtraAttribute&, const ExtraAttribute&) = default;
};

// One control of a bar or group. Its tag is the control kind (TagNames::Button, ...).
struct Control {
    std::wstring tag;
    int id = 0;
    std::wstring caption;
    std::wstring description;
    std::wstring toolTip;
    std::wstring keyTip;
    std::wstring style;
    std::wstring state; // a special control's state name ("ribbonTabsPopup", ...)
    int iconId = -1;
    bool beginGroup = false;
    bool optional = false; // hidden by the person, kept in the definition
    bool visible = true;
    VersionNumber since; // the program version that first shipped it (default definitions)
    int popupBar = 0;    // a tool bar of the same state whose controls fill this popup
    std::wstring editions, modes;
    std::vector<ExtraAttribute> extra;
    std::vector<Control> controls; // a popup's own controls

    bool isPopup() const;
    const std::wstring* findExtra(std::wstring_view name) const;
    friend bool operator==(const Control&, const Control&) = default;
};

// The controls of definitions put into a live bar after its present ones, and the definitions of
// a live bar's controls (controls the program made on the fly are left out).
void ApplyControls(const std::vector<Control>& controls, CXTPCommandBar* bar,
                   const ApplicationParameters& parameters);
std::vector<Control> SaveControls(CXTPCommandBar* bar, const SavingParameters& parameters);

// A tool bar or menu bar.
class ToolBar {
public:
    int id = 0;
    std::wstring guid; // "{XXXXXXXX-...}" upper case, or empty
    std::wstring caption;
    int kind = 0;
    bool visible = true;
    VersionNumber version;
    std::wstring editions, modes;
    std::vector<Control> controls;

    // Reads the element's attributes and controls. False when the element cannot be a bar (a tool
    // bar without id, a version this library cannot read); invalid parts inside are skipped.
    bool load(const Node& element, const VersionNumber& version, bool menuBar);
    void store(Node element) const;
    // A person's bar (this) over the default one: see FORMAT.md, "Merging".
    void merge(const ToolBar& defaults);

    // Replaces a live bar's controls with the definition's (and its title, when the definition
    // has a caption).
    void apply(CXTPCommandBar* bar, const ApplicationParameters& parameters) const;
    // The definition of a live bar, with the given version.
    void save(CXTPCommandBar* bar, const VersionNumber& version, const SavingParameters& parameters);

    friend bool operator==(const ToolBar&, const ToolBar&) = default;
};

class RibbonGroup {
public:
    std::wstring guid;
    int id = -1;
    int code = 0; // the built-in-group code
    std::wstring caption;
    std::wstring keyTip;
    bool disabledByUser = false;
    VersionNumber since;
    std::wstring editions, modes;
    bool hasControls = false; // false: the controls come from the group definition of its GUID
    std::vector<Control> controls;

    bool load(const Node& element, const VersionNumber& version);
    void store(Node element) const;
    void merge(const RibbonGroup& defaults, const VersionNumber& personVersion);

    // Gives a live group this definition's caption, identity and controls (replacing its own).
    void apply(CXTPRibbonGroup* group, const RibbonBarApplicationParameters& parameters) const;
    void save(CXTPRibbonGroup* group, const SavingParameters& parameters);

    friend bool operator==(const RibbonGroup&, const RibbonGroup&) = default;
};

class RibbonTab {
public:
    std::wstring guid;
    std::wstring caption;
    std::wstring keyTip;
    std::vector<std::wstring> tags;
    bool disabledByUser = false;
    VersionNumber since;
    std::wstring editions, modes;
    std::vector<RibbonGroup> groups;

    bool HasTags() const { return !tags.empty(); }
    bool HasTag(std::wstring_view tag) const; // without regard to case
    const RibbonGroup* findGroup(std::wstring_view guid) const;

    bool load(const Node& element, const VersionNumber& version);
    void store(Node element) const;
    void merge(const RibbonTab& defaults, const VersionNumber& personVersion);

    // Gives a live tab this definition (its groups replaced), or inserts a new tab made from it
    // at an index of the ribbon (-1: at the end) and returns it.
    void apply(CXTPRibbonTab* tab, const RibbonBarApplicationParameters& parameters) const;
    CXTPRibbonTab* applyTo(CXTPRibbonBar* ribbon, const RibbonBarApplicationParameters& parameters,
                           int index) const;
    void save(CXTPRibbonTab* tab, const SavingParameters& parameters);

    friend bool operator==(const RibbonTab&, const RibbonTab&) = default;
};

// An entry of the backstage's menu: a tab that shows a page of the application's (named by its
// state) or a command that closes the backstage and runs.
struct BackstageItem {
    std::wstring tag; // TagNames::BackstageTab or TagNames::BackstageCommand
    int id = 0;
    std::wstring caption;
    std::wstring state; // a tab's page
    bool beginGroup = false;
    std::wstring editions, modes;
    friend bool operator==(const BackstageItem&, const BackstageItem&) = default;
};

class RibbonBar {
public:
    using GroupStore = std::map<std::wstring, RibbonGroup>;

    VersionNumber version;
    std::vector<RibbonTab> tabs;
    std::vector<Control> quickAccess;
    // The backstage's menu; a person's ribbon without one takes the default's.
    std::vector<BackstageItem> backstage;
    // Shared between the states made from one default: the default's tabs (to reset a tab or a
    // group) and its groups by GUID (to fill a group that names only its GUID).
    std::shared_ptr<const std::vector<RibbonTab>> tabDefinitions;
    std::shared_ptr<const GroupStore> groupDefinitions;

    bool load(const Node& element, const VersionNumber& version);
    void store(Node element) const;
    void merge(const RibbonBar& defaults);

    // Replaces a live ribbon's tabs and quick-access controls with the definition's.
    void apply(CXTPRibbonBar* ribbon, const RibbonBarApplicationParameters& parameters) const;
    void save(CXTPRibbonBar* ribbon, const VersionNumber& version, const SavingParameters& parameters);

    const RibbonTab* findTab(std::wstring_view guid) const;
    const RibbonTab* FindTabDefinition(std::wstring_view guid) const;
    const RibbonGroup* FindGroupDefinition(std::wstring_view tabGuid, std::wstring_view groupGuid) const;

    // The definitions compare by content; the shared stores do not take part.
    friend bool operator==(const RibbonBar& a, const RibbonBar& b) {
        return a.version == b.version && a.tabs == b.tabs && a.quickAccess == b.quickAccess &&
               a.backstage == b.backstage;
    }
};

// A live ribbon, tab or bar written into an element (RibbonBar, RibbonTab or ToolBar form).
void SaveRibbonBar(CXTPRibbonBar* ribbon, Node element, const SavingParameters& parameters);
void SaveRibbonTab(CXTPRibbonTab* tab, Node element, const SavingParameters& parameters);
void SaveToolBar(CXTPCommandBar* bar, Node element, const SavingParameters& parameters);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case, or nothing for any other text.
std::optional<std::wstring> NormalizeGuid(std::wstring_view text);

} // namespace Dravik::UI::XML

DV_EXPORTS_END
