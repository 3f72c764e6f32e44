#include "DravikUI/GenericMainFrame.h"

#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/View.h"
#include "DravikUI/Windows.h"
#include "DravikUI/XMLDefinitions.h"
#include "xtp/PaintManager.h"

namespace Dravik::UI {

IMPLEMENT_DYNCREATE(FramelessToolBar, CXTPToolBar)
IMPLEMENT_DYNCREATE(FramelessToolBars, CXTPCommandBars)
IMPLEMENT_DYNAMIC(GenericMainFrame, CXTPMDIFrameWnd)
IMPLEMENT_DYNAMIC(MdiMainFrame, GenericMainFrame)

BEGIN_MESSAGE_MAP(GenericMainFrame, CXTPMDIFrameWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_ACTIVATE()
ON_MESSAGE(XTPWM_DOCKINGPANE_NOTIFY, &GenericMainFrame::OnDockingPaneNotify)
END_MESSAGE_MAP()

namespace {

// Where a frameless bar stands over a view: at the middle of the edge it belongs to, a few
// pixels inside, in screen coordinates.
CPoint placeOver(const CRect& view, CSize bar, int position) {
    const int gap = CXTPDpi::ScaleX(4);
    switch (position) {
    case 0:
        return {view.left + gap, view.top + (view.Height() - bar.cy) / 2};
    case 2:
        return {view.right - gap - bar.cx, view.top + (view.Height() - bar.cy) / 2};
    case 3:
        return {view.left + (view.Width() - bar.cx) / 2, view.bottom - gap - bar.cy};
    default:
        return {view.left + (view.Width() - bar.cx) / 2, view.top + gap};
    }
}

} // namespace

void FramelessToolBar::LockVisibility(bool visible) {
    m_locked = true;
    m_lockedVisible = visible;
}

FramelessToolBar* FramelessToolBars::AddFramelessBar(LPCWSTR name, UINT id, DWORD maskBit, DWORD viewTypes,
                                                     int position) {
    auto* bar = dynamic_cast<FramelessToolBar*>(Add(name, xtpBarFloating, RUNTIME_CLASS(FramelessToolBar)));
    if (!bar)
        return nullptr;
    bar->SetBarID(id);
    bar->SetMaskBit(maskBit);
    bar->SetViewTypes(viewTypes);
    bar->SetViewPosition(position);
    bar->ShowGripper(FALSE);
    bar->EnableDocking(0);
    bar->SetVisible(FALSE);
    return bar;
}

FramelessToolBar* FramelessToolBars::GetFramelessBar(UINT id) const {
    return dynamic_cast<FramelessToolBar*>(GetToolBar(id));
}

GenericMainFrame::GenericMainFrame() = default;

GenericMainFrame::~GenericMainFrame() {
    MarkAsBeingDestroyed();
    UIModuleProxy::Instance().RemoveMainFrame(this);
}

int GenericMainFrame::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CXTPMDIFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    UIModuleProxy& ui = UIModuleProxy::Instance();
    ui.AddMainFrame(this);
    // The first main frame is the main window until another is activated.
    if (!ui.GetActiveMainFrame())
        ui.MakeActiveMainFrame(this);
    return 0;
}

void GenericMainFrame::OnDestroy() {
    MarkAsBeingDestroyed();
    SetActiveView(nullptr, true);
    DetachDockingPaneChildWindows();
    UIModuleProxy& ui = UIModuleProxy::Instance();
    const bool wasActive = ui.GetActiveMainFrame() == this;
    ui.RemoveMainFrame(this);
    // The frame that takes over hears it, as if it had been activated.
    if (auto* next = dynamic_cast<GenericMainFrame*>(ui.GetActiveMainFrame()); wasActive && next) {
        for (CFrameWnd* frame : ui.GetMainFrames()) {
            if (auto* main = dynamic_cast<GenericMainFrame*>(frame))
                main->OnChangeActiveMainFrame(next);
        }
        next->UpdateViewDependentToolBars();
    }
    CXTPMDIFrameWnd::OnDestroy();
}

void GenericMainFrame::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CXTPMDIFrameWnd::OnActivate(nState, pWndOther, bMinimized);
    if (nState != WA_INACTIVE && !IsBeingDestroyed())
        MakeActive();
}

void GenericMainFrame::MakeActive() {
    UIModuleProxy& ui = UIModuleProxy::Instance();
    if (ui.GetActiveMainFrame() == this || !ui.MakeActiveMainFrame(this))
        return;
    // Every frame hears which one is active now; the frameless bars show only over the
    // active frame's view.
    for (CFrameWnd* frame : ui.GetMainFrames()) {
        if (auto* main = dynamic_cast<GenericMainFrame*>(frame)) {
            main->OnChangeActiveMainFrame(this);
            main->UpdateViewDependentToolBars();
        }
    }
}

