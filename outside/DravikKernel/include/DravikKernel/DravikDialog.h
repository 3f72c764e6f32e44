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

    // The dialog's help button (ID_HELP): the application shows the topic it holds now, which a
    // dialog that pushed its own (HelpIDModifier) gets; nothing without a topic or application.
    void OnHelp();

protected:
    DECLARE_MESSAGE_MAP()
};

DV_EXPORTS_END
