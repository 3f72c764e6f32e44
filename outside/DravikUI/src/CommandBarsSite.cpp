#include "DravikUI/CommandBarsSite.h"

#include "DravikKernel/UIModuleProxy.h"
#include "DravikUI/GenericMainFrame.h"
#include "xtp/CommandBarsOptions.h"

namespace Dravik::UI {

void CommandBarsSiteBase::UpdateCommandBarsOptions(CWnd* site, CXTPCommandBars* bars) {
    auto* main = dynamic_cast<GenericMainFrame*>(UIModuleProxy::Instance().GetActiveMainFrame());
    CXTPCommandBars* source = main ? main->GetCommandBars() : nullptr;
    if (!bars || !source || source == bars)
        return;
    const CXTPCommandBarsOptions& from = *source->GetCommandBarsOptions();
    CXTPCommandBarsOptions& to = *bars->GetCommandBarsOptions();
    to.bAlwaysShowFullMenus = from.bAlwaysShowFullMenus;
    to.bShowFullAfterDelay = from.bShowFullAfterDelay;
    to.bToolBarScreenTips = from.bToolBarScreenTips;
    to.bToolBarAccelTips = from.bToolBarAccelTips;
    to.bLargeIcons = from.bLargeIcons;
    to.animateMenus = from.animateMenus;
    to.bShowTextBelowIcons = from.bShowTextBelowIcons;
    to.bUseDisabledIcons = from.bUseDisabledIcons;
    to.szIcons = from.szIcons;
    to.szLargeIcons = from.szLargeIcons;
    to.szPopupIcons = from.szPopupIcons;
    to.ShowKeyboardCues(from.GetShowKeyboardCues());
    // A site that is no frame lays its bars out itself when it is sized.
    if (auto* frame = dynamic_cast<CFrameWnd*>(site))
        frame->RecalcLayout();
    else if (site && ::IsWindow(site->GetSafeHwnd())) {
        CRect client;
        site->GetClientRect(&client);
        site->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
    }
    for (int i = 0; i < bars->GetCount(); ++i) {
        if (CXTPToolBar* bar = bars->GetAt(i); bar && ::IsWindow(bar->GetSafeHwnd())) {
            bar->DelayLayout();
            bar->Invalidate();
        }
    }
}

} // namespace Dravik::UI
