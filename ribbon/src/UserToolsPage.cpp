#include "ribbon/UserToolsPage.h"

#include "ribbon/UserCommands.h"

#include "afx/controls.h"

#include <iterator>

namespace {

const AFX_DLGITEM kItems[] = {
    {L"ListBox", L"", CDVUserToolsPage::kCommandList,
     LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 7, 7, 266, 120},
    {L"Button", L"Close", IDCANCEL, BS_DEFPUSHBUTTON | WS_TABSTOP, 223, 134, 50, 14},
};
const AFX_DLGTEMPLATE kDialogs[] = {
    {CDVUserToolsPage::IDD, L"User Tools", DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 280, 155,
     kItems, std::size(kItems)},
};
AFX_DIALOG_TEMPLATES(kDialogs);

} // namespace

CDVUserToolsPage::CDVUserToolsPage(CDVUserCommands* commands, CWnd* parent, UINT helpId)
    : CDravikDialog(IDD, parent), m_commands(commands) {
    m_nIDHelp = helpId;
}

BOOL CDVUserToolsPage::OnInitDialog() {
    CDravikDialog::OnInitDialog();
    if (m_commands != nullptr) {
        CListBox list;
        list.Attach(::GetDlgItem(m_hWnd, static_cast<int>(kCommandList)));
        for (const auto& [id, command] : m_commands->GetCommands()) {
            const int row = list.AddString(command->GetDescription().c_str());
            list.SetItemData(row, reinterpret_cast<DWORD_PTR>(command.get()));
        }
        list.Detach();
    }
    return TRUE;
}
