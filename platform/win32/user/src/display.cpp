// Virtual monitors, system metrics and dots per inch. Metrics are the platform's at 96 dpi,
// scaled by the primary monitor's dpi.
#include "driver.h"
#include "model.h"

#include "pal/detail/user_control.h"
#include "pal/responder.h"

#include <algorithm>
#include <climits>
#include <mutex>

namespace pal::win {
namespace {

struct Monitors {
    std::mutex mutex; // taken after the model lock, never before it
    std::vector<pal::detail::MonitorSpec> list;
};

std::vector<pal::detail::MonitorSpec> defaultMonitors() {
    return {pal::detail::MonitorSpec{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96}};
}

Monitors& monitors() {
    static auto* m = new Monitors{{}, defaultMonitors()};
    return *m;
}

// The monitors for a reader: the screen's once the display is chosen, so the display is chosen
// first when nothing has chosen it yet.
Monitors& shownMonitors() {
    ensureDisplay();
    return monitors();
}

HMONITOR handleOf(size_t index) {
    return reinterpret_cast<HMONITOR>(static_cast<std::uintptr_t>(0x10001 + index));
}

bool indexOf(HMONITOR h, size_t count, size_t& index) {
    const auto v = reinterpret_cast<std::uintptr_t>(h);
    if (v < 0x10001 || v - 0x10001 >= count)
        return false;
    index = v - 0x10001;
    return true;
}

LONG area(const RECT& r) {
    return IsRectEmpty(&r) ? 0 : (r.right - r.left) * (r.bottom - r.top);
}

// Squared distance from a point to a rectangle, in 64 bits: points may lie anywhere.
long long distance(const RECT& r, POINT p) {
    const long long x = p.x, y = p.y;
    const long long dx = x < r.left ? r.left - x : x >= r.right ? x - r.right + 1 : 0;
    const long long dy = y < r.top ? r.top - y : y >= r.bottom ? y - r.bottom + 1 : 0;
    return dx * dx + dy * dy;
}

HMONITOR fallback(const std::vector<pal::detail::MonitorSpec>& list, POINT p, DWORD flags) {
    if (flags == MONITOR_DEFAULTTOPRIMARY)
        return handleOf(0);
    if (flags == MONITOR_DEFAULTTONEAREST) {
        size_t best = 0;
        for (size_t i = 1; i < list.size(); ++i) {
            if (distance(list[i].rect, p) < distance(list[best].rect, p))
                best = i;
        }
        return handleOf(best);
    }
    return nullptr;
}

HMONITOR fromPoint(POINT p, DWORD flags) {
    Monitors& m = shownMonitors();
    std::lock_guard lock(m.mutex);
    for (size_t i = 0; i < m.list.size(); ++i) {
        if (PtInRect(&m.list[i].rect, p))
            return handleOf(i);
    }
    return fallback(m.list, p, flags);
}

HMONITOR fromRect(const RECT& r, DWORD flags) {
    // An empty rectangle, such as a window of no size, is on the monitor of its corner.
    if (IsRectEmpty(&r))
        return fromPoint(POINT{r.left, r.top}, flags);
    Monitors& m = shownMonitors();
    std::lock_guard lock(m.mutex);
    size_t best = SIZE_MAX;
    LONG bestArea = 0;
    for (size_t i = 0; i < m.list.size(); ++i) {
        RECT overlap{};
        IntersectRect(&overlap, &r, &m.list[i].rect);
        if (area(overlap) > bestArea) {
            bestArea = area(overlap);
            best = i;
        }
    }
    if (best != SIZE_MAX)
        return handleOf(best);
    const auto mid = [](LONG a, LONG b) { return static_cast<LONG>((static_cast<long long>(a) + b) / 2); };
    return fallback(m.list, POINT{mid(r.left, r.right), mid(r.top, r.bottom)}, flags);
}

// Metrics at 96 dpi; those marked fixed are counts or flags and do not scale.
struct Metric {
    int index;
    int value;
    bool fixed;
};
constexpr Metric kMetrics[] = {
    {SM_CXVSCROLL, 17, false},       {SM_CYHSCROLL, 17, false},       {SM_CYCAPTION, 23, false},
    {SM_CXBORDER, 1, false},         {SM_CYBORDER, 1, false},         {SM_CXFIXEDFRAME, 3, false},
    {SM_CYFIXEDFRAME, 3, false},     {SM_CYVTHUMB, 17, false},        {SM_CXHTHUMB, 17, false},
    {SM_CXICON, 32, false},          {SM_CYICON, 32, false},          {SM_CXCURSOR, 32, false},
    {SM_CYCURSOR, 32, false},        {SM_CYMENU, 20, false},          {SM_MOUSEPRESENT, 1, true},
    {SM_CYVSCROLL, 17, false},       {SM_CXHSCROLL, 17, false},       {SM_SWAPBUTTON, 0, true},
    {SM_CXMIN, 136, false},          {SM_CYMIN, 39, false},           {SM_CXSIZE, 36, false},
    {SM_CYSIZE, 22, false},          {SM_CXFRAME, 4, false},          {SM_CYFRAME, 4, false},
    {SM_CXMINTRACK, 136, false},     {SM_CYMINTRACK, 39, false},      {SM_CXDOUBLECLK, 4, false},
    {SM_CYDOUBLECLK, 4, false},      {SM_CXICONSPACING, 75, false},   {SM_CYICONSPACING, 75, false},
    {SM_MENUDROPALIGNMENT, 0, true}, {SM_CXEDGE, 2, false},           {SM_CYEDGE, 2, false},
    {SM_CXSMICON, 16, false},        {SM_CYSMICON, 16, false},        {SM_CYSMCAPTION, 19, false},
    {SM_CXSMSIZE, 19, false},        {SM_CYSMSIZE, 19, false},        {SM_CXMENUSIZE, 19, false},
    {SM_CYMENUSIZE, 19, false},      {SM_CXMENUCHECK, 15, false},     {SM_CYMENUCHECK, 15, false},
    {SM_MOUSEWHEELPRESENT, 1, true}, {SM_SAMEDISPLAYFORMAT, 1, true}, {SM_CXFOCUSBORDER, 1, false},
    {SM_CYFOCUSBORDER, 1, false},    {SM_CXPADDEDBORDER, 4, false},   {SM_REMOTESESSION, 0, true},
};

} // namespace

RECT primaryMonitorRect() {
    std::lock_guard lock(shownMonitors().mutex);
    return shownMonitors().list.front().rect;
}

RECT primaryWorkArea() {
    std::lock_guard lock(shownMonitors().mutex);
    return shownMonitors().list.front().work;
}

RECT workAreaNear(const RECT& screen) {
    const HMONITOR h = fromRect(screen, MONITOR_DEFAULTTONEAREST);
    std::lock_guard lock(shownMonitors().mutex);
    size_t i = 0;
    indexOf(h, shownMonitors().list.size(), i);
    return shownMonitors().list[i].work;
}

} // namespace pal::win