// A view goes with its child frame without telling the main frame: once its window is gone it
// reads as none, never as the freed object.
CView* GenericMainFrame::GetActiveDravikView() const {
    if (m_activeViewWindow == nullptr)
        return m_activeView;
    return CWnd::FromHandlePermanent(m_activeViewWindow) == m_activeView ? m_activeView : nullptr;
}

void GenericMainFrame::SetActiveView(CView* view, bool force) {
    CView* previous = GetActiveDravikView();
    if (view == previous && !force)
        return;
    m_activeView = view;
    m_activeViewWindow = view != nullptr ? view->GetSafeHwnd() : nullptr;
    if (IsBeingDestroyed())
        return;
    MoveFramelessToolBars(previous, false);
    MoveFramelessToolBars(view, true);
    UpdateViewDependentToolBars();
}

BOOL GenericMainFrame::InitFramelessToolBars(CRuntimeClass* framelessClass) {
    if (m_frameless)
        return FALSE;
    CXTPCommandBars* bars = CXTPCommandBars::CreateCommandBars(
        framelessClass ? framelessClass : RUNTIME_CLASS(FramelessToolBars));
    auto* frameless = dynamic_cast<FramelessToolBars*>(bars);
    if (!frameless) {
        if (bars)
            bars->InternalRelease();
        return FALSE;
    }
    frameless->SetSite(this);
    m_frameless = {frameless, [](FramelessToolBars* b) {
                       b->RemoveAll();
                       b->InternalRelease();
                   }};
    return TRUE;
}

DWORD GenericMainFrame::GetViewTypes(CView* view) const {
    const auto* drawing = dynamic_cast<const CDVView*>(view);
    if (!drawing)
        return 0;
    switch (drawing->GetViewKind()) {
    case 1:
        return kViewTypeSheet;
    case 2:
        return kViewTypeModel;
    default:
        return 0;
    }
}

DWORD GenericMainFrame::GetVisibleFramelessToolBars() const {
    DWORD mask = 0;
    if (!m_frameless)
        return 0;
    for (int i = 0; i < m_frameless->GetCount(); ++i) {
        auto* bar = dynamic_cast<FramelessToolBar*>(m_frameless->GetAt(i));
        if (bar && bar->IsVisible())
            mask |= bar->GetMaskBit();
    }
    return mask;
}

void GenericMainFrame::UpdateViewDependentToolBars() {
    if (!m_frameless || IsBeingDestroyed())
        return;
    const bool active = UIModuleProxy::Instance().GetActiveMainFrame() == this;
    const DWORD types = GetViewTypes(GetActiveDravikView());
    for (int i = 0; i < m_frameless->GetCount(); ++i) {
        auto* bar = dynamic_cast<FramelessToolBar*>(m_frameless->GetAt(i));
        if (!bar)
            continue;
        bool show = active && GetActiveDravikView() && bar->GetViewPosition() >= 0 &&
                    (bar->GetViewTypes() & types) != 0;
        if (bar->IsVisibilityLocked())
            show = bar->GetLockedVisibility() && active && GetActiveDravikView();
        if (show != (bar->IsVisible() != FALSE))
            bar->SetVisible(show);
    }
    if (GetActiveDravikView())
        MoveFramelessToolBars(GetActiveDravikView(), true);
    else
        m_frameless->LayoutDockedBars(CRect(0, 0, 0, 0));
}

