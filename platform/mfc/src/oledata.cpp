// The data source, the drop source and the data-object wrapper.
#include "afxole.h"

#include <cstring>

namespace {

constexpr DWORD kAnyMedium =
    TYMED_HGLOBAL | TYMED_FILE | TYMED_ISTREAM | TYMED_ISTORAGE | TYMED_GDI | TYMED_MFPICT | TYMED_ENHMF;

FORMATETC formatOf(CLIPFORMAT cf, LPFORMATETC given, DWORD tymed) {
    return given ? *given : FORMATETC{cf, nullptr, DVASPECT_CONTENT, -1, tymed};
}

HGLOBAL copyBlock(HGLOBAL from) {
    const SIZE_T size = GlobalSize(from);
    const void* source = GlobalLock(from);
    if (!source)
        return nullptr;
    HGLOBAL to = GlobalAlloc(GMEM_MOVEABLE, size);
    if (to) {
        std::memcpy(GlobalLock(to), source, size);
        GlobalUnlock(to);
    }
    GlobalUnlock(from);
    return to;
}

} // namespace

BOOL AfxOleInit() {
    return SUCCEEDED(OleInitialize(nullptr));
}

// ---- drop source ----

struct COleDropSource::XDropSource final : IDropSource {
    explicit XDropSource(COleDropSource& owner) : owner_(owner) {}
    HRESULT QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDropSource))
            return E_NOINTERFACE;
        *out = static_cast<IDropSource*>(this);
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return owner_.ExternalAddRef(); }
    ULONG Release() override { return owner_.ExternalRelease(); }
    HRESULT QueryContinueDrag(BOOL escape, DWORD keys) override {
        return owner_.QueryContinueDrag(escape, keys);
    }
    HRESULT GiveFeedback(DWORD effect) override { return owner_.GiveFeedback(effect); }

private:
    COleDropSource& owner_;
};

COleDropSource::COleDropSource() : m_pXDropSource(new XDropSource(*this)) {}

COleDropSource::~COleDropSource() {
    delete m_pXDropSource;
}

IDropSource* COleDropSource::GetInterface() {
    return m_pXDropSource;
}

void COleDropSource::BeginDrag() {
    const bool right = (GetKeyState(VK_RBUTTON) & 0x8000) && !(GetKeyState(VK_LBUTTON) & 0x8000);
    m_dwButtonDrop = right ? MK_RBUTTON : MK_LBUTTON;
    m_dwButtonCancel = right ? MK_LBUTTON : MK_RBUTTON;
}

SCODE COleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) {
    if (bEscapePressed || (dwKeyState & m_dwButtonCancel))
        return DRAGDROP_S_CANCEL;
    if (!(dwKeyState & m_dwButtonDrop))
        return DRAGDROP_S_DROP;
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT) {
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---- data source ----

struct COleDataSource::XDataObject final : IDataObject {
    explicit XDataObject(COleDataSource& owner) : owner_(owner) {}

    HRESULT QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDataObject))
            return E_NOINTERFACE;
        *out = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return owner_.ExternalAddRef(); }
    ULONG Release() override { return owner_.ExternalRelease(); }

    HRESULT GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!format || !medium)
            return E_INVALIDARG;
        *medium = STGMEDIUM{};
        const Entry* e = owner_.find(*format);
        if (!e)
            return DV_E_FORMATETC;
        switch (e->medium.tymed) {
        case TYMED_HGLOBAL:
            medium->hGlobal = copyBlock(e->medium.hGlobal);
            if (!medium->hGlobal)
                return E_OUTOFMEMORY;
            medium->tymed = TYMED_HGLOBAL;
            return S_OK;
        case TYMED_ISTREAM:
            if (!e->medium.pstm)
                return DV_E_TYMED;
            e->medium.pstm->AddRef();
            medium->tymed = TYMED_ISTREAM;
            medium->pstm = e->medium.pstm;
            return S_OK;
        default:
            return DV_E_TYMED;
        }
    }
    HRESULT GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT QueryGetData(FORMATETC* format) override {
        if (!format)
            return E_INVALIDARG;
        return owner_.find(*format) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (!out)
            return E_INVALIDARG;
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) override {
        if (!enumerator)
            return E_INVALIDARG;
        *enumerator = nullptr;
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        std::vector<FORMATETC> formats;
        for (const Entry& e : owner_.m_entries)
            formats.push_back(e.format);
        return SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.data(), enumerator);
    }
    HRESULT DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    COleDataSource& owner_;
};

COleDataSource::COleDataSource() : m_pXDataObject(new XDataObject(*this)) {}

COleDataSource::~COleDataSource() {
    Empty();
    delete m_pXDataObject;
}

const COleDataSource::Entry* COleDataSource::find(const FORMATETC& requested) const {
    for (const Entry& e : m_entries) {
        if (e.format.cfFormat == requested.cfFormat && e.format.dwAspect == requested.dwAspect &&
            (e.format.tymed & requested.tymed))
            return &e;
    }
    return nullptr;
}

