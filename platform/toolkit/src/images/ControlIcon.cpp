#include "ControlIcon.h"

#include "xtp/CommandBar.h"
#include "xtp/CommandBars.h"

namespace dv::toolkit {

CXTPImageManagerIcon* controlIcon(CXTPControl* pControl, CSize& size) {
    if (pControl == nullptr || pControl->GetStyle() == xtpButtonCaption)
        return nullptr;
    CXTPCommandBar* bar = pControl->GetParent();
    CXTPCommandBars* bars = pControl->GetCommandBars();
    if (bar == nullptr || bars == nullptr)
        return nullptr;
    if (!bar->IsPopupBar() && bar->GetType() == xtpBarTypeMenuBar &&
        pControl->GetStyle() == xtpButtonAutomatic)
        return nullptr;
    const CXTPCommandBarsOptions* options = bars->GetCommandBarsOptions();
    size = bar->IsPopupBar()      ? options->szPopupIcons
           : options->bLargeIcons ? options->szLargeIcons
                                  : options->szIcons;
    if (!bar->IsPopupBar() && bar->GetIconSize().cx > 0 && bar->GetIconSize().cy > 0)
        size = bar->GetIconSize();
    return pControl->GetImage(size.cx);
}

bool showsCaption(CXTPControl* pControl, bool hasIcon) {
    if (!hasIcon)
        return true;
    switch (pControl->GetStyle()) {
    case xtpButtonCaption:
    case xtpButtonIconAndCaption:
    case xtpButtonIconAndCaptionBelow:
    case xtpButtonCaptionAndDescription:
        return true;
    default:
        return false;
    }
}

XTPImageState iconState(CXTPControl* pControl, bool hot, bool pressed) {
    if (!pControl->GetEnabled())
        return xtpImageDisabled;
    if (pressed)
        return xtpImagePressed;
    if (pControl->GetChecked())
        return xtpImageChecked;
    return hot ? xtpImageHot : xtpImageNormal;
}

} // namespace dv::toolkit
