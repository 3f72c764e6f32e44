// The class library's core: objects and run-time classes, exceptions, strings and string
// resources, over the Windows substitute.
#pragma once

#include "pal/visibility.h"
#include "windows.h"

#include "afx/check.h"
#include "afx/except.h"
#include "afx/object.h"
#include "afx/resource.h"
#include "afxstr.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
