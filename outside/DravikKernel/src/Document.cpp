#include "DravikKernel/Document.h"

#include "DravikKernel/DVFileDialog.h"
#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/DocumentImage.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DocumentPdm.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/ModelVars.h"
#include "DravikKernel/Parameters.h"

#include "DVDiagnostics/DVLog.h"
#include "DravikKernel/KernelServices.h"
#include "afx/app.h"
#include "afx/frame.h"
#include "afx/view.h"
#include "pal/path.h"
#include "pal/text.h"

#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace Dravik {

bool IsKnownDocumentKind(std::uint32_t kind) {
    switch (static_cast<DocumentKind>(kind)) {
    case DocumentKind::Drawing:
    case DocumentKind::Part3D:
    case DocumentKind::AssemblyDrawing:
    case DocumentKind::Assembly3D:
    case DocumentKind::SheetMetalPart:
    case DocumentKind::Fragment:
    case DocumentKind::TextDocument:
        return true;
    }
    return false;
}

DravikDocument2::DravikDocument2() = default;
DravikDocument2::~DravikDocument2() = default;

DocumentParameters& DravikDocument2::GetParameters() {
    if (!parameters_)
        parameters_ = std::make_unique<DocumentParameters>();
    return *parameters_;
}

ModelDefaultParameterProvider& DravikDocument2::GetDefaultParameters() {
    return GetParameters().Defaults;
}

bool DravikDocument2::Is2D() const {
    return kind_ == DocumentKind::Drawing || kind_ == DocumentKind::AssemblyDrawing ||
           kind_ == DocumentKind::Fragment || kind_ == DocumentKind::TextDocument;
}

void DravikDocument2::SetReadOnly(bool readOnly) {
    if (readOnly_ == readOnly)
        return;
    readOnly_ = readOnly;
    OnStateChanged();
}

void DravikDocument2::SetFlag(std::uint64_t flag, bool on) {
    flags_ = on ? (flags_ | flag) : (flags_ & ~flag);
}

const std::string* DravikDocument2::GetPicture(const std::wstring& name) const {
    for (const auto& [n, png] : pictures_)
        if (n == name)
            return &png;
    return nullptr;
}

void DravikDocument2::SetPicture(const std::wstring& name, std::string png) {
    for (auto& [n, bytes] : pictures_)
        if (n == name) {
            bytes = std::move(png);
            return;
        }
    pictures_.emplace_back(name, std::move(png));
}

namespace {

LibraryPathFinder g_libraryFinder = nullptr;

// The library form "<name>rest" made a plain path: text before "<", the library's folder, the
// rest. "@name" is the profile folder of that name under the program folder. Unchanged without
// a "<" or when the last ">" does not follow it; empty when ">" ends the text or the library is
// not known.
std::wstring resolveLibraryForm(const std::wstring& path) {
    const std::size_t open = path.find(L'<');
    const std::size_t close = path.rfind(L'>');
    if (open == std::wstring::npos || close == std::wstring::npos || close < open)
        return path;
    if (close + 1 == path.size())
        return {};
    const std::wstring name = path.substr(open + 1, close - open - 1);
    const std::wstring rest = path.substr(close + 1);
    if (!name.empty() && name.front() == L'@') {
        const std::wstring profiles = DVAppendProgramPath(L"profiles", 0, false);
        return profiles + L"\\" + name.substr(1) + L"\\" + rest;
    }
    const std::wstring folder = g_libraryFinder ? g_libraryFinder(name) : std::wstring();
    if (folder.empty())
        return {};
    return path.substr(0, open) + folder + rest;
}

} // namespace

void SetLibraryPathFinder(LibraryPathFinder finder) {
    g_libraryFinder = finder;
}

std::wstring DravikDocument2::FindPathName(const std::wstring& path, const std::wstring& baseFolder) {
    const std::wstring resolved = resolveLibraryForm(path);
    if (resolved.empty())
        return {};
    std::error_code ec;
    auto found = [&](const fs::path& candidate) { return fs::is_regular_file(candidate, ec); };
    auto full = [](const fs::path& candidate) {
        std::error_code e;
        return pal::path::fromNative(fs::absolute(candidate, e).lexically_normal());
    };
    const fs::path p = pal::path::toNative(resolved);
    if (p.empty())
        return {};
    if (pal::path::isAbsolute(resolved))
        return found(p) ? full(p) : std::wstring();
    if (!baseFolder.empty()) {
        const fs::path inBase = pal::path::toNative(baseFolder + L"\\" + resolved);
        if (found(inBase))
            return full(inBase);
    }
    return found(p) ? full(p) : std::wstring();
}

} // namespace Dravik

