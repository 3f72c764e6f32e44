// Keyboard and mouse: the key-state tables, the cursor, finding the window under a point,
// character translation, mouse activation, and the simulated input tests drive.
#include "model.h"

#include "driver.h"

#include "pal/clock.h"
#include "pal/detail/user_control.h"

#include <algorithm>

namespace pal::win {
namespace {

constexpr BYTE kDown = 0x80;
constexpr BYTE kToggled = 0x01;

bool isButtonPress(UINT m) {
    switch (m) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

// Which virtual key a mouse-button message presses (positive) or releases (negative).
int buttonKey(UINT m) {
    switch (m) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return VK_LBUTTON;
    case WM_LBUTTONUP:
        return -VK_LBUTTON;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        return VK_RBUTTON;
    case WM_RBUTTONUP:
        return -VK_RBUTTON;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        return VK_MBUTTON;
    case WM_MBUTTONUP:
        return -VK_MBUTTON;
    default:
        return 0;
    }
}

// The characters of the US layout: unshifted, shifted.
struct KeyChars {
    int vk;
    wchar_t plain;
    wchar_t shifted;
};
constexpr KeyChars kKeyChars[] = {
    {'0', L'0', L')'},           {'1', L'1', L'!'},          {'2', L'2', L'@'},
    {'3', L'3', L'#'},           {'4', L'4', L'$'},          {'5', L'5', L'%'},
    {'6', L'6', L'^'},           {'7', L'7', L'&'},          {'8', L'8', L'*'},
    {'9', L'9', L'('},           {VK_SPACE, L' ', L' '},     {VK_RETURN, L'\r', L'\r'},
    {VK_TAB, L'\t', L'\t'},      {VK_BACK, L'\b', L'\b'},    {VK_ESCAPE, 0x1B, 0x1B},
    {VK_MULTIPLY, L'*', L'*'},   {VK_ADD, L'+', L'+'},       {VK_SUBTRACT, L'-', L'-'},
    {VK_DECIMAL, L'.', L'.'},    {VK_DIVIDE, L'/', L'/'},    {VK_OEM_1, L';', L':'},
    {VK_OEM_PLUS, L'=', L'+'},   {VK_OEM_COMMA, L',', L'<'}, {VK_OEM_MINUS, L'-', L'_'},
    {VK_OEM_PERIOD, L'.', L'>'}, {VK_OEM_2, L'/', L'?'},     {VK_OEM_3, L'`', L'~'},
    {VK_OEM_4, L'[', L'{'},      {VK_OEM_5, L'\\', L'|'},    {VK_OEM_6, L']', L'}'},
    {VK_OEM_7, L'\'', L'"'},
};

wchar_t characterFor(int vk, bool shift, bool ctrl, bool caps) {
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl)
            return static_cast<wchar_t>(vk - 'A' + 1);
        return static_cast<wchar_t>((shift != caps) ? vk : vk - 'A' + 'a');
    }
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return static_cast<wchar_t>(L'0' + vk - VK_NUMPAD0);
    if (ctrl)
        return vk == VK_RETURN ? L'\n' : vk == VK_BACK ? 0x7F : vk == VK_ESCAPE ? 0x1B : 0;
    for (const KeyChars& k : kKeyChars) {
        if (k.vk == vk)
            return shift ? k.shifted : k.plain;
    }
    return 0;
}

void postInput(Window* target, UINT message, WPARAM wParam, LPARAM lParam) {
    Queue* q = queueOf(target->thread);
    if (!q)
        return;
    q->input.push_back(MSG{target->handle, message, wParam, lParam, static_cast<DWORD>(pal::clock::tickMs()),
                           model().cursor});
    wake(*q, inputKind(message));
}

WPARAM mouseKeys() {
    const auto& k = model().asyncKeys;
    WPARAM mk = 0;
    if (k[VK_LBUTTON] & kDown)
        mk |= MK_LBUTTON;
    if (k[VK_RBUTTON] & kDown)
        mk |= MK_RBUTTON;
    if (k[VK_MBUTTON] & kDown)
        mk |= MK_MBUTTON;
    if (k[VK_SHIFT] & kDown)
        mk |= MK_SHIFT;
    if (k[VK_CONTROL] & kDown)
        mk |= MK_CONTROL;
    return mk;
}

