// The UI library stand-in's state steered from outside the library. Nothing in a program calls
// these: they are the seam that the test-only hooks library (DravikUI/test/hooks.h) is built on.
#pragma once

#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

namespace dvui::detail {

// The DDE command that the next GetShellCommand takes.
void setPendingShellCommand(const std::wstring& command);

// The global context-menu container back to empty and not complete.
void resetContextMenus();

} // namespace dvui::detail

DV_EXPORTS_END
