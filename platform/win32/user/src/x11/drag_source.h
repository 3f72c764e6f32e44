// This program's side of a drag over other programs' windows with the desktop's drag-and-drop
// protocol (XDND, versions 3 to 5): the window under the pointer that takes drops is told of the
// drag, its answers come back through the display's reader, and the data it asks for are served
// from the offers. One drag at a time; the dragging thread waits for the answers it needs.
#pragma once

#include "pal/detail/user_control.h"

#include <X11/Xlib.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace pal::win::x11 {

class DragSource {
public:
    using Offers = std::map<Atom, std::shared_ptr<const std::string>>;

    // `source` is the window that owns the drag's selection and hears the answers; `ours` tells
    // a window of this program.
    DragSource(Display* dpy, ::Window source, std::function<bool(::Window)> ours);

    // What lies under a screen point: a window of this program, or another program's (or none).
    pal::detail::DragPlace place(POINT screen);
    // Moves the drag to a screen point over other programs' windows: the window there that takes
    // drops is told, and the effect it last answered comes back (DROPEFFECT_ values).
    DWORD over(POINT screen, const pal::detail::DesktopData& offers, DWORD allowed, DWORD keys);
    // Drops where the drag last was, once the window there has answered; the effect it carried
    // out, none when it refused, did not answer or is gone.
    DWORD drop();
    void leave();

    // The reader's side: an answer from a drop target (true when it was one), the data a target
    // asks for, and the selection taken by another program.
    bool onMessage(const XClientMessageEvent& m);
    Offers offers();
    void served();
    void selectionLost();

    // The desktop's actions and the platform's effects.
    DWORD effectOf(Atom action) const;
    Atom actionOf(DWORD effect) const;

private:
    enum Atom_ {
        kAware,
        kEnter,
        kPosition,
        kStatus,
        kLeave,
        kDrop,
        kFinished,
        kSelection,
        kCopy,
        kMove,
        kLink,
        kAtoms
    };

    // The top-level window's descendant under the point that takes drops, and its version.
    ::Window awareAt(POINT screen, long& version);
    void send(Atom type, long l1, long l2, long l3, long l4);
    void sendPosition();
    void forget();
    // Waits until `done` holds or the target has shown no sign of life for a while.
    bool waitFor(std::unique_lock<std::mutex>& lock, const std::function<bool()>& done);

    Display* dpy_;
    ::Window source_;
    ::Window root_;
    std::function<bool(::Window)> ours_;
    Atom atoms_[kAtoms] = {};

    std::mutex mutex_;
    std::condition_variable answered_;
    Offers offers_;
    pal::detail::DesktopData offered_; // the same, by the desktop's names
    bool owned_ = false;               // the drag's selection is this program's
    ::Window target_ = 0;
    long version_ = 0;
    POINT at_{};
    DWORD allowed_ = 0;
    Atom action_ = None;
    bool waiting_ = false; // a position not yet answered
    bool moved_ = false;   // a newer position to send once it is
    DWORD effect_ = 0;     // the target's last answer
    bool finished_ = false;
    DWORD done_ = 0;
    std::uint64_t progress_ = 0; // the target's answers and requests so far
};

} // namespace pal::win::x11
