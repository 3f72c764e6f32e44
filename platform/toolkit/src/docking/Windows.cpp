// The windows of the panes: tabbed containers with their caption and tabs, the bars between
// nodes, floating frames and the auto-hide strips; all painted through GDI.
#include "DockTargets.h"
#include "Palette.h"
#include "SplitterBar.h"
#include "xtp/DockingPaneManager.h"
#include "xtp/ImageManager.h"
#include "xtp/PaintManager.h"
#include "xtp/TabManager.h"

#include <algorithm>
#include <cstdlib>

namespace dvtk::docking {
namespace {

Palette paletteOf(const CXTPDockingPaneManager*) {
    return currentPalette();
}

int textWidth(HWND hwnd, const CString& text) {
    HDC dc = ::GetDC(hwnd);
    HGDIOBJ old = ::SelectObject(dc, CXTPPaintManager::Current()->GetRegularFont()->m_hObject);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text, text.GetLength(), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(hwnd, dc);
    return size.cx;
}

// A tab's width and its drawing: the pane's icon (when it has one) before its caption.
int tabWidth(HWND hwnd, const CXTPDockingPaneManager* manager, const CXTPDockingPane* pane) {
    const int icon = manager != nullptr && manager->GetPaneIcon(pane) != nullptr
                         ? CXTPDockingPaneManager::GetPaneIconSize() + 4
                         : 0;
    return textWidth(hwnd, pane->GetTabCaption()) + 20 + icon;
}

void drawTab(CDC& dc, const CXTPDockingPaneManager* manager, const CXTPDockingPane* pane, CRect tab,
             COLORREF ink) {
    CXTPImageManagerIcon* icon = manager != nullptr ? manager->GetPaneIcon(pane) : nullptr;
    if (icon == nullptr) {
        drawText(dc, pane->GetTabCaption(), tab, ink, DT_CENTER | DT_VCENTER);
        return;
    }
    const int size = CXTPDockingPaneManager::GetPaneIconSize();
    icon->Draw(&dc, CPoint(tab.left + 8, tab.top + (tab.Height() - size) / 2), CSize(size, size));
    tab.left += 8 + size + 4;
    drawText(dc, pane->GetTabCaption(), tab, ink, DT_LEFT | DT_VCENTER);
}

// A tab down a side strip: the icon upright at its top, the caption turned to read downwards.
void drawTurnedTab(CDC& dc, const CXTPDockingPaneManager* manager, const CXTPDockingPane* pane, CRect tab,
                   COLORREF ink) {
    int at = tab.top + 10;
    if (CXTPImageManagerIcon* icon = manager != nullptr ? manager->GetPaneIcon(pane) : nullptr) {
        const int size = CXTPDockingPaneManager::GetPaneIconSize();
        icon->Draw(&dc, CPoint(tab.left + (tab.Width() - size) / 2, tab.top + 8), CSize(size, size));
        at = tab.top + 8 + size + 4;
    }
    LOGFONTW lf{};
    CXTPPaintManager::Current()->GetRegularFont()->GetLogFont(&lf);
    lf.lfEscapement = lf.lfOrientation = 2700;
    CFont turned;
    turned.CreateFontIndirect(&lf);
    CFont* old = dc.SelectObject(&turned);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc.m_hDC, &tm);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(ink);
    // Turned a quarter clockwise, the run's cell hangs to the left of its corner.
    const CString caption = pane->GetTabCaption();
    dc.TextOut(tab.right - (tab.Width() - tm.tmHeight) / 2, at, caption);
    dc.SelectObject(old);
}

CPoint cursor() {
    POINT p{};
    ::GetCursorPos(&p);
    return CPoint(p);
}

} // namespace

// The pointer of a mouse message in screen coordinates.
CPoint SplitterBar::screenPoint(LPARAM lParam) const {
    CPoint p(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    ClientToScreen(&p);
    return p;
}

// SplitterBar -----------------------------------------------------------------------------------

void SplitterBar::place(const CRect& rc, HWND parent, CXTPDockingPaneBase* before,
                        CXTPDockingPaneBase* after) {
    before_ = before;
    after_ = after;
    if (m_hWnd == nullptr)
        CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_CLIPSIBLINGS, rc, CWnd::FromHandle(parent), 0);
    else if (::GetParent(m_hWnd) != parent)
        ::SetParent(m_hWnd, parent);
    MoveWindow(&rc);
    ShowWindow(SW_SHOWNA);
}

