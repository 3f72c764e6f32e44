#include "DravikKernel/UIModuleProxy.h"

#include <algorithm>
#include <mutex>

namespace {

struct Frames {
    std::mutex mutex;
    CWnd* mainWindow = nullptr;
    std::vector<CFrameWnd*> frames;
};

Frames& frames() {
    static Frames* f = new Frames;
    return *f;
}

} // namespace

namespace dvkernel {
// For the kernel's reset (detail/control.h).
void clearUiModule() {
    std::lock_guard lock(frames().mutex);
    frames().mainWindow = nullptr;
    frames().frames.clear();
}
} // namespace dvkernel

UIModuleProxy& UIModuleProxy::Instance() {
    static UIModuleProxy* instance = new UIModuleProxy;
    return *instance;
}

CWnd* UIModuleProxy::GetMainWindow() const {
    std::lock_guard lock(frames().mutex);
    return frames().mainWindow;
}

void UIModuleProxy::ForEachMainFrame(const std::function<void(CFrameWnd*)>& action) const {
    std::vector<CFrameWnd*> list;
    {
        std::lock_guard lock(frames().mutex);
        list = frames().frames;
    }
    // Not under the lock: an action may create or destroy frames.
    for (CFrameWnd* frame : list)
        action(frame);
}

void UIModuleProxy::SetMainWindow(CWnd* window) {
    std::lock_guard lock(frames().mutex);
    frames().mainWindow = window;
}

void UIModuleProxy::AddMainFrame(CFrameWnd* frame) {
    if (!frame)
        return;
    std::lock_guard lock(frames().mutex);
    auto& list = frames().frames;
    if (std::find(list.begin(), list.end(), frame) == list.end())
        list.push_back(frame);
}

void UIModuleProxy::RemoveMainFrame(CFrameWnd* frame) {
    std::lock_guard lock(frames().mutex);
    std::erase(frames().frames, frame);
}
