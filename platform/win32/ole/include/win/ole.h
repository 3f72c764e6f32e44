// The clipboard, data objects and drag and drop of the substitute.
#pragma once

#include "pal/visibility.h"
#include "win/ole/clipboard.h"
#include "win/ole/dataobject.h"
#include "win/ole/dragdrop.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
