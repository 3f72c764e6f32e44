// Document servers: automation (afxdisp.h) and the template server.
#pragma once

#include "afxdisp.h"

#include "afx/oletemplate.h"
