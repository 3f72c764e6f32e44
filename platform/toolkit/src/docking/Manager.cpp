// The manager's operations on panes and the surgery they do on the layout's tree.
#include "DockTargets.h"
#include "xtp/DockingPaneManager.h"
#include "xtp/ImageManager.h"
#include "xtp/MultiMonitor.h"
#include "xtp/PaintManager.h"
#include "xtp/TabManager.h"

#include <algorithm>

namespace {

bool isHorizontal(XTPDockingPaneDirection dir) {
    return dir == xtpPaneDockLeft || dir == xtpPaneDockRight;
}

bool isBefore(XTPDockingPaneDirection dir) {
    return dir == xtpPaneDockLeft || dir == xtpPaneDockTop;
}

bool isDirection(int dir) {
    return dir >= xtpPaneDockLeft && dir <= xtpPaneDockBottom;
}

} // namespace

CXTPDockingPaneManager::CXTPDockingPaneManager() : m_layout(std::make_unique<CXTPDockingPaneLayout>(this)) {}

int CXTPDockingPaneManager::GetPaneIconSize() {
    return CXTPDpi::ScaleX(16);
}

CXTPImageManagerIcon* CXTPDockingPaneManager::GetPaneIcon(const CXTPDockingPane* pane) const {
    if (pane == nullptr || pane->GetIconID() <= 0 || m_pImageManager == nullptr)
        return nullptr;
    return m_pImageManager->GetImage(static_cast<UINT>(pane->GetIconID()), GetPaneIconSize());
}

CXTPDockingPaneManager::~CXTPDockingPaneManager() {
    for (CXTPDockingPaneAutoHidePanel*& panel : m_panels) {
        if (panel != nullptr && panel->m_hWnd != nullptr && ::IsWindow(panel->m_hWnd))
            panel->DestroyWindow();
        delete panel;
        panel = nullptr;
    }
    // Before the site is let go: the content windows go back to it.
    m_layout.reset();
    unhookSite();
    if (m_pImageManager != nullptr)
        m_pImageManager->InternalRelease();
}

CXTPImageManager* CXTPDockingPaneManager::GetImageManager() const {
    if (m_pImageManager == nullptr)
        m_pImageManager = new CXTPImageManager;
    return m_pImageManager;
}

void CXTPDockingPaneManager::SetImageManager(CXTPImageManager* pImageManager) {
    if (pImageManager == m_pImageManager)
        return;
    if (pImageManager != nullptr)
        pImageManager->InternalAddRef();
    if (m_pImageManager != nullptr)
        m_pImageManager->InternalRelease();
    m_pImageManager = pImageManager;
}

CXTPTabPaintManager* CXTPDockingPaneManager::GetTabPaintManager() const {
    if (!m_pTabPaintManager)
        m_pTabPaintManager = std::make_unique<CXTPTabPaintManager>();
    return m_pTabPaintManager.get();
}

CXTPTabPaintManager* CXTPDockingPaneManager::GetPanelPaintManager() const {
    if (!m_pPanelPaintManager)
        m_pPanelPaintManager = std::make_unique<CXTPTabPaintManager>();
    return m_pPanelPaintManager.get();
}

CXTPDockingPaneBase* CXTPDockingPaneManager::OnCreatePane(XTPDockingPaneType type,
                                                          CXTPDockingPaneLayout* pLayout) {
    switch (type) {
    case xtpPaneTypeDockingPane:
        return new CXTPDockingPane(pLayout);
    case xtpPaneTypeTabbedContainer:
        return new CXTPDockingPaneTabbedContainer(pLayout);
    case xtpPaneTypeSplitterContainer:
        return new CXTPDockingPaneSplitterContainer(pLayout, true);
    case xtpPaneTypeMiniWnd:
        return new CXTPDockingPaneMiniWnd(pLayout, CRect());
    case xtpPaneTypeClient:
        return new CXTPDockingPaneClientContainer(pLayout);
    default:
        return nullptr;
    }
}

CXTPDockingPane* CXTPDockingPaneManager::newPane(CXTPDockingPaneLayout* layout) {
    CXTPDockingPaneBase* node = OnCreatePane(xtpPaneTypeDockingPane, layout);
    auto* pane = dynamic_cast<CXTPDockingPane*>(node);
    if (pane == nullptr) {
        delete node;
        return nullptr;
    }
    pane->m_pLayout = layout;
    layout->adopt(pane);
    layout->m_panes.push_back(pane);
    return pane;
}

