// The places panes leave behind. A pane that floats remembers where it lay docked, and one that
// docks remembers where it floated, so a person can always send it back (by a double-click on
// its caption) -- also after a restart, since the pane's own exchange keeps both.
#include "DockTargets.h"
#include "Palette.h"
#include "xtp/DockingPaneManager.h"

#include <algorithm>

namespace {

bool holds(const CXTPDockingPaneBase* node, const CXTPDockingPaneBase* inner) {
    for (const CXTPDockingPaneBase* n = inner; n != nullptr; n = n->GetContainer()) {
        if (n == node)
            return true;
    }
    return false;
}

// The container at the edge of `node` that faces the other way from `after`.
const CXTPDockingPaneTabbedContainer* edgeContainer(const CXTPDockingPaneBase* node, bool fromEnd) {
    while (const auto* split = dynamic_cast<const CXTPDockingPaneSplitterContainer*>(node)) {
        if (split->GetChildren().empty())
            return nullptr;
        node = fromEnd ? split->GetChildren().back() : split->GetChildren().front();
    }
    return dynamic_cast<const CXTPDockingPaneTabbedContainer*>(node);
}

bool isFloating(const CXTPDockingPaneBase* container) {
    return container != nullptr && container->GetContainer() != nullptr &&
           container->GetContainer()->GetType() == xtpPaneTypeMiniWnd;
}

} // namespace

void CXTPDockingPaneManager::rememberDockedPlace(CXTPDockingPaneBase* moving) {
    auto* pane = dynamic_cast<CXTPDockingPane*>(moving);
    auto* container =
        pane != nullptr ? pane->GetTabbedContainer() : dynamic_cast<CXTPDockingPaneTabbedContainer*>(moving);
    if (container == nullptr || isFloating(container) || container->m_bAutoHide)
        return;
    // A pane torn out of a group goes back as one of its tabs.
    if (pane != nullptr && container->m_panes.size() > 1) {
        CXTPDockingPane* stays = container->GetSelected() != pane ? container->GetSelected() : nullptr;
        for (CXTPDockingPane* other : container->m_panes) {
            if (stays == nullptr && other != pane)
                stays = other;
        }
        pane->m_nDockedBeside = stays->GetID();
        pane->m_nDockedSide = CXTPDockingPane::kDockedAsTab;
        return;
    }
    auto* parent = dynamic_cast<CXTPDockingPaneSplitterContainer*>(container->m_pParentContainer);
    if (parent == nullptr || parent->m_children.size() < 2)
        return;
    // Its neighbour in its row: the node before it, or after it when it comes first.
    const auto& row = parent->m_children;
    const auto at = std::find(row.begin(), row.end(), container);
    const bool after = at != row.begin();
    const CXTPDockingPaneBase* neighbour = after ? *(at - 1) : *(at + 1);
    const XTPDockingPaneDirection side = parent->m_bHoriz ? (after ? xtpPaneDockRight : xtpPaneDockLeft)
                                                          : (after ? xtpPaneDockBottom : xtpPaneDockTop);
    int beside = CXTPDockingPane::kDockedAtFrame;
    if (holds(neighbour, m_layout->m_pClient)) {
        // Beside the client, or a node that holds it: how many steps up from the client.
        int steps = 0;
        for (const CXTPDockingPaneBase* n = m_layout->m_pClient; n != neighbour; n = n->GetContainer())
            ++steps;
        beside = CXTPDockingPane::kDockedAtClient - steps;
    } else {
        const CXTPDockingPaneTabbedContainer* edge = edgeContainer(neighbour, after);
        if (edge != nullptr && !edge->m_panes.empty())
            beside = edge->m_panes.front()->GetID();
    }
    for (CXTPDockingPane* p : container->m_panes) {
        p->m_nDockedBeside = beside;
        p->m_nDockedSide = side;
    }
}

void CXTPDockingPaneManager::rememberFloatingPlace(CXTPDockingPaneBase* moving) {
    auto* pane = dynamic_cast<CXTPDockingPane*>(moving);
    auto* container =
        pane != nullptr ? pane->GetTabbedContainer() : dynamic_cast<CXTPDockingPaneTabbedContainer*>(moving);
    auto* mini =
        container != nullptr ? dynamic_cast<CXTPDockingPaneMiniWnd*>(container->m_pParentContainer) : nullptr;
    if (mini == nullptr)
        return;
    if (pane != nullptr) {
        pane->m_rcLastFloat = mini->m_rcFloat;
        return;
    }
    for (CXTPDockingPane* p : container->m_panes)
        p->m_rcLastFloat = mini->m_rcFloat;
}

void CXTPDockingPaneManager::dockBack(CXTPDockingPaneTabbedContainer* container) {
    CXTPDockingPane* lead = container->GetSelected();
    if (lead == nullptr)
        return;
    const int side = lead->m_nDockedSide;
    const auto direction = static_cast<XTPDockingPaneDirection>(
        side >= xtpPaneDockLeft && side <= xtpPaneDockBottom ? side : xtpPaneDockLeft);
    if (lead->m_nDockedBeside <= CXTPDockingPane::kDockedAtClient) {
        // As many steps up from the client as there are still.
        CXTPDockingPaneBase* near = m_layout->m_pClient;
        for (int steps = CXTPDockingPane::kDockedAtClient - lead->m_nDockedBeside;
             steps > 0 && near->m_pParentContainer != nullptr; --steps)
            near = near->m_pParentContainer;
        DockPane(container, direction, near);
        return;
    }
    // The neighbour must still be docked and shown; otherwise the frame's side stands in.
    CXTPDockingPane* neighbour =
        lead->m_nDockedBeside > 0 ? m_layout->FindPane(lead->m_nDockedBeside) : nullptr;
    CXTPDockingPaneTabbedContainer* home = neighbour != nullptr ? neighbour->GetTabbedContainer() : nullptr;
    if (home == nullptr || home == container || isFloating(home) || home->m_bAutoHide ||
        !home->IsVisibleInLayout()) {
        DockPane(container, direction, nullptr);
        return;
    }
    if (side == CXTPDockingPane::kDockedAsTab)
        AttachPane(container, home);
    else
        DockPane(container, direction, home);
}

void CXTPDockingPaneManager::toggleDocking(CXTPDockingPaneTabbedContainer* container) {
    if (container == nullptr || container->m_bAutoHide || m_bLocked)
        return;
    if (isFloating(container)) {
        dockBack(container);
        return;
    }
    CXTPDockingPane* lead = container->GetSelected();
    CRect rc = lead != nullptr ? lead->m_rcLastFloat : CRect();
    if (rc.IsRectEmpty() && container->m_hWnd != nullptr) {
        // Never floated: it floats where it lies, a little down and to the right.
        container->GetWindowRect(&rc);
        rc.InflateRect(dvtk::docking::floatBorder(), dvtk::docking::floatBorder());
        rc.OffsetRect(dvtk::docking::captionHeight(), dvtk::docking::captionHeight());
    }
    FloatPane(container, rc);
}

dvtk::docking::DockTargets& CXTPDockingPaneManager::dockTargets() {
    if (!m_pDockTargets)
        m_pDockTargets = std::make_unique<dvtk::docking::DockTargets>(this);
    return *m_pDockTargets;
}
