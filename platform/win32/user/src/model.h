// The in-memory model behind the window functions: classes, windows, thread queues and the
// program-wide input state. One mutex guards all of it: the wait hub's, so that a thread
// waiting for kernel objects and for its queue at once (MsgWaitForMultipleObjects) sees both
// change under the same lock. Window procedures are never called with the lock held.
#pragma once

#include "win/user.h"

#include "pal/gdi.h"
#include "pal/handles.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace pal::win {

using Lock = std::unique_lock<std::mutex>;
Lock lockModel();

struct WindowClass {
    std::wstring name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int clsExtra = 0;
    int wndExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON iconSmall = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    LPCWSTR menuName = nullptr; // points into menuNameText, or an integer resource id
    std::wstring menuNameText;
    int windows = 0;
};

enum class Life { Creating, Alive, Destroying };

struct Window {
    HWND handle = nullptr;
    DWORD thread = 0;
    std::shared_ptr<WindowClass> cls;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;      // the parent of a child window; null for top-level windows
    HWND owner = nullptr;       // the owner of a top-level window
    std::vector<HWND> children; // first is the top of the sibling order
    LONG_PTR id = 0;
    HMENU menu = nullptr;
    HINSTANCE instance = nullptr;
    LONG_PTR userData = 0;
    std::vector<unsigned char> extra;
    std::wstring text;
    // A child with a caption (a document window) shows the state its last WM_NCACTIVATE gave;
    // other windows show their top-level window's activation.
    int captionActive = -1;
    RECT rect{};   // the window, in the parent's client coordinates (screen for top-level windows)
    RECT client{}; // the client area, in the same coordinates
    RECT normal{}; // where a minimised or maximised window returns to
    // A top-level window's descendant that held the focus when the focus left the window (for a
    // modal dialog, another window, or nowhere): activation gives it back.
    HWND lastFocus = nullptr;
    bool messageOnly = false;
    // An overlapped window hears its size and place (WM_SIZE, WM_MOVE) at its first ShowWindow,
    // not when it is made.
    bool sizePending = false;
    std::map<std::wstring, HANDLE> props;
    HICON iconSmall = nullptr;
    HICON iconBig = nullptr;
    Life life = Life::Creating;
    // The update region, in client coordinates.
    bool dirty = false;
    pal::gdi::Region update;
    bool erase = false;
    bool internalPaint = false;
    // The frame and caption need painting (WM_NCPAINT at the next BeginPaint).
    bool frameDirty = false;
    // A top-level window's pixels, the size of its window rectangle; children draw into their
    // top-level window's surface. A layered window's pixels carry alpha.
    pal::gdi::Surface surface;
    BYTE layeredAlpha = 255;
    // UpdateLayeredWindow gave the pixels: painting through DCs no longer reaches them.
    bool layeredPixels = false;
};

// A message sent to another thread, or work that must run on the thread that owns a window.
struct SentMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::function<LRESULT()> task;
    bool done = false;
    bool failed = false;
    LRESULT result = 0;
};

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    std::uint64_t due = 0;
    TIMERPROC proc = nullptr;
};

struct Queue {
    DWORD thread = 0;
    bool alive = true;
    std::deque<std::shared_ptr<SentMessage>> sent;
    std::deque<MSG> posted;
    std::deque<MSG> input; // keyboard and mouse, taken after posted messages
    bool quit = false;
    int quitCode = 0;
    std::vector<Timer> timers;
    UINT_PTR nextTimerId = 1;
    std::uint64_t lastLook = 0; // clock of the last Get/Peek, to tell a newly due timer
    // The text a display's input method made of native key presses, for TranslateMessage: each
    // belongs to the WM_KEYDOWN with the same key, lParam and time.
    struct TypedText {
        MSG key;
        std::wstring text;
    };
    std::deque<TypedText> typed;
    HWND active = nullptr;
    HWND focus = nullptr;
    std::array<BYTE, 256> keys{}; // key state as of the last message taken
    UINT changed = 0;             // QS_* bits that arrived since the last look
    int waiting = 0;              // the thread waits for its queue; wake() must notify
    int dirtyWindows = 0;
    LONG lastTime = 0;
    POINT lastPoint{};
};

