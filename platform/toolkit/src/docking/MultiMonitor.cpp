#include "xtp/MultiMonitor.h"

#include <algorithm>

namespace {

MONITORINFO infoOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor == nullptr || !::GetMonitorInfoW(monitor, &info)) {
        info.rcMonitor = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        info.rcWork = info.rcMonitor;
    }
    return info;
}

HMONITOR monitorOf(HWND hWnd) {
    return hWnd != nullptr && ::IsWindow(hWnd) ? ::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST)
                                               : ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
}

// A rectangle that is not well formed (right before left) is taken at its corner.
HMONITOR monitorOf(const RECT& rc) {
    RECT r = rc;
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return ::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST);
}

} // namespace

CRect CXTPMultiMonitor::GetScreenArea(HWND hWnd) {
    return CRect(infoOf(monitorOf(hWnd)).rcMonitor);
}

CRect CXTPMultiMonitor::GetScreenArea(const CWnd* pWnd) {
    return GetScreenArea(pWnd != nullptr ? pWnd->m_hWnd : nullptr);
}

CRect CXTPMultiMonitor::GetScreenArea(const RECT& rc) {
    return CRect(infoOf(monitorOf(rc)).rcMonitor);
}

CRect CXTPMultiMonitor::GetScreenArea(POINT pt) {
    return CRect(infoOf(::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST)).rcMonitor);
}

CRect CXTPMultiMonitor::GetWorkArea(HWND hWnd) {
    return CRect(infoOf(monitorOf(hWnd)).rcWork);
}

CRect CXTPMultiMonitor::GetWorkArea(const RECT& rc) {
    return CRect(infoOf(monitorOf(rc)).rcWork);
}

CRect CXTPMultiMonitor::GetWorkArea(POINT pt) {
    return CRect(infoOf(::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST)).rcWork);
}

CRect CXTPMultiMonitor::FitToWorkArea(const RECT& rc, SIZE minSize) {
    // Sizes are taken in 64 bits: a stored rectangle may hold anything.
    const long long savedW = static_cast<long long>(rc.right) - rc.left;
    const long long savedH = static_cast<long long>(rc.bottom) - rc.top;
    const CRect work = GetWorkArea(rc);
    const long long maxW = std::max<long long>(1, work.Width());
    const long long maxH = std::max<long long>(1, work.Height());
    const long long w = std::clamp<long long>(savedW, std::min<long long>(minSize.cx, maxW), maxW);
    const long long h = std::clamp<long long>(savedH, std::min<long long>(minSize.cy, maxH), maxH);
    const long long x = std::clamp<long long>(rc.left, work.left, work.right - w);
    const long long y = std::clamp<long long>(rc.top, work.top, work.bottom - h);
    return CRect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + w), static_cast<int>(y + h));
}
