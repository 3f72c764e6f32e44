// The ribbon of a main frame: the library's ribbon (tabs and groups that carry GUIDs and tags)
// drawing the command bars' icons, with the PDM popup of its caption row once the frame set it up.
#pragma once

#include "DravikUI/Ribbon.h"
#include "afxwin.h"
#include "pal/visibility.h"

#include <string_view>

DV_EXPORTS_BEGIN

class DVRibbonBar : public Dravik::UI::RibbonBar {
    DECLARE_DYNCREATE(DVRibbonBar)
public:
    // The PDM popup's control id.
    static constexpr int kOrsaPopupId = 0x10000;

    // The command's icon from the command bars' images (another size when the command has none
    // of this one); none when the command has no icon.
    HICON GetControlIcon(CXTPControl* control, int size) override;

    // Null until the frame's set-up added it.
    CXTPControlPopup* GetOrsaPopup() const { return m_orsaPopup; }
    void SetOrsaPopup(CXTPControlPopup* popup) { m_orsaPopup = popup; }

    // The first library tab with the GUID (braced text form); null when none has it.
    Dravik::UI::RibbonTab* FindTabByGuid(std::wstring_view guid) const;

private:
    CXTPControlPopup* m_orsaPopup = nullptr;
};

DV_EXPORTS_END
