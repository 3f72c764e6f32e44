// Window surfaces: every top-level window owns the pixels of its window rectangle; its
// children draw into them through DCs clipped to what of each child can be seen. Also the
// copies out of a surface (PrintWindow, snapshots) and layered windows' own pixels.
#include "model.h"

#include "driver.h"

#include "pal/sandbox.h"
#include "pal/text.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <unistd.h>

using pal::gdi::Region;
using pal::gdi::Surface;

namespace pal::win {
namespace {

Window* rootWindow(Window* w) {
    while (w && w->parent)
        w = find(w->parent);
    return w;
}

RECT sizeOf(const RECT& r) {
    return RECT{0, 0, r.right - r.left, r.bottom - r.top};
}

// GetDC(nullptr): a surface the size of the primary monitor, made when first asked for.
Surface& desktopSurface() {
    static auto* s = new Surface;
    const RECT screen = primaryMonitorRect();
    if (!*s || s->width() != screen.right - screen.left || s->height() != screen.bottom - screen.top)
        *s = Surface::create(screen.right - screen.left, screen.bottom - screen.top);
    return *s;
}

} // namespace

RECT rectInRoot(Window* w, bool clientOnly) {
    if (!w->parent) {
        RECT r = clientOnly ? w->client : w->rect;
        OffsetRect(&r, -w->rect.left, -w->rect.top);
        return r;
    }
    Window* p = find(w->parent);
    const RECT origin = p ? rectInRoot(p, true) : RECT{};
    RECT r = clientOnly ? w->client : w->rect;
    OffsetRect(&r, origin.left, origin.top);
    return r;
}

Region visibleRegion(Window* w, bool clientOnly) {
    if (!visibleInTree(w) || (rootWindow(w) && (rootWindow(w)->style & WS_MINIMIZE)))
        return Region();
    Region area(rectInRoot(w, clientOnly));
    for (Window* cur = w; cur->parent;) {
        Window* p = find(cur->parent);
        if (!p)
            break;
        area.intersect(Region(rectInRoot(p, true)));
        if (cur->style & WS_CLIPSIBLINGS) {
            for (HWND s : p->children) {
                if (s == cur->handle)
                    break; // the siblings before it lie above it
                Window* sw = find(s);
                if (sw && (sw->style & WS_VISIBLE))
                    area.subtract(Region(rectInRoot(sw, false)));
            }
        }
        cur = p;
    }
    if (w->style & WS_CLIPCHILDREN) {
        for (HWND c : w->children) {
            Window* cw = find(c);
            if (cw && (cw->style & WS_VISIBLE))
                area.subtract(Region(rectInRoot(cw, false)));
        }
    }
    return area;
}

Surface& surfaceOf(Window* root) {
    const RECT size = sizeOf(root->rect);
    Surface& s = root->surface;
    const bool alpha = root->exStyle & WS_EX_LAYERED;
    if (s && s.width() == size.right && s.height() == size.bottom && s.hasAlpha() == alpha)
        return s;
    Surface next = Surface::create(size.right, size.bottom, alpha);
    if (next && s) {
        // A window that grows keeps what it showed; the new parts are painted when they are exposed.
        cairo_t* cr = cairo_create(next.get());
        cairo_set_source_surface(cr, s.get(), 0, 0);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    s = std::move(next);
    return s;
}

HDC windowDC(Window* w, bool clientOnly, const Region& visible) {
    if (!w) {
        const Surface& s = desktopSurface();
        return pal::gdi::createWindowDC(
            {s, POINT{0, 0}, Region(RECT{0, 0, s.width(), s.height()}), desktopHandle()});
    }
    Window* root = rootWindow(w);
    if (!root)
        return nullptr;
    const RECT origin = rectInRoot(w, clientOnly);
    // What a DC may draw on is what may change on screen.
    RECT reach{};
    if (root->layeredPixels)
        reach = RECT{0, 0, root->rect.right - root->rect.left, root->rect.bottom - root->rect.top};
    else
        reach = visible.box();
    damage(root, reach);
    return pal::gdi::createWindowDC({surfaceOf(root), POINT{origin.left, origin.top},
                                     root->layeredPixels ? Region() : visible, w->handle});
}

// --- Snapshots a program writes of its windows when DV_PAL_SNAPSHOTS names a folder ---

namespace {

// The folder under the sandbox root, or empty when snapshots are not asked for. The value
// names a folder inside the sandbox ("1" stands for "snapshots"); one that would leave the
// sandbox is ignored.
std::filesystem::path snapshotFolder() {
    const char* v = std::getenv("DV_PAL_SNAPSHOTS");
    if (!v || !*v || std::string(v) == "0")
        return {};
    const std::filesystem::path name =
        std::string(v) == "1" ? std::filesystem::path("snapshots") : std::filesystem::path(v);
    if (name.is_absolute())
        return {};
    for (const auto& part : name) {
        if (part == "..")
            return {};
    }
    try {
        const auto folder = pal::sandbox::root() / name;
        std::filesystem::create_directories(folder);
        return folder;
    } catch (const std::exception&) {
        return {};
    }
}

std::string fileSafe(const std::wstring& text) {
    std::string out;
    for (char c : pal::text::toUtf8(text)) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == '-' || c == '_';
        out += ok ? c : '_';
        if (out.size() >= 40)
            break;
    }
    return out.empty() ? "window" : out;
}

void writeSnapshot(Window* w, const std::filesystem::path& folder) {
    static std::atomic<int> sequence{0};
    if (!(w->style & WS_VISIBLE) || !w->surface)
        return;
    const std::string name = std::to_string(getpid()) + "-" + std::to_string(++sequence) + "-" +
                             fileSafe(w->cls ? w->cls->name : std::wstring()) + ".png";
    w->surface.savePng(folder / name);
}

} // namespace

void snapshotThreadWindows(DWORD thread) {
    const auto folder = snapshotFolder();
    if (folder.empty())
        return;
    for (HWND h : topLevelOf(thread)) {
        if (Window* w = find(h))
            writeSnapshot(w, folder);
    }
}

void snapshotOnDestroy(HWND hwnd) {
    const auto folder = snapshotFolder();
    if (folder.empty())
        return;
    Lock lock = lockModel();
    Window* w = find(hwnd);
    if (w && !w->parent)
        writeSnapshot(w, folder);
}

} // namespace pal::win

