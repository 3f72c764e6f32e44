// The registry: one SQLite database in the sandbox (<root>/registry.db) shared by every process
// of the user, with the platform's roots, value types, names compared without case, and errors.
//
// Byte form. Values are stored as the platform stores them: strings (REG_SZ, REG_EXPAND_SZ,
// REG_MULTI_SZ) as UTF-16LE, (length + 1) x 2 bytes with the terminator; REG_DWORD and REG_QWORD
// as 4 and 8 little-endian bytes; REG_BINARY as given. At the functions, string data is the
// caller's wchar_t text, and every string size (cbData in and out, the size ERROR_MORE_DATA
// reports, the longest value of RegQueryInfoKeyW) counts sizeof(wchar_t) bytes per character
// including the terminator: (wcslen(s) + 1) * sizeof(wchar_t), so that the usual
// `DWORD cb = sizeof(buffer)` and `cb / sizeof(wchar_t)` stay right and a buffer is never
// written past its size. Name lengths (cchName, cchClass) count characters.
//
// Each call is one transaction; WAL, synchronous FULL and a busy timeout let the program, a
// restarted copy and the companion programs write at once.
#pragma once

#include "pal/visibility.h"
#include "win/base.h"

DV_EXPORTS_BEGIN

using LSTATUS = LONG;
using REGSAM = DWORD;

namespace pal::reg::detail {
inline HKEY predefined(LONG v) {
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(v));
}
} // namespace pal::reg::detail
inline const HKEY HKEY_CLASSES_ROOT = pal::reg::detail::predefined(static_cast<LONG>(0x80000000));
inline const HKEY HKEY_CURRENT_USER = pal::reg::detail::predefined(static_cast<LONG>(0x80000001));
inline const HKEY HKEY_LOCAL_MACHINE = pal::reg::detail::predefined(static_cast<LONG>(0x80000002));
inline const HKEY HKEY_USERS = pal::reg::detail::predefined(static_cast<LONG>(0x80000003));

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_DWORD_LITTLE_ENDIAN = 4;
constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
constexpr DWORD REG_LINK = 6;
constexpr DWORD REG_MULTI_SZ = 7;
constexpr DWORD REG_QWORD = 11;
constexpr DWORD REG_QWORD_LITTLE_ENDIAN = 11;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_WOW64_64KEY = 0x0100; // WOW6432Node is an ordinary key here; both are ignored
constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
constexpr REGSAM KEY_READ = 0x00020019;
constexpr REGSAM KEY_WRITE = 0x00020006;
constexpr REGSAM KEY_EXECUTE = 0x00020019;
constexpr REGSAM KEY_ALL_ACCESS = 0x000F003F;
constexpr REGSAM MAXIMUM_ALLOWED = 0x02000000;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0x0;
constexpr DWORD REG_OPTION_VOLATILE = 0x1;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr DWORD RRF_RT_REG_NONE = 0x00000001;
constexpr DWORD RRF_RT_REG_SZ = 0x00000002;
constexpr DWORD RRF_RT_REG_EXPAND_SZ = 0x00000004;
constexpr DWORD RRF_RT_REG_BINARY = 0x00000008;
constexpr DWORD RRF_RT_REG_DWORD = 0x00000010;
constexpr DWORD RRF_RT_REG_MULTI_SZ = 0x00000020;
constexpr DWORD RRF_RT_REG_QWORD = 0x00000040;
constexpr DWORD RRF_RT_DWORD = RRF_RT_REG_BINARY | RRF_RT_REG_DWORD;
constexpr DWORD RRF_RT_QWORD = RRF_RT_REG_BINARY | RRF_RT_REG_QWORD;
constexpr DWORD RRF_RT_ANY = 0x0000FFFF;
constexpr DWORD RRF_NOEXPAND = 0x10000000;
constexpr DWORD RRF_ZEROONFAILURE = 0x20000000;

// RegGetValueW with RRF_RT_DWORD or RRF_RT_QWORD on binary data of another width.
constexpr DWORD ERROR_DATATYPE_MISMATCH = 1629;

// Errors as the platform gives them: ERROR_FILE_NOT_FOUND for a missing key or value,
// ERROR_MORE_DATA with the size needed, ERROR_KEY_DELETED on a handle whose key was deleted,
// ERROR_ACCESS_DENIED for a write through a handle without the right or to a read-only key
// (and for RegDeleteKeyW on a key with subkeys), ERROR_BAD_PATHNAME for a subkey path that
// starts with a backslash, ERROR_INVALID_HANDLE for a closed handle.
LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                        REGSAM access, const LPSECURITY_ATTRIBUTES security, PHKEY result,
                        LPDWORD disposition);
LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
LSTATUS RegCloseKey(HKEY key);
LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD cbData);
// Strings come back terminated (an unterminated stored string gets its terminator, counted in
// the size); REG_EXPAND_SZ is expanded and reported as REG_SZ unless RRF_NOEXPAND. A type the
// flags do not allow fails with ERROR_UNSUPPORTED_TYPE; REG_BINARY data read with RRF_RT_DWORD
// (RRF_RT_QWORD) that is not 4 (8) bytes long fails with ERROR_DATATYPE_MISMATCH.
LSTATUS RegGetValueW(HKEY key, LPCWSTR subKey, LPCWSTR valueName, DWORD flags, LPDWORD type, PVOID data,
                     LPDWORD cbData);
LSTATUS RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD cbData);
LSTATUS RegDeleteValueW(HKEY key, LPCWSTR valueName);
// Deletes a key without subkeys.
LSTATUS RegDeleteKeyW(HKEY key, LPCWSTR subKey);
// Deletes the subkey and everything below it; with no subkey, the key's values and subkeys (the
// key itself stays; the handle needs KEY_SET_VALUE). All or nothing: a read-only key anywhere in
// the tree deletes nothing.
LSTATUS RegDeleteTreeW(HKEY key, LPCWSTR subKey);
// Subkeys come in the order of their names without case; values in the order they were created.
LSTATUS RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD cchName, LPDWORD reserved, LPWSTR keyClass,
                      LPDWORD cchClass, LPFILETIME lastWriteTime);
LSTATUS RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, LPDWORD cchValueName, LPDWORD reserved,
                      LPDWORD type, LPBYTE data, LPDWORD cbData);
LSTATUS RegQueryInfoKeyW(HKEY key, LPWSTR keyClass, LPDWORD cchClass, LPDWORD reserved, LPDWORD subKeys,
                         LPDWORD maxSubKeyLen, LPDWORD maxClassLen, LPDWORD values, LPDWORD maxValueNameLen,
                         LPDWORD maxValueLen, LPDWORD securityDescriptor, LPFILETIME lastWriteTime);
LSTATUS RegFlushKey(HKEY key);

// shlwapi: the key and its whole tree; and a copy of a key's values and subkeys (merged) into
// another key.
LSTATUS SHDeleteKeyW(HKEY key, LPCWSTR subKey);
LSTATUS SHCopyKeyW(HKEY source, LPCWSTR subKey, HKEY destination, DWORD reserved);

DV_EXPORTS_END
