// Document windows inside a frame. The "MDICLIENT" window keeps its document windows in the
// order they were made (their command ids follow that order), knows which one is active, and
// moves the maximised state along when another one becomes active, so that at most one is
// maximised and the frame's caption shows its title.
#include "atoms.h"
#include "model.h"

#include "win/user.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace pal::win {
namespace {

struct Client {
    HANDLE windowMenu = nullptr;
    UINT firstId = 0;
    DWORD style = 0;
    std::vector<HWND> children; // in the order they were made
    HWND active = nullptr;
    std::wstring frameTitle; // the frame's own text, without a maximised child's title
    int busy = 0;            // arranging: activations the layer reports meanwhile are ours
    bool listed = false;     // the window menu holds our separator and items
};

// The window menu lists up to nine document windows by number and title.
constexpr size_t kListed = 9;

Client* state(HWND client) {
    return reinterpret_cast<Client*>(GetWindowLongPtrW(client, 0));
}

bool isMdiClient(HWND hwnd) {
    wchar_t name[16]{};
    return GetClassNameW(hwnd, name, 16) > 0 &&
           CompareStringOrdinal(name, -1, L"MDICLIENT", -1, TRUE) == CSTR_EQUAL;
}

Client* clientOf(HWND child, HWND* clientHandle) {
    HWND parent = GetParent(child);
    if (!parent || !isMdiClient(parent))
        return nullptr;
    *clientHandle = parent;
    return state(parent);
}

std::wstring textOf(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(std::max(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size())), 0)));
    return text;
}