CXTPDockingPaneTabbedContainer* CXTPDockingPaneManager::newContainer(CXTPDockingPaneLayout* layout) {
    auto* container = layout->make<CXTPDockingPaneTabbedContainer>(layout);
    return container;
}

LRESULT CXTPDockingPaneManager::NotifyOwner(WPARAM code, LPARAM lParam) {
    if (m_pSite == nullptr || m_pSite->m_hWnd == nullptr || !::IsWindow(m_pSite->m_hWnd))
        return 0;
    return ::SendMessageW(m_pSite->m_hWnd, XTPWM_DOCKINGPANE_NOTIFY, code, lParam);
}

bool CXTPDockingPaneManager::NotifyAction(XTPDockingPaneAction action, CXTPDockingPane* pPane) {
    XTP_DOCKINGPANE_ACTION info{action, pPane, FALSE};
    NotifyOwner(XTP_DPN_ACTION, reinterpret_cast<LPARAM>(&info));
    return !info.bCancel;
}

CXTPDockingPane* CXTPDockingPaneManager::FindPane(int nID) const {
    return m_layout->FindPane(nID);
}

const std::vector<CXTPDockingPane*>& CXTPDockingPaneManager::GetPaneList() const {
    return m_layout->GetPaneList();
}

std::vector<CXTPDockingPaneBase*> CXTPDockingPaneManager::GetPaneStack() const {
    std::vector<CXTPDockingPaneBase*> stack = m_layout->GetNodes();
    for (CXTPDockingPaneAutoHidePanel* panel : m_panels) {
        if (panel != nullptr)
            stack.push_back(panel);
    }
    return stack;
}

CXTPDockingPaneAutoHidePanel* CXTPDockingPaneManager::GetAutoHidePanel(XTPDockingPaneDirection side) const {
    return isDirection(side) ? m_panels[static_cast<size_t>(side)] : nullptr;
}

// Tree surgery ---------------------------------------------------------------------------------

void CXTPDockingPaneManager::removeFromParent(CXTPDockingPaneBase* node) {
    CXTPDockingPaneLayout* layout = node->m_pLayout;
    CXTPDockingPaneBase* parent = node->m_pParentContainer;
    node->m_pParentContainer = nullptr;
    if (parent == nullptr) {
        if (layout->m_pRoot == node)
            layout->m_pRoot = layout->m_pClient; // never happens while the client is in the tree
        return;
    }
    if (auto* tabbed = dynamic_cast<CXTPDockingPaneTabbedContainer*>(parent)) {
        auto& panes = tabbed->m_panes;
        panes.erase(std::remove(panes.begin(), panes.end(), node), panes.end());
        if (tabbed->m_pSelected == node)
            tabbed->m_pSelected = nullptr;
        if (tabbed->m_pShown == node)
            tabbed->m_pShown = nullptr;
        if (panes.empty()) {
            if (m_pSlid != nullptr && m_pSlid->m_pParentContainer == tabbed)
                m_pSlid = nullptr;
            removeFromParent(tabbed);
            layout->destroyNode(tabbed);
        }
        return;
    }
    if (auto* mini = dynamic_cast<CXTPDockingPaneMiniWnd*>(parent)) {
        mini->m_pTop = nullptr;
        layout->destroyNode(mini);
        return;
    }
    if (auto* split = dynamic_cast<CXTPDockingPaneSplitterContainer*>(parent)) {
        auto& children = split->m_children;
        children.erase(std::remove(children.begin(), children.end(), node), children.end());
        if (children.size() > 1)
            return;
        // A splitter of one gives its place (and its size) to that one.
        CXTPDockingPaneBase* only = children.empty() ? nullptr : children.front();
        CXTPDockingPaneBase* grand = split->m_pParentContainer;
        if (only != nullptr) {
            only->m_nDockingSize = split->m_nDockingSize;
            only->m_pParentContainer = grand;
            children.clear();
        }
        if (grand == nullptr) {
            if (layout->m_pRoot == split)
                layout->m_pRoot = only != nullptr ? only : layout->m_pClient;
        } else if (auto* g = dynamic_cast<CXTPDockingPaneSplitterContainer*>(grand)) {
            auto it = std::find(g->m_children.begin(), g->m_children.end(), split);
            if (only != nullptr)
                *it = only;
            else
                g->m_children.erase(it);
        }
        split->m_pParentContainer = nullptr;
        layout->destroyNode(split);
    }
}

