#include "DVDiagnostics/test/hooks.h"

namespace dvlog::test {

std::vector<Line> captured() {
    return detail::captured();
}

void clearCapture() {
    detail::clearCapture();
}

std::vector<std::string> capturedAt(int level) {
    std::vector<std::string> out;
    for (auto& line : captured())
        if (line.level == level)
            out.push_back(std::move(line.text));
    return out;
}

} // namespace dvlog::test

namespace dvtrace::test {

std::vector<Call> calls() {
    return detail::calls();
}

std::vector<std::string> callsOf(const std::string& library) {
    std::vector<std::string> out;
    for (auto& c : calls())
        if (c.library == library)
            out.push_back(std::move(c.call));
    return out;
}

void clear() {
    detail::clear();
}

} // namespace dvtrace::test