using namespace pal::win;

BOOL PrintWindow(HWND hwnd, HDC dc, UINT flags) {
    {
        Lock lock = lockModel();
        if (!findOrFail(hwnd))
            return FALSE;
    }
    // What is still due is painted first; the surface then holds the window as it looks.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Surface source;
    RECT area{};
    {
        Lock lock = lockModel();
        Window* w = findOrFail(hwnd);
        if (!w)
            return FALSE;
        area = rectInRoot(w, flags & PW_CLIENTONLY);
        source = surfaceOf(rootWindow(w));
    }
    if (!source)
        return FALSE;
    HDC from = pal::gdi::createWindowDC(
        {source, POINT{0, 0}, Region(RECT{0, 0, source.width(), source.height()}), hwnd});
    const BOOL ok =
        BitBlt(dc, 0, 0, area.right - area.left, area.bottom - area.top, from, area.left, area.top, SRCCOPY);
    pal::gdi::releaseWindowDC(from);
    return ok;
}

BOOL UpdateLayeredWindow(HWND hwnd, HDC, POINT* position, SIZE* size, HDC source, POINT* sourcePoint,
                         COLORREF key, BLENDFUNCTION* blend, DWORD flags) {
    {
        Lock lock = lockModel();
        Window* w = findOrFail(hwnd);
        if (!w)
            return FALSE;
        if (!(w->exStyle & WS_EX_LAYERED) || w->parent) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
    }
    if (position || size) {
        RECT r{};
        GetWindowRect(hwnd, &r);
        const int x = position ? position->x : r.left, y = position ? position->y : r.top;
        const int cx = size ? size->cx : r.right - r.left, cy = size ? size->cy : r.bottom - r.top;
        SetWindowPos(hwnd, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    if (!source)
        return TRUE;
    const Surface from = pal::gdi::surfaceOf(source);
    if (!from)
        return FALSE;
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    if (!w)
        return FALSE;
    Surface& target = surfaceOf(w);
    if (!target)
        return FALSE;
    const POINT at = sourcePoint ? *sourcePoint : POINT{0, 0};
    cairo_t* cr = cairo_create(target.get());
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, from.get(), -at.x, -at.y);
    cairo_paint(cr);
    cairo_destroy(cr);
    // Without per-pixel alpha the window is opaque; a colour key makes its pixels transparent.
    cairo_surface_flush(target.get());
    auto* data = cairo_image_surface_get_data(target.get());
    const int stride = cairo_image_surface_get_stride(target.get());
    const std::uint32_t keyPixel =
        (std::uint32_t(GetRValue(key)) << 16) | (std::uint32_t(GetGValue(key)) << 8) | GetBValue(key);
    const bool perPixel = (flags & ULW_ALPHA) && from.hasAlpha();
    for (int y = 0; y < target.height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < target.width(); ++x) {
            std::uint32_t& p = row[x];
            if (!perPixel)
                p |= 0xFF000000;
            if ((flags & ULW_COLORKEY) && (p & 0xFFFFFF) == keyPixel)
                p = 0;
        }
    }
    cairo_surface_mark_dirty(target.get());
    w->layeredAlpha = blend && (flags & ULW_ALPHA) ? blend->SourceConstantAlpha : 255;
    w->layeredPixels = true;
    damage(w, RECT{0, 0, target.width(), target.height()});
    return TRUE;
}
