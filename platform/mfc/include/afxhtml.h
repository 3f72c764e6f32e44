// The HTML view.
#pragma once

#include "afxcoll.h"
#include "afxwin.h"
#include "pal/visibility.h"

#include "afx/htmlview.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
