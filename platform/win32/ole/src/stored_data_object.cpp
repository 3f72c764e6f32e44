// The data object over a slot of the clipboard store: what OleGetClipboard gives, and what a
// drop target of this program sees of a drag that started in another program.
#include "blocks.h"
#include "clipboard_store.h"
#include "com_object.h"
#include "medium.h"

#include <algorithm>

namespace pal::ole {
namespace {

class StoredDataObject final : public ComObject<IDataObject> {
public:
    explicit StoredDataObject(std::int64_t slot) : slot_(slot) {}

    HRESULT GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!format || !medium)
            return E_INVALIDARG;
        *medium = STGMEDIUM{};
        if (const HRESULT hr = check(*format); FAILED(hr))
            return hr;
        const std::optional<std::string> bytes = readFormat(slot_, format->cfFormat);
        if (!bytes)
            return GetLastError() == ERROR_INVALID_DATA ? CLIPBRD_E_BAD_DATA : DV_E_FORMATETC;
        HGLOBAL block = globalOf(*bytes);
        if (!block)
            return E_OUTOFMEMORY;
        if (format->tymed & TYMED_HGLOBAL) {
            medium->tymed = TYMED_HGLOBAL;
            medium->hGlobal = block;
            return S_OK;
        }
        IStream* stream = nullptr;
        if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
            GlobalFree(block);
            return E_OUTOFMEMORY;
        }
        medium->tymed = TYMED_ISTREAM;
        medium->pstm = stream;
        return S_OK;
    }

    HRESULT GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }

    HRESULT QueryGetData(FORMATETC* format) override {
        if (!format)
            return E_INVALIDARG;
        return check(*format);
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
        for (UINT f : offeredFormats(slot_))
            formats.push_back(
                FORMATETC{static_cast<CLIPFORMAT>(f), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
        return SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.data(), enumerator);
    }

    HRESULT DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    bool answers(REFIID iid) const override { return IsEqualIID(iid, IID_IDataObject); }

    HRESULT check(const FORMATETC& format) const {
        if (format.dwAspect != DVASPECT_CONTENT)
            return DV_E_DVASPECT;
        if (format.lindex != -1)
            return DV_E_LINDEX;
        if (!(format.tymed & (TYMED_HGLOBAL | TYMED_ISTREAM)))
            return DV_E_TYMED;
        const std::vector<UINT> formats = offeredFormats(slot_);
        return std::find(formats.begin(), formats.end(), format.cfFormat) != formats.end() ? S_OK
                                                                                           : DV_E_FORMATETC;
    }

    std::int64_t slot_;
};

} // namespace

IDataObject* newStoredDataObject(std::int64_t slot) {
    return new StoredDataObject(slot);
}

} // namespace pal::ole
