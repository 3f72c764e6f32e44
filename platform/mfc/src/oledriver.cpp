#include "afx/oledriver.h"

COleDispatchDriver::COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease)
    : m_lpDispatch(lpDispatch), m_bAutoRelease(bAutoRelease) {}

COleDispatchDriver::COleDispatchDriver(const COleDispatchDriver& other) : m_lpDispatch(other.m_lpDispatch) {
    if (m_lpDispatch)
        m_lpDispatch->AddRef();
}

COleDispatchDriver& COleDispatchDriver::operator=(const COleDispatchDriver& other) {
    // Also for the object already held: a driver that did not own it owns it now.
    if (this != &other) {
        // Take the new reference first: the old one may be what keeps the new object alive.
        if (other.m_lpDispatch)
            other.m_lpDispatch->AddRef();
        ReleaseDispatch();
        m_lpDispatch = other.m_lpDispatch;
        m_bAutoRelease = TRUE;
    }
    return *this;
}

COleDispatchDriver& COleDispatchDriver::operator=(LPDISPATCH lpDispatch) {
    if (m_lpDispatch != lpDispatch)
        AttachDispatch(lpDispatch, TRUE);
    return *this;
}

BOOL COleDispatchDriver::CreateDispatch(REFCLSID clsid, COleException* pError) {
    ReleaseDispatch();
    IUnknown* unknown = nullptr;
    HRESULT hr =
        CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&unknown));
    if (SUCCEEDED(hr)) {
        IDispatch* dispatch = nullptr;
        hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
        unknown->Release();
        if (SUCCEEDED(hr) && dispatch) {
            AttachDispatch(dispatch, TRUE);
            return TRUE;
        }
        if (SUCCEEDED(hr))
            hr = E_NOINTERFACE;
    }
    if (pError)
        pError->m_sc = hr;
    return FALSE;
}

BOOL COleDispatchDriver::CreateDispatch(LPCWSTR lpszProgID, COleException* pError) {
    CLSID clsid{};
    HRESULT hr = E_INVALIDARG;
    if (lpszProgID != nullptr)
        hr =
            lpszProgID[0] == L'{' ? CLSIDFromString(lpszProgID, &clsid) : CLSIDFromProgID(lpszProgID, &clsid);
    if (FAILED(hr)) {
        if (pError)
            pError->m_sc = hr;
        return FALSE;
    }
    return CreateDispatch(clsid, pError);
}

void COleDispatchDriver::AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease) {
    ReleaseDispatch();
    m_lpDispatch = lpDispatch;
    m_bAutoRelease = bAutoRelease;
}

LPDISPATCH COleDispatchDriver::DetachDispatch() {
    LPDISPATCH d = m_lpDispatch;
    m_lpDispatch = nullptr;
    return d;
}

void COleDispatchDriver::ReleaseDispatch() {
    LPDISPATCH d = DetachDispatch();
    if (d && m_bAutoRelease)
        d->Release();
}

namespace {

// Stores a result already of type vt where the caller's pointer says.
void storeResult(VARIANT& result, VARTYPE vt, void* out) {
    switch (vt) {
    case VT_I2:
        *static_cast<SHORT*>(out) = result.iVal;
        break;
    case VT_I4:
        *static_cast<LONG*>(out) = result.lVal;
        break;
    case VT_R4:
        *static_cast<FLOAT*>(out) = result.fltVal;
        break;
    case VT_R8:
        *static_cast<double*>(out) = result.dblVal;
        break;
    case VT_BOOL:
        *static_cast<BOOL*>(out) = result.boolVal != VARIANT_FALSE ? TRUE : FALSE;
        break;
    case VT_BSTR:
        *static_cast<CString*>(out) =
            result.bstrVal ? CString(result.bstrVal, static_cast<int>(SysStringLen(result.bstrVal)))
                           : CString();
        break;
    case VT_DISPATCH:
        *static_cast<IDispatch**>(out) = result.pdispVal;
        VariantInit(&result); // the reference is the caller's now
        break;
    case VT_VARIANT:
        *static_cast<VARIANT*>(out) = result;
        VariantInit(&result);
        break;
    default:
        break;
    }
}

} // namespace

void COleDispatchDriver::invokeCore(DISPID id, WORD flags, VARTYPE vtRet, void* pvRet,
                                    std::vector<pal::com::Variant>& args) {
    if (m_lpDispatch == nullptr)
        AfxThrowOleException(E_UNEXPECTED);
    switch (vtRet) {
    case VT_EMPTY:
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_BOOL:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_VARIANT:
        break;
    default:
        AfxThrowOleException(E_INVALIDARG);
    }
    // Arguments travel last first; the variants stay owned by `args`.
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    const bool isPut = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), isPut ? &put : nullptr,
                      static_cast<UINT>(reversed.size()), isPut ? 1u : 0u};
    pal::com::Variant result;
    EXCEPINFO exception{};
    UINT argError = 0;
    const HRESULT hr = m_lpDispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                            vtRet == VT_EMPTY ? nullptr : &result, &exception, &argError);
    if (hr == DISP_E_EXCEPTION)
        throw pal::mfc::dispatchExceptionFrom(exception);
    if (FAILED(hr))
        AfxThrowOleException(hr);
    if (vtRet == VT_EMPTY || pvRet == nullptr)
        return;
    // No object at all is a null reference.
    if (vtRet == VT_DISPATCH && (result.vt == VT_EMPTY || result.vt == VT_NULL))
        VariantInit(&result), result.vt = VT_DISPATCH;
    if (vtRet != VT_VARIANT && result.vt != vtRet) {
        if (HRESULT changed = VariantChangeType(&result, &result, 0, vtRet); FAILED(changed))
            AfxThrowOleException(changed);
    }
    storeResult(result, vtRet, pvRet);
}
