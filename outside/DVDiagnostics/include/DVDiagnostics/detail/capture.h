// What the log and the call record keep in memory, read from outside the library. Nothing in a
// program reads them: they are the seam that the test-only hooks library
// (DVDiagnostics/test/hooks.h) is built on.
#pragma once

#include "pal/visibility.h"

#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace dvlog::detail {

struct Line {
    int level = 0;
    std::string text; // UTF-8, without the time and level prefix
};

// The lines written since the last clear, oldest first (the latest 10000 are kept).
std::vector<Line> captured();
void clearCapture();

} // namespace dvlog::detail

namespace dvtrace::detail {

struct Call {
    std::string library;
    std::string call;
};

std::vector<Call> calls();
void clear();

} // namespace dvtrace::detail

DV_EXPORTS_END
