// Test hooks of the diagnostics library: the log's in-memory capture and the stand-ins'
// call record. They live in DVDiagnostics_test_hooks, which product targets never link.
#pragma once

#include "DVDiagnostics/detail/capture.h"

#include <string>
#include <vector>

namespace dvlog::test {

using Line = detail::Line;

// The lines written since the last clear, oldest first (the capture keeps the latest 10000).
std::vector<Line> captured();
void clearCapture();
// The texts of the captured lines of one level.
std::vector<std::string> capturedAt(int level);

} // namespace dvlog::test

namespace dvtrace::test {

using Call = detail::Call;

std::vector<Call> calls();
// The calls of one library only, as their call texts.
std::vector<std::string> callsOf(const std::string& library);
void clear();

} // namespace dvtrace::test
