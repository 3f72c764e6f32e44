#include "server_limits.h"

#include "pal/com/detail/server_control.h"

#include <algorithm>
#include <system_error>
#include <thread>

namespace pal::com::detail {

ServerLimits& serverLimits() {
    static ServerLimits* limits = new ServerLimits; // read by threads that outlive static destruction
    return *limits;
}

bool startThread(std::function<void()> body) {
    auto& refuse = serverLimits().refuseThreadStarts;
    for (int left = refuse.load(); left > 0;)
        if (refuse.compare_exchange_weak(left, left - 1))
            return false;
    try {
        std::thread(std::move(body)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

bool IncomingBudget::tryTake(std::size_t bytes) {
    std::lock_guard lock(mutex_);
    const std::size_t limit = serverLimits().incomingBytes.load();
    if (held_ > limit || bytes > limit - held_)
        return false;
    held_ += bytes;
    return true;
}

void IncomingBudget::give(std::size_t bytes) {
    std::lock_guard lock(mutex_);
    held_ -= std::min(bytes, held_);
}

bool IncomingBudget::fitsAtAll(std::size_t bytes) {
    return bytes <= serverLimits().incomingBytes.load();
}

IncomingBudget& incomingBudget() {
    static IncomingBudget* budget = new IncomingBudget;
    return *budget;
}

ServerLimitSettings serverLimitSettings() {
    const auto& l = serverLimits();
    return {std::chrono::milliseconds(l.readTimeoutMs.load()),
            std::chrono::milliseconds(l.writeTimeoutMs.load()), l.incomingBytes.load(),
            std::chrono::milliseconds(l.idleTimeoutMs.load())};
}

void setServerLimitSettings(const ServerLimitSettings& settings) {
    auto& l = serverLimits();
    l.readTimeoutMs = settings.readTimeout.count();
    l.writeTimeoutMs = settings.writeTimeout.count();
    l.incomingBytes = settings.incomingBytes;
    l.idleTimeoutMs = settings.idleTimeout.count();
}

void restoreServerLimits() {
    const ServerLimits shipped;
    setServerLimitSettings({std::chrono::milliseconds(shipped.readTimeoutMs.load()),
                            std::chrono::milliseconds(shipped.writeTimeoutMs.load()),
                            shipped.incomingBytes.load(),
                            std::chrono::milliseconds(shipped.idleTimeoutMs.load())});
    serverLimits().refuseThreadStarts = 0;
}

void refuseThreadStarts(int count) {
    serverLimits().refuseThreadStarts = count;
}

std::uint64_t failedAccepts() {
    return serverLimits().failedAccepts.load();
}

} // namespace pal::com::detail