struct Model {
    struct Slot {
        std::shared_ptr<Window> window;
        std::uint32_t generation = 1;
    };
    std::vector<Slot> slots;
    std::deque<std::uint32_t> freeSlots;
    std::vector<HWND> topLevel; // z-order: topmost windows first, then the rest, top first
    std::vector<HWND> messageOnly;
    std::map<std::wstring, std::shared_ptr<WindowClass>> classes; // by lower-case name
    std::map<DWORD, std::shared_ptr<Queue>> queues;
    HWND foreground = nullptr;
    HWND capture = nullptr;
    HWND leaveTracked = nullptr; // told WM_MOUSELEAVE when the pointer leaves it
    // A window whose own scroll bar the left button holds: the pointer's moves and the release
    // go to it, as non-client messages on that bar.
    HWND heldBar = nullptr;
    bool heldBarVertical = false;
    POINT cursor{};
    std::array<BYTE, 256> asyncKeys{};
    int cascade = 0;
};

// Everything below needs the model lock held unless it says otherwise.
Model& model();
HWND desktopHandle();
bool isDesktop(HWND hwnd);
// The live window behind a handle, or null (no last error set).
Window* find(HWND hwnd);
// As find, setting ERROR_INVALID_WINDOW_HANDLE when there is none.
Window* findOrFail(HWND hwnd);
// As findOrFail, and null with ERROR_ACCESS_DENIED when another thread owns the window.
Window* findOwnedHere(HWND hwnd);
// The handle while its window lives, else null.
HWND live(HWND hwnd);
HWND allocate(std::shared_ptr<Window> window);
void release(HWND hwnd);

std::shared_ptr<WindowClass> findClass(LPCWSTR name);
// The system's own classes, made the first time a name asks for them.
std::shared_ptr<WindowClass> makeMdiClientClass();

// Copies text into a caller's buffer, cut to fit and always terminated; the characters copied.
int copyText(const std::wstring& text, LPWSTR buffer, int size);

// The calling thread's queue, created on first use; its end is noticed when the thread ends.
Queue& currentQueue();
DWORD currentThread();
// Ends the calling thread's part of the model now rather than at its very end (a thread
// that reports itself finished must already answer as ended).
void endCurrentQueue();
Queue* queueOf(DWORD thread);

// Wakes the queue's thread if it waits for input (of the kinds in `bits`).
void wake(Queue& q, UINT bits);

// Tree helpers.
std::vector<HWND>& siblingsOf(Window* w);
HWND rootOf(Window* w);
bool isDescendant(HWND ancestor, HWND hwnd);
// Whether `hwnd` is `root` itself or lies below it; false for null.
bool inTree(HWND root, HWND hwnd);
bool visibleInTree(Window* w);
bool enabledInTree(Window* w);
// Windows of a thread, or of all threads (thread 0), top-level first in z-order, each followed by its
// subtree.
std::vector<HWND> treeOrder(DWORD thread);
std::vector<HWND> topLevelOf(DWORD thread);

// Geometry.
POINT clientOrigin(Window* w); // the client area's 0,0 in screen coordinates
RECT screenRect(Window* w);
// What the frame, caption, menu bar, edges and scroll bars take from each side.
RECT nonClientInsets(DWORD style, DWORD exStyle, bool menuBar);
// What part of a window a screen point is on, by its styles (DefWindowProc's WM_NCHITTEST):
// `window` and `client` in screen coordinates.
LRESULT frameHitTest(DWORD style, const RECT& window, const RECT& client, POINT p);

// Flags the model adds to WINDOWPOS for WM_WINDOWPOSCHANGED, with the platform's values:
// the client area kept its size / its place; the window was minimised, maximised or restored.
constexpr UINT kNoClientSize = 0x0800;
constexpr UINT kNoClientMove = 0x1000;
constexpr UINT kStateChanged = 0x8000;

// Monitors: the rectangle of the primary monitor, its work area, and the work area of the
// monitor nearest a screen rectangle.
RECT primaryMonitorRect();
RECT primaryWorkArea();
RECT workAreaNear(const RECT& screen);
// The size limits a window starts from before its procedure adjusts them (WM_GETMINMAXINFO).
MINMAXINFO defaultMinMax(Window* w);
// Whether moving or sizing `w` asks its procedure for size limits.
bool asksMinMax(DWORD style);

// Input state.
// The deepest visible, enabled window under a screen point.
HWND windowAt(POINT p);
void updateKeyState(std::array<BYTE, 256>& keys, const MSG& msg);
// QS_* kind of an input message.
UINT inputKind(UINT message);

// Painting. Areas are regions in the window's client coordinates; null means all of it.
enum class ChildMode { Default, All, None };
void invalidate(Window* w, const pal::gdi::Region* area, bool erase, ChildMode mode);
void invalidate(Window* w, const RECT* rect, bool erase, ChildMode mode);
void validate(Window* w, const pal::gdi::Region* area, ChildMode mode);
// The frame of the window and of its visible descendants needs painting again.
void invalidateFrame(Window* w);
bool needsPaint(Window* w);
void setDirty(Window* w, bool dirty);

