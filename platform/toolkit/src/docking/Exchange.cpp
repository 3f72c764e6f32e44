// Layouts to and from a property exchange. What a loaded layout holds is taken as untrusted: a
// file written by an older program, edited by hand or damaged still gives a layout in which
// every pane can be reached and every floating frame lies on a screen.
#include "xtp/DockingPaneManager.h"
#include "xtp/MultiMonitor.h"
#include "xtp/PropExchange.h"

#include "pal/notice.h"
#include "pal/text.h"

#include <algorithm>
#include <set>
#include <string>

namespace {

constexpr int kLayoutVersion = 1;
// Deeper trees than this are no layout a person made.
constexpr int kMaxDepth = 24;
constexpr int kDefaultSize = 200;
constexpr int kMaxSize = 32000;

int saneSize(int size) {
    return size <= 0 ? kDefaultSize : std::min(size, kMaxSize);
}

CString idList(const std::vector<CXTPDockingPane*>& panes) {
    CString text;
    for (const CXTPDockingPane* pane : panes) {
        if (!text.IsEmpty())
            text += L",";
        text.AppendFormat(L"%d", pane->GetID());
    }
    return text;
}

std::vector<int> parseIds(const CString& text) {
    std::vector<int> ids;
    const std::wstring s = text.GetString();
    size_t at = 0;
    while (at <= s.size() && ids.size() < CXTPPropExchange::kMaxItems) {
        const size_t comma = std::min(s.find(L',', at), s.size());
        const std::wstring part = s.substr(at, comma - at);
        try {
            size_t used = 0;
            const long long v = std::stoll(part, &used);
            if (used == part.size() && v >= INT_MIN && v <= INT_MAX)
                ids.push_back(static_cast<int>(v));
        } catch (const std::exception&) {
            // not a number: no pane
        }
        at = comma + 1;
    }
    return ids;
}

void say(const char* what, int id) {
    pal::notice::say(std::string("Docking pane ") + std::to_string(id) + ": " + what);
}

} // namespace

BOOL CXTPDockingPane::DoPropExchange(CXTPPropExchange* pPX) {
    PX_Int(pPX, L"ID", m_nID, 0);
    PX_String(pPX, L"Title", m_strTitle, L"");
    PX_String(pPX, L"TabCaption", m_strTabCaption, L"");
    PX_Int(pPX, L"IconID", m_nIconID, -1);
    PX_Bool(pPX, L"Closed", m_bClosed, false);
    PX_Size(pPX, L"MinSize", m_szMin, CSize(0, 0));
    PX_Size(pPX, L"MaxSize", m_szMax, CSize(32000, 32000));
    PX_Int(pPX, L"DockedBeside", m_nDockedBeside, kDockedAtFrame);
    PX_Int(pPX, L"DockedSide", m_nDockedSide, xtpPaneDockLeft);
    PX_Rect(pPX, L"FloatRect", m_rcLastFloat, CRect());
    if (pPX->IsLoading()) {
        if (m_nDockedSide < xtpPaneDockLeft || m_nDockedSide > kDockedAsTab)
            m_nDockedSide = xtpPaneDockLeft;
        if (m_nDockedBeside < kDockedAtClient - kMaxDepth || m_nDockedBeside == m_nID)
            m_nDockedBeside = kDockedAtFrame;
        m_rcLastFloat.NormalizeRect();
        m_szMin.cx = std::clamp(static_cast<int>(m_szMin.cx), 0, kMaxSize);
        m_szMin.cy = std::clamp(static_cast<int>(m_szMin.cy), 0, kMaxSize);
        // A maximum below the minimum (or none at all) is no maximum.
        if (m_szMax.cx <= 0 || m_szMax.cx < m_szMin.cx)
            m_szMax.cx = kMaxSize;
        if (m_szMax.cy <= 0 || m_szMax.cy < m_szMin.cy)
            m_szMax.cy = kMaxSize;
        m_szMax.cx = std::min(static_cast<int>(m_szMax.cx), kMaxSize);
        m_szMax.cy = std::min(static_cast<int>(m_szMax.cy), kMaxSize);
    }
    return TRUE;
}

namespace {

// Storing and loading of the tree, with the layout's internals at hand.
struct TreeExchange {
    CXTPDockingPaneManager* manager;
    CXTPDockingPaneLayout* layout;
    std::set<CXTPDockingPane*> placed;
    bool clientPlaced = false;
    int nodes = 0;
};

} // namespace

