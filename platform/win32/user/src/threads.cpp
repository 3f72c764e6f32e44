// Threads as waitable handles: signalled when the thread has ended, with its exit code.
#include "model.h"
#include "sync.h"

#include <system_error>
#include <thread>

namespace pal::win {
namespace {

class ThreadObject : public pal::KernelObject {
public:
    pal::ObjectKind kind() const override { return pal::ObjectKind::Thread; }
    bool isWaitable() const override { return true; }
    bool tryAcquire(DWORD) override { return ended; }

    // All with the hub's mutex held.
    DWORD id = 0;
    bool ended = false;
    DWORD exitCode = STILL_ACTIVE;
    DWORD suspendCount = 0;
    int priority = THREAD_PRIORITY_NORMAL;
};

void run(const std::shared_ptr<ThreadObject>& t, LPTHREAD_START_ROUTINE start, LPVOID param) {
    // The queue exists before anyone learns the thread's id, so messages posted to a new
    // thread are not lost.
    Lock lock = lockModel();
    currentQueue();
    t->id = GetCurrentThreadId();
    pal::wait::notifyAll();
    while (t->suspendCount > 0)
        pal::wait::waitOnHub(lock, std::chrono::steady_clock::time_point::max());
    lock.unlock();
    const DWORD code = start(param);
    // Before the thread reports itself ended, its windows and mutexes are let go, so anyone
    // who waited for its end finds them gone.
    endCurrentQueue();
    abandonOwnedMutexes();
    {
        std::lock_guard lock(pal::wait::hubMutex());
        t->exitCode = code;
        t->ended = true;
    }
    pal::wait::notifyAll();
}

std::shared_ptr<ThreadObject> threadOf(HANDLE h) {
    auto t = pal::handles::getAs<ThreadObject>(h);
    if (!t)
        SetLastError(ERROR_INVALID_HANDLE);
    return t;
}

} // namespace
} // namespace pal::win

using namespace pal::win;

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE start, LPVOID param, DWORD flags,
                    LPDWORD threadId) {
    if (!start) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto t = std::make_shared<ThreadObject>();
    t->suspendCount = (flags & CREATE_SUSPENDED) ? 1 : 0;
    try {
        std::thread([t, start, param] { run(t, start, param); }).detach();
    } catch (const std::system_error&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    DWORD id = 0;
    {
        std::unique_lock lock(pal::wait::hubMutex());
        while (t->id == 0)
            pal::wait::waitOnHub(lock, std::chrono::steady_clock::time_point::max());
        id = t->id;
    }
    if (threadId)
        *threadId = id;
    return pal::handles::insert(t);
}

DWORD ResumeThread(HANDLE thread) {
    auto t = threadOf(thread);
    if (!t)
        return static_cast<DWORD>(-1);
    DWORD previous;
    {
        std::lock_guard lock(pal::wait::hubMutex());
        previous = t->suspendCount;
        if (t->suspendCount > 0)
            --t->suspendCount;
    }
    pal::wait::notifyAll();
    return previous;
}

BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode) {
    auto t = threadOf(thread);
    if (!t || !exitCode)
        return FALSE;
    std::lock_guard lock(pal::wait::hubMutex());
    *exitCode = t->ended ? t->exitCode : STILL_ACTIVE;
    return TRUE;
}

DWORD GetThreadId(HANDLE thread) {
    if (thread == GetCurrentThread())
        return GetCurrentThreadId();
    auto t = threadOf(thread);
    if (!t)
        return 0;
    std::lock_guard lock(pal::wait::hubMutex());
    return t->id;
}

BOOL SetThreadPriority(HANDLE thread, int priority) {
    if (thread == GetCurrentThread())
        return TRUE;
    auto t = threadOf(thread);
    if (!t)
        return FALSE;
    std::lock_guard lock(pal::wait::hubMutex());
    t->priority = priority;
    return TRUE;
}

int GetThreadPriority(HANDLE thread) {
    if (thread == GetCurrentThread())
        return THREAD_PRIORITY_NORMAL;
    auto t = threadOf(thread);
    if (!t)
        return THREAD_PRIORITY_ERROR_RETURN;
    std::lock_guard lock(pal::wait::hubMutex());
    return t->priority;
}
