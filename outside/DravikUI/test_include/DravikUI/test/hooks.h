// Test hooks of the UI library stand-in; they live in DravikUI_test_hooks, which product targets
// never link.
#pragma once

#include <string>

namespace dvui::test {

// The DDE command that the next GetShellCommand takes.
void setPendingShellCommand(const std::wstring& command);

// The global context-menu container back to empty and not complete.
void resetContextMenus();

} // namespace dvui::test
