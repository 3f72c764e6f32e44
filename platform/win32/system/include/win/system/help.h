// The help viewers: the commands of the classic help call and of the HTML help viewer.
#pragma once

#include "pal/visibility.h"
#include "win/base.h"

DV_EXPORTS_BEGIN

// Commands of the classic help call, as applications pass them on.
constexpr UINT HELP_CONTEXT = 0x0001;
constexpr UINT HELP_QUIT = 0x0002;
constexpr UINT HELP_INDEX = 0x0003;
constexpr UINT HELP_FINDER = 0x000B;

// Commands of the HTML help viewer.
constexpr UINT HH_DISPLAY_TOPIC = 0x0000;
constexpr UINT HH_DISPLAY_TOC = 0x0001;
constexpr UINT HH_HELP_CONTEXT = 0x000F;

// Opens a compiled help file ("file.chm" or "file.chm::/topic.htm") at a topic, its contents or a
// context id. Every call is journaled (kind "HtmlHelp": file, command, data). The file must
// exist; it is handed to the person's own viewer, except under the test fixture. There is no
// viewer window of the process's own, so the answer is always null; GetLastError tells whether
// the file was found (ERROR_FILE_NOT_FOUND when not, 0 when it was handed over).
HWND HtmlHelpW(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data);

DV_EXPORTS_END
