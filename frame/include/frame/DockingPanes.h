// The main frame's docking panes: a pane's layout entry carries what it shows, so that panes a
// person added (cliparts) come back with their content.
#pragma once

#include "DravikUI/DockingPane.h"

#include "pal/visibility.h"

#include <functional>

DV_EXPORTS_BEGIN

class CDVDockingPane : public Dravik::UI::DockingPane {
public:
    explicit CDVDockingPane(CXTPDockingPaneLayout* layout) : DockingPane(layout) {}
    BOOL DoPropExchange(CXTPPropExchange* pPX) override;
};

class CDVDockingPaneManager : public Dravik::UI::DockingPaneManager {
public:
    CXTPDockingPaneBase* OnCreatePane(XTPDockingPaneType type, CXTPDockingPaneLayout* layout) override;
};

// How a pane finds the application's window for its id (made when asked); null when there is
// none. The application sets it at start-up; until then the frame tools' window of the pane.
using DockingPaneWindowLookup = std::function<CWnd*(int paneId)>;
void SetDockingPaneWindowLookup(DockingPaneWindowLookup lookup);

// The stored name of a clipart's kind; empty for a clipart of another class.
const wchar_t* ClipartTypeName(const CWnd* view);

DV_EXPORTS_END
