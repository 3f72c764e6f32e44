// One clock for tick counts, timers and elapsed-time measurements: the real monotonic clock
// in programs, a manual one that tests advance. Blocking waits always use real time, so a
// manual clock never hangs a wait.
#pragma once

#include "pal/visibility.h"

#include <cstdint>
#include <functional>

DV_EXPORTS_BEGIN

namespace pal::clock {

// Milliseconds since an arbitrary start.
std::uint64_t tickMs();
// Nanoseconds since an arbitrary start, for durations.
std::int64_t steadyNs();
bool isManual();

// Called after the manual clock moves, so timer owners can deliver what became due.
using AdvanceListener = std::function<void()>;
int addAdvanceListener(AdvanceListener listener);
void removeAdvanceListener(int id);

} // namespace pal::clock

DV_EXPORTS_END
