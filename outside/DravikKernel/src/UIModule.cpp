#include "DravikKernel/UIModule.h"

#include <mutex>

namespace {

struct ModuleState {
    std::mutex mutex;
    CFrameWnd* active = nullptr;
    CFrameWnd* fake = nullptr;
    bool faking = false;
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
    module().active = module().fake = nullptr;
    module().faking = false;
    module().cancellation = nullptr;
}
} // namespace dvkernel

namespace UIModule {

CFrameWnd* GetActiveMainFrame() {
    std::lock_guard lock(module().mutex);
    return module().faking ? module().fake : module().active;
}

void SetActiveMainFrame(CFrameWnd* frame) {
    std::lock_guard lock(module().mutex);
    module().active = frame;
}

FakeActiveMainFrameManager::FakeActiveMainFrameManager(CFrameWnd* frame) {
    std::lock_guard lock(module().mutex);
    m_previous = module().fake;
    m_wasFaking = module().faking;
    module().fake = frame;
    module().faking = true;
}

FakeActiveMainFrameManager::~FakeActiveMainFrameManager() {
    std::lock_guard lock(module().mutex);
    module().fake = m_previous;
    module().faking = m_wasFaking;
}

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
