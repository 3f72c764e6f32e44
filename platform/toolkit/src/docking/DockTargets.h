// The targets shown while a person drags a pane by its caption: one at each edge of the frame's
// docking area, and around the middle of the pane under the pointer its four sides and its
// centre. Letting go over one docks the dragged panes there (or, at a centre, makes them tabs
// of that pane); anywhere else they stay floating. Holding Ctrl hides the targets.
#pragma once

#include "afxwin.h"
#include "xtp/DockingPaneManager.h"

#include <memory>
#include <vector>

namespace dvtk::docking {

struct DockTarget {
    CRect rc; // the target itself, in screen coordinates
    XTPDockingPaneDirection side = xtpPaneDockLeft;
    bool centre = false;
    CXTPDockingPaneTabbedContainer* pane = nullptr; // null: a side of the frame
    CRect preview;                                  // where the dragged panes would go
};

class DockTargets {
public:
    explicit DockTargets(CXTPDockingPaneManager* manager);
    ~DockTargets();
    DockTargets(const DockTargets&) = delete;
    DockTargets& operator=(const DockTargets&) = delete;

    // The pointer moved while `moving` is dragged: the targets that apply are shown, the one
    // under the pointer lit, with the place it stands for outlined.
    void track(CXTPDockingPaneTabbedContainer* moving, CPoint screen, bool suppressed);
    // The drag ended at `screen`: the targets go; over one, `moving` docks there. True when it
    // did (`moving` may be gone then: its panes joined another container).
    bool drop(CXTPDockingPaneTabbedContainer* moving, CPoint screen, bool suppressed);
    void hide();

private:
    class Glyph;
    class Outline;
    std::vector<DockTarget> targetsFor(const CXTPDockingPaneTabbedContainer* moving, CPoint screen) const;
    const DockTarget* hit(CPoint screen) const;

    CXTPDockingPaneManager* manager_;
    std::vector<DockTarget> shown_;
    std::vector<std::unique_ptr<Glyph>> glyphs_;
    std::unique_ptr<Outline> outline_;
};

} // namespace dvtk::docking
