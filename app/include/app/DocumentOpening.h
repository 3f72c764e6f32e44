// The open road every caller shares (the shell's open command, the recent-file list, the
// documents browser, the automation server): the extension decides how a path opens, and a
// failed open ends in a message that, for a recent entry, offers to remove it.
#pragma once

#include "pal/visibility.h"

#include <utility>

DV_EXPORTS_BEGIN

class CDocument;

// The opened (or found) document, or null; nothing is thrown. Without `addToRecent` the path
// does not join the recent-file list.
CDocument* OpenDocumentByPath(const wchar_t* path, bool addToRecent = true);
// A work-session file: the document to show, and whether the file was a work session at all.
std::pair<CDocument*, bool> OpenWorkSession(const wchar_t* path);
// Opens a picture as an image document; null when it cannot.
CDocument* OpenImageDocument(const wchar_t* path);

DV_EXPORTS_END
