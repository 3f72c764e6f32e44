// COleDispatchDriver: a client's hold on an automation object, and late-bound calls to it.
//
//   COleDispatchDriver app;
//   if (app.CreateDispatch(L"DVW32.SERVER")) {
//       LPDISPATCH doc = nullptr;
//       app.InvokeHelper(3, DISPATCH_METHOD, VT_DISPATCH, &doc, VTS_NONE);
//   }
//
// The arguments follow the parameter string, one per code, as these C++ types: VTS_I2,
// VTS_I4, VTS_R4, VTS_R8, VTS_BOOL any number; VTS_BSTR a wide string (LPCWSTR, CString);
// VTS_DISPATCH an IDispatch* (or null); VTS_VARIANT a VARIANT or const VARIANT*; VTS_PI2 a
// short*, which the call may change. The result goes where pvRet points, as vtRet says: short,
// LONG, float, double, BOOL, CString for VT_BSTR, LPDISPATCH (a reference for the caller) and
// VARIANT (the caller clears it). Failures are thrown: COleDispatchException when the member
// reported an error of its own (DISP_E_EXCEPTION), COleException with the status code
// otherwise, also for arguments that do not fit the parameter string.
#pragma once

#include "afx/dispmap.h"
#include "afx/oleexcept.h"
#include "afxstr.h"
#include "pal/com/variant.h"
#include "pal/visibility.h"

#include <type_traits>
#include <utility>
#include <vector>

DV_EXPORTS_BEGIN

namespace afx {

// A parameter string as callers write it: a literal (VTS_I2 VTS_BSTR), a BYTE array made from
// one, or null for none.
class VtsParams {
public:
    VtsParams(const char* codes) : codes_(codes) {}
    VtsParams(const BYTE* codes) : codes_(reinterpret_cast<const char*>(codes)) {}
    VtsParams(std::nullptr_t) {}
    // The code of parameter i, which the caller knows to lie within the string or on its end.
    unsigned char at(size_t i) const { return codes_ ? static_cast<unsigned char>(codes_[i]) : 0; }
    size_t size() const {
        size_t n = 0;
        while (codes_ && codes_[n] != 0)
            ++n;
        return n;
    }

private:
    const char* codes_ = nullptr;
};

namespace driver {

// One argument as a variant of the parameter string's code; false when it does not fit.
template <class A> bool makeArgument(unsigned char code, A&& arg, VARIANT& out) {
    using V = std::remove_cv_t<std::remove_reference_t<A>>;
    if constexpr (std::is_arithmetic_v<V>) {
        switch (code) {
        case VT_I2:
            out.vt = VT_I2, out.iVal = static_cast<SHORT>(arg);
            return true;
        case VT_I4:
            out.vt = VT_I4, out.lVal = static_cast<LONG>(arg);
            return true;
        case VT_R4:
            out.vt = VT_R4, out.fltVal = static_cast<FLOAT>(arg);
            return true;
        case VT_R8:
            out.vt = VT_R8, out.dblVal = static_cast<double>(arg);
            return true;
        case VT_BOOL:
            out.vt = VT_BOOL, out.boolVal = arg ? VARIANT_TRUE : VARIANT_FALSE;
            return true;
        default:
            return false;
        }
    } else if constexpr (std::is_convertible_v<A, LPCWSTR> && !std::is_same_v<V, std::nullptr_t>) {
        if (code != VT_BSTR)
            return false;
        LPCWSTR text = static_cast<LPCWSTR>(arg);
        out.vt = VT_BSTR;
        out.bstrVal = SysAllocString(text ? text : L"");
        return true;
    } else if constexpr (std::is_same_v<V, CString>) {
        if (code != VT_BSTR)
            return false;
        out.vt = VT_BSTR;
        out.bstrVal = SysAllocStringLen(arg.GetString(), static_cast<UINT>(arg.GetLength()));
        return true;
    } else if constexpr (std::is_same_v<V, std::nullptr_t>) {
        if (code != VT_DISPATCH)
            return false;
        out.vt = VT_DISPATCH, out.pdispVal = nullptr;
        return true;
    } else if constexpr (std::is_convertible_v<A, IDispatch*>) {
        if (code != VT_DISPATCH)
            return false;
        IDispatch* d = arg;
        if (d)
            d->AddRef();
        out.vt = VT_DISPATCH, out.pdispVal = d;
        return true;
    } else if constexpr (std::is_same_v<V, SHORT*>) {
        if (code != afx::disp::kCodeByRefI2 || arg == nullptr)
            return false;
        out.vt = VT_BYREF | VT_I2, out.piVal = arg;
        return true;
    } else if constexpr (std::is_same_v<V, VARIANT> || std::is_base_of_v<VARIANT, V>) {
        return code == VT_VARIANT && SUCCEEDED(VariantCopy(&out, &arg));
    } else if constexpr (std::is_same_v<V, const VARIANT*> || std::is_same_v<V, VARIANT*>) {
        return code == VT_VARIANT && arg != nullptr && SUCCEEDED(VariantCopy(&out, arg));
    } else {
        static_assert(sizeof(V) == 0, "this argument type has no automation type");
        return false;
    }
}

// Whether a result pointer of type R can take a result of type vt (a void pointer is taken on
// trust, as the caller's own statement).
template <class R> bool resultFits(VARTYPE vt) {
    if constexpr (std::is_void_v<R> || std::is_same_v<R, std::nullptr_t>)
        return true;
    else if constexpr (std::is_same_v<R, CString>)
        return vt == VT_BSTR;
    else
        return afx::disp::holdsType<R>(vt);
}

} // namespace driver
} // namespace afx

