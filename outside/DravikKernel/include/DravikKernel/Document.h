// A kernel document: what it is, where it lives, its flags and holds, and the command that
// runs on it. Its content (pages, elements, variables, undo) is its 2D container, Cont2D().
#pragma once

#include "Compression/SharedPathName.h"
#include "DravikKernel/DVDocument.h"
#include "DravikKernel/PropertySet.h"
#include "afx/document.h"
#include "pal/visibility.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

DV_EXPORTS_BEGIN

struct DocumentParameters;
class ModelDefaultParameterProvider;

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

// Document flags of the library's own (the shell's flags keep the low bits).
// The icon kept with the document was drawn from its page and is drawn again at every save.
inline constexpr std::uint64_t kDocFlagGeneratedIcon = std::uint64_t(1) << 56;
// The document was opened for an automation client (g_bOpeningFromOLE was set).
inline constexpr std::uint64_t kDocFlagOpenedByAutomation = std::uint64_t(1) << 57;
// The last save could not store the geometry whole; the shell tells the person once.
inline constexpr std::uint64_t kDocFlagGeometrySaveFailed = std::uint64_t(1) << 58;

class ModelVars;
struct DocumentPdmLink;

// Gives the folder of the library of a name in the active configuration of the documents
// browser, empty when there is none. The browser registers it; the kernel does not know the
// libraries itself.
using LibraryPathFinder = std::wstring (*)(const std::wstring& libraryName);
void SetLibraryPathFinder(LibraryPathFinder finder);

class DravikDocument2 {
public:
    DravikDocument2();
    virtual ~DravikDocument2();
    DravikDocument2(const DravikDocument2&) = delete;
    DravikDocument2& operator=(const DravikDocument2&) = delete;

    // A step of the person's as the action history keeps it: a command (kind 0, its id, an
    // empty text and the auto-menu hint of its button) or a key press (kind 1, the virtual key
    // and the modifier mask: 4 Shift, 2 Alt, 1 Ctrl).
    struct Action {
        int kind = 0;
        unsigned id = 0;
        std::wstring text;
        std::wstring hint;
        unsigned modifiers = 0;
    };
    const std::vector<Action>& GetActionHistory() const { return actions_; }
    void PushAction(const Action& action) { actions_.push_back(action); }

    DocumentKind GetKind() const { return kind_; }
    void SetKind(DocumentKind kind) { kind_ = kind; }
    bool Is2D() const;
    bool IsFragmentDocument() const { return kind_ == DocumentKind::Fragment; }

    // The 2D content; null for a document that has none (SetHas2DContent(false): a document
    // the 3D module holds alone).
    DVDocument* Cont2D() { return has2D_ ? &content_ : nullptr; }
    const DVDocument* Cont2D() const { return has2D_ ? &content_ : nullptr; }
    void SetHas2DContent(bool has) { has2D_ = has; }

    // The element names found in the document, the latest first. Kept while the document is
    // open; a search reorders it.
    std::list<std::wstring>& GetNameHistory() { return nameHistory_; }
    const std::list<std::wstring>& GetNameHistory() const { return nameHistory_; }

    bool IsFlagSet(std::uint64_t flag) const { return (flags_ & flag) == flag; }
    void SetFlag(std::uint64_t flag, bool on = true);
    std::uint64_t GetFlags() const { return flags_; }