// The pieces of the tree that the exchange reaches through the layout's friendship.
struct CXTPDockingPaneLayoutExchange {
    static void storeNode(CXTPDockingPaneBase* node, CXTPPropExchange* px) {
        int size = node->GetDockingSize();
        if (auto* split = dynamic_cast<CXTPDockingPaneSplitterContainer*>(node)) {
            CString type = L"Splitter";
            PX_String(px, L"Type", type);
            PX_Int(px, L"Size", size);
            bool horiz = split->IsHorizontal();
            PX_Bool(px, L"Horizontal", horiz);
            CXTPPropExchangeEnumeratorPtr children(px->GetEnumerator(L"Node"));
            POSITION pos = children->GetPosition(static_cast<DWORD>(split->GetChildren().size()));
            for (CXTPDockingPaneBase* child : split->GetChildren()) {
                CXTPPropExchangeSection item(children->GetNext(pos));
                storeNode(child, item);
            }
        } else if (auto* tabbed = dynamic_cast<CXTPDockingPaneTabbedContainer*>(node)) {
            CString type = L"Tabbed";
            PX_String(px, L"Type", type);
            PX_Int(px, L"Size", size);
            CString ids = idList(tabbed->GetPanes());
            PX_String(px, L"Panes", ids);
            int selected = tabbed->m_pSelected != nullptr ? tabbed->m_pSelected->GetID() : 0;
            PX_Int(px, L"Selected", selected);
            bool autoHide = tabbed->IsAutoHidden();
            PX_Bool(px, L"AutoHide", autoHide);
            int side = tabbed->GetAutoHideSide();
            PX_Int(px, L"Side", side);
            int slide = tabbed->m_nAutoHideSize;
            PX_Int(px, L"AutoHideSize", slide);
        } else {
            CString type = L"Client";
            PX_String(px, L"Type", type);
        }
    }

    static CXTPDockingPaneBase* loadNode(TreeExchange& t, CXTPPropExchange* px, int depth, bool floating) {
        if (depth > kMaxDepth || ++t.nodes > static_cast<int>(CXTPPropExchange::kMaxItems))
            return nullptr;
        CString type;
        int size = 0;
        PX_String(px, L"Type", type);
        PX_Int(px, L"Size", size, kDefaultSize);
        CXTPDockingPaneLayout* layout = t.layout;
        if (type == L"Client") {
            if (t.clientPlaced || floating)
                return nullptr;
            t.clientPlaced = true;
            return layout->m_pClient;
        }
        if (type == L"Tabbed") {
            CString ids;
            int selected = 0, side = 0;
            bool autoHide = false;
            PX_String(px, L"Panes", ids);
            PX_Int(px, L"Selected", selected);
            PX_Bool(px, L"AutoHide", autoHide);
            PX_Int(px, L"Side", side);
            int slide = 0;
            PX_Int(px, L"AutoHideSize", slide);
            auto* tabbed = t.manager->newContainer(layout);
            for (int id : parseIds(ids)) {
                CXTPDockingPane* pane = layout->FindPane(id);
                // Unknown ids and panes placed already are passed over.
                if (pane == nullptr || !t.placed.insert(pane).second)
                    continue;
                tabbed->m_panes.push_back(pane);
                pane->m_pParentContainer = tabbed;
                if (id == selected)
                    tabbed->m_pSelected = pane;
            }
            if (tabbed->m_panes.empty()) {
                layout->destroyNode(tabbed);
                return nullptr;
            }
            tabbed->m_nDockingSize = saneSize(size);
            tabbed->m_nAutoHideSize = slide > 0 ? saneSize(slide) : 0;
            tabbed->m_bAutoHide = autoHide && !floating;
            tabbed->m_autoHideSide = side >= xtpPaneDockLeft && side <= xtpPaneDockBottom
                                         ? static_cast<XTPDockingPaneDirection>(side)
                                         : xtpPaneDockLeft;
            return tabbed;
        }
        if (type == L"Splitter" && !floating) {
            bool horiz = true;
            PX_Bool(px, L"Horizontal", horiz, true);
            std::vector<CXTPDockingPaneBase*> children;
            CXTPPropExchangeEnumeratorPtr items(px->GetEnumerator(L"Node"));
            POSITION pos = items->GetPosition();
            while (pos != nullptr) {
                CXTPPropExchangeSection item(items->GetNext(pos));
                if (CXTPDockingPaneBase* child = loadNode(t, item, depth + 1, floating))
                    children.push_back(child);
            }
            if (children.empty())
                return nullptr;
            if (children.size() == 1) {
                children.front()->m_nDockingSize = saneSize(size);
                return children.front();
            }
            auto* split = layout->make<CXTPDockingPaneSplitterContainer>(layout, horiz);
            split->m_nDockingSize = saneSize(size);
            for (CXTPDockingPaneBase* child : children) {
                child->m_pParentContainer = split;
                split->m_children.push_back(child);
            }
            return split;
        }
        return nullptr;
    }

