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

class CXTPToolTipContext;

// The tip window: a standard tooltip control that a kind of tip may measure and draw its own
// way. While CalcToolSize gives an empty size the control measures and draws the plain tip.
class CXTPToolTipContextToolTip : public CWnd {
    DECLARE_DYNAMIC(CXTPToolTipContextToolTip)
public:
    explicit CXTPToolTipContextToolTip(CXTPToolTipContext* pContext = nullptr) : m_pContext(pContext) {}

    // The command whose tip shows now (0: none).
    UINT GetToolId() const { return m_nToolId; }
    UINT m_nToolId = 0;
    CXTPToolTipContext* GetContext() const { return m_pContext; }
    // Whether the tip shown now was measured and drawn by this object's own functions.
    BOOL IsOwnDrawn() const { return m_bOwnDrawn; }

protected:
    // In this order, what a kind of tip does its own way: the size of the tip for the current
    // tool (an empty size: the plain tip), the drawing of its content and of its background,
    // and the notice that it was shown (TRUE) or hidden.
    virtual CSize CalcToolSize(CDC* pDC);
    virtual void DrawContent(CDC* pDC, CRect rc);
    virtual void DrawBackground(CDC* pDC, CRect rc);
    virtual void OnVisibleChanged(BOOL bVisible);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Moves or sizes the window without it being measured again.
    void SetOwnWindowPos(int x, int y, int cx, int cy, UINT flags);
    // Moves the window so that it lies wholly on the screen nearest to it.
    void EnsureIsVisible();

    CXTPToolTipContext* m_pContext;
    BOOL m_bOwnDrawn = FALSE;
    BOOL m_bOwnSizing = FALSE;
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
    // The fonts tips are written in: the theme's regular and bold fonts.
    CFont* GetFont() const;
    CFont* GetBoldFont() const;
    // The window style tip windows are made with.
    DWORD GetControlStyle() const { return WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX; }

    // Shows `lpszText` for the rectangle rcTool of hwndOwner (client coordinates) while the
    // pointer stays there; an empty text hides the tip. The same tool given again is kept as
    // it is, so that a tip showing stays.
    void SetToolTip(HWND hwndOwner, UINT nToolId, CRect rcTool, LPCWSTR lpszText);
    // Passes a mouse message of hwndOwner to the tip so that it shows after the delay.
    void RelayEvent(HWND hwndOwner, UINT message, CPoint point);
    // Offers a message of pWnd to the tips before pWnd handles it: a mouse message asks the
    // window which tool lies under the pointer (CWnd::OnToolHitTest) and shows that tool's tip
    // after the delay, or hides the tip when there is none. FALSE: the window handles the
    // message as usual, as it always does here.
    BOOL FilterToolTipMessage(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Hides the tip now.
    virtual void CancelToolTips();
    // The tip window; before the first tip an object without a window.
    CXTPToolTipContextToolTip* GetToolTip() { return m_pToolTip != nullptr ? m_pToolTip : &m_wndNoToolTip; }
    CString GetText() const { return m_strText; }
    // The window the current tool lies in (null: none).
    HWND GetToolWindow() const { return m_hwndTool; }

protected:
    // Makes the tip window, owned by pParentWnd; null when it cannot be made. A kind of tip
    // makes its own window class here.
    virtual CXTPToolTipContextToolTip* CreateToolTip(CWnd* pParentWnd);
    // The text of a tool whose window gave none: none here. A kind of tip whose tools are
    // commands names the command.
    virtual CString GetToolText(UINT nToolId) const;
    void ensureWindow(HWND hwndOwner);
    void destroyToolTip();
    XTPToolTipStyle m_style = xtpToolTipStandard;
    COLORREF m_clrTipText = CLR_NONE;
    BOOL m_bShowToolTips = TRUE;
    CXTPToolTipContextToolTip* m_pToolTip = nullptr;
    CXTPToolTipContextToolTip m_wndNoToolTip;
    HWND m_hwndTool = nullptr;
    UINT m_nToolAdded = 0;
    CRect m_rcTool;
    CString m_strText;
};

DV_EXPORTS_END
