// What the tabbed tool bar keeps beside its tool-kit tabs: one command set per tab (its id,
// application, accelerator, visibility, whether a person made it) and the bar's settings, their
// exchange with the layout, the commands a new tab gets, and the making of a separate tool bar
// from a tab's commands.
#pragma once

#include "DravikKernel/ApplicationCommand.h"

#include "afxwin.h"
#include "pal/visibility.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPCommandBars;
class CXTPPropExchange;
class CXTPToolBar;

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case.
std::wstring UniqueIdentifierToString(const Dravik::UniqueIdentifier& id);
Dravik::UniqueIdentifier GenerateUniqueIdentifier();
// Stores the id as text; loading replaces it only with text that parses. Whether a value was
// exchanged.
BOOL PX_UniqueIdentifier(CXTPPropExchange* pPX, LPCWSTR pszPropName, Dravik::UniqueIdentifier& id);

struct CommandSetRecord {
    Dravik::UniqueIdentifier id;
    std::wstring appKey;
    int accelModifiers = 0;
    int accelKey = 0;
    bool visible = true;
    bool user = false;
    friend bool operator==(const CommandSetRecord&, const CommandSetRecord&) = default;
};

class CommandSetTabs {
public:
    struct Tab {
        std::wstring caption;
        std::size_t record = 0; // 1-based number of the tab's record
        bool shown = true;
        friend bool operator==(const Tab&, const Tab&) = default;
    };

    bool showTabs = false;
    bool locked = false;
    bool largeIcons = false;
    bool showPrompts = false;
    bool standardFont = false;
    Dravik::UniqueIdentifier defaultState;
    std::vector<CommandSetRecord> records;
    std::vector<Tab> tabs;
    int currentTab = -1;

    // A system or application tab before the tab whose record has `before` (at the end when
    // none does); returns its index. `commands` receives the ids of the tab's controls.
    std::size_t AddTab(const std::wstring& caption, std::span<const UINT> ids,
                       const Dravik::UniqueIdentifier& id, const std::wstring& appKey,
                       const std::optional<Dravik::UniqueIdentifier>& before, bool visible,
                       bool standardCommands, std::vector<UINT>& commands);
    // A tab of a person's own, with a fresh id, at the end.
    std::size_t AddUserTab(const std::wstring& caption);
    const CommandSetRecord* RecordOf(std::size_t tab) const;

    // The settings and command sets, after the tool kit's exchange of the bar. Loading first
    // forgets every record and tab, so that loading twice never doubles the tabs.
    void DoPropExchange(CXTPPropExchange* pPX);
};

// The controls of a new tab: the tab list (1075), a separator, the standard commands when asked,
// then the given ids.
std::vector<UINT> TabCommandIds(std::span<const UINT> ids, bool standardCommands);

// A control of the tabbed bar as the tab conversion reads it.
struct TabControl {
    int id = 0;
    std::wstring category;
    bool beginGroup = false;
};
// The ids of a tab's controls (0 for a separator before a control that starts a group, none at
// the head), without the tab list; without `keepStandard`, what comes up to the last 1115 or 1117 is left out
// (the standard commands of the tab's head). A tab without them keeps all its commands.
std::vector<UINT> CollectTabCommands(const std::vector<TabControl>& controls, const std::wstring& caption,
                                     bool keepStandard);
// The first bar id from 59392 below 59647 that no bar uses; nothing when all are used.
std::optional<UINT> ChooseCustomBarId(CXTPCommandBars* bars);
// Makes a tool bar of the tab's commands (the person is asked whether the standard commands go
// with them). False, with a message, when a bar has the caption as title or no id is free.
bool CreateToolBarFromTab(CXTPCommandBars* bars, const std::vector<TabControl>& controls,
                          const std::wstring& caption);

DV_EXPORTS_END
