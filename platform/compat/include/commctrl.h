// The conventional header of the common controls.
#pragma once

#include "windows.h"
