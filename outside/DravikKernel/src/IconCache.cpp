#include "DravikKernel/IconCache.h"

#include "DravikKernel/Objects.h"
#include "win/gdi.h"
#include "win/user.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int kObjectIcons[] = {Dravik::kIconLayer, Dravik::kIconLCS, Dravik::kIconPage, Dravik::kIconCS3D};

// A pen or brush selected for the length of a scope.
class Ink {
public:
    Ink(HDC dc, COLORREF color, int width, bool fill) : dc_(dc) {
        pen_ = CreatePen(PS_SOLID, width, color);
        brush_ = fill ? CreateSolidBrush(color) : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        oldPen_ = SelectObject(dc, pen_);
        oldBrush_ = SelectObject(dc, brush_);
        fill_ = fill;
    }
    ~Ink() {
        SelectObject(dc_, oldPen_);
        SelectObject(dc_, oldBrush_);
        DeleteObject(pen_);
        if (fill_)
            DeleteObject(brush_);
    }
    Ink(const Ink&) = delete;
    Ink& operator=(const Ink&) = delete;

private:
    HDC dc_;
    HPEN pen_;
    HBRUSH brush_;
    HGDIOBJ oldPen_, oldBrush_;
    bool fill_;
};

void line(HDC dc, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

// Each picture is drawn on a 16-unit grid scaled to the square.
struct Grid {
    int x, y, size;
    int operator()(int v) const { return v * size / 16; }
    int X(int v) const { return x + (*this)(v); }
    int Y(int v) const { return y + (*this)(v); }
};

} // namespace

CIconCache& CIconCache::Instance() {
    static CIconCache cache;
    return cache;
}

bool CIconCache::DrawIcon(HDC dc, int id, int x, int y, int size) const {
    const Grid g{x, y, size};
    const int thin = std::max(1, size / 12);
    const COLORREF ink = RGB(0x40, 0x40, 0x40);
    switch (id) {
    case kHidden: { // an eye struck through
        Ink pen(dc, ink, thin, false);
        Ellipse(dc, g.X(1), g.Y(4), g.X(15), g.Y(12));
        Ellipse(dc, g.X(6), g.Y(6), g.X(10), g.Y(10));
        Ink red(dc, RGB(0xD0, 0x20, 0x20), thin + 1, false);
        line(dc, g.X(2), g.Y(14), g.X(14), g.Y(2));
        return true;
    }
    case kFrozen: { // a snowflake
        Ink pen(dc, RGB(0x20, 0x80, 0xD0), thin + 1, false);
        line(dc, g.X(8), g.Y(1), g.X(8), g.Y(15));
        line(dc, g.X(2), g.Y(4), g.X(14), g.Y(12));
        line(dc, g.X(2), g.Y(12), g.X(14), g.Y(4));
        return true;
    }
    case kLocked: { // a padlock
        {
            Ink shackle(dc, ink, thin + 1, false);
            Ellipse(dc, g.X(4), g.Y(1), g.X(12), g.Y(11));
        }
        Ink body(dc, RGB(0xC8, 0x90, 0x20), 1, true);
        Rectangle(dc, g.X(2), g.Y(7), g.X(14), g.Y(15));
        return true;
    }
    case kLineWidth: { // lines growing heavier
        for (int i = 0; i < 3; ++i) {
            Ink pen(dc, ink, std::max(1, g(1 + i)), false);
            line(dc, g.X(1), g.Y(3 + 5 * i), g.X(15), g.Y(3 + 5 * i));
        }
        return true;
    }
    case kNotPrinted: { // a printer struck through
        {
            Ink pen(dc, ink, thin, false);
            Rectangle(dc, g.X(1), g.Y(6), g.X(15), g.Y(12));
            Rectangle(dc, g.X(4), g.Y(2), g.X(12), g.Y(6));
            Rectangle(dc, g.X(4), g.Y(10), g.X(12), g.Y(15));
        }
        Ink red(dc, RGB(0xD0, 0x20, 0x20), thin + 1, false);
        line(dc, g.X(1), g.Y(15), g.X(15), g.Y(1));
        return true;
    }
    case kBackground: { // a sheet behind another
        {
            Ink back(dc, RGB(0x90, 0x90, 0x90), 1, true);
            Rectangle(dc, g.X(1), g.Y(1), g.X(11), g.Y(11));
        }
        Ink pen(dc, ink, thin, false);
        Rectangle(dc, g.X(5), g.Y(5), g.X(15), g.Y(15));
        return true;
    }
    case Dravik::kIconLayer: { // three stacked sheets
        for (int i = 2; i >= 0; --i) {
            Ink fill(dc, i == 0 ? RGB(0x40, 0x90, 0xE0) : RGB(0xB0, 0xC8, 0xE8), 1, true);
            const POINT sheet[] = {{g.X(1), g.Y(5 + 3 * i)},
                                   {g.X(8), g.Y(2 + 3 * i)},
                                   {g.X(15), g.Y(5 + 3 * i)},
                                   {g.X(8), g.Y(8 + 3 * i)}};
            Polygon(dc, sheet, 4);
        }
        return true;
    }
    case Dravik::kIconLCS: { // two axes at a point
        {
            Ink x(dc, RGB(0xD0, 0x20, 0x20), thin + 1, false);
            line(dc, g.X(2), g.Y(13), g.X(15), g.Y(13));
            line(dc, g.X(15), g.Y(13), g.X(12), g.Y(10));
        }
        Ink yAxis(dc, RGB(0x20, 0xA0, 0x20), thin + 1, false);
        line(dc, g.X(2), g.Y(13), g.X(2), g.Y(1));
        line(dc, g.X(2), g.Y(1), g.X(5), g.Y(4));
        return true;
    }
    case Dravik::kIconPage: { // a sheet with a folded corner
        Ink pen(dc, ink, thin, false);
        const POINT sheet[] = {{g.X(3), g.Y(1)},   {g.X(10), g.Y(1)}, {g.X(14), g.Y(5)},
                               {g.X(14), g.Y(15)}, {g.X(3), g.Y(15)}, {g.X(3), g.Y(1)}};
        Polyline(dc, sheet, 6);
        line(dc, g.X(10), g.Y(1), g.X(10), g.Y(5));
        line(dc, g.X(10), g.Y(5), g.X(14), g.Y(5));
        return true;
    }
    case Dravik::kIconCS3D: { // three axes at a point
        const POINT o{g.X(6), g.Y(10)};
        {
            Ink x(dc, RGB(0xD0, 0x20, 0x20), thin + 1, false);
            line(dc, o.x, o.y, g.X(15), o.y);
        }
        {
            Ink yAxis(dc, RGB(0x20, 0xA0, 0x20), thin + 1, false);
            line(dc, o.x, o.y, o.x, g.Y(1));
        }
        Ink z(dc, RGB(0x20, 0x50, 0xD0), thin + 1, false);
        line(dc, o.x, o.y, g.X(1), g.Y(15));
        return true;
    }
    default:
        return false;
    }
}

