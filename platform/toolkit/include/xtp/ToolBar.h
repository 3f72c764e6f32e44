// A tool bar: docked along an edge of the frame in a row with others, or floating in a small
// window of its own.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/CommandBar.h"

DV_EXPORTS_BEGIN

class CXTPToolBar : public CXTPCommandBar {
    DECLARE_DYNCREATE(CXTPToolBar)
public:
    CXTPToolBar();

    // Buttons for ids, ID_SEPARATOR (0) starting a group at the next button.
    BOOL SetButtons(const UINT* pButtons, int nCount);

    // The edges the bar may dock to (xtpFlagAlign* and xtpFlagFloating); 0 keeps it where it is.
    void EnableDocking(DWORD dwFlags);
    DWORD GetDockingFlags() const { return m_dwDockingFlags; }
    // Puts the bar on an edge (or floating), in a row, at an offset along the row.
    void SetPosition(XTPBarPosition barPosition);
    void SetDockPosition(XTPBarPosition barPosition, int nRow, int nOffset);
    int GetDockRow() const { return m_nDockRow; }
    int GetDockOffset() const { return m_nDockOffset; }
    // Where a floating bar stands on the screen.
    CPoint GetFloatingPosition() const { return m_ptFloating; }
    void SetFloatingPosition(CPoint pt) { m_ptFloating = pt; }

    void SetVisible(BOOL bVisible) override;
    BOOL IsVisible() const override { return m_bVisible; }
    // Whether the bar is part of the stored layout.
    virtual BOOL ShouldSerializeBar();
    BOOL IsBuiltIn() const { return m_bBuiltIn; }
    // Back to the controls the bar was built with (after asking, when bShowWarningMessage).
    void Reset(BOOL bShowWarningMessage = FALSE);
    void SetBuiltIn(BOOL bBuiltIn) { m_bBuiltIn = bBuiltIn; }
    BOOL IsCloseable() const { return m_bCloseable; }
    void SetCloseable(BOOL bCloseable) { m_bCloseable = bCloseable; }
    // Whether the bar shows in the context menu of the bars.
    BOOL IsContextMenuPresent() const { return m_bContextMenuPresent; }
    void SetContextMenuPresent(BOOL bPresent) { m_bContextMenuPresent = bPresent; }
    BOOL IsShowGripper() const { return m_bShowGripper; }
    void ShowGripper(BOOL bShow) { m_bShowGripper = bShow; }

    CRect GetGripperRect() const override;
    // Dragged by its gripper (or the title of a floating bar), a bar floats where it is let go,
    // or docks on the edge of the frame it is let go on.
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    // Where a bar let go at a screen point goes: an edge of the site's client area, or floating.
    XTPBarPosition GetDropPosition(CPoint ptScreen) const;
    CSize CalcDynamicSize(int nLength, DWORD dwMode) override;
    void DoPropExchange(CXTPPropExchange* pPX) override;
    void Copy(CXTPCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;

protected:
    friend class CXTPCommandBars;
    BOOL EnsureWindow() override;
    DWORD m_dwDockingFlags = xtpFlagAlignAny | xtpFlagFloating;
    int m_nDockRow = 0;
    int m_nDockOffset = 0;
    CPoint m_ptFloating{100, 100};
    BOOL m_bBuiltIn = TRUE;
    BOOL m_bCloseable = TRUE;
    BOOL m_bContextMenuPresent = TRUE;
    BOOL m_bShowGripper = TRUE;
    BOOL m_bDragging = FALSE;
    CPoint m_ptDragStart{0, 0}; // screen point where the drag began
    CSize m_szDragOffset{0, 0}; // from the window's corner to that point
};

DV_EXPORTS_END
