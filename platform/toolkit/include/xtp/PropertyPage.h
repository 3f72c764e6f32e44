// Property sheets in the tool kit's manner: resizable, with a navigator (tabs) above the pages,
// and pages whose controls follow the page's size by anchors.
#pragma once

#include "afxcmn.h"
#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/ResizeDialog.h"

#include <memory>

DV_EXPORTS_BEGIN

class CXTPPropertySheet;

class CXTPPropertyPage : public CPropertyPage {
    DECLARE_DYNAMIC(CXTPPropertyPage)
public:
    explicit CXTPPropertyPage(UINT nIDTemplate = 0, UINT nIDCaption = 0);

    BOOL SetResize(UINT nID, XTP_RESIZEPOINT rpTopLeft, XTP_RESIZEPOINT rpBottomRight) {
        return m_resize.SetResize(nID, rpTopLeft, rpBottomRight);
    }
    BOOL SetResize(HWND hWnd, XTP_RESIZEPOINT rpTopLeft, XTP_RESIZEPOINT rpBottomRight) {
        return m_resize.SetResize(hWnd, rpTopLeft, rpBottomRight);
    }
    // The sheet when it is one of the tool kit's.
    CXTPPropertySheet* GetParentSheet() const;
    // The page's caption on its tab: the template's caption unless one was given.
    CString GetCaption() const;
    void SetCaption(LPCWSTR lpszCaption) { m_strCaption = lpszCaption; }

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    CXTPResize m_resize;
};

// How a sheet lets the person choose a page.
class CXTPPropertyPageNavigator {
public:
    virtual ~CXTPPropertyPageNavigator() = default;
    CXTPPropertySheet* GetSheet() const { return m_pSheet; }
    // Makes the navigator's window in the sheet.
    virtual BOOL Create() = 0;
    // The names of the pages changed or a page was added.
    virtual void OnPageChanged() = 0;
    // The active page changed.
    virtual void OnPageSelected(int nPage) = 0;
    // Places the navigator in `rc` (sheet client coordinates, buttons excluded) and answers
    // the rectangle left for the pages.
    virtual CRect Layout(CRect rc) = 0;

protected:
    friend class CXTPPropertySheet;
    CXTPPropertySheet* m_pSheet = nullptr;
};

// Tabs along the top, one per page.
class CXTPPropertyPageTabNavigator : public CXTPPropertyPageNavigator {
public:
    CXTPPropertyPageTabNavigator();
    ~CXTPPropertyPageTabNavigator() override;
    // The tab layout by its number in the tab managers' layouts: 4 puts the tabs in several
    // rows, any other one row.
    void SetLayout(int nLayout);
    int GetLayout() const { return layout_; }
    static constexpr int kMultiRowLayout = 4;
    CTabCtrl* GetTabControl() { return &tabs_; }

    BOOL Create() override;
    void OnPageChanged() override;
    void OnPageSelected(int nPage) override;
    CRect Layout(CRect rc) override;

private:
    CTabCtrl tabs_;
    int layout_ = 0;
};

class CXTPPropertySheet : public CPropertySheet {
    DECLARE_DYNAMIC(CXTPPropertySheet)
public:
    explicit CXTPPropertySheet(LPCWSTR pszCaption = L"", CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CXTPPropertySheet() override;

    // The navigator the sheet shows (tabs unless replaced); the sheet owns it.
    CXTPPropertyPageNavigator* GetNavigator() const { return navigator_.get(); }
    void SetNavigator(CXTPPropertyPageNavigator* pNavigator);
    // A sheet that can be resized (never below the size it opened with).
    void SetResizable(BOOL bResizable = TRUE) { resizable_ = bResizable; }
    // The rectangle the pages take, in the sheet's client coordinates.
    CRect GetPageRect() const;
    // Places the navigator, the pages and the buttons for the sheet's present size.
    void RecalcLayout();

    using CPropertySheet::SetActivePage;
    BOOL SetActivePage(int nPage) override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::unique_ptr<CXTPPropertyPageNavigator> navigator_;
    BOOL resizable_ = TRUE;
    CSize minimum_;
    CRect pages_;
};

DV_EXPORTS_END
