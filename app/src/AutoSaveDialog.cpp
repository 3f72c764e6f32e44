#include "app/AutoSaveDialog.h"

#include "windows.h"

#include <iterator>
#include <utility>

namespace {

constexpr DWORD kStaticStyle = WS_CHILD | WS_VISIBLE | SS_LEFT;

const AFX_DLGITEM kItems[] = {
    {L"Static", L"Saving automatically:", 0, kStaticStyle, 8, 8, 184, 10},
    {L"Static", L"", CAutoSaveDialog::kTitleText, kStaticStyle | SS_ENDELLIPSIS, 16, 22, 176, 10},
};
const AFX_DLGTEMPLATE kTemplates[] = {
    {static_cast<WORD>(CAutoSaveDialog::IDD), L"Auto-save", WS_POPUP | WS_CAPTION | WS_BORDER, 0, 0, 200, 42,
     kItems, std::size(kItems)},
};
AFX_DIALOG_TEMPLATES(kTemplates);

} // namespace

CAutoSaveDialog::CAutoSaveDialog(std::wstring title, CWnd* owner)
    : CDravikDialog(IDD, owner), m_title(std::move(title)) {}

void CAutoSaveDialog::SetDocumentTitle(const std::wstring& title) {
    m_title = title;
    if (m_hWnd != nullptr)
        SetDlgItemText(kTitleText, m_title.c_str());
}

BOOL CAutoSaveDialog::OnInitDialog() {
    CDravikDialog::OnInitDialog();
    SetDlgItemText(kTitleText, m_title.c_str());
    CenterWindow();
    return TRUE;
}