// Where a key goes: the focus of the foreground thread, else that thread's active window.
Window* keyTarget(bool& noFocus) {
    noFocus = false;
    Window* fg = find(model().foreground);
    Queue* q = fg ? queueOf(fg->thread) : &currentQueue();
    if (!q)
        return nullptr;
    if (Window* f = find(q->focus))
        return f;
    noFocus = true;
    return find(q->active);
}

// A key goes down or up; `scan` and `extended` describe the physical key, and `typed` carries
// the text a display's input method made of it, for TranslateMessage.
void pressKey(int vk, bool down, UINT scan = 0, bool extended = false, const std::wstring* typed = nullptr) {
    Lock lock = lockModel();
    auto& keys = model().asyncKeys;
    const bool wasDown = keys[vk & 0xFF] & kDown;
    if (down) {
        if (!wasDown)
            keys[vk & 0xFF] ^= kToggled;
        keys[vk & 0xFF] |= kDown;
    } else {
        keys[vk & 0xFF] &= static_cast<BYTE>(~kDown);
    }
    bool noFocus = false;
    Window* target = keyTarget(noFocus);
    if (!target)
        return;
    const bool alt = keys[VK_MENU] & kDown;
    const bool ctrl = keys[VK_CONTROL] & kDown;
    const bool sys = noFocus || (alt && !ctrl) || vk == VK_F10 || (vk == VK_MENU && !ctrl);
    const UINT message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    LPARAM lParam = 1 | static_cast<LPARAM>((scan & 0xFF) << 16);
    if (extended)
        lParam |= LPARAM{1} << 24;
    if (alt)
        lParam |= LPARAM{1} << 29;
    if (wasDown)
        lParam |= LPARAM{1} << 30;
    if (!down)
        lParam |= LPARAM{1} << 31;
    postInput(target, message, static_cast<WPARAM>(vk), lParam);
    if (down && typed) {
        Queue* q = queueOf(target->thread);
        if (!q)
            return;
        // Text nobody translated is dropped once newer keys pile up behind it.
        constexpr size_t kKept = 64;
        if (q->typed.size() == kKept)
            q->typed.pop_front();
        q->typed.push_back(Queue::TypedText{q->input.back(), *typed});
    }
}

// The pointer moved to `p` (or left the program's windows): a window tracking it that no
// longer has it under the pointer hears WM_MOUSELEAVE, once.
void checkLeave(POINT p, bool gone) {
    Model& m = model();
    Window* tracked = find(m.leaveTracked);
    if (!tracked)
        return;
    if (!gone && windowAt(p) == tracked->handle)
        return;
    m.leaveTracked = nullptr;
    if (Queue* q = queueOf(tracked->thread)) {
        q->posted.push_back(
            MSG{tracked->handle, WM_MOUSELEAVE, 0, 0, static_cast<DWORD>(pal::clock::tickMs()), p});
        wake(*q, QS_POSTMESSAGE);
    }
}

Window* mouseTarget(POINT p) {
    if (Window* c = find(model().capture))
        return c;
    return find(windowAt(p));
}

