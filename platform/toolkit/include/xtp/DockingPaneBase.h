// The nodes of a pane layout: the base every node shares, tabbed containers (one or more panes
// shown as tabs), splitter containers (nodes side by side with bars between), the client (the
// frame's own client area), floating mini frames and the auto-hide sides.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/DockingPaneDefines.h"

#include <vector>

DV_EXPORTS_BEGIN

class CXTPDockingPaneManager;
class CXTPDockingPaneLayout;
namespace dvtk::docking {
class SplitterBar;
}
class CXTPDockingPane;
class CXTPDockingPaneTabbedContainer;
struct CXTPDockingPaneLayoutExchange;

class CXTPDockingPaneBase {
public:
    explicit CXTPDockingPaneBase(XTPDockingPaneType type, CXTPDockingPaneLayout* pLayout);
    virtual ~CXTPDockingPaneBase();
    CXTPDockingPaneBase(const CXTPDockingPaneBase&) = delete;
    CXTPDockingPaneBase& operator=(const CXTPDockingPaneBase&) = delete;

    XTPDockingPaneType GetType() const { return m_type; }
    CXTPDockingPaneLayout* GetLayout() const { return m_pLayout; }
    CXTPDockingPaneManager* GetDockingPaneManager() const;
    // The node that holds this one (null for a layout's root, a mini frame or a loose pane).
    CXTPDockingPaneBase* GetContainer() const { return m_pParentContainer; }
    // The screen rectangle the node takes now; empty while it is not shown.
    virtual CRect GetPaneWindowRect() const;
    // Whether the node takes room in its layout now.
    virtual bool IsVisibleInLayout() const { return false; }
    // The length along its container's axis that the node asks for.
    int GetDockingSize() const { return m_nDockingSize; }
    void SetDockingSize(int size) { m_nDockingSize = size; }

protected:
    friend class CXTPDockingPaneLayout;
    friend class CXTPDockingPaneManager;
    friend class CXTPDockingPaneSplitterContainer;
    friend class CXTPDockingPaneTabbedContainer;
    friend class CXTPDockingPaneMiniWnd;
    friend class CXTPDockingPane;
    friend class dvtk::docking::SplitterBar;
    friend struct CXTPDockingPaneLayoutExchange;

    XTPDockingPaneType m_type;
    CXTPDockingPaneLayout* m_pLayout = nullptr;
    CXTPDockingPaneBase* m_pParentContainer = nullptr;
    int m_nDockingSize = 200;
    // Where the last layout put the node, in the coordinates of the window that shows it.
    CRect m_rcWindow;
    // The window whose client coordinates m_rcWindow is in.
    HWND m_hwndCoords = nullptr;
};

// Panes shown one at a time, with a caption above and tabs below when there are several.
class CXTPDockingPaneTabbedContainer : public CWnd, public CXTPDockingPaneBase {
public:
    explicit CXTPDockingPaneTabbedContainer(CXTPDockingPaneLayout* pLayout);
    ~CXTPDockingPaneTabbedContainer() override;

    const std::vector<CXTPDockingPane*>& GetPanes() const { return m_panes; }
    // The pane whose tab is selected (the first open one when the selected one is closed).
    CXTPDockingPane* GetSelected() const;
    int GetVisiblePaneCount() const;
    bool IsVisibleInLayout() const override;
    CRect GetPaneWindowRect() const override;
    // Collapsed to a side of the frame, shown only as a tab there.
    bool IsAutoHidden() const { return m_bAutoHide; }
    XTPDockingPaneDirection GetAutoHideSide() const { return m_autoHideSide; }

    // The parts of the window, in its client coordinates.
    CRect GetCaptionRect() const;
    CRect GetCloseButtonRect() const;
    CRect GetPinButtonRect() const;
    CRect GetContentRect() const;
    // The tab of each open pane (empty with fewer than two).
    std::vector<CRect> GetTabRects() const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    friend class CXTPDockingPaneLayout;
    friend class CXTPDockingPaneManager;
    friend class CXTPDockingPane;
    friend class CXTPDockingPaneAutoHidePanel;
    friend struct CXTPDockingPaneLayoutExchange;
    void OnPaintContainer(CDC& dc);
    void OnClick(CPoint point);
    bool m_bAutoHide = false;
    XTPDockingPaneDirection m_autoHideSide = xtpPaneDockLeft;
    std::vector<CXTPDockingPane*> m_panes;
    CXTPDockingPane* m_pSelected = nullptr;
    // The pane whose content was last shown: a pane coming into view asks its site for content.
    CXTPDockingPane* m_pShown = nullptr;
};

