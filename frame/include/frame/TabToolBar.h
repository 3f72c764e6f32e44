// The tabbed main tool bar: the UI library's tabbed bar whose tabs are command sets (one per
// main-bar mode: a system set, an application's set or one a person made), with the bar's settings
// and command sets kept in the layout, and the making of a separate tool bar from a tab.
#pragma once

#include "DravikKernel/ApplicationCommand.h"
#include "DravikUI/PropExchangeIds.h"
#include "DravikUI/TabbableToolBar.h"

#include "afxwin.h"
#include "pal/visibility.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPCommandBars;
class CXTPPropExchange;
class CXTPToolBar;

// The same key as the tab keys of the UI library hold it.
GUID UniqueIdentifierToGuid(const Dravik::UniqueIdentifier& id);
Dravik::UniqueIdentifier GuidToUniqueIdentifier(const GUID& guid);

// A tab's command set as the layout stores it.
struct CommandSetRecord {
    Dravik::UniqueIdentifier id;
    std::wstring appKey;
    int accelModifiers = 0;
    int accelKey = 0;
    bool visible = true;
    bool user = false;
    friend bool operator==(const CommandSetRecord&, const CommandSetRecord&) = default;
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

class CDVTabToolBar : public Dravik::UI::TabbableToolBar {
    DECLARE_DYNCREATE(CDVTabToolBar)
public:
    static constexpr UINT kTabListCommand = 1075;

    // A system or application tab before the tab whose key is `before` (at the end when none
    // is); `loadIcons` goes to the category insertion. The tab item, or null.
    CXTPTabManagerItem* AddTab(LPCWSTR caption, const UINT* ids, int count,
                               const Dravik::UniqueIdentifier& id, const std::wstring& appKey,
                               const std::optional<Dravik::UniqueIdentifier>& before, bool visible,
                               bool standardCommands, BOOL loadIcons = TRUE);
    // A tab of a person's own with a fresh key, at the end, with the ids as given.
    CXTPTabManagerItem* AddUserTab(LPCWSTR caption, const UINT* ids, int count, BOOL loadIcons = TRUE);
    // The tab and its controls take the new caption.
    void RenameTab(LPCWSTR oldCaption, LPCWSTR newCaption);
    // The command set of a tab of this bar (its key and shortcut as the bar holds them).
    std::optional<CommandSetRecord> RecordOf(const CXTPTabManagerItem* tab) const;
    // The tab's controls as a separate tool bar of the bar's command bars.
    bool CreateToolBarFromTab(CXTPTabManagerItem* tab);
    // The tab's controls in control order.
    std::vector<TabControl> TabControls() const;

    // The control 1075 of every tab gets the tabs as a menu, the current one checked.
    void UpdateTabListPopups();

    bool IsLocked() const { return m_locked; }
    void SetLocked(bool locked) { m_locked = locked; }
    bool IsLargeIcons() const { return m_largeIcons; }
    void SetLargeIcons(bool large) { m_largeIcons = large; }
    bool IsShowPrompts() const { return m_showPrompts; }
    void SetShowPrompts(bool show) { m_showPrompts = show; }
    bool IsStandardFont() const { return m_standardFont; }
    void SetStandardFont(bool standard) { m_standardFont = standard; }
    const Dravik::UniqueIdentifier& GetDefaultState() const { return m_defaultState; }
    void SetDefaultState(const Dravik::UniqueIdentifier& id) { m_defaultState = id; }

    // Whether the main window a bar sits in has completed its first showing; until then the
    // bar's layout is always written. Without an answer the window counts as shown.
    using MainWindowShownQuery = std::function<bool(CWnd* site)>;
    static void SetMainWindowShownQuery(MainWindowShownQuery query);
    static bool IsMainWindowShown(CWnd* site);

    BOOL ShouldSerializeBar() override;
    CXTPCommandBar* Clone(BOOL bRecursive = FALSE) override;
    void Copy(CXTPCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;
    void DoPropExchange(CXTPPropExchange* pPX) override;

protected:
    // The tab list's menu checks the current tab.
    void OnCategoryChanged(CXTPTabManagerItem* pItem) override;

private:
    // What a tab's set holds beyond its key and shortcut, under the tab's key-record number.
    struct SetInfo {
        std::wstring appKey;
        bool visible = true;
        bool user = false;
    };
    void remember(CXTPTabManagerItem* tab, const Dravik::UniqueIdentifier& id, SetInfo info);
    void loadCommandSets(CXTPPropExchange* pPX);
    void nameApplicationCommands();

    std::map<DWORD_PTR, SetInfo> m_sets;
    bool m_locked = false;
    bool m_largeIcons = false;
    bool m_showPrompts = false;
    bool m_standardFont = false;
    Dravik::UniqueIdentifier m_defaultState;
};

// The name of an application command (17000..32000): nothing for an unknown command.
using ApplicationCommandNameSource = std::function<std::optional<std::wstring>(UINT id)>;
void SetApplicationCommandNameSource(ApplicationCommandNameSource source);

// A control of a tool bar inserted under a tabbed bar's current tab: it takes the tab's caption
// as category and, when the bar shows prompts, its caption below its icon.
void AdoptIntoCurrentTab(CXTPToolBar* bar, CXTPControl* control);

DV_EXPORTS_END