int CIconCache::ImageIndex(int id) const {
    const auto* it = std::find(std::begin(kObjectIcons), std::end(kObjectIcons), id);
    return it == std::end(kObjectIcons) ? -1 : static_cast<int>(it - std::begin(kObjectIcons));
}

HIMAGELIST CIconCache::GetObjectImageList() {
    if (objects_ != nullptr)
        return objects_;
    constexpr int kSize = 16;
    objects_ =
        ImageList_Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, static_cast<int>(std::size(kObjectIcons)), 0);
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    for (int id : kObjectIcons) {
        const HBITMAP image = CreateCompatibleBitmap(screen, kSize, kSize);
        const HBITMAP mask = CreateCompatibleBitmap(screen, kSize, kSize);
        // The picture on white, and a mask that keeps what was drawn: white where nothing was.
        const HGDIOBJ old = SelectObject(dc, image);
        const RECT all{0, 0, kSize, kSize};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawIcon(dc, id, 0, 0, kSize);
        SelectObject(dc, mask);
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        const HDC pictureDc = CreateCompatibleDC(screen);
        const HGDIOBJ oldPicture = SelectObject(pictureDc, image);
        for (int py = 0; py < kSize; ++py)
            for (int px = 0; px < kSize; ++px)
                if (GetPixel(pictureDc, px, py) != RGB(255, 255, 255))
                    SetPixel(dc, px, py, RGB(0, 0, 0));
        SelectObject(pictureDc, oldPicture);
        DeleteDC(pictureDc);
        SelectObject(dc, old);
        ImageList_Add(objects_, image, mask);
        DeleteObject(image);
        DeleteObject(mask);
    }
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return objects_;
}
