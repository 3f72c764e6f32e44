// Painting shared by the controls, and the look of buttons, statics and the dialog's background,
// in the classic style of the platform.
#include "paint.h"

#include <algorithm>

namespace pal::ctl {
namespace {

// A memory device context of this thread for measuring text.
HDC measuringDc() {
    thread_local HDC dc = CreateCompatibleDC(nullptr);
    return dc;
}

struct Selected {
    HDC dc;
    HGDIOBJ old;
    Selected(HDC d, HGDIOBJ o) : dc(d), old(SelectObject(d, o)) {}
    ~Selected() { SelectObject(dc, old); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;
};

int buttonTextFormat(DWORD style) {
    UINT format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
    switch (style & BS_CENTER) {
    case BS_LEFT:
        format |= DT_LEFT;
        break;
    case BS_RIGHT:
        format |= DT_RIGHT;
        break;
    default:
        format |= DT_CENTER;
        break;
    }
    return static_cast<int>(format);
}

void drawImage(HDC dc, const RECT& r, HANDLE image, UINT kind, bool center) {
    if (!image)
        return;
    if (kind == IMAGE_BITMAP) {
        BITMAP bm{};
        if (!GetObjectW(image, sizeof bm, &bm))
            return;
        const HDC source = CreateCompatibleDC(dc);
        const HGDIOBJ old = SelectObject(source, image);
        const int x = center ? (r.left + r.right - bm.bmWidth) / 2 : r.left;
        const int y = center ? (r.top + r.bottom - bm.bmHeight) / 2 : r.top;
        BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        return;
    }
    ICONINFO info{};
    int width = GetSystemMetrics(SM_CXICON), height = GetSystemMetrics(SM_CYICON);
    if (GetIconInfo(static_cast<HICON>(image), &info)) {
        BITMAP bm{};
        if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bm, &bm)) {
            width = bm.bmWidth;
            height = bm.bmHeight;
        }
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        if (info.hbmMask)
            DeleteObject(info.hbmMask);
    }
    const int x = center ? (r.left + r.right - width) / 2 : r.left;
    const int y = center ? (r.top + r.bottom - height) / 2 : r.top;
    DrawIconEx(dc, x, y, static_cast<HICON>(image), width, height, 0, nullptr, DI_NORMAL);
}

void pushButton(HWND hwnd, HDC dc, RECT r, const ButtonLook& look) {
    fill(dc, r, COLOR_3DFACE);
    if (look.type == BS_DEFPUSHBUTTON) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    if (look.pushed) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_3DSHADOW));
        InflateRect(&r, -1, -1);
    } else {
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    }
    RECT content = r;
    if (look.pushed)
        OffsetRect(&content, 1, 1);
    if ((look.style & (BS_ICON | BS_BITMAP)) && look.image) {
        drawImage(dc, content, look.image, look.imageKind, true);
    } else {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        const std::wstring text = textOf(hwnd);
        DrawTextW(dc, text.c_str(), -1, &content, static_cast<UINT>(buttonTextFormat(look.style)));
    }
    if (look.focused) {
        RECT focus = r;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

void checkMark(HDC dc, const RECT& box, COLORREF color) {
    const HPEN pen = CreatePen(PS_SOLID, 1, color);
    Selected selected(dc, pen);
    const int x = box.left + 3, y = box.top + 5;
    for (int k = 0; k < 3; ++k) {
        MoveToEx(dc, x, y + k, nullptr);
        LineTo(dc, x + 2, y + 2 + k);
        LineTo(dc, x + 7, y - 3 + k);
    }
    SelectObject(dc, selected.old);
    DeleteObject(pen);
}

void checkOrRadio(HWND hwnd, HDC dc, const RECT& client, const ButtonLook& look) {
    const HBRUSH background = prepareColors(hwnd, dc, WM_CTLCOLORSTATIC);
    FillRect(dc, &client, background);
    constexpr int kBox = 13;
    const bool right = (look.style & BS_LEFTTEXT) != 0;
    const int top = (client.top + client.bottom - kBox) / 2;
    RECT box{right ? client.right - kBox : client.left, top, 0, top + kBox};
    box.right = box.left + kBox;
    const bool radio = look.type == BS_RADIOBUTTON || look.type == BS_AUTORADIOBUTTON;
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    const int inside =
        look.pushed || !enabled || look.check == BST_INDETERMINATE ? COLOR_3DFACE : COLOR_WINDOW;
    if (radio) {
        const HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DSHADOW));
        {
            Selected pen(dc, shadow);
            Selected brush(dc, GetSysColorBrush(inside));
            Ellipse(dc, box.left, box.top, box.right, box.bottom);
            if (look.check == BST_CHECKED) {
                SelectObject(dc, GetStockObject(NULL_PEN));
                SelectObject(dc, GetSysColorBrush(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
                Ellipse(dc, box.left + 4, box.top + 4, box.right - 3, box.bottom - 3);
            }
        }
        DeleteObject(shadow);
    } else {
        RECT frame = box;
        fill(dc, frame, inside);
        DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
        if (look.check != BST_UNCHECKED)
            checkMark(
                dc, box,
                GetSysColor(look.check == BST_INDETERMINATE || !enabled ? COLOR_3DSHADOW : COLOR_WINDOWTEXT));
    }
    RECT text = client;
    if (right)
        text.right = box.left - 4;
    else
        text.left = box.right + 4;
    SetBkMode(dc, TRANSPARENT);
    if (!enabled)
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    const std::wstring caption = textOf(hwnd);
    const UINT format = (look.style & BS_MULTILINE) ? DT_WORDBREAK | DT_VCENTER : DT_SINGLELINE | DT_VCENTER;
    DrawTextW(dc, caption.c_str(), -1, &text, format | (right ? DT_RIGHT : DT_LEFT));
    if (look.focused && !caption.empty()) {
        RECT measured = text;
        DrawTextW(dc, caption.c_str(), -1, &measured, format | DT_CALCRECT);
        const int height = measured.bottom - measured.top;
        RECT focus{text.left - 1, (text.top + text.bottom - height) / 2 - 1,
                   text.left + (measured.right - measured.left) + 1,
                   (text.top + text.bottom + height) / 2 + 1};
        DrawFocusRect(dc, &focus);
    }
}

void groupBox(HWND hwnd, HDC dc, const RECT& client, const ButtonLook& look) {
    const HBRUSH background = prepareColors(hwnd, dc, WM_CTLCOLORSTATIC);
    const std::wstring caption = textOf(hwnd);
    const int height = lineHeight(look.font);
    RECT frame = client;
    frame.top += height / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (caption.empty())
        return;
    RECT text{client.left + 8, client.top, client.right - 8, client.top + height};
    RECT measured = text;
    DrawTextW(dc, caption.c_str(), -1, &measured, DT_SINGLELINE | DT_CALCRECT);
    RECT behind{text.left - 2, text.top, std::min(text.right, measured.right) + 2, text.bottom};
    FillRect(dc, &behind, background);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_LEFT);
}

