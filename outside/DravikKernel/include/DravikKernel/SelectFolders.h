// The kernel's folder chooser.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <string>
#include <vector>

DV_EXPORTS_BEGIN

// Asks the person for folders, starting at `initialFolder`, under `title`. With `mustExist` a
// folder that does not exist is not taken; with `multiple` several may be chosen. The chosen
// folders, each ending with a separator; none when the person cancelled. The question is the
// responder's "FolderDialog" prompt: its answer is a folder path (several separated by "|"),
// 1 (OK: the initial folder) or 2 (Cancel).
std::vector<std::wstring> SelectFolders(HWND owner, const wchar_t* initialFolder, const wchar_t* title,
                                        bool mustExist, bool multiple);

DV_EXPORTS_END
