// Document servers: automation (afxdisp.h) and the template server; data transfer: data
// sources and objects, drop sources and targets.
#pragma once

#include "afxdisp.h"
#include "pal/visibility.h"

#include "afx/oledata.h"
#include "afx/oletemplate.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
