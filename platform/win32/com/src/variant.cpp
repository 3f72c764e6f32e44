// Variants: lifetime (init, clear, copy) and conversion between the automation types.
// Conversions follow the platform: doubles round half to even into integers, out-of-range
// values are DISP_E_OVERFLOW, true is -1, and text is read and written with a '.' decimal
// point whatever the process locale.
#include "win/com.h"

#include "pal/text.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cwctype>
#include <string>

namespace {

bool isScalar(VARTYPE vt) {
    switch (vt) {
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_BOOL:
    case VT_ERROR:
        return true;
    default:
        return false;
    }
}

bool isKnownBase(VARTYPE vt) {
    return isScalar(vt) || vt == VT_EMPTY || vt == VT_NULL || vt == VT_BSTR || vt == VT_DISPATCH ||
           vt == VT_UNKNOWN || vt == VT_VARIANT;
}

HRESULT checkType(VARTYPE vt) {
    const VARTYPE base = vt & VT_TYPEMASK;
    if ((vt & ~(VT_TYPEMASK | VT_ARRAY | VT_BYREF)) != 0 || !isKnownBase(base))
        return DISP_E_BADVARTYPE;
    if (base == VT_VARIANT && !(vt & (VT_BYREF | VT_ARRAY)))
        return DISP_E_BADVARTYPE;
    if ((base == VT_EMPTY || base == VT_NULL) && vt != base)
        return DISP_E_BADVARTYPE;
    return S_OK;
}

// The value a by-reference variant refers to, as a plain variant that borrows its contents.
HRESULT dereference(const VARIANT* src, VARIANT& out) {
    VariantInit(&out);
    if (!(src->vt & VT_BYREF)) {
        out = *src;
        return S_OK;
    }
    if (!src->byref)
        return E_INVALIDARG;
    const VARTYPE vt = src->vt & ~VT_BYREF;
    if (vt == VT_VARIANT)
        return dereference(src->pvarVal, out);
    out.vt = vt;
    if (vt & VT_ARRAY) {
        out.parray = *src->pparray;
        return S_OK;
    }
    switch (vt) {
    case VT_I2:
        out.iVal = *src->piVal;
        break;
    case VT_BOOL:
        out.boolVal = *src->pboolVal;
        break;
    case VT_I4:
    case VT_ERROR:
        out.lVal = *src->plVal;
        break;
    case VT_R4:
        out.fltVal = *src->pfltVal;
        break;
    case VT_R8:
        out.dblVal = *src->pdblVal;
        break;
    case VT_BSTR:
        out.bstrVal = *src->pbstrVal;
        break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
        out.pdispVal = *src->ppdispVal;
        break;
    default:
        return DISP_E_BADVARTYPE;
    }
    return S_OK;
}

bool asDouble(const VARIANT& v, double& d) {
    switch (v.vt) {
    case VT_EMPTY:
        d = 0;
        return true;
    case VT_I2:
        d = v.iVal;
        return true;
    case VT_I4:
        d = v.lVal;
        return true;
    case VT_R4:
        d = v.fltVal;
        return true;
    case VT_R8:
        d = v.dblVal;
        return true;
    case VT_BOOL:
        d = v.boolVal ? -1 : 0;
        return true;
    default:
        return false;
    }
}

std::wstring trim(std::wstring_view s) {
    size_t b = 0, e = s.size();
    while (b < e && std::iswspace(static_cast<wint_t>(s[b])))
        ++b;
    while (e > b && std::iswspace(static_cast<wint_t>(s[e - 1])))
        --e;
    return std::wstring(s.substr(b, e - b));
}

// A decimal number with optional sign, fraction and exponent; nothing else.
HRESULT parseNumber(BSTR text, double& d) {
    const std::wstring t = trim(std::wstring_view(text ? text : L"", SysStringLen(text)));
    std::string narrow;
    for (wchar_t c : t) {
        if (!((c >= L'0' && c <= L'9') || c == L'.' || c == L'+' || c == L'-' || c == L'e' || c == L'E'))
            return DISP_E_TYPEMISMATCH;
        narrow += static_cast<char>(c);
    }
    size_t start = 0;
    bool negative = false;
    if (!narrow.empty() && (narrow[0] == '+' || narrow[0] == '-')) {
        negative = narrow[0] == '-';
        start = 1;
    }
    if (start >= narrow.size() || narrow[start] == '+' || narrow[start] == '-')
        return DISP_E_TYPEMISMATCH;
    const char* first = narrow.data() + start;
    const char* last = narrow.data() + narrow.size();
    auto [end, ec] = std::from_chars(first, last, d);
    if (end != last)
        return DISP_E_TYPEMISMATCH;
    if (ec == std::errc::result_out_of_range)
        return DISP_E_OVERFLOW;
    if (ec != std::errc())
        return DISP_E_TYPEMISMATCH;
    if (negative)
        d = -d;
    return S_OK;
}

std::wstring formatDouble(double d, int precision) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::general, precision);
    std::wstring out;
    for (const char* p = buffer; p < end; ++p)
        out += static_cast<wchar_t>(std::toupper(static_cast<unsigned char>(*p)));
    return out;
}

