#include "frame/FindCommandButton.h"

#include "frame/MainFrame.h"

#include "XTToolkitPro.h"

#include <algorithm>

CRect PlaceBelowButton(const CRect& button, CSize size, const CRect& workArea) {
    const int width = std::clamp<int>(size.cx, 0, workArea.Width());
    const int height = std::clamp<int>(size.cy, 0, workArea.Height());
    int left = button.left + (button.Width() - width) / 2;
    int top = button.bottom;
    left = std::clamp(left, static_cast<int>(workArea.left), static_cast<int>(workArea.right) - width);
    top = std::clamp(top, static_cast<int>(workArea.top), static_cast<int>(workArea.bottom) - height);
    return CRect(left, top, left + width, top + height);
}

namespace {

CSize SizeOf(HWND window) {
    RECT r{};
    if (window == nullptr || !::GetWindowRect(window, &r))
        return CSize(0, 0);
    return CSize(r.right - r.left, r.bottom - r.top);
}

// The widest and the tallest of the windows the pane shows in: its own content, and the
// floating frame around it or the container it has to itself.
CSize PaneSize(CXTPDockingPane* pane) {
    HWND content = pane->GetChildHwnd();
    CSize size = SizeOf(content);
    auto* tabs = dynamic_cast<CXTPDockingPaneTabbedContainer*>(pane->GetContainer());
    const bool alone = tabs != nullptr && tabs->GetPanes().size() == 1;
    if (content != nullptr && (pane->IsFloating() || alone)) {
        const CSize around =
            SizeOf(pane->IsFloating() ? ::GetAncestor(content, GA_ROOT) : ::GetParent(content));
        size.cx = std::max(size.cx, around.cx);
        size.cy = std::max(size.cy, around.cy);
    }
    return size;
}

} // namespace

void FindCommandButton::OnExecute() {
    CXTPCommandBars* bars = GetCommandBars();
    auto* frame = bars != nullptr ? dynamic_cast<CMainFrame*>(bars->GetSite()) : nullptr;
    CXTPDockingPane* pane = frame != nullptr ? frame->GetPaneManager().FindPane(kPaneId) : nullptr;
    CXTPCommandBar* bar = GetParent();
    if (pane != nullptr && bar != nullptr && ::IsWindow(bar->m_hWnd)) {
        CRect button = GetRect();
        bar->ClientToScreen(&button);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (::GetMonitorInfoW(::MonitorFromRect(&button, MONITOR_DEFAULTTONEAREST), &monitor)) {
            const CRect place = PlaceBelowButton(button, PaneSize(pane), CRect(monitor.rcWork));
            frame->GetPaneManager().FloatPane(pane, place);
            frame->GetPaneManager().ShowPane(pane);
        }
    }
    CXTPControlButton::OnExecute();
}
