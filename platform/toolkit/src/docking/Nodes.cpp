// The nodes of a layout and what each knows of itself; the manager does the tree surgery.
#include "xtp/DockingPane.h"
#include "xtp/DockingPaneLayout.h"
#include "xtp/DockingPaneManager.h"

#include <algorithm>

// CXTPDockingPaneBase -------------------------------------------------------------------------

CXTPDockingPaneBase::CXTPDockingPaneBase(XTPDockingPaneType type, CXTPDockingPaneLayout* pLayout)
    : m_type(type), m_pLayout(pLayout) {}

CXTPDockingPaneBase::~CXTPDockingPaneBase() = default;

CXTPDockingPaneManager* CXTPDockingPaneBase::GetDockingPaneManager() const {
    return m_pLayout != nullptr ? m_pLayout->GetManager() : nullptr;
}

CRect CXTPDockingPaneBase::GetPaneWindowRect() const {
    if (!IsVisibleInLayout() || m_hwndCoords == nullptr || !::IsWindow(m_hwndCoords))
        return CRect();
    CRect rc = m_rcWindow;
    ::MapWindowPoints(m_hwndCoords, nullptr, reinterpret_cast<LPPOINT>(&rc), 2);
    return rc;
}

// CXTPDockingPane -----------------------------------------------------------------------------

CXTPDockingPane::CXTPDockingPane(CXTPDockingPaneLayout* pLayout)
    : CXTPDockingPaneBase(xtpPaneTypeDockingPane, pLayout) {}

CXTPDockingPane::~CXTPDockingPane() = default;

void CXTPDockingPane::SetTitle(LPCWSTR title) {
    m_strTitle = title != nullptr ? title : L"";
    if (CXTPDockingPaneManager* manager = GetDockingPaneManager())
        manager->RedrawPanes();
}

void CXTPDockingPane::SetTabCaption(LPCWSTR caption) {
    m_strTabCaption = caption != nullptr ? caption : L"";
    if (CXTPDockingPaneManager* manager = GetDockingPaneManager())
        manager->RedrawPanes();
}

CXTPDockingPaneTabbedContainer* CXTPDockingPane::GetTabbedContainer() const {
    return dynamic_cast<CXTPDockingPaneTabbedContainer*>(m_pParentContainer);
}

bool CXTPDockingPane::IsVisibleInLayout() const {
    const CXTPDockingPaneTabbedContainer* container = GetTabbedContainer();
    return !m_bClosed && container != nullptr && container->GetSelected() == this &&
           (container->IsVisibleInLayout() || (container->IsAutoHidden() && container->IsWindowVisible()));
}

CRect CXTPDockingPane::GetPaneWindowRect() const {
    CXTPDockingPaneTabbedContainer* container = GetTabbedContainer();
    if (!IsVisibleInLayout() || container->m_hWnd == nullptr)
        return CRect();
    CRect rc = container->GetContentRect();
    container->ClientToScreen(&rc);
    return rc;
}

bool CXTPDockingPane::IsHidden() const {
    const CXTPDockingPaneTabbedContainer* container = GetTabbedContainer();
    return container != nullptr && container->IsAutoHidden();
}

bool CXTPDockingPane::IsFloating() const {
    const CXTPDockingPaneTabbedContainer* container = GetTabbedContainer();
    return container != nullptr && container->GetContainer() != nullptr &&
           container->GetContainer()->GetType() == xtpPaneTypeMiniWnd;
}

bool CXTPDockingPane::IsSelected() const {
    const CXTPDockingPaneTabbedContainer* container = GetTabbedContainer();
    return container != nullptr && container->GetSelected() == this;
}

CWnd* CXTPDockingPane::GetChild() const {
    return m_hwndChild != nullptr && ::IsWindow(m_hwndChild) ? CWnd::FromHandle(m_hwndChild) : nullptr;
}

void CXTPDockingPane::Attach(CWnd* pWnd) {
    Attach(pWnd != nullptr ? pWnd->m_hWnd : nullptr);
}

void CXTPDockingPane::Attach(HWND hWnd) {
    if (hWnd == m_hwndChild)
        return;
    if (m_hwndChild != nullptr)
        Detach();
    m_hwndChild = hWnd;
    if (hWnd == nullptr)
        return;
    // A window that is the content of another pane leaves it.
    if (CXTPDockingPaneManager* manager = GetDockingPaneManager()) {
        for (CXTPDockingPane* other : manager->GetPaneList()) {
            if (other != this && other->m_hwndChild == hWnd)
                other->m_hwndChild = nullptr;
        }
    }
    ::ShowWindow(hWnd, SW_HIDE);
    if (CXTPDockingPaneManager* manager = GetDockingPaneManager())
        manager->afterChange();
}

CWnd* CXTPDockingPane::Detach() {
    HWND child = m_hwndChild;
    if (child == nullptr)
        return nullptr;
    m_hwndChild = nullptr;
    if (!::IsWindow(child))
        return nullptr;
    ::ShowWindow(child, SW_HIDE);
    ::SetParent(child, nullptr);
    if (CXTPDockingPaneManager* manager = GetDockingPaneManager()) {
        manager->NotifyAction(xtpPaneActionDetached, this);
        manager->afterChange();
    }
    return CWnd::FromHandle(child);
}

