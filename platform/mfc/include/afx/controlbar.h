// Control bars: strips along the top or bottom edge of a frame that the frame's layout places
// before its view or client gets what is left. The status bar shows the prompt of the command
// under the pointer in its first pane and indicators in the others; the tool bar shows a row
// of command buttons.
#pragma once

#include "afx/frame.h"
#include "pal/visibility.h"

#include <vector>

DV_EXPORTS_BEGIN

// Bar styles.
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_GRIPPER = 0x00400000;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0080;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
constexpr DWORD TBSTYLE_FLAT = 0x0800;
constexpr DWORD TBSTYLE_TRANSPARENT = 0x8000;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    ~CControlBar() override;

    // The size the bar takes along its edge: the frame's full length and the bar's height.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // Commands shown by the bar ask their update handlers through pTarget.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {}
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle; }
    BOOL IsVisible() const { return IsWindowVisible(); }
    CFrameWnd* GetDockingFrame() const { return m_pDockSite; }

    int OnCreate(LPCREATESTRUCTW lpcs);
    void OnDestroy();
    BOOL OnEraseBkgnd(CDC* pDC);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;
    int m_cyTopBorder = 2;
    int m_cyBottomBorder = 2;

protected:
    BOOL CreateBar(CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCWSTR className);
    DECLARE_MESSAGE_MAP()
};

constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100;
constexpr UINT SBPS_POPOUT = 0x0200;
constexpr UINT SBPS_DISABLED = 0x0400;
constexpr UINT SBPS_STRETCH = 0x0800;

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    // One pane for each id; ID_SEPARATOR makes the stretching first pane, the others take the
    // text of their string resource.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    int GetCount() const { return static_cast<int>(panes_.size()); }
    UINT GetItemID(int nIndex) const;
    int CommandToIndex(UINT nIDFind) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    BOOL SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint();

protected:
    DECLARE_MESSAGE_MAP()

private:
    struct Pane {
        UINT id = 0;
        UINT style = SBPS_NORMAL;
        int width = 0;
        CString text;
    };
    std::vector<Pane> panes_;
    std::vector<CRect> layout() const;
};

// Button states and styles of a tool bar.
constexpr UINT TBBS_BUTTON = 0x0000;
constexpr UINT TBBS_SEPARATOR = 0x0001;
constexpr UINT TBBS_CHECKBOX = 0x0002;
constexpr UINT TBBS_CHECKED = 0x0100;
constexpr UINT TBBS_PRESSED = 0x0200;
constexpr UINT TBBS_DISABLED = 0x0400;

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT nID = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                  UINT nID = AFX_IDW_TOOLBAR);
    // The buttons, ID_SEPARATOR making a gap; button i shows image i of the strip, counting
    // buttons only.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    // The images: a strip of equal squares, side by side.
    BOOL SetBitmap(HBITMAP hbmImageWell);
    // Or the images of an image list (which the bar does not own), drawn transparently; its
    // image size becomes the bar's.
    void SetImageList(HIMAGELIST hImageList);
    HIMAGELIST GetImageList() const { return images_; }
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    int GetCount() const { return static_cast<int>(buttons_.size()); }
    UINT GetItemID(int nIndex) const;
    int CommandToIndex(UINT nIDFind) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void OnPaint();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // The tip window of a bar made with CBRS_TOOLTIPS; a button's tip is the part after "\n"
    // of its command's string resource.
    HWND GetToolTips() const { return tips_; }

protected:
    DECLARE_MESSAGE_MAP()

private:
    struct Button {
        UINT id = 0;
        UINT style = TBBS_BUTTON;
        int image = -1;
    };
    std::vector<Button> buttons_;
    CSize button_{23, 22};
    CSize image_{16, 15};
    HBITMAP strip_ = nullptr;
    HIMAGELIST images_ = nullptr;
    int pressed_ = -1;
    int hot_ = -1;
    HWND tips_ = nullptr;
    int toolsAdded_ = 0; // tools are numbered by button, from 1
    int hitTest(CPoint point) const;
    void updateTools();
    void relay(UINT message, CPoint point);
};

DV_EXPORTS_END
