// The per-thread message queue: sending across threads, posting, taking messages in the
// platform's order (sent, posted, input, quit, paint, timers), timers and waits.
#include "model.h"

#include "driver.h"

#include "pal/clock.h"

#include <algorithm>
#include <chrono>
#include <ctime>

namespace pal::win {
namespace {

using SteadyClock = std::chrono::steady_clock;

// A thread that does not take its messages cannot grow its queue without bound.
constexpr size_t kMaxPosted = 10000;

thread_local int tInSend = 0;

bool inRange(UINT message, UINT lo, UINT hi) {
    return (lo == 0 && hi == 0) || (message >= lo && message <= hi);
}

HWND threadMessagesOnly() {
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1));
}

bool forWindow(HWND target, HWND filter) {
    if (!filter)
        return true;
    if (filter == threadMessagesOnly())
        return target == nullptr;
    return inTree(filter, target);
}

// The time stamp of a message. The platform's tick count moves in steps of several
// milliseconds, so a real clock is read coarsely here (reading it finely costs more than the
// rest of a post); a manual clock is read as it stands.
DWORD messageTime() {
    if (pal::clock::isManual())
        return static_cast<DWORD>(pal::clock::tickMs());
    auto coarseMs = [] {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
        return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1'000'000;
    };
    static const std::int64_t offset = static_cast<std::int64_t>(pal::clock::tickMs()) - coarseMs();
    return static_cast<DWORD>(coarseMs() + offset);
}

MSG makeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return MSG{hwnd, message, wParam, lParam, messageTime(), model().cursor};
}

// The clock moving makes timers due; waiting threads look again.
[[maybe_unused]] const int kClockListener = pal::clock::addAdvanceListener([] {
    { Lock lock = lockModel(); }
    pal::wait::notifyAll();
});

// Counts the thread as waiting for its queue while it is in a wait, so posts wake it.
struct Waiting {
    Queue& q;
    explicit Waiting(Queue& queue) : q(queue) { ++q.waiting; }
    ~Waiting() { --q.waiting; }
};

enum class Reply { Done, Failed, TimedOut };

// Waits for the reply to a cross-thread send, taking messages sent to this thread meanwhile
// (unless SMTO_BLOCK), so two threads sending to each other never deadlock.
Reply waitForReply(Lock& lock, const std::shared_ptr<SentMessage>& s, UINT flags, DWORD timeoutMs) {
    const auto deadline = timeoutMs == INFINITE ? SteadyClock::time_point::max()
                                                : SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    Waiting waiting(currentQueue()); // messages sent to this thread meanwhile must wake it
    for (;;) {
        if (s->done)
            return s->failed ? Reply::Failed : Reply::Done;
        if (!(flags & SMTO_BLOCK) && !currentQueue().sent.empty()) {
            lock.unlock();
            handleOneSent();
            lock.lock();
            continue;
        }
        if (SteadyClock::now() >= deadline)
            return Reply::TimedOut;
        pal::wait::waitOnHub(lock, deadline);
    }
}

// Queues `s` for the thread that owns its window. False when there is no such thread.
bool queueSent(const std::shared_ptr<SentMessage>& s, DWORD thread) {
    Queue* q = queueOf(thread);
    if (!q) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    q->sent.push_back(s);
    wake(*q, QS_SENDMESSAGE);
    return true;
}

struct SendOutcome {
    Reply reply;
    LRESULT result;
};

SendOutcome sendOrRun(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, std::function<LRESULT()> task,
                      UINT flags, DWORD timeoutMs) {
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    if (!w)
        return {Reply::Failed, 0};
    if (w->thread == currentThread()) {
        const WNDPROC proc = w->proc;
        lock.unlock();
        return {Reply::Done, task ? task() : proc(hwnd, message, wParam, lParam)};
    }
    auto s = std::make_shared<SentMessage>();
    s->hwnd = hwnd;
    s->message = message;
    s->wParam = wParam;
    s->lParam = lParam;
    s->task = std::move(task);
    if (!queueSent(s, w->thread))
        return {Reply::Failed, 0};
    const Reply reply = waitForReply(lock, s, flags, timeoutMs);
    if (reply == Reply::Failed)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    else if (reply == Reply::TimedOut)
        SetLastError(ERROR_TIMEOUT);
    return {reply, s->result};
}

