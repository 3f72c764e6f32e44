// Hooks into the base layer for tests only. Product targets cannot include this header.
#pragma once

#include <cstdint>
#include <string>

namespace pal::test {

// The clock.
void setManualClock(bool manual);
void advanceClock(std::uint64_t ms);

// The responder's queue of answers for this process, used first-in first-out.
void pushAnswer(int answer);
void clearAnswers();
size_t pendingAnswers();

// The atomic writer's failure injection: the next write fails at `step` with `error`.
enum class WriteStep { Open, Write, Fsync, Rename, DiskFull };
void injectWriteFailure(WriteStep step, int error);
void clearWriteFailure();

} // namespace pal::test
