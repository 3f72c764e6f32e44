#include "DravikUI/ShellDDERespondWindow.h"
#include "DravikUI/detail/control.h"

#include "DVDiagnostics/Trace.h"
#include "pal/text.h"

#include <mutex>

namespace {

constexpr const char* kTraceName = "DravikUI";

struct Dde {
    std::mutex mutex;
    std::wstring pending;
};

Dde& dde() {
    static Dde* d = new Dde;
    return *d;
}

} // namespace

std::wstring ShellDDERespondWindow::GetShellCommand() {
    std::wstring command;
    {
        std::lock_guard lock(dde().mutex);
        command.swap(dde().pending);
    }
    dvtrace::record(kTraceName, "GetShellCommand() -> " + pal::text::toUtf8(command));
    return command;
}

namespace dvui::detail {

void setPendingShellCommand(const std::wstring& command) {
    std::lock_guard lock(dde().mutex);
    dde().pending = command;
}

} // namespace dvui::detail
