#include "xtp/WindowList.h"

#include <algorithm>
#include <iterator>

IMPLEMENT_DYNAMIC(CXTPWindowList, CDialog)

namespace {

const AFX_DLGITEM kItems[] = {
    {L"ListBox", L"", XTP_IDC_WINDOWLIST_LIST,
     LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 7, 7, 160,
     150},
    {L"Button", L"&Activate", XTP_IDC_WINDOWLIST_ACTIVATE, BS_DEFPUSHBUTTON | WS_TABSTOP, 175, 7, 75, 14},
    {L"Button", L"OK", IDOK, BS_PUSHBUTTON | WS_TABSTOP, 175, 24, 75, 14},
    {L"Button", L"&Save", XTP_IDC_WINDOWLIST_SAVE, BS_PUSHBUTTON | WS_TABSTOP, 175, 41, 75, 14},
    {L"Button", L"&Close Window(s)", XTP_IDC_WINDOWLIST_CLOSE, BS_PUSHBUTTON | WS_TABSTOP, 175, 58, 75, 14},
    {L"Button", L"Casca&de", XTP_IDC_WINDOWLIST_CASCADE, BS_PUSHBUTTON | WS_TABSTOP, 175, 75, 75, 14},
    {L"Button", L"Tile &Horizontally", XTP_IDC_WINDOWLIST_TILEHORZ, BS_PUSHBUTTON | WS_TABSTOP, 175, 92, 75,
     14},
    {L"Button", L"Tile &Vertically", XTP_IDC_WINDOWLIST_TILEVERT, BS_PUSHBUTTON | WS_TABSTOP, 175, 109, 75,
     14},
    {L"Button", L"Minimi&ze", XTP_IDC_WINDOWLIST_MINIMIZE, BS_PUSHBUTTON | WS_TABSTOP, 175, 126, 75, 14},
};
const AFX_DLGTEMPLATE kTemplates[] = {
    {static_cast<WORD>(XTP_IDD_WINDOWLIST), L"Windows", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0,
     0, 257, 164, kItems, std::size(kItems)},
};
AFX_DIALOG_TEMPLATES(kTemplates);

} // namespace

CXTPWindowList::CXTPWindowList(CMDIFrameWnd* pMDIFrame)
    : CDialog(XTP_IDD_WINDOWLIST, pMDIFrame), m_pMDIFrame(pMDIFrame) {}

BOOL CXTPWindowList::OnInitDialog() {
    CDialog::OnInitDialog();
    m_lbWindows.SubclassDlgItem(XTP_IDC_WINDOWLIST_LIST, this);
    m_btnActivate.SubclassDlgItem(XTP_IDC_WINDOWLIST_ACTIVATE, this);
    m_btnSave.SubclassDlgItem(XTP_IDC_WINDOWLIST_SAVE, this);
    m_btnClose.SubclassDlgItem(XTP_IDC_WINDOWLIST_CLOSE, this);
    m_btnCascade.SubclassDlgItem(XTP_IDC_WINDOWLIST_CASCADE, this);
    m_btnTileHorz.SubclassDlgItem(XTP_IDC_WINDOWLIST_TILEHORZ, this);
    m_btnTileVert.SubclassDlgItem(XTP_IDC_WINDOWLIST_TILEVERT, this);
    m_btnMinimize.SubclassDlgItem(XTP_IDC_WINDOWLIST_MINIMIZE, this);
    FillWindowList();
    return TRUE;
}

void CXTPWindowList::FillWindowList() {
    m_arrWindows.clear();
    if (m_lbWindows.m_hWnd == nullptr)
        return;
    m_lbWindows.ResetContent();
    HWND client = m_pMDIFrame != nullptr ? m_pMDIFrame->m_hWndMDIClient : nullptr;
    HWND active =
        client != nullptr ? reinterpret_cast<HWND>(::SendMessageW(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
    if (active != nullptr)
        m_arrWindows.push_back(active);
    for (HWND child = client != nullptr ? ::GetWindow(client, GW_CHILD) : nullptr; child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (child != active)
            m_arrWindows.push_back(child);
    }
    for (HWND w : m_arrWindows) {
        wchar_t title[256] = {};
        ::GetWindowTextW(w, title, static_cast<int>(std::size(title)));
        m_lbWindows.AddString(title);
    }
    if (!m_arrWindows.empty())
        m_lbWindows.SetSel(0, TRUE);
    UpdateButtons();
}

std::vector<HWND> CXTPWindowList::GetSelectedWindows() const {
    std::vector<HWND> out;
    for (size_t i = 0; i < m_arrWindows.size(); ++i) {
        if (m_lbWindows.m_hWnd != nullptr && m_lbWindows.GetSel(static_cast<int>(i)) > 0)
            out.push_back(m_arrWindows[i]);
    }
    return out;
}

void CXTPWindowList::UpdateButtons() {
    const size_t chosen = GetSelectedWindows().size();
    if (m_btnActivate.m_hWnd != nullptr)
        m_btnActivate.EnableWindow(chosen == 1);
    for (CButton* b : {&m_btnSave, &m_btnClose, &m_btnMinimize}) {
        if (b->m_hWnd != nullptr)
            b->EnableWindow(chosen > 0);
    }
    for (CButton* b : {&m_btnTileHorz, &m_btnTileVert, &m_btnCascade}) {
        if (b->m_hWnd != nullptr)
            b->EnableWindow(chosen > 1 || (b == &m_btnCascade && chosen > 0));
    }
}

BOOL CXTPWindowList::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const std::vector<HWND> chosen = GetSelectedWindows();
    HWND client = m_pMDIFrame != nullptr ? m_pMDIFrame->m_hWndMDIClient : nullptr;
    switch (id) {
    case XTP_IDC_WINDOWLIST_LIST:
        if (HIWORD(wParam) == LBN_SELCHANGE)
            UpdateButtons();
        else if (HIWORD(wParam) == LBN_DBLCLK && chosen.size() == 1)
            OnCommand(MAKEWPARAM(XTP_IDC_WINDOWLIST_ACTIVATE, BN_CLICKED), 0);
        return TRUE;
    case XTP_IDC_WINDOWLIST_ACTIVATE:
        if (chosen.size() == 1 && client != nullptr) {
            ::SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(chosen[0]), 0);
            EndDialog(IDOK);
        }
        return TRUE;
    case XTP_IDC_WINDOWLIST_SAVE:
        // Each window saves its own document through its command routing.
        for (HWND w : chosen)
            ::SendMessageW(w, WM_COMMAND, ID_FILE_SAVE, 0);
        return TRUE;
    case XTP_IDC_WINDOWLIST_CLOSE:
        for (HWND w : chosen)
            ::SendMessageW(w, WM_CLOSE, 0, 0);
        FillWindowList();
        return TRUE;
    case XTP_IDC_WINDOWLIST_MINIMIZE:
        for (HWND w : chosen)
            ::ShowWindow(w, SW_MINIMIZE);
        return TRUE;
    case XTP_IDC_WINDOWLIST_CASCADE:
    case XTP_IDC_WINDOWLIST_TILEHORZ:
    case XTP_IDC_WINDOWLIST_TILEVERT:
        if (m_pMDIFrame != nullptr) {
            if (id == XTP_IDC_WINDOWLIST_CASCADE)
                m_pMDIFrame->MDICascade();
            else
                m_pMDIFrame->MDITile(id == XTP_IDC_WINDOWLIST_TILEHORZ ? MDITILE_HORIZONTAL
                                                                       : MDITILE_VERTICAL);
        }
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}
