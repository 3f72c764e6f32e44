// Document servers: automation (afxdisp.h) and the template server.
#pragma once

#include "afxdisp.h"
#include "pal/visibility.h"

#include "afx/oletemplate.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
