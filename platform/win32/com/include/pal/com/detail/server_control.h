// Shortening the automation server's limits and starving it of threads, which no program does:
// the seam that the test-only hooks library (pal/test/com_hooks.h) is built on.
#pragma once

#include "pal/visibility.h"

#include <chrono>
#include <cstddef>
#include <cstdint>

DV_EXPORTS_BEGIN

namespace pal::com::detail {

struct ServerLimitSettings {
    std::chrono::milliseconds readTimeout;
    std::chrono::milliseconds writeTimeout;
    std::size_t incomingBytes;
    // How long a connection may sit between frames before it is closed, when it holds no object,
    // or when a new client finds every place taken.
    std::chrono::milliseconds idleTimeout{30'000};
};
ServerLimitSettings serverLimitSettings();
void setServerLimitSettings(const ServerLimitSettings& settings);
// Back to the limits the product ships with, threads no longer refused.
void restoreServerLimits();

// The next `count` threads the server starts fail to start.
void refuseThreadStarts(int count);
// Accepts that have failed for lack of descriptors or memory since the process began.
std::uint64_t failedAccepts();

} // namespace pal::com::detail

DV_EXPORTS_END
