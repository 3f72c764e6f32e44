#include "drag_source.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <chrono>
#include <iterator>

namespace pal::win::x11 {
namespace {

// The newest version of the protocol spoken here.
constexpr long kVersion = 5;
// How long a drop target may stay silent, neither answering nor fetching the data, before the
// drag gives up on it.
constexpr std::chrono::seconds kSilence{5};

constexpr DWORD kCopies = 1, kMoves = 2, kLinks = 4;

} // namespace

DragSource::DragSource(Display* dpy, ::Window source, std::function<bool(::Window)> ours)
    : dpy_(dpy), source_(source), root_(DefaultRootWindow(dpy)), ours_(std::move(ours)) {
    const char* names[] = {"XdndAware",      "XdndEnter",      "XdndPosition",  "XdndStatus",
                           "XdndLeave",      "XdndDrop",       "XdndFinished",  "XdndSelection",
                           "XdndActionCopy", "XdndActionMove", "XdndActionLink"};
    static_assert(std::size(names) == kAtoms);
    XInternAtoms(dpy_, const_cast<char**>(names), kAtoms, False, atoms_);
}

pal::detail::DragPlace DragSource::place(POINT screen) {
    int x = 0, y = 0;
    ::Window under = 0, at = root_;
    if (!XTranslateCoordinates(dpy_, root_, root_, screen.x, screen.y, &x, &y, &under))
        return pal::detail::DragPlace::OtherProgram;
    // The window manager's frame holds the program's window: each level down is looked at.
    while (under) {
        if (ours_(under))
            return pal::detail::DragPlace::OwnWindow;
        at = under;
        if (!XTranslateCoordinates(dpy_, root_, at, screen.x, screen.y, &x, &y, &under))
            break;
    }
    return pal::detail::DragPlace::OtherProgram;
}

::Window DragSource::awareAt(POINT screen, long& version) {
    int x = 0, y = 0;
    ::Window under = 0, at = root_;
    XTranslateCoordinates(dpy_, root_, root_, screen.x, screen.y, &x, &y, &under);
    while (under) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const bool aware = XGetWindowProperty(dpy_, under, atoms_[kAware], 0, 1, False, XA_ATOM, &type,
                                              &format, &count, &after, &data) == Success &&
                           data && format == 32 && count == 1;
        if (aware)
            version = *reinterpret_cast<const long*>(data);
        if (data)
            XFree(data);
        if (aware)
            return version >= 3 ? under : 0; // older versions are not spoken
        at = under;
        if (!XTranslateCoordinates(dpy_, root_, at, screen.x, screen.y, &x, &y, &under))
            break;
    }
    return 0;
}

DWORD DragSource::over(POINT screen, const pal::detail::DesktopData& offers, DWORD allowed, DWORD keys) {
    long version = 0;
    const ::Window target = awareAt(screen, version);
    std::lock_guard lock(mutex_);
    // A new drag brings its own data; the selection stays this program's until another takes it.
    if (offers != offered_) {
        offered_ = offers;
        offers_.clear();
        for (const auto& [name, bytes] : offers)
            offers_[XInternAtom(dpy_, name.c_str(), False)] = std::make_shared<const std::string>(bytes);
    }
    if (!owned_) {
        XSetSelectionOwner(dpy_, atoms_[kSelection], source_, CurrentTime);
        owned_ = true;
    }
    if (target != target_) {
        if (target_)
            send(atoms_[kLeave], 0, 0, 0, 0);
        forget();
        target_ = target;
        version_ = std::min(version, kVersion);
        if (target_) {
            // Up to three types go in the message itself.
            long types[3] = {};
            long i = 0;
            for (auto it = offers_.begin(); it != offers_.end() && i < 3; ++it)
                types[i++] = static_cast<long>(it->first);
            send(atoms_[kEnter], (version_ << 24), types[0], types[1], types[2]);
        }
    }
    if (!target_) {
        XFlush(dpy_);
        return 0;
    }
    at_ = screen;
    allowed_ = allowed;
    // The platform's keys: Ctrl copies, Shift moves; otherwise a copy where the source allows it.
    DWORD wanted = (keys & MK_CONTROL) ? kCopies : (keys & MK_SHIFT) ? kMoves : kCopies;
    if (!(wanted & allowed))
        wanted = (allowed & kCopies) ? kCopies : (allowed & kMoves) ? kMoves : kLinks;
    action_ = actionOf(wanted);
    // One position at a time: the next goes when the target has answered this one.
    if (waiting_)
        moved_ = true;
    else
        sendPosition();
    XFlush(dpy_);
    return effect_;
}

