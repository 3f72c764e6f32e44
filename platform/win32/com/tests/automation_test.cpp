// GUID text, strings, variants and safe arrays within one process.
#include "win/com.h"

#include "pal/com/variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

constexpr CLSID kServerClass = {0x34FF1B92, 0x6F6F, 0x11D0, {0x81, 0xC9, 0x00, 0x4F, 0x56, 0x00, 0x9C, 0x20}};

// Counts its references, so copies and clears can be checked.
class Counted : public IDispatch {
public:
    ULONG refs = 1;
    HRESULT QueryInterface(REFIID, void** o) override {
        *o = this;
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }
    HRESULT GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    // The value property is 42.
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* r, EXCEPINFO*, UINT*) override {
        if (id != DISPID_VALUE || !r)
            return DISP_E_MEMBERNOTFOUND;
        r->vt = VT_I4;
        r->lVal = 42;
        return S_OK;
    }
};

std::wstring str(BSTR b) {
    return std::wstring(b, SysStringLen(b));
}

TEST(Guid, TextRoundTrip) {
    wchar_t text[39];
    ASSERT_EQ(StringFromGUID2(kServerClass, text, 39), 39);
    EXPECT_STREQ(text, L"{34FF1B92-6F6F-11D0-81C9-004F56009C20}");
    EXPECT_EQ(StringFromGUID2(kServerClass, text, 38), 0);
    IID back{};
    ASSERT_EQ(IIDFromString(L"{34ff1b92-6f6f-11d0-81c9-004f56009c20}", &back), S_OK);
    EXPECT_TRUE(back == kServerClass);
    EXPECT_FALSE(back == IID_IDispatch);
}

TEST(Guid, MalformedTextIsRefused) {
    for (const wchar_t* bad :
         {L"", L"{34FF1B92-6F6F-11D0-81C9-004F56009C20", L"34FF1B92-6F6F-11D0-81C9-004F56009C20",
          L"{34FF1B92-6F6F-11D0-81C9-004F56009C2G}", L"{34FF1B92-6F6F-11D0-81C9004F56009C20}",
          L"{34FF1B92-6F6F-11D0-81C9-004F56009C20}x", L"{34FF1B92-6F6F-11D0-81C9-004F56009C2}"}) {
        IID out{};
        EXPECT_EQ(IIDFromString(bad, &out), CO_E_IIDSTRING) << "input: " << std::wstring(bad).size();
    }
}

TEST(Bstr, LengthPrefixedWithTerminator) {
    const wchar_t withNull[] = {L'a', 0, L'б', 0x1F600};
    BSTR s = SysAllocStringLen(withNull, 4);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 4u);
    EXPECT_EQ(SysStringByteLen(s), 4 * sizeof(wchar_t));
    EXPECT_EQ(s[4], 0);
    EXPECT_EQ(std::wstring(s, 4), std::wstring(withNull, 4));
    SysFreeString(s);

    BSTR zeroed = SysAllocStringLen(nullptr, 3);
    EXPECT_EQ(std::wstring(zeroed, 3), std::wstring(3, L'\0'));
    SysFreeString(zeroed);

    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);
    // A length whose byte count cannot be stored is refused, not wrapped.
    EXPECT_EQ(SysAllocStringLen(nullptr, 0x7FFFFFFF), nullptr);
}

TEST(Variant, CopyAndClearKeepReferenceCounts) {
    Counted object;
    pal::com::Variant a;
    a.vt = VT_DISPATCH;
    a.pdispVal = &object;
    object.AddRef();
    {
        pal::com::Variant b;
        ASSERT_EQ(VariantCopy(&b, &a), S_OK);
        EXPECT_EQ(object.refs, 3u);
    }
    EXPECT_EQ(object.refs, 2u);
    VariantClear(&a);
    EXPECT_EQ(object.refs, 1u);
    EXPECT_EQ(a.vt, VT_EMPTY);

    pal::com::Variant text, copy;
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"Разраб");
    ASSERT_EQ(VariantCopy(&copy, &text), S_OK);
    EXPECT_NE(copy.bstrVal, text.bstrVal);
    EXPECT_EQ(str(copy.bstrVal), L"Разраб");

    VARIANT bad;
    VariantInit(&bad);
    bad.vt = 0x7FF;
    EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);
}

struct Conversion {
    VARTYPE from;
    double number;       // for numeric sources
    const wchar_t* text; // for string sources
    VARTYPE to;
    HRESULT hr;
    double expected;             // numeric result
    const wchar_t* expectedText; // string result
};

