// The MDI client shown as tabs: one tab per document window, in one or more groups
// (workspaces) that split the client side by side or one above the other. The tab client takes
// over the frame's "MDICLIENT" window while attached; document windows lose their caption and
// fill their group's client area, and only each group's selected document is shown.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/TabManager.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

// What the tab client's strips show besides their tabs.
enum XTPWorkspaceButtons {
    xtpWorkspaceHideArrows = 1,
    xtpWorkspaceHideClose = 2,
    xtpWorkspaceShowActiveFiles = 4,
    xtpWorkspaceHideArrowsAlways = 8 | 1,
    xtpWorkspaceShowCloseTab = 16,
    xtpWorkspaceShowCloseSelectedTab = 32,
};

// Where a new document's tab goes.
enum XTPWorkspaceNewTabPosition {
    xtpWorkspaceNewTabRightMost = 0,
    xtpWorkspaceNewTabLeftMost = 1,
    xtpWorkspaceNewTabNextToActive = 2,
};

// The tab context menu's commands.
constexpr UINT XTP_ID_WORKSPACE_CLOSE = 35200;
constexpr UINT XTP_ID_WORKSPACE_NEWHORIZONTAL = 35201;
constexpr UINT XTP_ID_WORKSPACE_NEWVERTICAL = 35202;
constexpr UINT XTP_ID_WORKSPACE_MOVENEXT = 35203;
constexpr UINT XTP_ID_WORKSPACE_MOVEPREVIOUS = 35204;

class CXTPTabClientWnd : public CWnd {
    DECLARE_DYNAMIC(CXTPTabClientWnd)
public:
    // One group of tabs and the area its selected document fills.
    class CWorkspace : public CXTPTabManager {
        friend class CXTPTabClientWnd;

    public:
        CWorkspace() = default;
        ~CWorkspace() override = default;

        CXTPTabClientWnd* GetTabClient() const { return m_pTabClientWnd; }
        // The share of the client this group takes among its neighbours.
        double GetSize() const { return m_dSize; }
        void SetSize(double dSize) { m_dSize = dSize; }
        // The splitter after this group; empty for the last.
        CRect GetSplitterRect() const { return m_rcSplitter; }

        CXTPTabPaintManager* GetPaintManager() const override;
        void RedrawControl() override;
        void SetSelectedItem(CXTPTabManagerItem* pItem) override;
        BOOL OnBeforeItemClick(CXTPTabManagerItem* pItem) override;
        void OnNavigateButtonClick(CXTPTabManagerItem* pItem, UINT nID) override;
        BOOL DrawIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw,
                      CSize& szIcon) const override;
        HWND GetMeasureWindow() const override;

    protected:
        CXTPTabClientWnd* m_pTabClientWnd = nullptr;
        double m_dSize = 1.0;
        CRect m_rcSplitter;
    };

    CXTPTabClientWnd();
    ~CXTPTabClientWnd() override;

    // Takes over the frame's MDI client; with bAutoUpdate the tabs follow the documents at
    // every idle update as well as at every MDI change.
    BOOL Attach(CMDIFrameWnd* pParentFrame, BOOL bAutoUpdate = TRUE);
    // Gives the MDI client back; the documents get their own frames again.
    void Detach();
    BOOL IsAttached() const { return m_hWnd != nullptr; }
    CMDIFrameWnd* GetParentFrame() const { return m_pParentFrame; }

    // Brings the tabs in line with the document windows: new ones get tabs, gone ones lose
    // theirs, captions and the active document are read again.
    void UpdateContents();
    void Refresh();

    int GetWorkspaceCount() const { return static_cast<int>(m_arrWorkspace.size()); }
    CWorkspace* GetWorkspace(int nIndex) const;
    CWorkspace* GetActiveWorkspace() const;
    CWorkspace* FindWorkspace(HWND hWndChild) const;
    CXTPTabManagerItem* FindItem(HWND hWndChild) const;

    // Groups: split side by side (horizontal false) or one above the other.
    void EnableGroups(BOOL bEnable = TRUE) { m_bEnableGroups = bEnable; }
    BOOL IsGroupsEnabled() const { return m_bEnableGroups; }
    BOOL IsHorizSplitting() const { return m_bHorizSplitting; }
    // Moves a tab into a new group after its own; FALSE when it is the only tab of its group or
    // the groups already run the other way.
    BOOL MoveToNewGroup(CXTPTabManagerItem* pItem, BOOL bHorizontal);
    // Moves a tab into another group (at nIndex, or at the end); an emptied group goes.
    BOOL MoveToWorkspace(CXTPTabManagerItem* pItem, CWorkspace* pTarget, int nIndex = -1);

    void SetFlags(DWORD dwFlags);
    DWORD GetFlags() const { return m_dwFlags; }
    void SetNewTabPosition(XTPWorkspaceNewTabPosition position) { m_newTabPosition = position; }
    XTPWorkspaceNewTabPosition GetNewTabPosition() const { return m_newTabPosition; }
    void SetTabPosition(XTPTabPosition position);
    XTPTabPosition GetTabPosition() const { return m_tabPosition; }
    void EnableTabReorder(BOOL bEnable = TRUE) { m_bAllowReorder = bEnable; }
    void EnableToolTips(BOOL bEnable = TRUE) { m_bShowToolTips = bEnable; }
    void ShowWorkspace(BOOL bShow);
    BOOL IsWorkspaceShown() const { return m_bShowWorkspace; }
    int GetSplitterSize() const { return m_nSplitterSize; }
    void SetSplitterSize(int nSize) { m_nSplitterSize = nSize; }

    CXTPTabPaintManager* GetPaintManager() const { return m_pPaintManager.get(); }
    // Takes the colours of the command bars' current theme.
    virtual void RefreshTheme();

    // The profile section the layout of the groups is kept under.
    void SetStateSection(LPCWSTR lpszSection) { m_strSection = lpszSection; }
    // Stores the groups with the documents they hold, by path (or title when unsaved).
    virtual void SaveState();
    // Puts the open documents back into the groups stored last; documents the state names but
    // that are not open are skipped, and documents opened later join their stored group.
    virtual void LoadState();

    // The tooltip shown for the tab under the pointer, empty when none.
    CString GetToolTipAt(CPoint point) const;
    // Runs the tab context menu as the right button at the point would.
    void ContextMenu(CPoint ptScreen);