IMPLEMENT_DYNCREATE(CDvw32Doc, CDocument)

namespace {
constexpr UINT kEditUndo = 1115;
constexpr UINT kEditRedo = 1117;

// The name to save a document under, asked in the application's document file dialog; without
// an application, the class library's prompt. `name` is what it opens with, and the answer.
bool PromptSaveName(CString& name, CDocTemplate* docTemplate) {
    DravikServerAppProxy* proxy = DravikServerAppProxy::Instance();
    if (proxy == nullptr) {
        CWinApp* app = AfxGetApp();
        return app != nullptr && app->DoPromptFileName(name, 0, 0, FALSE, docTemplate);
    }
    std::unique_ptr<CDVFileDialog> dialog;
    proxy->CreateDocumentFileDialog(dialog, FileDialogInfo::ForDocuments(false, name, docTemplate), nullptr);
    if (dialog == nullptr || dialog->DoModal() != IDOK)
        return false;
    name = dialog->GetPathName();
    return !name.IsEmpty();
}
} // namespace

BEGIN_MESSAGE_MAP(CDvw32Doc, CDocument)
ON_COMMAND(kEditUndo, &CDvw32Doc::OnEditUndo)
ON_COMMAND(kEditRedo, &CDvw32Doc::OnEditRedo)
ON_UPDATE_COMMAND_UI(kEditUndo, &CDvw32Doc::OnUpdateEditUndo)
ON_UPDATE_COMMAND_UI(kEditRedo, &CDvw32Doc::OnUpdateEditRedo)
END_MESSAGE_MAP()

void CDvw32Doc::OnEditUndo() {
    if (!IsInCommand())
        Cont2D()->Undo();
}

void CDvw32Doc::OnEditRedo() {
    if (!IsInCommand())
        Cont2D()->Redo();
}

void CDvw32Doc::OnUpdateEditUndo(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!IsInCommand() && Cont2D()->CanUndo());
}

void CDvw32Doc::OnUpdateEditRedo(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!IsInCommand() && Cont2D()->CanRedo());
}

CDvw32Doc::CDvw32Doc() : lastAutoSave_(static_cast<std::int64_t>(std::time(nullptr))) {
    // Views show what the content holds now, after every edit, undo and redo.
    Cont2D()->SetChangeListener([this] {
        if (paintBlocked_ || regenDepth_ > 0)
            repaintNeeded_ = true;
        else
            UpdateAllViews(nullptr);
        OnStateChanged();
    });
}

void CDvw32Doc::SetModifiedFlag(BOOL bModified) {
    Cont2D()->SetModified(bModified != FALSE);
    OnStateChanged();
}

// The application shows the document's modified and read-only marks (and what follows from them):
// it is told of a change once, not of every edit.
void CDvw32Doc::OnStateChanged() {
    const bool modified = Cont2D() != nullptr && Cont2D()->IsModified();
    if (modified == toldModified_ && IsReadOnly() == toldReadOnly_)
        return;
    toldModified_ = modified;
    toldReadOnly_ = IsReadOnly();
    if (DravikServerAppProxy* app = DravikServerAppProxy::Instance())
        app->OnChangeDocumentState(this);
}

DVDocRegenContext::DVDocRegenContext(CDvw32Doc* document, bool, bool, bool) : document_(document) {
    if (document_)
        ++document_->regenDepth_;
}

DVDocRegenContext::~DVDocRegenContext() {
    if (!document_ || --document_->regenDepth_ > 0 || document_->paintBlocked_ || !document_->repaintNeeded_)
        return;
    document_->repaintNeeded_ = false;
    document_->UpdateAllViews(nullptr);
}
CDvw32Doc::~CDvw32Doc() {
    UnlockDocumentFile();
    Dravik::DocumentManager::Instance().RemoveDocument(this);
}

void CDvw32Doc::SetPathName(LPCWSTR lpszPathName, BOOL bAddToMRU) {
    if (lpszPathName == nullptr || *lpszPathName == 0) {
        m_strPathName.Empty();
        return;
    }
    CDocument::SetPathName(lpszPathName, bAddToMRU && !g_bOpeningFromOLE);
}

