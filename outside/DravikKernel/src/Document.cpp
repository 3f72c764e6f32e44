#include "DravikKernel/Document.h"

#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/DocumentImage.h"
#include "DravikKernel/ModelVars.h"

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

CDvw32Doc::CDvw32Doc() = default;
CDvw32Doc::~CDvw32Doc() = default;

void CDvw32Doc::SetPathName(const std::wstring& path) {
    path_ = path;
    if (!path.empty())
        title_ = pal::text::fromUtf8(fs::path(pal::text::toUtf8(path)).filename().string());
}

std::wstring CDvw32Doc::GetShortTitle() const {
    const std::size_t dot = title_.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? title_ : title_.substr(0, dot);
}

int CDvw32Doc::ReleaseHold() {
    if (holds_ > 0)
        --holds_;
    return holds_;
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
            *error = L"The document \"" + title_ + L"\" has no file name to save to.";
        return false;
    }
    // A read-only document is saved elsewhere or not at all: its own file stays as it is.
    if (IsReadOnly() && path == path_) {
        if (error)
            *error = L"Cannot save \"" + path + L"\": the document is read-only.";
        return false;
    }
    // The preview is made again at every save, so that browsers show the page as it is kept.
    if (std::string preview = Dravik::MakePreviewPng(*this); !preview.empty())
        SetPicture(g_szDocPV, std::move(preview));
    if (!Dravik::grb::SaveFile(*this, path, error))
        return false;
    SetPathName(path);
    SetModifiedFlag(false);
    SetReadOnly(false);
    return true;
}

Dravik::ModelVars* CDvw32Doc::GetModelVars() {
    if (!vars_)
        vars_ = std::make_unique<Dravik::ModelVars>(*this);
    return vars_.get();
}
