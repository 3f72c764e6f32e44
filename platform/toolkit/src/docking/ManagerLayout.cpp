// Laying the shown layout out as windows of the site: the panes take their room from the
// frame's client area, the client gets what is left; floating frames and slid-out panes lie
// above.
#include "Palette.h"
#include "SplitterBar.h"
#include "xtp/DockingPaneManager.h"
#include "xtp/FrameWnd.h"
#include "xtp/MultiMonitor.h"
#include "xtp/PaintManager.h"

#include <algorithm>
#include <climits>
#include <map>

namespace {

using dvtk::docking::minClient;
using dvtk::docking::splitterWidth;

bool contains(const CXTPDockingPaneBase* node, const CXTPDockingPaneBase* inner) {
    for (const CXTPDockingPaneBase* n = inner; n != nullptr; n = n->GetContainer()) {
        if (n == node)
            return true;
    }
    return false;
}

// The limits of a node along an axis: the largest minimum and the smallest maximum of its panes.
std::pair<int, int> limits(const CXTPDockingPaneBase* node, bool horiz) {
    int lo = 0, hi = INT_MAX;
    if (const auto* tabbed = dynamic_cast<const CXTPDockingPaneTabbedContainer*>(node)) {
        for (const CXTPDockingPane* pane : tabbed->GetPanes()) {
            if (pane->IsClosed())
                continue;
            lo = std::max(lo,
                          static_cast<int>(horiz ? pane->GetMinTrackSize().cx : pane->GetMinTrackSize().cy));
            hi = std::min(hi,
                          static_cast<int>(horiz ? pane->GetMaxTrackSize().cx : pane->GetMaxTrackSize().cy));
        }
    }
    // Limits a program set that leave no room at all still leave a sliver.
    lo = std::clamp(lo, 0, 32000);
    return {lo, std::max({lo, hi, 20})};
}

} // namespace

BOOL CXTPDockingPaneManager::InstallDockingPanes(CWnd* pSite, BOOL bClipChildren) {
    if (pSite == nullptr || pSite->m_hWnd == nullptr || !::IsWindow(pSite->m_hWnd))
        return FALSE;
    unhookSite();
    m_pSite = pSite;
    if (bClipChildren)
        pSite->ModifyStyle(0, WS_CLIPCHILDREN);
    hookSite();
    // A frame with command bars shares its client's room with the panes after its bars.
    if (auto* frame = dynamic_cast<CFrameWnd*>(pSite);
        frame != nullptr && dynamic_cast<CXTPCommandBarsFrameHook*>(pSite)) {
        pal::xtp::setClientRoomTaker(frame, &CXTPDockingPaneManager::takeRoom, this);
        m_bRoomTaker = true;
    }
    RecalcFrameLayout();
    return TRUE;
}

namespace {

// A window whose procedure the manager put itself in front of. When someone else has put
// themselves in front since, the procedure cannot be taken back out: it then only forwards.
struct Hooked {
    CXTPDockingPaneManager* manager;
    WNDPROC next;
};

std::map<HWND, Hooked>& hooked() {
    static auto* windows = new std::map<HWND, Hooked>;
    return *windows;
}

WNDPROC hook(HWND hwnd, CXTPDockingPaneManager* manager, WNDPROC proc) {
    const auto next =
        reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
    hooked()[hwnd] = Hooked{manager, next};
    return next;
}

void unhook(HWND hwnd, WNDPROC proc) {
    auto it = hooked().find(hwnd);
    if (it == hooked().end())
        return;
    if (!::IsWindow(hwnd)) {
        hooked().erase(it);
    } else if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == proc) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.next));
        hooked().erase(it);
    } else {
        it->second.manager = nullptr;
    }
}

} // namespace

void CXTPDockingPaneManager::hookSite() {
    hook(m_pSite->m_hWnd, this, &CXTPDockingPaneManager::siteProc);
}

void CXTPDockingPaneManager::dropRoomTaker() {
    if (!m_bRoomTaker)
        return;
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pSite))
        pal::xtp::setClientRoomTaker(frame, nullptr, nullptr);
    m_bRoomTaker = false;
}

