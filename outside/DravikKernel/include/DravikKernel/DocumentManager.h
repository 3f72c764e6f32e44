// The kernel's list of open documents.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include "DravikKernel/Document.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CDVDocTemplate;
class DVPDMOpenningContext;

// Set by the automation server for the duration of an open it was asked for: a document opened
// meanwhile carries Dravik::kDocFlagOpenedByAutomation and does not join the recent-file list.
extern bool g_bOpeningFromOLE;

// How a document is opened or made; DocumentManager::GetDefaultInitParams gives the defaults.
// The automation server's OpenFileEx sets the first flag (kHidden) when its flag is not 0 and
// the third (kReadOnly) when its mode is 2; its CreateNewFile sets kCreateNew.
struct DocInitParams {
    // Flags.
    static constexpr std::uint32_t kHidden = 0x1;    // no frame is made for the document
    static constexpr std::uint32_t kCreateNew = 0x2; // a new document, from the prototype of `kind`
    static constexpr std::uint32_t kReadOnly = 0x4;  // opened read-only, whatever the file allows
    // Options.
    // A document found open already has its frame brought to the front (a new frame always
    // comes to the front, as document windows do).
    static constexpr std::uint32_t kActivateFrame = 0x1;
    static constexpr std::uint32_t kAddToRecent = 0x2; // the path joins the recent-file list
    static constexpr std::uint32_t kCheckKind = 0x4;   // a file of another kind than `kind` is refused
    // The document may carry the nomenclature data of its PDM opening context.
    static constexpr std::uint32_t kMayCarryNomenclature = 0x8;

    // Where a document made from a prototype is saved; empty leaves it new and unsaved.
    std::wstring pathName;
    // The title of a document left unsaved; empty takes the prototype's short title.
    std::wstring title;
    std::uint32_t flags = 0;
    std::uint32_t options = 0;
    // The kind a new document is made as, and the kind kCheckKind asks for.
    Dravik::DocumentKind kind = Dravik::DocumentKind::Drawing;
    // What the PDM system adds to the opening of the file; none for a file outside it. A
    // read-only context opens the document read-only, and its nomenclature object becomes the
    // document's PDM nomenclature reference.
    std::shared_ptr<DVPDMOpenningContext> pdmContext;
    // For several files opened together: set, the files the PDM system holds checked in are
    // taken for editing; clear, every file it knows is brought up to date.
    bool pdmEdit = false;
};

namespace Dravik {

class DocumentManager {
public:
    static DocumentManager& Instance();

    // The open documents, in the order they were opened.
    std::vector<CDvw32Doc*> GetDocuments() const;
    size_t GetDocumentCount() const;
    bool IsOpen(const CDvw32Doc* document) const;
    // A number given to a document each time it is listed, never given twice in a process; 0
    // when it is not open. A document made later at a closed one's address has another number.
    std::uint64_t GetOpenSerial(const CDvw32Doc* document) const;

    // The document class reports its documents as they open and close. A document is listed
    // once however often it is added; removing one that is not listed does nothing.
    void AddDocument(CDvw32Doc* document);
    void RemoveDocument(CDvw32Doc* document);

    // Opens a document file, or finds it when it is open already (the same full path). A file
    // of another kind than `kind` is refused, unless `kind` is empty. Null with an error naming
    // the file when it does not open; the file is left as it was.
    CDvw32Doc* OpenDocument(const std::wstring& path, std::wstring* error,
                            std::optional<Dravik::DocumentKind> kind = std::nullopt);
    // The open document of that full path, or null.
    CDvw32Doc* FindDocument(const std::wstring& path) const;
    // The path made full (from the current folder, "." and ".." resolved) as documents keep
    // theirs; the path unchanged when it cannot be.
    static std::wstring FullPath(const std::wstring& path);
    // A new, empty document of the kind, unsaved and listed.
    CDvw32Doc* CreateDocument(Dravik::DocumentKind kind, const std::wstring& title);
    // A new document with the prototype's content, saved to params.pathName when one is given
    // (and then no longer modified); the prototype itself is not touched. Null when the
    // prototype does not open or the save fails, with the reason in `error` when given.
    CDvw32Doc* CreateAndSaveNewDocumentFromPrototype(const wchar_t* prototypePath,
                                                     const DocInitParams& params,
                                                     std::wstring* error = nullptr);
    // The defaults of opening: no flags, the frame activated and the path added to the recent
    // list.
    static DocInitParams GetDefaultInitParams();
    // Opens a file, or makes a new document with kCreateNew (from the prototype of params.kind
    // that the settings name), as the parameters say; a document that is not hidden gets a frame
    // through the registered document template when there is one. A document that is open
    // already is found, its frame activated. Null with an error naming the file.
    CDvw32Doc* OpenDocumentFile(const std::wstring& path, const DocInitParams& params, std::wstring* error);
    // The template that makes the frames of the documents it opens (the first CDVDocTemplate
    // made); null for none.
    void SetDocTemplate(CDVDocTemplate* docTemplate);
    CDVDocTemplate* GetDocTemplate() const;

    // Whether the manager made the document and so destroys it when it closes.
    bool IsManaged(const CDvw32Doc* document) const;
    // Unlists a document and, when the manager made it, destroys it. False, and nothing done,
    // while the document is held.
    bool CloseDocument(CDvw32Doc* document);

    // The document the person works in, as the views report it; a document that is unlisted
    // stops being active.
    void SetActiveDocument(CDvw32Doc* document, HWND frame = nullptr);
    CDvw32Doc* GetActiveDocument(HWND frame = nullptr) const;

private:
    DocumentManager() = default;
};

} // namespace Dravik

using Dravik::DocumentManager;

// The active document: of the frame when one is given and it has one, otherwise the last one
// made active anywhere; null when there is none.
CDvw32Doc* DVGetActiveDoc(HWND frame = nullptr);

DV_EXPORTS_END
