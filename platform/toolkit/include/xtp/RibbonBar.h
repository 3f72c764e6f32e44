// The ribbon: a menu bar that shows tabs of grouped controls in place of menus, with the File
// (system) button that opens the backstage, the quick access bar above or below it, contextual
// tabs, key tips, and, with the frame theme, the frame's caption drawn by the ribbon itself.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/CommandBars.h"
#include "xtp/MenuBar.h"
#include "xtp/PopupBar.h"
#include "xtp/RibbonGroup.h"
#include "xtp/RibbonPaintManager.h"
#include "xtp/RibbonTab.h"
#include "xtp/TabManager.h"

#include <memory>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPRibbonBar;
class CXTPRibbonBackstageView;

// The ids the ribbon's own controls carry.
constexpr int XTP_ID_RIBBONCONTROLTAB = 60001;
constexpr int XTP_ID_RIBBONCONTROLSYSTEMBUTTON = 60002;

// The tab-change notifications (WM_NOTIFY to the ribbon's site, idFrom the tab control's id).
constexpr UINT TCN_XTP_SELCHANGE = 0xFFFFFDD9;   // TCN_SELCHANGE
constexpr UINT TCN_XTP_SELCHANGING = 0xFFFFFDD8; // TCN_SELCHANGING; a non-zero answer refuses
// Sent to the site when the ribbon was minimised or restored (wParam 0, lParam the ribbon).
constexpr UINT WM_XTP_RIBBONMINIMIZED = 0x286D;
struct NMXTPTABCHANGE {
    NMHDR hdr;
    CXTPTabManagerItem* pTab;
};

// The strip of tabs: a control of the ribbon that is also the tabs' manager.
class CXTPRibbonControlTab : public CXTPControlPopup, public CXTPTabManager {
    DECLARE_DYNCREATE(CXTPRibbonControlTab)
public:
    CXTPRibbonControlTab();
    ~CXTPRibbonControlTab() override;

    CXTPRibbonBar* GetRibbonBar() const;
    CXTPTabPaintManager* GetPaintManager() const override;
    void SetSelectedItem(CXTPTabManagerItem* pItem) override;
    void RedrawControl() override;
    void Reposition() override {}
    HWND GetMeasureWindow() const override;
    void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;

private:
    std::unique_ptr<CXTPTabPaintManager> m_pPaintManager;
};

// The File button: opens its command bar, the backstage view (or a menu).
class CXTPRibbonControlSystemButton : public CXTPControlPopup {
    DECLARE_DYNCREATE(CXTPRibbonControlSystemButton)
public:
    CXTPRibbonControlSystemButton();
    BOOL OnSetPopup(BOOL bPopup) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
};

// The controls of the quick access bar.
class CXTPRibbonQuickAccessControls : public CXTPControls {
    DECLARE_DYNCREATE(CXTPRibbonQuickAccessControls)
};

// A ribbon tab's groups in a popup, for a minimised ribbon. The popup shows copies: a group for
// each of the tab's groups (hidden ones too, so that the copies' groups stand at their sources'
// indices) holding copies of the group's visible controls; the copies' bar is the popup.
class CXTPRibbonTabPopupToolBar : public CXTPPopupBar {
    DECLARE_DYNCREATE(CXTPRibbonTabPopupToolBar)
public:
    CXTPRibbonTabPopupToolBar();
    explicit CXTPRibbonTabPopupToolBar(CXTPRibbonTab* pRibbonTab);
    ~CXTPRibbonTabPopupToolBar() override;
    // The ribbon's tab the popup is for.
    CXTPRibbonTab* GetRibbonTab() const { return m_pRibbonTab; }
    // The copies' groups, in the order of the tab's.
    CXTPRibbonGroups* GetGroups() const;
    CXTPRibbonBar* GetRibbonBar() const;
    // Large icons as big as the ribbon's.
    virtual CSize GetLargeIconSize() const;
    // Opens under the tab strip, as wide as the ribbon.
    BOOL PopupUnder(CXTPRibbonBar* pRibbon);
    CSize CalcDynamicSize(int nLength, DWORD dwMode) override;
    void OnRecalcLayout() override;
    void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    CXTPRibbonTab* m_pRibbonTab = nullptr;
    // Holds the copied groups; laid out, drawn and hit-tested in place of the ribbon's tab.
    std::unique_ptr<CXTPRibbonTab> m_pCopies;
    int m_nWidth = 0;
};