void CXTPDockingPaneManager::insertBeside(CXTPDockingPaneBase* node, CXTPDockingPaneBase* target,
                                          XTPDockingPaneDirection dir) {
    CXTPDockingPaneLayout* layout = m_layout.get();
    const bool horiz = isHorizontal(dir), before = isBefore(dir);
    // Beside a floating container there is no room: the node joins it as tabs.
    if (target->m_pParentContainer != nullptr &&
        target->m_pParentContainer->GetType() == xtpPaneTypeMiniWnd) {
        auto* tabbed = dynamic_cast<CXTPDockingPaneTabbedContainer*>(target);
        auto* moving = dynamic_cast<CXTPDockingPaneTabbedContainer*>(node);
        if (tabbed != nullptr && moving != nullptr) {
            for (CXTPDockingPane* pane : std::vector<CXTPDockingPane*>(moving->m_panes)) {
                moving->m_panes.clear();
                tabbed->m_panes.push_back(pane);
                pane->m_pParentContainer = tabbed;
            }
            tabbed->m_pSelected = moving->m_pSelected;
            layout->destroyNode(moving);
        }
        return;
    }
    auto* parent = dynamic_cast<CXTPDockingPaneSplitterContainer*>(target->m_pParentContainer);
    auto* rootSplit = dynamic_cast<CXTPDockingPaneSplitterContainer*>(target);
    if (target == layout->m_pRoot && rootSplit != nullptr && rootSplit->m_bHoriz == horiz) {
        // At a side of the frame: the outermost place of the root's row.
        auto& c = rootSplit->m_children;
        c.insert(before ? c.begin() : c.end(), node);
        node->m_pParentContainer = rootSplit;
        return;
    }
    if (parent != nullptr && parent->m_bHoriz == horiz) {
        auto& c = parent->m_children;
        auto it = std::find(c.begin(), c.end(), target);
        c.insert(before ? it : it + 1, node);
        node->m_pParentContainer = parent;
        return;
    }
    auto* split = layout->make<CXTPDockingPaneSplitterContainer>(layout, horiz);
    split->m_nDockingSize = target->m_nDockingSize;
    split->m_pParentContainer = target->m_pParentContainer;
    if (parent != nullptr)
        *std::find(parent->m_children.begin(), parent->m_children.end(), target) = split;
    else
        layout->m_pRoot = split;
    split->m_children = before ? std::vector<CXTPDockingPaneBase*>{node, target}
                               : std::vector<CXTPDockingPaneBase*>{target, node};
    node->m_pParentContainer = split;
    target->m_pParentContainer = split;
}

void CXTPDockingPaneManager::takePaneOut(CXTPDockingPane* pane) {
    if (pane->m_hwndChild != nullptr && ::IsWindow(pane->m_hwndChild)) {
        ::ShowWindow(pane->m_hwndChild, SW_HIDE);
        if (m_pSite != nullptr && m_pSite->m_hWnd != nullptr)
            ::SetParent(pane->m_hwndChild, m_pSite->m_hWnd);
    }
    if (m_pSlid == pane)
        m_pSlid = nullptr;
    removeFromParent(pane);
}

// The container that moves when `base` is docked, floated or attached elsewhere, out of the
// tree: a pane alone in its container takes the container along (and its window).
CXTPDockingPaneTabbedContainer* CXTPDockingPaneManager::containerToMove(CXTPDockingPaneBase* base) {
    if (auto* tabbed = dynamic_cast<CXTPDockingPaneTabbedContainer*>(base)) {
        if (m_pSlid != nullptr && m_pSlid->m_pParentContainer == tabbed)
            m_pSlid = nullptr;
        removeFromParent(tabbed);
        return tabbed;
    }
    auto* pane = dynamic_cast<CXTPDockingPane*>(base);
    if (pane == nullptr)
        return nullptr;
    CXTPDockingPaneTabbedContainer* own = pane->GetTabbedContainer();
    if (own != nullptr && own->m_panes.size() == 1)
        return containerToMove(own);
    const int size = own != nullptr ? own->m_nDockingSize : 200;
    if (own != nullptr)
        takePaneOut(pane);
    CXTPDockingPaneTabbedContainer* fresh = newContainer(m_layout.get());
    fresh->m_panes.push_back(pane);
    fresh->m_pSelected = pane;
    fresh->m_nDockingSize = size;
    pane->m_pParentContainer = fresh;
    return fresh;
}