void pressButton(POINT p, pal::detail::MouseButton button, bool down, bool doubleClick) {
    static constexpr UINT kMessages[3][3] = {{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK},
                                             {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK},
                                             {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK}};
    static constexpr int kKeys[3] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
    const int b = static_cast<int>(button);
    Lock lock = lockModel();
    model().cursor = p;
    auto& keys = model().asyncKeys;
    if (down)
        keys[kKeys[b]] |= kDown;
    else
        keys[kKeys[b]] &= static_cast<BYTE>(~kDown);
    // A held scroll bar takes the release, wherever the pointer is.
    if (b == 0 && !down && model().heldBar) {
        Window* held = find(model().heldBar);
        const LRESULT hit = model().heldBarVertical ? HTVSCROLL : HTHSCROLL;
        model().heldBar = nullptr;
        if (held) {
            postInput(held, WM_NCLBUTTONUP, static_cast<WPARAM>(hit),
                      MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
            return;
        }
    }
    Window* target = mouseTarget(p);
    if (!target)
        return;
    UINT message = kMessages[b][down ? 0 : 1];
    if (down && doubleClick && target->cls && (target->cls->style & CS_DBLCLKS))
        message = kMessages[b][2];
    const POINT o = clientOrigin(target);
    // A left press on a window's own scroll bar is a non-client press there, in screen coordinates.
    if (b == 0 && down && !find(model().capture)) {
        const LONG width = target->client.right - target->client.left;
        const LONG height = target->client.bottom - target->client.top;
        const bool inRows = p.y >= o.y && p.y < o.y + height, inColumns = p.x >= o.x && p.x < o.x + width;
        LRESULT hit = HTNOWHERE;
        if ((target->style & WS_VSCROLL) && inRows && p.x >= o.x + width &&
            p.x < o.x + width + GetSystemMetrics(SM_CXVSCROLL))
            hit = HTVSCROLL;
        else if ((target->style & WS_HSCROLL) && inColumns && p.y >= o.y + height &&
                 p.y < o.y + height + GetSystemMetrics(SM_CYHSCROLL))
            hit = HTHSCROLL;
        // A press on a top-level window's own caption or frame moves or sizes it.
        if (hit == HTNOWHERE && !target->parent && !PtInRect(&target->client, p)) {
            const LRESULT edge = frameHitTest(target->style, target->rect, target->client, p);
            if (edge == HTCAPTION || (edge >= HTLEFT && edge <= HTBOTTOMRIGHT)) {
                postInput(target, WM_NCLBUTTONDOWN, static_cast<WPARAM>(edge),
                          MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
                return;
            }
        }
        if (hit != HTNOWHERE) {
            // The bar is held from the press: the moves and the release that follow are its own.
            model().heldBar = target->handle;
            model().heldBarVertical = hit == HTVSCROLL;
            postInput(target, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit),
                      MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
            return;
        }
    }
    postInput(target, message, mouseKeys(),
              MAKELPARAM(static_cast<WORD>(p.x - o.x), static_cast<WORD>(p.y - o.y)));
}

} // namespace

// The deepest visible, enabled window under a screen point.
HWND windowAt(POINT p) {
    for (HWND h : model().topLevel) {
        Window* w = find(h);
        if (!w || !(w->style & WS_VISIBLE))
            continue;
        const RECT outer = screenRect(w);
        if (!PtInRect(&outer, p))
            continue;
        if (w->style & WS_DISABLED)
            return nullptr;
        for (bool descended = true; descended;) {
            descended = false;
            for (HWND c : w->children) {
                Window* cw = find(c);
                if (!cw || !(cw->style & WS_VISIBLE) || (cw->style & WS_DISABLED))
                    continue;
                const RECT r = screenRect(cw);
                if (PtInRect(&r, p)) {
                    w = cw;
                    descended = true;
                    break;
                }
            }
        }
        return w->handle;
    }
    return nullptr;
}

UINT inputKind(UINT message) {
    if (message >= WM_KEYFIRST && message <= WM_KEYLAST)
        return QS_KEY;
    if (message == WM_MOUSEMOVE)
        return QS_MOUSEMOVE;
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST)
        return QS_MOUSEBUTTON;
    return 0;
}

void updateKeyState(std::array<BYTE, 256>& keys, const MSG& msg) {
    int vk = 0;
    bool down = false;
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        vk = static_cast<int>(msg.wParam & 0xFF);
        down = true;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        vk = static_cast<int>(msg.wParam & 0xFF);
        break;
    default:
        vk = buttonKey(msg.message);
        down = vk > 0;
        vk = std::abs(vk);
        break;
    }
    if (!vk)
        return;
    if (down) {
        if (!(keys[vk] & kDown))
            keys[vk] ^= kToggled;
        keys[vk] |= kDown;
    } else {
        keys[vk] &= static_cast<BYTE>(~kDown);
    }
}

bool mouseActivate(const MSG& msg) {
    if (!isButtonPress(msg.message))
        return true;
    HWND top = nullptr;
    {
        Lock lock = lockModel();
        Window* w = find(msg.hwnd);
        if (!w || w->messageOnly || currentQueue().active == msg.hwnd)
            return true;
        top = rootOf(w);
    }
    const LRESULT r = send(msg.hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                           MAKELPARAM(static_cast<WORD>(HTCLIENT), static_cast<WORD>(msg.message)));
    if (r == MA_ACTIVATE || r == MA_ACTIVATEANDEAT) {
        bool inactive = false;
        {
            Lock lock = lockModel();
            inactive = currentQueue().active != top && find(top);
            if (inactive)
                model().foreground = top; // a click brings its window forward
        }
        if (inactive)
            activate(top, WA_CLICKACTIVE);
    }
    return r != MA_ACTIVATEANDEAT && r != MA_NOACTIVATEANDEAT;
}

} // namespace pal::win

