// Globally unique identifiers: class ids, interface ids, and their text form
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#pragma once

#include "pal/visibility.h"
#include "win/error.h"
#include "win/types.h"

#include <cstring>
#include <functional>
#include <string>

DV_EXPORTS_BEGIN

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using LPGUID = GUID*;
using LPIID = IID*;
using LPCLSID = CLSID*;

using OLECHAR = wchar_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;

inline bool IsEqualGUID(REFGUID a, REFGUID b) {
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}
inline bool IsEqualIID(REFIID a, REFIID b) {
    return IsEqualGUID(a, b);
}
inline bool IsEqualCLSID(REFCLSID a, REFCLSID b) {
    return IsEqualGUID(a, b);
}
inline bool operator==(REFGUID a, REFGUID b) {
    return IsEqualGUID(a, b);
}

template <> struct std::hash<GUID> {
    size_t operator()(const GUID& g) const noexcept {
        size_t h = g.Data1 ^ (static_cast<size_t>(g.Data2) << 32) ^ (static_cast<size_t>(g.Data3) << 48);
        for (BYTE b : g.Data4)
            h = h * 131 + b;
        return h;
    }
};

inline constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr IID IID_NULL = GUID_NULL;
inline constexpr CLSID CLSID_NULL = GUID_NULL;
inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3);
constexpr HRESULT CO_E_IIDSTRING = static_cast<HRESULT>(0x800401F4);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154);
constexpr HRESULT REGDB_E_READREGDB = static_cast<HRESULT>(0x80040150);

// Writes the braced text form (38 characters and a terminator). Returns the number of
// characters written including the terminator, or 0 when `cchMax` is less than 39.
int StringFromGUID2(REFGUID guid, LPOLESTR buffer, int cchMax);
// Parses the braced text form, hex digits of either case. Anything else is CO_E_IIDSTRING.
HRESULT IIDFromString(LPCOLESTR text, LPIID iid);
// The braced form as above; text without a brace is taken as a ProgID and looked up in the
// class registry (CLSIDFromProgID). A malformed braced form is CO_E_CLASSSTRING.
HRESULT CLSIDFromString(LPCOLESTR text, LPCLSID clsid);

// The class registry under HKEY_CLASSES_ROOT: "<ProgID>\CLSID" and "CLSID\{...}\ProgID".
// Both answer REGDB_E_CLASSNOTREG (CO_E_CLASSSTRING for a bad stored class id) when the
// entry is missing. ProgIDFromCLSID returns memory to be freed with CoTaskMemFree.
HRESULT CLSIDFromProgID(LPCOLESTR progId, LPCLSID clsid);
HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* progId);

// The task allocator: blocks that cross the interface boundary and are freed by the receiver.
LPVOID CoTaskMemAlloc(SIZE_T bytes);
void CoTaskMemFree(LPVOID block);

namespace pal::com {
// The braced text form as a string, for keys and file names.
std::wstring guidToString(REFGUID guid);
} // namespace pal::com

DV_EXPORTS_END
