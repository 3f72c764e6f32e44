// Icons and cursors: building them from bitmaps, drawing, copying at other sizes, loading them
// from files, the standard shapes and the cursor of the display.
#include "icon.h"

#include "dib.h"
#include "imagefile.h"
#include "paint.h"
#include "standard_images.h"

#include "pal/path.h"
#include "pal/resources.h"
#include "win/module_resources.h"

#include "pal/journal.h"
#include "win/error.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <map>
#include <mutex>

namespace pal::gdi {

namespace {

constexpr int kSystemIcon = 32; // the system's icon and cursor size

bool sensibleSize(LONGLONG w, LONGLONG h) {
    return w > 0 && h > 0 && w <= DV_MAX_ICON_SIDE && h <= DV_MAX_ICON_SIDE;
}

bool hasAnyAlpha(const Surface& s) {
    if (!s.hasAlpha())
        return false;
    Pixels px(s);
    for (int y = 0; y < px.height(); ++y)
        for (int x = 0; x < px.width(); ++x)
            if (px.at(x, y) >> 24)
                return true;
    return false;
}

// The standard cursors by the shapes the displays know them by.
struct Standard {
    WORD id;
    const char* shape;
};
constexpr Standard kCursors[] = {
    {32512, "arrow"},    {32513, "ibeam"},  {32514, "wait"},        {32515, "cross"},
    {32516, "uparrow"},  {32640, "size"},   {32641, "icon"},        {32642, "sizenwse"},
    {32643, "sizenesw"}, {32644, "sizewe"}, {32645, "sizens"},      {32646, "sizeall"},
    {32648, "no"},       {32649, "hand"},   {32650, "appstarting"}, {32651, "help"},
};

HICON standardImage(LPCWSTR name, bool cursor) {
    // Never destroyed: a thread still drawing as the program ends (a splash going away) may ask.
    struct Made {
        std::mutex mutex;
        std::map<std::pair<WORD, bool>, HICON> icons;
    };
    static Made* cache = new Made;
    auto& made = cache->icons;
    const WORD id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    std::lock_guard lock(cache->mutex);
    if (auto it = made.find({id, cursor}); it != made.end())
        return it->second;
    auto icon = std::make_shared<Icon>();
    if (cursor) {
        auto c = std::find_if(std::begin(kCursors), std::end(kCursors),
                              [id](const Standard& s) { return s.id == id; });
        if (c == std::end(kCursors))
            return nullptr;
        icon->image = standardCursorPicture(c->shape, kSystemIcon, &icon->hotspot);
        icon->isIcon = false;
        icon->shape = c->shape;
    } else {
        icon->image = standardIconPicture(id, kSystemIcon);
        if (!icon->image)
            return nullptr;
    }
    icon->stock = true; // shared: DestroyIcon leaves it
    HICON h = insertIcon(icon);
    made[{id, cursor}] = h;
    return h;
}

} // namespace

std::shared_ptr<Icon> iconOf(HICON handle) {
    return table::getAs<Icon>(reinterpret_cast<HGDIOBJ>(handle));
}

HICON insertIcon(std::shared_ptr<Icon> icon) {
    return reinterpret_cast<HICON>(table::insert(std::move(icon)));
}

Surface scaledCopy(const Surface& from, int width, int height, bool alpha) {
    Surface out = Surface::create(width, height, alpha);
    if (!out || !from)
        return out;
    cairo_t* cr = cairo_create(out.get());
    cairo_scale(cr, double(width) / from.width(), double(height) / from.height());
    cairo_set_source_surface(cr, from.get(), 0, 0);
    const bool same = width == from.width() && height == from.height();
    cairo_pattern_set_filter(cairo_get_source(cr), same ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    return out;
}

const Surface& nearestFrame(const std::vector<Surface>& frames, int width, int height) {
    const Surface* best = nullptr;
    for (const Surface& f : frames) {
        const bool large = f.width() >= width && f.height() >= height;
        if (!best) {
            best = &f;
            continue;
        }
        const bool bestLarge = best->width() >= width && best->height() >= height;
        if (large && (!bestLarge || f.width() * f.height() < best->width() * best->height()))
            best = &f;
        else if (!large && !bestLarge && f.width() * f.height() > best->width() * best->height())
            best = &f;
    }
    return *best;
}

std::vector<Surface> decodeImageFile(const std::wstring& path) {
    std::vector<Surface> out;
    // Files may hold larger images than icons may be; the caller scales them down.
    for (const DecodedImage& image : decodeImages(pal::path::toNative(path), 8 * DV_MAX_ICON_SIDE)) {
        Surface s = Surface::create(image.width, image.height, true);
        if (!s)
            return {};
        Pixels px(s);
        for (int y = 0; y < image.height; ++y)
            std::copy_n(&image.pixels[size_t(y) * image.width], image.width, &px.at(0, y));
        out.push_back(std::move(s));
    }
    return out;
}

Surface alphaPixels(const Bitmap& bitmap) {
    const Surface& s = bitmap.surface;
    if (hasAnyAlpha(s))
        return scaledCopy(s, s.width(), s.height(), true);
    Surface out = Surface::create(s.width(), s.height(), true);
    if (!out)
        return out;
    Pixels from(s), to(out);
    for (int y = 0; y < to.height(); ++y)
        for (int x = 0; x < to.width(); ++x)
            to.at(x, y) = 0xFF000000 | (from.at(x, y) & 0xFFFFFF);
    return out;
}

} // namespace pal::gdi

using namespace pal::gdi;

HICON CreateIconIndirect(PICONINFO info) {
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto color = table::getAs<Bitmap>(info->hbmColor);
    auto mask = table::getAs<Bitmap>(info->hbmMask);
    if (!mask && !color) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const Surface& shape = color ? color->surface : mask->surface;
    const int w = shape.width(), h = color ? shape.height() : shape.height() / 2;
    if (!sensibleSize(w, h)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto icon = std::make_shared<Icon>();
    icon->isIcon = info->fIcon != FALSE;
    icon->hotspot = icon->isIcon ? POINT{w / 2, h / 2} : POINT{LONG(info->xHotspot), LONG(info->yHotspot)};
    if (color && hasAnyAlpha(color->surface)) {
        icon->image = alphaPixels(*color);
    } else {
        // Opaque where the mask is black; a monochrome icon's colours are the mask's lower half.
        icon->image = Surface::create(w, h, true);
        if (!icon->image)
            return nullptr;
        Pixels to(icon->image);
        std::optional<Pixels> m, c;
        if (mask)
            m.emplace(mask->surface);
        if (color)
            c.emplace(color->surface);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const bool transparent =
                    m && x < m->width() && y < m->height() && (m->at(x, y) & 0xFFFFFF) != 0;
                const std::uint32_t rgb = c ? c->at(x, y) & 0xFFFFFF : m->at(x, y + h) & 0xFFFFFF;
                to.at(x, y) = transparent ? 0 : 0xFF000000 | rgb;
            }
        }
    }
    if (!icon->image)
        return nullptr;
    return insertIcon(icon);
}

