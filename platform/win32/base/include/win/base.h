// Kernel and user functions of the substitute's base: handles and waits, time, the
// environment, the program's own file, memory, message boxes and formatted strings.
#pragma once

#include "pal/visibility.h"
#include "win/error.h"
#include "win/types.h"

#include <cstdarg>
#include <cstdint>

DV_EXPORTS_BEGIN

// Handles and waits.
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_ABANDONED = 0x80;
constexpr DWORD WAIT_ABANDONED_0 = 0x80;
constexpr DWORD WAIT_IO_COMPLETION = 0xC0;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;
constexpr DWORD DUPLICATE_CLOSE_SOURCE = 1;
constexpr DWORD DUPLICATE_SAME_ACCESS = 2;
// Shared by threads and processes: creation flags, the exit code of one still running, and
// the access right to wait on either.
constexpr DWORD CREATE_SUSPENDED = 0x00000004;
constexpr DWORD STILL_ACTIVE = 259;
constexpr DWORD SYNCHRONIZE = 0x00100000;

BOOL CloseHandle(HANDLE handle);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);
void Sleep(DWORD milliseconds);
HANDLE GetCurrentProcess();
HANDLE GetCurrentThread();
DWORD GetCurrentProcessId();
DWORD GetCurrentThreadId();

// Time.
DWORD GetTickCount();
ULONGLONG GetTickCount64();
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
void GetSystemTime(SYSTEMTIME* time);
// Seconds since 1 January 1970 UTC, the calendar time of the C runtime; also stored through
// `destination` when one is given.
std::int64_t _time64(std::int64_t* destination);
void GetLocalTime(SYSTEMTIME* time);
void GetSystemTimeAsFileTime(FILETIME* time);

// A date as text: `format` is a picture of d, dd, M, MM, yy and yyyy with other characters kept
// (text in single quotes kept as it is), or null for the user's short date ("dd.MM.yyyy" here).
// Returns the characters written with the terminating null, or the size needed when `size` is 0;
// 0 on failure (ERROR_INVALID_PARAMETER for an invalid date, ERROR_INSUFFICIENT_BUFFER).
constexpr DWORD DATE_SHORTDATE = 0x00000001;
int GetDateFormatW(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR format, LPWSTR out, int size);

// Environment.
DWORD GetEnvironmentVariableW(LPCWSTR name, LPWSTR buffer, DWORD size);
BOOL SetEnvironmentVariableW(LPCWSTR name, LPCWSTR value);
DWORD ExpandEnvironmentStringsW(LPCWSTR source, LPWSTR destination, DWORD size);

// The running program. Only the program itself (null module) is known here; modules loaded
// by name answer through the module layer.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);

// File attributes.
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x2;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x4;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
DWORD GetFileAttributesW(LPCWSTR path);

// Known folders.
constexpr int CSIDL_PERSONAL = 0x0005;
constexpr int CSIDL_APPDATA = 0x001a;
constexpr int CSIDL_LOCAL_APPDATA = 0x001c;
constexpr int CSIDL_COMMON_APPDATA = 0x0023;
constexpr int CSIDL_SYSTEM = 0x0025;
constexpr int CSIDL_FLAG_CREATE = 0x8000;
HRESULT SHGetFolderPathW(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path);
UINT GetSystemDirectoryW(LPWSTR buffer, UINT size);
DWORD GetTempPathW(DWORD size, LPWSTR buffer);

// Memory.
constexpr DWORD MEM_COMMIT = 0x1000;
constexpr DWORD MEM_RESERVE = 0x2000;
constexpr DWORD MEM_DECOMMIT = 0x4000;
constexpr DWORD MEM_RELEASE = 0x8000;
constexpr DWORD PAGE_NOACCESS = 0x01;
constexpr DWORD PAGE_READONLY = 0x02;
constexpr DWORD PAGE_READWRITE = 0x04;
LPVOID VirtualAlloc(LPVOID address, SIZE_T size, DWORD allocationType, DWORD protect);
BOOL VirtualFree(LPVOID address, SIZE_T size, DWORD freeType);

// Formatted strings with Microsoft's rules (see pal/format.h). The count-limited forms
// truncate and return -1 when the buffer is too small; the _s forms always terminate.
int swprintf_s(wchar_t* buffer, size_t count, const wchar_t* format, ...);
int _snwprintf(wchar_t* buffer, size_t count, const wchar_t* format, ...);
int _snwprintf_s(wchar_t* buffer, size_t size, size_t count, const wchar_t* format, ...);
int _vsnwprintf(wchar_t* buffer, size_t count, const wchar_t* format, va_list args);
int _vsnwprintf_s(wchar_t* buffer, size_t size, size_t count, const wchar_t* format, va_list args);
int _vscwprintf(const wchar_t* format, va_list args);
int sprintf_s(char* buffer, size_t size, const char* format, ...);
int _snprintf_s(char* buffer, size_t size, size_t count, const char* format, ...);
int _vsnprintf_s(char* buffer, size_t size, size_t count, const char* format, va_list args);
int _vscprintf(const char* format, va_list args);
int wsprintfW(LPWSTR buffer, LPCWSTR format, ...);
constexpr size_t _TRUNCATE = static_cast<size_t>(-1);

// Code pages. The ANSI code page of this substitute is UTF-8, as on a system set to use UTF-8.
constexpr UINT CP_ACP = 0;
constexpr UINT CP_OEMCP = 1;
constexpr UINT CP_UTF8 = 65001;
constexpr DWORD WC_ERR_INVALID_CHARS = 0x80;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x8;
// Counts are in wchar_t on the wide side and bytes on the narrow side; -1 means
// null-terminated (and the terminator is then converted and counted too).
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceBytes, LPWSTR destination,
                        int destinationChars);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceChars, LPSTR destination,
                        int destinationBytes, LPCSTR defaultChar, LPBOOL usedDefaultChar);

// String comparison. lstrcmpiW compares without regard to case (a null string sorts first);
// CompareStringOrdinal compares code unit by code unit, folding to upper case when asked, and
// answers CSTR_LESS_THAN, CSTR_EQUAL or CSTR_GREATER_THAN, or 0 for a bad argument. A count
// of -1 means null-terminated.
int lstrcmpiW(LPCWSTR a, LPCWSTR b);
int lstrcmpW(LPCWSTR a, LPCWSTR b);
constexpr int CSTR_LESS_THAN = 1;
constexpr int CSTR_EQUAL = 2;
constexpr int CSTR_GREATER_THAN = 3;
int CompareStringOrdinal(LPCWSTR a, int countA, LPCWSTR b, int countB, BOOL ignoreCase);

DV_EXPORTS_END