// A key tip on show: its letters, where it stands (ribbon client coordinates) and what it opens.
struct XTP_RIBBON_KEYTIP {
    CString strText;
    CPoint ptCenter;
    CXTPControl* pControl = nullptr;   // a control to run (or open)
    CXTPRibbonTab* pTab = nullptr;     // a tab to select
    CXTPRibbonGroup* pGroup = nullptr; // a collapsed group to open
    BOOL bSystemButton = FALSE;
};

// What lies under a point of the ribbon, for the menus an application builds itself.
struct XTP_RIBBON_HITINFO {
    CXTPControl* pControl = nullptr;   // a group's, the quick access bar's or the File button
    CXTPRibbonGroup* pGroup = nullptr; // the group the point is in
    CXTPRibbonTab* pTab = nullptr;     // a tab of the tab row
    BOOL bCaption = FALSE;             // the caption row, off its buttons and controls
    BOOL bTabRow = FALSE;              // the row of tabs
    BOOL bGroups = FALSE;              // the band of groups
    BOOL bGroupButton = FALSE;         // the group's launcher or the button of a collapsed group
};

class CXTPRibbonBar : public CXTPMenuBar {
    DECLARE_DYNCREATE(CXTPRibbonBar)
public:
    CXTPRibbonBar();
    ~CXTPRibbonBar() override;

    // --- tabs ---
    CXTPRibbonTab* AddTab(LPCWSTR lpszCaption, int nId = 0);
    // The tab and group objects the ribbon makes (for AddTab, InsertTab, AddGroup and loading):
    // a ribbon of the application's own makes tabs and groups of its own kinds.
    virtual CXTPRibbonTab* CreateRibbonTab() { return new CXTPRibbonTab; }
    virtual CXTPRibbonGroup* CreateRibbonGroup() { return new CXTPRibbonGroup; }
    CXTPRibbonTab* InsertTab(int nIndex, LPCWSTR lpszCaption, int nId = 0);
    void RemoveTab(int nIndex);
    void RemoveAllTabs();
    int GetTabCount() const;
    CXTPRibbonTab* GetTab(int nIndex) const;
    CXTPRibbonTab* FindTab(int nId) const;
    CXTPRibbonTab* GetSelectedTab() const;
    // Selects a tab as a click does: the change can be refused by OnTabChanging or by the
    // site's answer to TCN_SELCHANGING; the selection then stays.
    BOOL SetCurSel(int nIndex);
    int GetCurSel() const;
    CXTPRibbonControlTab* GetControlTab() const { return m_pControlTab; }
    // A non-zero answer refuses the change.
    virtual BOOL OnTabChanging(CXTPRibbonTab* pTab);
    virtual void OnTabChanged(CXTPRibbonTab* pTab);

    // --- the File button and the backstage ---
    CXTPRibbonControlSystemButton* GetSystemButton() const { return m_pSystemButton; }
    void ShowSystemButton(BOOL bShow);
    // Sets the view the File button opens (the ribbon holds a reference).
    void SetBackstageView(CXTPRibbonBackstageView* pView);
    CXTPRibbonBackstageView* GetBackstageView() const;

