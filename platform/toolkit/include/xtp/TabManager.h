// A strip of tabs that some window owns and draws: the items, which one is selected, where the
// strip sits and how its tabs are measured. The owner gives the manager its rectangle, lets it
// lay out and paint, and hears of changes through the virtual hooks.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/PaintManager.h"

#include <memory>
#include <vector>

DV_EXPORTS_BEGIN

enum XTPTabPosition {
    xtpTabPositionTop = 0,
    xtpTabPositionLeft = 1,
    xtpTabPositionBottom = 2,
    xtpTabPositionRight = 3
};
enum XTPTabLayoutStyle {
    xtpTabLayoutAutoSize = 0,
    xtpTabLayoutSizeToFit = 1,
    xtpTabLayoutFixed = 2,
    xtpTabLayoutCompressed = 3
};
// The buttons a tab or the strip may carry.
enum XTPTabNavigateButton {
    xtpTabNavigateButtonLeft = 0,
    xtpTabNavigateButtonRight = 1,
    xtpTabNavigateButtonClose = 2
};

class CXTPTabManager;

// The colours one strip is painted in. The tab client takes them from the command bars' theme.
struct XTP_TAB_COLORSET {
    COLORREF clrBackground;          // behind the tabs and between groups
    COLORREF clrClient;              // the area a group's document covers when it has none
    COLORREF clrTab;                 // a tab that is neither selected nor under the pointer
    COLORREF clrTabHighlight;        // the tab under the pointer
    COLORREF clrTabSelected;         // the selected tab of the active group
    COLORREF clrTabSelectedInactive; // the selected tab of another group
    COLORREF clrText;
    COLORREF clrTextSelected;
    COLORREF clrBorder;
    COLORREF clrAccent; // the line under the selected tab of the active group
};

// How tabs are measured and painted; shared by the strips of one owner.
class CXTPTabPaintManager {
public:
    CXTPTabPaintManager();
    virtual ~CXTPTabPaintManager();

    XTP_TAB_COLORSET m_clrSet{};
    XTPTabLayoutStyle m_layout = xtpTabLayoutAutoSize;
    int m_nFixedTabWidth = 120;
    BOOL m_bShowIcons = TRUE;
    BOOL m_bBoldSelected = FALSE;
    // Room inside a tab around its icon, text and buttons.
    CRect m_rcButtonMargin{6, 3, 6, 3};
    // Room around the strip inside the owner's rectangle.
    CRect m_rcControlMargin{0, 0, 0, 0};
    int m_nCloseButtonSize = 14;

    void SetLayout(XTPTabLayoutStyle layout) { m_layout = layout; }
    XTPTabLayoutStyle GetLayout() const { return m_layout; }
    void SetFixedTabWidth(int width) { m_nFixedTabWidth = width; }
    void SetColorSet(const XTP_TAB_COLORSET& colors) { m_clrSet = colors; }
    // The set a command-bar theme gives.
    static XTP_TAB_COLORSET ColorSetFromTheme(const XTP_THEME_COLORS& theme);

    CFont* GetFont() { return &m_font; }
    CFont* GetBoldFont() { return &m_fontBold; }
    int GetHeaderHeight();

    // The width a tab needs for its caption, icon and buttons under the current layout.
    virtual int GetItemWidth(CDC* pDC, const CXTPTabManager* pManager, int nItem);
    virtual void DrawTabControl(CDC* pDC, CXTPTabManager* pManager, BOOL bActive);

private:
    CFont m_font;
    CFont m_fontBold;
};

// One tab.
class CXTPTabManagerItem {
    friend class CXTPTabManager;

public:
    virtual ~CXTPTabManagerItem() = default;

    CString GetCaption() const { return m_strCaption; }
    void SetCaption(LPCWSTR lpszCaption);
    CString GetTooltip() const { return m_strToolTip; }
    void SetTooltip(LPCWSTR lpszTooltip) { m_strToolTip = lpszTooltip; }
    int GetIndex() const { return m_nIndex; }
    CXTPTabManager* GetTabManager() const { return m_pTabManager; }
    HWND GetHandle() const { return m_hWnd; }
    void SetHandle(HWND hWnd) { m_hWnd = hWnd; }
    HICON GetIcon() const { return m_hIcon; }
    void SetIcon(HICON hIcon) { m_hIcon = hIcon; }
    DWORD_PTR GetData() const { return m_dwData; }
    void SetData(DWORD_PTR dwData) { m_dwData = dwData; }

    BOOL IsVisible() const { return m_bVisible; }
    void SetVisible(BOOL bVisible);
    BOOL IsSelected() const;
    void Select();
    // Moves the tab to another place in its strip; the other tabs close up.
    void Move(int nIndex);
    void Remove();

