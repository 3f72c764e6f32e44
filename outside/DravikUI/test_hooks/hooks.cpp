#include "DravikUI/test/hooks.h"

#include "DravikUI/detail/control.h"

namespace dvui::test {

void setPendingShellCommand(const std::wstring& command) {
    detail::setPendingShellCommand(command);
}

void resetContextMenus() {
    detail::resetContextMenus();
}

} // namespace dvui::test
