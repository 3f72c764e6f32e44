// Small helpers of the kernel that the shell calls around its main road: the program's own
// file, command-line quoting, a message send that survives a dead or hung window, file hashes,
// the template folder and the remembered folders of the file dialogs.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <string>
#include <string_view>
#include <vector>

DV_EXPORTS_BEGIN

namespace Dravik {

// The full path of the running program; empty when it cannot be read.
std::wstring GetProcessFileName();

// `argument` as one argument of a command line: always in double quotes, with the backslashes
// and quotes inside escaped so that the platform's command-line parsing gives `argument` back
// unchanged.
std::wstring QuoteCommandLineArgument(std::wstring_view argument);

// The SHA-512 of a file's bytes (64 bytes); false, with `hash` emptied, when it cannot be read.
bool FileHash(const wchar_t* path, std::vector<BYTE>& hash);

// What a path names on disk; a link answers for what it points to.
enum class FileSystemEntryType { None, File, Directory, Other };
FileSystemEntryType GetFileSystemEntryType(const wchar_t* path);

} // namespace Dravik

// Sends a message when `hwnd` is still a window; 0 otherwise. A window of another thread is
// given five seconds and is not waited for when it hangs, so that a dead peer cannot stop the
// sender.
LRESULT DravikSafeSendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Posts a message when `hwnd` is still a window; false otherwise, so that a caller holding a
// window that has gone since learns it rather than posting into nothing.
BOOL DravikPostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The template folder of the settings as a full path: empty means "Prototypes" in the program
// folder (where the bundled prototypes lie), a relative folder lies in the program folder, an absolute one is
// kept.
std::wstring TemplateFolderToFullPath(const wchar_t* folder);

// Where the SHX fonts of drawings are looked for; empty until the application sets it.
namespace SHXFONT {
void set_font_path(const wchar_t* folder);
std::wstring FontPath();
} // namespace SHXFONT

// The folders the file dialogs remember, by dialog key ("DialogOpen", ...), kept in the current
// settings profile under "Paths".
class CPathManager {
public:
    static bool SavePath(const wchar_t* key, const wchar_t* path);
    // The remembered folder; empty when none.
    static std::wstring GetPath(const wchar_t* key);
};

// The application-profile section, below the current settings profile, that holds what the
// colour drop-down remembers.
std::wstring DVGetColorsCurrentSectionName();
// Set while the colour drop-down is open, so that the views leave the focus to it.
extern bool no_set_focus_color_dlg;

DV_EXPORTS_END