void CXTPDockingPaneManager::unhookSite() {
    unhookClient();
    if (m_pSite == nullptr)
        return;
    dropRoomTaker();
    unhook(m_pSite->m_hWnd, &CXTPDockingPaneManager::siteProc);
    m_pSite = nullptr;
}

void CXTPDockingPaneManager::hookClient(HWND client) {
    unhookClient();
    m_hwndClient = client;
    hook(client, this, &CXTPDockingPaneManager::clientProc);
}

void CXTPDockingPaneManager::unhookClient() {
    if (m_hwndClient == nullptr)
        return;
    unhook(m_hwndClient, &CXTPDockingPaneManager::clientProc);
    m_hwndClient = nullptr;
}

// Whoever places the frame's client (the frame after its bars, mostly) offers it a room: the
// panes take theirs from it and the client gets the rest.
LRESULT CXTPDockingPaneManager::clientProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto it = hooked().find(hwnd);
    if (it == hooked().end())
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    const Hooked h = it->second;
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(h.next));
        hooked().erase(it);
        if (h.manager != nullptr)
            h.manager->m_hwndClient = nullptr;
        return ::CallWindowProcW(h.next, hwnd, message, wParam, lParam);
    }
    if (message == WM_WINDOWPOSCHANGING && h.manager != nullptr && !h.manager->m_bInLayout) {
        auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
        if ((wp->flags & (SWP_NOSIZE | SWP_NOMOVE)) != (SWP_NOSIZE | SWP_NOMOVE)) {
            CRect now;
            ::GetWindowRect(hwnd, &now);
            ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<LPPOINT>(&now), 2);
            const CPoint at = (wp->flags & SWP_NOMOVE) ? now.TopLeft() : CPoint(wp->x, wp->y);
            const CSize size = (wp->flags & SWP_NOSIZE) ? now.Size() : CSize(wp->cx, wp->cy);
            const CRect rest = h.manager->layoutIn(CRect(at, size));
            wp->x = rest.left;
            wp->y = rest.top;
            wp->cx = rest.Width();
            wp->cy = rest.Height();
            wp->flags &= ~static_cast<UINT>(SWP_NOSIZE | SWP_NOMOVE);
        }
    }
    return ::CallWindowProcW(h.next, hwnd, message, wParam, lParam);
}

// The site's own procedure runs first; a new size lays the panes out again after it.
LRESULT CXTPDockingPaneManager::siteProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto it = hooked().find(hwnd);
    if (it == hooked().end())
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    const Hooked h = it->second;
    if (message == WM_NCDESTROY) {
        // The site goes: its windows (ours among them) go with it; the manager stays.
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(h.next));
        hooked().erase(it);
        if (h.manager != nullptr) {
            h.manager->dropRoomTaker();
            h.manager->m_pSite = nullptr;
        }
        return ::CallWindowProcW(h.next, hwnd, message, wParam, lParam);
    }
    const LRESULT result = ::CallWindowProcW(h.next, hwnd, message, wParam, lParam);
    if (message == WM_SIZE && wParam != SIZE_MINIMIZED && h.manager != nullptr &&
        h.manager->m_hwndClient == nullptr && !h.manager->m_bRoomTaker)
        h.manager->RecalcFrameLayout();
    return result;
}

void CXTPDockingPaneManager::afterChange() {
    if (m_pSite != nullptr)
        RecalcFrameLayout();
}

// The frame lays its client out (after its bars); the hook on the client takes the room the
// frame offers and gives the panes theirs. Without a client the panes take the frame's client
// area.
void CXTPDockingPaneManager::RecalcFrameLayout() {
    if (m_pSite == nullptr || m_pSite->m_hWnd == nullptr || !::IsWindow(m_pSite->m_hWnd) || m_bInLayout)
        return;
    HWND site = m_pSite->m_hWnd;
    auto* frame = dynamic_cast<CFrameWnd*>(m_pSite);
    if (frame != nullptr && m_bRoomTaker) {
        frame->RecalcLayout(FALSE);
        return;
    }
    HWND clientWnd = ::GetDlgItem(site, static_cast<int>(AFX_IDW_PANE_FIRST));
    if (frame != nullptr && clientWnd != nullptr) {
        if (clientWnd != m_hwndClient)
            hookClient(clientWnd);
        frame->RecalcLayout(FALSE);
        return;
    }
    CRect area;
    ::GetClientRect(site, &area);
    const CRect rest = layoutIn(area);
    if (clientWnd != nullptr) {
        m_bInLayout = true;
        ::MoveWindow(clientWnd, rest.left, rest.top, rest.Width(), rest.Height(), TRUE);
        m_bInLayout = false;
    }
}

