// The tool kit's conventional umbrella header.
#pragma once

#include "pal/visibility.h"
#include "xtp/PaintManager.h"
#include "xtp/PropExchange.h"
#include "xtp/DockingPane.h"
#include "xtp/DockingPaneBase.h"
#include "xtp/DockingPaneDefines.h"
#include "xtp/DockingPaneLayout.h"
#include "xtp/DockingPaneManager.h"
#include "xtp/MultiMonitor.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
