// The docking panes of one frame: made by id, docked at a side of the frame or of another pane,
// tabbed together, floating or collapsed to a side; their layout is laid out as real windows of
// the frame, painted in the paint manager's theme, and exchanged with XML.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/DockingPane.h"
#include "xtp/DockingPaneBase.h"
#include "xtp/DockingPaneDefines.h"
#include "xtp/DockingPaneLayout.h"

#include <array>
#include <memory>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPImageManager;
class CXTPImageManagerIcon;
class CXTPPropExchange;
class CXTPTabPaintManager;
namespace dvtk::docking {
class DockTargets;
}

class CXTPDockingPaneManager {
public:
    CXTPDockingPaneManager();
    virtual ~CXTPDockingPaneManager();
    CXTPDockingPaneManager(const CXTPDockingPaneManager&) = delete;
    CXTPDockingPaneManager& operator=(const CXTPDockingPaneManager&) = delete;

    // Puts the panes into `pSite` (a frame): from then on they take their room from the frame's
    // client area whenever the frame is laid out, and notifications go to the frame.
    BOOL InstallDockingPanes(CWnd* pSite, BOOL bClipChildren = TRUE);
    CWnd* GetSite() const { return m_pSite; }

    // Makes pane nID docked at a side of the frame (or of pNeighbour) with the width (left,
    // right) or height (top, bottom) of rc; any other direction floats it at rc's size. Null
    // when a pane with that id exists already.
    CXTPDockingPane* CreatePane(UINT nID, CRect rc, XTPDockingPaneDirection direction,
                                CXTPDockingPaneBase* pNeighbour = nullptr);
    // Moves a pane (or a whole container) to a side of the frame or of pNeighbour.
    void DockPane(CXTPDockingPaneBase* pPane, XTPDockingPaneDirection direction,
                  CXTPDockingPaneBase* pNeighbour = nullptr);
    // Floats a pane (or a whole container) in a frame of its own at rc (screen coordinates),
    // brought onto a screen.
    CXTPDockingPaneMiniWnd* FloatPane(CXTPDockingPaneBase* pPane, CRect rc);
    // Makes a pane (or all panes of a container) a tab of pNeighbour's container, selected.
    void AttachPane(CXTPDockingPaneBase* pPane, CXTPDockingPaneBase* pNeighbour);
    // Opens the pane where it was, selects its tab and (bSetFocus) puts the focus in it.
    void ShowPane(int nID, BOOL bSetFocus = TRUE);
    void ShowPane(CXTPDockingPane* pPane, BOOL bSetFocus = TRUE);
    // Closes the pane unless the site refuses; false when it stays.
    BOOL ClosePane(int nID);
    BOOL ClosePane(CXTPDockingPane* pPane);
    // Collapses the pane's container to its auto-hide side, or pins it back.
    void HidePane(CXTPDockingPaneBase* pPane);
    void ToggleAutoHide(CXTPDockingPaneBase* pPane);
    // Removes the pane for good; its content window is detached first.
    void DestroyPane(CXTPDockingPane* pPane);
    void DestroyPane(int nID);
    // Closes every pane (no questions asked).
    void CloseAll();
    CXTPDockingPane* FindPane(int nID) const;
    const std::vector<CXTPDockingPane*>& GetPaneList() const;
    // Every node of the shown layout, floating frames and auto-hide sides included.
    std::vector<CXTPDockingPaneBase*> GetPaneStack() const;
    CXTPDockingPaneLayout* GetLayout() const { return m_layout.get(); }

    // The pane slid out from its auto-hide side now, or null; and the dismissal of it.
    CXTPDockingPane* GetActiveAutoHidePane() const { return m_pSlid; }
    void HideAutoHideWindow();
    CXTPDockingPaneAutoHidePanel* GetAutoHidePanel(XTPDockingPaneDirection side) const;

    // While locked, the bars between panes do not move.
    void LockPanes(BOOL bLock) { m_bLocked = bLock != FALSE; }
    BOOL IsPanesLocked() const { return m_bLocked; }

    // Lays the frame out: panes first, the frame's client gets what is left.
    void RecalcFrameLayout();

    // Stores or loads the layout (see CXTPDockingPaneLayout::DoPropExchange); loading replaces
    // the shown layout, keeping the content windows of panes whose ids it holds.
    virtual BOOL DoPropExchange(CXTPPropExchange* pPX);

    // The pane factory: every node of a layout is made here; a derived manager returns its own
    // pane class for xtpPaneTypeDockingPane.
    virtual CXTPDockingPaneBase* OnCreatePane(XTPDockingPaneType type, CXTPDockingPaneLayout* pLayout);

