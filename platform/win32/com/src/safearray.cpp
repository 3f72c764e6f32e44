// Safe arrays. The header block keeps the element type just before the array descriptor;
// the elements live in a separate zeroed block. Bounds are stored last dimension first, and
// the first index varies fastest, so element i of a vector sits at offset i.
#include "win/com.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace {

constexpr size_t kHeader = 16; // room for the element type, keeping the descriptor aligned
constexpr UINT kMaxDims = 32;

ULONG elementSize(VARTYPE vt) {
    switch (vt) {
    case VT_I2:
    case VT_BOOL:
        return 2;
    case VT_I4:
    case VT_R4:
    case VT_ERROR:
        return 4;
    case VT_R8:
        return 8;
    case VT_BSTR:
        return sizeof(BSTR);
    case VT_DISPATCH:
    case VT_UNKNOWN:
        return sizeof(void*);
    case VT_VARIANT:
        return sizeof(VARIANT);
    default:
        return 0;
    }
}

VARTYPE& storedType(SAFEARRAY* a) {
    return *reinterpret_cast<VARTYPE*>(reinterpret_cast<char*>(a) - kHeader);
}

// Total element count, or false when it does not fit in memory.
bool totalElements(const SAFEARRAY* a, size_t& count) {
    count = 1;
    for (USHORT i = 0; i < a->cDims; ++i) {
        const size_t n = a->rgsabound[i].cElements;
        if (n != 0 && count > std::numeric_limits<size_t>::max() / n)
            return false;
        count *= n;
    }
    return count <= std::numeric_limits<size_t>::max() / (a->cbElements ? a->cbElements : 1);
}

void releaseElement(VARTYPE vt, void* cell) {
    switch (vt) {
    case VT_BSTR:
        SysFreeString(*static_cast<BSTR*>(cell));
        *static_cast<BSTR*>(cell) = nullptr;
        break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
        if (auto* u = *static_cast<IUnknown**>(cell))
            u->Release();
        *static_cast<IUnknown**>(cell) = nullptr;
        break;
    case VT_VARIANT:
        VariantClear(static_cast<VARIANT*>(cell));
        break;
    default:
        break;
    }
}

// Copies one element's value into `to` (uninitialised storage of the element type).
HRESULT copyElement(VARTYPE vt, const void* from, void* to, ULONG size) {
    switch (vt) {
    case VT_BSTR: {
        const BSTR s = *static_cast<const BSTR*>(from);
        BSTR c = s ? SysAllocStringLen(s, SysStringLen(s)) : nullptr;
        if (s && !c)
            return E_OUTOFMEMORY;
        *static_cast<BSTR*>(to) = c;
        return S_OK;
    }
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        auto* u = *static_cast<IUnknown* const*>(from);
        if (u)
            u->AddRef();
        *static_cast<IUnknown**>(to) = u;
        return S_OK;
    }
    case VT_VARIANT:
        VariantInit(static_cast<VARIANT*>(to));
        return VariantCopy(static_cast<VARIANT*>(to), static_cast<const VARIANT*>(from));
    default:
        std::memcpy(to, from, size);
        return S_OK;
    }
}

// The cell of `indices` (in dimension order), or null when an index is out of bounds.
char* cellOf(SAFEARRAY* a, const LONG* indices) {
    size_t offset = 0;
    size_t stride = 1;
    for (UINT d = 0; d < a->cDims; ++d) {
        const SAFEARRAYBOUND& b = a->rgsabound[a->cDims - 1 - d];
        const long long rel = static_cast<long long>(indices[d]) - b.lLbound;
        if (rel < 0 || rel >= static_cast<long long>(b.cElements))
            return nullptr;
        offset += static_cast<size_t>(rel) * stride;
        stride *= b.cElements;
    }
    return static_cast<char*>(a->pvData) + offset * a->cbElements;
}

// The lower or the upper bound of dimension `dim` (counted from 1).
HRESULT getBound(SAFEARRAY* a, UINT dim, LONG* bound, bool upper) {
    if (!bound)
        return E_INVALIDARG;
    if (!a || dim < 1 || dim > a->cDims)
        return DISP_E_BADINDEX;
    const SAFEARRAYBOUND& b = a->rgsabound[a->cDims - dim];
    *bound = upper ? static_cast<LONG>(static_cast<long long>(b.lLbound) + b.cElements - 1) : b.lLbound;
    return S_OK;
}

} // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, SAFEARRAYBOUND* bounds) {
    const ULONG size = elementSize(vt);
    if (size == 0 || dims == 0 || dims > kMaxDims || !bounds)
        return nullptr;
    const size_t descriptor = sizeof(SAFEARRAY) + (dims - 1) * sizeof(SAFEARRAYBOUND);
    char* block = static_cast<char*>(std::calloc(1, kHeader + descriptor));
    if (!block)
        return nullptr;
    auto* a = reinterpret_cast<SAFEARRAY*>(block + kHeader);
    a->cDims = static_cast<USHORT>(dims);
    a->cbElements = size;
    a->fFeatures =
        FADF_HAVEVARTYPE | (vt == VT_BSTR ? FADF_BSTR : 0) | (vt == VT_DISPATCH ? FADF_DISPATCH : 0);
    for (UINT i = 0; i < dims; ++i)
        a->rgsabound[dims - 1 - i] = bounds[i];
    storedType(a) = vt;
    size_t count = 0;
    if (!totalElements(a, count) || !(a->pvData = std::calloc(count ? count : 1, size))) {
        std::free(block);
        return nullptr;
    }
    return a;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements) {
    SAFEARRAYBOUND b{elements, lowerBound};
    return SafeArrayCreate(vt, 1, &b);
}

