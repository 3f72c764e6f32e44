// Layouts whose controls follow the size of their window: each control's corners are anchored
// at fractions of the window's growth (0,0 stays with the top left, 1,1 moves with the bottom
// right, 0.5 follows the middle). Dialogs, form views and property pages use the same rules.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <vector>

DV_EXPORTS_BEGIN

struct XTP_RESIZEPOINT {
    double x = 0;
    double y = 0;
    constexpr XTP_RESIZEPOINT() = default;
    constexpr XTP_RESIZEPOINT(double cx, double cy) : x(cx), y(cy) {}
};

inline constexpr XTP_RESIZEPOINT XTP_ANCHOR_TOPLEFT(0, 0);
inline constexpr XTP_RESIZEPOINT XTP_ANCHOR_TOPCENTER(0.5, 0);
inline constexpr XTP_RESIZEPOINT XTP_ANCHOR_TOPRIGHT(1, 0);
inline constexpr XTP_RESIZEPOINT XTP_ANCHOR_MIDDLELEFT(0, 0.5);
inline constexpr XTP_RESIZEPOINT XTP_ANCHOR_MIDDLECENTER(0.5, 0.5);
inline constexpr XTP_RESIZEPOINT XTP_ANCHOR_MIDDLERIGHT(1, 0.5);
inline constexpr XTP_RESIZEPOINT XTP_ANCHOR_BOTTOMLEFT(0, 1);
inline constexpr XTP_RESIZEPOINT XTP_ANCHOR_BOTTOMCENTER(0.5, 1);
inline constexpr XTP_RESIZEPOINT XTP_ANCHOR_BOTTOMRIGHT(1, 1);

// The layout engine: the window's client size and each anchored control's rectangle are taken
// when the control is anchored (or at Init), and every later size moves the controls by the
// anchors' share of the growth.
class CXTPResize {
public:
    explicit CXTPResize(CWnd* pWnd = nullptr) : wnd_(pWnd) {}
    void SetWindow(CWnd* pWnd) { wnd_ = pWnd; }
    // Takes the window's present client size as the one the controls were laid out for; a
    // control anchored later stands, where it is then, for the window's size then.
    void Init();
    // The same for controls laid out for a client area of `sizeClient` (a form's template). Its
    // controls stand where the template put them until they are anchored, whatever size the
    // window has meanwhile: each is anchored for the template's size and placed for the present.
    void Init(CSize sizeClient);
    BOOL SetResize(UINT nID, XTP_RESIZEPOINT rpTopLeft, XTP_RESIZEPOINT rpBottomRight);
    BOOL SetResize(HWND hWnd, XTP_RESIZEPOINT rpTopLeft, XTP_RESIZEPOINT rpBottomRight);
    BOOL RemoveResize(UINT nID);
    // Places the controls for the window's present client size.
    void Size();
    // The window's size when the layout began, as a minimum for tracking.
    CSize GetInitialWindowSize() const { return initialWindow_; }
    BOOL IsInitialized() const { return initialized_; }

private:
    struct Item {
        HWND hwnd;
        CRect rc; // at the initial client size
        XTP_RESIZEPOINT tl, br;
    };
    CWnd* wnd_;
    std::vector<Item> items_;
    void init(CSize sizeClient, bool byTemplate);
    void place(const Item& item, const CRect& client) const;
    CSize initialClient_;
    CSize initialWindow_;
    BOOL initialized_ = FALSE;
    bool byTemplate_ = false;
};

// Gives a window a sizing border while keeping its client area as it was.
void XTPMakeResizable(CWnd* pWnd);

// A dialog whose controls follow its size; it cannot be made smaller than it opened.
class CXTPResizeDialog : public CDialog {
    DECLARE_DYNAMIC(CXTPResizeDialog)
public:
    explicit CXTPResizeDialog(UINT nIDTemplate = 0, CWnd* pParentWnd = nullptr, UINT nFlags = 0);

    BOOL SetResize(UINT nID, XTP_RESIZEPOINT rpTopLeft, XTP_RESIZEPOINT rpBottomRight) {
        return m_resize.SetResize(nID, rpTopLeft, rpBottomRight);
    }
    BOOL SetResize(HWND hWnd, XTP_RESIZEPOINT rpTopLeft, XTP_RESIZEPOINT rpBottomRight) {
        return m_resize.SetResize(hWnd, rpTopLeft, rpBottomRight);
    }
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    CXTPResize m_resize;
    UINT m_nFlags;
};

// A form view whose controls follow the view's size.
class CXTPResizeFormView : public CFormView {
    DECLARE_DYNAMIC(CXTPResizeFormView)
public:
    explicit CXTPResizeFormView(UINT nIDTemplate);

    BOOL SetResize(UINT nID, XTP_RESIZEPOINT rpTopLeft, XTP_RESIZEPOINT rpBottomRight) {
        return m_resize.SetResize(nID, rpTopLeft, rpBottomRight);
    }
    void OnInitialUpdate() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    CXTPResize m_resize;
};

DV_EXPORTS_END
