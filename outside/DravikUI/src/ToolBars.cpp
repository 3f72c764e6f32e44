#include "DravikUI/ToolBars.h"

namespace Dravik::UI {

IMPLEMENT_DYNCREATE(FixableToolBar, CXTPToolBar)

bool IsFixable(CXTPCommandBar* bar) {
    return dynamic_cast<Fixable*>(bar) != nullptr;
}

bool IsFixed(CXTPCommandBar* bar) {
    auto* fixable = dynamic_cast<Fixable*>(bar);
    return fixable && fixable->IsFixed();
}

void Fix(CXTPCommandBar* bar, bool fixed) {
    if (auto* fixable = dynamic_cast<Fixable*>(bar))
        fixable->SetFixed(fixed);
}

void SetLeftPopups(CXTPCommandBar* bar, bool left) {
    if (!bar)
        return;
    for (int i = 0; i < bar->GetControlCount(); ++i) {
        CXTPControl* control = bar->GetControl(i);
        const DWORD flags = control->GetFlags();
        control->SetFlags(left ? (flags | xtpFlagLeftPopup)
                               : (flags & ~static_cast<DWORD>(xtpFlagLeftPopup)));
    }
}

bool IsRibbonFreeControl(CXTPControl* control) {
    return control && (control->GetFlags() & xtpFlagRightAlign) != 0;
}

void UpdateToolBars(CXTPCommandBars* bars) {
    if (!bars)
        return;
    bars->UpdateCommandBars();
    for (int i = 0; i < bars->GetCount(); ++i) {
        CXTPToolBar* bar = bars->GetAt(i);
        if (bar && bar->IsVisible() && ::IsWindow(bar->GetSafeHwnd()))
            bar->DelayLayout();
    }
}

namespace {
FramelessToolBarPositions& positions() {
    static FramelessToolBarPositions held;
    return held;
}
} // namespace

FramelessToolBarPositions GetFramelessToolBarPositions() {
    return positions();
}

void SetFramelessToolBarPositions(const FramelessToolBarPositions& changed) {
    positions() = changed;
}

} // namespace Dravik::UI