void ownerDrawn(HWND hwnd, HDC dc, const RECT& client, UINT ctlType, UINT state) {
    DRAWITEMSTRUCT d{ctlType, static_cast<UINT>(idOf(hwnd)), 0, ODA_DRAWENTIRE, state, hwnd, dc, client, 0};
    if (!IsWindowEnabled(hwnd))
        d.itemState |= ODS_DISABLED;
    SendMessageW(GetParent(hwnd), WM_DRAWITEM, d.CtlID, reinterpret_cast<LPARAM>(&d));
}

UINT staticTextFormat(DWORD kind, DWORD style) {
    UINT format = DT_EXPANDTABS;
    switch (kind) {
    case SS_CENTER:
        format |= DT_CENTER | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        format |= DT_RIGHT | DT_WORDBREAK;
        break;
    case SS_SIMPLE:
        format |= DT_SINGLELINE;
        break;
    case SS_LEFTNOWORDWRAP:
        break;
    default:
        format |= DT_WORDBREAK;
        break;
    }
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE)
        format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    switch (style & SS_ELLIPSISMASK) {
    case SS_ENDELLIPSIS:
        format |= DT_END_ELLIPSIS;
        break;
    case SS_PATHELLIPSIS:
        format |= DT_PATH_ELLIPSIS;
        break;
    case SS_WORDELLIPSIS:
        format |= DT_WORD_ELLIPSIS;
        break;
    default:
        break;
    }
    return format;
}

} // namespace

HFONT fontOrDefault(HFONT font) {
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void paintControl(HWND hwnd, UINT message, WPARAM wParam, const std::function<void(HDC, const RECT&)>& draw) {
    RECT client{};
    GetClientRect(hwnd, &client);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    const auto paintOn = [&](HDC dc) {
        const int saved = SaveDC(dc);
        SelectObject(dc, fontOrDefault(font));
        draw(dc, client);
        RestoreDC(dc, saved);
    };
    if (message == WM_PRINTCLIENT) {
        paintOn(reinterpret_cast<HDC>(wParam));
        return;
    }
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(hwnd, &ps);
    if (dc)
        paintOn(dc);
    EndPaint(hwnd, &ps);
}

void paintDialogBackground(HWND dialog, HDC dc) {
    if (!dc)
        return;
    RECT client{};
    GetClientRect(dialog, &client);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_3DFACE));
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dialog)));
    FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_3DFACE));
}

