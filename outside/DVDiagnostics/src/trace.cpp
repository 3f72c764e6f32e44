#include "DVDiagnostics/Trace.h"
#include "DVDiagnostics/test/hooks.h"

#include <deque>
#include <mutex>

namespace {

// Bounded like the log's capture, so a long-running program does not grow without end.
constexpr size_t kLimit = 20000;

struct TraceState {
    std::mutex mutex;
    std::deque<dvtrace::test::Call> calls;
};

TraceState& state() {
    static TraceState* s = new TraceState;
    return *s;
}

} // namespace

namespace dvtrace {

void record(std::string_view library, std::string call) {
    TraceState& s = state();
    std::lock_guard lock(s.mutex);
    if (s.calls.size() == kLimit)
        s.calls.pop_front();
    s.calls.push_back({std::string(library), std::move(call)});
}

namespace test {

std::vector<Call> calls() {
    TraceState& s = state();
    std::lock_guard lock(s.mutex);
    return {s.calls.begin(), s.calls.end()};
}

std::vector<std::string> callsOf(const std::string& library) {
    std::vector<std::string> out;
    for (auto& c : calls())
        if (c.library == library)
            out.push_back(std::move(c.call));
    return out;
}

void clear() {
    TraceState& s = state();
    std::lock_guard lock(s.mutex);
    s.calls.clear();
}

} // namespace test
} // namespace dvtrace
