// The tool kit's conventional umbrella header.
#pragma once

#include "pal/visibility.h"
#include "xtp/PaintManager.h"
#include "xtp/PropExchange.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
