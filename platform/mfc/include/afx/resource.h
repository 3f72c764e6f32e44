// String resources. Each module (program or shared library) declares its string table in
// code, once:
//
//   static const AFX_STRING_RESOURCE kStrings[] = {{AFX_IDS_APP_TITLE, L"Title"}, {12, L"..."}};
//   AFX_STRING_TABLE(kStrings);
//
// The table is registered while the module is loaded. LoadString looks in the resource module
// (AfxSetResourceHandle) first, then in every module's table in the order they were loaded.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <cstddef>
#include <iterator>
#include <string>

DV_EXPORTS_BEGIN

struct AFX_STRING_RESOURCE {
    UINT nID;
    const wchar_t* lpszText;
};

namespace pal::mfc {

class StringTable {
public:
    StringTable(const void* anchor, const AFX_STRING_RESOURCE* entries, size_t count);
    ~StringTable();
    StringTable(const StringTable&) = delete;
    StringTable& operator=(const StringTable&) = delete;

private:
    const AFX_STRING_RESOURCE* entries_;
};

// A module whose strings are made rather than listed answers through a source: asked, in the
// order the sources were made, for an id that no table holds. It stays while the object lives.
class StringSource {
public:
    using Lookup = bool (*)(UINT id, std::wstring& text);
    explicit StringSource(Lookup lookup);
    ~StringSource();
    StringSource(const StringSource&) = delete;
    StringSource& operator=(const StringSource&) = delete;

private:
    Lookup lookup_;
};

// The module (shared object or program) that holds `address`.
HINSTANCE moduleOf(const void* address);

} // namespace pal::mfc

#define AFX_STRING_TABLE(entries)                                                                            \
    static const ::pal::mfc::StringTable dvStringTable_##entries(&(entries), (entries), std::size(entries))

HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
// Copies string resource nID into lpszBuf (at most nMaxBuf characters with the terminator);
// returns its length, 0 when there is no such string.
int AfxLoadString(UINT nID, LPWSTR lpszBuf, UINT nMaxBuf = 256);

DV_EXPORTS_END
