// The contents of docking panes and the panes that hold them. Every pane's content is a
// DockingPaneChild: it exchanges its state with the pane layout, hears when it is attached to a
// pane, shown, about to leave it, and when the theme changes. Most contents are windows of their
// own (DockingPaneChildWindow). A content window belongs to at most one pane at a time, of
// whichever main frame; it may move between frames, and it may go before its pane or after it
// without either side keeping a window or a pane that is gone.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/DockingPane.h"
#include "xtp/DockingPaneManager.h"

#include <string>

DV_EXPORTS_BEGIN

class CXTPPropExchange;

namespace Dravik::UI {

class DockingPaneChild {
public:
    virtual ~DockingPaneChild() = default;
    // The content's own state in the pane layout; false leaves the pane out of it.
    virtual BOOL DoPropExchange(CXTPPropExchange* pPX, CXTPDockingPane* pane) { return TRUE; }
    // A pane of the PDM system (shown and hidden with the connection).
    virtual bool IsOrsaPane() const { return false; }
    // Items the content adds to its pane's context menu, and their commands.
    virtual void GetPaneContextMenu(CMenu& menu) {}
    virtual void OnPaneContextMenuCommand(UINT command) {}
    virtual void OnAttachedToPane(CXTPDockingPane* pane) {}
    virtual void OnShowPane(CXTPDockingPane* pane) {}
    virtual void OnToBeDetachedFromPane(CXTPDockingPane* pane) {}
    virtual void SetTheme(int theme, CXTPDockingPane* pane) {}
};

class DockingPaneChildWindow : public CWnd, public DockingPaneChild {
public:
    DockingPaneChildWindow();
    // A window destroyed while attached leaves its pane empty.
    ~DockingPaneChildWindow() override;

    // The pane that shows the window now, or null.
    CXTPDockingPane* GetPane() const { return m_pane; }
    int GetTheme() const { return m_theme; }

    // The forms the hosts call: the pane's exchange, and the theme without a pane.
    using DockingPaneChild::DoPropExchange;
    virtual BOOL DoPropExchange(CXTPPropExchange* pPX) { return DoPropExchange(pPX, m_pane); }
    // The base keeps the theme and paints its ground in the theme's window colour.
    void SetTheme(int theme, CXTPDockingPane* pane) override;
    void SetTheme(int theme) { SetTheme(theme, m_pane); }

    void OnAttachedToPane(CXTPDockingPane* pane) override {}
    void OnToBeDetachedFromPane(CXTPDockingPane* pane) override {}

protected:
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    friend bool AttachDockingPaneChild(CXTPDockingPane*, CWnd*);
    friend CWnd* DetachDockingPaneChild(CXTPDockingPane*, bool);
    friend class DockingPane;
    CXTPDockingPane* m_pane = nullptr;
    int m_theme = -1;
};

// A pane of the UI framework: it lets its content window know when it goes. Content windows are
// shown in these panes (a DockingPaneManager makes them).
class DockingPane : public CXTPDockingPane {
public:
    explicit DockingPane(CXTPDockingPaneLayout* layout) : CXTPDockingPane(layout) {}
    ~DockingPane() override;
    // Whether the pane is offered in the lists of panes (menus, the panes popup).
    bool ShowInPaneLists() const { return m_showInPaneLists; }
    void SetShowInPaneLists(bool show) { m_showInPaneLists = show; }

private:
    friend class DockingPaneChildWindow;
    // The content window is going: the pane forgets it without touching it.
    void forgetChild() { m_hwndChild = nullptr; }
    bool m_showInPaneLists = true;
};

// Makes `window` the content of `pane`. A window that is the content of another pane (of this
// frame or another) leaves that pane first; the pane's previous content is told it leaves and is
// parked under the hidden pane parent. Attaching a window to the pane that already shows it
// changes nothing and answers false; a null pane or window, or a window that is gone, too.
bool AttachDockingPaneChild(CXTPDockingPane* pane, CWnd* window);
// Takes the content out of `pane` (told first); with `park` it goes under the hidden pane parent
// (GetDockingPaneDummyWindow), so that it outlives the pane's frame. Returns it, or null.
CWnd* DetachDockingPaneChild(CXTPDockingPane* pane, bool park);
// The content of a pane as a DockingPaneChild, or null.
DockingPaneChild* GetDockingPaneChild(CXTPDockingPane* pane);

// The pane manager of the UI framework: its panes are DockingPanes, and their repainting can be
// held off while a pane is rebuilt.
class DockingPaneManager : public CXTPDockingPaneManager {
public:
    // Nests; the last unblock repaints the panes once.
    void BlockInvalidatePane(bool block);
    bool IsInvalidatePaneBlocked() const { return m_invalidateBlocks > 0; }
    // Redraws the panes unless blocked.
    void InvalidatePanes();
    // Every pane's content hears the theme.
    void SetTheme(int theme);
    // The theme last given, which a pane window attached later takes too; -1 before any.
    int GetTheme() const { return m_theme; }

    CXTPDockingPaneBase* OnCreatePane(XTPDockingPaneType type, CXTPDockingPaneLayout* layout) override;

    // Whether the tabs of tabbed panes carry the panes' captions (the frame state keeps it).
    bool AreTabCaptionsVisible() const { return m_tabCaptions; }
    void ShowTabCaptions(bool show);

private:
    int m_theme = -1;
    bool m_tabCaptions = true;
    int m_invalidateBlocks = 0;
    bool m_invalidatePending = false;
};

// Makes pane `id` in `manager` with its caption: docked at `side` (an XTPDockingPaneDirection) of
// the frame, or of `neighbour` when one is given, with the width or height of `rect`; any other
// side (-1) floats it at the size of `rect`. Null when the pane cannot be made (no manager, or a
// pane with that id exists).
CXTPDockingPane* CreateDockingPane(CXTPDockingPaneManager* manager, int id, const std::wstring& caption,
                                   const CRect& rect, int side, CXTPDockingPaneBase* neighbour);

// The frame state's forms of the tab-caption option; a manager of another kind always shows them.
bool AreDockingPaneTabCaptionsVisible(CXTPDockingPaneManager* manager);
void ShowDockingPaneTabCaptions(CXTPDockingPaneManager* manager, bool show);

} // namespace Dravik::UI

DV_EXPORTS_END
