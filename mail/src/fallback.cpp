#include "fallback.h"

#include "win/com.h"
#include "win/system.h"
#include "win/user.h"

namespace dvmail {

bool openFallback(const std::wstring& address) {
    if (address.empty() || !PathIsURLW(address.c_str()))
        return false;
    // The shell may hand the address to a handler that needs an apartment.
    const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // The program ends right after this call, so the shell must finish before it returns. Where
    // the opener is a process of its own, its exit code says whether the page was opened.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = L"open";
    info.lpFile = address.c_str();
    info.nShow = SW_SHOW;
    bool opened = ShellExecuteExW(&info) != FALSE;
    if (opened && info.hProcess) {
        DWORD code = 1;
        opened = WaitForSingleObject(info.hProcess, INFINITE) == WAIT_OBJECT_0 &&
                 GetExitCodeProcess(info.hProcess, &code) && code == 0;
        CloseHandle(info.hProcess);
    }
    if (SUCCEEDED(apartment))
        CoUninitialize();
    return opened;
}

} // namespace dvmail
