#include "afx/dialog.h"
#include "afx/app.h"
#include "afx/wndmsg.h"

#include <algorithm>
#include <mutex>
#include <vector>

IMPLEMENT_DYNAMIC(CDialog, CWnd)
IMPLEMENT_DYNAMIC(CUserException, CSimpleException)

void AfxThrowUserException() {
    throw new CUserException;
}

// Templates ---------------------------------------------------------------------------------

namespace {

struct TemplateSet {
    const AFX_DLGTEMPLATE* templates;
    size_t count;
};
struct TemplateRegistry {
    std::mutex mutex;
    std::vector<TemplateSet> sets;
};
TemplateRegistry& templateRegistry() {
    static TemplateRegistry* r = new TemplateRegistry;
    return *r;
}

} // namespace

namespace pal::mfc {

DialogTemplates::DialogTemplates(const AFX_DLGTEMPLATE* templates, size_t count) : templates_(templates) {
    auto& r = templateRegistry();
    std::lock_guard lock(r.mutex);
    r.sets.push_back({templates, count});
}

DialogTemplates::~DialogTemplates() {
    auto& r = templateRegistry();
    std::lock_guard lock(r.mutex);
    std::erase_if(r.sets, [this](const TemplateSet& s) { return s.templates == templates_; });
}

const AFX_DLGTEMPLATE* findDialogTemplate(UINT id) {
    auto& r = templateRegistry();
    std::lock_guard lock(r.mutex);
    for (const TemplateSet& s : r.sets) {
        for (size_t i = 0; i < s.count; ++i) {
            if (s.templates[i].nID == id)
                return &s.templates[i];
        }
    }
    return nullptr;
}

} // namespace pal::mfc

// Data exchange ------------------------------------------------------------------------------

HWND CDataExchange::PrepareCtrl(int nIDC) {
    const HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    ASSERT(control != nullptr && "dialog data exchange names a control the dialog does not have");
    if (control == nullptr)
        Fail();
    lastControl_ = control;
    return control;
}

void CDataExchange::Fail() {
    if (!m_bSaveAndValidate)
        AfxThrowUserException();
    if (lastControl_ != nullptr)
        ::SetFocus(lastControl_);
    AfxThrowUserException();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    const HWND control = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        CWnd::FromHandle(control)->GetWindowText(value);
    else
        ::SetWindowTextW(control, value);
}

namespace {

// A whole number in the control, or a message and a failed exchange.
long long readNumber(CDataExchange* pDX, int nIDC, bool isSigned) {
    BOOL ok = FALSE;
    const UINT raw = pDX->m_pDlgWnd->GetDlgItemInt(nIDC, &ok, isSigned ? TRUE : FALSE);
    if (!ok) {
        AfxMessageBox(isSigned ? L"Please enter an integer." : L"Please enter a positive integer.",
                      MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
    return isSigned ? static_cast<long long>(static_cast<int>(raw)) : static_cast<long long>(raw);
}

} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(readNumber(pDX, nIDC, true));
    else
        pDX->m_pDlgWnd->SetDlgItemInt(nIDC, static_cast<UINT>(value), TRUE);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<UINT>(readNumber(pDX, nIDC, false));
    else
        pDX->m_pDlgWnd->SetDlgItemInt(nIDC, value, FALSE);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    const HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageW(control, BM_GETCHECK, 0, 0));
    } else {
        ASSERT(value >= 0 && value <= 2);
        ::SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(std::clamp(value, 0, 2)), 0);
    }
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
        return TRUE;
    } catch (CUserException* e) {
        e->Delete();
        return FALSE;
    }
}

// CDialog ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
ON_WM_CLOSE()
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate), m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

