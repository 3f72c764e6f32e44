// The documents a crash leaves for the restarted program, and that program opening them again.
// After a crash the report lists every open drawing; a changed one is kept as a recovery copy
// "<file>.err" beside its file, written whole or not at all. At the next start each listed
// drawing opens again, a recovery copy under its original's name. The copy stays on disk until
// the recovered document is saved or discarded, so that a failed open or a second crash cannot
// lose the only good data.
#include "app/Dvw32App.h"
#include "app/GenerateDumpFileAppContext.h"

#include "Compression/SharedPathName.h"
#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/NotBuiltYet.h"
#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/KernelServices.h"
#include "win/system.h"

#include <algorithm>
#include <exception>
#include <string_view>
#include <vector>

namespace {

constexpr wchar_t kErrorRestore[] = L"ErrorRestore";
constexpr wchar_t kRecoveryExtension[] = L".err";
constexpr int kMostRecovered = 100;
constexpr UINT kRecoveredTitle = 13654;
constexpr UINT kCannotOpen = 13655;

bool isRecoveryCopy(const std::wstring& path) {
    return path.size() > 4 &&
           CompareStringOrdinal(path.c_str() + path.size() - 4, 4, kRecoveryExtension, 4, TRUE) == CSTR_EQUAL;
}

void tellCannotOpen(const std::wstring& path, UINT icon) {
    CString text;
    text.Format(DVLoadString(kCannotOpen).c_str(), path.c_str());
    DVMessageBox::Show(text, MB_OK | icon);
}

// Where a changed drawing is kept: beside its file, or in `newFolder` under its title when it
// was never saved.
std::wstring recoveryCopyOf(const CDvw32Doc& document, const std::wstring& newFolder) {
    const std::wstring path(document.GetPathName());
    if (!path.empty())
        return path + kRecoveryExtension;
    std::wstring title(document.GetTitle());
    std::replace_if(
        title.begin(), title.end(), [](wchar_t c) { return c == L'\\' || c == L'/' || c == L':'; }, L'_');
    return newFolder + L"\\" + title + kRecoveryExtension;
}

// The names of the key's values that are decimal numbers; closes the key.
std::vector<std::wstring> numberedValues(HKEY key) {
    std::vector<std::wstring> names;
    if (key == nullptr)
        return names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const std::wstring_view text(name, length);
        if (!text.empty() &&
            std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
            names.emplace_back(text);
    }
    RegCloseKey(key);
    return names;
}

} // namespace

// Runs once the person asked for a restart; the restarted copy reads the list at its start.
void GenerateDumpFileAppContext::SaveDocuments() {
    if (GetDvw32App()->HasApplicationState(CDvw32App::kStateErrorRestore))
        KeepDocumentsForRecovery();
}

void GenerateDumpFileAppContext::KeepDocumentsForRecovery() {
    CDvw32App& app = *GetDvw32App();
    // Beside the reports, for the drawings that have no folder of their own yet; made one level
    // at a time, as the platform makes folders.
    wchar_t local[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, local);
    std::wstring newFolder = local;
    for (const std::wstring& level : {GetCompanyName(), GetProductName(), std::wstring(L"Recovery")}) {
        newFolder += L"\\" + level;
        CreateDirectoryW(newFolder.c_str(), nullptr);
    }
    std::vector<std::wstring> listed;
    for (CDvw32Doc* document : DocumentManager::Instance().GetDocuments()) {
        const std::wstring path(document->GetPathName());
        if (!document->IsModified()) {
            if (!path.empty())
                listed.push_back(path);
            continue;
        }
        const std::wstring copy = recoveryCopyOf(*document, newFolder);
        std::wstring error;
        if (Dravik::grb::SaveFile(*document, copy, &error)) {
            listed.push_back(copy);
            continue;
        }
        DVLog_Write(DVLogOptionalFailure, "No recovery copy of \"%ls\": %ls", copy.c_str(), error.c_str());
        // Its file as last saved is the next best thing to open again.
        if (!path.empty())
            listed.push_back(path);
    }
    // The count goes last: a list cut short by a second fault names only entries written.
    for (size_t i = 0; i < listed.size(); ++i)
        app.WriteProfileStringW(kErrorRestore, std::to_wstring(i).c_str(), listed[i].c_str());
    app.WriteProfileInt(kErrorRestore, L"DocsCount", static_cast<int>(listed.size()));
}

