// Opening the log at a program's start, apart from the log's everyday functions: only a
// program's entry point asks for it.
#pragma once

#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

// Makes the file of this process's log now: a program that cannot keep a log says why (`why`
// gets the reason, naming the file) and ends before anything goes unrecorded.
bool DVLog_Open(std::string& why);

DV_EXPORTS_END