// Room moves between the two nodes: the client's side keeps what the other gives up.
void SplitterBar::drag(CPoint screen) {
    const bool horiz = split_->IsHorizontal();
    const int delta = horiz ? screen.x - last_.x : screen.y - last_.y;
    if (delta == 0 || before_ == nullptr || after_ == nullptr)
        return;
    auto length = [horiz](const CXTPDockingPaneBase* n) {
        return horiz ? n->m_rcWindow.Width() : n->m_rcWindow.Height();
    };
    const CXTPDockingPaneBase* client = split_->GetLayout()->GetClient();
    auto holdsClient = [client](const CXTPDockingPaneBase* n) {
        for (const CXTPDockingPaneBase* c = client; c != nullptr; c = c->GetContainer()) {
            if (c == n)
                return true;
        }
        return false;
    };
    constexpr int kLeast = 20;
    const int a = length(before_), b = length(after_);
    const int moved = std::clamp(delta, kLeast - a, b - kLeast);
    if (moved == 0)
        return;
    if (holdsClient(before_)) {
        after_->SetDockingSize(b - moved);
    } else if (holdsClient(after_)) {
        before_->SetDockingSize(a + moved);
    } else {
        // Shares in proportion: every node of the row takes its present length as its share.
        for (CXTPDockingPaneBase* child : split_->GetChildren()) {
            if (child->IsVisibleInLayout())
                child->SetDockingSize(std::max(1, length(child)));
        }
        before_->SetDockingSize(a + moved);
        after_->SetDockingSize(b - moved);
    }
    last_.x += horiz ? moved : 0;
    last_.y += horiz ? 0 : moved;
    manager_->RecalcFrameLayout();
}

LRESULT SplitterBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        CPaintDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        dc.FillSolidRect(&rc, paletteOf(manager_).background);
        return 0;
    }
    case WM_LBUTTONDOWN:
        if (manager_->IsPanesLocked())
            return 0;
        dragging_ = true;
        last_ = screenPoint(lParam);
        ::SetCapture(m_hWnd);
        return 0;
    case WM_MOUSEMOVE:
        if (dragging_)
            drag(screenPoint(lParam));
        return 0;
    case WM_LBUTTONUP:
        if (dragging_) {
            drag(screenPoint(lParam));
            dragging_ = false;
            ::ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        dragging_ = false;
        return 0;
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

} // namespace dvtk::docking

using namespace dvtk::docking;

// CXTPDockingPaneTabbedContainer ---------------------------------------------------------------

CRect CXTPDockingPaneTabbedContainer::GetCaptionRect() const {
    CRect rc;
    if (m_hWnd != nullptr)
        GetClientRect(&rc);
    return CRect(0, 0, rc.right, std::min(static_cast<int>(rc.bottom), captionHeight()));
}

bool CXTPDockingPaneTabbedContainer::IsFloatingContainer() const {
    return m_pParentContainer != nullptr && m_pParentContainer->GetType() == xtpPaneTypeMiniWnd;
}

CRect CXTPDockingPaneTabbedContainer::GetCloseButtonRect() const {
    const CRect cap = GetCaptionRect();
    const int top = (cap.Height() - buttonSize()) / 2;
    return CRect(cap.right - 4 - buttonSize(), top, cap.right - 4, top + buttonSize());
}

// A floating container has no side to collapse to: no pin.
CRect CXTPDockingPaneTabbedContainer::GetPinButtonRect() const {
    if (IsFloatingContainer())
        return CRect(GetCloseButtonRect().left, 0, GetCloseButtonRect().left, 0);
    CRect rc = GetCloseButtonRect();
    rc.OffsetRect(-(buttonSize() + 2), 0);
    return rc;
}

CRect CXTPDockingPaneTabbedContainer::GetContentRect() const {
    CRect rc;
    if (m_hWnd != nullptr)
        GetClientRect(&rc);
    rc.top = std::min(static_cast<int>(rc.bottom), captionHeight());
    if (GetVisiblePaneCount() > 1)
        rc.bottom = std::max(rc.top, rc.bottom - tabHeight());
    rc.DeflateRect(1, 0, 1, 1);
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
    return rc;
}