std::wstring CDvw32Doc::GetShortTitle() const {
    const std::wstring title(m_strTitle);
    const std::size_t dot = title.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? title : title.substr(0, dot);
}

int CDvw32Doc::ReleaseHold() {
    if (holds_ > 0)
        --holds_;
    const int left = holds_;
    if (left == 0 && closePending_) {
        closePending_ = false;
        OnCloseDocument(); // may destroy the document
    }
    return left;
}

bool CDvw32Doc::BeginCommand(const std::wstring& name) {
    if (IsInCommand() || name.empty())
        return false;
    command_ = name;
    return true;
}

bool CDvw32Doc::TerminateCommand() {
    if (!IsInCommand())
        return false;
    // A command stopped half-way leaves no open undo block behind it.
    while (Cont2D()->InUndoBlock())
        Cont2D()->end_undo_block();
    command_.clear();
    return true;
}

void CDvw32Doc::PushAction(Dravik::DVAction action) {
    Cont2D()->PushAction(std::move(action));
}

bool CDvw32Doc::DoFileSave(const std::wstring& path, std::wstring* error) {
    if (path.empty()) {
        if (error)
            *error = L"The document \"" + std::wstring(m_strTitle) + L"\" has no file name to save to.";
        return false;
    }
    // A read-only document is saved elsewhere or not at all: its own file stays as it is.
    if (IsReadOnly() && path == std::wstring(m_strPathName)) {
        if (error)
            *error = L"Cannot save \"" + path + L"\": the document is read-only.";
        return false;
    }
    AddHold();
    // The preview is made again at every save, so that browsers show the page as it is kept;
    // a document without an icon of its own gets one drawn from its page.
    if (std::string preview = Dravik::MakePreviewPng(*this); !preview.empty())
        SetPicture(g_szDocPV, std::move(preview));
    if (!GetPicture(g_szDocIcon) || IsFlagSet(Dravik::kDocFlagGeneratedIcon)) {
        if (std::string icon = Dravik::MakeIconPng(*this); !icon.empty()) {
            SetPicture(g_szDocIcon, std::move(icon));
            SetFlag(Dravik::kDocFlagGeneratedIcon);
        }
    }
    const bool saved =
        !Dravik::grb::IsLockedElsewhere(path, lockFd_, error) && Dravik::grb::SaveFile(*this, path, error);
    if (saved) {
        SetPathName(path);
        // Both marks go at once: the application hears of the save once.
        Cont2D()->SetModified(false);
        SetReadOnly(false);
        OnStateChanged();
    }
    ReleaseHold();
    return saved;
}

BOOL CDvw32Doc::DoFileSave() {
    if (m_strPathName.IsEmpty() || IsReadOnly())
        return DoSave(nullptr);
    return DoSave(m_strPathName);
}

BOOL CDvw32Doc::DoSave(LPCWSTR lpszPathName, BOOL bReplace) {
    // Held for the call: a frame closed meanwhile closes the document only when it is done.
    AddHold();
    CString name = lpszPathName != nullptr ? CString(lpszPathName) : CString();
    BOOL saved = FALSE;
    if (name.IsEmpty()) {
        name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
        if (!PromptSaveName(name, m_pDocTemplate))
            name.Empty();
    }
    if (!name.IsEmpty()) {
        saveError_.clear();
        saved = OnSaveDocument(name);
        if (!saved)
            DVMessageBox::Show(saveError_.empty() ? L"Failed to save document." : saveError_.c_str(),
                               MB_OK | MB_ICONEXCLAMATION);
        else if (bReplace)
            SetPathName(name);
    }
    ReleaseHold();
    return saved;
}

BOOL CDvw32Doc::DoFileSaveAs(CDocTemplate*, LPCWSTR lpszName) {
    return DoSave(lpszName && *lpszName ? lpszName : nullptr);
}