void CDvw32App::RecoverDocuments() {
    const int count = ReadListCount(kErrorRestore, L"DocsCount", kMostRecovered);
    if (count <= 0)
        return;
    WriteProfileInt(kErrorRestore, L"DocsCount", 0);
    std::vector<std::wstring> paths;
    for (int i = 0; i < count; ++i)
        paths.emplace_back(GetProfileStringW(kErrorRestore, std::to_wstring(i).c_str(), L"").GetString());
    // Past the first hundred the entries are dropped unread: none may outlive this start. Only
    // the values there are go, however large the count claimed to be.
    for (const std::wstring& name : numberedValues(GetSectionKey(kErrorRestore)))
        WriteProfileStringW(kErrorRestore, name.c_str(), nullptr);
    for (const std::wstring& path : paths) {
        if (path.empty())
            continue;
        RecoverDocument(path, isRecoveryCopy(path));
    }
}

bool CDvw32App::RecoverDocument(const std::wstring& path, bool copy) {
    const std::wstring original = copy ? path.substr(0, path.size() - 4) : path;
    if (m_docTemplate == nullptr) {
        tellCannotOpen(original, MB_ICONERROR);
        return false;
    }
    CDocument* opened = nullptr;
    try {
        m_docTemplate->m_bRecovery = copy;
        opened = m_docTemplate->OpenDocumentFile(path.c_str(), TRUE);
        m_docTemplate->m_bRecovery = false;
    } catch (const std::exception& e) {
        m_docTemplate->m_bRecovery = false;
        DVLog_Write(DVLogOptionalFailure, "Recovering \"%ls\" failed: %s", path.c_str(), e.what());
        tellCannotOpen(original, MB_ICONWARNING);
        // The copy stays where it is; the original is the next best thing to show.
        if (copy)
            return RecoverDocument(original, false);
        return false;
    }
    if (opened == nullptr) {
        tellCannotOpen(original, MB_ICONERROR);
        return false;
    }
    auto* document = dynamic_cast<CDvw32Doc*>(opened);
    if (copy && document != nullptr) {
        document->LockDocumentFile(SharedPathName(original));
        m_recoveryCopies[document] = path;
        DV_NOT_BUILT_YET("crash recovery: the kernel's collection of unused objects");
        document->SetTitle((original + DVLoadString(kRecoveredTitle)).c_str());
        DVLog_Write(DVLogInfo, "Recovered \"%ls\" from its copy \"%ls\"", original.c_str(), path.c_str());
        ForEachMainFrame([](CMainFrame* frame) {
            if (CMDIChildWnd* child = frame->MDIGetActive())
                child->OnUpdateFrameTitle(TRUE);
            frame->OnUpdateFrameTitle(TRUE);
        });
    }
    return true;
}

namespace {

void deleteRecoveryCopy(const std::wstring& path) {
    if (!DeleteFileW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        DVLog_Write(DVLogOptionalFailure, "Failed to delete the recovery copy \"%ls\": 0x%08x", path.c_str(),
                    static_cast<unsigned>(GetLastError()));
}

} // namespace

void CDvw32App::ForgetSavedRecoveryCopies() {
    for (auto it = m_recoveryCopies.begin(); it != m_recoveryCopies.end();) {
        // A recovered drawing counts as modified until it is saved.
        if (it->first->IsModified()) {
            ++it;
            continue;
        }
        deleteRecoveryCopy(it->second);
        it = m_recoveryCopies.erase(it);
    }
}

void CDvw32App::OnDocumentClosed(CDvw32Doc* document) {
    // Closed means saved, or discarded by the person: either way the copy has served.
    const auto it = m_recoveryCopies.find(document);
    if (it == m_recoveryCopies.end())
        return;
    deleteRecoveryCopy(it->second);
    m_recoveryCopies.erase(it);
}
