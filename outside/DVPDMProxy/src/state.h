// The work mix's switch, shared with the test hooks.
#pragma once

#include <atomic>
#include <string>

namespace dvpdm::detail {

std::atomic<bool>& workMixEnabled();
std::atomic<bool>& workMixCanConnect();
std::atomic<bool>& pdmProgramsInstalled();
// Set only by tests, while nothing else reads it.
std::wstring& connectionName();

} // namespace dvpdm::detail