void CXTPDockingPane::Select() {
    if (CXTPDockingPaneManager* manager = GetDockingPaneManager())
        manager->ShowPane(this, TRUE);
}

void CXTPDockingPane::Hide() {
    if (CXTPDockingPaneManager* manager = GetDockingPaneManager())
        manager->HidePane(this);
}

void CXTPDockingPane::Close() {
    if (CXTPDockingPaneManager* manager = GetDockingPaneManager())
        manager->ClosePane(this);
}

// CXTPDockingPaneTabbedContainer: the state parts (its window is in ContainerWindows.cpp) -----

CXTPDockingPaneTabbedContainer::CXTPDockingPaneTabbedContainer(CXTPDockingPaneLayout* pLayout)
    : CXTPDockingPaneBase(xtpPaneTypeTabbedContainer, pLayout) {}

CXTPDockingPaneTabbedContainer::~CXTPDockingPaneTabbedContainer() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
}

CXTPDockingPane* CXTPDockingPaneTabbedContainer::GetSelected() const {
    if (m_pSelected != nullptr && !m_pSelected->IsClosed())
        return m_pSelected;
    for (CXTPDockingPane* pane : m_panes) {
        if (!pane->IsClosed())
            return pane;
    }
    return nullptr;
}

int CXTPDockingPaneTabbedContainer::GetVisiblePaneCount() const {
    return static_cast<int>(std::count_if(m_panes.begin(), m_panes.end(),
                                          [](const CXTPDockingPane* p) { return !p->IsClosed(); }));
}

bool CXTPDockingPaneTabbedContainer::IsVisibleInLayout() const {
    return !m_bAutoHide && GetVisiblePaneCount() > 0;
}

CRect CXTPDockingPaneTabbedContainer::GetPaneWindowRect() const {
    if (m_hWnd == nullptr || !::IsWindowVisible(m_hWnd))
        return CRect();
    CRect rc;
    GetWindowRect(&rc);
    return rc;
}

// CXTPDockingPaneSplitterContainer ------------------------------------------------------------

CXTPDockingPaneSplitterContainer::CXTPDockingPaneSplitterContainer(CXTPDockingPaneLayout* pLayout,
                                                                   bool bHoriz)
    : CXTPDockingPaneBase(xtpPaneTypeSplitterContainer, pLayout), m_bHoriz(bHoriz) {}

CXTPDockingPaneSplitterContainer::~CXTPDockingPaneSplitterContainer() {
    for (CWnd* bar : m_splitters) {
        if (bar->m_hWnd != nullptr)
            bar->DestroyWindow();
        delete bar;
    }
}

bool CXTPDockingPaneSplitterContainer::IsVisibleInLayout() const {
    return std::any_of(m_children.begin(), m_children.end(),
                       [](const CXTPDockingPaneBase* c) { return c->IsVisibleInLayout(); });
}

CRect CXTPDockingPaneSplitterContainer::GetPaneWindowRect() const {
    return CXTPDockingPaneBase::GetPaneWindowRect();
}

// CXTPDockingPaneLayout -----------------------------------------------------------------------

CXTPDockingPaneLayout::CXTPDockingPaneLayout(CXTPDockingPaneManager* pManager) : m_pManager(pManager) {
    m_pClient = make<CXTPDockingPaneClientContainer>(this);
    m_pRoot = m_pClient;
}

CXTPDockingPaneLayout::~CXTPDockingPaneLayout() {
    // Windows go before the nodes they point into; content windows are not ours.
    for (CXTPDockingPane* pane : m_panes)
        pane->m_hwndChild = nullptr;
    m_owned.clear();
}

CXTPDockingPane* CXTPDockingPaneLayout::FindPane(int id) const {
    for (CXTPDockingPane* pane : m_panes) {
        if (pane->GetID() == id)
            return pane;
    }
    return nullptr;
}

std::vector<CXTPDockingPaneBase*> CXTPDockingPaneLayout::GetNodes() const {
    std::vector<CXTPDockingPaneBase*> nodes;
    nodes.reserve(m_owned.size());
    for (const auto& node : m_owned)
        nodes.push_back(node.get());
    return nodes;
}

void CXTPDockingPaneLayout::destroyNode(CXTPDockingPaneBase* node) {
    // The windows of panes that lived in it are the application's: they go back to the site.
    if (auto* wnd = dynamic_cast<CWnd*>(node);
        wnd != nullptr && wnd->m_hWnd != nullptr && ::IsWindow(wnd->m_hWnd)) {
        CWnd* site = m_pManager != nullptr ? m_pManager->GetSite() : nullptr;
        while (HWND child = ::GetWindow(wnd->m_hWnd, GW_CHILD)) {
            ::ShowWindow(child, SW_HIDE);
            ::SetParent(child, site != nullptr ? site->m_hWnd : nullptr);
        }
    }
    m_panes.erase(std::remove(m_panes.begin(), m_panes.end(), node), m_panes.end());
    m_floating.erase(std::remove(m_floating.begin(), m_floating.end(), node), m_floating.end());
    auto it = std::find_if(m_owned.begin(), m_owned.end(), [node](const auto& p) { return p.get() == node; });
    if (it != m_owned.end())
        m_owned.erase(it);
}
