// Hooks into the base layer for tests only; they live in dvpal_base_test_hooks, which product
// targets never link.
#pragma once

#include "pal/detail/control.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace pal::test {

// The clock.
void setManualClock(bool manual);
void advanceClock(std::uint64_t ms);

// The responder's queue of answers for this process, used first-in first-out.
void pushAnswer(int answer);
// A text answer: an item's text, a path (several paths of one folder separated by '|').
void pushAnswer(const std::wstring& answer);
void clearAnswers();
// Empties the queue and reads DV_PAL_ANSWERS again at the next prompt, as a new process would.
void reloadAnswerScript();
std::size_t pendingAnswers();

// The atomic writer's failure injection: the next write fails at `step` with `error`.
using WriteStep = detail::WriteStep;
void injectWriteFailure(WriteStep step, int error);
void clearWriteFailure();

} // namespace pal::test
