#include "pal/test/com_hooks.h"

namespace pal::com::test {

ServerLimits serverLimits() {
    return detail::serverLimitSettings();
}
void setServerLimits(const ServerLimits& limits) {
    detail::setServerLimitSettings(limits);
}
void resetServerLimits() {
    detail::restoreServerLimits();
}

void refuseThreadStarts(int count) {
    detail::refuseThreadStarts(count);
}
std::uint64_t failedAccepts() {
    return detail::failedAccepts();
}

} // namespace pal::com::test
