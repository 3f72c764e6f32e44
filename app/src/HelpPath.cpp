#include "app/HelpPath.h"

#include "app/Dvw32App.h"

#include "windows.h"

namespace dvapp {
namespace {

std::wstring machineString(const std::wstring& key, const wchar_t* name) {
    std::wstring value;
    Dravik::RegistryKey::Open(HKEY_LOCAL_MACHINE, key.c_str(), KEY_READ).GetStringValue(name, value);
    return value;
}

void appendToPath(const std::wstring& folder) {
    std::wstring path(GetEnvironmentVariableW(L"PATH", nullptr, 0), L'\0');
    if (!path.empty())
        path.resize(GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size())));
    path += L";" + folder;
    SetEnvironmentVariableW(L"PATH", path.c_str());
}

} // namespace

std::wstring HelpFileIn(const std::wstring& folder, const wchar_t* fileName) {
    const bool separated = !folder.empty() && (folder.back() == L'\\' || folder.back() == L'/');
    return folder + (separated ? L"" : L"\\") + fileName;
}

std::wstring FindHelpFile(CWinApp& app, const std::wstring& company, const std::wstring& registryName,
                          const std::wstring& language) {
    std::wstring folder = app.GetProfileStringW(L"Help", L"Path", L"").GetString();
    if (folder.empty()) {
        folder = machineString(L"SOFTWARE\\" + company + L"\\" + registryName, L"SetupHelpPath");
        if (!folder.empty())
            app.WriteProfileStringW(L"Help", L"Path", folder.c_str());
    }
    std::wstring helpFile;
    if (!folder.empty() && folder[0] != L'A' && folder[0] != L'B' && folder[0] != L'a' && folder[0] != L'b') {
        appendToPath(folder);
        helpFile = HelpFileIn(folder);
    }
    if (helpFile.empty() || GetFileAttributesW(helpFile.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const std::wstring installed = machineString(
            L"SOFTWARE\\WOW6432Node\\" + company + L"\\DRAVIK CadHelp 18\\" + language, L"SetupDirectory");
        if (!installed.empty())
            helpFile = HelpFileIn(installed);
    }
    return helpFile;
}

} // namespace dvapp
