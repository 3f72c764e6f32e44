// The diagnostics log of the maker's libraries. Every line carries a level, from 2 for
// information to 8 for a failure (6 a warning, 7 the failure of something optional).
// Lines go to one file per process under the user's local application data and to a
// bounded in-memory capture that tests read.
#pragma once

#include "pal/visibility.h"

#include <cstdarg>
#include <string>

DV_EXPORTS_BEGIN

// The levels every library writes at.
enum DVLogLevel : int {
    DVLogInfo = 2,            // information and timings
    DVLogWindowCreated = 3,   // "Created %s window 0x%08x"
    DVLogExpected = 4,        // an expected, harmless failure
    DVLogProgress = 5,        // a step skipped, or progress
    DVLogWarning = 6,         // a warning or a caught PDM exception
    DVLogOptionalFailure = 7, // the failure of something optional
    DVLogFailure = 8,
};

// 8-bit format: printf with the platform's rules, text taken as UTF-8.
void DVLog_WriteV(int level, const char* format, va_list args);
void DVLog_Write(int level, const char* format, ...);
// Wide format: in a wide format %s is wide and %hs narrow.
void DVLog_WriteWV(int level, const wchar_t* format, va_list args);

// The log's lock, held by a reader that must not see a half-written line. Recursive: the
// holder may still write. False when the lock could not be taken in reasonable time.
bool DVLog_Lock();
void DVLog_Unlock();

// The file of this process's log (it exists once the first line is written).
std::wstring DVLog_GetFileName();
bool DVLog_FileExists();

// Removes the log files of earlier runs that were last written more than `days` days ago.
// The file of this process is never removed.
void DVLog_Cleanup(int days);

DV_EXPORTS_END
