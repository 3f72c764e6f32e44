// What the main frames' bars and panes ask of the program, answered while the application lives:
// the menu the tool-bar list popup is made from, the window of a pane, the names of the add-ons'
// commands and whether a bar's main window has shown yet.
#include "app/Dvw32App.h"

#include "DravikKernel/ApplicationCommand.h"
#include "DravikKernel/Commands.h"
#include "frame/CommandBars.h"
#include "frame/DockingPanes.h"
#include "frame/MainFrame.h"
#include "frame/TabToolBar.h"
#include "win/user/menu.h"

namespace {

constexpr UINT kToolBarListMenu = 1100;

// One item of the tool-bar list menu: a command with its text, a separator (id 0, no text) or
// the tool-bar submenu (id 0 with text), whose first item stands in for the bars.
struct MenuItem {
    UINT id;
    const wchar_t* text;
};

constexpr UINT kToolBarsSubmenu = 0;

// Menu 1100: the bars first, then the frame's parts and its panes; the PDM panes (787, 788, 789,
// 791, 798, 814, 819, 825) are pruned by the frame when the work mix is off.
constexpr MenuItem kToolBarListItems[] = {
    {kToolBarsSubmenu, L"&Tool bars"},
    {0, nullptr},
    {800, L"Classic &auto menu"},
    {801, L"&Status line"},
    {802, L"S&ystem panel"},
    {807, L"Ta&bbed tool bar"},
    {0, nullptr},
    {783, L"Documents"},
    {811, L"Properties"},
    {785, L"Model tree"},
    {795, L"Model elements"},
    {786, L"Variables"},
    {782, L"Bird's eye view"},
    {793, L"Product structure"},
    {794, L"Materials"},
    {796, L"Assembly structure"},
    {812, L"Macros"},
    {813, L"Weld tree"},
    {815, L"Annotations"},
    {817, L"Layers"},
    {0, nullptr},
    {787, L"PDM archives"},
    {788, L"PDM desktop"},
    {789, L"PDM favourites"},
    {791, L"PDM search"},
    {814, L"PDM assembly"},
    {798, L"PDM mail"},
    {819, L"PDM configuration settings"},
    {825, L"PDM library elements"},
    {0, nullptr},
    {903, L"&Lock panes"},
};

HMENU makeToolBarListMenu() {
    HMENU menu = CreateMenu();
    HMENU items = CreatePopupMenu();
    for (const MenuItem& item : kToolBarListItems) {
        if (item.text == nullptr) {
            AppendMenuW(items, MF_SEPARATOR, 0, nullptr);
        } else if (item.id == kToolBarsSubmenu) {
            HMENU bars = CreatePopupMenu();
            AppendMenuW(bars, MF_STRING, 0, L"(no tool bars)");
            AppendMenuW(items, MF_POPUP, reinterpret_cast<UINT_PTR>(bars), item.text);
        } else {
            AppendMenuW(items, MF_STRING, item.id, item.text);
        }
    }
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(items), L"&View");
    return menu;
}

} // namespace

std::optional<std::wstring> CDvw32App::GetApplicationCommandName(UINT id) const {
    if (GetApplicationCommand(id) == nullptr)
        return std::nullopt;
    return DVCommandContainer::Instance().GetCommandName(id).value_or(std::wstring());
}

void CDvw32App::InstallFrameHooks() {
    SetToolBarListMenuSource(
        [](UINT id) -> HMENU { return id == kToolBarListMenu ? makeToolBarListMenu() : nullptr; });
    SetDockingPaneWindowLookup([this](int paneId) { return GetDockingPaneWindow(paneId, true); });
    SetApplicationCommandNameSource([this](UINT id) { return GetApplicationCommandName(id); });
    CDVTabToolBar::SetMainWindowShownQuery([](CWnd* site) {
        auto* frame = dynamic_cast<CMainFrame*>(site);
        return frame == nullptr || frame->IsShown();
    });
}

void CDvw32App::RemoveFrameHooks() {
    SetToolBarListMenuSource(nullptr);
    SetDockingPaneWindowLookup(nullptr);
    SetApplicationCommandNameSource(nullptr);
    CDVTabToolBar::SetMainWindowShownQuery(nullptr);
}
