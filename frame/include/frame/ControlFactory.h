// The controls the main frame makes for the fixed command ids and tags of its control table.
#pragma once

#include "frame/ControlTable.h"

#include "pal/visibility.h"

#include <string_view>

DV_EXPORTS_BEGIN

class CXTPCommandBar;
class CXTPCommandBars;
class CXTPControl;
class CXTPDockingPaneManager;
class CXTPMenuBar;

// What of the frame the fixed controls are made over.
struct ControlFactoryFrame {
    CXTPCommandBars* bars = nullptr;
    CXTPMenuBar* mainMenuBar = nullptr;
    int mainResourceId = 0;
    CXTPDockingPaneManager* panes = nullptr;
};

// The control of a table entry; null when the entry makes nothing, or when its class is not part
// of the program yet (the caller then goes on as for no control).
CXTPControl* CreateFixedControl(const CustomControlEntry& entry, std::wstring_view tag,
                                const ControlFactoryFrame& frame);

DV_EXPORTS_END