static CXTPDockingPaneBase* dockTarget(CXTPDockingPaneLayout* layout, CXTPDockingPaneBase* neighbour) {
    if (neighbour == nullptr)
        return layout->GetRoot();
    if (auto* pane = dynamic_cast<CXTPDockingPane*>(neighbour)) {
        CXTPDockingPaneTabbedContainer* container = pane->GetTabbedContainer();
        return container != nullptr ? static_cast<CXTPDockingPaneBase*>(container) : layout->GetRoot();
    }
    return neighbour;
}

// Operations ------------------------------------------------------------------------------------

CXTPDockingPane* CXTPDockingPaneManager::CreatePane(UINT nID, CRect rc, XTPDockingPaneDirection direction,
                                                    CXTPDockingPaneBase* pNeighbour) {
    if (FindPane(static_cast<int>(nID)) != nullptr)
        return nullptr;
    CXTPDockingPane* pane = newPane(m_layout.get());
    if (pane == nullptr)
        return nullptr;
    pane->m_nID = static_cast<int>(nID);
    CXTPDockingPaneTabbedContainer* container = newContainer(m_layout.get());
    container->m_panes.push_back(pane);
    container->m_pSelected = pane;
    pane->m_pParentContainer = container;
    rc.NormalizeRect();
    if (isDirection(direction)) {
        const int size = isHorizontal(direction) ? rc.Width() : rc.Height();
        container->m_nDockingSize = size > 0 ? size : 200;
        insertBeside(container, dockTarget(m_layout.get(), pNeighbour), direction);
    } else {
        // No side: it floats, its size kept, in the middle of the frame's screen.
        const CRect screen = CXTPMultiMonitor::GetWorkArea(m_pSite != nullptr ? m_pSite->m_hWnd : nullptr);
        const CSize size(std::max(rc.Width(), 1), std::max(rc.Height(), 1));
        CRect at(screen.CenterPoint() - CSize(size.cx / 2, size.cy / 2), size);
        auto* mini =
            m_layout->make<CXTPDockingPaneMiniWnd>(m_layout.get(), CXTPMultiMonitor::FitToWorkArea(at));
        mini->m_pTop = container;
        container->m_pParentContainer = mini;
        m_layout->m_floating.push_back(mini);
    }
    NotifyAction(xtpPaneActionCreated, pane);
    afterChange();
    return pane;
}

void CXTPDockingPaneManager::DockPane(CXTPDockingPaneBase* pPane, XTPDockingPaneDirection direction,
                                      CXTPDockingPaneBase* pNeighbour) {
    if (pPane == nullptr || !isDirection(direction))
        return;
    auto* pane = dynamic_cast<CXTPDockingPane*>(pPane);
    if (!NotifyAction(xtpPaneActionDocking, pane))
        return;
    CXTPDockingPaneBase* target = dockTarget(m_layout.get(), pNeighbour);
    rememberFloatingPlace(pPane);
    CXTPDockingPaneTabbedContainer* moving = containerToMove(pPane);
    if (moving == nullptr)
        return;
    // A neighbour that moved along (or went) leaves the frame's side as the place. Taking the
    // container out may have destroyed the neighbour itself (the floating frame or the splitter
    // the container left), so it is looked for among the layout's nodes before it is touched.
    const std::vector<CXTPDockingPaneBase*> nodes = m_layout->GetNodes();
    bool targetInTree = false;
    if (std::find(nodes.begin(), nodes.end(), target) != nodes.end())
        for (CXTPDockingPaneBase* n = target; n != nullptr; n = n->m_pParentContainer)
            targetInTree = targetInTree || n == m_layout->m_pRoot || n->GetType() == xtpPaneTypeMiniWnd;
    if (target == moving || !targetInTree)
        target = m_layout->m_pRoot;
    moving->m_bAutoHide = false;
    insertBeside(moving, target, direction);
    NotifyAction(xtpPaneActionDocked, pane);
    afterChange();
}

