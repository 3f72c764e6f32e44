#include "app/DocumentOpening.h"

#include "app/Dvw32App.h"
#include "app/Logging.h"
#include "app/RecentFileList.h"

#include "DVDiagnostics/DVLog.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/WorkSession.h"
#include "win/base.h"

#include <exception>
#include <string>

namespace {

constexpr HRESULT kNotADocument = static_cast<HRESULT>(0x800300FB);
constexpr UINT kFormatNotSupported = 10046;

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

// Tells the person; for a recent entry, "No" keeps it in the list.
void reportFailure(const std::wstring& path, HRESULT code) {
    CDvw32App* app = GetDvw32App();
    CDVRecentFileList* list = app != nullptr ? app->GetRecentFileList() : nullptr;
    const bool recent = list != nullptr && list->Contains(path.c_str());
    const std::wstring text = failureText(code, recent);
    const int answer = DVMessageBox::Show(text.c_str(), MB_ICONWARNING | (recent ? MB_YESNO : MB_OK));
    if (recent && answer == IDNO)
        list->SetKeepMark(true);
}

CDocument* openKernelDocument(const std::wstring& path, bool addToRecent, HRESULT& code) {
    DocInitParams params = DocumentManager::GetDefaultInitParams();
    if (!addToRecent)
        params.options &= ~DocInitParams::kAddToRecent;
    std::wstring error;
    CDvw32Doc* document = DocumentManager::Instance().OpenDocumentFile(path, params, &error);
    if (document == nullptr) {
        DVLog_WriteW(DVLogOptionalFailure, L"%ls", error.c_str());
        code = E_FAIL;
    }
    return document;
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
    std::vector<std::wstring> errors;
    const std::vector<CDvw32Doc*> opened =
        Dravik::OpenWorkSession(session, DocumentManager::GetDefaultInitParams(), &errors);
    if (opened.empty())
        return {nullptr, true};
    // A session handed over in the temporary folder is not left behind, once its drawings are
    // open: a session that failed to open is still there to try again.
    deleteIfTemporary(path);
    CDvw32Doc* shown = session.active >= 0 && static_cast<size_t>(session.active) < opened.size()
                           ? opened[static_cast<size_t>(session.active)]
                           : opened.front();
    return {shown, true};
}

CDocument* OpenDocumentByPath(const wchar_t* pathName, bool addToRecent) {
    const std::wstring path = pathName != nullptr ? pathName : L"";
    const std::wstring extension = extensionOf(path);
    if (isPicture(extension))
        return OpenImageDocument(path.c_str());
    if (extensionIs(extension, L".gri"))
        return nullptr;

    CDocument* document = nullptr;
    HRESULT code = S_OK;
    try {
        DocumentFileInfo info;
        code = ReadDocumentFileInfo(path.c_str(), &info);
        if (SUCCEEDED(code)) {
            document = openKernelDocument(path, addToRecent, code);
        } else if (code == kNotADocument) {
            // A work session; the 3D module and the add-ons that open foreign files are not part
            // of this program, so anything else stays unopened.
            if (extensionIs(extension, L".grb") || extensionIs(extension, L".grs")) {
                const auto [opened, handled] = OpenWorkSession(path.c_str());
                if (handled) {
                    document = opened;
                    code = opened != nullptr ? S_OK : E_FAIL;
                }
            }
        }
    } catch (const std::exception& e) {
        DVLog_WriteW(DVLogOptionalFailure, L"Opening \"%ls\" failed: %hs", path.c_str(), e.what());
        document = nullptr;
        code = E_FAIL;
    }
    if (document == nullptr)
        reportFailure(path, FAILED(code) ? code : E_FAIL);
    return document;
}