BOOL CDvw32Doc::DoFileSaveCopy(LPCWSTR lpszName) {
    CString name = lpszName ? CString(lpszName) : CString();
    if (name.IsEmpty()) {
        name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
        if (!PromptSaveName(name, m_pDocTemplate))
            return FALSE;
    }
    std::wstring error;
    if (!Dravik::grb::IsLockedElsewhere(std::wstring(name), lockFd_, &error) &&
        Dravik::grb::SaveFile(*this, std::wstring(name), &error))
        return TRUE;
    DVLog_Write(DVLogOptionalFailure, "%s", pal::text::toUtf8(error).c_str());
    DVMessageBox::Show(error.c_str(), MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

BOOL CDvw32Doc::DoFileSaveOrsa(LPCWSTR, BOOL) {
    DVLog_Write(DVLogProgress, "\"%s\" not saved to the PDM system: none is connected",
                pal::text::toUtf8(std::wstring(m_strTitle)).c_str());
    return FALSE;
}

BOOL CDvw32Doc::LoadFile(LPCWSTR lpszPathName, int mode) {
    if (lpszPathName == nullptr || GetKind() != Dravik::DocumentKind::Part3D)
        return FALSE;
    CDVCom_Is3D* module3D = CDVCom_Is3D::Instance();
    return module3D != nullptr && module3D->ReadIntoPart(*this, lpszPathName, mode) ? TRUE : FALSE;
}

BOOL CDvw32Doc::SaveAfterCreatingIfNeed() {
    if (m_strPathName.IsEmpty() || !IsModified())
        return TRUE;
    return DoFileSave(static_cast<std::wstring*>(nullptr)) ? TRUE : FALSE;
}

bool CDvw32Doc::LockDocumentFile(const SharedPathName& path) {
    UnlockDocumentFile();
    const fs::path native = pal::path::toNative(path.asCString());
    if (native.empty())
        return false;
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    lockFd_ = fd;
    return true;
}

void CDvw32Doc::UnlockDocumentFile() {
    if (lockFd_ < 0)
        return;
    ::flock(lockFd_, LOCK_UN);
    ::close(lockFd_);
    lockFd_ = -1;
}

BOOL CDvw32Doc::OnOpenDocument(LPCWSTR lpszPathName) {
    std::wstring error;
    auto loaded = Dravik::grb::LoadFile(lpszPathName ? lpszPathName : L"", &error);
    if (!loaded) {
        DVLog_Write(DVLogOptionalFailure, "%s", pal::text::toUtf8(error).c_str());
        return FALSE;
    }
    SetKind(loaded->GetKind());
    SetFlag(~std::uint64_t(0), false);
    SetFlag(loaded->GetFlags());
    SetPictures(loaded->GetPictures());
    const Dravik::DVDocument& content = *loaded->Cont2D();
    Cont2D()->LoadContent(content.GetPages(), content.GetVariables(), content.GetElements());
    Cont2D()->SetCurrentPage(content.GetCurrentPage());
    SetModifiedFlag(FALSE);
    SetReadOnly(loaded->IsReadOnly());
    return TRUE;
}

BOOL CDvw32Doc::OnSaveDocument(LPCWSTR lpszPathName) {
    std::wstring error;
    if (DoFileSave(lpszPathName ? lpszPathName : L"", &error))
        return TRUE;
    DVLog_Write(DVLogOptionalFailure, "%s", pal::text::toUtf8(error).c_str());
    saveError_ = error;
    return FALSE;
}

BOOL CDvw32Doc::OnNewDocument() {
    Cont2D()->ClearContent();
    m_strPathName.Empty();
    return TRUE;
}

void CDvw32Doc::OnCloseDocument() {
    if (closing_)
        return;
    closing_ = true;
    // The frames go now, whatever holds the document; the document itself waits for them.
    const BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    CDocument::OnCloseDocument();
    m_bAutoDelete = autoDelete;
    closing_ = false;
    if (holds_ > 0) {
        closePending_ = true;
        return;
    }
    auto& manager = Dravik::DocumentManager::Instance();
    if (manager.IsManaged(this)) {
        manager.CloseDocument(this); // destroys it
        return;
    }
    manager.RemoveDocument(this);
    if (m_bAutoDelete)
        delete this;
}

CFrameWnd* CDvw32Doc::FindFrame() const {
    for (CView* view : m_viewList)
        if (CFrameWnd* frame = view->GetParentFrame())
            return frame;
    return nullptr;
}

CView* CDvw32Doc::GetActiveView() const {
    CFrameWnd* frame = FindFrame();
    if (!frame)
        return nullptr;
    CView* active = frame->GetActiveView();
    if (active && active->GetDocument() == this)
        return active;
    for (CView* view : m_viewList)
        if (view->GetParentFrame() == frame)
            return view;
    return nullptr;
}

Dravik::ModelVars* CDvw32Doc::GetModelVars() {
    if (!vars_)
        vars_ = std::make_unique<Dravik::ModelVars>(*this);
    return vars_.get();
}
