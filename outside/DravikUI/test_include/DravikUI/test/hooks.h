// Test hooks of the UI library stand-in. Product targets cannot include this header.
#pragma once

#include <string>

namespace dvui::test {

// The DDE command that the next GetShellCommand takes.
void setPendingShellCommand(const std::wstring& command);

} // namespace dvui::test
