#include "app/DocumentOpening.h"

#include "app/Dvw32App.h"
#include "app/Logging.h"
#include "app/RecentFileList.h"

#include "app/DocumentPipeline.h"

#include "DVDiagnostics/DVLog.h"
#include "DVPDMProxy/Files.h"
#include "DVPDMProxy/WorkMix.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/ApplicationManager.h"
#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/UIModule.h"
#include "DravikKernel/WorkSession.h"
#include "DravikUI/ImageManager.h"
#include "frame/OpenDocumentFiles.h"
#include "win/base.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr HRESULT kNotADocument = static_cast<HRESULT>(0x800300FB);
constexpr UINT kFormatNotSupported = 10046;
// A document the 3D module made of a foreign file is shown by its view's command; a document
// without a view carries the flag that has it shown once it gets one.
constexpr UINT kShowImportedCommand = 1104;
constexpr std::uint64_t kShowWhenViewed = 0x200000000000;
constexpr int kPartPrototype = 1;
constexpr int kReadAsBody = 1;

bool extensionIs(const std::wstring& extension, const wchar_t* candidate) {
    return CompareStringOrdinal(extension.c_str(), static_cast<int>(extension.size()), candidate, -1, TRUE) ==
           CSTR_EQUAL;
}

std::wstring extensionOf(const std::wstring& path) {
    const size_t dot = path.find_last_of(L'.');
    const size_t slash = path.find_last_of(L"\\/");
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return {};
    return path.substr(dot);
}

bool isPicture(const std::wstring& extension) {
    for (const wchar_t* picture :
         {L".bmp", L".jpg", L".jpeg", L".gif", L".dib", L".pcx", L".tga", L".tif", L".tiff", L".png"})
        if (extensionIs(extension, picture))
            return true;
    return false;
}

// The message of a failed open: the question when the path is a recent entry, else the notice.
std::wstring failureText(HRESULT code, bool recent) {
    switch (static_cast<std::uint32_t>(code)) {
    case 0x80030002:
    case 0x80030003:
        return Dravik::I18n::Translate(recent ? L"File not found, remove from recent?" : L"File not found");
    case 0x80030005:
        return Dravik::I18n::Translate(recent ? L"Access denied, remove from recent?" : L"Access denied");
    case 0x8003001D:
    case 0x8003001E:
        return Dravik::I18n::Translate(recent ? L"I/O error, remove from recent?" : L"I/O error");
    case 0x800300FB:
        return recent ? Dravik::I18n::Translate(L"Format not supported, remove from recent?")
                      : DVLoadString(kFormatNotSupported);
    default:
        return Dravik::I18n::Translate(recent ? L"Unknown error, remove from recent?" : L"Unknown error");
    }
}

// Whether the table has a message of its own for the code; any other is an unknown error.
bool isTold(HRESULT code) {
    switch (static_cast<std::uint32_t>(code)) {
    case 0x80030002:
    case 0x80030003:
    case 0x80030005:
    case 0x8003001D:
    case 0x8003001E:
    case 0x800300FB:
        return true;
    default:
        return false;
    }
}

// What the kernel's reader finds wrong with the file ("... the file is cut short."), asked only
// once opening failed; empty when the kernel reads it after all.
std::wstring readerReason(const std::wstring& path) {
    std::wstring reason;
    if (Dravik::grb::LoadFile(path, &reason) != nullptr)
        reason.clear();
    return reason;
}

// Tells the person; for a recent entry, "No" keeps it in the list. What the kernel's reader found
// wrong says more than "Unknown error", so it stands in its place.
void reportFailure(const std::wstring& path, HRESULT code, std::wstring reason) {
    CDvw32App* app = GetDvw32App();
    CDVRecentFileList* list = app != nullptr ? app->GetRecentFileList() : nullptr;
    const bool recent = list != nullptr && list->Contains(path.c_str());
    if (!isTold(code) && reason.empty())
        reason = readerReason(path);
    std::wstring text = failureText(code, recent);
    if (!isTold(code) && !reason.empty())
        text = recent ? reason + L"\n" + Dravik::I18n::Translate(L"Remove from recent?") : reason;
    const int answer = DVMessageBox::Show(text.c_str(), MB_ICONWARNING | (recent ? MB_YESNO : MB_OK));
    if (recent && answer == IDNO)
        list->SetKeepMark(true);
}