CXTPDockingPaneMiniWnd* CXTPDockingPaneManager::FloatPane(CXTPDockingPaneBase* pPane, CRect rc) {
    if (pPane == nullptr)
        return nullptr;
    auto* pane = dynamic_cast<CXTPDockingPane*>(pPane);
    if (!NotifyAction(xtpPaneActionFloating, pane))
        return nullptr;
    // A container already alone in its own floating frame just moves.
    if (CXTPDockingPaneTabbedContainer* own = pane != nullptr
                                                  ? pane->GetTabbedContainer()
                                                  : dynamic_cast<CXTPDockingPaneTabbedContainer*>(pPane)) {
        if (auto* mini = dynamic_cast<CXTPDockingPaneMiniWnd*>(own->m_pParentContainer);
            mini != nullptr && (pane == nullptr || own->m_panes.size() == 1)) {
            rc.NormalizeRect();
            mini->m_rcFloat = CXTPMultiMonitor::FitToWorkArea(rc);
            afterChange();
            return mini;
        }
    }
    rememberDockedPlace(pPane);
    CXTPDockingPaneTabbedContainer* moving = containerToMove(pPane);
    if (moving == nullptr)
        return nullptr;
    moving->m_bAutoHide = false;
    rc.NormalizeRect();
    auto* mini = m_layout->make<CXTPDockingPaneMiniWnd>(m_layout.get(), CXTPMultiMonitor::FitToWorkArea(rc));
    mini->m_pTop = moving;
    moving->m_pParentContainer = mini;
    m_layout->m_floating.push_back(mini);
    NotifyAction(xtpPaneActionFloated, pane);
    afterChange();
    return mini;
}

void CXTPDockingPaneManager::AttachPane(CXTPDockingPaneBase* pPane, CXTPDockingPaneBase* pNeighbour) {
    if (pPane == nullptr || pNeighbour == nullptr || pPane == pNeighbour)
        return;
    auto* target = dynamic_cast<CXTPDockingPaneTabbedContainer*>(dockTarget(m_layout.get(), pNeighbour));
    if (target == nullptr)
        return;
    std::vector<CXTPDockingPane*> moving;
    CXTPDockingPane* select = nullptr;
    if (auto* pane = dynamic_cast<CXTPDockingPane*>(pPane)) {
        if (pane->m_pParentContainer == target) {
            target->m_pSelected = pane;
            afterChange();
            return;
        }
        moving.push_back(pane);
        select = pane;
    } else if (auto* tabbed = dynamic_cast<CXTPDockingPaneTabbedContainer*>(pPane)) {
        if (tabbed == target)
            return;
        moving = tabbed->m_panes;
        select = tabbed->GetSelected();
    }
    if (moving.empty() || !NotifyAction(xtpPaneActionAttaching, select))
        return;
    rememberFloatingPlace(pPane);
    for (CXTPDockingPane* pane : moving) {
        takePaneOut(pane);
        target->m_panes.push_back(pane);
        pane->m_pParentContainer = target;
    }
    target->m_pSelected = select != nullptr ? select : moving.front();
    NotifyAction(xtpPaneActionAttached, select);
    afterChange();
}

void CXTPDockingPaneManager::ShowPane(int nID, BOOL bSetFocus) {
    ShowPane(FindPane(nID), bSetFocus);
}

void CXTPDockingPaneManager::ShowPane(CXTPDockingPane* pPane, BOOL bSetFocus) {
    if (pPane == nullptr)
        return;
    pPane->m_bClosed = false;
    CXTPDockingPaneTabbedContainer* container = pPane->GetTabbedContainer();
    if (container == nullptr) {
        // A pane outside every container (made by a layout that lost its place) docks left.
        container = newContainer(m_layout.get());
        container->m_panes.push_back(pPane);
        pPane->m_pParentContainer = container;
        insertBeside(container, m_layout->m_pRoot, xtpPaneDockLeft);
    }
    container->m_pSelected = pPane;
    if (auto* mini = dynamic_cast<CXTPDockingPaneMiniWnd*>(container->m_pParentContainer))
        mini->m_bCollapsed = false;
    NotifyAction(xtpPaneActionShown, pPane);
    if (container->m_bAutoHide) {
        slideOut(pPane, bSetFocus);
        return;
    }
    afterChange();
    if (bSetFocus)
        focusPane(pPane);
}

