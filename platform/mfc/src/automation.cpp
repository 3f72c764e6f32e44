// CCmdTarget's automation: its reference count and the IDispatch that serves its dispatch map.
#include "afx/dispmap.h"
#include "afx/oleexcept.h"

#include "pal/text.h"

#include <atomic>

namespace pal::mfc {

// The object's IDispatch. Its reference count is the object's; it lives and dies with it.
class DispatchPart final : public IDispatch {
public:
    explicit DispatchPart(CCmdTarget& owner) : owner_(owner) {}
    virtual ~DispatchPart() = default;

    HRESULT QueryInterface(REFIID iid, void** object) override {
        return owner_.ExternalQueryInterface(&iid, object);
    }
    ULONG AddRef() override { return owner_.ExternalAddRef(); }
    // The owner, and this part with it, may be gone on return.
    ULONG Release() override { return owner_.ExternalRelease(); }

    HRESULT GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argError) override;

private:
    const AFX_DISPMAP_ENTRY* find(DISPID id) const;

    CCmdTarget& owner_;
};

namespace {

size_t entryCount(const AFX_DISPMAP* map) {
    size_t n = 0;
    while (map->lpEntries[n].lpszName != nullptr)
        ++n;
    return n;
}

const AFX_DISPMAP* baseOf(const AFX_DISPMAP* map) {
    return map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr;
}

} // namespace

// The first name is the member's; the others would name its parameters, which are not known
// by name.
HRESULT DispatchPart::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (count == 0)
        return S_OK;
    if (!names || !ids)
        return E_POINTER;
    for (UINT i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    if (!names[0])
        return DISP_E_UNKNOWNNAME;
    WORD level = 0;
    for (const AFX_DISPMAP* map = owner_.GetDispatchMap(); map != nullptr && ids[0] == DISPID_UNKNOWN;
         map = baseOf(map), ++level) {
        for (size_t i = 0; map->lpEntries[i].lpszName != nullptr && i < 0xFFFF; ++i) {
            if (pal::text::equalsNoCase(map->lpEntries[i].lpszName, names[0])) {
                ids[0] = static_cast<DISPID>(MAKELONG(static_cast<WORD>(i + 1), level));
                break;
            }
        }
    }
    if (ids[0] == DISPID_UNKNOWN || count > 1)
        return DISP_E_UNKNOWNNAME;
    return S_OK;
}

const AFX_DISPMAP_ENTRY* DispatchPart::find(DISPID id) const {
    if (id <= 0)
        return nullptr;
    const DWORD bits = static_cast<DWORD>(id);
    const size_t position = LOWORD(bits);
    const WORD level = HIWORD(bits);
    const AFX_DISPMAP* map = owner_.GetDispatchMap();
    for (WORD l = 0; l < level && map != nullptr; ++l)
        map = baseOf(map);
    if (map == nullptr || position == 0 || position > entryCount(map))
        return nullptr;
    return &map->lpEntries[position - 1];
}

HRESULT DispatchPart::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO* exception, UINT* argError) {
    const AFX_DISPMAP_ENTRY* entry = find(id);
    if (!entry)
        return DISP_E_MEMBERNOTFOUND;
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    const bool get = (flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) != 0;
    AFX_DISPTHUNK thunk = nullptr;
    if (entry->bProperty)
        thunk = put ? entry->pfnSet : (get ? entry->pfnGet : nullptr);
    else if (get && !put)
        thunk = entry->pfnGet;
    if (!thunk)
        return DISP_E_MEMBERNOTFOUND;

    DISPPARAMS none{nullptr, nullptr, 0, 0};
    UINT ignored = 0;
    AFX_DISPCALL call;
    call.wFlags = flags;
    call.pParams = params ? params : &none;
    call.pResult = result;
    call.puArgErr = argError ? argError : &ignored;
    call.lpszParams = entry->lpszParams;
    call.vt = entry->vt;
    if (call.pParams->cArgs > 0 && !call.pParams->rgvarg)
        return E_INVALIDARG;
    if (call.pParams->cNamedArgs > call.pParams->cArgs ||
        (call.pParams->cNamedArgs > 0 && !call.pParams->rgdispidNamedArgs))
        return E_INVALIDARG;
    if (result)
        VariantInit(result);

    // An error a member throws is the caller's exception information; the object goes on.
    try {
        return thunk(owner_, call);
    } catch (CException* e) {
        if (result)
            VariantClear(result);
        fillExcepInfo(e, exception);
        e->Delete();
        return DISP_E_EXCEPTION;
    }
}

} // namespace pal::mfc

