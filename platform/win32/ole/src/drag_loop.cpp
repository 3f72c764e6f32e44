// The drag loop: the source's thread takes the input until the source drops or cancels.
#include "desktop_drag.h"
#include "drop_link.h"
#include "drop_session.h"
#include "ole_thread.h"

#include "pal/journal.h"
#include "win/user.h"

#include <string>

namespace pal::ole {
namespace {

constexpr wchar_t kTrackerClass[] = L"DVDragTracker";

bool down(int vk) {
    return GetKeyState(vk) & 0x8000;
}

// The key state of drag and drop, as of the last message taken from the queue.
DWORD keyState() {
    DWORD keys = 0;
    if (down(VK_LBUTTON))
        keys |= MK_LBUTTON;
    if (down(VK_RBUTTON))
        keys |= MK_RBUTTON;
    if (down(VK_MBUTTON))
        keys |= MK_MBUTTON;
    if (down(VK_SHIFT))
        keys |= MK_SHIFT;
    if (down(VK_CONTROL))
        keys |= MK_CONTROL;
    if (down(VK_MENU))
        keys |= MK_ALT;
    return keys;
}

POINT messagePoint() {
    const DWORD pos = GetMessagePos();
    return POINT{GET_X_LPARAM(static_cast<LPARAM>(pos)), GET_Y_LPARAM(static_cast<LPARAM>(pos))};
}

// A hidden window of the dragging thread holds the capture, so that all mouse input comes here.
class Tracker {
public:
    Tracker() {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = kTrackerClass;
        RegisterClassExW(&wc); // already registered after the first drag
        hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kTrackerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                nullptr, nullptr);
        SetCapture(hwnd_);
    }
    ~Tracker() {
        if (GetCapture() == hwnd_)
            ReleaseCapture();
        DestroyWindow(hwnd_);
    }

private:
    HWND hwnd_ = nullptr;
};

const char* effectName(DWORD effect) {
    if (effect & DROPEFFECT_MOVE)
        return "move";
    if (effect & DROPEFFECT_COPY)
        return "copy";
    if (effect & DROPEFFECT_LINK)
        return "link";
    return "none";
}

// Follows the pointer over this program's windows, and over other programs' where it has none:
// the programs of the sandbox take the drag with all its data, any other program on the desktop
// with the desktop's own protocol. Where the display knows which window is on top, it says
// whether the pointer is over one of this program's windows at all.
class Drag {
public:
    explicit Drag(IDataObject* data) : local_(data), remote_(data), desktop_(data) {}

    DWORD step(POINT point, DWORD keys, DWORD ok) {
        DWORD effect = DROPEFFECT_NONE;
        const pal::detail::DragPlace place = DesktopDrag::placeOf(point);
        if (place != pal::detail::DragPlace::OtherProgram && local_.step(point, keys, ok, effect)) {
            remote_.leave();
            desktop_.leave();
            over_ = Over::Local;
            return effect;
        }
        local_.leave();
        if (remote_.step(point, keys, ok, effect)) {
            desktop_.leave();
            over_ = Over::Remote;
            return effect;
        }
        if (place == pal::detail::DragPlace::OtherProgram) {
            over_ = Over::Desktop;
            return desktop_.step(point, keys, ok);
        }
        desktop_.leave();
        over_ = Over::Nothing;
        return effect;
    }
    DWORD drop(POINT point, DWORD keys, DWORD ok) {
        switch (over_) {
        case Over::Remote:
            return remote_.drop(point, keys, ok);
        case Over::Desktop:
            return desktop_.drop(ok);
        default:
            return local_.drop(point, keys, ok);
        }
    }
    void cancel() {
        local_.leave();
        remote_.leave();
        desktop_.leave();
    }

private:
    enum class Over { Nothing, Local, Remote, Desktop };
    DropSession local_;
    RemoteDrag remote_;
    DesktopDrag desktop_;
    Over over_ = Over::Nothing;
};

// The key state a mouse message carries, with the Alt key, which it does not.
DWORD keyStateOf(const MSG& msg) {
    constexpr WPARAM kMouseKeys = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT | MK_CONTROL;
    return static_cast<DWORD>(msg.wParam & kMouseKeys) | (down(VK_MENU) ? MK_ALT : 0);
}

// Waits for the next mouse or key input, running every other message meanwhile. False when the
// loop must end (WM_QUIT, which is put back for the program's own loop).
bool nextInput(POINT& point, DWORD& keys, bool& escape) {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST && msg.message != WM_MOUSEWHEEL) {
            point = msg.pt;
            keys = keyStateOf(msg);
            return true;
        }
        if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
            if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && msg.wParam == VK_ESCAPE)
                escape = true;
            keys = keyState();
            return true;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace
} // namespace pal::ole

using namespace pal::ole;

HRESULT DoDragDrop(LPDATAOBJECT data, LPDROPSOURCE source, DWORD okEffects, LPDWORD effect) {
    if (!data || !source || !effect)
        return E_INVALIDARG;
    *effect = DROPEFFECT_NONE;
    if (!oleInitialized())
        return CO_E_NOTINITIALIZED;
    Tracker tracker;
    Drag drag(data);
    POINT point = messagePoint();
    DWORD keys = keyState();
    bool escape = false;
    DWORD shown = 0xFFFFFFFF;
    for (;;) {
        const HRESULT decision = source->QueryContinueDrag(escape ? TRUE : FALSE, keys);
        if (decision == DRAGDROP_S_DROP) {
            const DWORD done = drag.drop(point, keys, okEffects);
            pal::journal::record("drag",
                                 {{"result", done ? "drop" : "cancel"}, {"effect", effectName(done)}});
            *effect = done;
            return done ? DRAGDROP_S_DROP : DRAGDROP_S_CANCEL;
        }
        if (decision != S_OK) {
            drag.cancel();
            pal::journal::record("drag", {{"result", "cancel"}, {"effect", "none"}});
            return DRAGDROP_S_CANCEL;
        }
        const DWORD now = drag.step(point, keys, okEffects);
        if (source->GiveFeedback(now) == DRAGDROP_S_USEDEFAULTCURSORS && now != shown) {
            pal::journal::record("drag-cursor", {{"effect", effectName(now)}});
            shown = now;
        }
        if (!nextInput(point, keys, escape)) {
            drag.cancel();
            return DRAGDROP_S_CANCEL;
        }
    }
}