// Which kinds of message the queue holds now.
UINT presentBits(Queue& q, std::uint64_t now) {
    UINT bits = 0;
    if (!q.posted.empty() || q.quit)
        bits |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
    for (const MSG& m : q.input)
        bits |= inputKind(m.message);
    if (!q.sent.empty())
        bits |= QS_SENDMESSAGE;
    if (q.dirtyWindows > 0)
        bits |= QS_PAINT;
    for (const Timer& t : q.timers) {
        if (t.due <= now)
            bits |= QS_TIMER;
    }
    return bits;
}

// Which kinds arrived since the thread last looked at its queue.
UINT newBits(Queue& q, std::uint64_t now) {
    UINT bits = q.changed;
    for (const Timer& t : q.timers) {
        if (t.due <= now && t.due > q.lastLook)
            bits |= QS_TIMER;
    }
    return bits;
}

// When a waiting thread must look again for its next timer. The manual clock wakes waiters
// itself when it moves.
SteadyClock::time_point nextTimerCheck(Queue& q) {
    if (q.timers.empty() || pal::clock::isManual())
        return SteadyClock::time_point::max();
    std::uint64_t due = UINT64_MAX;
    for (const Timer& t : q.timers)
        due = std::min(due, t.due);
    const std::uint64_t now = pal::clock::tickMs();
    return SteadyClock::now() + std::chrono::milliseconds(due > now ? due - now : 0);
}

// Takes the next message for the calling thread in the platform's order, handling sent
// messages on the way. Waits when `wait` and nothing is there.
bool takeMessage(MSG* out, HWND filter, UINT lo, UINT hi, UINT flags, bool wait) {
    const bool remove = flags & PM_REMOVE;
    Lock lock = lockModel();
    for (;;) {
        Queue& q = currentQueue();
        if (!q.sent.empty()) {
            lock.unlock();
            handleOneSent();
            lock.lock();
            continue;
        }
        q.changed = 0;
        // The clock is read only when a timer could need it.
        const std::uint64_t now = q.timers.empty() ? q.lastLook : pal::clock::tickMs();
        auto matches = [&](const MSG& m) { return inRange(m.message, lo, hi) && forWindow(m.hwnd, filter); };
        auto deliver = [&](const MSG& m) {
            *out = m;
            q.lastTime = static_cast<LONG>(m.time);
            q.lastPoint = m.pt;
            q.lastLook = now;
        };
        if (!q.posted.empty()) {
            if (matches(q.posted.front())) {
                deliver(q.posted.front());
                if (remove)
                    q.posted.pop_front();
                return true;
            }
            if (auto it = std::find_if(q.posted.begin(), q.posted.end(), matches); it != q.posted.end()) {
                deliver(*it);
                if (remove)
                    q.posted.erase(it);
                return true;
            }
        }
        if (auto it = std::find_if(q.input.begin(), q.input.end(), matches); it != q.input.end()) {
            const MSG m = *it;
            deliver(m);
            if (!remove)
                return true;
            q.input.erase(it);
            updateKeyState(q.keys, m);
            lock.unlock();
            if (mouseActivate(m))
                return true;
            lock.lock();
            continue; // the click was eaten by activation
        }
        if (q.quit) {
            deliver(makeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0));
            if (remove)
                q.quit = false;
            return true;
        }
        if (inRange(WM_PAINT, lo, hi) && q.dirtyWindows > 0) {
            for (HWND h : treeOrder(q.thread)) {
                Window* w = find(h);
                if (w && needsPaint(w) && forWindow(h, filter)) {
                    deliver(makeMessage(h, WM_PAINT, 0, 0));
                    return true;
                }
            }
        }
        if (inRange(WM_TIMER, lo, hi)) {
            for (Timer& t : q.timers) {
                if (t.due <= now && forWindow(t.hwnd, filter)) {
                    deliver(makeMessage(t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc)));
                    if (remove)
                        t.due = now + t.interval;
                    return true;
                }
            }
        }
        q.lastLook = now;
        // Nothing left to do for now: what was painted goes to the screen.
        syncNative();
        if (!wait)
            return false;
        Waiting waiting(q);
        pal::wait::waitOnHub(lock, nextTimerCheck(q));
    }
}

} // namespace

