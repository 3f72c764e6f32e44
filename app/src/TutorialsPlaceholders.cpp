// Until the settings' own part of the application lands: where the tutorials are installed.
#include "app/Dvw32App.h"

#include "DravikKernel/KernelRuntime.h"

std::wstring CDvw32App::GetTutorialsFolder() const {
    const wchar_t* product = COUNTRY == German ? L"\\VIRELO Tutorials 18\\" : L"\\DRAVIK Tutorials 18\\";
    std::wstring folder;
    Dravik::RegistryKey::Open(
        HKEY_LOCAL_MACHINE,
        (L"SOFTWARE\\WOW6432Node\\" + m_startup.Company + product + m_startup.Language).c_str(), KEY_READ)
        .GetStringValue(L"SetupDirectory", folder);
    return folder;
}