void GenericMainFrame::MoveFramelessToolBars(CView* view, bool attach) {
    if (!m_frameless || !attach || !view || !::IsWindow(view->GetSafeHwnd()))
        return;
    // The bars are small windows of the frame (owned, not children) standing over the view.
    CRect rect;
    view->GetWindowRect(&rect);
    for (int i = 0; i < m_frameless->GetCount(); ++i) {
        auto* bar = dynamic_cast<FramelessToolBar*>(m_frameless->GetAt(i));
        if (bar && bar->IsVisible())
            bar->SetFloatingPosition(placeOver(rect, bar->CalcDynamicSize(-1, 0), bar->GetViewPosition()));
    }
    m_frameless->LayoutDockedBars(CRect(0, 0, 0, 0));
    for (int i = 0; i < m_frameless->GetCount(); ++i) {
        CXTPToolBar* bar = m_frameless->GetAt(i);
        if (bar && bar->IsVisible() && ::IsWindow(bar->GetSafeHwnd()))
            ::SetWindowPos(bar->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void GenericMainFrame::SetSelectionFilterSet(int set) {
    m_filters.SetSet(set);
    UpdateSelectionFilters(GetActiveDravikView(), 0, false);
}

void GenericMainFrame::SetSelectionFilterButtonProperties(UINT id, int icon, unsigned toolTipId, bool enabled,
                                                          bool ticked) {
    m_filters.BeginConfiguration();
    m_filters.SetIconAndToolTip(id, icon, toolTipId);
    m_filters.SetState(id, enabled, ticked);
    m_filters.EndConfiguration();
}

void GenericMainFrame::SetSelectionFilterButtonProperties(UINT id, int icon, const std::wstring& toolTip,
                                                          bool enabled, bool ticked) {
    m_filters.BeginConfiguration();
    m_filters.SetIconAndToolTip(id, icon, toolTip);
    m_filters.SetState(id, enabled, ticked);
    m_filters.EndConfiguration();
}

CXTPControl* GenericMainFrame::CreateCustomControl(const XML::Control& definition, CXTPCommandBar* bar) {
    return CreateCustomControl(static_cast<UINT>(definition.id),
                               definition.state.empty() ? definition.tag : definition.state, bar);
}

void GenericMainFrame::UpdateSelectionFilters(CView* view, int command, bool force) {
    if (m_filterBar) {
        const bool wanted = m_filters.GetSet() != 0 && GetViewTypes(view) != 0;
        if (wanted)
            m_filterBar->UnlockVisibility();
        else
            m_filterBar->LockVisibility(false);
        UpdateViewDependentToolBars();
    }
    if (force)
        m_filters.Apply();
}

void GenericMainFrame::SetSelectionFilterToolBar(FramelessToolBar* bar) {
    m_filterBar = bar;
    m_filters.SetToolBar(bar);
    UpdateSelectionFilters(GetActiveDravikView(), 0, true);
}

CWnd* GenericMainFrame::GetPropertiesWindowPlaceholder(bool create) {
    if (!m_propertiesPlaceholder && create) {
        auto window = std::make_unique<CWnd>();
        auto parent = GetDockingPaneDummyWindow(true);
        if (!parent || !window->Create(nullptr, L"", WS_CHILD, CRect(0, 0, 0, 0), parent.get(), 1007))
            return nullptr;
        m_propertiesPlaceholder = std::move(window);
    }
    return m_propertiesPlaceholder.get();
}

CWnd* GenericMainFrame::DetachDockingPaneChildWindow(int paneId, bool park) {
    return m_panes ? DetachDockingPaneChild(m_panes->FindPane(paneId), park) : nullptr;
}

void GenericMainFrame::DetachDockingPaneChildWindows() {
    if (!m_panes)
        return;
    for (CXTPDockingPane* pane : m_panes->GetPaneList()) {
        // The placeholder is the frame's own and goes with it.
        if (m_propertiesPlaceholder && pane->GetChildHwnd() == m_propertiesPlaceholder->m_hWnd)
            pane->Detach();
        else
            DetachDockingPaneChild(pane, true);
    }
}

void GenericMainFrame::AttachPaneWindow(CXTPDockingPane* pane) {
    if (!pane || pane->GetChild())
        return;
    if (CWnd* window = GetDockingPaneWindow(pane))
        AttachDockingPaneChild(pane, window);
}

LRESULT GenericMainFrame::OnDockingPaneNotify(WPARAM wParam, LPARAM lParam) {
    if (wParam == XTP_DPN_SHOWWINDOW) {
        auto* pane = reinterpret_cast<CXTPDockingPane*>(lParam);
        AttachPaneWindow(pane);
        if (DockingPaneChild* child = GetDockingPaneChild(pane))
            child->OnShowPane(pane);
        return TRUE;
    }
    return 0;
}

void GenericMainFrame::RecalcLayout(BOOL bNotify) {
    // A locked layout waits for its last unlock, which lays out once.
    if (IsLayoutLocked())
        return;
    // The pane manager takes its room inside the frame's own layout.
    CXTPMDIFrameWnd::RecalcLayout(bNotify);
}

void GenericMainFrame::RecalcLayoutNow() {
    if (::IsWindow(m_hWnd))
        RecalcLayout();
}

void GenericMainFrame::ApplyTheme(int theme) {
    // The paint manager draws every bar and pane in the theme already; what the frame owns
    // repaints, and the panes' contents hear the theme.
    if (m_panes)
        m_panes->SetTheme(theme);
    if (::IsWindow(m_hWnd))
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    auto redrawBars = [](CXTPCommandBars* bars) {
        if (!bars)
            return;
        for (int i = 0; i < bars->GetCount(); ++i) {
            CXTPToolBar* bar = bars->GetAt(i);
            if (bar && ::IsWindow(bar->GetSafeHwnd()))
                bar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
        }
    };
    redrawBars(GetCommandBars());
    redrawBars(m_frameless.get());
}

} // namespace Dravik::UI
