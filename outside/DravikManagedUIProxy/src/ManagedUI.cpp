#include "DravikManagedUIProxy/DravikManagedUIProxy.h"

#include "DVDiagnostics/Trace.h"

#include <atomic>

namespace DravikManagedUIProxy {

void InitManagedResourcesWraps() {
    dvtrace::record("DravikManagedUIProxy", "InitManagedResourcesWraps()");
}

namespace {
std::atomic<bool> g_dark{false};
std::atomic<bool> g_shutDown{false};
} // namespace

void WpfAccessor::EnableDarkTheme(bool dark) {
    g_dark = dark;
    dvtrace::record("DravikManagedUIProxy", dark ? "EnableDarkTheme(true)" : "EnableDarkTheme(false)");
}

bool WpfAccessor::IsDarkThemeEnabled() {
    return g_dark;
}

void WpfAccessor::ShutdownDispatcher() {
    if (!g_shutDown.exchange(true))
        dvtrace::record("DravikManagedUIProxy", "ShutdownDispatcher()");
}

bool WpfAccessor::IsDispatcherShutDown() {
    return g_shutDown;
}

void StringResourceAccessor::UpdateResourcesCulture() {
    dvtrace::record("DravikManagedUIProxy", "UpdateResourcesCulture()");
}

} // namespace DravikManagedUIProxy
