// The one table of the program's command-id space: every WM_COMMAND id that a control, the
// kernel or an add-on sends has its place in exactly one range, and the ranges never overlap.
#pragma once

#include "pal/visibility.h"

#include <cstdint>
#include <span>

DV_EXPORTS_BEGIN

namespace dvapp {

enum class CommandIdUse {
    RegisteredBlock,    // blocks of bare ids registered with the kernel
    PaneCommand,        // pane show and hide commands of the main frame
    InterfaceToggle,    // ToggleAutoMenu ... ToggleMainToolBar
    DockingPanesLock,   // ToggleDockingPanesLock
    SystemPanelControl, // controls of the system panel
    NamedCommand,       // named commands of the shell and of the kernel
    ApplyProfile,       // ApplyProfile1 ... ApplyProfile10
    KernelCommand,      // kernel commands named by identifier outside the named blocks
    AutoMenuButton,     // auto-menu buttons (their hints)
    ToolBarTab,         // entries of the popup that lists the tabs of the tabbed tool bar
    AddOnCommand,       // commands of the classic add-ons
    ApplicationCommand, // application commands of "application.xml"
    SpecialCustomise,   // special customise ids
    UserCommand,        // user commands
    StandardCommand,    // the platform's standard ids (new, open, arrange, exit, help ...)
    GeometryReference,  // geometry-reference commands of the kernel
};

struct CommandIdRange {
    std::uint32_t first; // inclusive
    std::uint32_t last;  // inclusive
    CommandIdUse use;
};

// In increasing order of ids.
std::span<const CommandIdRange> CommandIdRanges();
// The range that holds the id, or null for an id of no range (912, for one).
const CommandIdRange* FindCommandIdRange(std::uint32_t id);

} // namespace dvapp

DV_EXPORTS_END
