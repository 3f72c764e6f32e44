#include "ribbon/RibbonBar.h"

#include "XTToolkitPro.h"

IMPLEMENT_DYNCREATE(DVRibbonBar, Dravik::UI::RibbonBar)

HICON DVRibbonBar::GetControlIcon(CXTPControl* control, int size) {
    CXTPCommandBars* bars = GetCommandBars();
    if (control == nullptr || bars == nullptr || bars->GetImageManager() == nullptr)
        return nullptr;
    CXTPImageManagerIcon* icon =
        bars->GetImageManager()->GetImage(static_cast<UINT>(control->GetIconId()), size);
    return icon != nullptr ? icon->GetIcon() : nullptr;
}

Dravik::UI::RibbonTab* DVRibbonBar::FindTabByGuid(std::wstring_view guid) const {
    for (int i = 0; i < GetTabCount(); ++i)
        if (auto* tab = dynamic_cast<Dravik::UI::RibbonTab*>(GetTab(i)); tab != nullptr && tab->HasGUID(guid))
            return tab;
    return nullptr;
}
