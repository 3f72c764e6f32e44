// The tool kit's conventional umbrella header.
#pragma once

#include "pal/visibility.h"
#include "xtp/CommandBarsOptions.h"
#include "xtp/ImageManager.h"
#include "xtp/PaintManager.h"
#include "xtp/PropExchange.h"
#include "xtp/ShortcutManager.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
