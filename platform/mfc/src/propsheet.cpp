#include "afx/propsheet.h"
#include "afx/app.h"
#include "afx/thread.h"
#include "pal/unattended_dialog.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

// CPropertyPage -----------------------------------------------------------------------------

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CDialog(nIDTemplate) {
    if (nIDCaption != 0)
        m_strCaption.LoadString(nIDCaption);
}

BOOL CPropertyPage::OnSetActive() {
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply() {
    OnOK();
    return TRUE;
}

// A page is not a dialog of its own: OK and Cancel are the sheet's.
void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}

void CPropertyPage::OnReset() {
    OnCancel();
}

BOOL CPropertyPage::OnQueryCancel() {
    return TRUE;
}

void CPropertyPage::SetModified(BOOL bChanged) {
    m_bModified = bChanged != FALSE;
    if (m_pSheet != nullptr && m_pSheet->m_hWnd != nullptr)
        m_pSheet->SendMessage(bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd));
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const auto* n = reinterpret_cast<const PSHNOTIFY*>(lParam);
    if (n == nullptr || m_pSheet == nullptr || n->hdr.hwndFrom != m_pSheet->m_hWnd)
        return CDialog::OnNotify(wParam, lParam, pResult);
    switch (n->hdr.code) {
    case PSN_SETACTIVE:
        *pResult = OnSetActive() ? 0 : -1;
        return TRUE;
    case PSN_KILLACTIVE:
        *pResult = OnKillActive() ? FALSE : TRUE; // TRUE keeps the page
        return TRUE;
    case PSN_APPLY:
        *pResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        return TRUE;
    case PSN_RESET:
        OnReset();
        *pResult = 0;
        return TRUE;
    case PSN_QUERYCANCEL:
        *pResult = OnQueryCancel() ? FALSE : TRUE; // TRUE keeps the sheet open
        return TRUE;
    default:
        return CDialog::OnNotify(wParam, lParam, pResult);
    }
}

// CPropertySheet ----------------------------------------------------------------------------

namespace {

constexpr short kMargin = 7, kButtonWidth = 50, kButtonHeight = 14, kGap = 4;

const pal::win::DialogItem kButtons[] = {
    {L"Button", L"OK", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, kButtonWidth, kButtonHeight},
    {L"Button", L"Cancel", IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 0, 0, kButtonWidth, kButtonHeight},
    {L"Button", L"&Apply", ID_APPLY_NOW, WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON, 0, 0, kButtonWidth,
     kButtonHeight},
};

} // namespace

INT_PTR sheetProcOfClassLibrary(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* sheet = reinterpret_cast<CPropertySheet*>(lParam);
    if (sheet != nullptr && sheet->m_hWnd == nullptr)
        sheet->SubclassWindow(hwnd);
    return FALSE; // the focus goes to the first page
}

CPropertySheet::CPropertySheet(LPCWSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_strCaption(pszCaption ? pszCaption : L""), m_pParentWnd(pParentWnd), startPage_(iSelectPage) {}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
    if (pPage == nullptr)
        return;
    pPage->m_pSheet = this;
    pages_.push_back(pPage);
}