BOOL CDialog::createFromTemplate(HWND hWndOwner, bool visible) {
    const AFX_DLGTEMPLATE* t = pal::mfc::findDialogTemplate(m_nIDTemplate);
    if (t == nullptr)
        return FALSE;
    pal::mfc::registerLibraryClasses();
    DWORD style = t->dwStyle & ~WS_VISIBLE;
    if ((style & WS_CHILD) == 0)
        style |= WS_POPUP;
    if (!CreateEx(WS_EX_DLGMODALFRAME, pal::mfc::kDialogClass, t->lpszCaption, style, t->rect.left,
                  t->rect.top, t->rect.right - t->rect.left, t->rect.bottom - t->rect.top, hWndOwner, nullptr,
                  nullptr))
        return FALSE;
    for (size_t i = 0; i < t->nItems; ++i) {
        const AFX_DLGITEM& item = t->pItems[i];
        const HWND control = ::CreateWindowExW(
            0, item.lpszClass, item.lpszText, item.dwStyle | WS_CHILD | WS_VISIBLE, item.rect.left,
            item.rect.top, item.rect.right - item.rect.left, item.rect.bottom - item.rect.top, m_hWnd,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.nID)), nullptr, nullptr);
        if (control == nullptr) {
            DestroyWindow();
            return FALSE;
        }
    }
    const HWND first = ::GetWindow(m_hWnd, GW_CHILD);
    if (SendMessage(WM_INITDIALOG, reinterpret_cast<WPARAM>(first), 0) && first != nullptr)
        ::SetFocus(first);
    if (visible || (t->dwStyle & WS_VISIBLE))
        ShowWindow(SW_SHOWNORMAL);
    return m_hWnd != nullptr;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    m_nIDTemplate = nIDTemplate;
    if (m_nIDHelp == 0)
        m_nIDHelp = nIDTemplate;
    m_pParentWnd = pParentWnd;
    CWnd* owner = pParentWnd ? pParentWnd : AfxGetMainWnd();
    return createFromTemplate(owner ? owner->m_hWnd : nullptr, false);
}

INT_PTR CDialog::DoModal() {
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    const HWND owner = parent ? ::GetAncestor(parent->m_hWnd, GA_ROOT) : nullptr;
    const bool enableOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (enableOwner)
        ::EnableWindow(owner, FALSE);
    m_nModalResult = -1;
    continueModal_ = true;
    if (createFromTemplate(owner, false)) {
        if (continueModal_)
            RunModalLoop();
        if (m_hWnd != nullptr)
            SetWindowPos(nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    continueModal_ = false;
    if (enableOwner)
        ::EnableWindow(owner, TRUE);
    if (owner != nullptr && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(owner);
    DestroyWindow();
    return m_nModalResult;
}

// The dialog shows itself when its queue first runs dry, tells its owner that it is idle
// (WM_ENTERIDLE) and gives itself idle time (WM_KICKIDLE) until it declines.
int CDialog::RunModalLoop(DWORD) {
    bool idle = true;
    LONG idleCount = 0;
    bool showOnIdle = !IsWindowVisible();
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    inModalLoop_ = true;
    continueModal_ = true;
    MSG peek{};
    CWinThread* thread = AfxGetThread();
    while (continueModal_) {
        while (idle && !::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            if (showOnIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                showOnIdle = false;
            }
            if (owner != nullptr && idleCount == 0)
                ::SendMessageW(owner, WM_ENTERIDLE, 0 /* MSGF_DIALOGBOX */, reinterpret_cast<LPARAM>(m_hWnd));
            if (!continueModal_ || !SendMessage(WM_KICKIDLE, 0, idleCount++))
                idle = false;
        }
        if (!continueModal_)
            break;
        do {
            if (!AfxPumpMessage()) {
                // WM_QUIT ends the dialog and is left for the outer loop.
                AfxPostQuitMessage(thread ? static_cast<int>(thread->m_msgCur.wParam) : 0);
                m_nModalResult = -1;
                continueModal_ = false;
                break;
            }
            if (!continueModal_)
                break;
            MSG* current = thread ? &thread->m_msgCur : &peek;
            if (thread ? thread->IsIdleMessage(current) : TRUE) {
                idle = true;
                idleCount = 0;
            }
        } while (::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
    inModalLoop_ = false;
    return m_nModalResult;
}

void CDialog::EndModalLoop(int nResult) {
    m_nModalResult = nResult;
    if (continueModal_) {
        continueModal_ = false;
        PostMessage(WM_NULL, 0, 0); // wakes the loop
    }
}

void CDialog::EndDialog(int nResult) {
    if (inModalLoop_ || continueModal_)
        EndModalLoop(nResult);
    m_nModalResult = nResult;
    ShowWindow(SW_HIDE);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::OnClose() {
    SendMessage(WM_COMMAND, IDCANCEL, 0);
}

// Return presses the default button (OK) and Escape cancels, as the dialog keyboard does.
BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
        if (pMsg->wParam == VK_RETURN) {
            SendMessage(WM_COMMAND, IDOK, 0);
            return TRUE;
        }
        if (pMsg->wParam == VK_ESCAPE) {
            SendMessage(WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        }
    }
    return CWnd::PreTranslateMessage(pMsg);
}
