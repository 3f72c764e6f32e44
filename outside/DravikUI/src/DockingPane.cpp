#include "DravikUI/DockingPane.h"

#include "DravikUI/Windows.h"
#include "xtp/PaintManager.h"

#include <set>

namespace Dravik::UI {

namespace {

// The live content windows, so that a pane that goes finds the ones it showed even after the
// tool kit took the window out of it.
std::set<DockingPaneChildWindow*>& liveWindows() {
    static auto* windows = new std::set<DockingPaneChildWindow*>;
    return *windows;
}

DockingPaneChildWindow* childWindowOf(HWND hwnd) {
    return dynamic_cast<DockingPaneChildWindow*>(CWnd::FromHandlePermanent(hwnd));
}

// Parks a window that no pane shows under the hidden pane parent, so that it stays a child
// window (never a stray top-level one) and survives the frame it was shown in. The library
// then holds the parent too, so that it does not go (with what is parked) when its other
// holders let go.
void park(HWND hwnd) {
    if (!::IsWindow(hwnd))
        return;
    ::ShowWindow(hwnd, SW_HIDE);
    static std::shared_ptr<CWnd> held;
    if (!held || !::IsWindow(held->GetSafeHwnd()))
        held = GetDockingPaneDummyWindow(true);
    if (held)
        ::SetParent(hwnd, held->GetSafeHwnd());
}

} // namespace

BEGIN_MESSAGE_MAP(DockingPaneChildWindow, CWnd)
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
END_MESSAGE_MAP()

DockingPaneChildWindow::DockingPaneChildWindow() {
    liveWindows().insert(this);
}

DockingPaneChildWindow::~DockingPaneChildWindow() {
    if (::IsWindow(m_hWnd))
        DestroyWindow();
    liveWindows().erase(this);
}

void DockingPaneChildWindow::SetTheme(int theme, CXTPDockingPane*) {
    m_theme = theme;
    if (::IsWindow(m_hWnd))
        Invalidate();
}

BOOL DockingPaneChildWindow::OnEraseBkgnd(CDC* pDC) {
    CRect r;
    GetClientRect(&r);
    pDC->FillSolidRect(&r, CXTPPaintManager::Current()->GetColors().clrWindow);
    return TRUE;
}

void DockingPaneChildWindow::OnDestroy() {
    if (CXTPDockingPane* pane = m_pane) {
        m_pane = nullptr;
        // The pane must not keep a window that is going; nor be told to move it while it goes.
        if (auto* own = dynamic_cast<DockingPane*>(pane))
            own->forgetChild();
        else if (pane->GetChildHwnd() == m_hWnd)
            pane->Detach();
        if (CXTPDockingPaneManager* manager = pane->GetDockingPaneManager())
            manager->RecalcFrameLayout();
    }
    CWnd::OnDestroy();
}

DockingPane::~DockingPane() {
    for (DockingPaneChildWindow* child : liveWindows()) {
        if (child->m_pane == this) {
            child->m_pane = nullptr;
            park(child->m_hWnd);
        }
    }
}

bool AttachDockingPaneChild(CXTPDockingPane* pane, CWnd* window) {
    if (!pane || !window || !::IsWindow(window->GetSafeHwnd()))
        return false;
    const HWND hwnd = window->GetSafeHwnd();
    if (pane->GetChildHwnd() == hwnd)
        return false;
    DockingPaneChildWindow* child = childWindowOf(hwnd);
    // Out of the pane that shows it now, of whichever frame.
    if (child && child->m_pane)
        DetachDockingPaneChild(child->m_pane, false);
    // The pane's previous content leaves it.
    if (pane->GetChildHwnd())
        DetachDockingPaneChild(pane, true);
    pane->Attach(window);
    if (child) {
        child->m_pane = pane;
        child->OnAttachedToPane(pane);
        // A window made after the frame took its theme (most are made when first shown) takes
        // it as it arrives, not at the next change of theme.
        if (auto* manager = dynamic_cast<DockingPaneManager*>(pane->GetDockingPaneManager());
            manager != nullptr && manager->GetTheme() >= 0)
            child->SetTheme(manager->GetTheme(), pane);
    }
    return true;
}

CWnd* DetachDockingPaneChild(CXTPDockingPane* pane, bool parkIt) {
    if (!pane || !pane->GetChildHwnd())
        return nullptr;
    const HWND hwnd = pane->GetChildHwnd();
    DockingPaneChildWindow* child = childWindowOf(hwnd);
    if (child)
        child->OnToBeDetachedFromPane(pane);
    CWnd* window = pane->Detach();
    if (child && child->m_pane == pane)
        child->m_pane = nullptr;
    if (parkIt)
        park(hwnd);
    return window;
}

DockingPaneChild* GetDockingPaneChild(CXTPDockingPane* pane) {
    if (!pane || !pane->GetChildHwnd())
        return nullptr;
    return dynamic_cast<DockingPaneChild*>(CWnd::FromHandlePermanent(pane->GetChildHwnd()));
}

void DockingPaneManager::BlockInvalidatePane(bool block) {
    if (block) {
        ++m_invalidateBlocks;
        return;
    }
    if (m_invalidateBlocks == 0)
        return;
    if (--m_invalidateBlocks == 0 && m_invalidatePending) {
        m_invalidatePending = false;
        RedrawPanes();
    }
}

void DockingPaneManager::InvalidatePanes() {
    if (IsInvalidatePaneBlocked())
        m_invalidatePending = true;
    else
        RedrawPanes();
}

void DockingPaneManager::SetTheme(int theme) {
    m_theme = theme;
    for (CXTPDockingPane* pane : GetPaneList()) {
        if (DockingPaneChild* child = GetDockingPaneChild(pane))
            child->SetTheme(theme, pane);
    }
    InvalidatePanes();
}

void DockingPaneManager::ShowTabCaptions(bool show) {
    if (show == m_tabCaptions)
        return;
    m_tabCaptions = show;
    InvalidatePanes();
}

CXTPDockingPane* CreateDockingPane(CXTPDockingPaneManager* manager, int id, const std::wstring& caption,
                                   const CRect& rect, int side, CXTPDockingPaneBase* neighbour) {
    if (manager == nullptr)
        return nullptr;
    CXTPDockingPane* pane = manager->CreatePane(static_cast<UINT>(id), rect,
                                                static_cast<XTPDockingPaneDirection>(side), neighbour);
    if (pane != nullptr)
        pane->SetTitle(caption.c_str());
    return pane;
}

bool AreDockingPaneTabCaptionsVisible(CXTPDockingPaneManager* manager) {
    auto* own = dynamic_cast<DockingPaneManager*>(manager);
    return !own || own->AreTabCaptionsVisible();
}

void ShowDockingPaneTabCaptions(CXTPDockingPaneManager* manager, bool show) {
    if (auto* own = dynamic_cast<DockingPaneManager*>(manager))
        own->ShowTabCaptions(show);
}

CXTPDockingPaneBase* DockingPaneManager::OnCreatePane(XTPDockingPaneType type,
                                                      CXTPDockingPaneLayout* layout) {
    if (type == xtpPaneTypeDockingPane)
        return new DockingPane(layout);
    return CXTPDockingPaneManager::OnCreatePane(type, layout);
}

} // namespace Dravik::UI