    bool IsReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);

    // An edit in place: the two documents its parameters name (none outside such an edit).
    void SetEditInPlaceDocuments(const DravikDocument2* first, const DravikDocument2* second) {
        editInPlace_[0] = first;
        editInPlace_[1] = second;
    }
    bool IsEditInPlaceDocument(const DravikDocument2* document) const {
        return document != nullptr && (editInPlace_[0] == document || editInPlace_[1] == document);
    }
    // Whether the document is in an edit in place now.
    bool IsInEditInPlace() const { return editInPlace_[0] != nullptr || editInPlace_[1] != nullptr; }

    // The keywords of the document's properties; empty when it has none.
    const std::vector<std::wstring>& GetKeywordList() const { return keywords_; }
    void SetKeywordList(std::vector<std::wstring> keywords) { keywords_ = std::move(keywords); }

    // The document's own texts, kept in its file's properties section.
    const CDVPropertySet& GetProperties() const { return properties_; }
    void SetProperties(CDVPropertySet properties) { properties_ = std::move(properties); }
    // The properties of the document file at the path, read from its properties section alone;
    // empty texts for a file that cannot be read, is not a document, is damaged there or was
    // written before documents kept properties.
    static CDVPropertySet ReadProperties(const wchar_t* path);

    // The assembly a part document is edited within; none outside such an edit.
    DravikDocument2* GetAssemblyDocument() const { return assembly_; }
    void SetAssemblyDocument(DravikDocument2* assembly) { assembly_ = assembly; }

    // Pictures kept with the document under a name (the preview, the icon): PNG bytes.
    const std::string* GetPicture(const std::wstring& name) const;
    void SetPicture(const std::wstring& name, std::string png);
    void SetPictures(std::vector<std::pair<std::wstring, std::string>> pictures) {
        pictures_ = std::move(pictures);
    }
    const std::vector<std::pair<std::wstring, std::string>>& GetPictures() const { return pictures_; }

    // A full path to an existing file: an absolute path as it is, a relative one against the
    // base folder first and the current folder next. Empty when neither holds the file.
    // A path in library form is resolved first: "<name>rest" is the folder of the library of
    // that name (SetLibraryPathFinder) followed by the rest, with any text before "<" kept in
    // front; "<@name>rest" is the folder "profiles\name" of the program folder. A ">" at the
    // end, or a library nobody knows, finds nothing; a last ">" before the first "<" is no
    // library form.
    static std::wstring FindPathName(const std::wstring& path, const std::wstring& baseFolder = {});

    // The objects of the stored selection and the defaults for new elements (DravikKernel/
    // Parameters.h), made on first use.
    DocumentParameters& GetParameters();
    ModelDefaultParameterProvider& GetDefaultParameters();

    // The document's ties to the PDM system (DravikKernel/DocumentPdm.h): made on first use;
    // FindPdmLink answers null for a document that never had any.
    DocumentPdmLink& GetPdmLink();
    const DocumentPdmLink* FindPdmLink() const { return pdm_.get(); }

protected:
    // The document's modified or read-only state may have changed.
    virtual void OnStateChanged() {}

private:
    std::unique_ptr<DocumentParameters> parameters_;
    std::unique_ptr<DocumentPdmLink> pdm_;
    DocumentKind kind_ = DocumentKind::Drawing;
    std::vector<Action> actions_;
    std::uint64_t flags_ = 0;
    bool readOnly_ = false;
    const DravikDocument2* editInPlace_[2] = {nullptr, nullptr};
    std::vector<std::wstring> keywords_;
    CDVPropertySet properties_;
    DravikDocument2* assembly_ = nullptr;
    DVDocument content_;
    bool has2D_ = true;
    std::list<std::wstring> nameHistory_;
    std::vector<std::pair<std::wstring, std::string>> pictures_;
};

} // namespace Dravik

using Dravik::DravikDocument2;

// The document as the shell holds it: an MFC document whose views are CDVViews.
//
// The library's rules for its life:
// - A document the document manager made belongs to the manager; closing it (OnCloseDocument,
//   or its last view going away) closes its frames and then has the manager destroy it. A
//   document made elsewhere is deleted by MFC's rule (m_bAutoDelete).
// - While a document is held (AddHold), closing it only closes its frames; it is destroyed when
//   the last hold is released. Every save holds the document for its duration.
class CDvw32Doc : public CDocument, public Dravik::DravikDocument2 {
    DECLARE_DYNCREATE(CDvw32Doc)
public:
    CDvw32Doc();
    ~CDvw32Doc() override;

    // The path is the full path, empty for a document never saved; the title is the file name,
    // or the title given to a new document. Setting an empty path keeps the title.
    using CDocument::SetPathName;
    using CDocument::SetTitle;
    void SetPathName(LPCWSTR lpszPathName, BOOL bAddToMRU = TRUE) override;
    void SetPathName(const std::wstring& path) { SetPathName(path.c_str(), FALSE); }
    void SetTitle(const std::wstring& title) { SetTitle(title.c_str()); }
    // The title without its extension.
    std::wstring GetShortTitle() const;

    BOOL IsModified() override { return Cont2D()->IsModified(); }
    bool IsModified() const { return Cont2D()->IsModified(); }
    // The application hears of every change of the modified or read-only state, once.
    void SetModifiedFlag(BOOL bModified = TRUE) override;
    bool IsEditable() const { return !IsReadOnly() && !IsInCommand(); }

    // Holds keep a document alive while someone works with it: the document manager closes no
    // held document, and a close asked for meanwhile happens when the last hold goes.
    int AddHold() { return ++holds_; }
    // The count left; a document whose close waited is closed (and may be gone) at 0.
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
    // Appends a step of the person's to the action history; the undo history stays as it is.
    using DravikDocument2::PushAction;

