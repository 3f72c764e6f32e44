#include "DravikUI/ToolBars.h"

namespace Dravik::UI {

IMPLEMENT_DYNCREATE(FixableToolBar, CXTPToolBar)

void FixableToolBar::SetFixed(bool fixed) {
    if (fixed == m_fixed)
        return;
    m_fixed = fixed;
    if (fixed) {
        m_dockingBeforeFix = GetDockingFlags();
        EnableDocking(0);
    } else {
        EnableDocking(m_dockingBeforeFix);
    }
    ShowGripper(fixed ? FALSE : TRUE);
    if (::IsWindow(m_hWnd)) {
        DelayLayout();
        if (CXTPCommandBars* bars = GetCommandBars())
            bars->RecalcFrameLayout(TRUE);
    }
}

bool IsFixable(CXTPCommandBar* bar) {
    return dynamic_cast<FixableToolBar*>(bar) != nullptr;
}

bool IsFixed(CXTPCommandBar* bar) {
    auto* fixable = dynamic_cast<FixableToolBar*>(bar);
    return fixable && fixable->IsFixed();
}

void Fix(CXTPCommandBar* bar, bool fixed) {
    if (auto* fixable = dynamic_cast<FixableToolBar*>(bar))
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

} // namespace Dravik::UI
