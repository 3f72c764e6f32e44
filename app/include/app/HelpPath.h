// Where the help file lies: the folder the settings name, else the one set-up recorded for the
// machine, else the folder of the separately installed help.
#pragma once

#include "pal/visibility.h"

#include <string>

class CWinApp;

DV_EXPORTS_BEGIN

namespace dvapp {

inline constexpr wchar_t kHelpFileName[] = L"Dravik.chm";

// A file in a help folder: a backslash between them unless the folder ends in a separator.
std::wstring HelpFileIn(const std::wstring& folder, const wchar_t* fileName = kHelpFileName);

// "Help" / "Path" of the application's settings; when empty, set-up's "SetupHelpPath" of the
// machine (then kept in the settings). A folder that does not begin with A or B (a floppy drive
// in its day) joins the PATH and gives the help file. When that file does not exist, the
// installed help's "SetupDirectory" for the language gives it. Empty when nothing does.
std::wstring FindHelpFile(CWinApp& app, const std::wstring& company, const std::wstring& registryName,
                          const std::wstring& language);

} // namespace dvapp

DV_EXPORTS_END
