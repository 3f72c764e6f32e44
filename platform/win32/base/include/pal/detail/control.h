// Control of the base layer's clock, responder and atomic writer from outside the layer. Nothing
// in a program calls these: they are the seam that the test-only hooks library (pal/test/hooks.h)
// is built on, and they stay out of the layer's public headers.
#pragma once

#include "pal/visibility.h"

#include <cstddef>
#include <cstdint>
#include <string>

DV_EXPORTS_BEGIN

namespace pal::detail {

// The clock stands still until advanced (a manual clock starts at 10 s, never at 0).
void setManualClock(bool manual);
void advanceClock(std::uint64_t ms);

// Answers the responder gives before its script, first-in first-out.
void pushAnswer(int answer);
void pushTextAnswer(const std::wstring& answer);
void clearAnswers();
// Empties the queue and reads DV_PAL_ANSWERS again at the next prompt, as a new process would.
void reloadAnswerScript();
std::size_t pendingAnswers();

// The next atomic write fails at `step` with `error`.
enum class WriteStep { Open, Write, Fsync, Rename, DiskFull };
void injectWriteFailure(WriteStep step, int error);
void clearWriteFailure();

} // namespace pal::detail

DV_EXPORTS_END
