// What the application keeps of a session for the next one: the main frames' layout
// ("state.xml" of a settings profile), the documents to reopen and the recent-file list.
#include "app/DocumentOpening.h"
#include "app/Dvw32App.h"
#include "app/Logging.h"
#include "app/RecentFileList.h"
#include "app/StateFrames.h"

#include "BadFiles.h"

#include "DVDiagnostics/DVLog.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/ProfileManager.h"
#include "DravikUI/GlobalContextMenuContainer.h"
#include "DravikUI/XML.h"

#include "xtp/PropExchange.h"

#include <algorithm>
#include <cwctype>

namespace {

constexpr wchar_t kStateRoot[] = L"state";
constexpr wchar_t kProductAttribute[] = L"product";
constexpr wchar_t kUseStateFile[] = L"UseStateFile";
constexpr wchar_t kOpenDocuments[] = L"OpenDocuments";
// More documents than anyone keeps open; a longer list is a damaged store, not a session.
constexpr int kMostReopened = 256;

std::wstring mainFrameKeyPath(const wchar_t* profileName) {
    return DravikProfileManager::GetApplicationKey() + L"\\" +
           DravikProfileManager::GetProfileSectionName(profileName) + L"\\MainFrame";
}

DWORD readUseStateFile(const wchar_t* profileName) {
    const auto key =
        Dravik::RegistryKey::Open(HKEY_CURRENT_USER, mainFrameKeyPath(profileName).c_str(), KEY_READ);
    DWORD value = 0, type = REG_NONE, size = sizeof(value);
    if (!key.IsOpen() ||
        RegQueryValueExW(key.Get(), kUseStateFile, nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return 0;
    return value;
}

void writeUseStateFile(const wchar_t* profileName) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, mainFrameKeyPath(profileName).c_str(), 0, nullptr, 0, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    const DWORD one = 1;
    RegSetValueExW(key, kUseStateFile, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
    RegCloseKey(key);
}

// The system's policy against a recent-documents history.
bool recentDocumentsForbidden() {
    const auto key = Dravik::RegistryKey::Open(
        HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", KEY_READ);
    DWORD value = 0, type = REG_NONE, size = sizeof(value);
    return key.IsOpen() &&
           RegQueryValueExW(key.Get(), L"NoRecentDocsHistory", nullptr, &type,
                            reinterpret_cast<LPBYTE>(&value), &size) == ERROR_SUCCESS &&
           type == REG_DWORD && value != 0;
}

// Where the state of another product (edition) is kept while this one uses the folder:
// "state.<product>.xml" beside "state.xml", the product's name made safe for a file name.
std::wstring editionStatePath(const std::wstring& statePath, const std::wstring& product) {
    std::wstring safe;
    for (wchar_t c : product)
        safe += std::iswalnum(c) || c == L'-' || c == L'_' ? c : L'_';
    return statePath.substr(0, statePath.size() - 4) + L"." + safe + L".xml";
}

} // namespace

// Frame state -------------------------------------------------------------------------------

std::wstring CDvw32App::GetStateFilePath(const wchar_t* profileName, bool create) {
    const std::wstring section = DravikProfileManager::GetProfileSectionName(profileName);
    const std::wstring folder =
        DravikProfileManager::GetProfileSectionAppDataPath(section.c_str(), L"MainFrame", true, create);
    return folder.empty() ? std::wstring() : folder + L"state.xml";
}

BOOL CDvw32App::SaveState() {
    if (!m_saveAtExit)
        return TRUE;
    SaveStdProfileSettings();
    const bool commandsSaved = SaveApplicationCommandsFile();
    const std::vector<dvapp::StateFrame*> frames =
        m_stateFrames != nullptr ? m_stateFrames->GetMainFrames() : std::vector<dvapp::StateFrame*>();
    if (frames.empty())
        return FALSE;
    const std::wstring path = GetStateFilePath(nullptr, true);
    if (path.empty())
        return FALSE;
    CXTPPropExchangeXMLNode document(FALSE, nullptr, kStateRoot);
    Dravik::UI::XML::Node root = document.GetNode();
    if (const std::wstring product = Dravik::UI::XML::GetProductName(); !product.empty())
        root.setAttribute(kProductAttribute, product);
    for (dvapp::StateFrame* frame : frames)
        frame->SaveXmlState(root.appendChild(Dravik::UI::XML::TagNames::MainWindow));
    if (!document.SaveToFile(path.c_str())) {
        DVLog_Write(DVLogFailure, "Could not write the frame state");
        return FALSE;
    }
    writeUseStateFile(nullptr);
    return commandsSaved ? TRUE : FALSE;
}

BOOL CDvw32App::LoadState(const wchar_t* profileName, bool force) {
    LARGE_INTEGER start{}, frequency{};
    QueryPerformanceCounter(&start);
    QueryPerformanceFrequency(&frequency);
    if (auto* documents = dynamic_cast<DravikProfileItem*>(m_pDocManager))
        documents->LoadState();
    if (!force && readUseStateFile(profileName) == 0)
        return FALSE;
    const std::wstring path = GetStateFilePath(profileName, false);
    if (path.empty() || !dvapp::FileExists(path))
        return FALSE;
    CXTPPropExchangeXMLNode document(TRUE, nullptr, kStateRoot);
    const bool loaded = document.LoadFromFile(path.c_str()) != FALSE;
    Dravik::UI::XML::Node root = document.GetNode();
    if (!loaded || !root || root.name() != kStateRoot) {
        dvapp::SetAsideBadFile(path, L"frame state");
        return FALSE;
    }
    const std::wstring programProduct = Dravik::UI::XML::GetProductName();
    const std::wstring fileProduct = root.attribute(kProductAttribute, L"");
    bool sameProduct = programProduct.empty() || fileProduct.empty() || programProduct == fileProduct;
    if (!sameProduct) {
        // Another product's windows would not fit this one, and this one's session must not save
        // over them: they are kept beside, and this product's own, kept there by the other, come
        // back.
        const std::wstring aside = editionStatePath(path, fileProduct);
        if (!MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            DVLog_WriteW(DVLogFailure, L"Could not keep the frame state of %ls aside as %ls",
                         fileProduct.c_str(), aside.c_str());
            m_saveAtExit = false;
            return FALSE;
        }
        DVLog_WriteW(DVLogWarning, L"The frame state of %ls is kept as %ls", fileProduct.c_str(),
                     aside.c_str());
        const std::wstring own = editionStatePath(path, programProduct);
        if (dvapp::FileExists(own) && MoveFileExW(own.c_str(), path.c_str(), 0) &&
            document.LoadFromFile(path.c_str()) && (root = document.GetNode()) && root.name() == kStateRoot)
            sameProduct = root.attribute(kProductAttribute, L"") == programProduct;
    }
    const Dravik::VersionNumber version =
        Dravik::VersionNumber::fromString(root.attribute(Dravik::UI::XML::AttributeNames::VersionNumber, L""))
            .value_or(Dravik::VersionNumber{18, 0, 0, 0});

    if (!m_defaultFrameState) {
        m_defaultFrameState = LoadDefaultMainFrameState(m_startup.DefaultStateFile);
        if (!m_startup.DefaultContextMenuFile.empty())
            Dravik::UI::GlobalContextMenuContainer::Load(m_startup.DefaultContextMenuFile);
    }
    // Another product's windows would not fit this one: nothing is applied, and the caller must
    // not take it for a loaded layout.
    if (!sameProduct)
        return FALSE;

    std::vector<dvapp::StateFrame*> frames =
        m_stateFrames != nullptr ? m_stateFrames->GetMainFrames() : std::vector<dvapp::StateFrame*>();
    std::shared_ptr<MainFrameState> last;
    size_t next = 0;
    for (const Dravik::UI::XML::Node& element : root.children(Dravik::UI::XML::TagNames::MainWindow)) {
        if (!Dravik::UI::XML::IsApplicable(element))
            continue;
        std::shared_ptr<MainFrameState> state = LoadMainFrameState(element, version, m_defaultFrameState);
        if (state)
            last = state;
        if (next < frames.size()) {
            if (state)
                frames[next]->ApplyState(*state, true, true);
            ++next;
            continue;
        }
        if (m_stateFrames == nullptr)
            continue;
        if (dvapp::StateFrame* created =
                m_stateFrames->CreateFromState(state ? state : m_defaultFrameState)) {
            frames.push_back(created);
            ++next;
        }
    }
    for (; last && next < frames.size(); ++next)
        frames[next]->ApplyState(*last, true, true);

    LARGE_INTEGER end{};
    QueryPerformanceCounter(&end);
    const long long micros =
        frequency.QuadPart > 0 ? (end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart : 0;
    DVLog_Write(DVLogInfo, "Loaded state in %lld.%03lld ms", micros / 1000, micros % 1000);
    return TRUE;
}

// Documents to reopen ----------------------------------------------------------------------

void CDvw32App::SaveOpenDocuments() {
    SaveOpenConfigurations();
    // Values of an earlier, longer list must not come back with this one.
    WriteProfileStringW(kOpenDocuments, nullptr, nullptr);
    std::vector<std::wstring> paths;
    if (GetReopenDocuments()) {
        for (CDvw32Doc* document : DocumentManager::Instance().GetDocuments()) {
            if (document != nullptr && !document->GetPathName().IsEmpty())
                paths.emplace_back(document->GetPathName().GetString());
        }
    }
    WriteProfileInt(kOpenDocuments, L"Count", static_cast<int>(paths.size()));
    for (size_t i = 0; i < paths.size(); ++i) {
        CString name;
        name.Format(L"Document%d", static_cast<int>(i));
        WriteProfileStringW(kOpenDocuments, name, paths[i].c_str());
    }
}

std::vector<std::wstring> CDvw32App::GetDocumentsToReopen() {
    std::vector<std::wstring> paths;
    const int count = ReadListCount(kOpenDocuments, L"Count", kMostReopened);
    for (int i = 0; i < count; ++i) {
        CString name;
        name.Format(L"Document%d", i);
        const CString path = GetProfileStringW(kOpenDocuments, name, L"");
        if (!path.IsEmpty())
            paths.emplace_back(path.GetString());
    }
    return paths;
}

int CDvw32App::ReadListCount(LPCWSTR section, LPCWSTR entry, int most) {
    const int count = static_cast<int>(GetProfileInt(section, entry, 0));
    if (count > most) {
        DVLog_WriteW(DVLogWarning, L"The registry value \"%ls\\%ls\" holds %d; only the first %d are read",
                     section, entry, count, most);
        return most;
    }
    return std::max(count, 0);
}

// Recent files -----------------------------------------------------------------------------

CDVRecentFileList* CDvw32App::GetRecentFileList() const {
    return dynamic_cast<CDVRecentFileList*>(m_pRecentFileList);
}

bool CDvw32App::CreateRecentFileList(int count) {
    if (m_pRecentFileList != nullptr || count <= 0 || recentDocumentsForbidden())
        return false;
    m_pRecentFileList = new CDVRecentFileList(0, L"Recent File List", L"File%d", count, 30);
    m_pRecentFileList->ReadList();
    return true;
}

void CDvw32App::AddToRecentFileList(LPCWSTR lpszPathName) {
    if (m_pRecentFileList == nullptr)
        return;
    // The kernel and the document class call this; nothing thrown may reach them.
    try {
        m_pRecentFileList->Add(lpszPathName);
    } catch (CException* e) {
        DVLog_Write(DVLogWarning, "Caught an exception during add to recent file list");
        e->Delete();
    } catch (...) {
        DVLog_Write(DVLogWarning, "Caught an exception during add to recent file list");
    }
}

CDocument* CDvw32App::OpenDocumentFile(LPCWSTR lpszFileName, BOOL bAddToMRU) {
    CDocument* document = OpenDocumentByPath(lpszFileName, bAddToMRU != FALSE);
    // The recent-file command clears the mark itself, after its own removal of a failed entry.
    if (!m_openingRecentFile) {
        if (CDVRecentFileList* list = GetRecentFileList())
            list->SetKeepMark(false);
    }
    return document;
}

BOOL CDvw32App::OnRecentFileCommand(UINT nID) {
    m_openingRecentFile = true;
    const BOOL handled = CWinApp::OnOpenRecentFile(nID);
    m_openingRecentFile = false;
    if (CDVRecentFileList* list = GetRecentFileList())
        list->SetKeepMark(false);
    return handled;
}
