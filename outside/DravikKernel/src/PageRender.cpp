#include "DravikKernel/PageRender.h"

#include "DravikKernel/TitleBlock.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>

namespace Dravik {
namespace {

// Clamped so that a far zoom cannot overflow the device's integers.
inline POINT toDevice(const PageView& view, const Page& page, double x, double y) {
    auto device = [](double v) { return static_cast<LONG>(std::floor(std::clamp(v, -1e9, 1e9) + 0.5)); };
    return {device(view.left + x * view.scale), device(view.top + (page.height - y) * view.scale)};
}

constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kPaperEdge = RGB(160, 160, 160);
constexpr COLORREF kHighlight = RGB(0, 120, 215);
// Line weights in millimetres: outlines and the frame thick, the title block's inner grid thin.
constexpr double kThick = 0.5;
constexpr double kThin = 0.25;
// A font's cell height for a text height given as the height of capitals, and a character's
// usual advance.
constexpr double kCellPerCapital = 1.45;
constexpr double kAdvancePerCapital = 0.8;
// Texts whose cells are lower than this many pixels are drawn as strokes.
constexpr int kSmallestText = 6;

COLORREF colorOf(const Element& e, bool selected) {
    if (selected)
        return kHighlight;
    return RGB(e.color & 0xFF, (e.color >> 8) & 0xFF, (e.color >> 16) & 0xFF);
}

int penWidth(const PageView& view, double mm) {
    return std::max(1, static_cast<int>(std::lround(view.scale * mm)));
}

// Pens and fonts made for one drawing, selected into the DC and put back afterwards.
class Tools {
public:
    explicit Tools(HDC dc) : dc_(dc) {
        oldPen_ = SelectObject(dc, GetStockObject(BLACK_PEN));
        oldBrush_ = SelectObject(dc, GetStockObject(NULL_BRUSH));
        oldFont_ = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        oldMode_ = SetBkMode(dc, TRANSPARENT);
        oldAlign_ = SetTextAlign(dc, TA_LEFT | TA_BASELINE);
        oldText_ = GetTextColor(dc);
    }
    ~Tools() {
        SelectObject(dc_, oldPen_);
        SelectObject(dc_, oldBrush_);
        SelectObject(dc_, oldFont_);
        SetBkMode(dc_, oldMode_);
        SetTextAlign(dc_, oldAlign_);
        SetTextColor(dc_, oldText_);
        release();
    }
    // A pen or a font is made only when it differs from the one selected.
    void pen(COLORREF color, int width) {
        if (pen_ && color == penColor_ && width == penWidth_)
            return;
        penColor_ = color;
        penWidth_ = width;
        HPEN p = CreatePen(PS_SOLID, width, color);
        SelectObject(dc_, p);
        if (pen_)
            DeleteObject(pen_);
        pen_ = p;
    }
    void font(int cellHeight) {
        cellHeight = std::max(1, cellHeight);
        if (font_ && cellHeight == fontHeight_)
            return;
        fontHeight_ = cellHeight;
        HFONT f = CreateFontW(-cellHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH | FF_SWISS, L"DejaVu Sans");
        SelectObject(dc_, f);
        if (font_)
            DeleteObject(font_);
        font_ = f;
    }

private:
    void release() {
        if (pen_)
            DeleteObject(pen_);
        if (font_)
            DeleteObject(font_);
    }
    HDC dc_;
    HGDIOBJ oldPen_, oldBrush_, oldFont_;
    int oldMode_;
    UINT oldAlign_;
    COLORREF oldText_;
    HPEN pen_ = nullptr;
    COLORREF penColor_ = 0;
    int penWidth_ = 0;
    HFONT font_ = nullptr;
    int fontHeight_ = 0;
};

void polyline(HDC dc, const std::vector<POINT>& points) {
    if (points.size() >= 2)
        Polyline(dc, points.data(), static_cast<int>(points.size()));
}

void rectangle(HDC dc, POINT a, POINT b) {
    polyline(dc, {a, {b.x, a.y}, b, {a.x, b.y}, a});
}

// A cell's text, made smaller until it fits the cell's width.
void cellText(HDC dc, Tools& tools, const PageView& view, const PlacedCell& cell, const Page& page) {
    if (cell.text.empty())
        return;
    const POINT lt = toDevice(view, page, cell.left, cell.top);
    const POINT rb = toDevice(view, page, cell.right, cell.bottom);
    const int inset = std::max(1, static_cast<int>(view.scale * 0.8));
    RECT box{lt.x + inset, lt.y, rb.x - inset, rb.y};
    int height = static_cast<int>(std::lround(cell.textHeight * kCellPerCapital * view.scale));
    const int fitHeight = std::max(1, static_cast<int>((rb.y - lt.y) * 0.9));
    height = std::min(height, fitHeight);
    while (true) {
        tools.font(height);
        SIZE size{};
        GetTextExtentPoint32W(dc, cell.text.c_str(), static_cast<int>(cell.text.size()), &size);
        if (size.cx <= box.right - box.left || height <= 4)
            break;
        height = std::max(4, height * 9 / 10);
    }
    const UINT align = SetTextAlign(dc, TA_LEFT | TA_TOP);
    DrawTextW(dc, cell.text.c_str(), static_cast<int>(cell.text.size()), &box,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetTextAlign(dc, align);
}

void drawElement(HDC dc, Tools& tools, const DVDocument& doc, const Page& page, const PageView& view,
                 const Element& e, bool selected) {
    auto at = [&](double x, double y) { return toDevice(view, page, x, y); };
    const auto& c = e.coords;
    const COLORREF color = colorOf(e, selected);
    tools.pen(color, penWidth(view, selected ? kThick * 2 : kThick));
    switch (e.kind) {
    case ElementKind::Line:
        polyline(dc, {at(c[0], c[1]), at(c[2], c[3])});
        break;
    case ElementKind::Polyline: {
        std::vector<POINT> points;
        for (std::size_t i = 0; i + 1 < c.size(); i += 2)
            points.push_back(at(c[i], c[i + 1]));
        polyline(dc, points);
        break;
    }
    case ElementKind::Circle:
    case ElementKind::Arc: {
        const double start = e.kind == ElementKind::Arc ? c[3] : 0.0;
        const double sweep = e.kind == ElementKind::Arc ? c[4] : 360.0;
        // Enough segments that no chord strays from the curve by more than half a pixel.
        const double radiusPx = c[2] * view.scale;
        const int segments =
            std::clamp(static_cast<int>(std::ceil(std::abs(sweep) / 360.0 * std::numbers::pi *
                                                  std::sqrt(radiusPx * 4 + 1))),
                       8, 720);
        // The points turn by one fixed rotation, which costs no trigonometry per point.
        const double step = sweep / segments * std::numbers::pi / 180.0;
        const double cs = std::cos(step), sn = std::sin(step);
        double dx = c[2] * std::cos(start * std::numbers::pi / 180.0);
        double dy = c[2] * std::sin(start * std::numbers::pi / 180.0);
        std::vector<POINT> points;
        points.reserve(segments + 1);
        for (int i = 0; i <= segments; ++i) {
            points.push_back(at(c[0] + dx, c[1] + dy));
            const double nx = dx * cs - dy * sn;
            dy = dx * sn + dy * cs;
            dx = nx;
        }
        polyline(dc, points);
        break;
    }
    case ElementKind::Text: {
        const int height = static_cast<int>(std::lround(c[2] * kCellPerCapital * view.scale));
        const POINT p = at(c[0], c[1]);
        if (height < kSmallestText) {
            // Too small to read: a stroke where the text runs.
            tools.pen(color, 1);
            const POINT end =
                at(c[0] + c[2] * kAdvancePerCapital * static_cast<double>(e.text.size()), c[1] + c[2] / 2);
            polyline(dc, {{p.x, end.y}, end});
            break;
        }
        tools.font(height);
        SetTextColor(dc, color);
        TextOutW(dc, p.x, p.y, e.text.c_str(), static_cast<int>(e.text.size()));
        break;
    }
    case ElementKind::SheetFrame:
        // Margins: left, right, top, bottom.
        tools.pen(color, penWidth(view, selected ? kThick * 2 : kThick * 1.4));
        rectangle(dc, at(c[0], page.height - c[2]), at(page.width - c[1], c[3]));
        break;
    case ElementKind::TitleBlock: {
        const auto cells = TitleBlockCells(doc, e);
        tools.pen(color, penWidth(view, kThin));
        for (const PlacedCell& cell : cells)
            rectangle(dc, at(cell.left, cell.top), at(cell.right, cell.bottom));
        tools.pen(color, penWidth(view, selected ? kThick * 2 : kThick * 1.4));
        rectangle(dc, at(c[0] - kTitleBlockWidth, c[1] + kTitleBlockHeight), at(c[0], c[1]));
        SetTextColor(dc, color);
        for (const PlacedCell& cell : cells)
            cellText(dc, tools, view, cell, page);
        break;
    }
    }
}

// The element's extent on the page, in millimetres: left, bottom, right, top. Texts are taken
// generously (every character as wide as it is high).
std::array<double, 4> extentOf(const Element& e) {
    const auto& c = e.coords;
    switch (e.kind) {
    case ElementKind::Circle:
    case ElementKind::Arc:
        return {c[0] - c[2], c[1] - c[2], c[0] + c[2], c[1] + c[2]};
    case ElementKind::Text:
        return {c[0], c[1] - c[2], c[0] + c[2] * static_cast<double>(e.text.size()),
                c[1] + c[2] * kCellPerCapital};
    default: {
        std::array<double, 4> box{c[0], c[1], c[0], c[1]};
        for (std::size_t i = 0; i + 1 < c.size(); i += 2) {
            box[0] = std::min(box[0], c[i]);
            box[1] = std::min(box[1], c[i + 1]);
            box[2] = std::max(box[2], c[i]);
            box[3] = std::max(box[3], c[i + 1]);
        }
        return box;
    }
    }
}

// Dots of tiny elements; a pixel that already has a dot of the same colour is not set again,
// which on a crowded page at a small scale saves most of the calls.
class Dots {
public:
    explicit Dots(const RECT& area) : area_(area) {
        const LONGLONG w = area.right - area.left, h = area.bottom - area.top;
        if (w > 0 && h > 0 && w * h <= (LONGLONG(1) << 24))
            last_.assign(static_cast<std::size_t>(w * h), CLR_INVALID);
    }
    void put(HDC dc, int x, int y, COLORREF color) {
        if (!last_.empty()) {
            if (x < area_.left || x >= area_.right || y < area_.top || y >= area_.bottom)
                return;
            COLORREF& last = last_[static_cast<std::size_t>(y - area_.top) * (area_.right - area_.left) +
                                   (x - area_.left)];
            if (last == color)
                return;
            last = color;
        }
        SetPixelV(dc, x, y, color);
    }

private:
    RECT area_;
    std::vector<COLORREF> last_;
};

} // namespace

PageView FitPage(const Page& page, const RECT& client, int margin) {
    const double w = std::max<LONG>(1, client.right - client.left - 2 * margin);
    const double h = std::max<LONG>(1, client.bottom - client.top - 2 * margin);
    PageView view;
    view.scale = std::min(w / page.width, h / page.height);
    view.left = client.left + (client.right - client.left - page.width * view.scale) / 2;
    view.top = client.top + (client.bottom - client.top - page.height * view.scale) / 2;
    return view;
}

POINT PageToDevice(const PageView& view, const Page& page, double x, double y) {
    return toDevice(view, page, x, y);
}

void DeviceToPage(const PageView& view, const Page& page, POINT device, double* x, double* y) {
    *x = (device.x - view.left) / view.scale;
    *y = page.height - (device.y - view.top) / view.scale;
}

PageView ZoomAt(const PageView& view, double factor, POINT device) {
    PageView zoomed = view;
    zoomed.scale = std::clamp(view.scale * factor, 0.01, 1000.0);
    const double applied = zoomed.scale / view.scale;
    zoomed.left = device.x - (device.x - view.left) * applied;
    zoomed.top = device.y - (device.y - view.top) * applied;
    return zoomed;
}

PageView Pan(const PageView& view, int dx, int dy) {
    return {view.scale, view.left + dx, view.top + dy};
}

int HitTest(const DVDocument& document, int pageIndex, const PageView& view, POINT device, int tolerance) {
    if (pageIndex < 0 || pageIndex >= static_cast<int>(document.GetPages().size()))
        pageIndex = document.GetCurrentPage();
    const Page& page = document.GetPages()[pageIndex];
    double px, py;
    DeviceToPage(view, page, device, &px, &py);
    const double reach = tolerance / view.scale;
    auto nearSegment = [&](double x1, double y1, double x2, double y2) {
        const double dx = x2 - x1, dy = y2 - y1, length2 = dx * dx + dy * dy;
        const double t =
            length2 > 0 ? std::clamp(((px - x1) * dx + (py - y1) * dy) / length2, 0.0, 1.0) : 0.0;
        return std::hypot(px - (x1 + t * dx), py - (y1 + t * dy)) <= reach;
    };
    const auto& elements = document.GetElements();
    for (std::size_t i = elements.size(); i-- > 0;) {
        const Element& e = elements[i];
        const auto& c = e.coords;
        if (static_cast<int>(e.page) != pageIndex)
            continue;
        bool hit = false;
        switch (e.kind) {
        case ElementKind::Line:
            hit = nearSegment(c[0], c[1], c[2], c[3]);
            break;
        case ElementKind::Polyline:
            for (std::size_t k = 0; !hit && k + 3 < c.size(); k += 2)
                hit = nearSegment(c[k], c[k + 1], c[k + 2], c[k + 3]);
            break;
        case ElementKind::Circle:
        case ElementKind::Arc: {
            const double distance = std::hypot(px - c[0], py - c[1]);
            if (std::abs(distance - c[2]) > reach)
                break;
            if (e.kind == ElementKind::Circle) {
                hit = true;
                break;
            }
            // On the arc when the point's angle lies within the sweep, either way round.
            const double angle = std::atan2(py - c[1], px - c[0]) * 180.0 / std::numbers::pi;
            const double from = std::min(c[3], c[3] + c[4]), span = std::abs(c[4]);
            hit = span >= 360.0 || std::fmod(std::fmod(angle - from, 360.0) + 360.0, 360.0) <= span;
            break;
        }
        case ElementKind::Text: {
            const auto box = extentOf(e);
            hit =
                px >= box[0] - reach && px <= box[2] + reach && py >= box[1] - reach && py <= box[3] + reach;
            break;
        }
        case ElementKind::SheetFrame:
        case ElementKind::TitleBlock:
            break;
        }
        if (hit)
            return static_cast<int>(i);
    }
    return -1;
}

void DrawPage(HDC dc, const DVDocument& document, int pageIndex, const PageView& view,
              const std::vector<std::size_t>& selection) {
    DrawPageDetailed(dc, document, pageIndex, view, selection, 3);
}

void DrawPageDetailed(HDC dc, const DVDocument& document, int pageIndex, const PageView& view,
                      const std::vector<std::size_t>& selection, int dotBelow) {
    if (pageIndex < 0 || pageIndex >= static_cast<int>(document.GetPages().size()))
        pageIndex = document.GetCurrentPage();
    const Page& page = document.GetPages()[pageIndex];
    Tools tools(dc);

    const POINT lt = toDevice(view, page, 0, page.height);
    const POINT rb = toDevice(view, page, page.width, 0);
    HBRUSH paper = CreateSolidBrush(kPaper);
    RECT sheet{lt.x, lt.y, rb.x, rb.y};
    FillRect(dc, &sheet, paper);
    DeleteObject(paper);
    tools.pen(kPaperEdge, 1);
    rectangle(dc, lt, {rb.x - 1, rb.y - 1});

    RECT clip{};
    const bool clipped = GetClipBox(dc, &clip) != ERROR;
    Dots dots(clipped ? clip : RECT{});
    const auto& elements = document.GetElements();
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const Element& e = elements[i];
        if (static_cast<int>(e.page) != pageIndex)
            continue;
        const bool border = e.kind == ElementKind::SheetFrame || e.kind == ElementKind::TitleBlock;
        if (border && !document.show_sheet_borders())
            continue;
        const bool selected = std::find(selection.begin(), selection.end(), i) != selection.end();
        if (!border) {
            // What lies outside the drawable part is skipped, and what is smaller than a pixel
            // is a dot: a zoomed-out page of many elements draws as fast as its pixels allow.
            const auto box = extentOf(e);
            const POINT a = toDevice(view, page, box[0], box[3]), b = toDevice(view, page, box[2], box[1]);
            const int pad = penWidth(view, kThick * 2) + 1;
            if (clipped && (b.x + pad < clip.left || a.x - pad > clip.right || b.y + pad < clip.top ||
                            a.y - pad > clip.bottom))
                continue;
            if (b.x - a.x < dotBelow && b.y - a.y < dotBelow) {
                dots.put(dc, (a.x + b.x) / 2, (a.y + b.y) / 2, colorOf(e, selected));
                continue;
            }
        }
        drawElement(dc, tools, document, page, view, e, selected);
    }
}

} // namespace Dravik
