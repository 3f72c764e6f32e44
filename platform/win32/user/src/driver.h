// The display driver: what puts top-level windows on a screen and brings the person's mouse and
// keyboard back as ordinary input. The window layer keeps the whole model in memory and tells
// the driver only what a native window must look like; the driver never changes the model
// itself, it reports native events through the functions at the end of this file, which post
// into the queues and so wake GetMessage, WaitMessage and MsgWaitForMultipleObjects like any
// other input.
//
// Back-ends: the null display (no native windows; virtual monitors the tests set) and X11.
// Which one runs is chosen once, at the first use:
//   DV_PAL_DISPLAY=null  the null display, always;
//   DV_PAL_DISPLAY=x11   X11 on $DISPLAY, falling back to the null display (with a message on
//                        standard error) when that display cannot be opened;
//   unset                the null display under the test fixture (DV_PAL_TEST=1), else X11
//                        when $DISPLAY names a display that answers, else the null display.
#pragma once

#include "model.h"

#include "pal/detail/user_control.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace pal::win {

// What a top-level window's native counterpart shows. `client` is the area the native window
// covers, in screen coordinates: the window manager draws caption and frame around it.
struct NativeState {
    std::wstring title;
    std::wstring className;
    RECT client{};
    // Where `client` lies when the window is neither maximised nor minimised.
    RECT restored{};
    bool visible = false;
    bool popup = false; // no caption or frame of its own: menus, tooltips, drop-downs
    // A sizable window without WS_CAPTION draws its caption itself (the ribbon's frame): the
    // window manager adds no frame, and `client` is the whole window.
    bool ownFrame = false;
    bool layered = false; // per-pixel alpha
    bool topmost = false;
    bool minimised = false;
    bool maximised = false;
    bool sizable = false;
    HWND owner = nullptr; // the top-level owner, kept above by the window manager
    SIZE minTrack{};      // the smallest client size the window accepts, when it has limits
    HICON icon = nullptr; // what the window manager shows for the window (its caption, task list)
    // The caption buttons the window's styles give it.
    bool minimiseBox = false;
    bool maximiseBox = false;
    bool closeBox = false;
};

// Whether a top-level window's native counterpart covers only its client area, the window
// manager drawing caption and frame around it; other windows show their whole rectangle.
bool nativeShowsClientOnly(const Window* w);

class DisplayDriver {
public:
    virtual ~DisplayDriver() = default;
    virtual const char* name() const = 0;
    // Whether windows have native counterparts at all; when false the window layer skips the
    // bookkeeping below.
    virtual bool native() const = 0;

    // Creates, changes, shows or hides the native window of a top-level window so it matches
    // `state`. Called with the model lock held, on the window's thread.
    virtual void update(HWND hwnd, const NativeState& state) = 0;
    // The native window goes away with its window. Model lock held, any thread.
    virtual void destroy(HWND hwnd) = 0;
    // Shows `area` (surface coordinates, within `clientInSurface`) of the window's surface.
    virtual void present(HWND hwnd, const pal::gdi::Surface& surface, const RECT& clientInSurface,
                         const RECT& area) = 0;
    // The monitors the driver sees, pushed into the monitor list when it starts.
    virtual void refreshMonitors() = 0;
    // The pointer follows the window while it holds the capture (null lets it go).
    virtual void capture(HWND hwnd) = 0;
    // The pointer's shape over the window, by the standard cursor's name ("arrow", "ibeam",
    // "wait", "sizewe", "hand", "no", "none", ...).
    virtual void cursor(HWND hwnd, const std::string& shape) = 0;
    // The pointer put at a screen point, as a program moving it for the person does.
    virtual void warpPointer(POINT screen) = 0;
    // Data for other programs' paste, by the desktop's names; false when the driver has no
    // clipboard of its own.
    virtual bool publishClipboard(const pal::detail::DesktopData& offers) = 0;
    // Of the names `wanted`, what another program put on the desktop's clipboard; nothing when
    // none did, when this program holds it, or without a desktop.
    virtual std::optional<pal::detail::DesktopData>
    foreignClipboard(const std::vector<std::string>& wanted) = 0;
    // A drag from this program over the desktop: what lies under a screen point and, over
    // another program's window, that window's answer as the drag moves, drops and leaves (see
    // pal::detail::desktopDragOver).
    virtual pal::detail::DragPlace dragPlace(POINT screen) = 0;
    virtual DWORD dragOutOver(POINT screen, const pal::detail::DesktopData& offers, DWORD allowed,
                              DWORD keys) = 0;
    virtual DWORD dragOutDrop() = 0;
    virtual void dragOutLeave() = 0;
    // Reports the native window's present place through native::configured.
    virtual void requestGeometry(HWND hwnd) = 0;
    // Moving (HTCAPTION) or sizing (HTLEFT .. HTBOTTOMRIGHT) by the pointer, from a press at a
    // screen point, handed to the window manager; false when the driver cannot.
    virtual bool moveSize(HWND hwnd, int hitTest, POINT screen) = 0;
    // Whether one of this program's native windows has the keyboard focus now.
    virtual bool ownsFocus() = 0;
    // Sends everything queued to the display server.
    virtual void flush() = 0;
    // Another driver takes over: stop reading events and let the display go. The object itself
    // stays, as threads may still hold it.
    virtual void shutdown() = 0;
    // Whether the display was lost (the server went away): the program is being ended.
    virtual bool lost() const = 0;
};