using namespace pal::win;

SHORT GetKeyState(int virtualKey) {
    Lock lock = lockModel();
    const BYTE v = currentQueue().keys[virtualKey & 0xFF];
    return static_cast<SHORT>(((v & kDown) ? 0xFF80 : 0) | (v & kToggled));
}

SHORT GetAsyncKeyState(int virtualKey) {
    Lock lock = lockModel();
    return (model().asyncKeys[virtualKey & 0xFF] & kDown) ? static_cast<SHORT>(0x8000) : 0;
}

BOOL GetKeyboardState(BYTE* state) {
    if (!state) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lock lock = lockModel();
    const auto& keys = currentQueue().keys;
    std::copy(keys.begin(), keys.end(), state);
    return TRUE;
}

BOOL GetCursorPos(LPPOINT point) {
    if (!point)
        return FALSE;
    Lock lock = lockModel();
    *point = model().cursor;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    {
        Lock lock = lockModel();
        model().cursor = POINT{x, y};
    }
    // On a real display the person sees the pointer go there.
    driver().warpPointer(POINT{x, y});
    return TRUE;
}

UINT GetDoubleClickTime() {
    return 500;
}

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track) {
    if (!track || track->cbSize != sizeof(TRACKMOUSEEVENT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lock lock = lockModel();
    Model& m = model();
    if (track->dwFlags & TME_QUERY) {
        track->dwFlags = m.leaveTracked ? TME_LEAVE : 0;
        track->hwndTrack = m.leaveTracked;
        track->dwHoverTime = 0;
        return TRUE;
    }
    if (!findOrFail(track->hwndTrack))
        return FALSE;
    if (!(track->dwFlags & TME_LEAVE))
        return TRUE;
    if (track->dwFlags & TME_CANCEL) {
        if (m.leaveTracked == track->hwndTrack)
            m.leaveTracked = nullptr;
        return TRUE;
    }
    // A window asking while the pointer is elsewhere hears at once that it left.
    m.leaveTracked = track->hwndTrack;
    checkLeave(m.cursor, false);
    return TRUE;
}

HWND WindowFromPoint(POINT point) {
    Lock lock = lockModel();
    return windowAt(point);
}

HWND ChildWindowFromPoint(HWND parent, POINT point) {
    Lock lock = lockModel();
    Window* w = findOrFail(parent);
    if (!w)
        return nullptr;
    const RECT box{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    if (!PtInRect(&box, point))
        return nullptr;
    for (HWND c : w->children) {
        Window* cw = find(c);
        if (cw && PtInRect(&cw->rect, point))
            return c;
    }
    return parent;
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg)
        return FALSE;
    const UINT m = msg->message;
    if (m == WM_KEYUP || m == WM_SYSKEYUP)
        return TRUE;
    if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN)
        return FALSE;
    Lock lock = lockModel();
    Queue& q = currentQueue();
    const UINT charMessage = m == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    for (auto it = q.typed.begin(); it != q.typed.end(); ++it) {
        const MSG& key = it->key;
        if (key.hwnd != msg->hwnd || key.wParam != msg->wParam || key.lParam != msg->lParam ||
            key.time != msg->time)
            continue;
        // The display's input method said what this key typed (nothing, for a dead key).
        for (wchar_t ch : it->text)
            q.posted.push_back(
                MSG{msg->hwnd, charMessage, static_cast<WPARAM>(ch), msg->lParam, msg->time, msg->pt});
        if (!it->text.empty())
            wake(q, QS_POSTMESSAGE);
        q.typed.erase(q.typed.begin(), it + 1);
        return TRUE;
    }
    const auto& k = q.keys;
    const bool alt = k[VK_MENU] & kDown;
    const wchar_t ch = characterFor(static_cast<int>(msg->wParam & 0xFF), k[VK_SHIFT] & kDown,
                                    (k[VK_CONTROL] & kDown) && !alt, k[VK_CAPITAL] & kToggled);
    if (ch) {
        q.posted.push_back(
            MSG{msg->hwnd, charMessage, static_cast<WPARAM>(ch), msg->lParam, msg->time, msg->pt});
        wake(q, QS_POSTMESSAGE);
    }
    return TRUE;
}

namespace pal::win::native {
namespace {

// A point in a top-level window's native area, on the screen of the model.
POINT toScreen(HWND root, POINT client) {
    Window* w = find(root);
    if (!w)
        return client;
    const RECT& shown = nativeShowsClientOnly(w) ? w->client : w->rect;
    return POINT{shown.left + client.x, shown.top + client.y};
}

} // namespace

void button(HWND root, POINT client, int button, bool down, bool doubleClick) {
    POINT p{};
    {
        Lock lock = lockModel();
        p = toScreen(root, client);
    }
    pressButton(p, static_cast<pal::detail::MouseButton>(std::clamp(button, 0, 2)), down, doubleClick);
}

void motion(HWND root, POINT client) {
    POINT p{};
    {
        Lock lock = lockModel();
        p = toScreen(root, client);
    }
    pal::detail::simulateMouseMove(p);
}

void buttonsReleased() {
    Lock lock = lockModel();
    for (int key : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON}) {
        model().asyncKeys[key] &= static_cast<BYTE>(~kDown);
        currentQueue().keys[key] &= static_cast<BYTE>(~kDown);
    }
}

void leave(HWND root) {
    Lock lock = lockModel();
    // The pointer is somewhere no window of this program is; a capture keeps it anyway.
    if (model().capture)
        return;
    if (Window* w = find(root)) {
        const RECT r = screenRect(w);
        if (PtInRect(&r, model().cursor))
            model().cursor = POINT{-32768, -32768};
        if (inTree(root, model().leaveTracked))
            checkLeave(model().cursor, true);
    }
}

void wheel(HWND root, POINT client, int delta, bool horizontal) {
    Lock lock = lockModel();
    const POINT p = toScreen(root, client);
    model().cursor = p;
    if (Window* target = mouseTarget(p))
        postInput(target, horizontal ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL,
                  MAKEWPARAM(static_cast<WORD>(mouseKeys()), static_cast<WORD>(static_cast<SHORT>(delta))),
                  MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
}

void key(int virtualKey, UINT scanCode, bool extended, bool down, const std::wstring& text) {
    pressKey(virtualKey, down, scanCode, extended, &text);
}

} // namespace pal::win::native

namespace pal::detail {

void simulateKey(int virtualKey, bool down) {
    pressKey(virtualKey, down);
}

void simulateButton(POINT screen, MouseButton button, bool down, bool secondClick) {
    pressButton(screen, button, down, secondClick);
}

void simulateMouseMove(POINT screen) {
    Lock lock = lockModel();
    model().cursor = screen;
    checkLeave(screen, false);
    if (Window* held = find(model().heldBar)) {
        postInput(held, WM_NCMOUSEMOVE, static_cast<WPARAM>(model().heldBarVertical ? HTVSCROLL : HTHSCROLL),
                  MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
        return;
    }
    if (Window* target = mouseTarget(screen)) {
        const POINT o = clientOrigin(target);
        postInput(target, WM_MOUSEMOVE, mouseKeys(),
                  MAKELPARAM(static_cast<WORD>(screen.x - o.x), static_cast<WORD>(screen.y - o.y)));
    }
}

void simulateWheel(POINT screen, int delta) {
    Lock lock = lockModel();
    model().cursor = screen;
    if (Window* target = mouseTarget(screen))
        postInput(target, WM_MOUSEWHEEL,
                  MAKEWPARAM(static_cast<WORD>(mouseKeys()), static_cast<WORD>(static_cast<SHORT>(delta))),
                  MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
}

void activateOtherApplication() {
    std::vector<DWORD> threads;
    {
        Lock lock = lockModel();
        model().foreground = nullptr;
        for (auto& [id, q] : model().queues) {
            if (q->alive && q->active)
                threads.push_back(id);
        }
    }
    for (DWORD t : threads) {
        if (t == currentThread()) {
            activate(nullptr, WA_INACTIVE);
            continue;
        }
        HWND active = nullptr;
        {
            Lock lock = lockModel();
            if (Queue* q = queueOf(t))
                active = q->active;
        }
        if (active)
            runOnOwner(active, [] {
                activate(nullptr, WA_INACTIVE);
                return LRESULT{0};
            });
    }
}

} // namespace pal::detail
