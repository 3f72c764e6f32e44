// The drop targets registered for windows of this program.
#include "drop_link.h"
#include "drop_session.h"
#include "ole_thread.h"

#include <map>
#include <mutex>

namespace pal::ole {
namespace {

struct Targets {
    std::mutex mutex;
    std::map<HWND, IDropTarget*> byWindow;

    // Forgets targets of windows that have gone without revoking them.
    void prune() {
        for (auto it = byWindow.begin(); it != byWindow.end();) {
            if (IsWindow(it->first)) {
                ++it;
            } else {
                it->second->Release();
                it = byWindow.erase(it);
            }
        }
    }
};

Targets& targets() {
    static Targets* t = new Targets;
    return *t;
}

} // namespace

IDropTarget* registeredTarget(HWND hwnd) {
    Targets& t = targets();
    std::lock_guard lock(t.mutex);
    auto it = t.byWindow.find(hwnd);
    if (it == t.byWindow.end() || !IsWindow(hwnd))
        return nullptr;
    it->second->AddRef();
    return it->second;
}

} // namespace pal::ole

HRESULT RegisterDragDrop(HWND hwnd, LPDROPTARGET target) {
    if (!pal::ole::oleInitialized())
        return CO_E_NOTINITIALIZED;
    if (!target)
        return E_INVALIDARG;
    if (!IsWindow(hwnd))
        return DRAGDROP_E_INVALIDHWND;
    {
        auto& t = pal::ole::targets();
        std::lock_guard lock(t.mutex);
        t.prune();
        if (t.byWindow.count(hwnd))
            return DRAGDROP_E_ALREADYREGISTERED;
        target->AddRef();
        t.byWindow[hwnd] = target;
    }
    pal::ole::listenForDrops();
    return S_OK;
}

HRESULT RevokeDragDrop(HWND hwnd) {
    IDropTarget* gone = nullptr;
    {
        auto& t = pal::ole::targets();
        std::lock_guard lock(t.mutex);
        auto it = t.byWindow.find(hwnd);
        if (it == t.byWindow.end())
            return IsWindow(hwnd) ? DRAGDROP_E_NOTREGISTERED : DRAGDROP_E_INVALIDHWND;
        gone = it->second;
        t.byWindow.erase(it);
    }
    gone->Release();
    return S_OK;
}
