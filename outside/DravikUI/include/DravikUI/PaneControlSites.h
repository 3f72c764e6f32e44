// The control sites of two panes whose contents live in the UI library: the assembly structure
// and the list of model elements. The application tells them when their pane shows and when the
// PDM connection changes; each is one per process, as their pane windows are.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace Dravik::UI {

class AssemblyStructureControlSite {
public:
    static AssemblyStructureControlSite& Instance();
    void OnShow(bool shown) { shown_ = shown; }
    bool IsShown() const { return shown_; }
    // The structure shows the PDM columns only while the PDM system is connected.
    void OnChangeOrsaConnectionState(bool connected) { orsaConnected_ = connected; }
    bool IsOrsaConnected() const { return orsaConnected_; }

private:
    AssemblyStructureControlSite() = default;
    bool shown_ = false;
    bool orsaConnected_ = false;
};

} // namespace Dravik::UI

class CModelElementsList {
public:
    static CModelElementsList& Instance();
    void OnShow(bool shown) { shown_ = shown; }
    bool IsShown() const { return shown_; }

private:
    CModelElementsList() = default;
    bool shown_ = false;
};

DV_EXPORTS_END