pal::com::Variant source(const Conversion& c) {
    pal::com::Variant v;
    v.vt = c.from;
    switch (c.from) {
    case VT_I2:
        v.iVal = static_cast<SHORT>(c.number);
        break;
    case VT_I4:
        v.lVal = static_cast<LONG>(c.number);
        break;
    case VT_R4:
        v.fltVal = static_cast<float>(c.number);
        break;
    case VT_R8:
        v.dblVal = c.number;
        break;
    case VT_BOOL:
        v.boolVal = c.number != 0 ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case VT_BSTR:
        v.bstrVal = SysAllocString(c.text);
        break;
    default:
        break;
    }
    return v;
}

double numberOf(const VARIANT& v) {
    switch (v.vt) {
    case VT_I2:
        return v.iVal;
    case VT_I4:
        return v.lVal;
    case VT_R4:
        return v.fltVal;
    case VT_R8:
        return v.dblVal;
    case VT_BOOL:
        return v.boolVal;
    default:
        return NAN;
    }
}

TEST(Variant, ChangeTypeTable) {
    const Conversion cases[] = {
        {VT_R8, 2.5, nullptr, VT_I2, S_OK, 2, nullptr}, // half to even
        {VT_R8, 3.5, nullptr, VT_I2, S_OK, 4, nullptr},
        {VT_R8, -2.5, nullptr, VT_I4, S_OK, -2, nullptr},
        {VT_R8, 2.4999, nullptr, VT_I4, S_OK, 2, nullptr},
        {VT_I4, 40000, nullptr, VT_I2, DISP_E_OVERFLOW, 0, nullptr},
        {VT_R8, 1e300, nullptr, VT_R4, DISP_E_OVERFLOW, 0, nullptr},
        {VT_R8, 2147483647.4, nullptr, VT_I4, S_OK, 2147483647, nullptr},
        {VT_R8, 2147483647.6, nullptr, VT_I4, DISP_E_OVERFLOW, 0, nullptr},
        {VT_I2, 5, nullptr, VT_BOOL, S_OK, VARIANT_TRUE, nullptr},
        {VT_BOOL, 1, nullptr, VT_I4, S_OK, -1, nullptr},
        {VT_BSTR, 0, L" -12 ", VT_I2, S_OK, -12, nullptr},
        {VT_BSTR, 0, L"1.5e2", VT_R8, S_OK, 150, nullptr},
        {VT_BSTR, 0, L"true", VT_BOOL, S_OK, VARIANT_TRUE, nullptr},
        {VT_BSTR, 0, L"0", VT_BOOL, S_OK, VARIANT_FALSE, nullptr},
        {VT_BSTR, 0, L"12abc", VT_I4, DISP_E_TYPEMISMATCH, 0, nullptr},
        {VT_BSTR, 0, L"", VT_I4, DISP_E_TYPEMISMATCH, 0, nullptr},
        {VT_BSTR, 0, L"--1", VT_I4, DISP_E_TYPEMISMATCH, 0, nullptr},
        {VT_BSTR, 0, L"99999", VT_I2, DISP_E_OVERFLOW, 0, nullptr},
        {VT_I4, -7, nullptr, VT_BSTR, S_OK, 0, L"-7"},
        {VT_R8, 0.1, nullptr, VT_BSTR, S_OK, 0, L"0.1"},
        {VT_R8, 1e20, nullptr, VT_BSTR, S_OK, 0, L"1E+20"},
        {VT_R4, 0.1, nullptr, VT_BSTR, S_OK, 0, L"0.1"},
        {VT_BOOL, 1, nullptr, VT_BSTR, S_OK, 0, L"-1"},
        {VT_EMPTY, 0, nullptr, VT_I4, S_OK, 0, nullptr},
        {VT_EMPTY, 0, nullptr, VT_BSTR, S_OK, 0, L""},
        {VT_NULL, 0, nullptr, VT_I4, DISP_E_TYPEMISMATCH, 0, nullptr},
        {VT_I4, 1, nullptr, 0x7FF, DISP_E_BADVARTYPE, 0, nullptr},
    };
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE("row " + std::to_string(row++));
        pal::com::Variant in = source(c), out;
        ASSERT_EQ(VariantChangeType(&out, &in, 0, c.to), c.hr);
        if (FAILED(c.hr)) {
            EXPECT_EQ(out.vt, VT_EMPTY);
            continue;
        }
        EXPECT_EQ(out.vt, c.to);
        if (c.expectedText) {
            EXPECT_EQ(str(out.bstrVal), c.expectedText);
        } else if (c.to != VT_EMPTY) {
            EXPECT_EQ(numberOf(out), c.expected);
        }
    }
}

