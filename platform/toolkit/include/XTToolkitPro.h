// The tool kit's conventional umbrella header.
#pragma once

#include "xtp/PaintManager.h"