// Nodes side by side (horizontal: left to right) with a bar between each two that the mouse
// drags.
class CXTPDockingPaneSplitterContainer : public CXTPDockingPaneBase {
public:
    CXTPDockingPaneSplitterContainer(CXTPDockingPaneLayout* pLayout, bool bHoriz);
    ~CXTPDockingPaneSplitterContainer() override;
    bool IsHorizontal() const { return m_bHoriz; }
    const std::vector<CXTPDockingPaneBase*>& GetChildren() const { return m_children; }
    bool IsVisibleInLayout() const override;
    CRect GetPaneWindowRect() const override;

protected:
    friend class CXTPDockingPaneLayout;
    friend class CXTPDockingPaneManager;
    friend class dvtk::docking::SplitterBar;
    friend struct CXTPDockingPaneLayoutExchange;
    bool m_bHoriz;
    std::vector<CXTPDockingPaneBase*> m_children;
    std::vector<CWnd*> m_splitters; // the bars between visible children, made as needed
};

// The frame's own client area (its view or MDI client): it takes what the panes leave.
class CXTPDockingPaneClientContainer : public CXTPDockingPaneBase {
public:
    explicit CXTPDockingPaneClientContainer(CXTPDockingPaneLayout* pLayout)
        : CXTPDockingPaneBase(xtpPaneTypeClient, pLayout) {}
    bool IsVisibleInLayout() const override { return true; }
};

// A floating frame that holds a tabbed container.
class CXTPDockingPaneMiniWnd : public CWnd, public CXTPDockingPaneBase {
public:
    CXTPDockingPaneMiniWnd(CXTPDockingPaneLayout* pLayout, const CRect& rc);
    ~CXTPDockingPaneMiniWnd() override;
    CXTPDockingPaneTabbedContainer* GetTopContainer() const { return m_pTop; }
    // The floating rectangle in screen coordinates.
    CRect GetFloatingRect() const { return m_rcFloat; }
    bool IsVisibleInLayout() const override;
    CRect GetPaneWindowRect() const override;
    // Rolls the window up to its caption (out of the way of what lies below), and back.
    void Collapse();
    void Expand();
    bool IsCollapsed() const { return m_bCollapsed; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    friend class CXTPDockingPaneLayout;
    friend class CXTPDockingPaneManager;
    friend struct CXTPDockingPaneLayoutExchange;
    CXTPDockingPaneTabbedContainer* m_pTop = nullptr;
    CRect m_rcFloat;
    bool m_bCollapsed = false;
    bool m_bPlacing = false;
};

// The strip along one side of the frame that shows the tabs of the containers collapsed there.
class CXTPDockingPaneAutoHidePanel : public CWnd, public CXTPDockingPaneBase {
public:
    CXTPDockingPaneAutoHidePanel(CXTPDockingPaneManager* pManager, XTPDockingPaneDirection side);
    XTPDockingPaneDirection GetSide() const { return m_side; }
    // The tab of each open pane collapsed on this side, in the panel's client coordinates,
    // with its pane.
    std::vector<std::pair<CRect, CXTPDockingPane*>> GetTabs() const;
    bool IsVisibleInLayout() const override;
    // The thickness of the strip.
    static int Thickness();
    // A slid-out pane goes back when neither the pointer nor the focus is in it or its strip
    // at a check; the pointer resting on a tab slides its pane out.
    static constexpr UINT_PTR kDismissTimer = 1;
    static constexpr UINT kDismissDelay = 300;
    static constexpr UINT_PTR kHoverTimer = 2;
    static constexpr UINT kHoverDelay = 400;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    friend class CXTPDockingPaneManager;
    CXTPDockingPaneManager* m_pPanelManager;
    XTPDockingPaneDirection m_side;
    CXTPDockingPane* m_pHover = nullptr;
};

DV_EXPORTS_END