    // --- quick access ---
    CXTPRibbonQuickAccessControls* GetQuickAccessControls() const { return m_pQuickAccessControls; }
    void ShowQuickAccess(BOOL bShow);
    BOOL IsQuickAccessVisible() const { return m_bShowQuickAccess; }
    void ShowQuickAccessBelowRibbon(BOOL bBelow);
    BOOL IsQuickAccessBelowRibbon() const { return m_bQuickAccessBelow; }

    // --- minimise ---
    // A change, by the person or in code, is told to the site (WM_XTP_RIBBONMINIMIZED).
    void SetRibbonMinimized(BOOL bMinimized);
    BOOL IsRibbonMinimized() const { return m_bMinimized; }
    // The popup for a tab of the minimised ribbon.
    virtual CXTPRibbonTabPopupToolBar* CreateTabPopupToolBar(CXTPRibbonTab* pTab);
    CXTPRibbonTabPopupToolBar* GetTabPopupToolBar() const { return m_pTabPopup; }

    // --- the frame ---
    // The ribbon draws the frame's caption (title and caption buttons) above the tabs.
    void EnableFrameTheme(BOOL bEnable = TRUE);
    BOOL IsFrameThemeEnabled() const { return m_bFrameTheme; }
    CRect GetCaptionRect() const { return m_rcCaption; }
    CRect GetTabsRect() const { return m_rcTabs; }
    CRect GetGroupsRect() const { return m_rcGroups; }
    CRect GetQuickAccessRect() const { return m_rcQuickAccess; }
    // When the tabs do not fit, arrows at the ends of their row (and the mouse wheel over it)
    // scroll them by a tab; tabs that do not fit whole are not shown. Empty when all fit.
    CRect GetTabScrollButtonRect(BOOL bRight) const { return m_rcTabScroll[bRight ? 1 : 0]; }
    // Scrolls the row by nTabs tabs (forward when positive), as far as there is to go.
    void ScrollTabs(int nTabs);

    // --- key tips ---
    // Shows the first level of key tips (tabs, File button, quick access).
    void ShowKeyboardTips(BOOL bShow = TRUE);
    BOOL IsKeyboardTipsVisible() const { return !m_keyTips.empty(); }
    const std::vector<XTP_RIBBON_KEYTIP>& GetKeyboardTips() const { return m_keyTips; }

    // --- groups ---
    // The icon a control shows at a size (16 or 32 at 96 dpi); none by default, when the
    // paint manager draws a mark in its place.
    virtual HICON GetControlIcon(CXTPControl* pControl, int nSize);
    // The icon sizes of small and medium controls, and of large ones (at the screen's dpi).
    virtual CSize GetIconSize() const;
    virtual CSize GetLargeIconSize() const;
    // Lays the ribbon out for its width now.
    void RecalcLayout();
    // After a change of what the ribbon shows inside its own bounds (another tab chosen): the
    // ribbon alone lays out and repaints while its height stays, and the frame with it only
    // when the height changed, so that the windows below keep their size and their pixels.
    void RecalcRibbonLayout();
    // Controls were added to or removed from a group or the quick access bar: by default the
    // ribbon lays out again at its next chance.
    virtual void OnControlsChanged();
    // A collapsed group opens its controls in a popup.
    BOOL OpenCollapsedGroup(CXTPRibbonGroup* pGroup);
    // What lies under a point (client coordinates).
    XTP_RIBBON_HITINFO HitTestPoint(CPoint point) const;