using namespace pal::win;

HMONITOR MonitorFromRect(LPCRECT rect, DWORD flags) {
    if (!rect)
        return nullptr;
    return fromRect(*rect, flags);
}

HMONITOR MonitorFromPoint(POINT point, DWORD flags) {
    return fromPoint(point, flags);
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
    RECT r{};
    bool minimised = false;
    {
        // A minimised window parks off screen; it belongs where it would be restored.
        Lock lock = lockModel();
        if (const Window* w = find(hwnd); w && (w->style & WS_MINIMIZE) && !w->parent) {
            r = w->normal;
            minimised = true;
        }
    }
    if (!minimised && !GetWindowRect(hwnd, &r)) {
        std::lock_guard lock(shownMonitors().mutex);
        return flags == MONITOR_DEFAULTTONULL ? nullptr : handleOf(0);
    }
    return fromRect(r, flags);
}

BOOL GetMonitorInfoW(HMONITOR monitor, LPMONITORINFO info) {
    if (!info || (info->cbSize != sizeof(MONITORINFO) && info->cbSize != sizeof(MONITORINFOEXW))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard lock(shownMonitors().mutex);
    size_t i = 0;
    if (!indexOf(monitor, shownMonitors().list.size(), i)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const auto& m = shownMonitors().list[i];
    info->rcMonitor = m.rect;
    info->rcWork = m.work;
    info->dwFlags = i == 0 ? MONITORINFOF_PRIMARY : 0;
    if (info->cbSize == sizeof(MONITORINFOEXW)) {
        const std::wstring name = L"\\\\.\\DISPLAY" + std::to_wstring(i + 1);
        copyText(name, static_cast<MONITORINFOEXW*>(info)->szDevice, CCHDEVICENAME);
    }
    return TRUE;
}

BOOL EnumDisplayMonitors(HDC dc, LPCRECT clip, MONITORENUMPROC proc, LPARAM param) {
    if (!proc)
        return FALSE;
    std::vector<pal::detail::MonitorSpec> list;
    {
        std::lock_guard lock(shownMonitors().mutex);
        list = shownMonitors().list;
    }
    for (size_t i = 0; i < list.size(); ++i) {
        RECT r = list[i].rect;
        if (clip && !IntersectRect(&r, &r, clip))
            continue;
        if (!proc(handleOf(i), dc, &r, param))
            break;
    }
    return TRUE;
}

int GetSystemMetrics(int index) {
    std::vector<pal::detail::MonitorSpec> list;
    {
        std::lock_guard lock(shownMonitors().mutex);
        list = shownMonitors().list;
    }
    const auto& primary = list.front();
    const UINT dpi = primary.dpi ? primary.dpi : 96;
    auto scaled = [dpi](int v) { return static_cast<int>((static_cast<long long>(v) * dpi + 48) / 96); };
    RECT virtualScreen = primary.rect;
    for (const auto& m : list)
        UnionRect(&virtualScreen, &virtualScreen, &m.rect);
    const int frame = scaled(4) + scaled(4); // sizing frame and padded border of a maximised window
    switch (index) {
    case SM_CXSCREEN:
        return primary.rect.right - primary.rect.left;
    case SM_CYSCREEN:
        return primary.rect.bottom - primary.rect.top;
    case SM_CXFULLSCREEN:
        return primary.work.right - primary.work.left;
    case SM_CYFULLSCREEN:
        return primary.work.bottom - primary.work.top - scaled(23);
    case SM_CXMAXIMIZED:
        return primary.work.right - primary.work.left + 2 * frame;
    case SM_CYMAXIMIZED:
        return primary.work.bottom - primary.work.top + 2 * frame;
    case SM_CXMAXTRACK:
        return virtualScreen.right - virtualScreen.left + 2 * frame;
    case SM_CYMAXTRACK:
        return virtualScreen.bottom - virtualScreen.top + 2 * frame;
    case SM_XVIRTUALSCREEN:
        return virtualScreen.left;
    case SM_YVIRTUALSCREEN:
        return virtualScreen.top;
    case SM_CXVIRTUALSCREEN:
        return virtualScreen.right - virtualScreen.left;
    case SM_CYVIRTUALSCREEN:
        return virtualScreen.bottom - virtualScreen.top;
    case SM_CMONITORS:
        return static_cast<int>(list.size());
    case SM_SHUTTINGDOWN:
        return pal::responder::displayLost() ? 1 : 0;
    default:
        break;
    }
    for (const Metric& m : kMetrics) {
        if (m.index == index)
            return m.fixed ? m.value : scaled(m.value);
    }
    return 0;
}

UINT GetDpiForSystem() {
    std::lock_guard lock(shownMonitors().mutex);
    return shownMonitors().list.front().dpi;
}

UINT GetDpiForWindow(HWND hwnd) {
    RECT r{};
    if (!GetWindowRect(hwnd, &r))
        return 0;
    const HMONITOR h = fromRect(r, MONITOR_DEFAULTTONEAREST);
    std::lock_guard lock(shownMonitors().mutex);
    size_t i = 0;
    indexOf(h, shownMonitors().list.size(), i);
    return shownMonitors().list[i].dpi;
}

namespace pal::detail {

void setMonitors(const std::vector<MonitorSpec>& list) {
    std::lock_guard lock(monitors().mutex);
    monitors().list = list.empty() ? defaultMonitors() : list;
}

} // namespace pal::detail
