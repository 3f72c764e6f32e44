#include "app/DocumentPipeline.h"

#include "afxwin.h"

#include "app/Logging.h"

#include "DVDiagnostics/DVLog.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/ApplicationEvents.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/KernelServices.h"

#include <cstdint>
#include <string>

namespace {

// The kernel's document flags these procedures keep: kept through a local save, and the mark of
// a save into the PDM system.
constexpr std::uint64_t kKeepFlag = 0x4000000;
constexpr std::uint64_t kSavingToPdm = 512;
constexpr int kDocumentSavedEvent = 1;

// A document is held for the whole of a save procedure, whatever way it ends: a frame closed
// meanwhile closes the document only afterwards.
class DocumentHold {
public:
    explicit DocumentHold(CDvw32Doc* document) : document_(document) { document_->AddHold(); }
    ~DocumentHold() { document_->ReleaseHold(); }
    DocumentHold(const DocumentHold&) = delete;
    DocumentHold& operator=(const DocumentHold&) = delete;

private:
    CDvw32Doc* document_;
};

// A document flag set for the time of a call and cleared on every way out.
class FlagScope {
public:
    FlagScope(CDvw32Doc* document, std::uint64_t flag) : document_(document), flag_(flag) {
        document_->SetFlag(flag_, true);
    }
    ~FlagScope() { document_->SetFlag(flag_, false); }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    CDvw32Doc* document_;
    std::uint64_t flag_;
};

// The new document's first view becomes the one the person works in.
void activateFirstView(CDvw32Doc& document) {
    CView* view = document.GetActiveView();
    CFrameWnd* frame = view != nullptr ? view->GetParentFrame() : nullptr;
    if (frame == nullptr || frame->m_hWnd == nullptr)
        return;
    if (HWND client = ::GetParent(frame->m_hWnd))
        ::SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(frame->m_hWnd), 0);
    frame->SetActiveView(view);
    if (view->m_hWnd != nullptr)
        view->SetFocus();
}

// A save into the PDM system of the document alone; the PDM stand-in stores nothing, so the
// kernel's PDM save answers.
int saveSingleToPdm(CDvw32Doc* document) {
    return document->DoFileSaveOrsa(L"", TRUE) ? 1 : 0;
}

} // namespace

CDocument* CreateDocumentFromPrototype(int prototypeKind) {
    if (!Dravik::IsKnownDocumentKind(static_cast<std::uint32_t>(prototypeKind)))
        return nullptr;
    DocInitParams params = DocumentManager::GetDefaultInitParams();
    params.flags |= DocInitParams::kCreateNew;
    params.kind = static_cast<Dravik::DocumentKind>(prototypeKind);
    std::wstring error;
    CDvw32Doc* document = DocumentManager::Instance().OpenDocumentFile(L"", params, &error);
    if (document == nullptr) {
        DVLog_WriteW(DVLogOptionalFailure, L"%ls", error.c_str());
        return nullptr;
    }
    document->SaveAfterCreatingIfNeed();
    activateFirstView(*document);
    return document;
}

void CopyDefaultOpenParameters(DocInitParams& params) {
    params = DocumentManager::GetDefaultInitParams();
}

void ReportSaveGeometryError(CDvw32Doc* document) {
    if (document == nullptr || !document->IsFlagSet(Dravik::kDocFlagGeometrySaveFailed))
        return;
    document->SetFlag(Dravik::kDocFlagGeometrySaveFailed, false);
    DVMessageBox::Show(Dravik::I18n::Translate(L"dlg.error_save_geometry").c_str(), MB_OK | MB_ICONWARNING);
}

int SaveDocument(CDvw32Doc* document) {
    if (document == nullptr)
        return 0;
    DocumentHold hold(document);
    // A read-only document keeps its file: it goes to another one.
    if (document->IsReadOnly())
        return SaveDocumentAs(document);
    const bool kept = document->IsFlagSet(kKeepFlag);
    const BOOL saved = document->DoFileSave();
    document->SetFlag(kKeepFlag, kept);
    ReportSaveGeometryError(document);
    return saved ? 1 : 0;
}

int SaveDocumentAs(CDvw32Doc* document) {
    if (document == nullptr)
        return 0;
    DocumentHold hold(document);
    const BOOL saved = document->DoFileSaveAs(nullptr, nullptr);
    ReportSaveGeometryError(document);
    return saved ? 1 : 0;
}

int SaveDocumentCopy(CDvw32Doc* document) {
    if (document == nullptr)
        return 0;
    DocumentHold hold(document);
    const BOOL saved = document->DoFileSaveCopy(nullptr);
    ReportSaveGeometryError(document);
    return saved ? 1 : 0;
}

int SaveDocumentToOrsa(CDvw32Doc* document) {
    if (document == nullptr)
        return 0;
    DocumentHold hold(document);
    return document->DoFileSaveOrsa(L"", TRUE) ? 1 : 0;
}

int SaveDocumentVersionsToOrsa(CDvw32Doc* document) {
    if (document == nullptr)
        return 0;
    DocumentHold hold(document);
    FlagScope saving(document, kSavingToPdm);
    // The listeners of "document saved" hear of it once the main version is stored, not before:
    // a save that fails has saved nothing.
    const int stored = saveSingleToPdm(document);
    if (stored != 0)
        ApplicationEventManager::runEvent(kDocumentSavedEvent, ApplicationEventArgs(document));
    return stored;
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
