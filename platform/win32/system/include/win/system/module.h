// Modules loaded by Windows name, and the file versions of modules and programs.
//
// A Windows name maps to a file of the program folder by one rule (pal/binaries.h):
// "X.dll" is the file "X.so", "X.exe" the file "X". File versions come from the version
// manifest that the build writes beside the binaries.
#pragma once

#include "pal/visibility.h"
#include "win/base.h"

DV_EXPORTS_BEGIN

// LoadLibraryExW flags. Only the search flags change anything here.
constexpr DWORD DONT_RESOLVE_DLL_REFERENCES = 0x00000001;
constexpr DWORD LOAD_LIBRARY_AS_DATAFILE = 0x00000002;
constexpr DWORD LOAD_WITH_ALTERED_SEARCH_PATH = 0x00000008;
constexpr DWORD LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR = 0x00000100;
constexpr DWORD LOAD_LIBRARY_SEARCH_APPLICATION_DIR = 0x00000200;
constexpr DWORD LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x00000800;
constexpr DWORD LOAD_LIBRARY_SEARCH_DEFAULT_DIRS = 0x00001000;

// A name without a folder is looked for in the program folder, then in the system folder.
// A missing module fails with ERROR_MOD_NOT_FOUND, a file that is no module with
// ERROR_BAD_EXE_FORMAT. Loading the same module again returns the same handle and counts.
HMODULE LoadLibraryW(LPCWSTR name);
// With LOAD_LIBRARY_SEARCH_SYSTEM32 (and no other search flag) only the system folder is searched.
HMODULE LoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags);
// Exported C names only; an ordinal or a missing name fails with ERROR_PROC_NOT_FOUND.
FARPROC GetProcAddress(HMODULE module, LPCSTR name);
BOOL FreeLibrary(HMODULE module);
// A module already in the process (loaded by name or linked), without counting a load; the
// program itself for a null name.
HMODULE GetModuleHandleW(LPCWSTR name);

// Version resources.
struct VS_FIXEDFILEINFO {
    DWORD dwSignature;
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS;
    DWORD dwFileVersionLS;
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};
constexpr DWORD VS_FFI_SIGNATURE = 0xFEEF04BD;
constexpr DWORD VS_FFI_STRUCVERSION = 0x00010000;
constexpr DWORD VS_FFI_FILEFLAGSMASK = 0x0000003F;
constexpr DWORD VOS_NT_WINDOWS32 = 0x00040004;
constexpr DWORD VFT_UNKNOWN = 0;
constexpr DWORD VFT_APP = 1;
constexpr DWORD VFT_DLL = 2;

// The size of the version block of a file (0 with ERROR_FILE_NOT_FOUND for a missing file,
// 0 with ERROR_RESOURCE_TYPE_NOT_FOUND for a file the manifest does not list). `handle` is
// set to 0.
DWORD GetFileVersionInfoSizeW(LPCWSTR file, LPDWORD handle);
BOOL GetFileVersionInfoW(LPCWSTR file, DWORD handle, DWORD size, LPVOID data);
// Only the root block "\" (a VS_FIXEDFILEINFO) is answered.
BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, UINT* length);

DV_EXPORTS_END
