#include "xtp/PropertyPage.h"

#include "afx/wndmsg.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CXTPPropertyPage, CPropertyPage)
IMPLEMENT_DYNAMIC(CXTPPropertySheet, CPropertySheet)

namespace {

constexpr UINT kTabsId = 0x3020;
constexpr int kMargin = 7; // pixels around the navigator, the pages and the buttons
constexpr UINT kButtonIds[] = {IDOK, IDCANCEL, ID_APPLY_NOW};

} // namespace

// CXTPPropertyPage ----------------------------------------------------------------------------

CXTPPropertyPage::CXTPPropertyPage(UINT nIDTemplate, UINT nIDCaption)
    : CPropertyPage(nIDTemplate, nIDCaption), m_resize(this) {}

CXTPPropertySheet* CXTPPropertyPage::GetParentSheet() const {
    return dynamic_cast<CXTPPropertySheet*>(m_pSheet);
}

CString CXTPPropertyPage::GetCaption() const {
    if (!m_strCaption.IsEmpty())
        return m_strCaption;
    if (const auto* t = pal::win::findDialogTemplate(static_cast<WORD>(m_nIDTemplate)))
        return t->caption != nullptr ? t->caption : L"";
    return CString();
}

BOOL CXTPPropertyPage::OnInitDialog() {
    const BOOL result = CPropertyPage::OnInitDialog();
    m_resize.Init();
    return result;
}

LRESULT CXTPPropertyPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CPropertyPage::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE)
        m_resize.Size();
    return result;
}

// CXTPPropertyPageTabNavigator ----------------------------------------------------------------

CXTPPropertyPageTabNavigator::CXTPPropertyPageTabNavigator() = default;
CXTPPropertyPageTabNavigator::~CXTPPropertyPageTabNavigator() = default;

void CXTPPropertyPageTabNavigator::SetLayout(int nLayout) {
    layout_ = nLayout;
    if (tabs_.m_hWnd != nullptr) {
        tabs_.ModifyStyle(layout_ == kMultiRowLayout ? 0 : TCS_MULTILINE,
                          layout_ == kMultiRowLayout ? TCS_MULTILINE : 0);
        if (m_pSheet != nullptr)
            m_pSheet->RecalcLayout();
    }
}

BOOL CXTPPropertyPageTabNavigator::Create() {
    if (m_pSheet == nullptr || m_pSheet->m_hWnd == nullptr)
        return FALSE;
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP |
                        (layout_ == kMultiRowLayout ? TCS_MULTILINE : 0);
    if (!tabs_.Create(style, CRect(0, 0, 10, 10), m_pSheet, kTabsId))
        return FALSE;
    tabs_.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    OnPageChanged();
    return TRUE;
}

void CXTPPropertyPageTabNavigator::OnPageChanged() {
    if (tabs_.m_hWnd == nullptr)
        return;
    tabs_.DeleteAllItems();
    for (int i = 0; i < m_pSheet->GetPageCount(); ++i) {
        CPropertyPage* page = m_pSheet->GetPage(i);
        CString caption;
        if (auto* xtp = dynamic_cast<CXTPPropertyPage*>(page))
            caption = xtp->GetCaption();
        else if (!page->m_strCaption.IsEmpty())
            caption = page->m_strCaption;
        else if (const auto* t = pal::win::findDialogTemplate(static_cast<WORD>(page->m_nIDTemplate)))
            caption = t->caption != nullptr ? t->caption : L"";
        tabs_.InsertItem(i, caption);
    }
    tabs_.SetCurSel(m_pSheet->GetActiveIndex());
}

void CXTPPropertyPageTabNavigator::OnPageSelected(int nPage) {
    if (tabs_.m_hWnd != nullptr && tabs_.GetCurSel() != nPage)
        tabs_.SetCurSel(nPage);
}

CRect CXTPPropertyPageTabNavigator::Layout(CRect rc) {
    if (tabs_.m_hWnd == nullptr)
        return rc;
    tabs_.MoveWindow(&rc);
    CRect display = rc;
    tabs_.AdjustRect(FALSE, &display);
    return display;
}