    // Sends XTPWM_DOCKINGPANE_NOTIFY to the site; 0 without one.
    LRESULT NotifyOwner(WPARAM code, LPARAM lParam);
    // Tells an action; false when an -ing action was refused.
    bool NotifyAction(XTPDockingPaneAction action, CXTPDockingPane* pPane);

    // A pane's icon at the size the tabs show (16 by 16 scaled to the screen); null when it has
    // none.
    CXTPImageManagerIcon* GetPaneIcon(const CXTPDockingPane* pane) const;
    static int GetPaneIconSize();

    // The panes paint in the paint manager's theme; after a theme change they are redrawn.
    BOOL IsDarkTheme() const;
    void RedrawPanes();

    // The panes' icons: the manager's own until one is given. A given manager is shared: this
    // one holds a reference to it (InternalAddRef) while it uses it.
    CXTPImageManager* GetImageManager() const;
    void SetImageManager(CXTPImageManager* pImageManager);
    // How the tabs of tabbed panes, and those of the auto-hide sides, are laid out.
    CXTPTabPaintManager* GetTabPaintManager() const;
    CXTPTabPaintManager* GetPanelPaintManager() const;

protected:
    friend class CXTPDockingPane;
    friend class CXTPDockingPaneTabbedContainer;
    friend class CXTPDockingPaneMiniWnd;
    friend class CXTPDockingPaneAutoHidePanel;
    friend struct CXTPDockingPaneLayoutExchange;
    friend class CXTPDockingPaneLayout;

    // Tree surgery on the shown layout.
    CXTPDockingPaneTabbedContainer* newContainer(CXTPDockingPaneLayout* layout);
    CXTPDockingPane* newPane(CXTPDockingPaneLayout* layout);
    void removeFromParent(CXTPDockingPaneBase* node);
    void takePaneOut(CXTPDockingPane* pane);
    void insertBeside(CXTPDockingPaneBase* node, CXTPDockingPaneBase* target, XTPDockingPaneDirection dir);
    CXTPDockingPaneTabbedContainer* containerToMove(CXTPDockingPaneBase* pane);
    void replaceLayout(std::unique_ptr<CXTPDockingPaneLayout> layout);
    // The places panes leave, kept on the panes so that a person can send them back: where
    // they lay docked (noted as they float) and where they floated (noted as they dock).
    void rememberDockedPlace(CXTPDockingPaneBase* moving);
    void rememberFloatingPlace(CXTPDockingPaneBase* moving);
    // A double-click on a caption: a floating container docks back where its selected pane
    // last lay; a docked one floats where it last floated.
    void toggleDocking(CXTPDockingPaneTabbedContainer* container);
    void dockBack(CXTPDockingPaneTabbedContainer* container);
    // The targets shown while a container is dragged (made on first use).
    dvtk::docking::DockTargets& dockTargets();

    // Windows.
    static bool isHorizontalSide(XTPDockingPaneDirection side);
    void layoutNode(CXTPDockingPaneBase* node, CRect rc, HWND coords);
    void placeContainer(CXTPDockingPaneTabbedContainer* container, const CRect& rc, HWND parent);
    void hideNodeWindows(CXTPDockingPaneBase* node);
    void slideOut(CXTPDockingPane* pane, BOOL bSetFocus);
    void focusPane(CXTPDockingPane* pane);
    void afterChange();
    void hookSite();
    void unhookSite();
    static LRESULT siteProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void dropRoomTaker();
    void hookClient(HWND client);
    void unhookClient();
    static LRESULT clientProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Lays the panes out in the room offered; the rest, for the frame's client.
    CRect layoutIn(CRect area);
    static CRect takeRoom(void* manager, CRect room);

    CWnd* m_pSite = nullptr;
    HWND m_hwndClient = nullptr; // the frame's client, whose placing the manager watches
    bool m_bRoomTaker = false;   // a frame with command bars gives the panes their room
    std::unique_ptr<CXTPDockingPaneLayout> m_layout;
    std::array<CXTPDockingPaneAutoHidePanel*, 4> m_panels{};
    CXTPDockingPane* m_pSlid = nullptr;
    bool m_bLocked = false;
    bool m_bInLayout = false;
    CRect m_rcClient;                                    // what the frame's own client got at the last layout
    mutable CXTPImageManager* m_pImageManager = nullptr; // one reference held
    mutable std::unique_ptr<CXTPTabPaintManager> m_pTabPaintManager;
    mutable std::unique_ptr<CXTPTabPaintManager> m_pPanelPaintManager;
    std::unique_ptr<dvtk::docking::DockTargets> m_pDockTargets;
};

DV_EXPORTS_END
