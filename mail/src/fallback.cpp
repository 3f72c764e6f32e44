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
    // The program ends right after this call, so the shell must finish before it returns.
    info.fMask = SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = address.c_str();
    info.nShow = SW_SHOW;
    const bool opened = ShellExecuteExW(&info) != FALSE;
    if (SUCCEEDED(apartment))
        CoUninitialize();
    return opened;
}

} // namespace dvmail
