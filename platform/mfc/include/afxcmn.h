// The conventional header of the common controls' classes.
#pragma once

#include "afxwin.h"
#include "afx/listctrl.h"
#include "afx/tabctrl.h"
#include "afx/treectrl.h"
