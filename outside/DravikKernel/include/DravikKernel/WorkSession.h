// Work sessions (".grs"): a named set of documents opened together. The file layout is written
// down in FORMAT.md beside the sources; it is not a document file, so ReadDocumentFileInfo
// refuses it with 0x800300FB and the shell's open road hands it to the work-session opening.
#pragma once

#include "DravikKernel/DocumentManager.h"
#include "pal/visibility.h"

#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace Dravik {

struct WorkSession {
    std::wstring name;                   // empty for a session without a name
    std::vector<std::wstring> documents; // full paths, in the order they open
    int active = -1;                     // the document active when it was saved; -1 for none
    bool readOnly = false;               // every document opens read-only
    bool operator==(const WorkSession&) const = default;
};

// The open documents that have a file, the active one marked.
WorkSession CurrentWorkSession(const std::wstring& name);
// Writes the session through the atomic writer; false with an error naming the file.
bool SaveWorkSession(const std::wstring& path, const WorkSession& session, std::wstring* error);
// Reads a session file; false with an error naming the file when it is not a whole session of
// a version this reads. A relative document path is taken from the session file's folder.
bool LoadWorkSession(const std::wstring& path, WorkSession* session, std::wstring* error);
// Opens the documents of a session with the parameters (read-only when the session says so),
// skipping those that do not open (their errors are collected and logged), and brings the
// active one to the front. The documents opened or found open, in order.
std::vector<CDvw32Doc*> OpenWorkSession(const WorkSession& session, const DocInitParams& params,
                                        std::vector<std::wstring>* errors = nullptr);

} // namespace Dravik

DV_EXPORTS_END