std::vector<CRect> CXTPDockingPaneTabbedContainer::GetTabRects() const {
    std::vector<CRect> tabs;
    if (m_hWnd == nullptr || GetVisiblePaneCount() < 2)
        return tabs;
    CRect client;
    GetClientRect(&client);
    const int top = std::max(static_cast<int>(client.top), static_cast<int>(client.bottom) - tabHeight());
    std::vector<int> widths;
    int total = 0;
    for (const CXTPDockingPane* pane : m_panes) {
        if (pane->IsClosed())
            continue;
        widths.push_back(tabWidth(m_hWnd, GetDockingPaneManager(), pane));
        total += widths.back();
    }
    // Size-to-fit tabs share the width evenly; fixed tabs take the paint manager's width; any
    // tabs that do not fit share the width evenly.
    if (widths.empty())
        return tabs;
    const int room = std::max(0, client.Width() - 4);
    const int count = static_cast<int>(widths.size());
    CXTPDockingPaneManager* manager = GetDockingPaneManager();
    const CXTPTabPaintManager* paint = manager != nullptr ? manager->GetTabPaintManager() : nullptr;
    const XTPTabLayoutStyle layout = paint != nullptr ? paint->GetLayout() : xtpTabLayoutAutoSize;
    if (layout == xtpTabLayoutFixed) {
        for (int& w : widths)
            w = CXTPDpi::ScaleX(paint->m_nFixedTabWidth);
        total = count * widths.front();
    }
    if (total > room || layout == xtpTabLayoutSizeToFit) {
        for (int& w : widths)
            w = room / count;
    }
    int x = 2;
    for (int w : widths) {
        tabs.emplace_back(x, top, x + w, client.bottom - 2);
        x += w;
    }
    return tabs;
}

void CXTPDockingPaneTabbedContainer::OnPaintContainer(CDC& dc) {
    const Palette p = paletteOf(GetDockingPaneManager());
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, p.content);

    CXTPDockingPane* selected = GetSelected();
    HWND focus = ::GetFocus();
    const bool active = focus != nullptr && (focus == m_hWnd || ::IsChild(m_hWnd, focus));
    const CRect cap = GetCaptionRect();
    dc.FillSolidRect(&cap, active ? p.activeCaption : p.caption);
    const COLORREF capText = active ? p.activeCaptionText : p.captionText;
    CRect text = cap;
    text.left += 6;
    text.right = GetPinButtonRect().left - 2;
    drawText(dc, selected != nullptr ? selected->GetTitle() : CString(), text, capText, DT_LEFT | DT_VCENTER);
    if (!IsFloatingContainer())
        drawPinGlyph(dc, GetPinButtonRect(), capText, !m_bAutoHide);
    drawCloseGlyph(dc, GetCloseButtonRect(), capText);

    const std::vector<CRect> tabs = GetTabRects();
    if (!tabs.empty()) {
        CRect strip(client.left, tabs.front().top, client.right, client.bottom);
        dc.FillSolidRect(&strip, p.background);
        size_t i = 0;
        for (const CXTPDockingPane* pane : m_panes) {
            if (pane->IsClosed())
                continue;
            const CRect& tab = tabs[i++];
            const bool on = pane == selected;
            dc.FillSolidRect(&tab, on ? p.selectedTab : p.tab);
            if (on)
                dc.FillSolidRect(tab.left, tab.bottom - 2, tab.Width(), 2, p.activeCaption);
            drawTab(dc, GetDockingPaneManager(), pane, tab, on ? p.selectedTabText : p.tabText);
        }
    }
    dc.Draw3dRect(&client, p.border, p.border);
}

void CXTPDockingPaneTabbedContainer::OnClick(CPoint point) {
    CXTPDockingPaneManager* manager = GetDockingPaneManager();
    if (manager == nullptr)
        return;
    CXTPDockingPane* selected = GetSelected();
    if (GetCloseButtonRect().PtInRect(point)) {
        if (selected != nullptr)
            manager->ClosePane(selected);
        return;
    }
    if (GetPinButtonRect().PtInRect(point)) {
        manager->ToggleAutoHide(this);
        return;
    }
    const std::vector<CRect> tabs = GetTabRects();
    size_t i = 0;
    for (CXTPDockingPane* pane : m_panes) {
        if (pane->IsClosed())
            continue;
        if (i < tabs.size() && tabs[i++].PtInRect(point)) {
            manager->ShowPane(pane, TRUE);
            return;
        }
    }
    if (selected != nullptr)
        manager->focusPane(selected);
    if (GetCaptionRect().PtInRect(point) && !m_bAutoHide) {
        m_bDragging = true;
        m_ptDrag = point;
        ClientToScreen(&m_ptDrag);
        ::SetCapture(m_hWnd);
    }
}

