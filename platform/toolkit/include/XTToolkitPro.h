// The tool kit's conventional umbrella header.
#pragma once

#include "pal/visibility.h"
#include "xtp/CommandBar.h"
#include "xtp/CommandBars.h"
#include "xtp/ControlComboBox.h"
#include "xtp/ControlEdit.h"
#include "xtp/ControlGallery.h"
#include "xtp/ControlLabel.h"
#include "xtp/Controls.h"
#include "xtp/FrameWnd.h"
#include "xtp/MenuBar.h"
#include "xtp/MouseManager.h"
#include "xtp/PaintManager.h"
#include "xtp/PopupBar.h"
#include "xtp/PropExchange.h"
#include "xtp/RibbonBackstagePage.h"
#include "xtp/RibbonBackstageView.h"
#include "xtp/RibbonBar.h"
#include "xtp/RibbonGroup.h"
#include "xtp/RibbonPaintManager.h"
#include "xtp/RibbonTab.h"
#include "xtp/TabClientWnd.h"
#include "xtp/TabManager.h"
#include "xtp/ToolBar.h"
#include "xtp/ToolTipContext.h"
#include "xtp/WindowList.h"
#include "xtp/DockingPane.h"
#include "xtp/DockingPaneBase.h"
#include "xtp/DockingPaneDefines.h"
#include "xtp/DockingPaneLayout.h"
#include "xtp/DockingPaneManager.h"
#include "xtp/MultiMonitor.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
