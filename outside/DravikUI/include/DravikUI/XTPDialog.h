// The base of the program's small dialogs built from templates of this library.
#pragma once

#include "afx/dialog.h"
#include "pal/visibility.h"
#include "xtp/ResizeDialog.h"

DV_EXPORTS_BEGIN

class CDravikXTPDialog : public CDialog {
public:
    using CDialog::CDialog;
};

// The same for dialogs whose controls follow their size.
class CDravikXTPResizeDialog : public CXTPResizeDialog {
public:
    using CXTPResizeDialog::CXTPResizeDialog;
};

DV_EXPORTS_END
