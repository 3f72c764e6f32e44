#include "medium.h"

#include "blocks.h"
#include "clipboard_store.h"
#include "com_object.h"

#include <vector>

namespace pal::ole {
namespace {

constexpr ULONGLONG kMaxStreamBytes = 1ull << 30;

std::optional<std::string> bytesOfStream(IStream* stream) {
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > kMaxStreamBytes)
        return std::nullopt;
    LARGE_INTEGER start{};
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)))
        return std::nullopt;
    std::string out(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
    ULONG read = 0;
    if (!out.empty() && FAILED(stream->Read(out.data(), static_cast<ULONG>(out.size()), &read)))
        return std::nullopt;
    out.resize(read);
    return out;
}

} // namespace

std::optional<std::string> bytesOfMedium(const STGMEDIUM& medium, DWORD asked) {
    if (!(medium.tymed & asked))
        return std::nullopt;
    if (medium.tymed == TYMED_HGLOBAL)
        return bytesOf(medium.hGlobal);
    if (medium.tymed == TYMED_ISTREAM && medium.pstm)
        return bytesOfStream(medium.pstm);
    return std::nullopt;
}

std::optional<std::string> renderFormat(IDataObject* object, const FORMATETC& format) {
    FORMATETC asked = format;
    asked.tymed &= TYMED_HGLOBAL | TYMED_ISTREAM;
    if (!object || !asked.tymed)
        return std::nullopt;
    STGMEDIUM medium{};
    if (FAILED(object->GetData(&asked, &medium)))
        return std::nullopt;
    std::optional<std::string> bytes = bytesOfMedium(medium, asked.tymed);
    ReleaseStgMedium(&medium);
    if (bytes && !blockSound(format.cfFormat, *bytes))
        return std::nullopt;
    return bytes;
}

int renderInto(std::int64_t slot, IDataObject* object) {
    Ref<IEnumFORMATETC> formats;
    if (!object || FAILED(object->EnumFormatEtc(DATADIR_GET, formats.out())) || !formats)
        return -1;
    int stored = 0;
    FORMATETC f{};
    ULONG fetched = 0;
    while (formats->Next(1, &f, &fetched) == S_OK && fetched == 1) {
        if (f.dwAspect != DVASPECT_CONTENT || f.ptd) {
            CoTaskMemFree(f.ptd);
            continue;
        }
        if (const auto bytes = renderFormat(object, f);
            bytes && ClipboardStore::instance().put(slot, f.cfFormat, *bytes))
            ++stored;
    }
    return stored;
}

} // namespace pal::ole

void ReleaseStgMedium(LPSTGMEDIUM medium) {
    if (!medium)
        return;
    if (medium->pUnkForRelease) {
        medium->pUnkForRelease->Release();
    } else {
        switch (medium->tymed) {
        case TYMED_HGLOBAL:
            GlobalFree(medium->hGlobal);
            break;
        case TYMED_ISTREAM:
            if (medium->pstm)
                medium->pstm->Release();
            break;
        case TYMED_FILE:
            CoTaskMemFree(medium->lpszFileName);
            break;
        default:
            break;
        }
    }
    *medium = STGMEDIUM{};
}
