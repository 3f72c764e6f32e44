#include "app/DocumentPipeline.h"

#include "afxwin.h"

#include "app/Logging.h"

#include "DVDiagnostics/DVLog.h"
#include "DVPDMProxy/Files.h"
#include "DVPDMProxy/WorkMix.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/ApplicationEvents.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DocumentPdm.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/Settings.h"

#include <algorithm>
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

// A PDM variable of this type that is not in step (state 1) asks for a synchronising save.
constexpr int kSynchronisedParameterType = 4;
constexpr int kParameterInStep = 1;
constexpr int kMessageLength = 256;

// A failure of the PDM system during a save: logged and told, the save going on without it.
void tellPdmFailure(const DVPDMException& failure) {
    const std::string what = failure.what();
    std::wstring message(what.size(), L'\0');
    message.resize(
        static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, what.data(), static_cast<int>(what.size()),
                                                  message.data(), static_cast<int>(message.size()))));
    if (message.size() > kMessageLength)
        message.resize(kMessageLength);
    DVLog_WriteW(DVLogWarning, L"Caught a PDM exception \"%ls\"", message.c_str());
    DVMessageBox::Show(message.c_str(), MB_ICONHAND);
}

bool samePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

// After a save of a document with a PDM nomenclature reference, the other open documents whose
// nomenclature tree holds it take the PDM system's data again.
void refreshNomenclature(CDvw32Doc* saved) {
    const Dravik::DocumentPdmLink* link = saved->FindPdmLink();
    if (saved->IsFragmentDocument() || link == nullptr || link->nomenclature == nullptr)
        return;
    const std::wstring path(saved->GetPathName().GetString());
    for (CDvw32Doc* other : DocumentManager::Instance().GetDocuments()) {
        const Dravik::DocumentPdmLink* otherLink = other != saved ? other->FindPdmLink() : nullptr;
        if (otherLink == nullptr || !otherLink->HasNomenclatureData() || otherLink->nomenclature == nullptr ||
            !otherLink->synchronised)
            continue;
        const auto& tree = otherLink->nomenclatureTree;
        if (std::none_of(tree.begin(), tree.end(), [&](const std::wstring& p) { return samePath(p, path); }))
            continue;
        try {
            const std::wstring data = DVPDMWorkMix::Instance().ReadNomenclatureData(*otherLink->nomenclature);
            other->GetPdmLink().assemblyTree = data;
            other->GetPdmLink().nomenclatureData = data;
        } catch (const DVPDMException& e) {
            tellPdmFailure(e);
        }
    }
}

// A save into the PDM system of the document alone: a writable working copy is saved to its own
// file, marked to bring the PDM system in step; anything else goes through the PDM save.
int saveSingleToPdm(CDvw32Doc* document) {
    Dravik::DocumentPdmLink& link = document->GetPdmLink();
    if (!document->IsReadOnly() && link.workMix != Dravik::WorkMixReference::None) {
        link.syncMarked = true;
        return document->DoFileSave() ? 1 : 0;
    }
    return document->DoFileSaveOrsa(L"", TRUE) ? 1 : 0;
}

// One further version of an assembly, stored by the PDM system's session with the main
// version's nomenclature object.
int saveVersion(CDvw32Doc* document, const Dravik::ProductStructure& version,
                const DVPDMNomenclatureObject* nomenclature) {
    try {
        DVDocRegenContext regeneration(document);
        DVPDMWorkMix::Instance().StoreAssemblyVersion(std::wstring(document->GetPathName().GetString()),
                                                      version.name, true, nomenclature);
        return 1;
    } catch (const DVPDMException& e) {
        tellPdmFailure(e);
        return 0;
    }
}

// A setting changed for the time of a call.
class UpdateOnSaveOff {
public:
    UpdateOnSaveOff() : kept_(GetSettings().updateProductStructuresOnSave) {
        GetSettings().updateProductStructuresOnSave = false;
    }
    ~UpdateOnSaveOff() { GetSettings().updateProductStructuresOnSave = kept_; }
    UpdateOnSaveOff(const UpdateOnSaveOff&) = delete;
    UpdateOnSaveOff& operator=(const UpdateOnSaveOff&) = delete;

private:
    bool kept_;
};

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
    const bool kept = document->IsFlagSet(kKeepFlag);
    Dravik::DocumentPdmLink* link = &document->GetPdmLink();
    const bool inStep =
        link->HasNomenclatureData() && link->synchronised && DVPDMWorkMix::Instance().IsEnabled();
    if (inStep &&
        std::any_of(link->parameters.begin(), link->parameters.end(), [](const Dravik::PdmParameter& p) {
            return p.type == kSynchronisedParameterType && p.state != kParameterInStep;
        }))
        link->syncMarked = true;
    // A read-only document keeps its file: it goes to another one.
    if (document->IsReadOnly()) {
        if (!inStep)
            return SaveDocumentAs(document);
        if (!document->IsEditable()) {
            UpdateOnSaveOff off;
            return SaveDocumentAs(document);
        }
        document->SetFlag(kKeepFlag, true);
    } else if (link->workMix == Dravik::WorkMixReference::AssemblyWorkingCopy &&
               GetSettings().updateProductStructuresOnSave && DVPDMWorkMix::Instance().IsEnabled()) {
        Dravik::UpdateProductStructures(*link);
    }
    const BOOL saved = document->DoFileSave();
    document->SetFlag(kKeepFlag, kept);
    ReportSaveGeometryError(document);
    refreshNomenclature(document);
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
    const BOOL saved = document->DoFileSaveOrsa(L"", TRUE);
    if (saved)
        refreshNomenclature(document);
    return saved ? 1 : 0;
}

int SaveDocumentVersionsToOrsa(CDvw32Doc* document) {
    if (document == nullptr)
        return 0;
    DocumentHold hold(document);
    FlagScope saving(document, kSavingToPdm);
    Dravik::DocumentPdmLink& link = document->GetPdmLink();
    if (!Dravik::PrepareProductStructuresForNomenclatureSave(link))
        return 0;
    if (GetSettings().updateProductStructuresOnSave)
        Dravik::UpdateProductStructures(link);
    // The listeners of "document saved" hear of it once the main version is stored, not before:
    // a save that fails has saved nothing.
    const auto told = [&](int stored) {
        if (stored != 0)
            ApplicationEventManager::runEvent(kDocumentSavedEvent, ApplicationEventArgs(document));
        return stored;
    };
    if (link.productStructures.size() < 2)
        return told(saveSingleToPdm(document));

    const size_t before = link.activeProductStructure;
    Dravik::SetActiveProductStructure(link, 0);
    int stored = told(saveSingleToPdm(document));
    const std::shared_ptr<DVPDMNomenclatureObject> shared = link.nomenclature;
    for (size_t i = 1; stored != 0 && i < link.productStructures.size(); ++i) {
        Dravik::SetActiveProductStructure(link, i);
        stored = saveVersion(document, link.productStructures[i], shared.get());
    }
    Dravik::SetActiveProductStructure(link, before);
    ++link.regenerations;
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