void COleDataSource::CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc) {
    if (!lpStgMedium)
        return;
    FORMATETC format = formatOf(cfFormat, lpFormatEtc, lpStgMedium->tymed);
    format.ptd = nullptr;
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->format.cfFormat == format.cfFormat && it->format.dwAspect == format.dwAspect) {
            ReleaseStgMedium(&it->medium);
            m_entries.erase(it);
            break;
        }
    }
    m_entries.push_back(Entry{format, *lpStgMedium});
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc) {
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = hGlobal;
    FORMATETC format = formatOf(cfFormat, lpFormatEtc, TYMED_HGLOBAL);
    format.tymed = TYMED_HGLOBAL;
    CacheData(cfFormat, &medium, &format);
}

void COleDataSource::Empty() {
    for (Entry& e : m_entries)
        ReleaseStgMedium(&e.medium);
    m_entries.clear();
}

IDataObject* COleDataSource::GetInterface(BOOL bAddRef) {
    if (bAddRef)
        m_pXDataObject->AddRef();
    return m_pXDataObject;
}

void COleDataSource::SetClipboard() {
    OleSetClipboard(m_pXDataObject);
    InternalRelease();
}

void COleDataSource::FlushClipboard() {
    OleFlushClipboard();
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT, COleDropSource* pDropSource) {
    COleDropSource standard;
    COleDropSource* source = pDropSource ? pDropSource : &standard;
    source->BeginDrag();
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT hr = ::DoDragDrop(m_pXDataObject, source->GetInterface(), dwEffects, &effect);
    return hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

// ---- data object wrapper ----

COleDataObject::~COleDataObject() {
    Release();
}

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease) {
    Release();
    m_lpDataObject = lpDataObject;
    m_bAutoRelease = bAutoRelease;
}

LPDATAOBJECT COleDataObject::Detach() {
    LPDATAOBJECT d = m_lpDataObject;
    m_lpDataObject = nullptr;
    if (m_lpEnumerator) {
        m_lpEnumerator->Release();
        m_lpEnumerator = nullptr;
    }
    return d;
}

void COleDataObject::Release() {
    LPDATAOBJECT d = Detach();
    if (d && m_bAutoRelease)
        d->Release();
}

BOOL COleDataObject::AttachClipboard() {
    LPDATAOBJECT d = nullptr;
    if (FAILED(OleGetClipboard(&d)) || !d)
        return FALSE;
    Attach(d, TRUE);
    return TRUE;
}

LPDATAOBJECT COleDataObject::GetIDataObject(BOOL bAddRef) {
    if (m_lpDataObject && bAddRef)
        m_lpDataObject->AddRef();
    return m_lpDataObject;
}

void COleDataObject::BeginEnumFormats() {
    if (m_lpEnumerator) {
        m_lpEnumerator->Release();
        m_lpEnumerator = nullptr;
    }
    if (m_lpDataObject)
        m_lpDataObject->EnumFormatEtc(DATADIR_GET, &m_lpEnumerator);
}

BOOL COleDataObject::GetNextFormat(LPFORMATETC lpFormatEtc) {
    ULONG fetched = 0;
    return m_lpEnumerator && lpFormatEtc && m_lpEnumerator->Next(1, lpFormatEtc, &fetched) == S_OK &&
           fetched == 1;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
    FORMATETC format = formatOf(cfFormat, lpFormatEtc, kAnyMedium);
    return m_lpDataObject && m_lpDataObject->QueryGetData(&format) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc) {
    if (!m_lpDataObject || !lpStgMedium)
        return FALSE;
    FORMATETC format = formatOf(cfFormat, lpFormatEtc, kAnyMedium);
    *lpStgMedium = STGMEDIUM{};
    return SUCCEEDED(m_lpDataObject->GetData(&format, lpStgMedium));
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
    FORMATETC format = formatOf(cfFormat, lpFormatEtc, TYMED_HGLOBAL);
    format.tymed = TYMED_HGLOBAL;
    STGMEDIUM medium{};
    if (!m_lpDataObject || FAILED(m_lpDataObject->GetData(&format, &medium)))
        return nullptr;
    // An object that says it handed a block must have handed one.
    if (medium.tymed != TYMED_HGLOBAL || !GlobalLock(medium.hGlobal)) {
        if (medium.tymed == TYMED_HGLOBAL && !medium.pUnkForRelease)
            medium = STGMEDIUM{}; // nothing of ours to free behind a bad handle
        ReleaseStgMedium(&medium);
        return nullptr;
    }
    GlobalUnlock(medium.hGlobal);
    if (!medium.pUnkForRelease)
        return medium.hGlobal;
    // The block belongs to the object: the caller gets a copy.
    HGLOBAL copy = copyBlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    return copy;
}
