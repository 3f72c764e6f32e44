// The non-client area in the classic look: the raised frame, the caption with its gradient
// and buttons, the menu bar's band, the client edge and the scroll bars. Sizes follow the
// same system metrics that place the client area.
#include "model.h"

#include "pal/detail/scroll_thumb.h"

#include <algorithm>
#include <atomic>

namespace pal::win {
namespace {

struct FrameFacts {
    DWORD style = 0;
    DWORD exStyle = 0;
    bool menuBar = false;
    RECT window{}; // 0,0 at the window's top-left corner
    RECT client{}; // in the same coordinates
    std::wstring text;
};

void fill(HDC dc, const RECT& r, int colorIndex) {
    FillRect(dc, &r, GetSysColorBrush(colorIndex));
}

void line(HDC dc, int x0, int y0, int x1, int y1, COLORREF color) {
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, old);
    DeleteObject(pen);
}

enum class Glyph { Close, Maximize, Restore, Minimize };

void captionButton(HDC dc, RECT r, Glyph glyph, bool enabled) {
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    const COLORREF ink = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int s = std::max(4, std::min(w, h) - 6); // the glyph's square
    const int x = r.left + (w - s) / 2, y = r.top + (h - s) / 2;
    switch (glyph) {
    case Glyph::Close:
        for (int d = 0; d < 2; ++d) {
            line(dc, x + d, y, x + s + d, y + s, ink);
            line(dc, x + d, y + s - 1, x + s + d, y - 1, ink);
        }
        break;
    case Glyph::Maximize: {
        RECT box{x, y, x + s + 1, y + s};
        HBRUSH b = CreateSolidBrush(ink);
        FrameRect(dc, &box, b);
        RECT top{x, y + 1, x + s + 1, y + 2};
        FillRect(dc, &top, b);
        DeleteObject(b);
        break;
    }
    case Glyph::Restore: {
        HBRUSH b = CreateSolidBrush(ink);
        RECT back{x + 2, y, x + s + 1, y + s - 2}, front{x, y + 3, x + s - 2, y + s + 1};
        FrameRect(dc, &back, b);
        FillRect(dc, &front, GetSysColorBrush(COLOR_3DFACE));
        FrameRect(dc, &front, b);
        DeleteObject(b);
        break;
    }
    case Glyph::Minimize: {
        RECT bar{x, y + s - 2, x + s - 2, y + s};
        HBRUSH b = CreateSolidBrush(ink);
        FillRect(dc, &bar, b);
        DeleteObject(b);
        break;
    }
    }
}

void caption(HDC dc, RECT r, const FrameFacts& f, bool active) {
    // The caption's last row is a line of the face colour between caption and what follows.
    fill(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, COLOR_3DFACE);
    --r.bottom;
    const COLORREF from = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    const COLORREF to = GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
    TRIVERTEX v[2] = {{r.left, r.top, COLOR16(GetRValue(from) << 8), COLOR16(GetGValue(from) << 8),
                       COLOR16(GetBValue(from) << 8), 0},
                      {r.right, r.bottom, COLOR16(GetRValue(to) << 8), COLOR16(GetGValue(to) << 8),
                       COLOR16(GetBValue(to) << 8), 0}};
    GRADIENT_RECT g{0, 1};
    GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_H);
    int textRight = r.right - 2;
    if (f.style & WS_SYSMENU) {
        const int bh = std::max(4, int(r.bottom - r.top) - 4);
        const int bw = bh + 2;
        RECT button{r.right - 2 - bw, r.top + 2, r.right - 2, r.top + 2 + bh};
        captionButton(dc, button, Glyph::Close, true);
        textRight = button.left - 2;
        if ((f.style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) && !(f.exStyle & WS_EX_TOOLWINDOW)) {
            OffsetRect(&button, -bw - 2, 0);
            captionButton(dc, button, (f.style & WS_MAXIMIZE) ? Glyph::Restore : Glyph::Maximize,
                          f.style & WS_MAXIMIZEBOX);
            OffsetRect(&button, -bw, 0);
            captionButton(dc, button, (f.style & WS_MINIMIZE) ? Glyph::Restore : Glyph::Minimize,
                          f.style & WS_MINIMIZEBOX);
            textRight = button.left - 2;
        }
    }
    // The title, left of the buttons, cut with an ellipsis when it does not fit.
    if (f.text.empty() || textRight <= r.left + 6)
        return;
    RECT text{r.left + 6, r.top, textRight, r.bottom};
    const HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor =
        SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    DrawTextW(dc, f.text.c_str(), static_cast<int>(f.text.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

enum class Arrow { Up, Down, Left, Right };

// A raised button with a small solid triangle in its middle.
void arrowButton(HDC dc, RECT r, Arrow arrow) {
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    const int s = std::max(2, std::min<int>(r.right - r.left, r.bottom - r.top) / 4);
    POINT p[3];
    switch (arrow) {
    case Arrow::Up:
        p[0] = {cx - s, cy + s / 2}, p[1] = {cx + s, cy + s / 2}, p[2] = {cx, cy - s / 2 - 1};
        break;
    case Arrow::Down:
        p[0] = {cx - s, cy - s / 2}, p[1] = {cx + s, cy - s / 2}, p[2] = {cx, cy + s / 2 + 1};
        break;
    case Arrow::Left:
        p[0] = {cx + s / 2, cy - s}, p[1] = {cx + s / 2, cy + s}, p[2] = {cx - s / 2 - 1, cy};
        break;
    case Arrow::Right:
        p[0] = {cx - s / 2, cy - s}, p[1] = {cx - s / 2, cy + s}, p[2] = {cx + s / 2 + 1, cy};
        break;
    }
    const int saved = SaveDC(dc);
    SelectObject(dc, GetSysColorBrush(COLOR_BTNTEXT));
    SelectObject(dc, GetStockObject(NULL_PEN));
    Polygon(dc, p, 3);
    RestoreDC(dc, saved);
}

std::atomic<pal::detail::ScrollThumbSource> thumbSource{nullptr};

void scrollBar(HWND hwnd, HDC dc, RECT r, bool vertical) {
    fill(dc, r, COLOR_SCROLLBAR);
    const int size = vertical ? r.right - r.left : r.bottom - r.top;
    RECT first = r, second = r;
    if (vertical) {
        first.bottom = std::min(r.bottom, r.top + size);
        second.top = std::max(r.top, r.bottom - size);
    } else {
        first.right = std::min(r.right, r.left + size);
        second.left = std::max(r.left, r.right - size);
    }
    arrowButton(dc, first, vertical ? Arrow::Up : Arrow::Left);
    arrowButton(dc, second, vertical ? Arrow::Down : Arrow::Right);
    const int track = (vertical ? r.bottom - r.top : r.right - r.left) - 2 * size;
    int start = 0, length = 0;
    const auto source = thumbSource.load();
    if (!source || track <= 0 || !source(hwnd, vertical, track, &start, &length) || length <= 0)
        return;
    RECT thumb = vertical ? RECT{r.left, first.bottom + start, r.right, first.bottom + start + length}
                          : RECT{first.right + start, r.top, first.right + start + length, r.bottom};
    fill(dc, thumb, COLOR_3DFACE);
    DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
}

} // namespace

void paintFrame(HWND hwnd, HDC dc, bool active) {
    FrameFacts f;
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w)
            return;
        f.style = w->style;
        f.exStyle = w->exStyle;
        f.menuBar = !w->parent && w->menu;
        f.window = RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
        f.client = w->client;
        OffsetRect(&f.client, -w->rect.left, -w->rect.top);
        f.text = w->text;
    }
    if (EqualRect(&f.window, &f.client))
        return;
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, f.client.left, f.client.top, f.client.right, f.client.bottom);
    RECT r = f.window;
    const bool thick = f.style & WS_THICKFRAME;
    if (thick || (f.style & WS_DLGFRAME) || (f.exStyle & WS_EX_DLGMODALFRAME)) {
        const int width = thick ? GetSystemMetrics(SM_CXSIZEFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER)
                                : GetSystemMetrics(SM_CXFIXEDFRAME);
        fill(dc, r, thick ? COLOR_ACTIVEBORDER : COLOR_3DFACE);
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
        InflateRect(&r, -width, -width);
    } else if (f.style & WS_BORDER) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    if ((f.style & WS_CAPTION) == WS_CAPTION) {
        const int height = GetSystemMetrics((f.exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
        caption(dc, RECT{r.left, r.top, r.right, r.top + height}, f, active);
        r.top += height;
    }
    if (f.menuBar) {
        const int height = GetSystemMetrics(SM_CYMENU);
        fill(dc, RECT{r.left, r.top, r.right, r.top + height}, COLOR_MENU);
        r.top += height;
    }
    if (f.exStyle & WS_EX_CLIENTEDGE)
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (f.exStyle & WS_EX_STATICEDGE)
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    const RECT& c = f.client;
    if (f.style & WS_VSCROLL)
        scrollBar(hwnd, dc, RECT{c.right, c.top, r.right, c.bottom}, true);
    if (f.style & WS_HSCROLL)
        scrollBar(hwnd, dc, RECT{c.left, c.bottom, c.right, r.bottom}, false);
    if ((f.style & WS_VSCROLL) && (f.style & WS_HSCROLL))
        fill(dc, RECT{c.right, c.bottom, r.right, r.bottom}, COLOR_3DFACE);
    RestoreDC(dc, saved);
}

} // namespace pal::win

namespace pal::detail {

void setScrollThumbSource(ScrollThumbSource source) {
    pal::win::thumbSource.store(source);
}

namespace {
std::atomic<ScrollMouseHandler> clickHandler{nullptr};
} // namespace

void setScrollClickHandler(ScrollMouseHandler handler) {
    clickHandler.store(handler);
}

void clickWindowScrollBar(HWND hwnd, bool vertical, UINT message, POINT screen) {
    if (const auto handler = clickHandler.load())
        handler(hwnd, vertical, message, screen);
}

} // namespace pal::detail
