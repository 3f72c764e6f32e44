// One arrangement of panes: the tree docked in the frame, the floating frames and the
// containers collapsed to the sides. A manager shows one layout; others are kept as data
// (a saved normal or full-screen layout) and may be exchanged with XML.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/DockingPane.h"
#include "xtp/DockingPaneBase.h"

#include <memory>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPPropExchange;

class CXTPDockingPaneLayout {
public:
    explicit CXTPDockingPaneLayout(CXTPDockingPaneManager* pManager);
    ~CXTPDockingPaneLayout();
    CXTPDockingPaneLayout(const CXTPDockingPaneLayout&) = delete;
    CXTPDockingPaneLayout& operator=(const CXTPDockingPaneLayout&) = delete;

    CXTPDockingPaneManager* GetManager() const { return m_pManager; }
    // The panes in the order they were made.
    const std::vector<CXTPDockingPane*>& GetPaneList() const { return m_panes; }
    CXTPDockingPane* FindPane(int id) const;
    CXTPDockingPaneBase* GetRoot() const { return m_pRoot; }
    CXTPDockingPaneClientContainer* GetClient() const { return m_pClient; }
    const std::vector<CXTPDockingPaneMiniWnd*>& GetFloatingFrames() const { return m_floating; }
    // Every node, panes included.
    std::vector<CXTPDockingPaneBase*> GetNodes() const;

    // Stores or loads the whole layout. A pane whose own exchange fails is left out (logged);
    // what a bad file holds (repeated or unknown ids, sizes out of range, floating frames off
    // every screen, a tree out of shape) is mended on loading into a sane layout.
    BOOL DoPropExchange(CXTPPropExchange* pPX);

protected:
    friend class CXTPDockingPaneManager;
    friend class CXTPDockingPaneBase;
    friend class CXTPDockingPane;
    friend class CXTPDockingPaneTabbedContainer;
    friend struct CXTPDockingPaneLayoutExchange;
    friend class CXTPDockingPaneMiniWnd;

    // Ownership of every node lies here.
    template <class T, class... A> T* make(A&&... args) {
        auto node = std::make_unique<T>(std::forward<A>(args)...);
        T* raw = node.get();
        m_owned.push_back(std::move(node));
        return raw;
    }
    // Takes a node the pane factory made.
    void adopt(CXTPDockingPaneBase* node) { m_owned.emplace_back(node); }
    void destroyNode(CXTPDockingPaneBase* node);

    CXTPDockingPaneManager* m_pManager;
    std::vector<std::unique_ptr<CXTPDockingPaneBase>> m_owned;
    std::vector<CXTPDockingPane*> m_panes;
    CXTPDockingPaneBase* m_pRoot = nullptr;
    CXTPDockingPaneClientContainer* m_pClient = nullptr;
    std::vector<CXTPDockingPaneMiniWnd*> m_floating;
};

DV_EXPORTS_END
