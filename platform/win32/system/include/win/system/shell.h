// The shell's launch functions and shlwapi's path functions.
#pragma once

#include "pal/visibility.h"
#include "win/base.h"

DV_EXPORTS_BEGIN

// An item of the shell's namespace: here always a file-system path.
struct ITEMIDLIST;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;
using PCIDLIST_ABSOLUTE = const ITEMIDLIST*;
using PCUITEMID_CHILD = const ITEMIDLIST*;
using PCUITEMID_CHILD_ARRAY = const PCUITEMID_CHILD*;

// ShellExecuteW answers a value above 32 on success, one of these otherwise.
constexpr INT_PTR SE_ERR_FNF = 2;
constexpr INT_PTR SE_ERR_PNF = 3;
constexpr INT_PTR SE_ERR_ACCESSDENIED = 5;
constexpr INT_PTR SE_ERR_OOM = 8;
constexpr INT_PTR SE_ERR_NOASSOC = 31;

constexpr ULONG SEE_MASK_DEFAULT = 0x00000000;
constexpr ULONG SEE_MASK_NOCLOSEPROCESS = 0x00000040;
constexpr ULONG SEE_MASK_FLAG_DDEWAIT = 0x00000100;
constexpr ULONG SEE_MASK_NOASYNC = 0x00000100;
constexpr ULONG SEE_MASK_FLAG_NO_UI = 0x00000400;

struct SHELLEXECUTEINFOW {
    DWORD cbSize;
    ULONG fMask;
    HWND hwnd;
    LPCWSTR lpVerb;
    LPCWSTR lpFile;
    LPCWSTR lpParameters;
    LPCWSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
    void* lpIDList;
    LPCWSTR lpClass;
    HKEY hkeyClass;
    DWORD dwHotKey;
    union {
        HANDLE hIcon;
        HANDLE hMonitor;
    };
    HANDLE hProcess;
};
using LPSHELLEXECUTEINFOW = SHELLEXECUTEINFOW*;

// Every launch is journaled (kind "ShellExecute": verb, file, parameters, directory, show).
// A program ("X.exe", or a file that is executable) is started from its argument vector; a URL,
// folder or document is opened with xdg-open, except under the test fixture, where nothing is
// launched. A missing file or folder that is not a URL fails with SE_ERR_FNF / ERROR_FILE_NOT_FOUND.
HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                        INT show);
// As ShellExecuteW; with SEE_MASK_NOCLOSEPROCESS a started program's process handle is returned
// in hProcess, and for a URL the handle of the xdg-open that opens it (its exit code tells whether
// the page was opened); null for a folder or document opened through xdg-open.
BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info);

// shlwapi. Both separators are accepted; buffers are MAX_PATH characters where the platform
// says so, and a result that would not fit fails.
BOOL PathFileExistsW(LPCWSTR path);
BOOL PathIsRelativeW(LPCWSTR path);
BOOL PathIsURLW(LPCWSTR path);
BOOL PathIsNetworkPathW(LPCWSTR path);
BOOL PathIsDirectoryW(LPCWSTR path);
BOOL PathAppendW(LPWSTR path, LPCWSTR more);
LPWSTR PathCombineW(LPWSTR destination, LPCWSTR folder, LPCWSTR file);
BOOL PathRemoveFileSpecW(LPWSTR path);
LPWSTR PathFindFileNameW(LPCWSTR path);
// The last "." of the file name (a blank after it cancels it), or the terminator.
LPWSTR PathFindExtensionW(LPCWSTR path);
BOOL PathRenameExtensionW(LPWSTR path, LPCWSTR extension);
void PathRemoveExtensionW(LPWSTR path);
LPWSTR PathAddBackslashW(LPWSTR path);
LPWSTR PathRemoveBackslashW(LPWSTR path);
BOOL PathCanonicalizeW(LPWSTR destination, LPCWSTR path);

// The item of a path (freed with ILFree); E_INVALIDARG for an empty or missing path. The bind
// context, the attributes asked for and the attributes out are not used.
HRESULT SHParseDisplayName(LPCWSTR name, void* bindContext, PIDLIST_ABSOLUTE* item, ULONG attributesWanted,
                           ULONG* attributesOut);
void ILFree(PIDLIST_ABSOLUTE item);
// Opens the folder of the item (or the item itself when it is a folder and no children are
// given) in the file manager; journaled as "OpenFolderAndSelectItems" with the path. Selecting
// is left to the file manager.
HRESULT SHOpenFolderAndSelectItems(PCIDLIST_ABSOLUTE folder, UINT count, PCUITEMID_CHILD_ARRAY children,
                                   DWORD flags);

// File operations of the shell. The lists are of full paths, each ending with a terminator and
// the list with one more. Copy and move take each source into the one target folder (or, with
// as many targets as sources and FOF_MULTIDESTFILES, onto its own target path); rename takes
// the one source onto the one target in the same folder. With FOF_ALLOWUNDO a deletion moves
// the items into the sandbox's trash folder ("Trash" under its root), else deletes them. The
// platform asks nothing and shows nothing: an existing target is kept and that item fails with
// ERROR_ALREADY_EXISTS unless FOF_NOCONFIRMATION lets a copy or move replace a file. The
// result is 0 when every item was done, else the error of the first that failed; the items
// before it stay done and fAnyOperationsAborted is set. Each call is journaled
// ("SHFileOperation": operation, from, to).
constexpr UINT FO_MOVE = 1;
constexpr UINT FO_COPY = 2;
constexpr UINT FO_DELETE = 3;
constexpr UINT FO_RENAME = 4;
using FILEOP_FLAGS = WORD;
constexpr FILEOP_FLAGS FOF_MULTIDESTFILES = 0x0001;
constexpr FILEOP_FLAGS FOF_SILENT = 0x0004;
constexpr FILEOP_FLAGS FOF_NOCONFIRMATION = 0x0010;
constexpr FILEOP_FLAGS FOF_ALLOWUNDO = 0x0040;
constexpr FILEOP_FLAGS FOF_NOERRORUI = 0x0400;

struct SHFILEOPSTRUCTW {
    HWND hwnd;
    UINT wFunc;
    LPCWSTR pFrom;
    LPCWSTR pTo;
    FILEOP_FLAGS fFlags;
    BOOL fAnyOperationsAborted;
    LPVOID hNameMappings;
    LPCWSTR lpszProgressTitle;
};
using LPSHFILEOPSTRUCTW = SHFILEOPSTRUCTW*;
int SHFileOperationW(LPSHFILEOPSTRUCTW operation);

DV_EXPORTS_END
