// Test hooks of the diagnostics library: the log's in-memory capture and the stand-ins'
// call record. Product targets cannot include this header.
#pragma once

#include <string>
#include <vector>

namespace dvlog::test {

struct Line {
    int level = 0;
    std::string text; // UTF-8, without the time and level prefix
};

// The lines written since the last clear, oldest first (the capture keeps the latest 10000).
std::vector<Line> captured();
void clearCapture();
// The texts of the captured lines of one level.
std::vector<std::string> capturedAt(int level);

} // namespace dvlog::test

namespace dvtrace::test {

struct Call {
    std::string library;
    std::string call;
};

std::vector<Call> calls();
// The calls of one library only, as their call texts.
std::vector<std::string> callsOf(const std::string& library);
void clear();

} // namespace dvtrace::test
