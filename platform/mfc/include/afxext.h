// Extensions of the class library (bars, splitters and the like) grow here; for now the
// windows of afxwin.h.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
