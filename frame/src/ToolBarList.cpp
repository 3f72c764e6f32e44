#include "frame/ToolBarList.h"

#include "DVPDMProxy/WorkMix.h"
#include "DravikKernel/KernelServices.h"
#include "win/user/menu.h"
#include "xtp/CommandBars.h"
#include "xtp/ToolBar.h"

#include <algorithm>

namespace {

constexpr UINT kFirstListCommand = 700;
constexpr UINT kLastListCommand = 749;
constexpr UINT kWorkMixBarTitle = 13588;

// 819 and 825 show PDM panes as well; without the work mix they would be offered with nothing
// behind them.
constexpr UINT kPdmPaneToggles[] = {787, 788, 789, 791, 814, 798, 819, 825};
// With the work mix these take the captions of the PDM panes they show.
constexpr UINT kNamedPdmPaneToggles[] = {787, 788, 789, 814, 798};

bool isSeparator(HMENU menu, int position) {
    return (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_SEPARATOR) != 0 &&
           GetSubMenu(menu, position) == nullptr;
}

} // namespace

void PruneMenu(HMENU menu, std::span<const UINT> ids) {
    if (menu == nullptr)
        return;
    for (int position = GetMenuItemCount(menu) - 1; position >= 0; --position) {
        if (HMENU sub = GetSubMenu(menu, position)) {
            PruneMenu(sub, ids);
            if (GetMenuItemCount(sub) == 0)
                DeleteMenu(menu, static_cast<UINT>(position), MF_BYPOSITION);
            continue;
        }
        const UINT id = GetMenuItemID(menu, position);
        if (std::find(ids.begin(), ids.end(), id) != ids.end())
            DeleteMenu(menu, static_cast<UINT>(position), MF_BYPOSITION);
    }
    for (int position = GetMenuItemCount(menu) - 1; position >= 0; --position) {
        if (!isSeparator(menu, position))
            continue;
        const int count = GetMenuItemCount(menu);
        if (position == 0 || position == count - 1 || isSeparator(menu, position - 1))
            DeleteMenu(menu, static_cast<UINT>(position), MF_BYPOSITION);
    }
}

void SetMenuItemText(HMENU menu, UINT id, const std::wstring& text) {
    if (menu == nullptr)
        return;
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        if (HMENU sub = GetSubMenu(menu, position)) {
            SetMenuItemText(sub, id, text);
            continue;
        }
        if (GetMenuItemID(menu, position) != id)
            continue;
        const UINT state =
            GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & (MF_CHECKED | MF_GRAYED);
        ModifyMenuW(menu, static_cast<UINT>(position), MF_BYPOSITION | MF_STRING | state, id, text.c_str());
    }
}

void NamePdmPaneToggles(HMENU menu, const std::function<std::wstring(UINT command)>& caption) {
    for (const UINT command : kNamedPdmPaneToggles)
        if (const std::wstring text = caption(command); !text.empty())
            SetMenuItemText(menu, command, text);
}

std::span<const UINT> PdmPaneToggleCommands() {
    return kPdmPaneToggles;
}

bool IsToolBarListed(const ToolBarTraits& bar, bool pdmEnabled, std::wstring_view workMixTitle) {
    if (bar.menuBar || !bar.contextMenuPresent || !bar.closeable)
        return false;
    if (bar.id == 1001 || bar.id == 1002 || !bar.hasWindow || bar.title.empty())
        return false;
    if (!pdmEnabled && !workMixTitle.empty() && bar.title == workMixTitle)
        return bar.visible;
    return true;
}

bool IsToolBarListed(CXTPCommandBars* bars, CXTPToolBar* bar) {
    if (bar == nullptr)
        return false;
    ToolBarTraits traits;
    traits.menuBar = bar->GetType() == xtpBarTypeMenuBar || (bars != nullptr && bars->GetMenuBar() == bar);
    traits.contextMenuPresent = bar->IsContextMenuPresent();
    traits.closeable = bar->IsCloseable();
    traits.id = bar->GetBarID();
    traits.hasWindow = ::IsWindow(bar->GetSafeHwnd()) != FALSE;
    traits.title = bar->GetTitle().GetString();
    traits.visible = bar->IsVisible() != FALSE;
    return IsToolBarListed(traits, DVPDMWorkMix::Instance().IsEnabled(), DVLoadString(kWorkMixBarTitle));
}

void SortToolBarList(std::vector<ToolBarListEntry>& entries) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const ToolBarListEntry& a, const ToolBarListEntry& b) {
                         if (a.group != b.group)
                             return a.group < b.group;
                         return a.title < b.title;
                     });
}

void FillToolBarListMenu(HMENU menu, const std::vector<ToolBarListEntry>& entries) {
    HMENU list = GetSubMenu(menu, 0);
    if (list == nullptr)
        return;
    if (entries.empty()) {
        DeleteMenu(menu, 0, MF_BYPOSITION);
        return;
    }
    DeleteMenu(list, 0, MF_BYPOSITION); // the placeholder
    const std::size_t count = std::min<std::size_t>(entries.size(), kLastListCommand - kFirstListCommand + 1);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && entries[i].group != entries[i - 1].group)
            AppendMenuW(list, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(list, MF_STRING | (entries[i].visible ? MF_CHECKED : MF_UNCHECKED),
                    kFirstListCommand + static_cast<UINT>(i), entries[i].title.c_str());
    }
}

UINT ToolBarListCommandBar(const std::vector<ToolBarListEntry>& entries, UINT command) {
    if (command < kFirstListCommand || command > kLastListCommand)
        return 0;
    const std::size_t index = command - kFirstListCommand;
    return index < entries.size() ? entries[index].barId : 0;
}
