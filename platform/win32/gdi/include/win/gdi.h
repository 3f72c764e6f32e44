// The drawing layer of the substitute: device contexts over pixel surfaces, drawing objects,
// regions, drawing and raster operations, and the system colours.
#pragma once

#include "win/base.h"
#include "win/error.h"
#include "win/rect.h"
#include "win/types.h"

#include "win/gdi/bitmap.h"
#include "win/gdi/colors.h"
#include "win/gdi/dc.h"
#include "win/gdi/icon.h"
#include "win/gdi/imagelist.h"
#include "win/gdi/draw.h"
#include "win/gdi/objects.h"
#include "win/gdi/region.h"
#include "win/gdi/text.h"
