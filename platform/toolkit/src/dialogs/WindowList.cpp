#include "xtp/WindowList.h"

#include "afxres.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CXTPWindowList, CXTPResizeDialog)

namespace {

const AFX_DLGITEM kItems[] = {
    {L"Static", L"&Select window:", 0xFFFF, SS_LEFT, 7, 7, 150, 8},
    {L"ListBox", L"", XTP_IDC_WINDOWLIST_LIST,
     WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL, 7, 17, 170, 130},
    {L"Button", L"&Activate", XTP_IDC_WINDOWLIST_ACTIVATE, WS_TABSTOP | BS_DEFPUSHBUTTON, 185, 17, 70, 14},
    {L"Button", L"OK", IDOK, WS_TABSTOP | BS_PUSHBUTTON, 185, 35, 70, 14},
    {L"Button", L"&Save", XTP_IDC_WINDOWLIST_SAVE, WS_TABSTOP | BS_PUSHBUTTON, 185, 53, 70, 14},
    {L"Button", L"&Close Window(s)", XTP_IDC_WINDOWLIST_CLOSE, WS_TABSTOP | BS_PUSHBUTTON, 185, 71, 70, 14},
    {L"Button", L"Casca&de", XTP_IDC_WINDOWLIST_CASCADE, WS_TABSTOP | BS_PUSHBUTTON, 185, 89, 70, 14},
    {L"Button", L"Tile &Horizontally", XTP_IDC_WINDOWLIST_TILEHORZ, WS_TABSTOP | BS_PUSHBUTTON, 185, 107, 70,
     14},
    {L"Button", L"&Tile Vertically", XTP_IDC_WINDOWLIST_TILEVERT, WS_TABSTOP | BS_PUSHBUTTON, 185, 125, 70,
     14},
    {L"Button", L"Minimi&ze", XTP_IDC_WINDOWLIST_MINIMIZE, WS_TABSTOP | BS_PUSHBUTTON, 185, 143, 70, 14},
};
const AFX_DLGTEMPLATE kTemplates[] = {
    {XTP_IDD_WINDOWLIST, L"Windows", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, 0,
     262, 164, kItems, std::size(kItems), L"MS Shell Dlg", 8},
};
AFX_DIALOG_TEMPLATES(kTemplates);

constexpr UINT kButtons[] = {XTP_IDC_WINDOWLIST_ACTIVATE, IDOK,
                             XTP_IDC_WINDOWLIST_SAVE,     XTP_IDC_WINDOWLIST_CLOSE,
                             XTP_IDC_WINDOWLIST_CASCADE,  XTP_IDC_WINDOWLIST_TILEHORZ,
                             XTP_IDC_WINDOWLIST_TILEVERT, XTP_IDC_WINDOWLIST_MINIMIZE};

} // namespace

CXTPWindowList::CXTPWindowList(CMDIFrameWnd* pMDIFrameWnd)
    : CXTPResizeDialog(XTP_IDD_WINDOWLIST, pMDIFrameWnd), m_pMDIFrameWnd(pMDIFrameWnd) {}

BOOL CXTPWindowList::OnInitDialog() {
    CXTPResizeDialog::OnInitDialog();
    SetResize(XTP_IDC_WINDOWLIST_LIST, XTP_ANCHOR_TOPLEFT, XTP_ANCHOR_BOTTOMRIGHT);
    for (UINT id : kButtons)
        SetResize(id, XTP_ANCHOR_TOPRIGHT, XTP_ANCHOR_TOPRIGHT);
    Refresh();
    return TRUE;
}

