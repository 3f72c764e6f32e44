// A command's icons in a property exchange: one "Image" section per picture, with its size,
// its state and its bytes (PNG for raster pictures, the SVG document for vector ones) in
// base 64.
#include "IconPixels.h"
#include "pal/notice.h"
#include "pal/text.h"
#include "xtp/ImageManager.h"
#include "xtp/PropExchange.h"

#include <glib.h>

#include <optional>
#include <string>

namespace {

constexpr const wchar_t* kPng = L"png";
constexpr const wchar_t* kSvg = L"svg";

CString toBase64(const std::vector<BYTE>& bytes) {
    gchar* text = g_base64_encode(bytes.data(), bytes.size());
    CString out(pal::text::fromUtf8(text).c_str());
    g_free(text);
    return out;
}

std::optional<std::vector<BYTE>> fromBase64(const CString& text) {
    const std::string narrow = pal::text::toUtf8(static_cast<LPCWSTR>(text));
    if (narrow.empty())
        return std::nullopt;
    for (char c : narrow) {
        if (!(g_ascii_isalnum(c) || c == '+' || c == '/' || c == '='))
            return std::nullopt;
    }
    gsize length = 0;
    guchar* data = g_base64_decode(narrow.c_str(), &length);
    std::vector<BYTE> bytes(data, data + length);
    g_free(data);
    if (bytes.empty())
        return std::nullopt;
    return bytes;
}

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::vector<BYTE>*>(closure);
    out->insert(out->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

struct Reader {
    const std::vector<BYTE>* bytes;
    size_t at = 0;
};

cairo_status_t readBytes(void* closure, unsigned char* data, unsigned int length) {
    auto* r = static_cast<Reader*>(closure);
    if (r->bytes->size() - r->at < length)
        return CAIRO_STATUS_READ_ERROR;
    std::copy_n(r->bytes->data() + r->at, length, data);
    r->at += length;
    return CAIRO_STATUS_SUCCESS;
}

std::vector<BYTE> pngOf(HICON icon) {
    std::vector<BYTE> bytes;
    const pal::gdi::Surface pixels = dv::toolkit::iconPixels(icon);
    if (pixels)
        cairo_surface_write_to_png_stream(pixels.get(), &appendBytes, &bytes);
    return bytes;
}

HICON iconOfPng(const std::vector<BYTE>& bytes) {
    Reader reader{&bytes};
    pal::gdi::Surface read(cairo_image_surface_create_from_png_stream(&readBytes, &reader));
    if (cairo_surface_status(read.get()) != CAIRO_STATUS_SUCCESS || read.width() <= 0 ||
        read.width() > DV_MAX_ICON_SIDE || read.height() <= 0 || read.height() > DV_MAX_ICON_SIDE)
        return nullptr;
    return dv::toolkit::iconFromPixels(dv::toolkit::scaled(read, read.width(), read.height()));
}

// One picture read from a section, before anything is changed.
struct Picture {
    int width = 0;
    int height = 0;
    int state = xtpImageNormal;
    HICON icon = nullptr;
    CXTPImageManagerVectorImageHandle vector;
};

} // namespace

BOOL CXTPImageManager::DoPropExchange(UINT nCommand, CXTPPropExchange* pPX) {
    if (pPX == nullptr)
        return FALSE;
    CXTPPropExchangeEnumeratorPtr images(pPX->GetEnumerator(L"Image"));
    if (pPX->IsStoring()) {
        const CXTPImageManagerIconSet* set = GetIconSet(nCommand);
        std::vector<std::pair<const CXTPImageManagerIcon*, int>> pictures;
        if (set != nullptr) {
            for (const auto& [width, icon] : set->GetIcons()) {
                if (icon->IsVectorIcon()) {
                    pictures.emplace_back(icon.get(), -1);
                    continue;
                }
                for (int state = xtpImageNormal; state <= xtpImagePressed; ++state) {
                    if (icon->HasState(static_cast<XTPImageState>(state)))
                        pictures.emplace_back(icon.get(), state);
                }
            }
        }
        POSITION pos = images->GetPosition(static_cast<DWORD>(pictures.size()));
        for (const auto& [icon, state] : pictures) {
            CXTPPropExchangeSection item(images->GetNext(pos));
            int width = icon->GetWidth(), height = icon->GetHeight();
            int stateValue = std::max(state, 0);
            CString format = state < 0 ? kSvg : kPng;
            CString data = toBase64(state < 0 ? icon->GetVectorImage().GetData()
                                              : pngOf(icon->GetIcon(static_cast<XTPImageState>(state))));
            PX_Int(item, L"Width", width);
            PX_Int(item, L"Height", height);
            PX_Int(item, L"State", stateValue);
            PX_String(item, L"Format", format);
            PX_String(item, L"Data", data);
        }
        return TRUE;
    }

    // Loading: every picture is read first, and the command's icons change only when all are.
    std::vector<Picture> read;
    bool damaged = false;
    POSITION pos = images->GetPosition();
    while (pos != nullptr && !damaged) {
        CXTPPropExchangeSection item(images->GetNext(pos));
        Picture p;
        CString format, data;
        PX_Int(item, L"Width", p.width, 0);
        PX_Int(item, L"Height", p.height, 0);
        PX_Int(item, L"State", p.state, xtpImageNormal);
        PX_String(item, L"Format", format);
        PX_String(item, L"Data", data);
        const auto bytes = fromBase64(data);
        if (!bytes || p.state < xtpImageNormal || p.state > xtpImagePressed) {
            damaged = true;
        } else if (format == kSvg) {
            p.vector = CXTPImageManagerVectorImageHandle::CreateSvgHandle(bytes->data(), bytes->size());
            damaged = !p.vector.IsValid();
        } else if (format == kPng && p.width > 0 && p.height > 0 && p.width <= DV_MAX_ICON_SIDE &&
                   p.height <= DV_MAX_ICON_SIDE) {
            p.icon = iconOfPng(*bytes);
            damaged = p.icon == nullptr;
        } else {
            damaged = true;
        }
        read.push_back(p);
    }
    if (damaged || read.empty()) {
        if (damaged)
            pal::notice::say("image manager: the stored icon of command " + std::to_string(nCommand) +
                             " is damaged; it is left out");
        for (const Picture& p : read) {
            if (p.icon != nullptr)
                ::DestroyIcon(p.icon);
        }
        return FALSE;
    }
    RemoveIcon(nCommand);
    for (const Picture& p : read) {
        if (p.vector.IsValid()) {
            const CSize own = p.vector.GetSize();
            setFor(nCommand)->GetOrCreate(own.cx, own.cy)->SetVectorIcon(p.vector);
        } else {
            SetIcon(p.icon, nCommand, CSize(p.width, p.height), static_cast<XTPImageState>(p.state));
            ::DestroyIcon(p.icon);
        }
    }
    return TRUE;
}