BOOL CXTPDockingPaneManager::ClosePane(int nID) {
    return ClosePane(FindPane(nID));
}

BOOL CXTPDockingPaneManager::ClosePane(CXTPDockingPane* pPane) {
    if (pPane == nullptr)
        return FALSE;
    if (pPane->m_bClosed)
        return TRUE;
    if (NotifyOwner(XTP_DPN_CLOSEPANE, reinterpret_cast<LPARAM>(pPane)) == XTP_ACTION_NOCLOSE ||
        !NotifyAction(xtpPaneActionClosing, pPane))
        return FALSE;
    pPane->m_bClosed = true;
    if (pPane->m_hwndChild != nullptr && ::IsWindow(pPane->m_hwndChild))
        ::ShowWindow(pPane->m_hwndChild, SW_HIDE);
    if (m_pSlid == pPane)
        HideAutoHideWindow();
    afterChange();
    // The site may destroy the pane when it hears this.
    NotifyAction(xtpPaneActionClosed, pPane);
    return TRUE;
}

void CXTPDockingPaneManager::CloseAll() {
    m_pSlid = nullptr;
    for (CXTPDockingPane* pane : GetPaneList()) {
        pane->m_bClosed = true;
        if (pane->m_hwndChild != nullptr && ::IsWindow(pane->m_hwndChild))
            ::ShowWindow(pane->m_hwndChild, SW_HIDE);
    }
    afterChange();
}

void CXTPDockingPaneManager::HidePane(CXTPDockingPaneBase* pPane) {
    auto* pane = dynamic_cast<CXTPDockingPane*>(pPane);
    auto* container =
        pane != nullptr ? pane->GetTabbedContainer() : dynamic_cast<CXTPDockingPaneTabbedContainer*>(pPane);
    // Only what is docked collapses to a side.
    if (container == nullptr || container->m_bAutoHide ||
        (container->m_pParentContainer != nullptr &&
         container->m_pParentContainer->GetType() == xtpPaneTypeMiniWnd))
        return;
    if (!NotifyAction(xtpPaneActionCollapsing, pane != nullptr ? pane : container->GetSelected()))
        return;
    // The side it collapses to is the side of the client it lies on.
    const CRect rc = container->m_rcWindow;
    const CRect client = m_layout->m_pClient->m_rcWindow;
    XTPDockingPaneDirection side = xtpPaneDockLeft;
    if (!rc.IsRectEmpty()) {
        if (rc.right <= client.left)
            side = xtpPaneDockLeft;
        else if (rc.left >= client.right)
            side = xtpPaneDockRight;
        else if (rc.bottom <= client.top)
            side = xtpPaneDockTop;
        else if (rc.top >= client.bottom)
            side = xtpPaneDockBottom;
    }
    container->m_bAutoHide = true;
    container->m_autoHideSide = side;
    container->m_nAutoHideSize = rc.IsRectEmpty() ? 0 : isHorizontal(side) ? rc.Width() : rc.Height();
    NotifyAction(xtpPaneActionCollapsed, pane != nullptr ? pane : container->GetSelected());
    afterChange();
}

void CXTPDockingPaneManager::ToggleAutoHide(CXTPDockingPaneBase* pPane) {
    auto* pane = dynamic_cast<CXTPDockingPane*>(pPane);
    auto* container =
        pane != nullptr ? pane->GetTabbedContainer() : dynamic_cast<CXTPDockingPaneTabbedContainer*>(pPane);
    if (container == nullptr)
        return;
    if (!container->m_bAutoHide) {
        HidePane(container);
        return;
    }
    if (m_pSlid != nullptr && m_pSlid->m_pParentContainer == container)
        m_pSlid = nullptr;
    container->m_bAutoHide = false;
    NotifyAction(xtpPaneActionPinned, container->GetSelected());
    afterChange();
}

void CXTPDockingPaneManager::DestroyPane(int nID) {
    DestroyPane(FindPane(nID));
}

void CXTPDockingPaneManager::DestroyPane(CXTPDockingPane* pPane) {
    if (pPane == nullptr || pPane->m_pLayout != m_layout.get())
        return;
    NotifyAction(xtpPaneActionDestroyed, pPane);
    pPane->Detach();
    takePaneOut(pPane);
    m_layout->destroyNode(pPane);
    afterChange();
}