CRect CXTPDockingPaneManager::takeRoom(void* manager, CRect room) {
    return static_cast<CXTPDockingPaneManager*>(manager)->layoutIn(room);
}

CRect CXTPDockingPaneManager::layoutIn(CRect area) {
    if (m_pSite == nullptr || m_pSite->m_hWnd == nullptr || m_bInLayout)
        return area;
    m_bInLayout = true;
    HWND site = m_pSite->m_hWnd;

    // The auto-hide strips along the sides that have collapsed panes: left and right first.
    static const XTPDockingPaneDirection order[] = {xtpPaneDockLeft, xtpPaneDockRight, xtpPaneDockTop,
                                                    xtpPaneDockBottom};
    const int thick = CXTPDockingPaneAutoHidePanel::Thickness();
    for (XTPDockingPaneDirection side : order) {
        CXTPDockingPaneAutoHidePanel*& panel = m_panels[static_cast<size_t>(side)];
        if (panel == nullptr)
            panel = new CXTPDockingPaneAutoHidePanel(this, side);
        if (!panel->IsVisibleInLayout()) {
            if (panel->m_hWnd != nullptr)
                panel->ShowWindow(SW_HIDE);
            continue;
        }
        CRect strip = area;
        switch (side) {
        case xtpPaneDockLeft:
            strip.right = std::min(area.right, area.left + thick);
            area.left = strip.right;
            break;
        case xtpPaneDockRight:
            strip.left = std::max(area.left, area.right - thick);
            area.right = strip.left;
            break;
        case xtpPaneDockTop:
            strip.bottom = std::min(area.bottom, area.top + thick);
            area.top = strip.bottom;
            break;
        case xtpPaneDockBottom:
            strip.top = std::max(area.top, area.bottom - thick);
            area.bottom = strip.top;
            break;
        }
        if (panel->m_hWnd == nullptr)
            panel->CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_CLIPSIBLINGS, strip, m_pSite, 0);
        panel->m_rcWindow = strip;
        panel->m_hwndCoords = site;
        panel->MoveWindow(&strip);
        panel->ShowWindow(SW_SHOWNA);
        panel->Invalidate();
    }

    layoutNode(m_layout->m_pRoot, area, site);
    m_rcClient = m_layout->m_pClient->m_rcWindow;

    // Floating frames.
    for (CXTPDockingPaneMiniWnd* mini : m_layout->m_floating) {
        if (!mini->IsVisibleInLayout()) {
            if (mini->m_hWnd != nullptr)
                mini->ShowWindow(SW_HIDE);
            if (mini->m_pTop != nullptr)
                hideNodeWindows(mini->m_pTop);
            continue;
        }
        if (mini->m_hWnd == nullptr) {
            HWND owner = ::GetAncestor(site, GA_ROOT);
            mini->CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(CS_DBLCLKS), L"", WS_POPUP | WS_CLIPCHILDREN,
                           mini->m_rcFloat.left, mini->m_rcFloat.top, mini->m_rcFloat.Width(),
                           mini->m_rcFloat.Height(), owner, nullptr);
        }
        CXTPDockingPane* selected = mini->m_pTop->GetSelected();
        mini->SetWindowText(selected != nullptr ? selected->GetTitle() : CString());
        CRect rc = mini->m_rcFloat;
        if (mini->m_bCollapsed)
            rc.bottom = rc.top + dvtk::docking::captionHeight() + 2 * dvtk::docking::floatBorder();
        mini->m_bPlacing = true;
        mini->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        mini->ShowWindow(SW_SHOWNA);
        mini->m_bPlacing = false;
        CRect inside;
        mini->GetClientRect(&inside);
        inside.DeflateRect(dvtk::docking::floatBorder(), dvtk::docking::floatBorder());
        mini->m_rcWindow = inside;
        mini->m_hwndCoords = mini->m_hWnd;
        layoutNode(mini->m_pTop, inside, mini->m_hWnd);
    }

    // A pane slid out from its side lies over the client, next to its strip.
    if (m_pSlid != nullptr) {
        CXTPDockingPaneTabbedContainer* container = m_pSlid->GetTabbedContainer();
        CXTPDockingPaneAutoHidePanel* panel =
            container != nullptr ? m_panels[static_cast<size_t>(container->m_autoHideSide)] : nullptr;
        if (container == nullptr || !container->m_bAutoHide || m_pSlid->IsClosed() || panel == nullptr ||
            panel->m_hWnd == nullptr || !panel->IsWindowVisible()) {
            m_pSlid = nullptr;
        } else {
            const CRect strip = panel->m_rcWindow;
            const bool horiz = isHorizontalSide(container->m_autoHideSide);
            const int room = std::max(1, horiz ? area.Width() : area.Height());
            const auto [lo, hi] = limits(container, horiz);
            const int wanted =
                container->m_nAutoHideSize > 0 ? container->m_nAutoHideSize : container->m_nDockingSize;
            const int size = std::clamp(wanted, std::min(std::max(lo, 40), room), std::min(hi, room));
            CRect fly;
            switch (container->m_autoHideSide) {
            case xtpPaneDockLeft:
                fly = CRect(strip.right, strip.top, strip.right + size, strip.bottom);
                break;
            case xtpPaneDockRight:
                fly = CRect(strip.left - size, strip.top, strip.left, strip.bottom);
                break;
            case xtpPaneDockTop:
                fly = CRect(area.left, strip.bottom, area.right, strip.bottom + size);
                break;
            case xtpPaneDockBottom:
                fly = CRect(area.left, strip.top - size, area.right, strip.top);
                break;
            }
            placeContainer(container, fly, site);
            ::SetWindowPos(container->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    m_bInLayout = false;
    return m_rcClient;
}

bool CXTPDockingPaneManager::isHorizontalSide(XTPDockingPaneDirection side) {
    return side == xtpPaneDockLeft || side == xtpPaneDockRight;
}

void CXTPDockingPaneManager::hideNodeWindows(CXTPDockingPaneBase* node) {
    if (auto* tabbed = dynamic_cast<CXTPDockingPaneTabbedContainer*>(node)) {
        const bool slid = m_pSlid != nullptr && m_pSlid->m_pParentContainer == tabbed;
        if (!slid && tabbed->m_hWnd != nullptr)
            tabbed->ShowWindow(SW_HIDE);
        if (!slid)
            tabbed->m_pShown = nullptr;
        tabbed->m_rcWindow.SetRectEmpty();
    } else if (auto* split = dynamic_cast<CXTPDockingPaneSplitterContainer*>(node)) {
        for (CWnd* bar : split->m_splitters) {
            if (bar->m_hWnd != nullptr)
                bar->ShowWindow(SW_HIDE);
        }
        for (CXTPDockingPaneBase* child : split->m_children)
            hideNodeWindows(child);
        split->m_rcWindow.SetRectEmpty();
    }
}

void CXTPDockingPaneManager::layoutNode(CXTPDockingPaneBase* node, CRect rc, HWND coords) {
    node->m_rcWindow = rc;
    node->m_hwndCoords = coords;
    if (auto* tabbed = dynamic_cast<CXTPDockingPaneTabbedContainer*>(node)) {
        if (tabbed->IsVisibleInLayout())
            placeContainer(tabbed, rc, coords);
        else
            hideNodeWindows(tabbed);
        return;
    }
    auto* split = dynamic_cast<CXTPDockingPaneSplitterContainer*>(node);
    if (split == nullptr)
        return;
    std::vector<CXTPDockingPaneBase*> shown;
    for (CXTPDockingPaneBase* child : split->m_children) {
        if (child->IsVisibleInLayout())
            shown.push_back(child);
        else
            hideNodeWindows(child);
    }
    const bool horiz = split->m_bHoriz;
    const int n = static_cast<int>(shown.size());
    const int total = horiz ? rc.Width() : rc.Height();
    const int avail = std::max(0, total - std::max(0, n - 1) * splitterWidth());
    std::vector<int> sizes(shown.size(), 0);
    int clientAt = -1;
    for (int i = 0; i < n; ++i) {
        if (contains(shown[static_cast<size_t>(i)], m_layout->m_pClient))
            clientAt = i;
    }
    if (clientAt >= 0) {
        // Beside the client every node has its own size; the client keeps some room.
        long long sum = 0;
        for (int i = 0; i < n; ++i) {
            if (i == clientAt)
                continue;
            const auto [lo, hi] = limits(shown[static_cast<size_t>(i)], horiz);
            sizes[static_cast<size_t>(i)] = std::clamp(shown[static_cast<size_t>(i)]->m_nDockingSize, lo, hi);
            sum += sizes[static_cast<size_t>(i)];
        }
        const long long room = std::max(0, avail - minClient());
        if (sum > room && sum > 0) {
            for (int i = 0; i < n; ++i) {
                if (i != clientAt)
                    sizes[static_cast<size_t>(i)] =
                        static_cast<int>(sizes[static_cast<size_t>(i)] * room / sum);
            }
        }
        long long taken = 0;
        for (int i = 0; i < n; ++i)
            taken += i == clientAt ? 0 : sizes[static_cast<size_t>(i)];
        sizes[static_cast<size_t>(clientAt)] = static_cast<int>(std::max<long long>(0, avail - taken));
    } else if (n > 0) {
        // Without the client the nodes share the room in proportion to their sizes.
        long long sum = 0;
        for (CXTPDockingPaneBase* child : shown)
            sum += std::max(1, child->m_nDockingSize);
        long long given = 0;
        for (int i = 0; i < n; ++i) {
            const int share =
                i == n - 1 ? static_cast<int>(avail - given)
                           : static_cast<int>(
                                 avail * std::max(1, shown[static_cast<size_t>(i)]->m_nDockingSize) / sum);
            sizes[static_cast<size_t>(i)] = share;
            given += share;
        }
    }
    // The bars between.
    while (static_cast<int>(split->m_splitters.size()) < std::max(0, n - 1))
        split->m_splitters.push_back(new dvtk::docking::SplitterBar(this, split));
    int at = horiz ? rc.left : rc.top;
    for (int i = 0; i < n; ++i) {
        CRect part = horiz ? CRect(at, rc.top, at + sizes[static_cast<size_t>(i)], rc.bottom)
                           : CRect(rc.left, at, rc.right, at + sizes[static_cast<size_t>(i)]);
        layoutNode(shown[static_cast<size_t>(i)], part, coords);
        at += sizes[static_cast<size_t>(i)];
        if (i + 1 < n) {
            auto* bar = static_cast<dvtk::docking::SplitterBar*>(split->m_splitters[static_cast<size_t>(i)]);
            const CRect gap = horiz ? CRect(at, rc.top, at + splitterWidth(), rc.bottom)
                                    : CRect(rc.left, at, rc.right, at + splitterWidth());
            bar->place(gap, coords, shown[static_cast<size_t>(i)], shown[static_cast<size_t>(i + 1)]);
            at += splitterWidth();
        }
    }
    for (size_t i = static_cast<size_t>(std::max(0, n - 1)); i < split->m_splitters.size(); ++i) {
        if (split->m_splitters[i]->m_hWnd != nullptr)
            split->m_splitters[i]->ShowWindow(SW_HIDE);
    }
}

void CXTPDockingPaneManager::placeContainer(CXTPDockingPaneTabbedContainer* container, const CRect& rc,
                                            HWND parent) {
    if (container->m_hWnd == nullptr) {
        container->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), L"",
                            WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, rc, CWnd::FromHandle(parent), 0);
    } else if (::GetParent(container->m_hWnd) != parent) {
        ::SetParent(container->m_hWnd, parent);
    }
    container->m_rcWindow = rc;
    container->m_hwndCoords = parent;
    container->MoveWindow(&rc);
    container->ShowWindow(SW_SHOWNA);
    CXTPDockingPane* selected = container->GetSelected();
    // A pane coming into view tells its site, which gives it content when it has none.
    if (selected != nullptr && selected != container->m_pShown) {
        container->m_pShown = selected;
        NotifyOwner(XTP_DPN_SHOWWINDOW, reinterpret_cast<LPARAM>(selected));
    }
    const CRect content = container->GetContentRect();
    for (CXTPDockingPane* pane : container->m_panes) {
        HWND child = pane->m_hwndChild;
        if (child == nullptr || !::IsWindow(child))
            continue;
        if (::GetParent(child) != container->m_hWnd)
            ::SetParent(child, container->m_hWnd);
        if (pane == selected) {
            ::MoveWindow(child, content.left, content.top, content.Width(), content.Height(), TRUE);
            ::ShowWindow(child, SW_SHOWNA);
        } else {
            ::ShowWindow(child, SW_HIDE);
        }
    }
    container->Invalidate();
}

