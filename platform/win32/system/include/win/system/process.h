// Processes and anonymous pipes.
//
// A process is started from an argument vector (the command line split by CommandLineToArgvW's
// rules), never through a shell. "X.exe" is the program folder's "X" (pal/binaries.h).
#pragma once

#include "pal/visibility.h"
#include "win/base.h"

DV_EXPORTS_BEGIN

constexpr DWORD STARTF_USESHOWWINDOW = 0x00000001;
constexpr DWORD STARTF_USESTDHANDLES = 0x00000100;

constexpr DWORD DEBUG_PROCESS = 0x00000001;
constexpr DWORD DETACHED_PROCESS = 0x00000008;
constexpr DWORD CREATE_NEW_CONSOLE = 0x00000010;
constexpr DWORD NORMAL_PRIORITY_CLASS = 0x00000020;
constexpr DWORD CREATE_NEW_PROCESS_GROUP = 0x00000200;
constexpr DWORD CREATE_UNICODE_ENVIRONMENT = 0x00000400;
constexpr DWORD CREATE_NO_WINDOW = 0x08000000;

constexpr DWORD PROCESS_TERMINATE = 0x0001;
constexpr DWORD PROCESS_QUERY_INFORMATION = 0x0400;
constexpr DWORD PROCESS_QUERY_LIMITED_INFORMATION = 0x1000;
constexpr DWORD PROCESS_ALL_ACCESS = 0x001FFFFF;

constexpr DWORD HANDLE_FLAG_INHERIT = 0x1;
constexpr DWORD HANDLE_FLAG_PROTECT_FROM_CLOSE = 0x2;

struct STARTUPINFOW {
    DWORD cb;
    LPWSTR lpReserved;
    LPWSTR lpDesktop;
    LPWSTR lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    LPBYTE lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
};
using LPSTARTUPINFOW = STARTUPINFOW*;

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

// The program is `applicationName` when given, else the first argument of the command line.
// A bare name is looked for in the program folder, then the system folder, then PATH; one that
// is found nowhere fails with ERROR_FILE_NOT_FOUND. With STARTF_USESTDHANDLES the child's
// standard handles are the given file or pipe handles (a null one leaves the parent's); the
// parent's other handles never reach the child. The child's GetCommandLineW returns the command
// line as given (the application name when there is none). `environment` (with
// CREATE_UNICODE_ENVIRONMENT a wide block, else a narrow one) and `currentDirectory` apply.
// CREATE_SUSPENDED (4) is not supported (ERROR_NOT_SUPPORTED).
BOOL CreateProcessW(LPCWSTR applicationName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                    LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                    LPVOID environment, LPCWSTR currentDirectory, LPSTARTUPINFOW startupInfo,
                    LPPROCESS_INFORMATION processInformation);
// STILL_ACTIVE (259) while running; the exit status after; the code given to TerminateProcess for a
// process ended by it; 128 + the signal for one ended by another signal.
BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
// Ends the process at once. On the current process (GetCurrentProcess()) nothing else runs.
BOOL TerminateProcess(HANDLE process, UINT exitCode);
// A handle to a running process for waiting and queries; ERROR_INVALID_PARAMETER when there is
// no such process.
HANDLE OpenProcess(DWORD access, BOOL inheritHandle, DWORD processId);
DWORD GetProcessId(HANDLE process);
BOOL GetProcessTimes(HANDLE process, LPFILETIME creation, LPFILETIME exit, LPFILETIME kernel,
                     LPFILETIME user);
// `size` is in characters, in and out; the program's path.
BOOL QueryFullProcessImageNameW(HANDLE process, DWORD flags, LPWSTR exeName, PDWORD size);

// The command line this process was started with: as its parent's CreateProcessW gave it, or
// else its arguments joined by the quoting rules, so CommandLineToArgvW gives them back.
LPWSTR GetCommandLineW();
// An array of `*count` arguments in one block, freed with LocalFree. An empty line gives the
// program's path alone.
LPWSTR* CommandLineToArgvW(LPCWSTR commandLine, int* count);
// This process's start-up information (cb set, no flags: nothing was redirected by a parent
// that the process needs to know of).
void GetStartupInfoW(LPSTARTUPINFOW startupInfo);

constexpr UINT LMEM_FIXED = 0x0000;
constexpr UINT LMEM_ZEROINIT = 0x0040;
constexpr UINT LPTR = LMEM_FIXED | LMEM_ZEROINIT;
HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
HLOCAL LocalFree(HLOCAL memory); // null on success

// Both ends are pipe handles for ReadFile/WriteFile; `size` is a hint.
BOOL CreatePipe(PHANDLE readPipe, PHANDLE writePipe, LPSECURITY_ATTRIBUTES attributes, DWORD size);
// HANDLE_FLAG_INHERIT is kept and reported; here it decides nothing, since only the standard
// handles named at CreateProcessW reach a child.
BOOL SetHandleInformation(HANDLE object, DWORD mask, DWORD flags);
BOOL GetHandleInformation(HANDLE object, LPDWORD flags);

DV_EXPORTS_END
