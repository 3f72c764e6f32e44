#include "xtp/ResizeDialog.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CXTPResizeDialog, CDialog)
IMPLEMENT_DYNAMIC(CXTPResizeFormView, CFormView)

// CXTPResize ----------------------------------------------------------------------------------

void CXTPResize::Init() {
    if (wnd_ == nullptr || wnd_->m_hWnd == nullptr)
        return;
    CRect client;
    wnd_->GetClientRect(&client);
    init(client.Size(), false);
}

void CXTPResize::Init(CSize sizeClient) {
    init(sizeClient, true);
}

void CXTPResize::init(CSize sizeClient, bool byTemplate) {
    if (wnd_ == nullptr || wnd_->m_hWnd == nullptr)
        return;
    CRect window;
    wnd_->GetWindowRect(&window);
    byTemplate_ = byTemplate;
    initialClient_ = sizeClient;
    initialWindow_ = window.Size();
    initialized_ = TRUE;
    // Controls anchored before now were measured against this size too.
    for (Item& item : items_) {
        CRect r;
        ::GetWindowRect(item.hwnd, &r);
        wnd_->ScreenToClient(&r);
        item.rc = r;
    }
}

BOOL CXTPResize::SetResize(UINT nID, XTP_RESIZEPOINT rpTopLeft, XTP_RESIZEPOINT rpBottomRight) {
    if (wnd_ == nullptr || wnd_->m_hWnd == nullptr)
        return FALSE;
    return SetResize(::GetDlgItem(wnd_->m_hWnd, static_cast<int>(nID)), rpTopLeft, rpBottomRight);
}

BOOL CXTPResize::SetResize(HWND hWnd, XTP_RESIZEPOINT rpTopLeft, XTP_RESIZEPOINT rpBottomRight) {
    if (wnd_ == nullptr || wnd_->m_hWnd == nullptr || hWnd == nullptr || !::IsChild(wnd_->m_hWnd, hWnd))
        return FALSE;
    if (!initialized_)
        Init();
    CRect r, client;
    ::GetWindowRect(hWnd, &r);
    wnd_->ScreenToClient(&r);
    wnd_->GetClientRect(&client);
    // A form's control anchored for the first time still stands where its template put it; any
    // other control's place now stands for the present size of the window.
    const bool atTemplate = byTemplate_ && std::none_of(items_.begin(), items_.end(),
                                                        [hWnd](const Item& i) { return i.hwnd == hWnd; });
    const double dx = atTemplate ? 0.0 : client.Width() - initialClient_.cx;
    const double dy = atTemplate ? 0.0 : client.Height() - initialClient_.cy;
    CRect at(static_cast<int>(std::lround(r.left - dx * rpTopLeft.x)),
             static_cast<int>(std::lround(r.top - dy * rpTopLeft.y)),
             static_cast<int>(std::lround(r.right - dx * rpBottomRight.x)),
             static_cast<int>(std::lround(r.bottom - dy * rpBottomRight.y)));
    items_.erase(
        std::remove_if(items_.begin(), items_.end(), [hWnd](const Item& i) { return i.hwnd == hWnd; }),
        items_.end());
    items_.push_back({hWnd, at, rpTopLeft, rpBottomRight});
    if (atTemplate)
        place(items_.back(), client);
    return TRUE;
}

BOOL CXTPResize::RemoveResize(UINT nID) {
    if (wnd_ == nullptr || wnd_->m_hWnd == nullptr)
        return FALSE;
    const HWND h = ::GetDlgItem(wnd_->m_hWnd, static_cast<int>(nID));
    const auto before = items_.size();
    items_.erase(std::remove_if(items_.begin(), items_.end(), [h](const Item& i) { return i.hwnd == h; }),
                 items_.end());
    return items_.size() != before;
}

void CXTPResize::Size() {
    if (!initialized_ || wnd_ == nullptr || wnd_->m_hWnd == nullptr)
        return;
    CRect client;
    wnd_->GetClientRect(&client);
    for (const Item& item : items_)
        place(item, client);
}

void CXTPResize::place(const Item& item, const CRect& client) const {
    if (!::IsWindow(item.hwnd))
        return;
    const double dx = client.Width() - initialClient_.cx, dy = client.Height() - initialClient_.cy;
    const int l = static_cast<int>(std::lround(item.rc.left + dx * item.tl.x));
    const int t = static_cast<int>(std::lround(item.rc.top + dy * item.tl.y));
    const int r = static_cast<int>(std::lround(item.rc.right + dx * item.br.x));
    const int b = static_cast<int>(std::lround(item.rc.bottom + dy * item.br.y));
    ::MoveWindow(item.hwnd, l, t, std::max(r - l, 0), std::max(b - t, 0), TRUE);
}

namespace {

// The minimum tracking size: the size the window opened with.
bool limitTracking(const CXTPResize& resize, UINT message, LPARAM lParam) {
    if (message != WM_GETMINMAXINFO || !resize.IsInitialized())
        return false;
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMinTrackSize.x = resize.GetInitialWindowSize().cx;
    info->ptMinTrackSize.y = resize.GetInitialWindowSize().cy;
    return true;
}

} // namespace

void XTPMakeResizable(CWnd* pWnd) {
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr || (pWnd->GetStyle() & WS_THICKFRAME))
        return;
    CRect client;
    pWnd->GetClientRect(&client);
    pWnd->ModifyStyle(0, WS_THICKFRAME, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    CRect window, now;
    pWnd->GetWindowRect(&window);
    pWnd->GetClientRect(&now);
    pWnd->SetWindowPos(nullptr, 0, 0, window.Width() + client.Width() - now.Width(),
                       window.Height() + client.Height() - now.Height(),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// CXTPResizeDialog ----------------------------------------------------------------------------

CXTPResizeDialog::CXTPResizeDialog(UINT nIDTemplate, CWnd* pParentWnd, UINT nFlags)
    : CDialog(nIDTemplate, pParentWnd), m_resize(this), m_nFlags(nFlags) {}

BOOL CXTPResizeDialog::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    XTPMakeResizable(this);
    m_resize.Init();
    return result;
}

LRESULT CXTPResizeDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (limitTracking(m_resize, message, lParam))
        return 0;
    const LRESULT result = CDialog::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE)
        m_resize.Size();
    return result;
}

// CXTPResizeFormView --------------------------------------------------------------------------

CXTPResizeFormView::CXTPResizeFormView(UINT nIDTemplate) : CFormView(nIDTemplate), m_resize(this) {}

// The controls stand where the template put them, whatever size the view has by now.
void CXTPResizeFormView::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    if (m_resize.IsInitialized())
        return;
    // The form laid its controls out for its template's size, which it keeps as its scroll size.
    if (pal::win::findDialogTemplate(static_cast<WORD>(m_nIDTemplate)) != nullptr)
        m_resize.Init(GetTotalSize());
    else
        m_resize.Init();
    m_resize.Size();
}

LRESULT CXTPResizeFormView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CFormView::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE)
        m_resize.Size();
    return result;
}
