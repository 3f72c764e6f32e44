// The base of the program's small dialogs built from templates of this library.
#pragma once

#include "afx/dialog.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CDravikXTPDialog : public CDialog {
public:
    using CDialog::CDialog;
};

DV_EXPORTS_END
