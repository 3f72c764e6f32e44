// File lists as the desktop's programs exchange them: text/uri-list (file: URIs, one a line)
// and a file manager's copied files ("copy" or "cut", then the URIs).
#pragma once

#include "win/ole.h"

#include <string>
#include <string_view>
#include <vector>

namespace pal::ole {

struct FileList {
    std::vector<std::wstring> paths; // as the program's own file functions take them
    DWORD effect = DROPEFFECT_COPY;  // DROPEFFECT_MOVE for a file manager's "cut"
};

// The local files a URI list names; other URIs and comment lines are passed over.
std::vector<std::wstring> parseUriList(std::string_view text);
std::string uriList(const std::vector<std::wstring>& paths);
// Nullopt-free: an unknown first line or no files gives an empty list.
FileList parseCopiedFiles(std::string_view text);
std::string copiedFiles(const FileList& files);

} // namespace pal::ole
