#include "pal/clock.h"

#include "pal/detail/control.h"

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>

namespace pal::clock {
namespace {

struct State {
    std::atomic<bool> manual{false};
    std::atomic<std::int64_t> manualNs{10'000'000'000}; // a manual clock starts at 10 s, never at 0
    std::mutex listenersMutex;
    std::map<int, AdvanceListener> listeners;
    int nextId = 1;
};

State& state() {
    static State* s = new State;
    return *s;
}

std::int64_t realNs() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start)
               .count() +
           10'000'000'000;
}

} // namespace

std::int64_t steadyNs() {
    return state().manual ? state().manualNs.load() : realNs();
}
std::uint64_t tickMs() {
    return static_cast<std::uint64_t>(steadyNs() / 1'000'000);
}
bool isManual() {
    return state().manual;
}

int addAdvanceListener(AdvanceListener listener) {
    std::lock_guard lock(state().listenersMutex);
    const int id = state().nextId++;
    state().listeners.emplace(id, std::move(listener));
    return id;
}

void removeAdvanceListener(int id) {
    std::lock_guard lock(state().listenersMutex);
    state().listeners.erase(id);
}

} // namespace pal::clock

namespace pal::detail {

void setManualClock(bool manual) {
    auto& s = clock::state();
    if (manual && !s.manual)
        s.manualNs = 10'000'000'000;
    s.manual = manual;
}

void advanceClock(std::uint64_t ms) {
    auto& s = clock::state();
    s.manualNs += static_cast<std::int64_t>(ms) * 1'000'000;
    std::map<int, clock::AdvanceListener> copy;
    {
        std::lock_guard lock(s.listenersMutex);
        copy = s.listeners;
    }
    for (auto& [id, listener] : copy)
        listener();
}

} // namespace pal::detail