class COleDispatchDriver {
public:
    LPDISPATCH m_lpDispatch = nullptr;
    BOOL m_bAutoRelease = TRUE;

    COleDispatchDriver() = default;
    explicit COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
    // A copy holds its own reference.
    COleDispatchDriver(const COleDispatchDriver& other);
    COleDispatchDriver& operator=(const COleDispatchDriver& other);
    // Attaches the object, which the driver then releases.
    COleDispatchDriver& operator=(LPDISPATCH lpDispatch);
    ~COleDispatchDriver() { ReleaseDispatch(); }

    operator LPDISPATCH() { return m_lpDispatch; }

    // Creates the object of a class (in this process or in its server, started when needed)
    // and holds it; FALSE with the reason in pError on failure.
    BOOL CreateDispatch(REFCLSID clsid, COleException* pError = nullptr);
    // The same for a ProgID, or a class id in braces.
    BOOL CreateDispatch(LPCWSTR lpszProgID, COleException* pError = nullptr);
    void AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
    // Gives up the object without releasing it.
    LPDISPATCH DetachDispatch();
    // Releases the object (when auto-release is on) and holds nothing.
    void ReleaseDispatch();

    template <class R, class... Args>
    void InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, R* pvRet, afx::VtsParams params,
                      Args&&... args) {
        if (!afx::driver::resultFits<R>(vtRet))
            AfxThrowOleException(E_INVALIDARG);
        invoke(dwDispID, wFlags, vtRet, pvRet, params, std::forward<Args>(args)...);
    }
    template <class... Args>
    void InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, std::nullptr_t, afx::VtsParams params,
                      Args&&... args) {
        invoke(dwDispID, wFlags, vtRet, static_cast<void*>(nullptr), params, std::forward<Args>(args)...);
    }

    template <class R> void GetProperty(DISPID dwDispID, VARTYPE vtProp, R* pvProp) const {
        const_cast<COleDispatchDriver*>(this)->InvokeHelper(dwDispID, DISPATCH_PROPERTYGET, vtProp, pvProp,
                                                            nullptr);
    }
    template <class A> void SetProperty(DISPID dwDispID, VARTYPE vtProp, A&& value) {
        const char codes[2] = {static_cast<char>(vtProp), 0};
        invoke(dwDispID, DISPATCH_PROPERTYPUT, VT_EMPTY, static_cast<void*>(nullptr), afx::VtsParams(codes),
               std::forward<A>(value));
    }

private:
    template <class... Args>
    void invoke(DISPID id, WORD flags, VARTYPE vtRet, void* pvRet, afx::VtsParams params, Args&&... args) {
        if (params.size() != sizeof...(Args))
            AfxThrowOleException(E_INVALIDARG);
        std::vector<pal::com::Variant> values(sizeof...(Args));
        if (!makeArguments(params, values, std::index_sequence_for<Args...>{}, std::forward<Args>(args)...))
            AfxThrowOleException(E_INVALIDARG);
        invokeCore(id, flags, vtRet, pvRet, values);
    }
    template <size_t... I, class... Args>
    static bool makeArguments(const afx::VtsParams& params, std::vector<pal::com::Variant>& values,
                              std::index_sequence<I...>, Args&&... args) {
        return (afx::driver::makeArgument(params.at(I), std::forward<Args>(args), values[I]) && ...);
    }
    // The call itself, with the arguments in call order.
    void invokeCore(DISPID id, WORD flags, VARTYPE vtRet, void* pvRet, std::vector<pal::com::Variant>& args);
};

DV_EXPORTS_END
