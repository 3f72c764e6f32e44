// The view of a kernel document in its child frame: one page view per page of the document, and
// the strip of page tabs that chooses which of them shows. The page views are the kernel's own
// views of the document; the chosen one is the frame's active view, so commands reach it.
#pragma once

#include "DravikKernel/View.h"
#include "DravikUI/TabCtrl.h"
#include "afxwin.h"
#include "pal/visibility.h"

#include <vector>

DV_EXPORTS_BEGIN

class CDVTabView : public CView {
    DECLARE_DYNCREATE(CDVTabView)
public:
    CDVTabView();
    ~CDVTabView() override;

    // What a page view learns from the tab view: which page of the document it shows.
    class PageView {
    public:
        virtual ~PageView() = default;
        virtual void SetPageIndex(int page) = 0;
    };

    // The class of the page views, made for each page (dynamically creatable, a CView; told its
    // page when it is a PageView). CDVTabPageView, the kernel's drawing view, unless set.
    static void SetPageViewClass(CRuntimeClass* viewClass);
    static CRuntimeClass* GetPageViewClass();
    // Every tab view of the process lays itself out again by CDVTabCtrl's settings.
    static void UpdateAllTabViews();

    CDVTabCtrl& GetTabCtrl() { return m_tabs; }
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CView* GetPageView(int page) const;
    int GetActivePage() const { return m_tabs.GetCurSel(); }
    // Shows a page's view and makes it the frame's active view. False for a page that does not
    // exist.
    bool SelectPage(int page);
    // Makes the page views and tabs again from the document's pages; the chosen page stays
    // chosen while it exists. A change of the document's pages does it at the next message.
    void RebuildPages();

    // The page tabs and the rulers along the pages' top and left edges, each switched by a
    // person for this view alone; the pages take the room that is left.
    bool ArePageTabsShown() const { return m_pageTabsShown; }
    void ShowPageTabs(bool show);
    bool AreRulersShown() const { return m_rulersShown; }
    void ShowRulers(bool show);
    // The rulers' thickness in pixels.
    static int GetRulerSize();

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC*) override {}

protected:
    // A view of one page of the document, a child of this view; null when it cannot be made.
    virtual CView* CreatePageView(int page);
    // The tab's text for a page.
    virtual std::wstring GetPageName(int page) const;
    int GetDocumentPageCount() const;

    int OnCreate(LPCREATESTRUCTW lpcs);
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnPaint();
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnSetFocus(CWnd* pOldWnd);
    LRESULT OnRebuildMessage(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void layout();
    CDVTabCtrl m_tabs;
    std::vector<CView*> m_pages;
    bool m_rebuildPosted = false;
    bool m_pageTabsShown = true;
    bool m_rulersShown = false;
    CRect m_pagesRect;
};

// The kernel's drawing view as a page of a tab view.
class CDVTabPageView : public CDVView, public CDVTabView::PageView {
    DECLARE_DYNCREATE(CDVTabPageView)
public:
    // The kernel's view starts on the document's current page; this one stays on its own.
    void SetPageIndex(int page) override;
    void OnInitialUpdate() override;

private:
    int m_page = -1;
};

DV_EXPORTS_END