// The driver in use, chosen at the first call (see above). Never null.
DisplayDriver& driver();

// Chooses the driver unless this thread is choosing it now, so that the monitors a program asks
// for before its first window shows are already the screen's.
void ensureDisplay();
// Replaces the driver: "null", or "x11" with an optional display name after a colon
// ("x11::99"). False, keeping the current one, when the back-end cannot start.
bool selectDriver(const std::string& backend);

std::unique_ptr<DisplayDriver> makeNullDriver();
// Null when the display cannot be opened; `error` says why.
// `silent` is set when the display took the connection and did not answer within the bound.
std::unique_ptr<DisplayDriver> makeX11Driver(const std::string& display, std::string& error, bool& silent);

// --- The window layer's side, called by the window layer (model lock held) ---

// Records that `area` (surface coordinates) of a top-level window's surface changed.
void damage(Window* root, const RECT& area);
// Brings the native windows of the calling thread up to date and presents what changed: the
// thread is about to wait or found nothing to do.
void syncNative();

// --- What a back-end reports, from any thread, without the model lock ---

namespace native {

// A button (0 left, 1 right, 2 middle) at a point in the client area of a top-level window.
void button(HWND root, POINT client, int button, bool down, bool doubleClick);
void motion(HWND root, POINT client);
// The window manager took the pointer to move or size a window: the buttons are up, and no
// release will say so. Called on the window's thread.
void buttonsReleased();
// The pointer left the native window.
void leave(HWND root);
// A wheel turn: `delta` in the platform's units (120 a notch), horizontal or vertical.
void wheel(HWND root, POINT client, int delta, bool horizontal);
// A key with its virtual-key code and scan code, and the text it typed (empty for none).
void key(int virtualKey, UINT scanCode, bool extended, bool down, const std::wstring& text);
// The window manager moved or sized the native window: the client area's new place, and
// whether the window was maximised as the driver last knew (a place that a change of state has
// overtaken since is not taken).
void configured(HWND root, RECT client, bool maximised);
// The window manager minimised, maximised or restored the window.
void stateChanged(HWND root, bool minimised, bool maximised);
// Part of the native window must be shown again.
void exposed(HWND root, RECT area);
// The window manager asks the window to close.
void closeRequested(HWND root);
// The native window got the keyboard focus, or another program's window took it.
void focusIn(HWND root);
void focusOut(HWND root);
// A drag from another program over (or dropped on) a top-level window: `answer` is called on
// the window's thread with the effect the drop target chose, `uris` fetched there (the drag's
// text/uri-list).
void dragOver(HWND root, POINT screen, DWORD allowed, std::function<std::string()> uris,
              std::function<void(DWORD)> answer);
void dragDrop(HWND root, POINT screen, DWORD allowed, std::function<std::string()> uris,
              std::function<void(DWORD)> answer);
void dragLeave(HWND root);
// The display server went away: every thread's loop is asked to end.
void displayLost();

} // namespace native

} // namespace pal::win
