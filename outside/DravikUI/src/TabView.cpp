#include "DravikUI/TabView.h"

#include "DravikKernel/Document.h"

#include <algorithm>
#include <mutex>
#include <string>

namespace {

constexpr UINT kTabsId = 0xE8F0;
// Posted to rebuild the pages outside the document's round of updates, which must not lose
// views while it walks them.
constexpr UINT kRebuildMessage = WM_APP + 0x3A1;
// Page views take ids after the panes of a splitter.
constexpr UINT kFirstPageId = AFX_IDW_PANE_FIRST + 0x100;

struct Registry {
    std::mutex mutex;
    std::vector<CDVTabView*> views;
    CRuntimeClass* pageViewClass = nullptr;
};

Registry& registry() {
    static Registry* r = new Registry;
    return *r;
}

} // namespace

IMPLEMENT_DYNCREATE(CDVTabView, CView)
IMPLEMENT_DYNCREATE(CDVTabPageView, CDVView)

BEGIN_MESSAGE_MAP(CDVTabView, CView)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_SETFOCUS()
ON_WM_PAINT()
ON_MESSAGE(kRebuildMessage, &CDVTabView::OnRebuildMessage)
END_MESSAGE_MAP()

CDVTabView::CDVTabView() {
    std::lock_guard lock(registry().mutex);
    registry().views.push_back(this);
}

CDVTabView::~CDVTabView() {
    std::lock_guard lock(registry().mutex);
    std::erase(registry().views, this);
}

void CDVTabView::SetPageViewClass(CRuntimeClass* viewClass) {
    std::lock_guard lock(registry().mutex);
    registry().pageViewClass = viewClass;
}

CRuntimeClass* CDVTabView::GetPageViewClass() {
    std::lock_guard lock(registry().mutex);
    return registry().pageViewClass ? registry().pageViewClass : RUNTIME_CLASS(CDVTabPageView);
}

void CDVTabPageView::SetPageIndex(int page) {
    m_page = page;
    if (GetDocument())
        SetParentPage(page);
}

void CDVTabPageView::OnInitialUpdate() {
    CDVView::OnInitialUpdate();
    if (m_page >= 0)
        SetParentPage(m_page);
}

void CDVTabView::UpdateAllTabViews() {
    std::vector<CDVTabView*> views;
    {
        std::lock_guard lock(registry().mutex);
        views = registry().views;
    }
    for (CDVTabView* view : views) {
        if (::IsWindow(view->m_hWnd)) {
            view->layout();
            view->m_tabs.Invalidate();
        }
    }
}

int CDVTabView::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CView::OnCreate(lpcs) == -1)
        return -1;
    if (!m_tabs.Create(CRect(0, 0, 0, CDVTabCtrl::GetStripHeight()), this, kTabsId))
        return -1;
    return 0;
}

CView* CDVTabView::GetPageView(int page) const {
    return page >= 0 && page < GetPageCount() ? m_pages[static_cast<size_t>(page)] : nullptr;
}

int CDVTabView::GetDocumentPageCount() const {
    const auto* kernel = dynamic_cast<const Dravik::DravikDocument2*>(GetDocument());
    return kernel ? static_cast<int>(kernel->Cont2D()->GetPages().size()) : 0;
}

std::wstring CDVTabView::GetPageName(int page) const {
    const auto* kernel = dynamic_cast<const Dravik::DravikDocument2*>(GetDocument());
    if (!kernel || page < 0 || page >= GetDocumentPageCount())
        return {};
    const Dravik::Page& p = kernel->Cont2D()->GetPages()[static_cast<size_t>(page)];
    if (!p.name.empty())
        return p.name;
    if (p.kind == Dravik::PageKind::Model)
        return L"Model";
    // Sheets without a name are numbered among the sheets.
    int sheet = 0;
    for (int i = 0; i <= page; ++i)
        sheet += kernel->Cont2D()->GetPages()[static_cast<size_t>(i)].kind == Dravik::PageKind::Sheet ? 1 : 0;
    return L"Sheet " + std::to_wstring(sheet);
}

CView* CDVTabView::CreatePageView(int page) {
    CRuntimeClass* viewClass = GetPageViewClass();
    if (!viewClass)
        return nullptr;
    auto* view = dynamic_cast<CView*>(viewClass->CreateObject());
    if (!view)
        return nullptr;
    if (auto* pageView = dynamic_cast<PageView*>(view))
        pageView->SetPageIndex(page);
    CCreateContext context;
    context.m_pCurrentDoc = GetDocument();
    // The view joins the document's views as it is created; a failed one deletes itself.
    if (!view->Create(nullptr, L"", WS_CHILD, CRect(0, 0, 0, 0), this, kFirstPageId + static_cast<UINT>(page),
                      &context))
        return nullptr;
    return view;
}

void CDVTabView::RebuildPages() {
    const int chosen = std::max(m_tabs.GetCurSel(), 0);
    for (CView* view : m_pages) {
        if (::IsWindow(view->m_hWnd))
            view->DestroyWindow();
    }
    m_pages.clear();
    m_tabs.DeleteAllItems();
    const int count = GetDocumentPageCount();
    for (int page = 0; page < count; ++page) {
        CView* view = CreatePageView(page);
        if (!view)
            continue;
        m_pages.push_back(view);
        m_tabs.InsertItem(m_tabs.GetItemCount(), GetPageName(page));
        view->SendMessage(WM_INITIALUPDATE);
    }
    layout();
    if (!m_pages.empty())
        SelectPage(std::min(chosen, GetPageCount() - 1));
}

