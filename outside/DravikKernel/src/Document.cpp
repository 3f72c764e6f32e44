#include "DravikKernel/Document.h"

#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/DocumentImage.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/ModelVars.h"

#include "DVDiagnostics/DVLog.h"
#include "afx/frame.h"
#include "afx/view.h"
#include "pal/text.h"

#include <filesystem>

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

bool DravikDocument2::Is2D() const {
    return kind_ == DocumentKind::Drawing || kind_ == DocumentKind::AssemblyDrawing ||
           kind_ == DocumentKind::Fragment || kind_ == DocumentKind::TextDocument;
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

std::wstring DravikDocument2::FindPathName(const std::wstring& path, const std::wstring& baseFolder) {
    if (path.empty())
        return {};
    const fs::path p(pal::text::toUtf8(path));
    std::error_code ec;
    auto found = [&](const fs::path& candidate) { return fs::is_regular_file(candidate, ec); };
    auto full = [](const fs::path& candidate) {
        std::error_code e;
        return pal::text::fromUtf8(fs::absolute(candidate, e).lexically_normal().string());
    };
    if (p.is_absolute())
        return found(p) ? full(p) : std::wstring();
    if (!baseFolder.empty()) {
        const fs::path inBase = fs::path(pal::text::toUtf8(baseFolder)) / p;
        if (found(inBase))
            return full(inBase);
    }
    return found(p) ? full(p) : std::wstring();
}

} // namespace Dravik

IMPLEMENT_DYNCREATE(CDvw32Doc, CDocument)

CDvw32Doc::CDvw32Doc() = default;
CDvw32Doc::~CDvw32Doc() {
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
    const bool saved = Dravik::grb::SaveFile(*this, path, error);
    if (saved) {
        SetPathName(path);
        SetModifiedFlag(false);
        SetReadOnly(false);
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
    const BOOL saved = CDocument::DoSave(lpszPathName, bReplace);
    ReleaseHold();
    return saved;
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
    Cont2D()->SetModified(false);
    SetReadOnly(loaded->IsReadOnly());
    return TRUE;
}

BOOL CDvw32Doc::OnSaveDocument(LPCWSTR lpszPathName) {
    std::wstring error;
    if (DoFileSave(lpszPathName ? lpszPathName : L"", &error))
        return TRUE;
    DVLog_Write(DVLogOptionalFailure, "%s", pal::text::toUtf8(error).c_str());
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
