// The controls the main frame makes for the fixed command ids and tags of its control table.
#pragma once

#include "frame/ControlTable.h"

#include "pal/visibility.h"

#include "frame/ControlAttributes.h"

#include "DravikUI/XMLDefinitions.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

class CXTPCommandBar;
class CXTPCommandBars;
class CXTPControl;
class CXTPControlPopup;
class CXTPDockingPaneManager;
class CXTPMenuBar;
class DVRibbonBar;

// What of the frame the fixed controls are made over.
struct ControlFactoryFrame {
    CXTPCommandBars* bars = nullptr;
    CXTPMenuBar* mainMenuBar = nullptr;
    int mainResourceId = 0;
    CXTPDockingPaneManager* panes = nullptr;
    // The ribbon the tabs popup lists; null without one.
    DVRibbonBar* ribbon = nullptr;
    // The UI library's own controls, asked for ids the table does not fix.
    std::function<CXTPControl*(int id, std::wstring_view tag, CXTPCommandBar* bar)> libraryControl;
    // A user command's control (split: a split-button popup); null when the id is no user command.
    std::function<CXTPControl*(int id, bool split)> userCommandControl;
    // The prompt text of an application command; nothing when the application has no such command.
    std::function<std::optional<std::wstring>(int id)> applicationCommand;
    // Fills the themes popup with one button per UI theme.
    std::function<void(CXTPControlPopup* popup)> addThemeControls;
};

// The control of a table entry; null when the entry makes nothing, or when its class is not part
// of the program yet (the caller then goes on as for no control).
CXTPControl* CreateFixedControl(const CustomControlEntry& entry, std::wstring_view tag,
                                const ControlFactoryFrame& frame);

// The frame's answer for a command id and tag: a fixed control, else the library's, else a user
// command's; null when none of them makes one.
CXTPControl* CreateCustomControl(int id, std::wstring_view tag, CXTPCommandBar* bar,
                                 const ControlFactoryFrame& frame);

// A control for a command a person puts on a bar: the frame's own, else a plain button; none for
// an application command the application does not have.
CXTPControl* CreateCommandControl(int id, CXTPCommandBar* bar, const ControlFactoryFrame& frame);

// The parameters with which the frame applies menu-bar and ribbon definitions.
Dravik::UI::XML::ApplicationParameters FrameApplicationParameters(AttributeScope scope,
                                                                  const ControlFactoryFrame& frame);

DV_EXPORTS_END
