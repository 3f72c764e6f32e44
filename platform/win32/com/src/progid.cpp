// Class ids by name through the class registry, HKEY_CLASSES_ROOT.
#include "class_registry.h"

#include "win/com.h"
#include "win/system.h"

#include <cstring>

HRESULT CLSIDFromString(LPCOLESTR text, LPCLSID clsid) {
    if (!clsid || !text)
        return E_INVALIDARG;
    if (*text != L'{')
        return SUCCEEDED(CLSIDFromProgID(text, clsid)) ? S_OK : CO_E_CLASSSTRING;
    return SUCCEEDED(IIDFromString(text, clsid)) ? S_OK : CO_E_CLASSSTRING;
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, LPCLSID clsid) {
    if (!progId || !clsid)
        return E_INVALIDARG;
    const auto text = pal::com::detail::classesRootDefault(std::wstring(progId) + L"\\CLSID");
    if (!text)
        return REGDB_E_CLASSNOTREG;
    return SUCCEEDED(IIDFromString(text->c_str(), clsid)) ? S_OK : CO_E_CLASSSTRING;
}

HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* progId) {
    if (!progId)
        return E_INVALIDARG;
    *progId = nullptr;
    const auto text =
        pal::com::detail::classesRootDefault(L"CLSID\\" + pal::com::guidToString(clsid) + L"\\ProgID");
    if (!text || text->empty())
        return REGDB_E_CLASSNOTREG;
    auto* out = static_cast<LPOLESTR>(CoTaskMemAlloc((text->size() + 1) * sizeof(OLECHAR)));
    if (!out)
        return E_OUTOFMEMORY;
    std::memcpy(out, text->c_str(), (text->size() + 1) * sizeof(OLECHAR));
    *progId = out;
    return S_OK;
}
