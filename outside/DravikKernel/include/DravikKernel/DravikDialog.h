// The kernel's dialog base: the dialogs of the maker's libraries and those the shell builds on
// the kernel's templates derive from it.
#pragma once

#include "afx/dialog.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CDravikDialog : public CDialog {
    DECLARE_DYNAMIC(CDravikDialog)
public:
    CDravikDialog() = default;
    explicit CDravikDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr) : CDialog(nIDTemplate, pParentWnd) {}
};

DV_EXPORTS_END
