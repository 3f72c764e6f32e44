#include "test_objects.h"

#include "pal/text.h"

#include <cstring>

namespace oletest {

const TestData::Entry* TestData::find(const FORMATETC* f) const {
    if (!f || f->dwAspect != DVASPECT_CONTENT || !(f->tymed & media()))
        return nullptr;
    for (const Entry& e : entries_) {
        if (e.format == f->cfFormat)
            return &e;
    }
    return nullptr;
}

HRESULT TestData::GetData(FORMATETC* f, STGMEDIUM* m) {
    if (!f || !m)
        return E_INVALIDARG;
    const Entry* e = find(f);
    if (!e)
        return DV_E_FORMATETC;
    *m = STGMEDIUM{};
    switch (how_) {
    case Misbehaviour::FailGetData:
        return E_FAIL;
    case Misbehaviour::WrongMedium:
        m->tymed = TYMED_ISTREAM;
        return S_OK;
    case Misbehaviour::BadHandle:
        m->tymed = TYMED_HGLOBAL;
        m->hGlobal = reinterpret_cast<HGLOBAL>(static_cast<std::uintptr_t>(0x7770));
        return S_OK;
    default:
        break;
    }
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, e->bytes.size());
    std::memcpy(GlobalLock(h), e->bytes.data(), e->bytes.size());
    GlobalUnlock(h);
    if (how_ == Misbehaviour::StreamOnly) {
        m->tymed = TYMED_ISTREAM;
        return CreateStreamOnHGlobal(h, TRUE, &m->pstm);
    }
    m->tymed = TYMED_HGLOBAL;
    m->hGlobal = h;
    return S_OK;
}

HRESULT TestData::EnumFormatEtc(DWORD direction, IEnumFORMATETC** e) {
    if (direction != DATADIR_GET)
        return E_NOTIMPL;
    std::vector<FORMATETC> formats;
    for (const Entry& entry : entries_)
        formats.push_back(
            FORMATETC{static_cast<CLIPFORMAT>(entry.format), nullptr, DVASPECT_CONTENT, -1, media()});
    return SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.data(), e);
}

DWORD TestTarget::choose(DWORD keys, DWORD allowed) const {
    if (onlyText && !hasText_)
        return DROPEFFECT_NONE;
    const DWORD wanted = (keys & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    return (wanted & allowed) ? wanted : DROPEFFECT_NONE;
}

HRESULT TestTarget::DragEnter(IDataObject* data, DWORD keys, POINTL, DWORD* effect) {
    calls.push_back("enter");
    FORMATETC text{static_cast<CLIPFORMAT>(CF_UNICODETEXT), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    hasText_ = data && data->QueryGetData(&text) == S_OK;
    *effect = choose(keys, *effect);
    return S_OK;
}

HRESULT TestTarget::DragOver(DWORD keys, POINTL, DWORD* effect) {
    calls.push_back("over");
    *effect = choose(keys, *effect);
    return S_OK;
}

HRESULT TestTarget::DragLeave() {
    calls.push_back("leave");
    return S_OK;
}

HRESULT TestTarget::Drop(IDataObject* data, DWORD keys, POINTL p, DWORD* effect) {
    calls.push_back("drop");
    dropPoint = p;
    FORMATETC f{static_cast<CLIPFORMAT>(CF_UNICODETEXT), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM m{};
    const HRESULT hr = data->GetData(&f, &m);
    if (FAILED(hr) || m.tymed != TYMED_HGLOBAL || !GlobalLock(m.hGlobal)) {
        // A data object that fails or hands something else: the drop takes nothing.
        dropReadFailed = true;
        if (SUCCEEDED(hr))
            ReleaseStgMedium(&m);
        *effect = DROPEFFECT_NONE;
        return SUCCEEDED(hr) ? DV_E_TYMED : hr;
    }
    GlobalUnlock(m.hGlobal);
    std::string bytes(static_cast<const char*>(GlobalLock(m.hGlobal)), GlobalSize(m.hGlobal));
    GlobalUnlock(m.hGlobal);
    ReleaseStgMedium(&m);
    droppedText = textOfUnicodeBlock(bytes);
    *effect = choose(keys, *effect);
    return S_OK;
}

std::string fileList(std::initializer_list<const wchar_t*> paths) {
    DROPFILES header{sizeof(DROPFILES), {0, 0}, TRUE, TRUE};
    std::string out(reinterpret_cast<const char*>(&header), sizeof header);
    for (const wchar_t* p : paths)
        out += unicodeBlock(p);
    return out + std::string(2, '\0');
}

std::string unicodeBlock(const std::wstring& text) {
    const std::u16string u = pal::text::toUtf16(text);
    std::string out(reinterpret_cast<const char*>(u.data()), u.size() * 2);
    out.append(2, '\0');
    return out;
}

std::wstring textOfUnicodeBlock(const std::string& bytes) {
    std::u16string u;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char16_t c;
        std::memcpy(&c, bytes.data() + i, 2);
        if (!c)
            break;
        u.push_back(c);
    }
    return pal::text::fromUtf16(u);
}

} // namespace oletest