DWORD DragSource::drop() {
    std::unique_lock lock(mutex_);
    if (target_ && (waiting_ || moved_))
        waitFor(lock, [&] { return !target_ || (!waiting_ && !moved_); });
    if (!target_)
        return 0;
    if (!effect_) {
        send(atoms_[kLeave], 0, 0, 0, 0);
        XFlush(dpy_);
        forget();
        return 0;
    }
    finished_ = false;
    send(atoms_[kDrop], 0, CurrentTime, 0, 0);
    XFlush(dpy_);
    // Before version 2 no target said when it was done; the answer to the last position stands.
    const bool done = waitFor(lock, [&] { return finished_; });
    const DWORD effect = done ? done_ & allowed_ : 0;
    forget();
    return effect;
}

void DragSource::leave() {
    std::lock_guard lock(mutex_);
    if (target_) {
        send(atoms_[kLeave], 0, 0, 0, 0);
        XFlush(dpy_);
    }
    forget();
}

bool DragSource::onMessage(const XClientMessageEvent& m) {
    if (m.message_type != atoms_[kStatus] && m.message_type != atoms_[kFinished])
        return false;
    std::lock_guard lock(mutex_);
    if (!target_ || static_cast<::Window>(m.data.l[0]) != target_)
        return true; // an answer about a drag that has moved on
    ++progress_;
    if (m.message_type == atoms_[kStatus]) {
        const bool accepted = m.data.l[1] & 1;
        // A target that takes the drop without naming an action takes a copy.
        const DWORD effect = m.data.l[4] ? effectOf(static_cast<Atom>(m.data.l[4])) : kCopies;
        effect_ = accepted ? effect & allowed_ : 0;
        waiting_ = false;
        if (moved_) {
            moved_ = false;
            sendPosition();
            XFlush(dpy_);
        }
    } else {
        finished_ = true;
        const bool accepted = version_ < 5 || (m.data.l[1] & 1);
        done_ = !accepted                      ? 0
                : version_ >= 5 && m.data.l[2] ? effectOf(static_cast<Atom>(m.data.l[2]))
                                               : effect_;
    }
    answered_.notify_all();
    return true;
}

DragSource::Offers DragSource::offers() {
    std::lock_guard lock(mutex_);
    return offers_;
}

void DragSource::served() {
    std::lock_guard lock(mutex_);
    ++progress_;
    answered_.notify_all();
}

void DragSource::selectionLost() {
    std::lock_guard lock(mutex_);
    owned_ = false;
    offers_.clear();
    offered_.clear();
}

DWORD DragSource::effectOf(Atom action) const {
    if (action == atoms_[kMove])
        return kMoves;
    if (action == atoms_[kLink])
        return kLinks;
    return kCopies;
}

Atom DragSource::actionOf(DWORD effect) const {
    if (effect & kCopies)
        return atoms_[kCopy];
    if (effect & kMoves)
        return atoms_[kMove];
    if (effect & kLinks)
        return atoms_[kLink];
    return None;
}

void DragSource::send(Atom type, long l1, long l2, long l3, long l4) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = target_;
    e.xclient.message_type = type;
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(source_);
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    e.xclient.data.l[3] = l3;
    e.xclient.data.l[4] = l4;
    XSendEvent(dpy_, target_, False, NoEventMask, &e);
}

void DragSource::sendPosition() {
    send(atoms_[kPosition], 0, (static_cast<long>(at_.x) << 16) | (at_.y & 0xFFFF), CurrentTime,
         static_cast<long>(action_));
    waiting_ = true;
}

void DragSource::forget() {
    target_ = 0;
    version_ = 0;
    waiting_ = moved_ = finished_ = false;
    effect_ = done_ = 0;
}

bool DragSource::waitFor(std::unique_lock<std::mutex>& lock, const std::function<bool()>& done) {
    std::uint64_t seen = progress_;
    while (!done()) {
        if (!answered_.wait_for(lock, kSilence, [&] { return done() || progress_ != seen; }))
            return false;
        seen = progress_;
    }
    return true;
}

} // namespace pal::win::x11