protected:
    // The hooks a derived client changes.
    virtual CWorkspace* CreateWorkspace();
    virtual void AddWorkspace(CWorkspace* pWorkspace, int nIndex);
    virtual CXTPTabManagerItem* AddItem(CWnd* pChildWnd);
    virtual CString GetItemText(const CWnd* pChildWnd) const;
    virtual CString GetItemTooltip(const CXTPTabManagerItem* pItem) const;
    virtual HICON GetItemIcon(const CXTPTabManagerItem* pItem) const;
    virtual void MDIActivate(CWnd* pWnd);
    // Lays the groups over the client; the rectangle that remains for anything else.
    virtual void CalcWindowRect(CRect& rcClient);
    virtual BOOL FillBackground(CDC* pDC, const CRect& rc);
    // The key a document is stored under by SaveState.
    virtual CString GetItemKey(HWND hWndChild) const;

    void Reposition();
    CWorkspace* WorkspaceAt(CPoint point) const;
    void RemoveEmptyWorkspaces();
    void PlaceChild(HWND hWnd, const CRect& rc, BOOL bShow);

    LRESULT OnMDIMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnMDIDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    LRESULT OnParentNotify(WPARAM wParam, LPARAM lParam);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnContextMenu(CWnd* pWnd, CPoint point);
    DECLARE_MESSAGE_MAP()

protected:
    CMDIFrameWnd* m_pParentFrame = nullptr;
    std::vector<std::unique_ptr<CWorkspace>> m_arrWorkspace;
    std::unique_ptr<CXTPTabPaintManager> m_pPaintManager;
    BOOL m_bAutoUpdate = TRUE;
    BOOL m_bEnableGroups = FALSE;
    BOOL m_bHorizSplitting = FALSE;
    BOOL m_bAllowReorder = TRUE;
    BOOL m_bShowToolTips = TRUE;
    BOOL m_bShowWorkspace = TRUE;
    DWORD m_dwFlags = 0;
    XTPWorkspaceNewTabPosition m_newTabPosition = xtpWorkspaceNewTabRightMost;
    XTPTabPosition m_tabPosition = xtpTabPositionTop;
    int m_nSplitterSize = 4;
    CString m_strSection = L"TabClient";

private:
    struct Drag {
        CXTPTabManagerItem* item = nullptr;
        CPoint start;
        bool moved = false;
    };
    Drag m_drag;
    BOOL m_bUpdating = FALSE;
    HWND m_hWndActive = nullptr;
    // Styles taken from document windows while attached, given back on Detach.
    std::map<HWND, std::pair<LONG_PTR, LONG_PTR>> m_savedStyles;
    // The stored group of each document key, for documents that open after LoadState.
    std::map<std::wstring, int> m_pendingGroups;
    // The position of each document key within its stored group.
    std::map<std::wstring, int> m_savedOrder;
    // The workspace made for each stored group; null until one of its documents is there.
    std::vector<CWorkspace*> m_savedGroups;
    std::vector<double> m_savedSizes;
    CWorkspace* WorkspaceForSavedGroup(int nGroup);
    void SortBySavedOrder(CWorkspace* pWorkspace);
    void PlacePendingItems();
    void RemoveItemOf(HWND hWndChild);
    // Document windows on their way out: still children, no longer documents.
    std::set<HWND> m_dying;
    // Document windows whose tab has been put where the stored state wants it.
    std::set<HWND> m_placed;
    void DropItem(CPoint point);
    void AdoptChild(HWND hWnd);
};

DV_EXPORTS_END
