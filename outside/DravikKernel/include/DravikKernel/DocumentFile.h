// The document file (".grb"): its bytes and the reading and writing of it. The layout is
// written down in FORMAT.md beside the sources.
#pragma once

#include "DravikKernel/Document.h"
#include "pal/visibility.h"
#include "win/types.h"

#include <memory>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

namespace Dravik::grb {

// Version 2 added the properties section; version 1 files are still read.
inline constexpr std::uint32_t kFormatVersion = 3;

// The bytes of a document.
std::string Encode(const DravikDocument2& document);
// Reads bytes into a document's kind, flags and content; false with the reason in `error`
// (without the file name) when they are not a whole document of a version this reads.
bool Decode(std::string_view bytes, DravikDocument2& document, std::wstring* error);

// Opens a file as a new document with its path and title; null with an error naming the file.
// The file is never written.
std::unique_ptr<CDvw32Doc> LoadFile(const std::wstring& path, std::wstring* error);
// Writes the document to the path through the atomic writer; false with an error naming the
// file, and the file as it was.
bool SaveFile(const DravikDocument2& document, const std::wstring& path, std::wstring* error);
// Whether another program holds its lock on the file at the path (a lock of the document's own,
// on `ownLock`, does not count; -1 for none); true with an error naming the file and the
// programs the application says hold it. A file that does not exist is locked by nobody.
bool IsLockedElsewhere(const std::wstring& path, int ownLock, std::wstring* error);

} // namespace Dravik::grb

// What a document file says of itself, read from its first bytes without loading it.
struct DocumentFileInfo {
    Dravik::DocumentKind kind = Dravik::DocumentKind::Drawing;
    std::uint32_t version = 0;
    std::uint64_t flags = 0;
};
// S_OK with the information; for a file that cannot be read the storage codes the open
// messages tell apart: 0x80030002 not found, 0x80030003 no such folder, 0x80030005 access
// denied, 0x8003001E a read fault, 0x800300FB not a document of this program (empty, foreign or
// too short), 0x80030105 a document of a newer version, 0x80030109 a document whose header is
// damaged (no version, an unknown kind). A damaged body is found only by loading.
HRESULT ReadDocumentFileInfo(const wchar_t* path, DocumentFileInfo* info);

DV_EXPORTS_END