LRESULT CXTPDockingPaneTabbedContainer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        CPaintDC dc(this);
        OnPaintContainer(dc);
        return 0;
    }
    case WM_LBUTTONDOWN:
        OnClick(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
        return 0;
    case WM_LBUTTONDBLCLK: {
        // On the caption (not its buttons): docked panes float, floating ones dock back.
        const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        if (!GetCaptionRect().PtInRect(point) || GetCloseButtonRect().PtInRect(point) ||
            GetPinButtonRect().PtInRect(point)) {
            OnClick(point);
            return 0;
        }
        if (CXTPDockingPaneManager* manager = GetDockingPaneManager())
            manager->toggleDocking(this); // may end this container: nothing of it is touched after
        return 0;
    }
    case WM_MOUSEMOVE:
        if (m_bDragging) {
            CPoint at(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            ClientToScreen(&at);
            CXTPDockingPaneManager* manager = GetDockingPaneManager();
            auto* mini = dynamic_cast<CXTPDockingPaneMiniWnd*>(m_pParentContainer);
            if (mini != nullptr && mini->m_hWnd != nullptr) {
                CRect rc;
                mini->GetWindowRect(&rc);
                rc.OffsetRect(at - m_ptDrag);
                mini->SetWindowPos(nullptr, rc.left, rc.top, 0, 0,
                                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                m_ptDrag = at;
                if (manager != nullptr)
                    manager->dockTargets().track(this, at, (wParam & MK_CONTROL) != 0);
            } else if (manager != nullptr && !manager->IsPanesLocked() &&
                       (std::abs(at.x - m_ptDrag.x) > dragThreshold() ||
                        std::abs(at.y - m_ptDrag.y) > dragThreshold())) {
                // Torn off: it floats at its size with its caption under the pointer, and the
                // drag goes on moving the new frame.
                CRect rc;
                GetWindowRect(&rc);
                rc.OffsetRect(at - m_ptDrag);
                rc.InflateRect(floatBorder(), floatBorder());
                m_ptDrag = at;
                manager->FloatPane(this, rc);
                manager->dockTargets().track(this, at, (wParam & MK_CONTROL) != 0);
            }
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (m_bDragging) {
            m_bDragging = false;
            if (message == WM_LBUTTONUP)
                ::ReleaseCapture();
            CXTPDockingPaneManager* manager = GetDockingPaneManager();
            auto* mini = dynamic_cast<CXTPDockingPaneMiniWnd*>(m_pParentContainer);
            if (manager == nullptr || mini == nullptr || mini->m_hWnd == nullptr)
                return 0;
            if (message == WM_LBUTTONUP) {
                CPoint at(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
                ClientToScreen(&at);
                // Let go over a target: docked there (this container may be gone after).
                if (manager->dockTargets().drop(this, at, (wParam & MK_CONTROL) != 0))
                    return 0;
            } else {
                manager->dockTargets().hide();
            }
            // Let go elsewhere: the frame's place is brought onto a screen.
            CRect rc;
            mini->GetWindowRect(&rc);
            manager->FloatPane(this, rc);
        }
        return 0;
    case WM_SETFOCUS:
        // The focus goes on into the content.
        if (CXTPDockingPane* selected = GetSelected(); selected != nullptr &&
                                                       selected->GetChildHwnd() != nullptr &&
                                                       ::IsWindowVisible(selected->GetChildHwnd()))
            ::SetFocus(selected->GetChildHwnd());
        Invalidate();
        return 0;
    case WM_KILLFOCUS:
        Invalidate();
        return 0;
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

// CXTPDockingPaneMiniWnd -----------------------------------------------------------------------

CXTPDockingPaneMiniWnd::CXTPDockingPaneMiniWnd(CXTPDockingPaneLayout* pLayout, const CRect& rc)
    : CXTPDockingPaneBase(xtpPaneTypeMiniWnd, pLayout), m_rcFloat(rc) {}

CXTPDockingPaneMiniWnd::~CXTPDockingPaneMiniWnd() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
}

bool CXTPDockingPaneMiniWnd::IsVisibleInLayout() const {
    return m_pTop != nullptr && m_pTop->GetVisiblePaneCount() > 0;
}

CRect CXTPDockingPaneMiniWnd::GetPaneWindowRect() const {
    if (m_hWnd == nullptr || !::IsWindowVisible(m_hWnd))
        return CRect();
    CRect rc;
    GetWindowRect(&rc);
    return rc;
}

void CXTPDockingPaneMiniWnd::Collapse() {
    m_bCollapsed = true;
    if (CXTPDockingPaneManager* manager = GetDockingPaneManager())
        manager->RecalcFrameLayout();
}

void CXTPDockingPaneMiniWnd::Expand() {
    m_bCollapsed = false;
    if (CXTPDockingPaneManager* manager = GetDockingPaneManager())
        manager->RecalcFrameLayout();
}

LRESULT CXTPDockingPaneMiniWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        CPaintDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        const Palette p = paletteOf(GetDockingPaneManager());
        dc.FillSolidRect(&rc, p.background);
        dc.Draw3dRect(&rc, p.border, p.border);
        return 0;
    }
    case WM_LBUTTONDOWN: {
        // The border sizes the frame: the edges near the press move.
        CPoint at(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        CRect rc;
        GetClientRect(&rc);
        constexpr int kCorner = 12;
        m_nSizingEdges = (at.x < kCorner ? 1u : 0u) | (at.x >= rc.right - kCorner ? 2u : 0u) |
                         (at.y < kCorner ? 4u : 0u) | (at.y >= rc.bottom - kCorner ? 8u : 0u);
        if (m_nSizingEdges == 0 || m_bCollapsed)
            return 0;
        ClientToScreen(&at);
        m_ptSizing = at;
        GetWindowRect(&m_rcSizing);
        ::SetCapture(m_hWnd);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (m_nSizingEdges != 0) {
            CPoint at(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            ClientToScreen(&at);
            const CSize d = at - m_ptSizing;
            CRect rc = m_rcSizing;
            constexpr int kLeastW = 120, kLeastH = 80;
            if (m_nSizingEdges & 1u)
                rc.left = std::min(rc.left + d.cx, rc.right - kLeastW);
            if (m_nSizingEdges & 2u)
                rc.right = std::max(rc.right + d.cx, rc.left + kLeastW);
            if (m_nSizingEdges & 4u)
                rc.top = std::min(rc.top + d.cy, rc.bottom - kLeastH);
            if (m_nSizingEdges & 8u)
                rc.bottom = std::max(rc.bottom + d.cy, rc.top + kLeastH);
            SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (m_nSizingEdges != 0) {
            m_nSizingEdges = 0;
            if (message == WM_LBUTTONUP)
                ::ReleaseCapture();
        }
        return 0;
    case WM_WINDOWPOSCHANGED: {
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        // A person moved or sized the frame: that is its floating place from now on.
        if (!m_bPlacing && !m_bCollapsed && IsWindowVisible()) {
            GetWindowRect(&m_rcFloat);
            if (CXTPDockingPaneManager* manager = GetDockingPaneManager())
                manager->RecalcFrameLayout();
        }
        return result;
    }
    case WM_CLOSE:
        // Closing the frame closes its panes (each may refuse); the frame hides with the last.
        if (CXTPDockingPaneManager* manager = GetDockingPaneManager();
            manager != nullptr && m_pTop != nullptr) {
            for (CXTPDockingPane* pane : std::vector<CXTPDockingPane*>(m_pTop->GetPanes()))
                manager->ClosePane(pane);
        }
        return 0;
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

// CXTPDockingPaneAutoHidePanel -----------------------------------------------------------------

CXTPDockingPaneAutoHidePanel::CXTPDockingPaneAutoHidePanel(CXTPDockingPaneManager* pManager,
                                                           XTPDockingPaneDirection side)
    : CXTPDockingPaneBase(xtpPaneTypeAutoHidePanel, pManager->GetLayout()), m_pPanelManager(pManager),
      m_side(side) {}

int CXTPDockingPaneAutoHidePanel::Thickness() {
    return autoHideThickness();
}

bool CXTPDockingPaneAutoHidePanel::IsVisibleInLayout() const {
    for (CXTPDockingPaneBase* node : m_pPanelManager->GetLayout()->GetNodes()) {
        auto* tabbed = dynamic_cast<CXTPDockingPaneTabbedContainer*>(node);
        if (tabbed != nullptr && tabbed->IsAutoHidden() && tabbed->GetAutoHideSide() == m_side &&
            tabbed->GetVisiblePaneCount() > 0)
            return true;
    }
    return false;
}

std::vector<std::pair<CRect, CXTPDockingPane*>> CXTPDockingPaneAutoHidePanel::GetTabs() const {
    std::vector<std::pair<CRect, CXTPDockingPane*>> tabs;
    if (m_hWnd == nullptr)
        return tabs;
    const bool vertical = m_side == xtpPaneDockLeft || m_side == xtpPaneDockRight;
    CRect client;
    GetClientRect(&client);
    int at = 4;
    for (CXTPDockingPaneBase* node : m_pPanelManager->GetLayout()->GetNodes()) {
        auto* tabbed = dynamic_cast<CXTPDockingPaneTabbedContainer*>(node);
        if (tabbed == nullptr || !tabbed->IsAutoHidden() || tabbed->GetAutoHideSide() != m_side)
            continue;
        for (CXTPDockingPane* pane : tabbed->GetPanes()) {
            if (pane->IsClosed())
                continue;
            // Down the side strips the caption is turned to run along the side.
            const int length = tabWidth(m_hWnd, m_pPanelManager, pane);
            CRect tab = vertical ? CRect(2, at, client.right - 2, at + length)
                                 : CRect(at, 2, at + length, client.bottom - 2);
            tabs.emplace_back(tab, pane);
            at += length + 4;
        }
        at += 8; // a gap between containers
    }
    return tabs;
}

LRESULT CXTPDockingPaneAutoHidePanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    CXTPDockingPaneManager* manager = m_pPanelManager;
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        CPaintDC dc(this);
        const Palette p = paletteOf(manager);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, p.background);
        const bool vertical = m_side == xtpPaneDockLeft || m_side == xtpPaneDockRight;
        for (const auto& [tab, pane] : GetTabs()) {
            const bool on = pane == manager->GetActiveAutoHidePane() || pane == m_pHover;
            dc.FillSolidRect(&tab, on ? p.selectedTab : p.tab);
            dc.Draw3dRect(&tab, p.border, p.border);
            const COLORREF ink = on ? p.selectedTabText : p.tabText;
            if (!vertical) {
                drawTab(dc, manager, pane, tab, ink);
                continue;
            }
            drawTurnedTab(dc, manager, pane, tab, ink);
        }
        return 0;
    }
    case WM_LBUTTONDOWN: {
        const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        for (const auto& [tab, pane] : GetTabs()) {
            if (!tab.PtInRect(point))
                continue;
            if (manager->GetActiveAutoHidePane() == pane)
                manager->HideAutoHideWindow();
            else
                manager->ShowPane(pane, TRUE);
            Invalidate();
            return 0;
        }
        return 0;
    }
    case WM_MOUSEMOVE: {
        const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        CXTPDockingPane* over = nullptr;
        for (const auto& [tab, pane] : GetTabs()) {
            if (tab.PtInRect(point))
                over = pane;
        }
        if (over != m_pHover) {
            m_pHover = over;
            Invalidate();
            if (over != nullptr)
                SetTimer(kHoverTimer, kHoverDelay);
        }
        return 0;
    }
    case WM_TIMER:
        if (wParam == kHoverTimer) {
            KillTimer(kHoverTimer);
            CPoint point = cursor();
            ScreenToClient(&point);
            for (const auto& [tab, pane] : GetTabs()) {
                if (tab.PtInRect(point) && pane == m_pHover && manager->GetActiveAutoHidePane() != pane)
                    manager->ShowPane(pane, FALSE);
            }
            return 0;
        }
        if (wParam == kDismissTimer) {
            CXTPDockingPane* slid = manager->GetActiveAutoHidePane();
            CXTPDockingPaneTabbedContainer* container =
                slid != nullptr ? slid->GetTabbedContainer() : nullptr;
            if (container == nullptr || container->m_hWnd == nullptr) {
                KillTimer(kDismissTimer);
                return 0;
            }
            const CPoint at = cursor();
            CRect fly, strip;
            container->GetWindowRect(&fly);
            GetWindowRect(&strip);
            HWND focus = ::GetFocus();
            const bool focused =
                focus != nullptr && (focus == container->m_hWnd || ::IsChild(container->m_hWnd, focus));
            if (!fly.PtInRect(at) && !strip.PtInRect(at) && !focused) {
                KillTimer(kDismissTimer);
                m_pHover = nullptr;
                manager->HideAutoHideWindow();
                Invalidate();
            }
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}