    // Saves to the path (its own when empty) through the atomic writer. On success the path
    // and title become the new ones and the modified and read-only flags are cleared; on
    // failure everything stays, and `error` names the file. A read-only document is not saved
    // to its own path.
    bool DoFileSave(const std::wstring& path, std::wstring* error);
    bool DoFileSave(std::wstring* error) { return DoFileSave(std::wstring(GetPathName()), error); }
    // MFC's save: its own path, or the person is asked for one (a new or read-only document).
    BOOL DoFileSave() override;
    BOOL DoSave(LPCWSTR lpszPathName, BOOL bReplace = TRUE) override;
    // Save as: under the name, or one the person picks when none is given; the document takes
    // the new path. The template is not used.
    BOOL DoFileSaveAs(CDocTemplate* pTemplate = nullptr, LPCWSTR lpszName = nullptr);
    // A copy under the name (or one the person picks): the document keeps its path and its
    // modified state.
    BOOL DoFileSaveCopy(LPCWSTR lpszName = nullptr);
    // Saving into the PDM system: there is none in this build, so it fails with a log line.
    BOOL DoFileSaveOrsa(LPCWSTR lpszName, BOOL bShowDialog);
    // A file of another format read into a 3D part (mode 1: as the part's body); the geometry is
    // the attached 3D module's to read. FALSE for any other document, without a 3D module or when
    // it does not read the file; the file is only read.
    BOOL LoadFile(LPCWSTR lpszPathName, int mode);
    // A document made from a prototype with a path to go to is saved there once; TRUE when it
    // needed nothing or was saved.
    BOOL SaveAfterCreatingIfNeed();
    // Locks a file for the document (the original of a recovered copy, the document's own file):
    // other processes that lock it find it taken. One lock at a time, released with the
    // document; false when the file does not open or someone holds it.
    bool LockDocumentFile(const SharedPathName& path);
    void UnlockDocumentFile();
    bool IsDocumentFileLocked() const { return lockFd_ >= 0; }

    // Undo (1115) and redo (1117) of the content, as the view hands them on; enabled while
    // there is a step to take and no command or undo block is open.
    void OnEditUndo();
    void OnEditRedo();
    void OnUpdateEditUndo(CCmdUI* pCmdUI);
    void OnUpdateEditRedo(CCmdUI* pCmdUI);

    BOOL OnOpenDocument(LPCWSTR lpszPathName) override;
    // A save that fails tells the person why, naming the file, through DoSave.
    BOOL OnSaveDocument(LPCWSTR lpszPathName) override;
    BOOL OnNewDocument() override;
    void OnCloseDocument() override;
    // A fragment document closes the same way.
    void OnCloseFragment() { OnCloseDocument(); }

    // The first frame showing the document and the view active in it (the first view when the
    // frame has none of the document's active); null when the document has no view.
    CFrameWnd* FindFrame() const;
    CView* GetActiveView() const;

    // Painting: while blocked, changes of the content do not reach the views; they mark the
    // document as needing a repaint instead, which the application answers later
    // (RepaintNeeded(false) and UpdateAllViews). The same happens inside a DVDocRegenContext,
    // whose end updates the views once when something changed.
    void BlockPaint(bool block) { paintBlocked_ = block; }
    bool IsPaintBlocked() const { return paintBlocked_; }
    void RepaintNeeded(bool needed) { repaintNeeded_ = needed; }
    bool IsRepaintNeeded() const { return repaintNeeded_; }

    // The time of the last automatic save, in seconds since 1970; until the first one, the time
    // the document was made or opened, so that a change is saved an interval after it.
    std::int64_t GetLastAutoSaveTime() const { return lastAutoSave_; }
    void SetLastAutoSaveTime(std::int64_t seconds) { lastAutoSave_ = seconds; }

    // The title-block variables as the automation side sees them; owned by the document.
    Dravik::ModelVars* GetModelVars();

protected:
    DECLARE_MESSAGE_MAP()
    void OnStateChanged() override;

private:
    std::wstring saveError_;
    bool toldModified_ = false;
    bool toldReadOnly_ = false;
    std::wstring command_;
    int holds_ = 0;
    bool closePending_ = false;
    bool closing_ = false;
    std::int64_t lastAutoSave_ = 0;
    int lockFd_ = -1;
    bool paintBlocked_ = false;
    bool repaintNeeded_ = false;
    int regenDepth_ = 0;
    friend class DVDocRegenContext;
    std::unique_ptr<Dravik::ModelVars> vars_;
};

// A scope in which a document's content is brought up to date in several steps: its views are
// updated once, when the outermost scope ends, and only when something changed. The flags are
// kept for the callers that pass them: whether to regenerate, quietly, keeping earlier errors.
class DVDocRegenContext {
public:
    explicit DVDocRegenContext(CDvw32Doc* document, bool regenerate = true, bool quiet = false,
                               bool keepErrors = false);
    ~DVDocRegenContext();
    DVDocRegenContext(const DVDocRegenContext&) = delete;
    DVDocRegenContext& operator=(const DVDocRegenContext&) = delete;

private:
    CDvw32Doc* document_;
};

DV_EXPORTS_END
