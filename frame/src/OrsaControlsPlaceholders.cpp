// Placeholder until the frame's relays land: the least the PDM controls need for the ribbon to
// come up right (the PDM tab follows the work mix; the popup stays hidden, as no PDM program is
// installed in this build).
#include "frame/MainFrame.h"

#include "frame/RibbonBar.h"

#include "DVPDMProxy/WorkMix.h"
#include "XTToolkitPro.h"

void CMainFrame::UpdateOrsaControls() {
    auto* ribbon = DYNAMIC_DOWNCAST(DVRibbonBar, GetRibbonBar());
    if (ribbon == nullptr)
        return;
    const bool enabled = DVPDMWorkMix::Instance().IsEnabled();
    if (Dravik::UI::RibbonTab* tab = ribbon->FindTabByGuid(L"{29A47DB0-83AC-47B8-ACC9-EF364D9CD873}"))
        tab->SetVisible(enabled);
    if (CXTPControlPopup* popup = ribbon->GetOrsaPopup())
        popup->SetVisible(FALSE);
}