// Window surfaces (surfaces.cpp).
// The window's rectangle, or its client area, in its top-level window's surface coordinates.
RECT rectInRoot(Window* w, bool clientOnly);
// What of the window (client area or whole window) can be seen, in surface coordinates: inside
// every ancestor's client area, less the siblings above it where WS_CLIPSIBLINGS asks, less
// its children where WS_CLIPCHILDREN asks.
pal::gdi::Region visibleRegion(Window* w, bool clientOnly);
// The top-level window's surface at its current size, keeping the pixels it had.
pal::gdi::Surface& surfaceOf(Window* root);
// A DC on the window's client area (or whole window) drawing only inside `visible`; with no
// window, a DC on the whole screen.
HDC windowDC(Window* w, bool clientOnly, const pal::gdi::Region& visible);
// Paints the frame, caption, menu bar and scroll bars of a window into `dc`, whose 0,0 is the
// window's top-left corner (frame.cpp).
void paintFrame(HWND hwnd, HDC dc, bool active);
// PNG pictures of top-level windows, when DV_PAL_SNAPSHOTS asks for them: of one window as it
// is destroyed (called without the lock), and of a thread's windows as the thread ends (lock held).
void snapshotOnDestroy(HWND hwnd);
void snapshotThreadWindows(DWORD thread);

// Removing a window and all its descendants without sending anything (their thread ended).
void removeSilently(HWND hwnd);
// Forgets the references other state holds to a window that is going away.
void forget(Window* w);
// Its native window goes too (driver.cpp).
void forgetNative(HWND hwnd);

// --- Called without the lock held ---

// Calls the window's procedure on this thread, or hands the message to its owner thread and
// waits. `ok` is false when the window is gone or its thread ended.
LRESULT send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool* ok = nullptr);
// Runs `work` on the thread that owns `hwnd` and waits for it; directly when that is this thread.
bool runOnOwner(HWND hwnd, const std::function<LRESULT()>& work, LRESULT* result = nullptr);
// Runs `work` on the thread that owns `hwnd` the next time it looks at its queue; directly when that is this
// thread.
bool runOnOwnerLater(HWND hwnd, std::function<LRESULT()> work);
// Handles one message sent to this thread by another, if any.
bool handleOneSent();
// Mouse activation of a button press taken from the queue; false when the click is eaten.
bool mouseActivate(const MSG& msg);

// Position, activation and focus work of the owner thread.
bool setWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags);
void activate(HWND hwnd, WORD how);
// Activation puts the window at the top of its siblings (below topmost windows unless it is
// one), asking it first with WM_WINDOWPOSCHANGING; WM_WINDOWPOSCHANGED follows only when its
// place changed.
void raiseOnActivation(HWND hwnd);
// DefWindowProc's part of WM_WINDOWPOSCHANGING: a resize asks WM_GETMINMAXINFO and keeps to it.
void applySizeLimits(HWND hwnd, WINDOWPOS& wp);
HWND setFocus(HWND hwnd);
// Where the focus goes when the top-level window `hwnd` is activated: the descendant that held
// it last, while that one is still shown and enabled, else the window itself.
HWND focusOnActivation(HWND hwnd);
// A window that takes over activation when `leaving` goes away: its owner, else the next
// visible, enabled top-level window of the thread.
HWND nextToActivate(HWND leaving);
void paintNow(HWND hwnd);
// The window procedure of a WM_PAINT the loop dispatched is running on this thread (a test's
// fault in a paint is raised only there).
void setDispatchingPaint(bool dispatching);
// After WM_PAINT: what the procedure left unpainted is validated, and a frame still due is painted.
void finishPaint(HWND hwnd);
// Minimises, maximises or restores without showing (a window created with WS_MAXIMIZE).
void changeState(HWND hwnd, int command, UINT extraFlags);
// WM_SIZE then WM_MOVE with the window's present client area, as a new window hears them.
void sendSizeAndMove(HWND hwnd);
// The WM_SIZE and WM_MOVE an overlapped window made hidden was not sent yet, sent once; false
// when they were sent already.
bool sendPendingSize(HWND hwnd);
// WM_PARENTNOTIFY up the chain of parents, for WM_CREATE and WM_DESTROY.
void notifyParents(HWND hwnd, UINT event);

// Clears the model: the calling thread's windows are destroyed with their messages, everything
// else is dropped silently.
void clearModel();
// Registers system classes now and after every clearing.
void addSystemClasses(void (*registrar)());

} // namespace pal::win
