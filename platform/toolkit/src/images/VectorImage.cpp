// SVG documents through librsvg: parsed once, drawn at whatever size a button asks for.
#include "IconPixels.h"
#include "pal/notice.h"
#include "pal/path.h"
#include "pal/text.h"
#include "xtp/ImageManager.h"

#include <librsvg/rsvg.h>

#include <fstream>
#include <iterator>

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

} // namespace

struct CXTPImageManagerVectorImageHandle::Document {
    std::vector<BYTE> data;
    RsvgHandle* handle = nullptr;
    double width = 0;
    double height = 0;
    ~Document() {
        if (handle != nullptr)
            g_object_unref(handle);
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
    GError* error = nullptr;
    doc->handle = rsvg_handle_new_from_data(doc->data.data(), doc->data.size(), &error);
    if (doc->handle == nullptr) {
        pal::notice::say("image manager: not an SVG image: " + reason(error));
        return result;
    }
    gdouble w = 0, h = 0;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(doc->handle, &w, &h) || w <= 0 || h <= 0) {
        // A document sized only by its view box (as icon themes draw theirs) is that big.
        gboolean hasWidth = FALSE, hasHeight = FALSE, hasViewBox = FALSE;
        RsvgLength width{}, height{};
        RsvgRectangle viewBox{};
        rsvg_handle_get_intrinsic_dimensions(doc->handle, &hasWidth, &width, &hasHeight, &height, &hasViewBox,
                                             &viewBox);
        if (hasViewBox) {
            w = viewBox.width;
            h = viewBox.height;
        }
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
    const bool drawn = rsvg_handle_render_document(doc_->handle, cr, &viewport, &error);
    cairo_destroy(cr);
    if (!drawn) {
        pal::notice::say("image manager: the SVG image does not draw: " + reason(error));
        return nullptr;
    }
    cairo_surface_mark_dirty(pixels.get());
    return dv::toolkit::iconFromPixels(pixels);
}
