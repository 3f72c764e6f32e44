#include "DVDiagnostics/Trace.h"
#include "DVDiagnostics/detail/capture.h"

#include <deque>
#include <mutex>

namespace {

// Bounded like the log's capture, so a long-running program does not grow without end.
constexpr size_t kLimit = 20000;

struct TraceState {
    std::mutex mutex;
    std::deque<dvtrace::detail::Call> calls;
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

namespace detail {

std::vector<Call> calls() {
    TraceState& s = state();
    std::lock_guard lock(s.mutex);
    return {s.calls.begin(), s.calls.end()};
}

void clear() {
    TraceState& s = state();
    std::lock_guard lock(s.mutex);
    s.calls.clear();
}

} // namespace detail
} // namespace dvtrace
