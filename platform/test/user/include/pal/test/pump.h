// The test's message loop: it handles sent and posted messages, input, paints, due timers and
// idle work until nothing is left, so "after the next idle cycle" is a deterministic point.
// It never waits: what another thread has not yet sent is not there.
#pragma once

#include "pal/visibility.h"
#include "win/user.h"

#include <cstddef>
#include <functional>

DV_EXPORTS_BEGIN

namespace pal::test {

struct PumpOptions {
    // Offered each message first, as a program's pre-translation is; true when it handled it.
    std::function<bool(MSG&)> preTranslate;
    // Idle work with its count since the last message that restarts idling, as a program's
    // idle handler is: true while it wants more idle time.
    std::function<bool(long)> idle;
    // Whether a message restarts the idle count; every message does when unset.
    std::function<bool(const MSG&)> isIdleMessage;
    // A loop that has not drained after this many messages or idle calls fails the test.
    std::size_t limit = 100000;
};

struct PumpResult {
    std::size_t dispatched = 0;
    bool quit = false; // WM_QUIT was taken; the pump stopped there
    int exitCode = 0;
};

PumpResult pump(const PumpOptions& options = {});

} // namespace pal::test

DV_EXPORTS_END
