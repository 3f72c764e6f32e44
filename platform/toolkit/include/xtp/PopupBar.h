// A popup bar: a column of controls in a window of its own that opens under (or beside) the
// control that owns it, or at a point for a context menu. Popups nest; a popup can be torn off
// into a floating tool bar.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/CommandBar.h"

DV_EXPORTS_BEGIN

class CXTPToolBar;

class CXTPPopupBar : public CXTPCommandBar {
    DECLARE_DYNCREATE(CXTPPopupBar)
public:
    CXTPPopupBar();
    ~CXTPPopupBar() override;

    // A new popup bar of the command bars (null: not yet attached); the caller holds the
    // one reference (InternalRelease gives it back).
    static CXTPPopupBar* CreatePopupBar(CXTPCommandBars* pCommandBars);

    BOOL IsPopupBar() const override { return TRUE; }
    // Shows the popup with its top-left corner at a screen point, kept inside the screen and
    // out of rcExclude.
    virtual BOOL Popup(int x, int y, LPCRECT rcExclude);
    // Shows the popup of a control, under it (or beside it for a popup inside a popup).
    BOOL Popup(CXTPControlPopup* pControlPopup, BOOL bSelectFirst = FALSE);
    // Closes it (and the popups opened from it).
    void Close();
    BOOL IsOpen() const { return m_hWnd != nullptr && ::IsWindowVisible(m_hWnd); }

    // The popup can be torn off (dragged by its title strip) into a floating tool bar with
    // the given title, id and width.
    void SetTearOffPopup(LPCWSTR lpszCaption, UINT nID, int nWidth = 400);
    BOOL IsTearOffPopup(CString& strCaption, UINT& nID, int& nWidth) const;
    BOOL IsTearOffPopup() const { return m_bTearOffPopup; }
    // Makes the floating tool bar of a tear-off popup (or shows the one made before).
    CXTPToolBar* TearOff();
    CRect GetTearOffRect() const;

    // The popup closes itself when a control executes (unless the control says otherwise).
    void SetDestroyOnClose(BOOL b) { m_bDestroyOnClose = b; }
    // Popups are drawn as menus: an icon column, captions, shortcut texts, submenu arrows.
    CSize CalcDynamicSize(int nLength, DWORD dwMode) override;
    void OnRecalcLayout() override;
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
    void Copy(CXTPCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;

protected:
    friend class CXTPControlPopup;
    BOOL EnsureWindow() override;
    BOOL m_bTearOffPopup = FALSE;
    CString m_strTearOffCaption;
    UINT m_nTearOffID = 0;
    int m_nTearOffWidth = 400;
    BOOL m_bDestroyOnClose = FALSE;
};

DV_EXPORTS_END
