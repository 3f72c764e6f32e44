// The conventional header of the common controls' classes.
#pragma once

#include "afxwin.h"