BOOL GetIconInfo(HICON handle, PICONINFO info) {
    auto icon = iconOf(handle);
    if (!icon || !info)
        return FALSE;
    const int w = icon->image.width(), h = icon->image.height();
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP color = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
    auto c = table::getAs<Bitmap>(color);
    auto m = table::getAs<Bitmap>(mask);
    if (!c || !m) {
        DeleteObject(color);
        DeleteObject(mask);
        return FALSE;
    }
    {
        Pixels from(icon->image), to(c->surface), toMask(m->surface);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                to.at(x, y) = from.at(x, y);
                toMask.at(x, y) = (from.at(x, y) >> 24) ? 0 : 0xFFFFFF;
            }
    }
    *info =
        ICONINFO{icon->isIcon ? TRUE : FALSE, DWORD(icon->hotspot.x), DWORD(icon->hotspot.y), mask, color};
    return TRUE;
}

BOOL DestroyIcon(HICON handle) {
    auto icon = iconOf(handle);
    if (!icon)
        return FALSE;
    if (icon->stock)
        return TRUE;
    return table::remove(reinterpret_cast<HGDIOBJ>(handle)) ? TRUE : FALSE;
}

BOOL DestroyCursor(HCURSOR cursor) {
    return DestroyIcon(cursor);
}

