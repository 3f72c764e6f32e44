// Hooks into the base layer for tests only; they live in dvpal_base_test_hooks, which product
// targets never link.
#pragma once

#include "pal/detail/control.h"

#include <cstddef>
#include <cstdint>

namespace pal::test {

// The clock.
void setManualClock(bool manual);
void advanceClock(std::uint64_t ms);

// The responder's queue of answers for this process, used first-in first-out.
void pushAnswer(int answer);
void clearAnswers();
std::size_t pendingAnswers();

// The atomic writer's failure injection: the next write fails at `step` with `error`.
using WriteStep = detail::WriteStep;
void injectWriteFailure(WriteStep step, int error);
void clearWriteFailure();

} // namespace pal::test