// CXTPPropertySheet ---------------------------------------------------------------------------

CXTPPropertySheet::CXTPPropertySheet(LPCWSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage),
      navigator_(std::make_unique<CXTPPropertyPageTabNavigator>()) {
    navigator_->m_pSheet = this;
}

CXTPPropertySheet::~CXTPPropertySheet() = default;

void CXTPPropertySheet::SetNavigator(CXTPPropertyPageNavigator* pNavigator) {
    if (pNavigator == nullptr)
        return;
    navigator_.reset(pNavigator);
    navigator_->m_pSheet = this;
}

// The sheet made by the class library has room for the largest page and the buttons; the
// navigator needs more above the pages, so the sheet grows by what the tabs take.
BOOL CXTPPropertySheet::OnInitDialog() {
    if (resizable_)
        XTPMakeResizable(this);
    navigator_->Create();
    CRect client;
    GetClientRect(&client);
    // What the navigator takes around the pages, measured on a sample rectangle.
    const CRect probe(0, 0, 400, 400);
    const CRect display = navigator_->Layout(probe);
    const int extraX = probe.Width() - display.Width() + 2 * kMargin;
    const int extraY = probe.Height() - display.Height();
    CRect before;
    GetWindowRect(&before);
    SetWindowPos(nullptr, 0, 0, before.Width() + extraX, before.Height() + extraY,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect window;
    GetWindowRect(&window);
    minimum_ = window.Size();
    RecalcLayout();
    return TRUE;
}

CRect CXTPPropertySheet::GetPageRect() const {
    return pages_;
}

void CXTPPropertySheet::RecalcLayout() {
    if (m_hWnd == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    // Buttons along the bottom right, as the class library placed them, kept there.
    int buttonsTop = client.bottom - kMargin;
    int right = client.right - kMargin;
    for (int i = 2; i >= 0; --i) {
        CWnd* button = GetDlgItem(static_cast<int>(kButtonIds[i]));
        if (button == nullptr)
            continue;
        CRect r;
        button->GetWindowRect(&r);
        ScreenToClient(&r);
        const int w = r.Width(), h = r.Height();
        button->MoveWindow(right - w, client.bottom - kMargin - h, w, h);
        right -= w + 6;
        buttonsTop = std::min(buttonsTop, static_cast<int>(client.bottom) - kMargin - h);
    }
    CRect area(client.left + kMargin, client.top + kMargin, client.right - kMargin, buttonsTop - kMargin);
    pages_ = navigator_->Layout(area);
    pages_.DeflateRect(2, 2);
    if (CPropertyPage* page = GetActivePage(); page != nullptr && page->m_hWnd != nullptr)
        page->MoveWindow(&pages_);
}

BOOL CXTPPropertySheet::SetActivePage(int nPage) {
    const BOOL changed = CPropertySheet::SetActivePage(nPage);
    if (m_hWnd == nullptr)
        return changed;
    if (CPropertyPage* page = GetActivePage(); page != nullptr && page->m_hWnd != nullptr) {
        page->MoveWindow(&pages_);
        ::SetWindowPos(page->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    navigator_->OnPageSelected(GetActiveIndex());
    return changed;
}

LRESULT CXTPPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: {
        const LRESULT r = CPropertySheet::WindowProc(message, wParam, lParam);
        RecalcLayout();
        return r;
    }
    case WM_GETMINMAXINFO:
        if (minimum_.cx > 0) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = minimum_.cx;
            info->ptMinTrackSize.y = minimum_.cy;
            return 0;
        }
        break;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->idFrom == kTabsId && header->code == TCN_SELCHANGE) {
            auto* tabs = dynamic_cast<CXTPPropertyPageTabNavigator*>(navigator_.get());
            if (tabs != nullptr && !SetActivePage(tabs->GetTabControl()->GetCurSel()))
                tabs->OnPageSelected(GetActiveIndex());
            return 0;
        }
        break;
    }
    default:
        break;
    }
    return CPropertySheet::WindowProc(message, wParam, lParam);
}
