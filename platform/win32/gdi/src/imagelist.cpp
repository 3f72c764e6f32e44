// Image lists: each image a premultiplied surface of the list's size, drawn through Cairo.
#include "icon.h"
#include "paint.h"

#include "win/error.h"
#include "win/gdi/imagelist.h"

#include <mutex>
#include <unordered_map>
#include <vector>

struct DvImageList {
    int width = 0, height = 0;
    UINT flags = 0;
    COLORREF background = CLR_NONE;
    std::vector<pal::gdi::Surface> images;
};

using namespace pal::gdi;

namespace {

std::mutex& listMutex() {
    static std::mutex m;
    return m;
}
std::unordered_map<HIMAGELIST, std::unique_ptr<DvImageList>>& lists() {
    static auto* all = new std::unordered_map<HIMAGELIST, std::unique_ptr<DvImageList>>;
    return *all;
}

// The live list behind a handle (the caller holds listMutex()).
DvImageList* listOf(HIMAGELIST h) {
    auto it = lists().find(h);
    if (it == lists().end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second.get();
}

// Cuts `image` (premultiplied) into images of the list's size and appends them.
int append(DvImageList& list, const Surface& image) {
    const int count = image.width() / list.width;
    if (count <= 0 || image.height() < list.height)
        return -1;
    const int first = static_cast<int>(list.images.size());
    for (int i = 0; i < count; ++i) {
        Surface s = Surface::create(list.width, list.height, true);
        cairo_t* cr = cairo_create(s.get());
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr, image.get(), -i * list.width, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        list.images.push_back(std::move(s));
    }
    return first;
}

// The premultiplied pixels of a bitmap with a mask or a mask colour applied.
Surface maskedPixels(const Bitmap& image, const Bitmap* mask, std::optional<COLORREF> maskColor) {
    Surface out = alphaPixels(image);
    if (!out || (!mask && !maskColor))
        return out;
    Pixels px(out);
    std::optional<Pixels> m;
    if (mask)
        m.emplace(mask->surface);
    for (int y = 0; y < px.height(); ++y) {
        for (int x = 0; x < px.width(); ++x) {
            bool transparent = false;
            if (m)
                transparent = x < m->width() && y < m->height() && (m->at(x, y) & 0xFFFFFF) != 0;
            else
                transparent = (px.at(x, y) & 0xFFFFFF) == toPixel(*maskColor);
            if (transparent)
                px.at(x, y) = 0;
        }
    }
    return out;
}

} // namespace

HIMAGELIST ImageList_Create(int width, int height, UINT flags, int, int) {
    if (width <= 0 || height <= 0 || width > DV_MAX_ICON_SIDE || height > DV_MAX_ICON_SIDE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto list = std::make_unique<DvImageList>();
    list->width = width;
    list->height = height;
    list->flags = flags;
    HIMAGELIST h = list.get();
    std::lock_guard lock(listMutex());
    lists().emplace(h, std::move(list));
    return h;
}

BOOL ImageList_Destroy(HIMAGELIST h) {
    std::lock_guard lock(listMutex());
    return lists().erase(h) ? TRUE : FALSE;
}

int ImageList_Add(HIMAGELIST h, HBITMAP image, HBITMAP mask) {
    auto bitmap = table::getAs<Bitmap>(image);
    auto maskBitmap = mask ? table::getAs<Bitmap>(mask) : nullptr;
    std::lock_guard lock(listMutex());
    DvImageList* list = listOf(h);
    if (!list || !bitmap)
        return -1;
    const bool useMask = maskBitmap && (list->flags & ILC_MASK) && !bitmap->surface.hasAlpha();
    return append(*list, maskedPixels(*bitmap, useMask ? maskBitmap.get() : nullptr, std::nullopt));
}

int ImageList_AddMasked(HIMAGELIST h, HBITMAP image, COLORREF mask) {
    auto bitmap = table::getAs<Bitmap>(image);
    std::lock_guard lock(listMutex());
    DvImageList* list = listOf(h);
    if (!list || !bitmap)
        return -1;
    return append(*list, maskedPixels(*bitmap, nullptr, mask & 0xFFFFFF));
}

BOOL ImageList_Replace(HIMAGELIST h, int index, HBITMAP image, HBITMAP mask) {
    auto bitmap = table::getAs<Bitmap>(image);
    auto maskBitmap = mask ? table::getAs<Bitmap>(mask) : nullptr;
    std::lock_guard lock(listMutex());
    DvImageList* list = listOf(h);
    if (!list || !bitmap || index < 0 || size_t(index) >= list->images.size())
        return FALSE;
    DvImageList one = *list;
    one.images.clear();
    if (append(one, maskedPixels(*bitmap, maskBitmap.get(), std::nullopt)) < 0)
        return FALSE;
    list->images[size_t(index)] = one.images.front();
    return TRUE;
}

int ImageList_ReplaceIcon(HIMAGELIST h, int index, HICON iconHandle) {
    auto icon = iconOf(iconHandle);
    std::lock_guard lock(listMutex());
    DvImageList* list = listOf(h);
    if (!list || !icon || index < -1 || (index >= 0 && size_t(index) >= list->images.size()))
        return -1;
    Surface s = scaledCopy(icon->image, list->width, list->height, true);
    if (!s)
        return -1;
    if (index < 0) {
        list->images.push_back(std::move(s));
        return static_cast<int>(list->images.size()) - 1;
    }
    list->images[size_t(index)] = std::move(s);
    return index;
}

BOOL ImageList_Remove(HIMAGELIST h, int index) {
    std::lock_guard lock(listMutex());
    DvImageList* list = listOf(h);
    if (!list || index < -1 || (index >= 0 && size_t(index) >= list->images.size()))
        return FALSE;
    if (index < 0)
        list->images.clear();
    else
        list->images.erase(list->images.begin() + index);
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST h) {
    std::lock_guard lock(listMutex());
    DvImageList* list = listOf(h);
    return list ? static_cast<int>(list->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST h, int* width, int* height) {
    std::lock_guard lock(listMutex());
    DvImageList* list = listOf(h);
    if (!list || !width || !height)
        return FALSE;
    *width = list->width;
    *height = list->height;
    return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST h, COLORREF color) {
    std::lock_guard lock(listMutex());
    DvImageList* list = listOf(h);
    if (!list)
        return CLR_NONE;
    const COLORREF previous = list->background;
    list->background = color;
    return previous;
}

COLORREF ImageList_GetBkColor(HIMAGELIST h) {
    std::lock_guard lock(listMutex());
    DvImageList* list = listOf(h);
    return list ? list->background : CLR_NONE;
}

BOOL ImageList_DrawEx(HIMAGELIST h, int index, HDC handle, int x, int y, int width, int height,
                      COLORREF background, COLORREF foreground, UINT style) {
    auto dc = dcOf(handle);
    Surface image;
    COLORREF listBackground;
    {
        std::lock_guard lock(listMutex());
        DvImageList* list = listOf(h);
        if (!list || !dc || index < 0 || size_t(index) >= list->images.size())
            return FALSE;
        image = list->images[size_t(index)];
        listBackground = list->background;
        if (width <= 0)
            width = list->width;
        if (height <= 0)
            height = list->height;
    }
    if (background == CLR_DEFAULT)
        background = listBackground;
    cairo_t* cr = dc->cairo();
    if (!cr)
        return FALSE;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, width, height);
    cairo_clip(cr);
    if (style & ILD_MASK) {
        // The mask alone: black where the image is, white elsewhere.
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_mask_surface(cr, image.get(), x, y);
        cairo_restore(cr);
        return TRUE;
    }
    if (!(style & ILD_TRANSPARENT) && background != CLR_NONE) {
        setSourceColor(cr, background);
        cairo_paint(cr);
    }
    cairo_set_source_surface(cr, image.get(), x, y);
    cairo_paint(cr);
    if (style & (ILD_BLEND25 | ILD_BLEND50)) {
        COLORREF blend =
            foreground == CLR_DEFAULT || foreground == CLR_NONE ? GetSysColor(COLOR_HIGHLIGHT) : foreground;
        const double amount = (style & ILD_BLEND50) ? 0.5 : 0.25;
        cairo_set_source_rgba(cr, GetRValue(blend) / 255.0, GetGValue(blend) / 255.0,
                              GetBValue(blend) / 255.0, amount);
        cairo_mask_surface(cr, image.get(), x, y);
    }
    cairo_restore(cr);
    return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST h, int index, HDC dc, int x, int y, UINT style) {
    return ImageList_DrawEx(h, index, dc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}

HICON ImageList_GetIcon(HIMAGELIST h, int index, UINT) {
    Surface image;
    {
        std::lock_guard lock(listMutex());
        DvImageList* list = listOf(h);
        if (!list || index < 0 || size_t(index) >= list->images.size())
            return nullptr;
        image = list->images[size_t(index)];
    }
    auto icon = std::make_shared<Icon>();
    icon->image = scaledCopy(image, image.width(), image.height(), true);
    icon->hotspot = POINT{image.width() / 2, image.height() / 2};
    return insertIcon(icon);
}
