#include "app/AboutDlg.h"

#include "app/Dvw32App.h"
#include "app/SupportRequest.h"

#include "DVPDMProxy/WorkMix.h"
#include "DravikKernel/KernelRuntime.h"
#include "DravikKernel/KernelServices.h"
#include "windows.h"

#include <ctime>
#include <iterator>

namespace {

constexpr size_t kRegisteredTextLimit = 255;
constexpr UINT kBuiltOnString = 10054;
constexpr DWORD kStaticStyle = WS_CHILD | WS_VISIBLE | SS_LEFT;

const AFX_DLGITEM kItems[] = {
    {L"Static", L"<program> <version>", 1324, kStaticStyle, 10, 10, 240, 10},
    {L"Static", L"For <system>", 3324, kStaticStyle, 10, 22, 240, 10},
    {L"Static", L"Registered to:", 0, kStaticStyle, 10, 38, 240, 10},
    {L"Static", L"", CAboutDlg::kOwnerText, kStaticStyle, 20, 50, 230, 20},
    {L"Edit", L"", CAboutDlg::kVersionText,
     WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY, 10, 74, 240,
     40},
    {L"Static", L"Visit the <program> web site", CAboutDlg::kLinkText, kStaticStyle, 10, 120, 240, 10},
    {L"Static", L"Copyright (C) <year> Dravik. All rights reserved.", 3325, kStaticStyle, 10, 136, 240, 10},
    {L"Static", L"<program> is protected by copyright law and international treaties.", 3326, kStaticStyle,
     10, 148, 240, 18},
    {L"Button", L"OK", IDOK, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 200, 172, 50, 14},
    {L"Button", L"Support...", CAboutDlg::kSupportButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
     144, 172, 50, 14},
    {L"Button", L"Statistics", CAboutDlg::kStatisticsButton,
     WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 10, 172, 50, 14},
};
const AFX_DLGTEMPLATE kTemplates[] = {
    {static_cast<WORD>(CAboutDlg::IDD), L"About <program>",
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 260, 194, kItems, std::size(kItems)},
};
AFX_DIALOG_TEMPLATES(kTemplates);

void ReplaceAll(std::wstring& text, const std::wstring& placeholder, const std::wstring& value) {
    for (size_t at = text.find(placeholder); at != std::wstring::npos;
         at = text.find(placeholder, at + value.size()))
        text.replace(at, placeholder.size(), value);
}

std::wstring RegisteredValue(const Dravik::RegistryKey& key, const wchar_t* name) {
    std::wstring value;
    key.GetStringValue(name, value);
    return value;
}

std::wstring WindowText(CWnd* window) {
    CString text;
    window->GetWindowText(text);
    return text.GetString();
}

} // namespace

CAboutDlg::CAboutDlg(CWnd* parent) : CDravikDialog(IDD, parent) {}

std::wstring CAboutDlg::OwnerText(std::wstring owner, std::wstring organisation) {
    owner.resize(std::min(owner.size(), kRegisteredTextLimit));
    organisation.resize(std::min(organisation.size(), kRegisteredTextLimit));
    return organisation.empty() ? owner : owner + L"\r\n" + organisation;
}

std::wstring CAboutDlg::ReplacePlaceholders(std::wstring text, const std::wstring& program) {
    ReplaceAll(text, L"<program>", program);
    ReplaceAll(text, L"<version>", L"18");
    ReplaceAll(text, L"<system>", L"Windows 7, 8, 10, 11");
    ReplaceAll(text, L"<year>", L"2025");
    return text;
}

std::wstring CAboutDlg::VersionText() {
    const std::time_t built = DVGetBuildTime();
    wchar_t date[64] = L"";
    if (const std::tm* local = std::localtime(&built))
        std::wcsftime(date, std::size(date), L"%x", local);
    std::wstring text = L"18.0.21.0 x64 " + DVLoadString(kBuiltOnString) + L" " + date + L"\r\n";
    for (wchar_t c : DVPDMWorkMix::Instance().OrsaInfo()) {
        if (c == L'\n')
            text += L'\r';
        text += c;
    }
    return text;
}

BOOL CAboutDlg::OnInitDialog() {
    CDravikDialog::OnInitDialog();
    const CDvw32App* app = GetDvw32App();
    const CDvw32App::StartupSettings settings =
        app != nullptr ? app->GetStartupSettings() : CDvw32App::StartupSettings();
    const Dravik::RegistryKey key = Dravik::RegistryKey::Open(
        HKEY_LOCAL_MACHINE, (L"SOFTWARE\\" + settings.Company + L"\\" + settings.RegistryName).c_str(),
        KEY_READ);
    SetDlgItemText(kOwnerText, OwnerText(RegisteredValue(key, L"SetupRegisteredOwner"),
                                         RegisteredValue(key, L"SetupRegisteredOrganization"))
                                   .c_str());
    // The edit is reached through its window: the dialog holds no edit object for it.
    if (CWnd* version = GetDlgItem(kVersionText)) {
        version->SetWindowText(VersionText().c_str());
        version->SendMessage(EM_SETSEL, 0, 0);
    }

    // The web address becomes a link at the same place and in the same font.
    if (CWnd* text = GetDlgItem(kLinkText)) {
        CRect place;
        text->GetWindowRect(&place);
        ScreenToClient(&place);
        const std::wstring markup =
            L"<a href=\"" + DVGetWebsiteAddress() + L"\">" + WindowText(text) + L"</a>";
        HWND link = CreateWindowExW(0, WC_LINK, markup.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                    place.left, place.top, place.Width(), place.Height(), m_hWnd,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kLink)), nullptr, nullptr);
        if (link != nullptr) {
            ::SendMessageW(link, WM_SETFONT, text->SendMessage(WM_GETFONT), FALSE);
            text->ShowWindow(SW_HIDE);
        }
    }

    const std::wstring program = GetApplicationName().GetString();
    for (UINT id : kTexts) {
        if (CWnd* control = GetDlgItem(id))
            control->SetWindowText(ReplacePlaceholders(WindowText(control), program).c_str());
    }
    if (CWnd* link = GetDlgItem(kLink))
        link->SetWindowText(ReplacePlaceholders(WindowText(link), program).c_str());
    SetWindowText(ReplacePlaceholders(WindowText(this), program).c_str());
    // The focus on OK keeps the version text's caret where it was set, nothing selected.
    if (CWnd* ok = GetDlgItem(IDOK))
        ok->SetFocus();
    return FALSE;
}

BOOL CAboutDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case kSupportButton:
        SendSupportRequest();
        return TRUE;
    case kStatisticsButton:
        if (CDvw32App* app = GetDvw32App())
            app->ShowCommandStatistics();
        return TRUE;
    default:
        return CDravikDialog::OnCommand(wParam, lParam);
    }
}

BOOL CAboutDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && header->idFrom == kLink &&
        (header->code == NM_CLICK || header->code == NM_RETURN)) {
        *pResult = 0;
        return TRUE;
    }
    return CDravikDialog::OnNotify(wParam, lParam, pResult);
}