    // --- command bar ---
    CSize CalcDynamicSize(int nLength, DWORD dwMode) override;
    void OnRecalcLayout() override;
    void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    void OnUpdateCmdUI() override;
    BOOL ShouldSerializeBar() override { return FALSE; }
    // Takes another ribbon's tabs, groups and their controls, quick access controls, the
    // ribbon's own further controls and its settings; this ribbon's File button and tab strip
    // stay its own and take the source's state.
    void Copy(CXTPCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;
    // Stores or loads the tabs, groups and their controls, and the quick access controls.
    // Loading keeps what is valid: groups without controls, controls of an unknown type and
    // repeated ids (of tabs, of groups in a tab, of controls in a group) are skipped.
    void DoPropExchange(CXTPPropExchange* pPX) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The site frame's messages the ribbon follows (activation and title for its caption).
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

protected:
    friend class CXTPRibbonControlTab;
    friend class CXTPRibbonTabPopupToolBar;
    friend struct CXTPRibbonGroupsLayout;
    struct Hit;
    Hit HitTestRibbon(CPoint point) const;
    void LayoutCaption(CDC* pDC);
    void LayoutTabs(CDC* pDC);
    void DrawTabScrollButtons(CDC* pDC);
    // The arrow under the point: -1 back, 1 forward, 0 none.
    int HitTestTabScroll(CPoint point) const;
    void LayoutQuickAccess(CDC* pDC);
    void DrawQuickAccess(CDC* pDC);
    // One control of the quick access bar; a ribbon may draw its own kinds of control itself.
    virtual void DrawQuickAccessControl(CDC* pDC, CXTPControl* pControl);
    void DrawKeyTips(CDC* pDC);
    // The ribbon's own controls besides the File button and the tab strip (an application's,
    // placed by it, in the caption row say): drawn and clicked where they stand.
    BOOL IsFreeControl(const CXTPControl* pControl) const;
    void DrawFreeControls(CDC* pDC);
    void BuildKeyTips(int nLevel, CXTPRibbonTab* pTab);
    BOOL RunKeyTip(const XTP_RIBBON_KEYTIP& tip);
    void HideKeyTips();
    int ButtonState(CXTPControl* pControl) const;
    void OnRibbonMouseMove(CPoint point);
    void OnRibbonLButtonDown(CPoint point);
    void OnRibbonLButtonUp(CPoint point);
    void OnRibbonLButtonDblClk(CPoint point);
    void SetHot(CXTPControl* pControl, CXTPRibbonTab* pTab, CXTPRibbonGroup* pLauncher);

    CXTPRibbonControlTab* m_pControlTab = nullptr;
    CXTPRibbonControlSystemButton* m_pSystemButton = nullptr;
    CXTPRibbonQuickAccessControls* m_pQuickAccessControls = nullptr;
    CXTPRibbonTabPopupToolBar* m_pTabPopup = nullptr;
    CXTPPopupBar* m_pGroupPopup = nullptr; // the popup of a collapsed group
    BOOL m_bShowQuickAccess = TRUE;
    BOOL m_bQuickAccessBelow = FALSE;
    BOOL m_bMinimized = FALSE;
    BOOL m_bFrameTheme = FALSE;
    BOOL m_bSystemButtonVisible = TRUE;
    LONG_PTR m_savedFrameStyle = 0;
    CRect m_rcCaption, m_rcTabs, m_rcGroups, m_rcQuickAccess, m_rcCaptionText;
    std::vector<std::pair<UINT, CRect>> m_captionButtons; // SC_* and where it stands
    // The key tips on show and the letters typed towards them.
    std::vector<XTP_RIBBON_KEYTIP> m_keyTips;
    CString m_strKeyTipTyped;
    int m_nKeyTipLevel = 0;
    // The hot and pressed pieces.
    CXTPControl* m_pHotControl = nullptr;
    CXTPRibbonTab* m_pHotTab = nullptr;
    CXTPRibbonGroup* m_pHotLauncher = nullptr;
    CXTPControl* m_pPressedControl = nullptr;
    CXTPRibbonGroup* m_pPressedLauncher = nullptr;
    UINT m_nHotCaptionButton = 0;
    // The first tab shown while the row scrolls, and whether a later one is cut off.
    int m_nFirstTab = 0;
    // A tab is being chosen: the ribbon lays itself out when it is, not through the frame.
    bool m_bSelectingTab = false;
    BOOL m_bTabsCutOff = FALSE;
    CRect m_rcTabScroll[2];
};

DV_EXPORTS_END
