// The library configurations open at the end of a session come back at the next start, in their
// order, the active one active again.
#include "app/Dvw32App.h"

#include "DVDiagnostics/DVLog.h"
#include "DravikKernel/DocumentsMenu.h"

namespace {

constexpr wchar_t kOpenConfigurations[] = L"OpenConfigurations";
// More configurations than the browser ever shows; a longer list is a damaged store.
constexpr int kMostConfigurations = 256;

} // namespace

void CDvw32App::SaveOpenConfigurations() {
    // Values of an earlier, longer list must not come back with this one.
    WriteProfileStringW(kOpenConfigurations, nullptr, nullptr);
    const DocumentsMenu::IConfigurationsGroup& group = DocumentsMenu::GlobalCfgGroup();
    int count = 0;
    int active = -1;
    for (std::size_t i = 0; i < group.GetCount(); ++i) {
        const DocumentsMenu::IConfiguration* configuration = group.GetAt(i);
        // A configuration never saved has no file to open again.
        if (configuration == nullptr || configuration->GetPath().empty())
            continue;
        CString name;
        name.Format(L"Configuration%d", count);
        WriteProfileStringW(kOpenConfigurations, name, configuration->GetPath().c_str());
        if (configuration->IsActive())
            active = count;
        ++count;
    }
    WriteProfileInt(kOpenConfigurations, L"Count", count);
    WriteProfileInt(kOpenConfigurations, L"Active", active);
}

void CDvw32App::ReopenConfigurations() {
    const int count = ReadListCount(kOpenConfigurations, L"Count", kMostConfigurations);
    const int active = static_cast<int>(GetProfileInt(kOpenConfigurations, L"Active", -1));
    DocumentsMenu::IConfiguration* activeConfiguration = nullptr;
    for (int i = 0; i < count; ++i) {
        CString name;
        name.Format(L"Configuration%d", i);
        const CString path = GetProfileStringW(kOpenConfigurations, name, L"");
        if (path.IsEmpty())
            continue;
        std::wstring error;
        DocumentsMenu::IConfiguration* configuration =
            DocumentsMenu::OpenConfigurationFile(DocumentsMenu::GlobalCfgGroup(), path.GetString(), &error);
        // A configuration whose file went since is left out; the others still come.
        if (configuration == nullptr)
            DVLog_Write(DVLogWarning, "The configuration of the last session is not opened again: %ls",
                        error.c_str());
        else {
            DVLog_Write(DVLogInfo, "Reopened the library configuration %ls", path.GetString());
            if (i == active)
                activeConfiguration = configuration;
        }
    }
    if (activeConfiguration != nullptr)
        activeConfiguration->SetActive(true);
}