struct Busy {
    explicit Busy(Client* c) : c(c) { ++c->busy; }
    ~Busy() { --c->busy; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
    Client* c;
};

// A maximised document window lends its title to the frame: "Frame - [Document]".
void updateFrameTitle(HWND client, Client* c) {
    HWND frame = GetParent(client);
    if (!frame)
        return;
    std::wstring text = c->frameTitle;
    if (c->active && IsZoomed(c->active)) {
        const std::wstring child = textOf(c->active);
        text = text.empty() ? L"[" + child + L"]" : text + L" - [" + child + L"]";
    }
    DefWindowProcW(frame, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool frameIsActive(HWND client) {
    HWND active = GetActiveWindow();
    return active && active == GetAncestor(client, GA_ROOT);
}

// The children in stacking order, top first; hidden ones are never activated by the client.
std::vector<HWND> stacking(HWND client, const Client* c, bool visibleOnly) {
    std::vector<HWND> out;
    for (HWND h = GetWindow(client, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (std::find(c->children.begin(), c->children.end(), h) != c->children.end() &&
            (!visibleOnly || IsWindowVisible(h)))
            out.push_back(h);
    }
    return out;
}

HMENU windowMenuOf(const Client* c) {
    HMENU menu = static_cast<HMENU>(c->windowMenu);
    return menu && IsMenu(menu) ? menu : nullptr;
}

void unlist(Client* c) {
    HMENU menu = windowMenuOf(c);
    if (!menu || !c->listed)
        return;
    for (UINT id = c->firstId; id < c->firstId + kListed + 1; ++id)
        RemoveMenu(menu, id, MF_BYCOMMAND);
    const int count = GetMenuItemCount(menu);
    if (count > 0 && (GetMenuState(menu, static_cast<UINT>(count - 1), MF_BYPOSITION) & MF_SEPARATOR))
        RemoveMenu(menu, static_cast<UINT>(count - 1), MF_BYPOSITION);
    c->listed = false;
}

// "&1 Title", "&2 Title", ... after a separator, the active window checked.
void refreshList(Client* c) {
    unlist(c);
    HMENU menu = windowMenuOf(c);
    if (!menu)
        return;
    std::vector<size_t> shown;
    for (size_t i = 0; i < c->children.size() && shown.size() < kListed; ++i) {
        if (IsWindowVisible(c->children[i]))
            shown.push_back(i);
    }
    if (shown.empty())
        return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (size_t n = 0; n < shown.size(); ++n) {
        HWND child = c->children[shown[n]];
        const std::wstring text = L"&" + std::to_wstring(n + 1) + L" " + textOf(child);
        AppendMenuW(menu, MF_STRING | (child == c->active ? MF_CHECKED : MF_UNCHECKED), c->firstId + shown[n],
                    text.c_str());
    }
    c->listed = true;
}

// The focus goes to the client, whose WM_SETFOCUS hands it on to the active child. A client
// that holds the focus already is told again, as SetFocus tells nobody then.
void focusThroughClient(HWND client) {
    if (SetFocus(client) == client)
        SendMessageW(client, WM_SETFOCUS, reinterpret_cast<WPARAM>(client), 0);
}

// The platform's order: the new window is raised and told WM_CHILDACTIVATE, the old one is
// deactivated, the maximised state moves, the new one is drawn active and gets the focus
// through the client, and only then hears WM_MDIACTIVATE.
void activate(HWND client, Client* c, HWND next) {
    HWND prev = c->active;
    if (prev == next)
        return;
    Busy busy(c);
    const bool maximised = prev && IsZoomed(prev);
    c->active = next;
    if (next)
        SetWindowPos(next, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (prev && IsWindow(prev)) {
        SendMessageW(prev, WM_NCACTIVATE, FALSE, 0);
        SendMessageW(prev, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(prev), reinterpret_cast<LPARAM>(next));
    }
    if (next) {
        if (maximised && IsWindow(prev)) {
            ShowWindow(next, SW_MAXIMIZE);
            ShowWindow(prev, SW_SHOWNOACTIVATE);
        }
        SendMessageW(next, WM_NCACTIVATE, TRUE, 0);
        if (frameIsActive(client))
            focusThroughClient(client);
        if (IsWindow(next))
            SendMessageW(next, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(prev),
                         reinterpret_cast<LPARAM>(next));
    } else if (frameIsActive(client)) {
        SetFocus(client);
    }
    if (maximised || (next && IsZoomed(next)))
        updateFrameTitle(client, c);
    refreshList(c);
}

// The child that takes over from one that goes away: the next visible one in stacking order.
HWND successor(HWND client, const Client* c, HWND leaving) {
    for (HWND h : stacking(client, c, true)) {
        if (h != leaving)
            return h;
    }
    return nullptr;
}

void renumber(Client* c) {
    for (size_t i = 0; i < c->children.size(); ++i)
        SetWindowLongPtrW(c->children[i], GWLP_ID, static_cast<LONG_PTR>(c->firstId + i));
}

void forget(HWND client, Client* c, HWND child) {
    auto it = std::find(c->children.begin(), c->children.end(), child);
    if (it == c->children.end())
        return;
    if (c->active == child) {
        // A maximised window is restored before it goes, and the one taking over is maximised
        // in its place.
        const bool maximised = IsZoomed(child);
        if (maximised) {
            Busy busy(c);
            ShowWindow(child, SW_SHOWNOACTIVATE);
        }
        const HWND next = successor(client, c, child);
        activate(client, c, next);
        if (c->active == child) // nothing else to take over
            c->active = nullptr;
        if (maximised && next && c->active == next) {
            {
                Busy busy(c);
                ShowWindow(next, SW_MAXIMIZE);
            }
            updateFrameTitle(client, c);
        }
    }
    c->children.erase(std::find(c->children.begin(), c->children.end(), child));
    renumber(c);
    refreshList(c);
}

HWND create(HWND client, Client* c, const MDICREATESTRUCTW* mcs) {
    if (!mcs || !mcs->szClass) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    DWORD style = mcs->style | WS_CHILD | WS_CLIPSIBLINGS;
    if (!(c->style & MDIS_ALLCHILDSTYLES))
        style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    // A new window joins a maximised set maximised.
    if (c->active && IsZoomed(c->active) && !(style & WS_MINIMIZE))
        style |= WS_MAXIMIZE;
    RECT area{};
    GetClientRect(client, &area);
    const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    const int slot = static_cast<int>(c->children.size() % 8);
    int x = mcs->x, y = mcs->y, cx = mcs->cx, cy = mcs->cy;
    if (x == CW_USEDEFAULT) {
        x = slot * step;
        y = slot * step;
    }
    if (cx == CW_USEDEFAULT) {
        cx = area.right * 3 / 4;
        cy = area.bottom * 3 / 4;
    }
    const UINT id = c->firstId + static_cast<UINT>(c->children.size());
    HWND child = nullptr;
    {
        // Made maximised as the platform makes any window with WS_MAXIMIZE, after WM_CREATE;
        // the maximising activates nothing, the activation follows the show.
        Busy busy(c);
        child = CreateWindowExW(WS_EX_MDICHILD, mcs->szClass, mcs->szTitle, style & ~WS_VISIBLE, x, y, cx, cy,
                                client, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                static_cast<HINSTANCE>(mcs->hOwner), const_cast<MDICREATESTRUCTW*>(mcs));
    }
    if (!child)
        return nullptr;
    c->children.push_back(child);
    if (style & WS_VISIBLE) {
        ShowWindow(child, SW_SHOW);
        activate(client, c, child);
    }
    refreshList(c);
    return child;
}

void tile(HWND client, Client* c, WPARAM how) {
    Busy busy(c);
    if (c->active && IsZoomed(c->active))
        ShowWindow(c->active, SW_SHOWNOACTIVATE);
    std::vector<HWND> windows;
    for (HWND h : stacking(client, c, true)) {
        if (!IsIconic(h) && !((how & MDITILE_SKIPDISABLED) && !IsWindowEnabled(h)))
            windows.push_back(h);
    }
    std::reverse(windows.begin(), windows.end()); // the oldest first, top-left
    const int n = static_cast<int>(windows.size());
    if (n == 0)
        return;
    RECT area{};
    GetClientRect(client, &area);
    // Bands across for horizontal tiling, columns side by side otherwise.
    const bool across = how & MDITILE_HORIZONTAL;
    const int bands = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(n))));
    const int lines = (n + bands - 1) / bands; // columns (or rows when across)
    int index = 0;
    for (int line = 0; line < lines; ++line) {
        // The later lines take the remainder, one more window each.
        const int inLine = n / lines + (line >= lines - n % lines ? 1 : 0);
        for (int k = 0; k < inLine && index < n; ++k, ++index) {
            const int W = area.right, H = area.bottom;
            RECT r =
                across ? RECT{k * W / inLine, line * H / lines, (k + 1) * W / inLine, (line + 1) * H / lines}
                       : RECT{line * W / lines, k * H / inLine, (line + 1) * W / lines, (k + 1) * H / inLine};
            MoveWindow(windows[static_cast<size_t>(index)], r.left, r.top, r.right - r.left, r.bottom - r.top,
                       TRUE);
        }
    }
}

int cascade(HWND client, Client* c, WPARAM how) {
    Busy busy(c);
    if (c->active && IsZoomed(c->active))
        ShowWindow(c->active, SW_SHOWNOACTIVATE);
    std::vector<HWND> windows;
    for (HWND h : stacking(client, c, true)) {
        if (!IsIconic(h) && !((how & MDITILE_SKIPDISABLED) && !IsWindowEnabled(h)))
            windows.push_back(h);
    }
    RECT area{};
    GetClientRect(client, &area);
    const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    const int n = static_cast<int>(windows.size());
    const int cx = std::max(area.right - step * (n - 1), area.right * 2 / 3);
    const int cy = std::max(area.bottom - step * (n - 1), area.bottom * 2 / 3);
    // The bottom window at the top-left, the active one last and in front.
    for (int i = 0; i < n; ++i) {
        HWND h = windows[static_cast<size_t>(n - 1 - i)];
        const int offset = step * i;
        SetWindowPos(h, HWND_TOP, offset, offset, cx, cy, SWP_NOACTIVATE);
    }
    return n;
}

void arrangeIcons(HWND client, Client* c) {
    RECT area{};
    GetClientRect(client, &area);
    const int cx = GetSystemMetrics(SM_CXMINTRACK) + 24;
    const int cy = GetSystemMetrics(SM_CYMINTRACK) - 11;
    int x = 0;
    for (HWND h : c->children) {
        if (!IsIconic(h))
            continue;
        SetWindowPos(h, nullptr, x, area.bottom - cy, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
        x += cx;
    }
}

// Next (lParam 0) puts the given window at the bottom and activates the one under it; previous
// activates the bottom one.
void next(HWND client, Client* c, HWND from, bool previous) {
    const std::vector<HWND> order = stacking(client, c, true);
    if (order.size() < 2)
        return;
    if (!from)
        from = c->active ? c->active : order.front();
    HWND target = nullptr;
    if (previous) {
        target = order.back();
    } else {
        auto it = std::find(order.begin(), order.end(), from);
        target = (it == order.end() || it + 1 == order.end()) ? order.front() : *(it + 1);
    }
    if (target == from)
        return;
    activate(client, c, target);
    if (!previous)
        SetWindowPos(from, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT clientProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Client* c = state(hwnd);
    switch (message) {
    case WM_NCCREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* made = new Client;
        if (const auto* ccs = static_cast<const CLIENTCREATESTRUCT*>(cs->lpCreateParams)) {
            made->windowMenu = ccs->hWindowMenu;
            made->firstId = ccs->idFirstChild;
        }
        made->style = cs->style;
        if (cs->hwndParent)
            made->frameTitle = textOf(cs->hwndParent);
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(made));
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    case WM_NCDESTROY:
        if (c)
            unlist(c);
        SetWindowLongPtrW(hwnd, 0, 0);
        delete c;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    default:
        break;
    }
    if (!c)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    HWND child = reinterpret_cast<HWND>(wParam);
    switch (message) {
    case WM_MDICREATE:
        return reinterpret_cast<LRESULT>(create(hwnd, c, reinterpret_cast<const MDICREATESTRUCTW*>(lParam)));
    case WM_MDIDESTROY:
        if (std::find(c->children.begin(), c->children.end(), child) == c->children.end())
            return 0;
        forget(hwnd, c, child);
        DestroyWindow(child);
        if (c->children.empty())
            updateFrameTitle(hwnd, c);
        return 0;
    case WM_MDIACTIVATE:
        if (std::find(c->children.begin(), c->children.end(), child) != c->children.end()) {
            if (IsIconic(child))
                ShowWindow(child, SW_SHOWNOACTIVATE);
            activate(hwnd, c, child);
        }
        return 0;
    case WM_MDIGETACTIVE:
        if (lParam)
            *reinterpret_cast<BOOL*>(lParam) = c->active && IsZoomed(c->active) ? TRUE : FALSE;
        return reinterpret_cast<LRESULT>(c->active);
    case WM_MDINEXT:
        next(hwnd, c, child, lParam != 0);
        return 0;
    case WM_MDIMAXIMIZE:
        if (std::find(c->children.begin(), c->children.end(), child) != c->children.end()) {
            ShowWindow(child, SW_MAXIMIZE);
            activate(hwnd, c, child);
            updateFrameTitle(hwnd, c);
        }
        return 0;
    case WM_MDIRESTORE:
        if (std::find(c->children.begin(), c->children.end(), child) != c->children.end()) {
            {
                Busy busy(c);
                ShowWindow(child, SW_SHOWNOACTIVATE);
            }
            updateFrameTitle(hwnd, c);
        }
        return 0;
    case WM_MDITILE:
        tile(hwnd, c, wParam);
        updateFrameTitle(hwnd, c);
        return TRUE;
    case WM_MDICASCADE: {
        const int n = cascade(hwnd, c, wParam);
        updateFrameTitle(hwnd, c);
        return n;
    }
    case WM_MDIICONARRANGE:
        arrangeIcons(hwnd, c);
        return 0;
    case WM_MDISETMENU: {
        // A new menu bar for the frame and a new window menu; either may stay as it is (null).
        HWND frame = GetParent(hwnd);
        HMENU old = frame ? GetMenu(frame) : nullptr;
        unlist(c);
        if (lParam)
            c->windowMenu = reinterpret_cast<HANDLE>(lParam);
        if (wParam && frame && reinterpret_cast<HMENU>(wParam) != old)
            SetMenu(frame, reinterpret_cast<HMENU>(wParam));
        refreshList(c);
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_MDIREFRESHMENU: {
        refreshList(c);
        HWND frame = GetParent(hwnd);
        if (frame)
            DrawMenuBar(frame);
        return reinterpret_cast<LRESULT>(frame ? GetMenu(frame) : nullptr);
    }
    case WM_SETFOCUS:
        if (c->active && IsWindowVisible(c->active) && !IsIconic(c->active))
            SetFocus(c->active);
        return 0;
    case WM_SIZE:
        // The maximised window keeps filling the client.
        if (c->active && IsZoomed(c->active)) {
            RECT r{0, 0, LOWORD(lParam), HIWORD(lParam)};
            AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(c->active, GWL_STYLE)), FALSE,
                               static_cast<DWORD>(GetWindowLongPtrW(c->active, GWL_EXSTYLE)));
            SetWindowPos(c->active, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_PARENTNOTIFY:
        // A child destroyed without WM_MDIDESTROY is forgotten all the same.
        if (LOWORD(wParam) == WM_DESTROY)
            forget(hwnd, c, reinterpret_cast<HWND>(lParam));
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

std::shared_ptr<WindowClass> makeMdiClientClass() {
    auto cls = std::make_shared<WindowClass>();
    cls->name = L"MDICLIENT";
    cls->atom = userAtoms().add(cls->name);
    cls->style = 0;
    cls->proc = &clientProc;
    cls->wndExtra = sizeof(void*);
    cls->background = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_APPWORKSPACE + 1));
    return cls;
}

} // namespace pal::win

using namespace pal::win;

LRESULT DefFrameProcW(HWND hwnd, HWND hwndMDIClient, UINT message, WPARAM wParam, LPARAM lParam) {
    Client* c = hwndMDIClient ? state(hwndMDIClient) : nullptr;
    if (!c)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_COMMAND: {
        const UINT id = LOWORD(wParam);
        if (lParam == 0 && id >= c->firstId && id < c->firstId + c->children.size()) {
            SendMessageW(hwndMDIClient, WM_MDIACTIVATE,
                         reinterpret_cast<WPARAM>(c->children[id - c->firstId]), 0);
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    case WM_SETFOCUS:
        // The client passes the focus on to the active document window.
        focusThroughClient(hwndMDIClient);
        return 0;
    case WM_SIZE:
        MoveWindow(hwndMDIClient, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETTEXT:
        c->frameTitle = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
        updateFrameTitle(hwndMDIClient, c);
        return TRUE;
    case WM_NCACTIVATE:
        if (c->active)
            SendMessageW(c->active, WM_NCACTIVATE, wParam, 0);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT DefMDIChildProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND client = nullptr;
    Client* c = clientOf(hwnd, &client);
    if (!c)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CHILDACTIVATE:
        // A disabled window is shown, not activated.
        if (!c->busy && IsWindowEnabled(hwnd))
            activate(client, c, hwnd);
        return 0;
    case WM_SETFOCUS:
        if (!c->busy && c->active != hwnd)
            activate(client, c, hwnd);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_CLOSE:
        SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd), 0);
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        if (c->active == hwnd && IsZoomed(hwnd))
            updateFrameTitle(client, c);
        refreshList(c);
        return result;
    }
    case WM_SIZE: {
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        if (wParam == SIZE_MAXIMIZED && !c->busy && c->active != hwnd)
            activate(client, c, hwnd);
        if (!c->busy && c->active == hwnd)
            updateFrameTitle(client, c);
        return result;
    }
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_NEXTWINDOW || (wParam & 0xFFF0) == SC_PREVWINDOW) {
            SendMessageW(client, WM_MDINEXT, 0, (wParam & 0xFFF0) == SC_PREVWINDOW);
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

HWND CreateMDIWindowW(LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width, int height,
                      HWND hwndParent, HINSTANCE instance, LPARAM lParam) {
    MDICREATESTRUCTW mcs{className, windowName, instance, x, y, width, height, style, lParam};
    return reinterpret_cast<HWND>(SendMessageW(hwndParent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
}
