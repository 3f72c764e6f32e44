#include "app/DocumentPipeline.h"

#include "afxwin.h"

#include "DVDiagnostics/DVLog.h"

namespace {

// The kernel's document class, its prototypes and the PDM work mix are not part of this build:
// no document can be made or saved, and each procedure says so and fails.
int unavailable(const char* procedure) {
    DVLog_Write(5, "%s: the kernel's documents are not available", procedure);
    return 0;
}

} // namespace

CDocument* CreateDocumentFromPrototype(int prototypeKind) {
    DVLog_Write(5, "CreateDocumentFromPrototype(%d): the kernel's documents are not available",
                prototypeKind);
    return nullptr;
}

int SaveDocument(CDvw32Doc* document) {
    return document ? unavailable("SaveDocument") : 0;
}

int SaveDocumentAs(CDvw32Doc* document) {
    return document ? unavailable("SaveDocumentAs") : 0;
}

int SaveDocumentCopy(CDvw32Doc* document) {
    return document ? unavailable("SaveDocumentCopy") : 0;
}

int SaveDocumentToOrsa(CDvw32Doc* document) {
    return document ? unavailable("SaveDocumentToOrsa") : 0;
}

int SaveDocumentVersionsToOrsa(CDvw32Doc* document) {
    return document ? unavailable("SaveDocumentVersionsToOrsa") : 0;
}

bool IsDocumentProtectionDisabled() {
    // The application's registry key (the company) and profile name (the registry name).
    const CWinApp* app = AfxGetApp();
    if (app == nullptr || app->m_pszRegistryKey == nullptr || app->m_pszProfileName == nullptr)
        return false;
    const std::wstring key =
        std::wstring(L"SOFTWARE\\") + app->m_pszRegistryKey + L"\\" + app->m_pszProfileName;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"DisableDocumentProtection", RRF_RT_REG_DWORD, nullptr,
                     &value, &size) != ERROR_SUCCESS)
        return false;
    return value == 1;
}
