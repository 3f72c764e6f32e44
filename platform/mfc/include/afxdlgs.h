// The class library's standard dialogs.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include "afx/filedialog.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