HRESULT SafeArrayDestroy(SAFEARRAY* a) {
    if (!a)
        return S_OK;
    if (a->cLocks > 0)
        return DISP_E_ARRAYISLOCKED;
    size_t count = 0;
    totalElements(a, count);
    const VARTYPE vt = storedType(a);
    for (size_t i = 0; i < count; ++i)
        releaseElement(vt, static_cast<char*>(a->pvData) + i * a->cbElements);
    std::free(a->pvData);
    std::free(reinterpret_cast<char*>(a) - kHeader);
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* a) {
    return a ? a->cDims : 0;
}
UINT SafeArrayGetElemsize(SAFEARRAY* a) {
    return a ? a->cbElements : 0;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* a, VARTYPE* vt) {
    if (!a || !vt)
        return E_INVALIDARG;
    *vt = storedType(a);
    return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* a, UINT dim, LONG* bound) {
    return getBound(a, dim, bound, false);
}

HRESULT SafeArrayGetUBound(SAFEARRAY* a, UINT dim, LONG* bound) {
    return getBound(a, dim, bound, true);
}

HRESULT SafeArrayGetElement(SAFEARRAY* a, LONG* indices, void* value) {
    if (!a || !indices || !value)
        return E_INVALIDARG;
    char* cell = cellOf(a, indices);
    if (!cell)
        return DISP_E_BADINDEX;
    return copyElement(storedType(a), cell, value, a->cbElements);
}

HRESULT SafeArrayPutElement(SAFEARRAY* a, LONG* indices, void* value) {
    if (!a || !indices)
        return E_INVALIDARG;
    char* cell = cellOf(a, indices);
    if (!cell)
        return DISP_E_BADINDEX;
    const VARTYPE vt = storedType(a);
    // Strings and interfaces are passed as themselves, everything else by address.
    const void* from = value;
    if (vt == VT_BSTR || vt == VT_DISPATCH || vt == VT_UNKNOWN)
        from = &value;
    else if (!value)
        return E_INVALIDARG;
    alignas(VARIANT) char fresh[sizeof(VARIANT)];
    if (HRESULT hr = copyElement(vt, from, fresh, a->cbElements); FAILED(hr))
        return hr;
    releaseElement(vt, cell);
    std::memcpy(cell, fresh, a->cbElements);
    return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* a) {
    if (!a)
        return E_INVALIDARG;
    ++a->cLocks;
    return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* a) {
    if (!a)
        return E_INVALIDARG;
    if (a->cLocks == 0)
        return E_UNEXPECTED;
    --a->cLocks;
    return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* a, void** data) {
    if (!data)
        return E_INVALIDARG;
    if (HRESULT hr = SafeArrayLock(a); FAILED(hr))
        return hr;
    *data = a->pvData;
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* a) {
    return SafeArrayUnlock(a);
}

HRESULT SafeArrayCopy(SAFEARRAY* a, SAFEARRAY** copy) {
    if (!copy)
        return E_INVALIDARG;
    *copy = nullptr;
    if (!a)
        return S_OK;
    SAFEARRAYBOUND bounds[kMaxDims];
    for (UINT d = 0; d < a->cDims; ++d)
        bounds[d] = a->rgsabound[a->cDims - 1 - d];
    const VARTYPE vt = storedType(a);
    SAFEARRAY* c = SafeArrayCreate(vt, a->cDims, bounds);
    if (!c)
        return E_OUTOFMEMORY;
    size_t count = 0;
    totalElements(a, count);
    for (size_t i = 0; i < count; ++i) {
        const size_t at = i * a->cbElements;
        if (HRESULT hr = copyElement(vt, static_cast<char*>(a->pvData) + at,
                                     static_cast<char*>(c->pvData) + at, a->cbElements);
            FAILED(hr)) {
            SafeArrayDestroy(c);
            return hr;
        }
    }
    *copy = c;
    return S_OK;
}