bool CDVTabView::SelectPage(int page) {
    CView* chosen = GetPageView(page);
    if (!chosen)
        return false;
    m_tabs.SetCurSel(page);
    for (CView* view : m_pages)
        view->ShowWindow(view == chosen ? SW_SHOW : SW_HIDE);
    if (auto* kernel = dynamic_cast<Dravik::DravikDocument2*>(GetDocument());
        kernel && page < GetDocumentPageCount())
        kernel->Cont2D()->SetCurrentPage(page);
    if (CFrameWnd* frame = GetParentFrame();
        frame && (frame->GetActiveView() == this || frame->GetActiveView() == nullptr ||
                  std::find(m_pages.begin(), m_pages.end(), frame->GetActiveView()) != m_pages.end()))
        frame->SetActiveView(chosen);
    return true;
}

void CDVTabView::OnInitialUpdate() {
    RebuildPages();
}

void CDVTabView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) {
    // The page views hear the document themselves; the strip follows the pages.
    if (GetDocumentPageCount() != GetPageCount()) {
        if (!m_rebuildPosted)
            m_rebuildPosted = PostMessage(kRebuildMessage) != FALSE;
    } else {
        for (int page = 0; page < GetPageCount(); ++page)
            m_tabs.SetItemText(page, GetPageName(page));
    }
}

LRESULT CDVTabView::OnRebuildMessage(WPARAM, LPARAM) {
    m_rebuildPosted = false;
    RebuildPages();
    return 0;
}

void CDVTabView::layout() {
    if (!::IsWindow(m_hWnd))
        return;
    CRect client;
    GetClientRect(&client);
    const CDVTabCtrl::Defaults settings = CDVTabCtrl::GetDefaults();
    const bool strip =
        m_pageTabsShown && (GetPageCount() > 1 || (GetPageCount() == 1 && settings.ShowSingleTab));
    const int height = strip ? std::min<int>(CDVTabCtrl::GetStripHeight(), client.Height()) : 0;
    CRect pages = client;
    CRect tabs = client;
    if (settings.OnTop) {
        tabs.bottom = tabs.top + height;
        pages.top = tabs.bottom;
    } else {
        tabs.top = tabs.bottom - height;
        pages.bottom = tabs.top;
    }
    m_tabs.ShowWindow(strip ? SW_SHOW : SW_HIDE);
    m_tabs.MoveWindow(&tabs);
    if (m_rulersShown) {
        pages.left = std::min(pages.right, pages.left + GetRulerSize());
        pages.top = std::min(pages.bottom, pages.top + GetRulerSize());
    }
    m_pagesRect = pages;
    for (CView* view : m_pages)
        view->MoveWindow(&pages);
}

void CDVTabView::OnSize(UINT nType, int cx, int cy) {
    CView::OnSize(nType, cx, cy);
    layout();
}

BOOL CDVTabView::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const auto* nm = reinterpret_cast<const NMHDR*>(lParam);
    if (nm && nm->hwndFrom == m_tabs.m_hWnd && nm->code == TCN_SELCHANGE) {
        SelectPage(m_tabs.GetCurSel());
        *pResult = 0;
        return TRUE;
    }
    return CView::OnNotify(wParam, lParam, pResult);
}

void CDVTabView::OnSetFocus(CWnd*) {
    // The focus belongs to the page that shows.
    if (CView* view = GetPageView(GetActivePage()))
        view->SetFocus();
}

void CDVTabView::ShowPageTabs(bool show) {
    if (m_pageTabsShown == show)
        return;
    m_pageTabsShown = show;
    layout();
    Invalidate();
}

void CDVTabView::ShowRulers(bool show) {
    if (m_rulersShown == show)
        return;
    m_rulersShown = show;
    layout();
    Invalidate();
}

int CDVTabView::GetRulerSize() {
    return 18;
}

void CDVTabView::OnPaint() {
    CPaintDC dc(this);
    if (!m_rulersShown)
        return;
    // Two bands meeting in a corner square, ticks every 10 pixels of the page area, longer ones
    // every 50 and numbered every 100.
    const CRect pages = m_pagesRect;
    const int size = GetRulerSize();
    const COLORREF band = RGB(240, 240, 240);
    const COLORREF ink = RGB(96, 96, 96);
    dc.FillSolidRect(CRect(pages.left - size, pages.top - size, pages.right, pages.top), band);
    dc.FillSolidRect(CRect(pages.left - size, pages.top, pages.left, pages.bottom), band);
    dc.FillSolidRect(CRect(pages.left - 1, pages.top - size, pages.left, pages.top), ink);
    dc.FillSolidRect(CRect(pages.left - size, pages.top - 1, pages.left, pages.top), ink);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(ink);
    CGdiObject* font = dc.SelectStockObject(DEFAULT_GUI_FONT);
    for (int x = 0; pages.left + x < pages.right; x += 10) {
        const int length = x % 100 == 0 ? size : x % 50 == 0 ? size / 2 : size / 4;
        dc.FillSolidRect(CRect(pages.left + x, pages.top - length, pages.left + x + 1, pages.top), ink);
        if (x % 100 == 0 && x > 0) {
            const std::wstring label = std::to_wstring(x);
            dc.TextOut(pages.left + x + 2, pages.top - size, label.c_str(), static_cast<int>(label.size()));
        }
    }
    for (int y = 0; pages.top + y < pages.bottom; y += 10) {
        const int length = y % 100 == 0 ? size : y % 50 == 0 ? size / 2 : size / 4;
        dc.FillSolidRect(CRect(pages.left - length, pages.top + y, pages.left, pages.top + y + 1), ink);
    }
    if (font != nullptr)
        dc.SelectObject(font);
}