HRESULT toInteger(double d, double lo, double hi, long long& out) {
    if (!std::isfinite(d))
        return DISP_E_OVERFLOW;
    // Half-way values go to the even neighbour.
    const double r = d - std::floor(d) == 0.5 ? 2.0 * std::round(d / 2.0) : std::round(d);
    if (r < lo || r > hi)
        return DISP_E_OVERFLOW;
    out = static_cast<long long>(r);
    return S_OK;
}

HRESULT toText(const VARIANT& v, USHORT flags, VARIANT& out) {
    std::wstring s;
    switch (v.vt) {
    case VT_EMPTY:
        break;
    case VT_I2:
        s = std::to_wstring(v.iVal);
        break;
    case VT_I4:
        s = std::to_wstring(v.lVal);
        break;
    case VT_R4:
        s = formatDouble(v.fltVal, 7);
        break;
    case VT_R8:
        s = formatDouble(v.dblVal, 15);
        break;
    case VT_BOOL:
        if (flags & VARIANT_ALPHABOOL)
            s = v.boolVal ? L"True" : L"False";
        else
            s = v.boolVal ? L"-1" : L"0";
        break;
    case VT_BSTR:
        out.vt = VT_BSTR;
        out.bstrVal = SysAllocStringLen(v.bstrVal, SysStringLen(v.bstrVal));
        return out.bstrVal || !v.bstrVal ? S_OK : E_OUTOFMEMORY;
    default:
        return DISP_E_TYPEMISMATCH;
    }
    out.vt = VT_BSTR;
    out.bstrVal = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
    return out.bstrVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT toNumberOrBool(const VARIANT& v, VARTYPE vt, VARIANT& out) {
    double d = 0;
    if (v.vt == VT_BSTR) {
        const std::wstring t = trim(std::wstring_view(v.bstrVal ? v.bstrVal : L"", SysStringLen(v.bstrVal)));
        if (pal::text::equalsNoCase(t, L"True"))
            d = -1;
        else if (pal::text::equalsNoCase(t, L"False"))
            d = 0;
        else if (HRESULT hr = parseNumber(v.bstrVal, d); FAILED(hr))
            return hr;
    } else if (!asDouble(v, d)) {
        return DISP_E_TYPEMISMATCH;
    }
    long long i = 0;
    HRESULT hr = S_OK;
    switch (vt) {
    case VT_I2:
        hr = toInteger(d, -32768.0, 32767.0, i);
        out.iVal = static_cast<SHORT>(i);
        break;
    case VT_I4:
        hr = toInteger(d, -2147483648.0, 2147483647.0, i);
        out.lVal = static_cast<LONG>(i);
        break;
    case VT_R4:
        if (std::isfinite(d) && std::fabs(d) > FLT_MAX)
            return DISP_E_OVERFLOW;
        out.fltVal = static_cast<float>(d);
        break;
    case VT_R8:
        out.dblVal = d;
        break;
    case VT_BOOL:
        out.boolVal = d != 0 ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    default:
        return DISP_E_BADVARTYPE;
    }
    if (SUCCEEDED(hr))
        out.vt = vt;
    return hr;
}

// Reads an object's value property for a conversion.
HRESULT valueOf(IDispatch* object, USHORT flags, VARIANT& value) {
    if (!object || (flags & VARIANT_NOVALUEPROP))
        return DISP_E_TYPEMISMATCH;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VariantInit(&value);
    HRESULT hr = object->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                &value, nullptr, nullptr);
    return FAILED(hr) ? DISP_E_TYPEMISMATCH : S_OK;
}

