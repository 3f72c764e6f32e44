#include "pal/test/com_hooks.h"

#include "server_limits.h"

namespace pal::com::test {

ServerLimits serverLimits() {
    const auto& l = detail::serverLimits();
    return {std::chrono::milliseconds(l.readTimeoutMs.load()),
            std::chrono::milliseconds(l.writeTimeoutMs.load()), l.incomingBytes.load()};
}

void setServerLimits(const ServerLimits& limits) {
    auto& l = detail::serverLimits();
    l.readTimeoutMs = limits.readTimeout.count();
    l.writeTimeoutMs = limits.writeTimeout.count();
    l.incomingBytes = limits.incomingBytes;
}

void resetServerLimits() {
    const detail::ServerLimits shipped;
    setServerLimits({std::chrono::milliseconds(shipped.readTimeoutMs.load()),
                     std::chrono::milliseconds(shipped.writeTimeoutMs.load()), shipped.incomingBytes.load()});
    detail::serverLimits().refuseThreadStarts = 0;
}

void refuseThreadStarts(int count) {
    detail::serverLimits().refuseThreadStarts = count;
}

std::uint64_t failedAccepts() {
    return detail::serverLimits().failedAccepts.load();
}

} // namespace pal::com::test