// The PDM system's object of a path, brought up to date before the file is read; none when the
// system does not hold the file or fails to refresh it (the failure is reported).
std::shared_ptr<DVPDMFileObject> refreshedPdmFile(const std::wstring& path) {
    DVPDMWorkMix& workMix = DVPDMWorkMix::Instance();
    workMix.ResetCacheFor(path);
    std::shared_ptr<DVPDMFileObject> file = workMix.FindFile(path);
    if (!file)
        return nullptr;
    try {
        const bool update = GetSettings().pdmUpdate == 1;
        file->Refresh(update, update);
    } catch (const DVPDMException& e) {
        e.Report();
        return nullptr;
    }
    return file;
}

// The context the file opens with: the PDM object's, else the nomenclature object the work mix
// gives for the path; null when both are empty.
std::shared_ptr<DVPDMOpenningContext> openingContext(const std::wstring& path, const DVPDMFileObject* file) {
    auto context = std::make_shared<DVPDMOpenningContext>(
        file != nullptr ? file->GetOpenningContext() : DVPDMOpenningContext(path, false, nullptr));
    if (context->IsEmpty())
        context->SetNomenclatureObject(DVPDMWorkMix::Instance().GetNomenclatureObject(path));
    return context->IsEmpty() ? nullptr : context;
}

CDocument* openKernelDocument(const std::wstring& path, bool addToRecent, const DVPDMFileObject* pdmFile,
                              HRESULT& code, std::wstring& error) {
    DocInitParams params;
    CopyDefaultOpenParameters(params);
    params.options |= DocInitParams::kActivateFrame | DocInitParams::kAddToRecent;
    if (!addToRecent)
        params.options &= ~DocInitParams::kAddToRecent;
    params.pdmContext = openingContext(path, pdmFile);
    if (params.pdmContext && GetSettings().pdmNomenclatureData &&
        params.pdmContext->CanHaveNomenclatureData()) {
        params.options |= DocInitParams::kMayCarryNomenclature;
        try {
            params.pdmContext->LoadRemainingData();
        } catch (const DVPDMException& e) {
            e.Report();
        }
    }
    CDvw32Doc* document = DocumentManager::Instance().OpenDocumentFile(path, params, &error);
    if (document == nullptr) {
        DVLog_WriteW(DVLogOptionalFailure, L"%ls", error.c_str());
        code = E_FAIL;
        return nullptr;
    }
    if (CDVDocTemplate* docTemplate = DocumentManager::Instance().GetDocTemplate())
        if (document->FindFrame() != nullptr)
            docTemplate->ActivateDocument(document);
    return document;
}

// A file that is not the kernel's: the 3D module is offered it first, then the add-ons. The
// document made of it, or null with `handled` telling whether anyone opened it.
CDocument* openForeignFile(const std::wstring& path, bool& handled) {
    handled = false;
    if (CDVCom_Is3D* module3D = CDVCom_Is3D::Instance()) {
        if (CDvw32Doc* document = module3D->OpenForeignFile(path.c_str())) {
            handled = true;
            if (CView* view = document->GetActiveView(); view != nullptr && view->m_hWnd != nullptr)
                ::PostMessageW(view->m_hWnd, WM_COMMAND, kShowImportedCommand, 0);
            else
                document->SetFlag(kShowWhenViewed);
            return document;
        }
    }
    const size_t before = DocumentManager::Instance().GetDocumentCount();
    if (!CDVApplicationManager::Instance().OpenFile(path.c_str()))
        return nullptr;
    handled = true;
    const std::vector<CDvw32Doc*> documents = DocumentManager::Instance().GetDocuments();
    return documents.size() > before ? documents.back() : nullptr;
}

// A file of the kernel's own extensions that is neither a drawing nor a work session: a new 3D
// part reads it as its body. Without a 3D module nothing could read it, so no part is made; a
// part that did not read it goes again, leaving the format failure to be told.
CDocument* readIntoNewPart(const std::wstring& path) {
    if (CDVCom_Is3D::Instance() == nullptr)
        return nullptr;
    auto* part = dynamic_cast<CDvw32Doc*>(CreateDocumentFromPrototype(kPartPrototype));
    if (part == nullptr)
        return nullptr;
    if (part->LoadFile(path.c_str(), kReadAsBody))
        return part;
    part->OnCloseDocument();
    return nullptr;
}

