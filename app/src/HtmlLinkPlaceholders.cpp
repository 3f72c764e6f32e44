// Until the embedded pages land: web links go to the person's browser, and tutorial tabs are
// not shown.
#include "app/HtmlLinks.h"

#include "app/Dvw32App.h"

#include "DVDiagnostics/NotBuiltYet.h"
#include "windows.h"

#include <cwchar>

bool HandleHtmlLink(const wchar_t* url) {
    if (url == nullptr || *url == L'\0')
        return false;
    const auto startsWith = [url](const wchar_t* scheme) {
        const int length = static_cast<int>(std::wcslen(scheme));
        return static_cast<int>(std::wcslen(url)) >= length &&
               CompareStringOrdinal(url, length, scheme, length, TRUE) == CSTR_EQUAL;
    };
    if (!startsWith(L"http://") && !startsWith(L"https://"))
        return false;
    CMainFrame* frame = GetMainFrame();
    const HINSTANCE result =
        ShellExecuteW(frame != nullptr ? frame->GetSafeHwnd() : nullptr, nullptr, url, L"", L"", SW_SHOW);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

void OpenInTutorialDocument(const wchar_t* url) {
    if (url == nullptr || *url == L'\0')
        return;
    DV_NOT_BUILT_YET("OpenInTutorialDocument: the tutorial tabs of the embedded pages");
}
