// The frame's ribbon before its definition is applied: where it stands, the File button and the
// backstage it opens, and the PDM popup of the caption row.
#include "frame/MainFrame.h"

#include "frame/CommandBars.h"
#include "ribbon/RibbonBar.h"
#include "ribbon/RibbonControls.h"

#include "XTToolkitPro.h"
#include "panels/DataExchange.h"
#include "panels/SysPanelToolbar.h"

bool CMainFrame::SetUpRibbonBar() {
    CDVRibbonCommandBars* bars = GetRibbonCommandBars();
    if (bars == nullptr)
        return false;
    auto* ribbon = DYNAMIC_DOWNCAST(DVRibbonBar, bars->GetRibbonBar());
    if (ribbon == nullptr)
        return true;
    ribbon->EnableDocking(0);
    if (CXTPRibbonControlSystemButton* file = ribbon->GetSystemButton();
        file != nullptr && file->GetIconId() != 1) {
        file->SetIconId(1);
        file->RedrawParent();
    }
    if (CXTPRibbonBackstageView* backstage = ribbon->GetBackstageView())
        backstage->SetCommandBars(bars);
    if (ribbon->GetOrsaPopup() == nullptr) {
        auto* popup = new OrsaPopup(bars);
        popup->SetStyle(xtpButtonIconAndCaption);
        ribbon->GetControls()->Add(popup, DVRibbonBar::kOrsaPopupId);
        ribbon->SetOrsaPopup(popup);
    }
    UpdateOrsaControls();
    return true;
}

void CMainFrame::InitRibbonControls() {
    DVRibbonBar* ribbon = GetDVRibbonBar();
    if (ribbon == nullptr || GetCommandBars() == nullptr)
        return;
    auto* sysPanel = dynamic_cast<CSysPanelToolbar*>(GetSystemPanelToolBar());
    ribbon->ForEachControlWithPath([&](CXTPControl* control, const DVRibbonBar::ControlPath&) {
        if (auto* exchange = dynamic_cast<IDataExchange*>(control))
            exchange->Initialize();
        if (sysPanel == nullptr)
            return;
        if (CXTPControl* twin = sysPanel->FindControlById(control->GetID());
            twin != nullptr && (twin->GetFlags() & xtpFlagManualUpdate) != 0)
            control->SetFlags(control->GetFlags() | xtpFlagManualUpdate);
    });
}