TEST(Variant, ChangeTypeInPlaceByReferenceAndThroughValueProperty) {
    pal::com::Variant v;
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(L"17");
    ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_I4), S_OK); // the old string is freed, not leaked or reused
    EXPECT_EQ(v.vt, VT_I4);
    EXPECT_EQ(v.lVal, 17);

    SHORT cell = 9;
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_I2;
    ref.piVal = &cell;
    pal::com::Variant text;
    ASSERT_EQ(VariantChangeType(&text, &ref, VARIANT_ALPHABOOL, VT_BSTR), S_OK);
    EXPECT_EQ(str(text.bstrVal), L"9");

    Counted object;
    pal::com::Variant o, n;
    o.vt = VT_DISPATCH;
    o.pdispVal = &object;
    object.AddRef();
    ASSERT_EQ(VariantChangeType(&n, &o, 0, VT_R8), S_OK);
    EXPECT_EQ(n.dblVal, 42.0);
    EXPECT_EQ(VariantChangeType(&n, &o, VARIANT_NOVALUEPROP, VT_R8), DISP_E_TYPEMISMATCH);
}

TEST(SafeArray, VectorOfStringsOwnsItsElements) {
    SAFEARRAY* a = SafeArrayCreateVector(VT_BSTR, 1, 3);
    ASSERT_NE(a, nullptr);
    LONG lo = 0, hi = 0;
    EXPECT_EQ(SafeArrayGetLBound(a, 1, &lo), S_OK);
    EXPECT_EQ(SafeArrayGetUBound(a, 1, &hi), S_OK);
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 3);
    EXPECT_EQ(SafeArrayGetLBound(a, 2, &lo), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayGetUBound(a, 0, &hi), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayGetUBound(a, 1, nullptr), E_INVALIDARG);
    EXPECT_EQ(SafeArrayGetLBound(nullptr, 1, &lo), DISP_E_BADINDEX);
    BSTR value = SysAllocString(L"Утверд");
    LONG i = 2;
    EXPECT_EQ(SafeArrayPutElement(a, &i, value), S_OK);
    SysFreeString(value); // the array keeps its own copy
    BSTR got = nullptr;
    EXPECT_EQ(SafeArrayGetElement(a, &i, &got), S_OK);
    EXPECT_EQ(str(got), L"Утверд");
    SysFreeString(got);
    i = 4;
    EXPECT_EQ(SafeArrayGetElement(a, &i, &got), DISP_E_BADINDEX);
    i = 0;
    EXPECT_EQ(SafeArrayPutElement(a, &i, nullptr), DISP_E_BADINDEX);

    SAFEARRAY* copy = nullptr;
    ASSERT_EQ(SafeArrayCopy(a, &copy), S_OK);
    VARTYPE vt = 0;
    EXPECT_EQ(SafeArrayGetVartype(copy, &vt), S_OK);
    EXPECT_EQ(vt, VT_BSTR);
    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(a, &data), S_OK);
    EXPECT_EQ(SafeArrayDestroy(a), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(SafeArrayUnaccessData(a), S_OK);
    EXPECT_EQ(SafeArrayDestroy(a), S_OK);
    i = 2;
    EXPECT_EQ(SafeArrayGetElement(copy, &i, &got), S_OK);
    EXPECT_EQ(str(got), L"Утверд");
    SysFreeString(got);
    EXPECT_EQ(SafeArrayDestroy(copy), S_OK);
}

TEST(SafeArray, TwoDimensionsFirstIndexFastest) {
    SAFEARRAYBOUND bounds[2] = {{2, 0}, {3, 10}};
    SAFEARRAY* a = SafeArrayCreate(VT_I4, 2, bounds);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(SafeArrayGetDim(a), 2u);
    LONG hi = 0;
    SafeArrayGetUBound(a, 2, &hi);
    EXPECT_EQ(hi, 12);
    LONG at[2] = {1, 11};
    LONG value = 77;
    ASSERT_EQ(SafeArrayPutElement(a, at, &value), S_OK);
    EXPECT_EQ(static_cast<LONG*>(a->pvData)[1 + 2 * 1], 77);
    // A variant owning the array destroys it when cleared.
    pal::com::Variant v;
    v.vt = VT_ARRAY | VT_I4;
    v.parray = a;
    EXPECT_EQ(SafeArrayCreate(VT_I4, 0, bounds), nullptr);
    EXPECT_EQ(SafeArrayCreate(0x7FF, 1, bounds), nullptr);
}

TEST(Apartment, CountsPerThread) {
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    CoUninitialize();
    CoUninitialize();
}

} // namespace
