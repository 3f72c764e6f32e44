// Hooks into the automation server for tests only. Product targets cannot include this header.
#pragma once

#include "pal/com/detail/server_control.h"

namespace pal::com::test {

// What this process's server grants its clients; tests shorten the timeouts so a stalled
// client is seen in a fraction of a second.
using ServerLimits = detail::ServerLimitSettings;
ServerLimits serverLimits();
void setServerLimits(const ServerLimits& limits);
// Back to the limits the product ships with.
void resetServerLimits();

// The next `count` threads the server starts fail to start, as when the process is out of
// threads or memory.
void refuseThreadStarts(int count);

// Accepts that have failed for lack of descriptors or memory since the process began.
std::uint64_t failedAccepts();

} // namespace pal::com::test
