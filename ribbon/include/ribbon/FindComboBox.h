// The combo box of control 1251: the person types the name of a drawing element and the
// element of that name is selected in the active view; the names found before in the drawing
// are offered in its drop-down list.
#pragma once

#include "XTToolkitPro.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CFindComboBox : public CXTPControlComboBox {
    DECLARE_DYNCREATE(CFindComboBox)
public:
    static constexpr int kWidth = 120; // at 96 dpi
    CFindComboBox();
    CXTPControl* Clone(BOOL bRecursive = FALSE) override;
    // Enter: searches the typed name.
    void OnExecute() override;
    // A name chosen from the list: put into the field, then searched.
    void OnSelChanged(int nIndex) override;
    // Offers the names found before in the drawing of the active view, the latest first.
    void OnSetFocus(HWND hwndOld) override;

private:
    void Search();
};

DV_EXPORTS_END
