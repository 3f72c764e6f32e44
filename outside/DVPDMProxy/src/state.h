// The work mix's switch, shared with the test hooks.
#pragma once

#include <atomic>

namespace dvpdm::detail {

std::atomic<bool>& workMixEnabled();

} // namespace dvpdm::detail
