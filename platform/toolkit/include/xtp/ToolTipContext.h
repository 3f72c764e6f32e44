// The tooltips of a set of command bars: one tip window that follows the pointer over the
// controls and shows each control's tooltip.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

enum XTPToolTipStyle {
    xtpToolTipStandard = 0,
    xtpToolTipBalloon = 1,
    xtpToolTipOffice = 2,
    xtpToolTipRTF = 3,
    xtpToolTipOffice2007 = 4,
    xtpToolTipResource = 5,
    xtpToolTipHTML = 6,
    xtpToolTipLuna = 7,
    xtpToolTipMarkup = 8,
};

// The tip window itself (a standard tooltip control).
class CXTPToolTipContextToolTip : public CWnd {
    DECLARE_DYNAMIC(CXTPToolTipContextToolTip)
public:
    // The command whose tip shows now (0: none).
    UINT GetToolId() const { return m_nToolId; }
    UINT m_nToolId = 0;
};

class CXTPToolTipContext : public CCmdTarget {
    DECLARE_DYNCREATE(CXTPToolTipContext)
public:
    CXTPToolTipContext();
    ~CXTPToolTipContext() override;

    void SetStyle(XTPToolTipStyle style) { m_style = style; }
    XTPToolTipStyle GetStyle() const { return m_style; }
    void SetTipTextColor(COLORREF clr) { m_clrTipText = clr; }
    // The text colour of tips (the theme's unless set).
    COLORREF GetTipTextColor() const;
    void ShowToolTips(BOOL bShow) { m_bShowToolTips = bShow; }
    BOOL IsShowToolTips() const { return m_bShowToolTips; }

    // Shows `lpszText` for the rectangle rcTool of hwndOwner (client coordinates) while the
    // pointer stays there; an empty text hides the tip.
    void SetToolTip(HWND hwndOwner, UINT nToolId, CRect rcTool, LPCWSTR lpszText);
    // Passes a mouse message of hwndOwner to the tip so that it shows after the delay.
    void RelayEvent(HWND hwndOwner, UINT message, CPoint point);
    // Hides the tip now.
    virtual void CancelToolTips();
    // The tip window, made on first use.
    CXTPToolTipContextToolTip* GetToolTip() { return &m_wndToolTip; }
    CString GetText() const { return m_strText; }

protected:
    void ensureWindow(HWND hwndOwner);
    XTPToolTipStyle m_style = xtpToolTipStandard;
    COLORREF m_clrTipText = CLR_NONE;
    BOOL m_bShowToolTips = TRUE;
    CXTPToolTipContextToolTip m_wndToolTip;
    HWND m_hwndTool = nullptr;
    UINT m_nToolAdded = 0;
    CString m_strText;
};

DV_EXPORTS_END
