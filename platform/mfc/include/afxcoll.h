// Collections of the class library.
#pragma once

#include "afx.h"
#include "pal/visibility.h"

#include "afx/coll.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