void deleteIfTemporary(const wchar_t* path) {
    wchar_t temp[MAX_PATH + 1] = L"";
    const DWORD tempLength = GetTempPathW(MAX_PATH, temp);
    if (tempLength == 0 || CompareStringOrdinal(path, static_cast<int>(tempLength), temp,
                                                static_cast<int>(tempLength), TRUE) != CSTR_EQUAL)
        return;
    if (!DeleteFileW(path)) {
        const DWORD failure = GetLastError();
        DVLog_WriteW(failure == ERROR_FILE_NOT_FOUND ? DVLogExpected : DVLogOptionalFailure,
                     L"Failed to delete temporary file \"%ls\": 0x%08x", path,
                     static_cast<unsigned>(failure));
    }
}

} // namespace

std::pair<CDocument*, bool> OpenWorkSession(const wchar_t* path) {
    Dravik::WorkSession session;
    std::wstring error;
    if (path == nullptr || !Dravik::LoadWorkSession(path, &session, &error))
        return {nullptr, false};
    std::vector<SharedPathName> files;
    files.reserve(session.documents.size());
    for (const std::wstring& document : session.documents)
        files.emplace_back(document);
    DocInitParams options;
    CopyDefaultOpenParameters(options);
    if (session.readOnly)
        options.flags |= DocInitParams::kReadOnly;
    std::vector<CDvw32Doc*> opened;
    if (!OpenDocumentFiles(files, options, &opened) || opened.empty())
        return {nullptr, true};
    // A session handed over in the temporary folder is not left behind, once its drawings are
    // open: a session that failed to open is still there to try again.
    deleteIfTemporary(path);
    CDvw32Doc* shown = opened.front();
    if (session.active >= 0)
        if (CDvw32Doc* active = DocumentManager::Instance().FindDocument(
                session.documents[static_cast<size_t>(session.active)]))
            shown = active;
    if (CDVDocTemplate* docTemplate = DocumentManager::Instance().GetDocTemplate())
        if (shown->FindFrame() != nullptr)
            docTemplate->ActivateDocument(shown);
    return {shown, true};
}

CDocument* OpenDocumentByPath(const wchar_t* pathName, bool addToRecent) {
    const std::wstring path = pathName != nullptr ? pathName : L"";
    const std::wstring extension = extensionOf(path);
    if (isPicture(extension))
        return OpenImageDocument(path.c_str());
    if (extensionIs(extension, L".gri"))
        return nullptr;

    UIModule::PreOpenDocument(path.c_str());
    if (Dravik::UI::ImageManager* images = Dravik::UI::ImageManager::GetInstance(false))
        images->ForgetPath(path);
    CDocument* document = nullptr;
    HRESULT code = S_OK;
    std::wstring reason;          // the kernel's, when its reader refused the file
    bool openedElsewhere = false; // an add-on opened the file its own way
    try {
        const std::shared_ptr<DVPDMFileObject> pdmFile = refreshedPdmFile(path);
        DocumentFileInfo info;
        code = ReadDocumentFileInfo(path.c_str(), &info);
        if (SUCCEEDED(code)) {
            document = openKernelDocument(path, addToRecent, pdmFile.get(), code, reason);
        } else if (code == kNotADocument) {
            if (extensionIs(extension, L".grb") || extensionIs(extension, L".grs")) {
                const auto [opened, session] = OpenWorkSession(path.c_str());
                document = session ? opened : readIntoNewPart(path);
                if (session || document != nullptr)
                    code = document != nullptr ? S_OK : E_FAIL;
            } else {
                bool handled = false;
                document = openForeignFile(path, handled);
                openedElsewhere = handled && document == nullptr;
            }
        }
    } catch (const std::exception& e) {
        DVLog_WriteW(DVLogOptionalFailure, L"Opening \"%ls\" failed: %hs", path.c_str(), e.what());
        document = nullptr;
        code = E_FAIL;
    }
    if (document == nullptr && !openedElsewhere)
        reportFailure(path, FAILED(code) ? code : E_FAIL, reason);
    return document;
}
