#include "pal/com/dispatch.h"

#include "pal/com/variant.h"

namespace pal::com {

VARIANT textArgument(std::wstring_view text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return v;
}

VARIANT shortArgument(short value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I2;
    v.iVal = value;
    return v;
}

VARIANT longArgument(LONG value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

HRESULT invoke(IDispatch* on, DISPID id, std::vector<VARIANT> args, VARIANT* result) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr,
                      static_cast<UINT>(reversed.size()), 0};
    Variant ignored;
    if (result)
        VariantInit(result); // the answer is written over, as Invoke's callers expect
    UINT badArgument = 0;
    const HRESULT hr = on->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                  result ? result : &ignored, nullptr, &badArgument);
    for (VARIANT& v : args)
        VariantClear(&v);
    return hr;
}

HRESULT invokeByName(IDispatch* on, const wchar_t* name, std::vector<VARIANT> args, VARIANT* result) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (const HRESULT hr = on->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); FAILED(hr)) {
        for (VARIANT& v : args)
            VariantClear(&v);
        return hr;
    }
    return invoke(on, id, std::move(args), result);
}

} // namespace pal::com