    // Where the layout put the tab, in the owner's client coordinates; empty when hidden.
    CRect GetRect() const { return m_rcItem; }
    void SetRect(const CRect& rc) { m_rcItem = rc; }
    // The close button drawn on the tab; empty when the tab shows none.
    CRect GetCloseButtonRect() const { return m_rcClose; }

protected:
    CXTPTabManager* m_pTabManager = nullptr;
    CString m_strCaption;
    CString m_strToolTip;
    HWND m_hWnd = nullptr;
    HICON m_hIcon = nullptr;
    DWORD_PTR m_dwData = 0;
    int m_nIndex = -1;
    BOOL m_bVisible = TRUE;
    CRect m_rcItem;
    CRect m_rcClose;
};

class CXTPTabManager {
public:
    CXTPTabManager();
    virtual ~CXTPTabManager();
    CXTPTabManager(const CXTPTabManager&) = delete;
    CXTPTabManager& operator=(const CXTPTabManager&) = delete;

    int GetItemCount() const { return static_cast<int>(m_arrItems.size()); }
    CXTPTabManagerItem* GetItem(int nIndex) const;
    CXTPTabManagerItem* FindItem(HWND hWnd) const;
    // Adds a tab at nItem (past the end appends); the new tab.
    CXTPTabManagerItem* InsertItem(int nItem, LPCWSTR lpszCaption, HWND hWnd = nullptr,
                                   HICON hIcon = nullptr);
    // Takes a tab out without deleting it, for a move to another strip.
    std::unique_ptr<CXTPTabManagerItem> DetachItem(CXTPTabManagerItem* pItem);
    CXTPTabManagerItem* AttachItem(int nItem, std::unique_ptr<CXTPTabManagerItem> pItem);
    void DeleteItem(int nItem);
    void DeleteAllItems();
    void MoveItem(CXTPTabManagerItem* pItem, int nIndex);

    int GetCurSel() const;
    void SetCurSel(int nIndex);
    CXTPTabManagerItem* GetSelectedItem() const { return m_pSelected; }
    virtual void SetSelectedItem(CXTPTabManagerItem* pItem);

    XTPTabPosition GetPosition() const { return m_position; }
    void SetPosition(XTPTabPosition position);
    BOOL IsHorizontalPosition() const {
        return m_position == xtpTabPositionTop || m_position == xtpTabPositionBottom;
    }

    // The rectangle the strip and its client share, in the owner's client coordinates.
    void SetControlRect(const CRect& rc);
    CRect GetControlRect() const { return m_rcControl; }
    CRect GetHeaderRect() const { return m_rcHeader; }
    CRect GetClientRect() const { return m_rcClient; }
    // Places the tabs over the header; called after any change that moves them.
    virtual void Reposition();

    // The visible tab at a point, or null.
    CXTPTabManagerItem* HitTest(CPoint point) const;
    CXTPTabManagerItem* GetHighlightedItem() const { return m_pHighlighted; }
    void SetHighlightedItem(CXTPTabManagerItem* pItem);
    BOOL IsCloseButtonShown(const CXTPTabManagerItem* pItem) const;
    void ShowCloseItemButton(BOOL bAll, BOOL bSelected);

    virtual CXTPTabPaintManager* GetPaintManager() const = 0;
    virtual void RedrawControl() {}
    // Asked before a click selects a tab; FALSE keeps the selection.
    virtual BOOL OnBeforeItemClick(CXTPTabManagerItem* pItem);
    // A button on a tab (or, with no tab, on the strip) was clicked.
    virtual void OnNavigateButtonClick(CXTPTabManagerItem* pItem, UINT nID);
    // Draws the icon at pt; with bDraw false only measures: szIcon may grow to the room it takes.
    virtual BOOL DrawIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) const;
    virtual void OnItemsChanged();
    // The device used to measure captions; the owner's window when it has one.
    virtual HWND GetMeasureWindow() const { return nullptr; }

protected:
    std::vector<std::unique_ptr<CXTPTabManagerItem>> m_arrItems;
    CXTPTabManagerItem* m_pSelected = nullptr;
    CXTPTabManagerItem* m_pHighlighted = nullptr;
    XTPTabPosition m_position = xtpTabPositionTop;
    CRect m_rcControl, m_rcHeader, m_rcClient;
    BOOL m_bCloseOnAllTabs = FALSE;
    BOOL m_bCloseOnSelected = FALSE;

    void Renumber();
    friend class CXTPTabPaintManager;
};

DV_EXPORTS_END
