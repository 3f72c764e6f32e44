#include "afx/dialog.h"
#include "afx/app.h"
#include "afx/wndmsg.h"
#include "pal/unattended_dialog.h"

#include <algorithm>
#include <mutex>
#include <vector>

IMPLEMENT_DYNAMIC(CDialog, CWnd)
IMPLEMENT_DYNAMIC(CUserException, CSimpleException)

void AfxThrowUserException() {
    throw new CUserException;
}

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

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control) {
    if (control.m_hWnd != nullptr)
        return;
    const HWND hwnd = pDX->PrepareCtrl(nIDC);
    if (!control.SubclassWindow(hwnd))
        pDX->Fail();
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    const HWND first = pDX->PrepareCtrl(nIDC);
    ASSERT((::GetWindowLongW(first, GWL_STYLE) & WS_GROUP) && "a radio group starts with WS_GROUP");
    if (!pDX->m_bSaveAndValidate)
        value = std::max(value, -1);
    int index = 0;
    int found = -1;
    for (HWND c = first; c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (c != first && (::GetWindowLongW(c, GWL_STYLE) & WS_GROUP))
            break;
        if (!(::SendMessageW(c, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON))
            continue;
        if (pDX->m_bSaveAndValidate) {
            if (found < 0 && ::SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED)
                found = index;
        } else {
            ::SendMessageW(c, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
    if (pDX->m_bSaveAndValidate)
        value = found;
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
    const HWND combo = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CWnd::FromHandle(combo)->GetWindowText(value);
        return;
    }
    const LRESULT found = ::SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(value)));
    // A box with an edit shows the value even when no item starts with it.
    if (found == CB_ERR && (::GetWindowLongW(combo, GWL_STYLE) & 3) != CBS_DROPDOWNLIST)
        ::SetWindowTextW(combo, value);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    const HWND combo = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
    const HWND list = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(list, LB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
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

// The dialog procedure of the class library's dialogs: at WM_INITDIALOG the dialog's object
// takes the window over, so that every later message goes through its message map.
INT_PTR dialogProcOfClassLibrary(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* dialog = reinterpret_cast<CDialog*>(lParam);
    if (dialog == nullptr || (dialog->m_hWnd != nullptr && dialog->m_hWnd != hwnd))
        return FALSE;
    if (dialog->m_hWnd == nullptr && !dialog->SubclassWindow(hwnd))
        return FALSE;
    return dialog->WindowProc(WM_INITDIALOG, wParam, 0);
}

BOOL CDialog::createFromTemplate(HWND hWndOwner, bool visible, bool child) {
    const AFX_DLGTEMPLATE* t = pal::win::findDialogTemplate(static_cast<WORD>(m_nIDTemplate));
    if (t == nullptr)
        return FALSE;
    // A template may name any common control: the class library registers them before a dialog.
    const INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&common);
    AFX_DLGTEMPLATE hidden = *t;
    hidden.style &= ~WS_VISIBLE;
    if (child) {
        hidden.style =
            (hidden.style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME)) |
            WS_CHILD | DS_CONTROL;
        hidden.x = hidden.y = 0;
    }
    if (!pal::win::createDialog(hidden, hWndOwner, &dialogProcOfClassLibrary,
                                reinterpret_cast<LPARAM>(this)) ||
        m_hWnd == nullptr)
        return FALSE;
    if (visible || (t->style & WS_VISIBLE))
        ShowWindow(SW_SHOWNORMAL);
    return TRUE;
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
        // The owner was disabled before the dialog was made; EndDialog enables it again before
        // the dialog hides, so that activation and the focus go back to it.
        if (enableOwner)
            pal::win::beginModal(m_hWnd, owner);
        if (continueModal_)
            RunModalLoop();
        if (m_hWnd != nullptr) {
            pal::win::endModal(m_hWnd);
            SetWindowPos(nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        }
    }
    continueModal_ = false;
    if (enableOwner) // a dialog that went without EndDialog
        ::EnableWindow(owner, TRUE);
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
    pal::win::UnattendedDialog unattended(m_hWnd);
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
        // Idle work done and nothing queued: only a person would move the dialog now.
        if (!::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            const auto outcome = unattended.answer();
            if (outcome == pal::win::UnattendedDialog::Outcome::Ignored) {
                EndModalLoop(IDCANCEL);
                break;
            }
            if (outcome == pal::win::UnattendedDialog::Outcome::Answered) {
                idle = true;
                idleCount = 0;
                continue;
            }
        }
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
    if (m_hWnd != nullptr)
        ::EndDialog(m_hWnd, nResult);
}

// A modal dialog (its owner disabled, or none) that its own initialisation neither showed nor
// moved opens centred on its owner.
LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
    CRect before;
    ::GetWindowRect(m_hWnd, &before);
    const bool hidden = !(GetStyle() & WS_VISIBLE);
    const LRESULT result = OnInitDialog();
    if (m_hWnd == nullptr || !hidden || (GetStyle() & (WS_VISIBLE | WS_CHILD)))
        return result;
    CRect after;
    ::GetWindowRect(m_hWnd, &after);
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (after.TopLeft() == before.TopLeft() && (owner == nullptr || !::IsWindowEnabled(owner)))
        CenterWindow();
    return result;
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

// The dialog keyboard (Tab, arrows, mnemonics, Enter, Escape) for messages of the dialog.
BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)) && ::IsDialogMessageW(m_hWnd, pMsg))
        return TRUE;
    return CWnd::PreTranslateMessage(pMsg);
}
