// The tool kit's conventional umbrella header.
#pragma once

#include "pal/visibility.h"
#include "xtp/Button.h"
#include "xtp/CommandBar.h"
#include "xtp/CommandBars.h"
#include "xtp/CommandBarsOptions.h"
#include "xtp/ControlComboBox.h"
#include "xtp/ControlEdit.h"
#include "xtp/ControlGallery.h"
#include "xtp/ControlLabel.h"
#include "xtp/ControlTheme.h"
#include "xtp/Controls.h"
#include "xtp/Customize.h"
#include "xtp/FrameWnd.h"
#include "xtp/ImageManager.h"
#include "xtp/MenuBar.h"
#include "xtp/MessageBar.h"
#include "xtp/MouseManager.h"
#include "xtp/PaintManager.h"
#include "xtp/PopupBar.h"
#include "xtp/PropExchange.h"
#include "xtp/PropertyPage.h"
#include "xtp/RecentFileList.h"
#include "xtp/ResizeDialog.h"
#include "xtp/ResourceManager.h"
#include "xtp/ShortcutManager.h"
#include "xtp/StatusBar.h"
#include "xtp/ToolBar.h"
#include "xtp/ToolTipContext.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
