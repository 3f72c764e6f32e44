// The kernel's list of open documents.
#pragma once

#include "pal/visibility.h"

#include <cstddef>
#include <vector>

DV_EXPORTS_BEGIN

class CDvw32Doc;

// How a new document is made; the defaults are the kernel's.
struct DocInitParams {};

namespace Dravik {

class DocumentManager {
public:
    static DocumentManager& Instance();

    // The open documents, in the order they were opened.
    std::vector<CDvw32Doc*> GetDocuments() const;
    size_t GetDocumentCount() const;
    bool IsOpen(const CDvw32Doc* document) const;

    // The document class reports its documents as they open and close. A document is listed
    // once however often it is added; removing one that is not listed does nothing.
    void AddDocument(CDvw32Doc* document);
    void RemoveDocument(CDvw32Doc* document);

    // Creates a document from the prototype file and saves it; null when none was made.
    CDvw32Doc* CreateAndSaveNewDocumentFromPrototype(const wchar_t* prototypePath,
                                                     const DocInitParams& params);

private:
    DocumentManager() = default;
};

} // namespace Dravik

using Dravik::DocumentManager;

DV_EXPORTS_END