void CXTPDockingPaneManager::slideOut(CXTPDockingPane* pane, BOOL bSetFocus) {
    if (m_pSlid != nullptr && m_pSlid != pane)
        HideAutoHideWindow();
    m_pSlid = pane;
    NotifyAction(xtpPaneActionExpanded, pane);
    afterChange();
    CXTPDockingPaneTabbedContainer* container = pane->GetTabbedContainer();
    if (CXTPDockingPaneAutoHidePanel* panel =
            container != nullptr ? m_panels[static_cast<size_t>(container->m_autoHideSide)] : nullptr;
        panel != nullptr && panel->m_hWnd != nullptr)
        panel->SetTimer(CXTPDockingPaneAutoHidePanel::kDismissTimer,
                        CXTPDockingPaneAutoHidePanel::kDismissDelay);
    if (bSetFocus)
        focusPane(pane);
}

void CXTPDockingPaneManager::HideAutoHideWindow() {
    if (m_pSlid == nullptr)
        return;
    CXTPDockingPaneTabbedContainer* container = m_pSlid->GetTabbedContainer();
    m_pSlid = nullptr;
    if (container != nullptr && container->m_hWnd != nullptr) {
        HWND focus = ::GetFocus();
        const bool hadFocus =
            focus != nullptr && (focus == container->m_hWnd || ::IsChild(container->m_hWnd, focus));
        container->ShowWindow(SW_HIDE);
        if (hadFocus && m_pSite != nullptr && m_pSite->m_hWnd != nullptr)
            ::SetFocus(m_pSite->m_hWnd);
    }
    afterChange();
}

