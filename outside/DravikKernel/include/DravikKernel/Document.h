// A kernel document: what it is, where it lives, its flags and holds, and the command that
// runs on it. Its content (pages, elements, variables, undo) is its 2D container, Cont2D().
#pragma once

#include "DravikKernel/DVDocument.h"
#include "pal/visibility.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

DV_EXPORTS_BEGIN

namespace Dravik {

// The kinds of document; the numbers are the prototype kinds of the settings.
enum class DocumentKind : std::uint32_t {
    Drawing = 0,
    Part3D = 1,
    AssemblyDrawing = 3,
    Assembly3D = 4,
    SheetMetalPart = 5,
    Fragment = 6,
    TextDocument = 7,
};
bool IsKnownDocumentKind(std::uint32_t kind);

class ModelVars;

class DravikDocument2 {
public:
    DravikDocument2();
    virtual ~DravikDocument2();
    DravikDocument2(const DravikDocument2&) = delete;
    DravikDocument2& operator=(const DravikDocument2&) = delete;

    DocumentKind GetKind() const { return kind_; }
    void SetKind(DocumentKind kind) { kind_ = kind; }
    bool Is2D() const;
    bool IsFragmentDocument() const { return kind_ == DocumentKind::Fragment; }

    DVDocument* Cont2D() { return &content_; }
    const DVDocument* Cont2D() const { return &content_; }

    bool IsFlagSet(std::uint64_t flag) const { return (flags_ & flag) == flag; }
    void SetFlag(std::uint64_t flag, bool on = true);
    std::uint64_t GetFlags() const { return flags_; }

    bool IsReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

    // Pictures kept with the document under a name (the preview, the icon): PNG bytes.
    const std::string* GetPicture(const std::wstring& name) const;
    void SetPicture(const std::wstring& name, std::string png);
    void SetPictures(std::vector<std::pair<std::wstring, std::string>> pictures) {
        pictures_ = std::move(pictures);
    }
    const std::vector<std::pair<std::wstring, std::string>>& GetPictures() const { return pictures_; }

    // A full path to an existing file: an absolute path as it is, a relative one against the
    // base folder first and the current folder next. Empty when neither holds the file.
    static std::wstring FindPathName(const std::wstring& path, const std::wstring& baseFolder = {});

private:
    DocumentKind kind_ = DocumentKind::Drawing;
    std::uint64_t flags_ = 0;
    bool readOnly_ = false;
    DVDocument content_;
    std::vector<std::pair<std::wstring, std::string>> pictures_;
};

} // namespace Dravik

using Dravik::DravikDocument2;

// The document as the shell holds it.
class CDvw32Doc : public Dravik::DravikDocument2 {
public:
    CDvw32Doc();
    ~CDvw32Doc() override;

    // The full path; empty for a document never saved.
    const std::wstring& GetPathName() const { return path_; }
    void SetPathName(const std::wstring& path);
    // The file name, or the title given to a new document.
    const std::wstring& GetTitle() const { return title_; }
    void SetTitle(const std::wstring& title) { title_ = title; }
    // The title without its extension.
    std::wstring GetShortTitle() const;

    bool IsModified() const { return Cont2D()->IsModified(); }
    void SetModifiedFlag(bool modified = true) { Cont2D()->SetModified(modified); }
    bool IsEditable() const { return !IsReadOnly() && !IsInCommand(); }

    // Holds keep a document open while someone works with it: the document manager closes no
    // held document.
    int AddHold() { return ++holds_; }
    int ReleaseHold();
    int GetHoldCount() const { return holds_; }

    // The command running on the document, one at a time.
    bool IsInCommand() const { return !command_.empty(); }
    const std::wstring& GetCommandName() const { return command_; }
    bool BeginCommand(const std::wstring& name);
    void EndCommand() { command_.clear(); }
    // Ends a running command; false when none ran.
    bool TerminateCommand();

    // Appends an action already carried out to the undo history and marks the document
    // modified.
    void PushAction(Dravik::DVAction action);

    // Saves to the path (its own when empty) through the atomic writer. On success the path
    // and title become the new ones and the modified and read-only flags are cleared; on
    // failure everything stays, and `error` names the file. A read-only document is not saved
    // to its own path.
    bool DoFileSave(const std::wstring& path, std::wstring* error);
    bool DoFileSave(std::wstring* error = nullptr) { return DoFileSave(path_, error); }

    // The title-block variables as the automation side sees them; owned by the document.
    Dravik::ModelVars* GetModelVars();

private:
    std::wstring path_, title_, command_;
    int holds_ = 0;
    std::unique_ptr<Dravik::ModelVars> vars_;
};

DV_EXPORTS_END