HRESULT convert(const VARIANT& v, USHORT flags, VARTYPE vt, VARIANT& out, int depth) {
    if (v.vt == vt)
        return VariantCopy(&out, &v);
    if ((v.vt & VT_ARRAY) || (vt & VT_ARRAY))
        return DISP_E_TYPEMISMATCH;
    if (v.vt == VT_NULL)
        return DISP_E_TYPEMISMATCH;
    if (v.vt == VT_DISPATCH) {
        if (vt == VT_UNKNOWN && v.pdispVal) {
            v.pdispVal->AddRef();
            out.vt = VT_UNKNOWN;
            out.punkVal = v.pdispVal;
            return S_OK;
        }
        if (depth > 0)
            return DISP_E_TYPEMISMATCH;
        VARIANT value;
        if (HRESULT hr = valueOf(v.pdispVal, flags, value); FAILED(hr))
            return hr;
        HRESULT hr = convert(value, flags, vt, out, depth + 1);
        VariantClear(&value);
        return hr;
    }
    switch (vt) {
    case VT_EMPTY:
        out.vt = VT_EMPTY;
        return S_OK;
    case VT_NULL:
    case VT_DISPATCH:
    case VT_UNKNOWN:
    case VT_ERROR:
        return DISP_E_TYPEMISMATCH;
    case VT_BSTR:
        return toText(v, flags, out);
    default:
        return toNumberOrBool(v, vt, out);
    }
}

} // namespace

void VariantInit(VARIANTARG* v) {
    v->vt = VT_EMPTY;
    v->wReserved1 = v->wReserved2 = v->wReserved3 = 0;
    v->dblVal = 0;
}

HRESULT VariantClear(VARIANTARG* v) {
    if (!v)
        return E_INVALIDARG;
    if (HRESULT hr = checkType(v->vt); FAILED(hr))
        return hr;
    if (!(v->vt & VT_BYREF)) {
        if (v->vt & VT_ARRAY) {
            if (HRESULT hr = SafeArrayDestroy(v->parray); FAILED(hr))
                return hr;
        } else if (v->vt == VT_BSTR) {
            SysFreeString(v->bstrVal);
        } else if ((v->vt == VT_DISPATCH || v->vt == VT_UNKNOWN) && v->punkVal) {
            v->punkVal->Release();
        }
    }
    VariantInit(v);
    return S_OK;
}

HRESULT VariantCopy(VARIANTARG* dest, const VARIANTARG* src) {
    if (!dest || !src)
        return E_INVALIDARG;
    if (HRESULT hr = checkType(src->vt); FAILED(hr))
        return hr;
    if (dest == src)
        return S_OK;
    VARIANT copy;
    VariantInit(&copy);
    copy.vt = src->vt;
    copy.dblVal = src->dblVal; // the whole union
    if (!(src->vt & VT_BYREF)) {
        if (src->vt & VT_ARRAY) {
            if (HRESULT hr = SafeArrayCopy(src->parray, &copy.parray); FAILED(hr))
                return hr;
        } else if (src->vt == VT_BSTR && src->bstrVal) {
            copy.bstrVal = SysAllocStringLen(src->bstrVal, SysStringLen(src->bstrVal));
            if (!copy.bstrVal)
                return E_OUTOFMEMORY;
        } else if ((src->vt == VT_DISPATCH || src->vt == VT_UNKNOWN) && src->punkVal) {
            src->punkVal->AddRef();
        }
    }
    if (HRESULT hr = VariantClear(dest); FAILED(hr)) {
        VariantClear(&copy);
        return hr;
    }
    *dest = copy;
    return S_OK;
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANTARG* src) {
    if (!dest || !src)
        return E_INVALIDARG;
    if (HRESULT hr = checkType(src->vt); FAILED(hr))
        return hr;
    VARIANT value;
    if (HRESULT hr = dereference(src, value); FAILED(hr))
        return hr;
    VARIANT copy;
    VariantInit(&copy);
    if (HRESULT hr = VariantCopy(&copy, &value); FAILED(hr))
        return hr;
    VariantClear(dest);
    *dest = copy;
    return S_OK;
}

HRESULT VariantChangeType(VARIANTARG* dest, const VARIANTARG* src, USHORT flags, VARTYPE vt) {
    if (!dest || !src)
        return E_INVALIDARG;
    if (HRESULT hr = checkType(src->vt); FAILED(hr))
        return hr;
    if (HRESULT hr = checkType(vt); FAILED(hr))
        return hr;
    if (vt & VT_BYREF)
        return DISP_E_TYPEMISMATCH;
    VARIANT value;
    if (HRESULT hr = dereference(src, value); FAILED(hr))
        return hr;
    VARIANT out;
    VariantInit(&out);
    if (HRESULT hr = convert(value, flags, vt, out, 0); FAILED(hr))
        return hr;
    // The source may be the destination: its old contents go only now.
    VariantClear(dest);
    *dest = out;
    return S_OK;
}