void CXTPDockingPaneManager::focusPane(CXTPDockingPane* pane) {
    CXTPDockingPaneTabbedContainer* container = pane->GetTabbedContainer();
    if (container == nullptr || container->m_hWnd == nullptr || !container->IsWindowVisible())
        return;
    if (pane->m_hwndChild != nullptr && ::IsWindow(pane->m_hwndChild)) {
        // A pane told it shows may have given the keyboard to a control of its own already,
        // while its frame was still hidden: that control keeps it, and its frame is made active.
        const HWND focus = ::GetFocus();
        const bool inside = focus != nullptr && ::IsChild(pane->m_hwndChild, focus);
        ::SetFocus(inside ? focus : pane->m_hwndChild);
    } else {
        container->SetFocus();
    }
    NotifyAction(xtpPaneActionActivated, pane);
}

void CXTPDockingPaneManager::RedrawPanes() {
    for (CXTPDockingPaneBase* node : GetPaneStack()) {
        if (auto* wnd = dynamic_cast<CWnd*>(node);
            wnd != nullptr && wnd->m_hWnd != nullptr && ::IsWindow(wnd->m_hWnd))
            wnd->Invalidate();
        if (auto* split = dynamic_cast<CXTPDockingPaneSplitterContainer*>(node)) {
            for (CWnd* bar : split->m_splitters) {
                if (bar->m_hWnd != nullptr)
                    bar->Invalidate();
            }
        }
    }
}

BOOL CXTPDockingPaneManager::IsDarkTheme() const {
    return CXTPPaintManager::Current()->IsDarkTheme();
}
