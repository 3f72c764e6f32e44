// The tool kit's conventional umbrella header.
#pragma once

#include "pal/visibility.h"
#include "xtp/CommandBarsOptions.h"
#include "xtp/Customize.h"
#include "xtp/ImageManager.h"
#include "xtp/MessageBar.h"
#include "xtp/PaintManager.h"
#include "xtp/Button.h"
#include "xtp/ControlTheme.h"
#include "xtp/PropExchange.h"
#include "xtp/PropertyPage.h"
#include "xtp/RecentFileList.h"
#include "xtp/ResizeDialog.h"
#include "xtp/ResourceManager.h"
#include "xtp/ShortcutManager.h"
#include "xtp/StatusBar.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
