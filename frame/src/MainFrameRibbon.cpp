// The frame's ribbon before its definition is applied: where it stands, the File button and the
// backstage it opens, and the PDM popup of the caption row.
#include "frame/MainFrame.h"

#include "frame/CommandBars.h"
#include "ribbon/RibbonBar.h"
#include "ribbon/RibbonControls.h"

#include "XTToolkitPro.h"
#include "panels/DataExchange.h"
#include "panels/SysPanelToolbar.h"

#include <functional>

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

namespace {

// Every control of the ribbon's tabs at every depth, the popups before what they hold, then the
// controls of the tab strip's popup.
void ForEachRibbonControl(CXTPRibbonBar* ribbon, const std::function<void(CXTPControl*)>& visit) {
    std::function<void(CXTPControl*)> walk = [&](CXTPControl* control) {
        visit(control);
        if (auto* popup = dynamic_cast<CXTPControlPopup*>(control);
            popup != nullptr && popup->GetCommandBar())
            if (CXTPControls* inner = popup->GetCommandBar()->GetControls())
                for (int i = 0; i < inner->GetCount(); ++i)
                    walk(inner->GetAt(i));
    };
    for (int t = 0; t < ribbon->GetTabCount(); ++t) {
        CXTPRibbonGroups* groups = ribbon->GetTab(t)->GetGroups();
        for (int g = 0; groups != nullptr && g < groups->GetCount(); ++g) {
            CXTPRibbonGroup* group = groups->GetAt(g);
            for (int c = 0; c < group->GetCount(); ++c)
                walk(group->GetAt(c));
        }
    }
    if (CXTPRibbonControlTab* tabs = ribbon->GetControlTab(); tabs != nullptr && tabs->GetCommandBar())
        if (CXTPControls* inner = tabs->GetCommandBar()->GetControls())
            for (int i = 0; i < inner->GetCount(); ++i)
                walk(inner->GetAt(i));
}

} // namespace

void CMainFrame::InitRibbonControls() {
    CXTPRibbonBar* ribbon = GetRibbonBar();
    if (ribbon == nullptr || GetCommandBars() == nullptr)
        return;
    auto* sysPanel = dynamic_cast<CSysPanelToolbar*>(GetSystemPanelToolBar());
    ForEachRibbonControl(ribbon, [&](CXTPControl* control) {
        if (auto* exchange = dynamic_cast<IDataExchange*>(control))
            exchange->Initialize();
        if (sysPanel == nullptr)
            return;
        if (CXTPControl* twin = sysPanel->FindControlById(control->GetID());
            twin != nullptr && (twin->GetFlags() & xtpFlagManualUpdate) != 0)
            control->SetFlags(control->GetFlags() | xtpFlagManualUpdate);
    });
}