void CPropertySheet::insertPage(CPropertyPage* pPage, int nIndex) {
    if (pPage == nullptr)
        return;
    pPage->m_pSheet = this;
    const int at = nIndex < 0 || nIndex > GetPageCount() ? GetPageCount() : nIndex;
    pages_.insert(pages_.begin() + at, pPage);
    // The active page keeps being the active one.
    if (active_ >= at)
        ++active_;
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
    return nPage >= 0 && nPage < GetPageCount() ? pages_[static_cast<size_t>(nPage)] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const {
    const auto it = std::find(pages_.begin(), pages_.end(), pPage);
    return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

LRESULT CPropertySheet::tell(CPropertyPage* page, UINT code, LPARAM lParam) {
    if (page == nullptr || page->m_hWnd == nullptr)
        return 0;
    PSHNOTIFY n{{m_hWnd, 0, code}, lParam};
    return page->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
}

BOOL CPropertySheet::makePage(int index) {
    CPropertyPage* page = GetPage(index);
    if (page == nullptr)
        return FALSE;
    if (page->m_hWnd != nullptr)
        return TRUE;
    if (!page->createFromTemplate(m_hWnd, false, true))
        return FALSE;
    RECT units{kMargin, kMargin, 0, 0};
    ::MapDialogRect(m_hWnd, &units);
    page->SetWindowPos(nullptr, units.left, units.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

BOOL CPropertySheet::SetActivePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount())
        return FALSE;
    if (nPage == active_)
        return TRUE;
    if (m_hWnd == nullptr) {
        startPage_ = static_cast<UINT>(nPage);
        return TRUE;
    }
    CPropertyPage* leaving = GetActivePage();
    if (leaving != nullptr && tell(leaving, PSN_KILLACTIVE) != FALSE)
        return FALSE;
    if (!makePage(nPage))
        return FALSE;
    CPropertyPage* coming = GetPage(nPage);
    if (tell(coming, PSN_SETACTIVE) == -1)
        return FALSE;
    if (leaving != nullptr)
        leaving->ShowWindow(SW_HIDE);
    active_ = nPage;
    coming->ShowWindow(SW_SHOW);
    if (const HWND first = ::GetNextDlgTabItem(coming->m_hWnd, nullptr, FALSE))
        ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
    return TRUE;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle) {
    if (pParentWnd != nullptr)
        m_pParentWnd = pParentWnd;
    // The sheet is as large as its largest page, with the buttons below it.
    short width = 0, height = 0;
    for (CPropertyPage* page : pages_) {
        if (const auto* t = pal::win::findDialogTemplate(static_cast<WORD>(page->m_nIDTemplate))) {
            width = std::max(width, t->cx);
            height = std::max(height, t->cy);
        }
    }
    const short cx = static_cast<short>(width + 2 * kMargin);
    const short cy = static_cast<short>(height + 3 * kMargin + kButtonHeight);
    pal::win::DialogItem buttons[3];
    for (int i = 0; i < 3; ++i) {
        buttons[i] = kButtons[i];
        buttons[i].x = static_cast<short>(cx - kMargin - (3 - i) * kButtonWidth - (2 - i) * kGap);
        buttons[i].y = static_cast<short>(cy - kMargin - kButtonHeight);
    }
    const DWORD style =
        dwStyle == static_cast<DWORD>(-1) ? WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME : dwStyle;
    const pal::win::DialogTemplate t{0, m_strCaption, style & ~WS_VISIBLE, 0, 0, cx, cy, buttons, 3, nullptr,
                                     8, dwExStyle};
    CWnd* owner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    ended_ = false;
    active_ = -1;
    if (!pal::win::createDialog(t, owner ? ::GetAncestor(owner->m_hWnd, GA_ROOT) : nullptr,
                                &sheetProcOfClassLibrary, reinterpret_cast<LPARAM>(this)) ||
        m_hWnd == nullptr)
        return FALSE;
    OnInitDialog();
    if (!SetActivePage(
            static_cast<int>(std::min<UINT>(startPage_, static_cast<UINT>(std::max(0, GetPageCount() - 1))))))
        SetActivePage(0);
    if (style & WS_VISIBLE)
        ShowWindow(SW_SHOWNORMAL);
    return TRUE;
}

INT_PTR CPropertySheet::DoModal() {
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    const HWND owner = parent ? ::GetAncestor(parent->m_hWnd, GA_ROOT) : nullptr;
    m_nResult = -1;
    if (!Create(parent))
        return -1;
    const bool enableOwner = owner != nullptr && ::IsWindowEnabled(owner);
    pal::win::beginModal(m_hWnd);
    ShowWindow(SW_SHOWNORMAL);
    MSG msg{};
    pal::win::UnattendedDialog unattended(m_hWnd);
    while (!ended_ && m_hWnd != nullptr) {
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && owner != nullptr)
            ::SendMessageW(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(m_hWnd));
        if (ended_)
            break;
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            const auto outcome = unattended.answer();
            if (outcome == pal::win::UnattendedDialog::Outcome::Ignored) {
                m_nResult = IDCANCEL;
                break;
            }
            if (outcome == pal::win::UnattendedDialog::Outcome::Answered)
                continue;
        }
        if (!::GetMessageW(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (m_hWnd != nullptr)
        pal::win::endModal(m_hWnd);
    else if (enableOwner) // the sheet went without EndDialog
        ::EnableWindow(owner, TRUE);
    DestroyWindow();
    return m_nResult;
}

bool CPropertySheet::apply(bool closing) {
    if (tell(GetActivePage(), PSN_KILLACTIVE) != FALSE)
        return false;
    for (int i = 0; i < GetPageCount(); ++i) {
        CPropertyPage* page = GetPage(i);
        if (page->m_hWnd == nullptr)
            continue;
        const LRESULT answer = tell(page, PSN_APPLY, closing ? TRUE : FALSE);
        if (answer == PSNRET_INVALID_NOCHANGEPAGE) {
            SetActivePage(i);
            return false;
        }
        if (answer == PSNRET_INVALID)
            return false;
        page->m_bModified = false;
    }
    updateApply();
    return true;
}

void CPropertySheet::cancel() {
    if (tell(GetActivePage(), PSN_QUERYCANCEL) != FALSE)
        return;
    for (CPropertyPage* page : pages_)
        tell(page, PSN_RESET);
    EndDialog(IDCANCEL);
}

void CPropertySheet::updateApply() {
    const bool changed =
        std::any_of(pages_.begin(), pages_.end(), [](CPropertyPage* p) { return p->m_bModified; });
    if (const HWND button = ::GetDlgItem(m_hWnd, ID_APPLY_NOW))
        ::EnableWindow(button, changed ? TRUE : FALSE);
}

void CPropertySheet::PressButton(int nButton) {
    switch (nButton) {
    case PSBTN_OK:
        if (apply(true))
            EndDialog(IDOK);
        break;
    case PSBTN_CANCEL:
        cancel();
        break;
    case PSBTN_APPLYNOW:
        if (::IsWindowEnabled(::GetDlgItem(m_hWnd, ID_APPLY_NOW)))
            apply(false);
        break;
    default:
        break;
    }
}

void CPropertySheet::EndDialog(int nEndID) {
    m_nResult = nEndID;
    ended_ = true;
    ::EndDialog(m_hWnd, nEndID); // hides the sheet once its owner is enabled again
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam == 0 || HIWORD(wParam) == BN_CLICKED) {
            switch (LOWORD(wParam)) {
            case IDOK:
                PressButton(PSBTN_OK);
                return 0;
            case IDCANCEL:
                PressButton(PSBTN_CANCEL);
                return 0;
            case ID_APPLY_NOW:
                PressButton(PSBTN_APPLYNOW);
                return 0;
            default:
                break;
            }
        }
        break;
    case PSM_CHANGED:
    case PSM_UNCHANGED:
        for (CPropertyPage* page : pages_) {
            if (page->m_hWnd == reinterpret_cast<HWND>(wParam))
                page->m_bModified = message == PSM_CHANGED;
        }
        updateApply();
        return 0;
    case PSM_SETCURSEL:
        return SetActivePage(static_cast<int>(wParam));
    case PSM_PRESSBUTTON:
        PressButton(static_cast<int>(wParam));
        return 0;
    case PSM_APPLY:
        return apply(false) ? TRUE : FALSE;
    case PSM_GETCURRENTPAGEHWND:
        return GetActivePage() ? reinterpret_cast<LRESULT>(GetActivePage()->m_hWnd) : 0;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// Ctrl+Tab and Ctrl+Page Down go to the next page, with Shift or Page Up to the one before;
// the rest of the keyboard is the dialog keyboard of the sheet and its page.
BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
    if (m_hWnd == nullptr || (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)))
        return CWnd::PreTranslateMessage(pMsg);
    if (pMsg->message == WM_KEYDOWN && ::GetKeyState(VK_CONTROL) < 0 &&
        (pMsg->wParam == VK_TAB || pMsg->wParam == VK_NEXT || pMsg->wParam == VK_PRIOR) &&
        GetPageCount() > 0) {
        const bool back = pMsg->wParam == VK_PRIOR || (pMsg->wParam == VK_TAB && ::GetKeyState(VK_SHIFT) < 0);
        SetActivePage((active_ + (back ? GetPageCount() - 1 : 1)) % GetPageCount());
        return TRUE;
    }
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
        return ::IsDialogMessageW(m_hWnd, pMsg);
    return FALSE;
}
