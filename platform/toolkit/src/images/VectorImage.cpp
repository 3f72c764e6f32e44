// SVG documents through librsvg: drawn at whatever size a button asks for. Most of the icons a
// program registers at start are never drawn, so a document is only checked as XML and sized from
// its root element when it is made; librsvg parses it once, when it is first drawn.
#include "IconPixels.h"
#include "pal/notice.h"
#include "pal/path.h"
#include "pal/text.h"
#include "pal/xml.h"
#include "xtp/ImageManager.h"

#include <librsvg/rsvg.h>

#include <cwchar>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>

namespace {

// librsvg's message, on one line.
std::string reason(GError* error) {
    std::string text = error != nullptr ? error->message : "unknown";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    if (error != nullptr)
        g_error_free(error);
    return text;
}

// A length in pixels ("16", "16px"); nothing for any other unit, which librsvg converts.
std::optional<double> lengthInPixels(const std::optional<std::wstring>& text) {
    if (!text)
        return std::nullopt;
    wchar_t* end = nullptr;
    const double v = std::wcstod(text->c_str(), &end);
    const std::wstring rest = end;
    if (end == text->c_str() || !(rest.empty() || rest == L"px") || !(v > 0))
        return std::nullopt;
    return v;
}

// The width and height of a view box "x y width height".
std::optional<std::pair<double, double>> viewBoxSize(const std::optional<std::wstring>& text) {
    if (!text)
        return std::nullopt;
    double v[4] = {};
    const wchar_t* at = text->c_str();
    for (double& value : v) {
        while (*at == L' ' || *at == L',')
            ++at;
        wchar_t* end = nullptr;
        value = std::wcstod(at, &end);
        if (end == at)
            return std::nullopt;
        at = end;
    }
    if (!(v[2] > 0 && v[3] > 0))
        return std::nullopt;
    return std::make_pair(v[2], v[3]);
}

} // namespace

struct CXTPImageManagerVectorImageHandle::Document {
    std::vector<BYTE> data;
    double width = 0;
    double height = 0;
    // librsvg's tree, made when the document is first drawn.
    mutable std::once_flag parsing;
    mutable RsvgHandle* handle = nullptr;
    ~Document() {
        if (handle != nullptr)
            g_object_unref(handle);
    }
    RsvgHandle* parsed() const {
        std::call_once(parsing, [this] {
            GError* error = nullptr;
            handle = rsvg_handle_new_from_data(data.data(), data.size(), &error);
            if (handle == nullptr)
                pal::notice::say("image manager: not an SVG image: " + reason(error));
        });
        return handle;
    }
};

CXTPImageManagerVectorImageHandle CXTPImageManagerVectorImageHandle::CreateSvgHandle(const void* pData,
                                                                                     size_t nSize) {
    CXTPImageManagerVectorImageHandle result;
    if (pData == nullptr || nSize == 0)
        return result;
    auto doc = std::make_shared<Document>();
    const auto* bytes = static_cast<const BYTE*>(pData);
    doc->data.assign(bytes, bytes + nSize);
    pal::xml::Document xml;
    const pal::xml::LoadResult loaded =
        xml.loadString(std::string_view(reinterpret_cast<const char*>(bytes), nSize));
    const std::wstring rootName = loaded ? xml.root().name() : std::wstring();
    if (!loaded || !(rootName == L"svg" || rootName.ends_with(L":svg"))) {
        pal::notice::say("image manager: not an SVG image: " +
                         (loaded ? "its root element is not <svg>" : loaded.message));
        return result;
    }
    double w = 0, h = 0;
    const auto width = lengthInPixels(xml.root().attribute(L"width"));
    const auto height = lengthInPixels(xml.root().attribute(L"height"));
    const bool sized = xml.root().hasAttribute(L"width") || xml.root().hasAttribute(L"height");
    if (width && height) {
        w = *width;
        h = *height;
    } else if (!sized) {
        // A document sized only by its view box (as icon themes draw theirs) is that big.
        if (const auto box = viewBoxSize(xml.root().attribute(L"viewBox"))) {
            w = box->first;
            h = box->second;
        }
    } else if (RsvgHandle* handle = doc->parsed()) {
        // Lengths in other units: librsvg knows them.
        gdouble pw = 0, ph = 0;
        if (rsvg_handle_get_intrinsic_size_in_pixels(handle, &pw, &ph)) {
            w = pw;
            h = ph;
        }
    } else {
        return result;
    }
    if (!(w > 0 && h > 0)) {
        pal::notice::say("image manager: the SVG image has no size");
        return result;
    }
    doc->width = w;
    doc->height = h;
    result.doc_ = std::move(doc);
    return result;
}

CXTPImageManagerVectorImageHandle CXTPImageManagerVectorImageHandle::CreateSvgHandle(LPCWSTR lpszFile) {
    if (lpszFile == nullptr)
        return {};
    std::ifstream in(pal::path::toNative(lpszFile), std::ios::binary);
    if (!in) {
        pal::notice::say("image manager: cannot read " + pal::text::toUtf8(lpszFile));
        return {};
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return CreateSvgHandle(bytes.data(), bytes.size());
}

CSize CXTPImageManagerVectorImageHandle::GetSize() const {
    if (!doc_)
        return CSize(0, 0);
    return CSize(static_cast<int>(doc_->width + 0.5), static_cast<int>(doc_->height + 0.5));
}

const std::vector<BYTE>& CXTPImageManagerVectorImageHandle::GetData() const {
    static const std::vector<BYTE> none;
    return doc_ ? doc_->data : none;
}

HICON CXTPImageManagerVectorImageHandle::Render(int cx, int cy) const {
    if (!doc_ || cx <= 0 || cy <= 0 || cx > DV_MAX_ICON_SIDE || cy > DV_MAX_ICON_SIDE)
        return nullptr;
    pal::gdi::Surface pixels = pal::gdi::Surface::create(cx, cy, true);
    if (!pixels)
        return nullptr;
    cairo_t* cr = cairo_create(pixels.get());
    const RsvgRectangle viewport{0, 0, double(cx), double(cy)};
    GError* error = nullptr;
    RsvgHandle* handle = doc_->parsed();
    const bool drawn = handle != nullptr && rsvg_handle_render_document(handle, cr, &viewport, &error);
    cairo_destroy(cr);
    if (!drawn) {
        pal::notice::say("image manager: the SVG image does not draw: " + reason(error));
        return nullptr;
    }
    cairo_surface_mark_dirty(pixels.get());
    return dv::toolkit::iconFromPixels(pixels);
}
