#include "DravikKernel/UIModule.h"

#include "DVDiagnostics/NotBuiltYet.h"

#include <mutex>

namespace {

// The active main frame lives with the list of frames (UIModuleProxy.cpp).
struct ModuleState {
    std::mutex mutex;
    HWND cancellation = nullptr;
};

ModuleState& module() {
    static ModuleState* s = new ModuleState;
    return *s;
}

} // namespace

namespace dvkernel {
void resetUiModuleState() {
    std::lock_guard lock(module().mutex);
    module().cancellation = nullptr;
}
} // namespace dvkernel

namespace UIModule {

HWND GetCancellationWindow() {
    std::lock_guard lock(module().mutex);
    return module().cancellation;
}

void SetCancellationWindow(HWND window) {
    std::lock_guard lock(module().mutex);
    module().cancellation = window;
}

void ResetCancellationWindow() {
    SetCancellationWindow(nullptr);
}

} // namespace UIModule

namespace UIModule {

void PreOpenDocument(const wchar_t* path) {
    (void)path;
    DV_NOT_BUILT_YET("the UI module's preparation of a path about to open: there is none to make");
}

} // namespace UIModule
