#include "DravikUI/Windows.h"

#include "DravikKernel/UIModuleProxy.h"

#include <algorithm>
#include <cwctype>
#include <mutex>
#include <string>

namespace Dravik::UI {

namespace {

// Shifts [low, high) into [areaLow, areaHigh), cutting it when it is longer.
void fit(LONG& low, LONG& high, LONG areaLow, LONG areaHigh) {
    const LONG length = std::min(high - low, areaHigh - areaLow);
    if (low < areaLow)
        low = areaLow;
    else if (low + length > areaHigh)
        low = areaHigh - length;
    high = low + length;
}

} // namespace

bool EnsureIsVisible(RECT& rect, bool wholeMonitor) {
    HMONITOR monitor = ::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!monitor || !::GetMonitorInfoW(monitor, &info))
        return false;
    const RECT area = wholeMonitor ? info.rcMonitor : info.rcWork;
    const RECT before = rect;
    fit(rect.left, rect.right, area.left, area.right);
    fit(rect.top, rect.bottom, area.top, area.bottom);
    return !::EqualRect(&before, &rect);
}

bool EnsureIsVisible(CWnd* window, bool wholeMonitor) {
    if (!window || !::IsWindow(window->GetSafeHwnd()))
        return false;
    CRect rect;
    window->GetWindowRect(&rect);
    const bool child = (window->GetStyle() & WS_CHILD) != 0;
    if (child && ::MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr)
        return false;
    if (!EnsureIsVisible(static_cast<RECT&>(rect), wholeMonitor))
        return false;
    if (child)
        window->GetParent()->ScreenToClient(&rect);
    window->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

bool IsEditBox(HWND window) {
    if (!window || !::IsWindow(window))
        return false;
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    std::wstring cls(name);
    std::transform(cls.begin(), cls.end(), cls.begin(), [](wchar_t c) { return std::towlower(c); });
    // The edit part of a combo box is an "Edit" child of it, so the class alone tells.
    return cls == L"edit" || cls.starts_with(L"richedit");
}

std::shared_ptr<CWnd> GetDockingPaneDummyWindow(bool create) {
    static std::mutex mutex;
    static std::weak_ptr<CWnd> held;
    std::lock_guard lock(mutex);
    // A window that went another way (destroyed with its thread's windows) is made again.
    if (auto window = held.lock(); window && ::IsWindow(window->GetSafeHwnd()))
        return window;
    if (!create)
        return nullptr;
    auto* window = new CWnd;
    // A hidden top-level popup: pane windows under it are neither shown nor laid out.
    if (!window->CreateEx(0, nullptr, L"DockingPaneDummyWindow", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr)) {
        delete window;
        return nullptr;
    }
    std::shared_ptr<CWnd> shared(window, [](CWnd* w) {
        if (::IsWindow(w->GetSafeHwnd()))
            w->DestroyWindow();
        delete w;
    });
    held = shared;
    return shared;
}

CFrameWnd* GetFirstMainFrame() {
    const auto frames = UIModuleProxy::Instance().GetMainFrames();
    return frames.empty() ? nullptr : frames.front();
}

CFrameWnd* GetNextMainFrame(CFrameWnd* frame) {
    const auto frames = UIModuleProxy::Instance().GetMainFrames();
    const auto found = std::find(frames.begin(), frames.end(), frame);
    if (found == frames.end() || std::next(found) == frames.end())
        return nullptr;
    return *std::next(found);
}

} // namespace Dravik::UI