    static BOOL exchange(CXTPDockingPaneLayout* layout, CXTPPropExchange* pPX) {
        if (!pPX->OnBeforeExchange())
            return FALSE;
        CXTPDockingPaneManager* manager = layout->m_pManager;
        int version = kLayoutVersion;
        PX_Int(pPX, L"Version", version, kLayoutVersion);
        if (pPX->IsStoring())
            return store(layout, pPX);
        if (version > kLayoutVersion)
            pal::notice::say("Docking layout: written by a newer program (version " +
                             std::to_string(version) + "); read as far as it is understood");

        // Panes: each its own exchange; repeated and missing ids are passed over.
        {
            CXTPPropExchangeSection panes(pPX, L"Panes");
            CXTPPropExchangeEnumeratorPtr items(panes->GetEnumerator(L"Pane"));
            POSITION pos = items->GetPosition();
            while (pos != nullptr) {
                CXTPPropExchangeSection item(items->GetNext(pos));
                int id = 0;
                if (!item->IsPropertyPresent(L"ID") || !PX_Int(item, L"ID", id))
                    continue;
                if (layout->FindPane(id) != nullptr) {
                    say("stands twice in the layout; the first is kept", id);
                    continue;
                }
                CXTPDockingPane* pane = manager->newPane(layout);
                if (pane == nullptr)
                    continue;
                pane->m_nID = id;
                if (!pane->DoPropExchange(item) || pane->GetID() != id) {
                    say("its own state could not be loaded; it is left out", id);
                    layout->destroyNode(pane);
                    continue;
                }
            }
        }

        TreeExchange t{manager, layout, {}, false, 0};
        CXTPDockingPaneBase* root = nullptr;
        {
            CXTPPropExchangeSection tree(pPX, L"Tree");
            if (tree->OnBeforeExchange())
                root = loadNode(t, tree, 0, false);
        }
        // The client belongs in the tree; a tree without it gets it beside.
        if (root == nullptr) {
            root = layout->m_pClient;
        } else if (!t.clientPlaced) {
            auto* split = layout->make<CXTPDockingPaneSplitterContainer>(layout, true);
            split->m_children = {root, layout->m_pClient};
            root->m_pParentContainer = split;
            layout->m_pClient->m_pParentContainer = split;
            root = split;
        }
        layout->m_pRoot = root;
        root->m_pParentContainer = nullptr;

        {
            CXTPPropExchangeSection floating(pPX, L"Floating");
            CXTPPropExchangeEnumeratorPtr frames(floating->GetEnumerator(L"Frame"));
            POSITION pos = frames->GetPosition();
            while (pos != nullptr) {
                CXTPPropExchangeSection frame(frames->GetNext(pos));
                CRect rc;
                bool collapsed = false;
                PX_Rect(frame, L"Rect", rc);
                PX_Bool(frame, L"Collapsed", collapsed);
                CXTPPropExchangeSection top(frame, L"Node");
                auto* tabbed = dynamic_cast<CXTPDockingPaneTabbedContainer*>(loadNode(t, top, 1, true));
                if (tabbed == nullptr)
                    continue;
                rc.NormalizeRect();
                auto* mini = layout->make<CXTPDockingPaneMiniWnd>(
                    layout, CXTPMultiMonitor::FitToWorkArea(rc, CSize(120, 80)));
                mini->m_bCollapsed = collapsed;
                mini->m_pTop = tabbed;
                tabbed->m_pParentContainer = mini;
                layout->m_floating.push_back(mini);
            }
        }

        // Panes the tree forgot are kept, closed, in a container of their own at the left.
        CXTPDockingPaneTabbedContainer* lost = nullptr;
        for (CXTPDockingPane* pane : layout->m_panes) {
            if (t.placed.count(pane) != 0)
                continue;
            if (lost == nullptr)
                lost = manager->newContainer(layout);
            pane->m_bClosed = true;
            lost->m_panes.push_back(pane);
            pane->m_pParentContainer = lost;
        }
        if (lost != nullptr) {
            auto* split = layout->make<CXTPDockingPaneSplitterContainer>(layout, true);
            split->m_children = {lost, layout->m_pRoot};
            lost->m_pParentContainer = split;
            layout->m_pRoot->m_pParentContainer = split;
            layout->m_pRoot = split;
        }
        return TRUE;
    }

