// The program's log lines with wide and with 8-bit formats, over the diagnostics library.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

// In a wide format %ls and %s are wide, %hs narrow.
void DVLog_WriteW(int level, const wchar_t* format, ...);
void DVLog_WriteA(int level, const char* format, ...);

DV_EXPORTS_END