int textWidth(HFONT font, const std::wstring& text) {
    const HDC dc = measuringDc();
    Selected selected(dc, fontOrDefault(font));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

int lineHeight(HFONT font) {
    const HDC dc = measuringDc();
    Selected selected(dc, fontOrDefault(font));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    return tm.tmHeight > 0 ? tm.tmHeight : 13;
}

void fill(HDC dc, const RECT& r, int sysColor) {
    FillRect(dc, &r, GetSysColorBrush(sysColor));
}

HBRUSH prepareColors(HWND hwnd, HDC dc, UINT message) {
    const bool window = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    SetTextColor(dc, GetSysColor(window ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(window ? COLOR_WINDOW : COLOR_3DFACE));
    return controlColor(hwnd, dc, message);
}

void triangle(HDC dc, const RECT& r, int direction, COLORREF color) {
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    const int s = std::max(2, std::min(r.right - r.left, r.bottom - r.top) / 4);
    POINT p[3];
    switch (direction) {
    case 0:
        p[0] = {cx - s, cy + s / 2}, p[1] = {cx + s, cy + s / 2}, p[2] = {cx, cy - s / 2 - 1};
        break;
    case 1:
        p[0] = {cx - s, cy - s / 2}, p[1] = {cx + s, cy - s / 2}, p[2] = {cx, cy + s / 2 + 1};
        break;
    case 2:
        p[0] = {cx + s / 2, cy - s}, p[1] = {cx + s / 2, cy + s}, p[2] = {cx - s / 2 - 1, cy};
        break;
    default:
        p[0] = {cx - s / 2, cy - s}, p[1] = {cx - s / 2, cy + s}, p[2] = {cx + s / 2 + 1, cy};
        break;
    }
    const HBRUSH brush = CreateSolidBrush(color);
    const HPEN pen = CreatePen(PS_SOLID, 1, color);
    {
        Selected b(dc, brush);
        Selected q(dc, pen);
        Polygon(dc, p, 3);
    }
    DeleteObject(brush);
    DeleteObject(pen);
}

void paintButton(HWND hwnd, HDC dc, const RECT& client, const ButtonLook& look) {
    switch (look.type) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        if (look.style & BS_PUSHLIKE) {
            ButtonLook pushed = look;
            pushed.pushed = look.pushed || look.check != BST_UNCHECKED;
            pushed.type = BS_PUSHBUTTON;
            pushButton(hwnd, dc, client, pushed);
        } else {
            checkOrRadio(hwnd, dc, client, look);
        }
        break;
    case BS_GROUPBOX:
        groupBox(hwnd, dc, client, look);
        break;
    case BS_OWNERDRAW:
        ownerDrawn(hwnd, dc, client, ODT_BUTTON,
                   (look.pushed ? ODS_SELECTED : 0) | (look.focused ? ODS_FOCUS : 0));
        break;
    default:
        prepareColors(hwnd, dc, WM_CTLCOLORBTN);
        pushButton(hwnd, dc, client, look);
        break;
    }
}

void paintStatic(HWND hwnd, HDC dc, const RECT& client, const StaticLook& look) {
    RECT r = client;
    const auto colorFill = [&](int color, bool frame) {
        if (frame)
            FrameRect(dc, &r, GetSysColorBrush(color));
        else
            fill(dc, r, color);
    };
    switch (look.kind) {
    case SS_BLACKRECT:
        return colorFill(COLOR_WINDOWFRAME, false);
    case SS_GRAYRECT:
        return colorFill(COLOR_3DSHADOW, false);
    case SS_WHITERECT:
        return colorFill(COLOR_3DHIGHLIGHT, false);
    case SS_BLACKFRAME:
        return colorFill(COLOR_WINDOWFRAME, true);
    case SS_GRAYFRAME:
        return colorFill(COLOR_3DSHADOW, true);
    case SS_WHITEFRAME:
        return colorFill(COLOR_3DHIGHLIGHT, true);
    case SS_ETCHEDHORZ:
        DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP);
        return;
    case SS_ETCHEDVERT:
        DrawEdge(dc, &r, EDGE_ETCHED, BF_LEFT);
        return;
    case SS_ETCHEDFRAME:
        DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
        return;
    case SS_OWNERDRAW:
        ownerDrawn(hwnd, dc, client, ODT_STATIC, 0);
        return;
    default:
        break;
    }
    const HBRUSH background = prepareColors(hwnd, dc, WM_CTLCOLORSTATIC);
    FillRect(dc, &r, background);
    if (look.style & SS_SUNKEN)
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if (look.kind == SS_ICON || look.kind == SS_BITMAP) {
        drawImage(dc, r, look.image, look.kind == SS_ICON ? IMAGE_ICON : IMAGE_BITMAP,
                  (look.style & SS_CENTERIMAGE) != 0);
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    if (!IsWindowEnabled(hwnd))
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    const std::wstring text = textOf(hwnd);
    DrawTextW(dc, text.c_str(), -1, &r, staticTextFormat(look.kind, look.style));
}

} // namespace pal::ctl