void CXTPWindowList::Refresh() {
    auto* list = static_cast<CListBox*>(GetDlgItem(XTP_IDC_WINDOWLIST_LIST));
    list->ResetContent();
    windows_.clear();
    if (m_pMDIFrameWnd == nullptr || m_pMDIFrameWnd->m_hWndMDIClient == nullptr)
        return;
    CMDIChildWnd* active = m_pMDIFrameWnd->MDIGetActive();
    for (HWND h = ::GetWindow(m_pMDIFrameWnd->m_hWndMDIClient, GW_CHILD); h != nullptr;
         h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (::GetWindow(h, GW_OWNER) != nullptr)
            continue; // an icon's title, not a window
        wchar_t title[256] = {};
        ::GetWindowTextW(h, title, 256);
        const int at = list->AddString(title);
        list->SetItemData(at, reinterpret_cast<DWORD_PTR>(h));
        if (active != nullptr && active->m_hWnd == h)
            list->SetSel(at, TRUE);
    }
    // The list may sort: the windows follow its order.
    for (int i = 0; i < list->GetCount(); ++i)
        windows_.push_back(reinterpret_cast<HWND>(list->GetItemData(i)));
    UpdateButtons();
}

std::vector<HWND> CXTPWindowList::GetSelectedWindows() const {
    std::vector<HWND> chosen;
    auto* list = static_cast<CListBox*>(GetDlgItem(XTP_IDC_WINDOWLIST_LIST));
    for (int i = 0; i < list->GetCount(); ++i) {
        if (list->GetSel(i) > 0)
            chosen.push_back(reinterpret_cast<HWND>(list->GetItemData(i)));
    }
    return chosen;
}

void CXTPWindowList::UpdateButtons() {
    const size_t chosen = GetSelectedWindows().size();
    GetDlgItem(XTP_IDC_WINDOWLIST_ACTIVATE)->EnableWindow(chosen == 1);
    for (UINT id : {XTP_IDC_WINDOWLIST_SAVE, XTP_IDC_WINDOWLIST_CLOSE, XTP_IDC_WINDOWLIST_MINIMIZE})
        GetDlgItem(static_cast<int>(id))->EnableWindow(chosen > 0);
    for (UINT id : {XTP_IDC_WINDOWLIST_CASCADE, XTP_IDC_WINDOWLIST_TILEHORZ, XTP_IDC_WINDOWLIST_TILEVERT})
        GetDlgItem(static_cast<int>(id))->EnableWindow(!windows_.empty());
}

void CXTPWindowList::onButton(UINT nID) {
    const std::vector<HWND> chosen = GetSelectedWindows();
    switch (nID) {
    case XTP_IDC_WINDOWLIST_ACTIVATE:
        if (chosen.size() == 1) {
            ::SendMessageW(m_pMDIFrameWnd->m_hWndMDIClient, WM_MDIACTIVATE,
                           reinterpret_cast<WPARAM>(chosen[0]), 0);
            EndDialog(IDOK);
        }
        return;
    case XTP_IDC_WINDOWLIST_SAVE:
        for (HWND h : chosen)
            ::SendMessageW(h, WM_COMMAND, ID_FILE_SAVE, 0);
        break;
    case XTP_IDC_WINDOWLIST_CLOSE:
        for (HWND h : chosen)
            ::SendMessageW(h, WM_CLOSE, 0, 0);
        break;
    case XTP_IDC_WINDOWLIST_MINIMIZE:
        for (HWND h : chosen)
            ::ShowWindow(h, SW_MINIMIZE);
        break;
    case XTP_IDC_WINDOWLIST_CASCADE:
        m_pMDIFrameWnd->MDICascade();
        break;
    case XTP_IDC_WINDOWLIST_TILEHORZ:
        m_pMDIFrameWnd->MDITile(MDITILE_HORIZONTAL);
        break;
    case XTP_IDC_WINDOWLIST_TILEVERT:
        m_pMDIFrameWnd->MDITile(MDITILE_VERTICAL);
        break;
    default:
        return;
    }
    Refresh();
}

LRESULT CXTPWindowList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && m_pMDIFrameWnd != nullptr) {
        const UINT id = LOWORD(wParam), code = HIWORD(wParam);
        if (id == XTP_IDC_WINDOWLIST_LIST) {
            if (code == LBN_SELCHANGE)
                UpdateButtons();
            else if (code == LBN_DBLCLK)
                onButton(XTP_IDC_WINDOWLIST_ACTIVATE);
            return 0;
        }
        if (code == BN_CLICKED && id != IDOK && id != IDCANCEL) {
            onButton(id);
            return 0;
        }
    }
    return CXTPResizeDialog::WindowProc(message, wParam, lParam);
}
