// "tooltips_class32": tools are windows or rectangles of windows. The mouse messages relayed to
// the control start the initial delay on a tool; when it passes the tip shows under the pointer
// until the automatic delay passes, the pointer leaves the tool, or a button is pressed.
#include "win/controls/tooltip.h"
#include "control.h"
#include "item_support.h"
#include "paint.h"

#include <algorithm>
#include <vector>

namespace pal::ctl {
namespace {

struct Tool {
    UINT flags = 0;
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    RECT rect{};
    std::wstring text;
    bool callback = false;
    LPARAM param = 0;
};

struct Tips {
    std::vector<Tool> tools;
    int current = -1;     // the tool the pointer rests on
    bool shown = false;   // its tip is on the screen
    bool clicked = false; // a button went down on the current tool: no tip until it is left
    bool active = true;
    int initial = -1, autopop = -1, reshow = -1; // -1: from the double-click time
    int maxWidth = -1;
    COLORREF bk = CLR_DEFAULT, text = CLR_DEFAULT;
    RECT margin{};
    HFONT font = nullptr;
    std::wstring shownText;
    DWORD hiddenAt = 0;
    bool tracking = false;
    POINT trackAt{};
};

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kHideTimer = 2;
constexpr int kPadding = 4;

int delay(const Tips& t, WPARAM which) {
    const int base = static_cast<int>(GetDoubleClickTime());
    switch (which) {
    case TTDT_INITIAL:
        return t.initial >= 0 ? t.initial : base;
    case TTDT_AUTOPOP:
        return t.autopop >= 0 ? t.autopop : base * 10;
    case TTDT_RESHOW:
        return t.reshow >= 0 ? t.reshow : base / 5;
    default:
        return base;
    }
}

bool sameTool(const Tool& tool, HWND hwnd, UINT_PTR id) {
    return tool.hwnd == hwnd && tool.id == id;
}

int findTool(const Tips& t, const TTTOOLINFOW* info) {
    if (!info)
        return -1;
    for (size_t i = 0; i < t.tools.size(); ++i)
        if (sameTool(t.tools[i], info->hwnd, info->uId))
            return static_cast<int>(i);
    return -1;
}

bool validInfo(const TTTOOLINFOW* info) {
    // Older, shorter forms of the structure end before lParam.
    return info && info->cbSize >= offsetof(TTTOOLINFOW, lParam) && info->cbSize <= sizeof(TTTOOLINFOW) * 2;
}

// The tool under a point given in the coordinates of `window`.
int toolAt(const Tips& t, HWND window, POINT p) {
    for (size_t i = 0; i < t.tools.size(); ++i) {
        const Tool& tool = t.tools[i];
        if (tool.flags & TTF_IDISHWND) {
            if (reinterpret_cast<HWND>(tool.id) == window)
                return static_cast<int>(i);
        } else if (tool.hwnd == window && PtInRect(&tool.rect, p)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

LRESULT notifyTool(HWND hwnd, const Tool& tool, UINT code, NMHDR* h) {
    h->hwndFrom = hwnd;
    h->idFrom = tool.id;
    h->code = code;
    const HWND target = tool.hwnd ? tool.hwnd : GetParent(hwnd);
    return target ? SendMessageW(target, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(h)) : 0;
}

std::wstring textFor(HWND hwnd, Tips& t, int index) {
    Tool& tool = t.tools[static_cast<size_t>(index)];
    if (!tool.callback)
        return tool.text;
    NMTTDISPINFOW di{};
    di.uFlags = tool.flags;
    di.lParam = tool.param;
    notifyTool(hwnd, tool, TTN_GETDISPINFOW, &di.hdr);
    std::wstring text =
        di.lpszText && !isTextCallback(di.lpszText) && reinterpret_cast<ULONG_PTR>(di.lpszText) > 0xFFFF
            ? std::wstring(di.lpszText)
            : std::wstring(di.szText, wcsnlen(di.szText, std::size(di.szText)));
    // The parent may ask that its answer be kept.
    if ((di.uFlags & TTF_DI_SETITEM) && index < static_cast<int>(t.tools.size())) {
        t.tools[static_cast<size_t>(index)].text = text;
        t.tools[static_cast<size_t>(index)].callback = false;
    }
    return text;
}

UINT textFormat(HWND hwnd, const Tips& t) {
    UINT format = DT_LEFT | DT_NOCLIP | DT_EXPANDTABS;
    if (styleOf(hwnd) & TTS_NOPREFIX)
        format |= DT_NOPREFIX;
    // Line breaks and wrapping only for a tip given a width.
    format |= t.maxWidth >= 0 ? DT_WORDBREAK : DT_SINGLELINE;
    return format;
}

SIZE tipSize(HWND hwnd, const Tips& t, const std::wstring& text) {
    const HDC dc = GetDC(hwnd);
    const HGDIOBJ old = SelectObject(dc, fontOrDefault(t.font));
    RECT r{0, 0, t.maxWidth >= 0 ? t.maxWidth : 10000, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, textFormat(hwnd, t) | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return SIZE{r.right - r.left + 2 * kPadding + t.margin.left + t.margin.right + 2,
                r.bottom - r.top + 2 * kPadding + t.margin.top + t.margin.bottom};
}

void hide(HWND hwnd, Tips& t) {
    KillTimer(hwnd, kShowTimer);
    KillTimer(hwnd, kHideTimer);
    if (!t.shown)
        return;
    t.shown = false;
    t.hiddenAt = GetTickCount();
    ShowWindow(hwnd, SW_HIDE);
    if (t.current >= 0 && t.current < static_cast<int>(t.tools.size())) {
        NMHDR h{};
        notifyTool(hwnd, t.tools[static_cast<size_t>(t.current)], TTN_POP, &h);
    }
}

void show(HWND hwnd, Tips& t) {
    KillTimer(hwnd, kShowTimer);
    if (t.current < 0 || t.current >= static_cast<int>(t.tools.size()) || !t.active)
        return;
    const std::wstring text = textFor(hwnd, t, t.current);
    if (text.empty() || t.current >= static_cast<int>(t.tools.size()))
        return;
    t.shownText = text;
    const SIZE size = tipSize(hwnd, t, text);
    POINT at{};
    if (t.tracking) {
        at = t.trackAt;
    } else {
        GetCursorPos(&at);
        at.y += 20; // below the pointer
    }
    // Kept on the screen the pointer is on.
    const HMONITOR monitor = MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoW(monitor, &mi)) {
        at.x =
            std::clamp<LONG>(at.x, mi.rcWork.left, std::max<LONG>(mi.rcWork.left, mi.rcWork.right - size.cx));
        if (at.y + size.cy > mi.rcWork.bottom)
            at.y = std::max<LONG>(mi.rcWork.top, at.y - 20 - size.cy - 4);
    }
    NMHDR h{};
    const Tool tool = t.tools[static_cast<size_t>(t.current)];
    SetWindowPos(hwnd, HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE);
    // TRUE from the owner: it has placed the tip itself.
    notifyTool(hwnd, tool, TTN_SHOW, &h);
    t.shown = true;
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    InvalidateRect(hwnd, nullptr, TRUE);
    if (!t.tracking)
        SetTimer(hwnd, kHideTimer, static_cast<UINT>(delay(t, TTDT_AUTOPOP)), nullptr);
}

void relay(HWND hwnd, Tips& t, const MSG* msg) {
    if (!msg || !t.active)
        return;
    switch (msg->message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
        POINT p{GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)};
        if (msg->message == WM_NCMOUSEMOVE)
            ScreenToClient(msg->hwnd, &p);
        const int tool = toolAt(t, msg->hwnd, p);
        if (tool == t.current) {
            if (tool >= 0 && !t.shown && !t.clicked)
                SetTimer(hwnd, kShowTimer, static_cast<UINT>(delay(t, TTDT_INITIAL)), nullptr);
            return;
        }
        // A new tool soon after a tip went shows its own after the shorter reshow delay.
        const bool wasShown = t.shown || (t.hiddenAt && GetTickCount() - t.hiddenAt <
                                                            static_cast<DWORD>(delay(t, TTDT_RESHOW)));
        hide(hwnd, t);
        t.current = tool;
        t.clicked = false;
        if (tool >= 0)
            SetTimer(hwnd, kShowTimer, static_cast<UINT>(delay(t, wasShown ? TTDT_RESHOW : TTDT_INITIAL)),
                     nullptr);
        return;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_NCLBUTTONDOWN:
        hide(hwnd, t);
        t.clicked = true;
        return;
    default:
        return;
    }
}

void paintTip(HWND hwnd, Tips& t, UINT message, WPARAM wParam) {
    paintControl(hwnd, message, wParam, [&](HDC dc, const RECT& client) {
        const HBRUSH back = CreateSolidBrush(t.bk == CLR_DEFAULT ? GetSysColor(COLOR_INFOBK) : t.bk);
        FillRect(dc, &client, back);
        DeleteObject(back);
        FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
        const HGDIOBJ old = SelectObject(dc, fontOrDefault(t.font));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, t.text == CLR_DEFAULT ? GetSysColor(COLOR_INFOTEXT) : t.text);
        RECT r{client.left + kPadding + t.margin.left + 1, client.top + kPadding + t.margin.top,
               client.right - kPadding - t.margin.right, client.bottom - kPadding - t.margin.bottom};
        DrawTextW(dc, t.shownText.c_str(), static_cast<int>(t.shownText.size()), &r, textFormat(hwnd, t));
        SelectObject(dc, old);
    });
}

void fillInfo(const Tool& tool, TTTOOLINFOW* out) {
    out->uFlags = tool.flags;
    out->hwnd = tool.hwnd;
    out->uId = tool.id;
    out->rect = tool.rect;
    if (out->cbSize > offsetof(TTTOOLINFOW, lParam))
        out->lParam = tool.param;
    if (out->lpszText && !isTextCallback(out->lpszText))
        copyText(tool.text, out->lpszText, 80); // the platform's tooltip text buffer size
}

void applyInfo(Tool& tool, const TTTOOLINFOW* in) {
    tool.flags = in->uFlags;
    tool.hwnd = in->hwnd;
    tool.id = in->uId;
    tool.rect = in->rect;
    tool.callback = isTextCallback(in->lpszText);
    tool.text = reinterpret_cast<ULONG_PTR>(in->lpszText) > 0xFFFF ? textFrom(in->lpszText) : L"";
    tool.param = in->cbSize > offsetof(TTTOOLINFOW, lParam) ? in->lParam : 0;
}

} // namespace

LRESULT toolTipProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Tips* t = attachState<Tips>(hwnd, message);
    if (!t)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    auto* info = reinterpret_cast<TTTOOLINFOW*>(lParam);
    switch (message) {
    case WM_CREATE:
        // A tip is always a top-level window over the others, whatever it was made with.
        SetWindowLongW(
            hwnd, GWL_STYLE,
            static_cast<LONG>((styleOf(hwnd) & ~(WS_CHILD | WS_CAPTION | WS_THICKFRAME)) | WS_POPUP));
        return 0;
    case WM_TIMER:
        if (wParam == kShowTimer)
            show(hwnd, *t);
        else if (wParam == kHideTimer)
            hide(hwnd, *t);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        hide(hwnd, *t);
        t->clicked = true;
        return 0;
    case WM_SETFONT:
        t->font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(t->font);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        paintTip(hwnd, *t, message, wParam);
        return 0;
    case TTM_ADDTOOLW: {
        if (!validInfo(info))
            return FALSE;
        Tool tool;
        applyInfo(tool, info);
        t->tools.push_back(tool);
        return TRUE;
    }
    case TTM_DELTOOLW: {
        const int index = validInfo(info) ? findTool(*t, info) : -1;
        if (index < 0)
            return 0;
        if (index == t->current) {
            hide(hwnd, *t);
            t->current = -1;
        } else if (index < t->current) {
            --t->current;
        }
        t->tools.erase(t->tools.begin() + index);
        return 0;
    }
    case TTM_RELAYEVENT:
        relay(hwnd, *t, reinterpret_cast<const MSG*>(lParam));
        return 0;
    case TTM_POP:
        hide(hwnd, *t);
        return 0;
    case TTM_POPUP:
        if (t->current >= 0)
            show(hwnd, *t);
        return 0;
    case TTM_ACTIVATE:
        t->active = wParam != 0;
        if (!t->active)
            hide(hwnd, *t);
        return 0;
    case TTM_GETTOOLCOUNT:
        return static_cast<LRESULT>(t->tools.size());
    case TTM_GETTOOLINFOW:
    case TTM_GETCURRENTTOOLW: {
        const int index = message == TTM_GETCURRENTTOOLW ? (t->shown ? t->current : -1)
                                                         : (validInfo(info) ? findTool(*t, info) : -1);
        if (index < 0)
            return FALSE;
        if (info && validInfo(info))
            fillInfo(t->tools[static_cast<size_t>(index)], info);
        return TRUE;
    }
    case TTM_SETTOOLINFOW: {
        const int index = validInfo(info) ? findTool(*t, info) : -1;
        if (index >= 0)
            applyInfo(t->tools[static_cast<size_t>(index)], info);
        return 0;
    }
    case TTM_NEWTOOLRECTW: {
        const int index = validInfo(info) ? findTool(*t, info) : -1;
        if (index >= 0)
            t->tools[static_cast<size_t>(index)].rect = info->rect;
        return 0;
    }
    case TTM_UPDATETIPTEXTW: {
        const int index = validInfo(info) ? findTool(*t, info) : -1;
        if (index < 0)
            return 0;
        Tool& tool = t->tools[static_cast<size_t>(index)];
        tool.callback = isTextCallback(info->lpszText);
        tool.text = reinterpret_cast<ULONG_PTR>(info->lpszText) > 0xFFFF ? textFrom(info->lpszText) : L"";
        if (index == t->current && t->shown)
            show(hwnd, *t);
        return 0;
    }
    case TTM_GETTEXTW: {
        const int index = validInfo(info) ? findTool(*t, info) : -1;
        if (index < 0 || !info->lpszText)
            return 0;
        const std::wstring text = textFor(hwnd, *t, index);
        copyText(text, info->lpszText, wParam ? static_cast<int>(wParam) : 80);
        return static_cast<LRESULT>(text.size());
    }
    case TTM_HITTESTW: {
        auto* hit = reinterpret_cast<TTHITTESTINFOW*>(lParam);
        if (!hit)
            return FALSE;
        const int index = toolAt(*t, hit->hwnd, hit->pt);
        if (index < 0)
            return FALSE;
        hit->ti.cbSize = sizeof hit->ti;
        fillInfo(t->tools[static_cast<size_t>(index)], &hit->ti);
        return TRUE;
    }
    case TTM_SETDELAYTIME: {
        const int ms = static_cast<short>(LOWORD(lParam));
        switch (wParam) {
        case TTDT_INITIAL:
            t->initial = ms;
            break;
        case TTDT_AUTOPOP:
            t->autopop = ms;
            break;
        case TTDT_RESHOW:
            t->reshow = ms;
            break;
        case TTDT_AUTOMATIC:
            t->initial = ms;
            t->autopop = ms < 0 ? -1 : ms * 10;
            t->reshow = ms < 0 ? -1 : ms / 5;
            break;
        default:
            break;
        }
        return 0;
    }
    case TTM_GETDELAYTIME:
        return delay(*t, wParam);
    case TTM_SETMAXTIPWIDTH: {
        const int old = t->maxWidth;
        t->maxWidth = static_cast<int>(lParam);
        return old;
    }
    case TTM_GETMAXTIPWIDTH:
        return t->maxWidth;
    case TTM_SETTIPBKCOLOR:
        t->bk = static_cast<COLORREF>(wParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case TTM_GETTIPBKCOLOR:
        return static_cast<LRESULT>(t->bk == CLR_DEFAULT ? GetSysColor(COLOR_INFOBK) : t->bk);
    case TTM_SETTIPTEXTCOLOR:
        t->text = static_cast<COLORREF>(wParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case TTM_GETTIPTEXTCOLOR:
        return static_cast<LRESULT>(t->text == CLR_DEFAULT ? GetSysColor(COLOR_INFOTEXT) : t->text);
    case TTM_SETMARGIN:
        if (lParam)
            t->margin = *reinterpret_cast<const RECT*>(lParam);
        return 0;
    case TTM_GETMARGIN:
        if (lParam)
            *reinterpret_cast<RECT*>(lParam) = t->margin;
        return 0;
    case TTM_TRACKACTIVATE: {
        const int index = wParam && validInfo(info) ? findTool(*t, info) : -1;
        hide(hwnd, *t);
        t->tracking = index >= 0;
        if (t->tracking) {
            t->current = index;
            show(hwnd, *t);
        }
        return 0;
    }
    case TTM_TRACKPOSITION:
        t->trackAt = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (t->tracking && t->shown)
            SetWindowPos(hwnd, nullptr, t->trackAt.x, t->trackAt.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    case TTM_UPDATE:
        if (t->shown)
            show(hwnd, *t);
        return 0;
    case TTM_WINDOWFROMPOINT: {
        const auto* p = reinterpret_cast<const POINT*>(lParam);
        return p ? reinterpret_cast<LRESULT>(WindowFromPoint(*p)) : 0;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace pal::ctl
