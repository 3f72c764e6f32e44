// The status bar along the bottom of a frame: panes of text, icons and hosted controls laid
// out from left to right. Fixed panes keep their widths; the stretching panes share what the
// bar has left over, in proportion to their own widths.
#pragma once

#include "afxext.h"
#include "pal/visibility.h"

#include <memory>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPImageManager;
class CXTPStatusBar;

class CXTPStatusBarPane {
public:
    CXTPStatusBarPane(CXTPStatusBar* pBar, UINT nID);
    ~CXTPStatusBarPane();
    CXTPStatusBarPane(const CXTPStatusBarPane&) = delete;
    CXTPStatusBarPane& operator=(const CXTPStatusBarPane&) = delete;

    UINT GetID() const { return id_; }
    int GetIndex() const;
    CXTPStatusBar* GetStatusBar() const { return bar_; }

    void SetText(LPCWSTR lpszText);
    const CString& GetText() const { return text_; }
    // The width asked for (the bar's layout gives a stretching pane more or less).
    void SetWidth(int nWidth);
    int GetWidth() const { return width_; }
    // SBPS_* styles: SBPS_STRETCH, SBPS_POPOUT, SBPS_NOBORDERS, SBPS_DISABLED.
    void SetStyle(UINT nStyle);
    UINT GetStyle() const { return style_; }
    // A hidden pane takes no room.
    void SetVisible(BOOL bVisible);
    BOOL IsVisible() const { return visible_; }
    // DT_LEFT, DT_CENTER or DT_RIGHT.
    void SetTextAlignment(UINT nAlign);
    UINT GetTextAlignment() const { return align_; }
    void SetTextColor(COLORREF clr);
    // An icon shown before the text: a copy of the handle, or the bar's image manager's icon
    // of the id.
    void SetIcon(HICON hIcon);
    void SetIconId(UINT nIconId);
    UINT GetIconId() const { return iconId_; }
    void SetTooltip(LPCWSTR lpszTooltip) { tooltip_ = lpszTooltip; }
    const CString& GetTooltip() const { return tooltip_; }
    // A child window of the bar that the pane keeps over its rectangle.
    void SetControl(CWnd* pWnd, BOOL bAutoDelete = FALSE);
    CWnd* GetControl() const { return control_; }
    CRect GetRect() const;

private:
    friend class CXTPStatusBar;
    void redraw();
    CXTPStatusBar* bar_;
    UINT id_;
    CString text_;
    int width_ = 0;
    UINT style_ = SBPS_NORMAL;
    BOOL visible_ = TRUE;
    UINT align_ = DT_LEFT;
    COLORREF textColor_ = CLR_DEFAULT;
    HICON icon_ = nullptr;
    UINT iconId_ = 0;
    CString tooltip_;
    CWnd* control_ = nullptr;
    BOOL autoDelete_ = FALSE;
};

class CXTPStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CXTPStatusBar)
public:
    CXTPStatusBar();
    ~CXTPStatusBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    // One pane for each id: ID_SEPARATOR makes a stretching pane without borders, any other id
    // a fixed pane with the text of its string resource.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    // A pane inserted at the index (-1: at the end).
    CXTPStatusBarPane* AddIndicator(UINT nID, int nIndex = -1);
    BOOL RemoveIndicator(UINT nID);
    void RemoveAll();
    // A pane of the id hosting pWnd (made a child of the bar); the pane's width is the
    // window's.
    CXTPStatusBarPane* AddControl(CWnd* pWnd, UINT nID, BOOL bAutoDelete = TRUE);

    int GetPaneCount() const { return static_cast<int>(panes_.size()); }
    int GetCount() const { return GetPaneCount(); }
    CXTPStatusBarPane* GetPane(int nIndex) const;
    CXTPStatusBarPane* FindPane(UINT nID) const;
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    // The pane's rectangle in the bar's client area; empty for a hidden pane.
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    BOOL SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneWidth(int nIndex, int cxWidth);

    void SetImageManager(CXTPImageManager* pImageManager) { images_ = pImageManager; }
    // The bar's own, else the process's.
    CXTPImageManager* GetImageManager() const;
    // Places the hosted controls after a change of the panes or the bar's size.
    void RecalcLayout();

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual void DrawPane(CDC* pDC, CXTPStatusBarPane* pPane, CRect rc);
    DECLARE_MESSAGE_MAP()

private:
    friend class CXTPStatusBarPane;
    std::vector<CRect> layout() const;
    void paint(CDC* pDC);
    std::vector<std::unique_ptr<CXTPStatusBarPane>> panes_;
    CXTPImageManager* images_ = nullptr;
};

DV_EXPORTS_END
