// The one marker of a path whose pieces are not built yet: every placeholder and every handler
// that answers a constant in their stead goes through it. Each call site logs once per process,
// at the progress level: "Not built yet: <what> (<file>:<line>)". Search the sources for
// DV_NOT_BUILT_YET, or a log for "Not built yet:", to find them all.
#pragma once

#include "DVDiagnostics/DVLog.h"
#include "pal/visibility.h"

#include <mutex>

DV_EXPORTS_BEGIN

// Writes the marker's line; call it through DV_NOT_BUILT_YET, which writes it once per site.
void DVNotBuiltYet(const char* what, const char* file, int line);

DV_EXPORTS_END

#define DV_NOT_BUILT_YET(what)                                                                               \
    do {                                                                                                     \
        static std::once_flag dvNotBuiltYetOnce;                                                             \
        std::call_once(dvNotBuiltYetOnce, [] { DVNotBuiltYet(what, __FILE__, __LINE__); });                  \
    } while (false)
