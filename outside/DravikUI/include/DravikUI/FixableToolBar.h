// What makes any tool-bar class fixable in place (the menu bar as well as tool bars): a fixed bar
// shows no gripper and cannot be dragged away from where it is docked. FixableToolBar, IsFixable,
// IsFixed and Fix (DravikUI/ToolBars.h) work on every bar made fixable so.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/CommandBars.h"
#include "xtp/MenuBar.h"
#include "xtp/ToolBar.h"

DV_EXPORTS_BEGIN

namespace Dravik::UI {

// What makes a bar fixable, beside whichever tool-bar class it is.
class Fixable {
public:
    virtual ~Fixable() = default;
    bool IsFixed() const { return fixed_; }
    virtual void SetFixed(bool fixed) = 0;

protected:
    bool fixed_ = false;
};

// Any tool-bar class made fixable: fixing hides the gripper and stops docking; unfixing gives
// both back as they were.
template <class TBase> class GenericFixableToolBar : public TBase, public Fixable {
public:
    void SetFixed(bool fixed) override {
        if (fixed == fixed_)
            return;
        fixed_ = fixed;
        if (fixed) {
            dockingFlags_ = this->GetDockingFlags();
            gripper_ = this->IsShowGripper();
            this->ShowGripper(FALSE);
            this->EnableDocking(0);
        } else {
            this->ShowGripper(gripper_);
            this->EnableDocking(dockingFlags_);
        }
        if (::IsWindow(this->GetSafeHwnd())) {
            this->DelayLayout();
            if (CXTPCommandBars* bars = this->GetCommandBars())
                bars->RecalcFrameLayout(TRUE);
        }
    }

private:
    DWORD dockingFlags_ = 0;
    BOOL gripper_ = TRUE;
};

// The drag of a bar starts only when this allows it: never for a fixed bar.
class FixableToolBarDockContext {
public:
    explicit FixableToolBarDockContext(CXTPToolBar* bar) : bar_(bar) {}
    bool CanStartDrag() const;
    CXTPToolBar* GetToolBar() const { return bar_; }

private:
    CXTPToolBar* bar_;
};

} // namespace Dravik::UI

DV_EXPORTS_END