HICON CopyIcon(HICON handle) {
    auto icon = iconOf(handle);
    if (!icon)
        return nullptr;
    auto copy = std::make_shared<Icon>(*icon);
    copy->stock = false;
    copy->selections = 0;
    copy->image = scaledCopy(icon->image, icon->image.width(), icon->image.height(), true);
    return insertIcon(copy);
}

BOOL DrawIconEx(HDC handle, int x, int y, HICON iconHandle, int width, int height, UINT, HBRUSH background,
                UINT flags) {
    auto dc = dcOf(handle);
    auto icon = iconOf(iconHandle);
    if (!dc || !icon)
        return FALSE;
    const Surface& image = icon->image;
    if (width == 0)
        width = (flags & DI_DEFAULTSIZE) ? kSystemIcon : image.width();
    if (height == 0)
        height = (flags & DI_DEFAULTSIZE) ? kSystemIcon : image.height();
    if (width < 0 || height < 0 || width > 32767 || height > 32767)
        return FALSE;
    if (background) {
        const RECT r{x, y, x + width, y + height};
        FillRect(handle, &r, background);
    }
    if (!(flags & DI_NORMAL))
        return TRUE;
    cairo_t* cr = dc->cairo();
    if (!cr)
        return FALSE;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, width, height);
    cairo_clip(cr);
    if ((flags & DI_NORMAL) == DI_MASK) {
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
    } else if ((flags & DI_NORMAL) == DI_IMAGE) {
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_paint(cr);
    }
    cairo_translate(cr, x, y);
    cairo_scale(cr, double(width) / image.width(), double(height) / image.height());
    cairo_pattern_t* source = cairo_pattern_create_for_surface(image.get());
    const bool same = width == image.width() && height == image.height();
    cairo_pattern_set_filter(source, same ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    if ((flags & DI_NORMAL) == DI_MASK) {
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_mask(cr, source);
    } else {
        cairo_set_source(cr, source);
        cairo_paint(cr);
    }
    cairo_pattern_destroy(source);
    cairo_restore(cr);
    return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
    return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

namespace {

HANDLE bitmapFrom(const Surface& image, int width, int height, UINT flags) {
    if (!Surface::fitsSurface(width, height)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (flags & LR_CREATEDIBSECTION) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        HBITMAP h = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, nullptr, nullptr, 0);
        auto b = table::getAs<Bitmap>(h);
        if (!b)
            return nullptr;
        Surface scaled = scaledCopy(image, width, height, true);
        Pixels from(scaled), to(b->surface);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                to.at(x, y) = from.at(x, y);
        return h;
    }
    HBITMAP h = CreateBitmap(width, height, 1, 32, nullptr);
    auto b = table::getAs<Bitmap>(h);
    if (!b)
        return nullptr;
    // An ordinary bitmap has no alpha: transparent parts come out black, as on the platform.
    cairo_t* cr = cairo_create(b->surface.get());
    Surface scaled = scaledCopy(image, width, height, true);
    cairo_set_source_surface(cr, scaled.get(), 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return h;
}

HICON iconFrom(const std::shared_ptr<const std::vector<Surface>>& frames, int width, int height, UINT flags,
               bool isIcon) {
    const Surface& frame = nearestFrame(*frames, width ? width : kSystemIcon, height ? height : kSystemIcon);
    if (width == 0)
        width = (flags & LR_DEFAULTSIZE) ? kSystemIcon : frame.width();
    if (height == 0)
        height = (flags & LR_DEFAULTSIZE) ? kSystemIcon : frame.height();
    if (!sensibleSize(width, height)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto icon = std::make_shared<Icon>();
    icon->image = scaledCopy(frame, width, height, true);
    if (!icon->image)
        return nullptr;
    icon->isIcon = isIcon;
    icon->hotspot = isIcon ? POINT{width / 2, height / 2} : POINT{0, 0};
    icon->frames = frames;
    return insertIcon(icon);
}

} // namespace

HANDLE LoadImageW(HINSTANCE module, LPCWSTR name, UINT type, int width, int height, UINT flags) {
    if (!name || type > IMAGE_CURSOR || width < 0 || height < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!(flags & LR_LOADFROMFILE) && module) {
        // A module's own picture: every file of an icon group gives its sizes.
        const auto kind = type == IMAGE_BITMAP ? pal::resources::Kind::Bitmap
                          : type == IMAGE_ICON ? pal::resources::Kind::Icon
                                               : pal::resources::Kind::Cursor;
        const auto found = pal::resources::find(module, kind, name);
        if (!found)
            return nullptr;
        std::vector<Surface> all;
        for (const auto& file : found->files) {
            for (Surface& frame : decodeImageFile(file.wstring()))
                all.push_back(std::move(frame));
        }
        if (all.empty()) {
            SetLastError(ERROR_INVALID_DATA);
            return nullptr;
        }
        if (type == IMAGE_BITMAP)
            return bitmapFrom(all.front(), width ? width : all.front().width(),
                              height ? height : all.front().height(), flags);
        return iconFrom(std::make_shared<const std::vector<Surface>>(std::move(all)), width, height, flags,
                        type == IMAGE_ICON);
    }
    if (!(flags & LR_LOADFROMFILE)) {
        if (!module && IS_INTRESOURCE(name) && type != IMAGE_BITMAP) {
            HICON standard = standardImage(name, type == IMAGE_CURSOR);
            if (!standard) {
                SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
                return nullptr;
            }
            if ((width == 0 && height == 0) || (width == kSystemIcon && height == kSystemIcon) ||
                (flags & LR_SHARED))
                return standard;
            // Other sizes are drawn afresh at that size, not scaled from the system's.
            if (type == IMAGE_ICON && width == height && sensibleSize(width, height)) {
                auto icon = std::make_shared<Icon>();
                icon->image =
                    standardIconPicture(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)), width);
                icon->hotspot = POINT{width / 2, height / 2};
                return insertIcon(icon);
            }
            return CopyImage(standard, type, width, height, 0);
        }
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    if (IS_INTRESOURCE(name)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto frames = std::make_shared<const std::vector<Surface>>(decodeImageFile(name));
    if (frames->empty()) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    if (type == IMAGE_BITMAP) {
        const Surface& image = frames->front();
        return bitmapFrom(image, width ? width : image.width(), height ? height : image.height(), flags);
    }
    return iconFrom(frames, width, height, flags, type == IMAGE_ICON);
}

HBITMAP LoadBitmapW(HINSTANCE module, LPCWSTR name) {
    if (!module) {
        // The system's own bitmaps are not drawn here.
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return static_cast<HBITMAP>(LoadImageW(module, name, IMAGE_BITMAP, 0, 0, 0));
}

HICON LoadIconW(HINSTANCE module, LPCWSTR name) {
    return static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, 0, 0, LR_SHARED));
}

HCURSOR LoadCursorW(HINSTANCE module, LPCWSTR name) {
    return static_cast<HCURSOR>(LoadImageW(module, name, IMAGE_CURSOR, 0, 0, LR_SHARED));
}

HCURSOR LoadCursorFromFileW(LPCWSTR file) {
    return static_cast<HCURSOR>(LoadImageW(nullptr, file, IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
}

std::vector<SIZE> pal::gdi::iconSizes(HICON handle) {
    const auto icon = iconOf(handle);
    if (!icon)
        return {};
    std::vector<SIZE> sizes;
    const auto add = [&sizes](const Surface& s) {
        const SIZE size{s.width(), s.height()};
        if (std::none_of(sizes.begin(), sizes.end(),
                         [&](const SIZE& o) { return o.cx == size.cx && o.cy == size.cy; }))
            sizes.push_back(size);
    };
    if (icon->frames)
        std::for_each(icon->frames->begin(), icon->frames->end(), add);
    else
        add(icon->image);
    std::sort(sizes.begin(), sizes.end(),
              [](const SIZE& a, const SIZE& b) { return a.cx != b.cx ? a.cx < b.cx : a.cy < b.cy; });
    return sizes;
}

HANDLE CopyImage(HANDLE image, UINT type, int width, int height, UINT flags) {
    if (width < 0 || height < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HANDLE copy = nullptr;
    if (type == IMAGE_BITMAP) {
        auto bitmap = table::getAs<Bitmap>(image);
        if (!bitmap)
            return nullptr;
        const Surface& s = bitmap->surface;
        const bool dib = std::dynamic_pointer_cast<DibSection>(bitmap) != nullptr;
        copy = bitmapFrom(alphaPixels(*bitmap), width ? width : s.width(), height ? height : s.height(),
                          flags | (dib ? LR_CREATEDIBSECTION : 0));
    } else if (type == IMAGE_ICON || type == IMAGE_CURSOR) {
        auto icon = iconOf(static_cast<HICON>(image));
        if (!icon)
            return nullptr;
        const bool sameSize =
            (!width || width == icon->image.width()) && (!height || height == icon->image.height());
        if ((flags & LR_COPYRETURNORG) && sameSize && !(flags & LR_COPYFROMRESOURCE))
            return image;
        auto frames = (flags & LR_COPYFROMRESOURCE) && icon->frames
                          ? icon->frames
                          : std::make_shared<const std::vector<Surface>>(std::vector<Surface>{icon->image});
        if (!width && !height && !(flags & LR_DEFAULTSIZE) && !(flags & LR_COPYFROMRESOURCE)) {
            width = icon->image.width();
            height = icon->image.height();
        }
        copy = iconFrom(frames, width, height, flags, icon->isIcon);
        if (auto made = iconOf(static_cast<HICON>(copy))) {
            made->shape = icon->shape;
            if (!icon->isIcon)
                made->hotspot =
                    POINT{icon->hotspot.x * made->image.width() / std::max(1, icon->image.width()),
                          icon->hotspot.y * made->image.height() / std::max(1, icon->image.height())};
        }
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (copy && (flags & LR_COPYDELETEORG)) {
        if (type == IMAGE_BITMAP)
            DeleteObject(image);
        else
            DestroyIcon(static_cast<HICON>(image));
    }
    return copy;
}

namespace {

std::mutex& cursorMutex() {
    static std::mutex m;
    return m;
}
HCURSOR currentCursor = nullptr;
int cursorShown = 0;
std::atomic<pal::gdi::CursorListener> cursorListener{nullptr};

} // namespace

HCURSOR SetCursor(HCURSOR cursor) {
    std::string shape = "none";
    if (cursor) {
        auto c = iconOf(cursor);
        if (!c)
            return GetCursor();
        shape = c->shape;
    }
    HCURSOR previous = nullptr;
    {
        std::lock_guard lock(cursorMutex());
        previous = currentCursor;
        if (previous == cursor)
            return previous;
        currentCursor = cursor;
        pal::journal::record("cursor", {{"shape", shape}});
    }
    if (const auto listener = cursorListener.load())
        listener(shape);
    return previous;
}

namespace pal::gdi {

void setCursorListener(CursorListener listener) {
    cursorListener.store(listener);
}

} // namespace pal::gdi

HCURSOR GetCursor() {
    std::lock_guard lock(cursorMutex());
    return currentCursor;
}

int ShowCursor(BOOL show) {
    std::lock_guard lock(cursorMutex());
    return show ? ++cursorShown : --cursorShown;
}
