// The tool-bar list popup of the main frame's command bars: which bars it lists, in which order,
// and the menu it is built from, with the pane toggles that have nothing behind them pruned.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPCommandBars;
class CXTPToolBar;

// Walking from the last item to the first: a submenu is pruned in turn and deleted when left
// empty, an item whose id is listed is deleted. Then separators left leading, trailing or doubled
// go.
void PruneMenu(HMENU menu, std::span<const UINT> ids);

// The pane toggles of the tool-bar list menu that show PDM panes: without the PDM work mix they
// toggle nothing and are pruned.
std::span<const UINT> PdmPaneToggleCommands();

// The PDM pane toggles of the list menu named after the panes they show (archives, desktop,
// favourites, assembly, mail): the pane of each command, its caption asked from `caption`; a
// toggle whose pane has no caption keeps the menu's text.
void NamePdmPaneToggles(HMENU menu, const std::function<std::wstring(UINT command)>& caption);

// Gives every item of the menu and its submenus with this id the text.
void SetMenuItemText(HMENU menu, UINT id, const std::wstring& text);

// What the listing rule reads of a bar.
struct ToolBarTraits {
    bool menuBar = false;
    bool contextMenuPresent = true; // the first listing option
    bool closeable = true;          // the second listing option
    UINT id = 0;
    bool hasWindow = true;
    std::wstring title;
    bool visible = true;
};

// Whether a bar takes part in the tool-bar list. The PDM work-mix bar (titled `workMixTitle`)
// is listed without the work mix only while it is visible.
bool IsToolBarListed(const ToolBarTraits& bar, bool pdmEnabled, std::wstring_view workMixTitle);
// The same for a live bar, with the work mix's state and the work-mix bar's title of string 13588.
bool IsToolBarListed(CXTPCommandBars* bars, CXTPToolBar* bar);

// One listed bar. Group 0 for ordinary bars, 2 for application tool bars.
struct ToolBarListEntry {
    std::int32_t group = 0;
    UINT barId = 0;
    std::wstring title;
    bool visible = false;
    friend bool operator==(const ToolBarListEntry&, const ToolBarListEntry&) = default;
};

// Sorted by group, then by title (ordinal).
void SortToolBarList(std::vector<ToolBarListEntry>& entries);

// Puts the sorted entries into the menu's first submenu as items 700 + index (checked when the
// bar is visible), a separator wherever the group changes, in place of its placeholder item.
// Without entries the submenu itself is removed from `menu`.
void FillToolBarListMenu(HMENU menu, const std::vector<ToolBarListEntry>& entries);

// The bar id of a chosen list item, or 0 when the item is past the list.
UINT ToolBarListCommandBar(const std::vector<ToolBarListEntry>& entries, UINT command);

DV_EXPORTS_END
