// Until the embedded pages land: web links go to the person's browser, and tutorial tabs are
// not shown.
#include "app/HtmlLinks.h"

#include "app/Dvw32App.h"

#include "DVDiagnostics/NotBuiltYet.h"
#include "pal/text.h"
#include "windows.h"

#include <string>

bool HandleHtmlLink(const wchar_t* url) {
    if (url == nullptr || *url == L'\0')
        return false;
    const std::wstring lower = pal::text::toLower(url);
    if (lower.rfind(L"http://", 0) != 0 && lower.rfind(L"https://", 0) != 0)
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
