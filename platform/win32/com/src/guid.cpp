#include "win/com.h"

#include <cstdlib>
#include <cwchar>

namespace {

int hexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// Reads `digits` hex digits; false on any other character (including an early terminator).
bool readHex(LPCOLESTR& p, int digits, std::uint64_t& value) {
    value = 0;
    for (int i = 0; i < digits; ++i) {
        const int d = hexDigit(p[i]);
        if (d < 0)
            return false;
        value = (value << 4) | static_cast<unsigned>(d);
    }
    p += digits;
    return true;
}

bool parseBraced(LPCOLESTR text, GUID& out) {
    if (!text || *text != L'{')
        return false;
    LPCOLESTR p = text + 1;
    std::uint64_t v = 0;
    GUID g{};
    if (!readHex(p, 8, v) || *p++ != L'-')
        return false;
    g.Data1 = static_cast<DWORD>(v);
    if (!readHex(p, 4, v) || *p++ != L'-')
        return false;
    g.Data2 = static_cast<WORD>(v);
    if (!readHex(p, 4, v) || *p++ != L'-')
        return false;
    g.Data3 = static_cast<WORD>(v);
    for (int i = 0; i < 8; ++i) {
        if (i == 2 && *p++ != L'-')
            return false;
        if (!readHex(p, 2, v))
            return false;
        g.Data4[i] = static_cast<BYTE>(v);
    }
    if (p[0] != L'}' || p[1] != 0)
        return false;
    out = g;
    return true;
}

} // namespace

int StringFromGUID2(REFGUID g, LPOLESTR buffer, int cchMax) {
    if (!buffer || cchMax < 39)
        return 0;
    std::swprintf(buffer, static_cast<size_t>(cchMax), L"{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  g.Data1, g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4],
                  g.Data4[5], g.Data4[6], g.Data4[7]);
    return 39;
}

HRESULT IIDFromString(LPCOLESTR text, LPIID iid) {
    if (!iid)
        return E_INVALIDARG;
    return parseBraced(text, *iid) ? S_OK : CO_E_IIDSTRING;
}

LPVOID CoTaskMemAlloc(SIZE_T bytes) {
    return std::malloc(bytes ? bytes : 1);
}
void CoTaskMemFree(LPVOID block) {
    std::free(block);
}

namespace pal::com {

std::wstring guidToString(REFGUID guid) {
    wchar_t buffer[39];
    StringFromGUID2(guid, buffer, 39);
    return buffer;
}

} // namespace pal::com