bool handleOneSent() {
    std::shared_ptr<SentMessage> s;
    {
        Lock lock = lockModel();
        Queue& q = currentQueue();
        if (q.sent.empty())
            return false;
        s = q.sent.front();
        q.sent.pop_front();
    }
    // The sender is answered even when the procedure throws.
    struct Answer {
        std::shared_ptr<SentMessage>& s;
        bool failed = true;
        LRESULT result = 0;
        ~Answer() {
            {
                Lock lock = lockModel();
                s->result = result;
                s->failed = failed;
                s->done = true;
            }
            pal::wait::notifyAll();
        }
    } reply{s};
    ++tInSend;
    struct Depth {
        ~Depth() { --tInSend; }
    } depth;
    if (s->task) {
        reply.result = s->task();
        reply.failed = false;
        return true;
    }
    WNDPROC proc = nullptr;
    {
        Lock lock = lockModel();
        Window* w = find(s->hwnd);
        if (!w || w->thread != currentThread())
            return true;
        proc = w->proc;
    }
    reply.result = proc(s->hwnd, s->message, s->wParam, s->lParam);
    reply.failed = false;
    return true;
}

LRESULT send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool* ok) {
    const SendOutcome o = sendOrRun(hwnd, message, wParam, lParam, {}, SMTO_NORMAL, INFINITE);
    if (ok)
        *ok = o.reply == Reply::Done;
    return o.reply == Reply::Done ? o.result : 0;
}

bool runOnOwner(HWND hwnd, const std::function<LRESULT()>& work, LRESULT* result) {
    const SendOutcome o = sendOrRun(hwnd, 0, 0, 0, work, SMTO_NORMAL, INFINITE);
    if (result)
        *result = o.result;
    return o.reply == Reply::Done;
}

bool runOnOwnerLater(HWND hwnd, std::function<LRESULT()> work) {
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    if (!w)
        return false;
    if (w->thread == currentThread()) {
        lock.unlock();
        work();
        return true;
    }
    auto s = std::make_shared<SentMessage>();
    s->hwnd = hwnd;
    s->task = std::move(work);
    return queueSent(s, w->thread);
}

} // namespace pal::win

using namespace pal::win;

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return send(hwnd, message, wParam, lParam);
}

LRESULT SendMessageTimeoutW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeoutMs,
                            PDWORD_PTR result) {
    const SendOutcome o = sendOrRun(hwnd, message, wParam, lParam, {}, flags, timeoutMs);
    if (o.reply != Reply::Done)
        return 0;
    if (result)
        *result = static_cast<DWORD_PTR>(o.result);
    return 1;
}

BOOL SendNotifyMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    if (!w)
        return FALSE;
    if (w->thread == currentThread()) {
        const WNDPROC proc = w->proc;
        lock.unlock();
        proc(hwnd, message, wParam, lParam);
        return TRUE;
    }
    auto s = std::make_shared<SentMessage>();
    s->hwnd = hwnd;
    s->message = message;
    s->wParam = wParam;
    s->lParam = lParam;
    return queueSent(s, w->thread) ? TRUE : FALSE;
}

namespace {
BOOL postTo(Queue* q, const MSG& msg) {
    if (q->posted.size() >= kMaxPosted) {
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return FALSE;
    }
    q->posted.push_back(msg);
    wake(*q, QS_POSTMESSAGE | QS_ALLPOSTMESSAGE);
    return TRUE;
}
} // namespace

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!hwnd)
        return PostThreadMessageW(GetCurrentThreadId(), message, wParam, lParam);
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    if (!w)
        return FALSE;
    Queue* q = queueOf(w->thread);
    if (!q) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return postTo(q, makeMessage(hwnd, message, wParam, lParam));
}

BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    Lock lock = lockModel();
    Queue* q = queueOf(threadId);
    if (!q) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    return postTo(q, makeMessage(nullptr, message, wParam, lParam));
}

void PostQuitMessage(int exitCode) {
    Lock lock = lockModel();
    Queue& q = currentQueue();
    q.quit = true;
    q.quitCode = exitCode;
    wake(q, QS_POSTMESSAGE);
}

BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return takeMessage(msg, hwnd, filterMin, filterMax, removeFlags, false) ? TRUE : FALSE;
}

BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (hwnd && hwnd != threadMessagesOnly()) {
        Lock lock = lockModel();
        if (!findOrFail(hwnd))
            return -1;
    }
    takeMessage(msg, hwnd, filterMin, filterMax, PM_REMOVE, true);
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg)
        return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        // Only a procedure this thread gave SetTimer is called: a posted WM_TIMER cannot
        // make the program jump to an address of the poster's choosing.
        TIMERPROC timerProc = nullptr;
        {
            Lock lock = lockModel();
            for (const Timer& t : currentQueue().timers) {
                if (t.hwnd == msg->hwnd && t.id == msg->wParam &&
                    reinterpret_cast<LPARAM>(t.proc) == msg->lParam)
                    timerProc = t.proc;
            }
        }
        if (timerProc)
            timerProc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    if (!msg->hwnd)
        return 0;
    WNDPROC proc = nullptr;
    {
        Lock lock = lockModel();
        Window* w = findOrFail(msg->hwnd);
        if (!w)
            return 0;
        if (w->thread != currentThread()) {
            SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
            return 0;
        }
        proc = w->proc;
    }
    if (msg->message != WM_PAINT)
        return proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    LRESULT r = 0;
    {
        struct Dispatching {
            Dispatching() { setDispatchingPaint(true); }
            ~Dispatching() { setDispatchingPaint(false); }
        } dispatching;
        r = proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    }
    finishPaint(msg->hwnd);
    return r;
}

BOOL WaitMessage() {
    Lock lock = lockModel();
    Queue& q = currentQueue();
    Waiting waiting(q);
    for (;;) {
        if (newBits(q, pal::clock::tickMs()))
            return TRUE;
        syncNative();
        pal::wait::waitOnHub(lock, nextTimerCheck(q));
    }
}

DWORD GetQueueStatus(UINT flags) {
    Lock lock = lockModel();
    Queue& q = currentQueue();
    const std::uint64_t now = pal::clock::tickMs();
    const UINT present = presentBits(q, now) & flags;
    const UINT arrived = newBits(q, now) & flags;
    q.changed &= ~flags;
    return MAKELONG(static_cast<WORD>(arrived), static_cast<WORD>(present));
}

BOOL InSendMessage() {
    return tInSend > 0 ? TRUE : FALSE;
}

LONG GetMessageTime() {
    Lock lock = lockModel();
    return currentQueue().lastTime;
}

DWORD GetMessagePos() {
    Lock lock = lockModel();
    const POINT p = currentQueue().lastPoint;
    return MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds, DWORD wakeMask,
                                  DWORD flags) {
    if (count >= MAXIMUM_WAIT_OBJECTS || (count && !handles)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<pal::KernelObject>> objects;
    if (!pal::wait::resolve(count, handles, objects))
        return WAIT_FAILED;
    const bool available = flags & MWMO_INPUTAVAILABLE;
    {
        Lock lock = lockModel();
        ++currentQueue().waiting;
        syncNative();
    }
    struct Done {
        ~Done() {
            Lock lock = lockModel();
            --currentQueue().waiting;
        }
    } done;
    return pal::wait::waitForObjects(objects, flags & MWMO_WAITALL, milliseconds,
                                     [&](SteadyClock::time_point& recheckBy) {
                                         Queue& q = currentQueue();
                                         const std::uint64_t now = pal::clock::tickMs();
                                         const UINT bits = available ? presentBits(q, now) : newBits(q, now);
                                         if (bits & wakeMask)
                                             return true;
                                         if (wakeMask & QS_TIMER)
                                             recheckBy = std::min(recheckBy, nextTimerCheck(q));
                                         return false;
                                     });
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask) {
    return MsgWaitForMultipleObjectsEx(count, handles, milliseconds, wakeMask, waitAll ? MWMO_WAITALL : 0);
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    Lock lock = lockModel();
    if (hwnd && !findOwnedHere(hwnd))
        return 0;
    Queue& q = currentQueue();
    const UINT interval = std::clamp(elapseMs, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    const std::uint64_t due = pal::clock::tickMs() + interval;
    auto existing = std::find_if(q.timers.begin(), q.timers.end(), [&](const Timer& t) {
        return t.hwnd == hwnd && t.id == id && (hwnd || id);
    });
    if (existing != q.timers.end()) {
        existing->interval = interval;
        existing->due = due;
        existing->proc = proc;
    } else {
        if (!hwnd) {
            // Thread timers get an id of their own, never one in use.
            auto used = [&](UINT_PTR v) {
                return std::any_of(q.timers.begin(), q.timers.end(),
                                   [&](const Timer& t) { return !t.hwnd && t.id == v; });
            };
            do {
                id = q.nextTimerId++;
            } while (id == 0 || used(id));
        }
        q.timers.push_back(Timer{hwnd, id, interval, due, proc});
    }
    wake(q, 0);
    return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    Lock lock = lockModel();
    if (hwnd && !findOrFail(hwnd))
        return FALSE;
    Queue& q = currentQueue();
    const auto removed =
        std::erase_if(q.timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (!removed) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return proc ? proc(hwnd, message, wParam, lParam) : 0;
}
