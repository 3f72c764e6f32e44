// The tool kit's conventional umbrella header.
#pragma once

#include "pal/visibility.h"
#include "xtp/PaintManager.h"
#include "xtp/PropExchange.h"
#include "xtp/RibbonBackstagePage.h"
#include "xtp/TabClientWnd.h"
#include "xtp/TabManager.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
