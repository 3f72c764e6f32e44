#include "ControlTooltip.h"

#include "xtp/CommandBars.h"
#include "xtp/ShortcutManager.h"

namespace dv::toolkit {

CString tooltipOf(CXTPControl* pControl) {
    if (pControl == nullptr)
        return CString();
    CString tip = pControl->GetTooltip();
    CXTPCommandBars* bars = pControl->GetCommandBars();
    if (tip.IsEmpty() || bars == nullptr || !bars->GetCommandBarsOptions()->bToolBarAccelTips)
        return tip;
    CString keys;
    if (bars->GetShortcutManager()->FindDefaultAccelerator(pControl->GetID(), keys))
        tip += L" (" + keys + L")";
    return tip;
}

} // namespace dv::toolkit