namespace afx::disp {

HRESULT checkCall(const AFX_DISPCALL& call, UINT expected, bool propertyPut) {
    const DISPPARAMS& p = *call.pParams;
    if (propertyPut) {
        // The value may come named as the property's value; nothing else may be named.
        if (p.cNamedArgs > 1 || (p.cNamedArgs == 1 && p.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
            return DISP_E_NONAMEDARGS;
        return p.cArgs == expected ? S_OK : DISP_E_BADPARAMCOUNT;
    }
    if (p.cNamedArgs > 0)
        return DISP_E_NONAMEDARGS;
    return p.cArgs > expected ? DISP_E_BADPARAMCOUNT : S_OK;
}

HRESULT loadArgument(AFX_DISPCALL& call, UINT index, unsigned char code, Slot& slot) {
    const DISPPARAMS& p = *call.pParams;
    // Arguments arrive last first.
    const UINT position = p.cArgs - 1 - index;
    VARIANT* arg = index < p.cArgs ? &p.rgvarg[position] : nullptr;
    const bool missing = arg == nullptr || (arg->vt == VT_ERROR && arg->scode == DISP_E_PARAMNOTFOUND);
    if (code == VT_VARIANT) {
        if (missing) {
            slot.value.vt = VT_ERROR;
            slot.value.scode = DISP_E_PARAMNOTFOUND;
            slot.ref = &slot.value;
        } else {
            slot.ref = arg;
        }
        return S_OK;
    }
    if (missing)
        return DISP_E_PARAMNOTOPTIONAL;
    if (code == kCodeByRefI2) {
        if (arg->vt != (VT_BYREF | VT_I2) || arg->piVal == nullptr) {
            *call.puArgErr = position;
            return DISP_E_TYPEMISMATCH;
        }
        slot.ref = arg;
        return S_OK;
    }
    if (HRESULT hr = VariantChangeType(&slot.value, arg, 0, code); FAILED(hr)) {
        *call.puArgErr = position;
        return hr == DISP_E_BADVARTYPE ? DISP_E_TYPEMISMATCH : hr;
    }
    return S_OK;
}

} // namespace afx::disp

// CCmdTarget ----------------------------------------------------------------------------------

CCmdTarget::CCmdTarget() = default;

CCmdTarget::~CCmdTarget() {
    delete m_pDispatch;
}

const AFX_DISPMAP* CCmdTarget::GetThisDispatchMap() {
    static const AFX_DISPMAP_ENTRY entries[] = {{nullptr, nullptr, VT_EMPTY, nullptr, nullptr, false}};
    static const AFX_DISPMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_DISPMAP* CCmdTarget::GetDispatchMap() const {
    return GetThisDispatchMap();
}

void CCmdTarget::EnableAutomation() {
    if (m_pDispatch == nullptr)
        m_pDispatch = new pal::mfc::DispatchPart(*this);
}

IDispatch* CCmdTarget::GetIDispatch(BOOL bAddRef) {
    if (m_pDispatch == nullptr)
        return nullptr;
    if (bAddRef)
        ExternalAddRef();
    return m_pDispatch;
}

DWORD CCmdTarget::InternalAddRef() {
    return static_cast<DWORD>(std::atomic_ref<LONG>(m_dwRef).fetch_add(1) + 1);
}

DWORD CCmdTarget::InternalRelease() {
    const LONG left = std::atomic_ref<LONG>(m_dwRef).fetch_sub(1) - 1;
    if (left == 0)
        OnFinalRelease();
    return static_cast<DWORD>(left);
}

DWORD CCmdTarget::ExternalAddRef() {
    return InternalAddRef();
}

DWORD CCmdTarget::ExternalRelease() {
    return InternalRelease();
}

HRESULT CCmdTarget::InternalQueryInterface(const void* iid, LPVOID* ppvObj) {
    if (ppvObj == nullptr)
        return E_POINTER;
    *ppvObj = nullptr;
    if (iid == nullptr)
        return E_INVALIDARG;
    const IID& wanted = *static_cast<const IID*>(iid);
    if (m_pDispatch == nullptr || !(wanted == IID_IUnknown || wanted == IID_IDispatch))
        return E_NOINTERFACE;
    InternalAddRef();
    *ppvObj = static_cast<IDispatch*>(m_pDispatch);
    return S_OK;
}

HRESULT CCmdTarget::ExternalQueryInterface(const void* iid, LPVOID* ppvObj) {
    return InternalQueryInterface(iid, ppvObj);
}

void CCmdTarget::OnFinalRelease() {
    // A destructor that takes and drops a reference of its own must not bring the count to 0
    // a second time and free the object again.
    m_dwRef = 1;
    delete this;
}

void CCmdTarget::GetNotSupported() {
    AfxThrowOleException(DISP_E_MEMBERNOTFOUND);
}

void CCmdTarget::SetNotSupported() {
    AfxThrowOleException(DISP_E_MEMBERNOTFOUND);
}
