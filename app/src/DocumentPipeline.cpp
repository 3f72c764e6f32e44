#include "app/DocumentPipeline.h"

#include "afxwin.h"

#include "DVDiagnostics/NotBuiltYet.h"

namespace {

// The kernel's document class, its prototypes and the PDM work mix are not part of this build:
// no document can be made or saved, and each procedure marks itself and fails.
constexpr int kNotSaved = 0;

} // namespace

CDocument* CreateDocumentFromPrototype(int prototypeKind) {
    DV_NOT_BUILT_YET("CreateDocumentFromPrototype: the kernel's documents and prototypes");
    return nullptr;
}

int SaveDocument(CDvw32Doc* document) {
    if (document != nullptr)
        DV_NOT_BUILT_YET("SaveDocument: the kernel's documents");
    return kNotSaved;
}

int SaveDocumentAs(CDvw32Doc* document) {
    if (document != nullptr)
        DV_NOT_BUILT_YET("SaveDocumentAs: the kernel's documents");
    return kNotSaved;
}

int SaveDocumentCopy(CDvw32Doc* document) {
    if (document != nullptr)
        DV_NOT_BUILT_YET("SaveDocumentCopy: the kernel's documents");
    return kNotSaved;
}

int SaveDocumentToOrsa(CDvw32Doc* document) {
    if (document != nullptr)
        DV_NOT_BUILT_YET("SaveDocumentToOrsa: the kernel's documents");
    return kNotSaved;
}

int SaveDocumentVersionsToOrsa(CDvw32Doc* document) {
    if (document != nullptr)
        DV_NOT_BUILT_YET("SaveDocumentVersionsToOrsa: the kernel's documents");
    return kNotSaved;
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