    static BOOL store(CXTPDockingPaneLayout* layout, CXTPPropExchange* pPX) {
        {
            CXTPPropExchangeSection panes(pPX, L"Panes");
            CXTPPropExchangeEnumeratorPtr items(panes->GetEnumerator(L"Pane"));
            POSITION pos = items->GetPosition(static_cast<DWORD>(layout->m_panes.size()));
            for (CXTPDockingPane* pane : layout->m_panes) {
                CXTPPropExchangeSection item(items->GetNext(pos));
                // A pane that cannot store itself leaves an empty entry, which loading passes over.
                if (!pane->DoPropExchange(item)) {
                    item->EmptySection();
                    say("its own state could not be stored; it is left out", pane->GetID());
                }
            }
        }
        {
            CXTPPropExchangeSection tree(pPX, L"Tree");
            storeNode(layout->m_pRoot, tree);
        }
        CXTPPropExchangeSection floating(pPX, L"Floating");
        CXTPPropExchangeEnumeratorPtr frames(floating->GetEnumerator(L"Frame"));
        POSITION pos = frames->GetPosition(static_cast<DWORD>(layout->m_floating.size()));
        for (CXTPDockingPaneMiniWnd* mini : layout->m_floating) {
            CXTPPropExchangeSection frame(frames->GetNext(pos));
            CRect rc = mini->m_rcFloat;
            bool collapsed = mini->m_bCollapsed;
            PX_Rect(frame, L"Rect", rc);
            PX_Bool(frame, L"Collapsed", collapsed);
            CXTPPropExchangeSection top(frame, L"Node");
            storeNode(mini->m_pTop, top);
        }
        return TRUE;
    }
};

BOOL CXTPDockingPaneLayout::DoPropExchange(CXTPPropExchange* pPX) {
    return pPX != nullptr ? CXTPDockingPaneLayoutExchange::exchange(this, pPX) : FALSE;
}

BOOL CXTPDockingPaneManager::DoPropExchange(CXTPPropExchange* pPX) {
    if (pPX == nullptr)
        return FALSE;
    if (pPX->IsStoring())
        return m_layout->DoPropExchange(pPX);
    auto fresh = std::make_unique<CXTPDockingPaneLayout>(this);
    if (!fresh->DoPropExchange(pPX))
        return FALSE;
    replaceLayout(std::move(fresh));
    return TRUE;
}

// The loaded layout takes the shown one's place. Content windows go to the panes of the same
// id; panes the loaded layout does not know are kept, closed, at the left, so that nothing the
// application made is lost.
void CXTPDockingPaneManager::replaceLayout(std::unique_ptr<CXTPDockingPaneLayout> layout) {
    CXTPDockingPaneLayout* old = m_layout.get();
    m_pSlid = nullptr;
    HWND site = m_pSite != nullptr ? m_pSite->m_hWnd : nullptr;
    for (const auto& node : old->m_owned) {
        auto* wnd = dynamic_cast<CWnd*>(node.get());
        if (wnd == nullptr || wnd->m_hWnd == nullptr || !::IsWindow(wnd->m_hWnd))
            continue;
        while (HWND child = ::GetWindow(wnd->m_hWnd, GW_CHILD)) {
            ::ShowWindow(child, SW_HIDE);
            ::SetParent(child, site);
        }
    }
    CXTPDockingPaneTabbedContainer* kept = nullptr;
    for (CXTPDockingPane* pane : std::vector<CXTPDockingPane*>(old->m_panes)) {
        if (CXTPDockingPane* twin = layout->FindPane(pane->GetID())) {
            if (twin->m_hwndChild == nullptr)
                twin->m_hwndChild = pane->m_hwndChild;
            pane->m_hwndChild = nullptr;
            continue;
        }
        // The pane object itself moves over.
        removeFromParent(pane);
        auto it = std::find_if(old->m_owned.begin(), old->m_owned.end(),
                               [pane](const auto& p) { return p.get() == pane; });
        layout->m_owned.push_back(std::move(*it));
        old->m_owned.erase(it);
        old->m_panes.erase(std::find(old->m_panes.begin(), old->m_panes.end(), pane));
        pane->m_pLayout = layout.get();
        layout->m_panes.push_back(pane);
        if (kept == nullptr) {
            kept = newContainer(layout.get());
            kept->m_pLayout = layout.get();
        }
        pane->m_bClosed = true;
        kept->m_panes.push_back(pane);
        pane->m_pParentContainer = kept;
    }
    m_layout = std::move(layout);
    for (CXTPDockingPaneAutoHidePanel* panel : m_panels) {
        if (panel != nullptr)
            panel->m_pLayout = m_layout.get();
    }
    if (kept != nullptr)
        insertBeside(kept, m_layout->m_pRoot, xtpPaneDockLeft);
    afterChange();
}
