// Automation: dispatch maps, class factories, the application lock, the client's dispatch
// driver and the exceptions of automation calls.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include "afx/dispmap.h"
#include "afx/oledriver.h"
#include "afx/oleexcept.h"
#include "afx/olefactory.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
