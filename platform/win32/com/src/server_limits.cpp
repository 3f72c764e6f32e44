#include "server_limits.h"

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

} // namespace pal::com::detail
