// The process's table of kernel-object handles.
//
// A handle value encodes a slot index and the slot's generation, so a handle
// that was closed never reaches an object created later in the same slot.
// Waiting is built on one hub: every waitable object changes its signalled
// state under the hub's mutex and wakes the hub, and waiters re-check their
// objects. The objects of this program are few; one hub keeps multi-object
// waits simple and free of lost wake-ups.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

DV_EXPORTS_BEGIN

namespace pal {

enum class ObjectKind { Event, Mutex, Semaphore, Thread, Process, File, Pipe, Find, Module, Other };

class KernelObject {
public:
    virtual ~KernelObject() = default;
    virtual ObjectKind kind() const = 0;

    // Waitable objects override the three below. All are called with the hub's mutex held.
    virtual bool isWaitable() const { return false; }
    // True when the object is signalled for this thread; takes the signal where the object's
    // kind consumes it (auto-reset events, mutexes, semaphores).
    virtual bool tryAcquire(DWORD /*threadId*/) { return false; }
    // True when tryAcquire would succeed, without taking anything. A wait for all of several
    // objects asks this of each before taking any; objects that consume signals override it.
    virtual bool canAcquire(DWORD threadId) { return tryAcquire(threadId); }
    // Objects whose state changes outside this process (another process's mutex, a child
    // process's exit) ask waiters to look again after this many milliseconds; 0 means never.
    virtual DWORD pollIntervalMs() const { return 0; }
    // A mutex acquired because its owner thread ended reports WAIT_ABANDONED once.
    virtual bool takeAbandoned() { return false; }
};

namespace handles {

// Adds an object and returns its new handle; never null and never INVALID_HANDLE_VALUE.
HANDLE insert(std::shared_ptr<KernelObject> object);
// The object behind a live handle, or null (last error ERROR_INVALID_HANDLE).
std::shared_ptr<KernelObject> get(HANDLE handle);
template <class T> std::shared_ptr<T> getAs(HANDLE handle) {
    return std::dynamic_pointer_cast<T>(get(handle));
}
// Removes the handle; false for a stale or unknown one.
bool close(HANDLE handle);
// A second handle to the same object.
HANDLE duplicate(HANDLE handle);
// How many handles are live, for leak checks in tests.
size_t liveCount();

} // namespace handles

namespace wait {

// The mutex under which every waitable object changes state.
std::mutex& hubMutex();
// Wakes all waiters; call after a state change, with or without the mutex held.
void notifyAll();
// Waits (hub mutex held through `lock`) until notified or until `deadline`.
void waitOnHub(std::unique_lock<std::mutex>& lock, std::chrono::steady_clock::time_point deadline);

// The waitable objects behind `count` handles; false (last error ERROR_INVALID_HANDLE) when one
// is stale, unknown or not waitable.
bool resolve(DWORD count, const HANDLE* handles, std::vector<std::shared_ptr<KernelObject>>& objects);

// Something other than kernel objects that can end a wait (a thread's message queue). Called
// with the hub's mutex held; answers true to end the wait, and may bring `recheckBy` forward
// when it must look again at a time of its own (a timer falling due).
using ExtraWake = std::function<bool(std::chrono::steady_clock::time_point& recheckBy)>;
// The wait behind WaitForMultipleObjects: WAIT_OBJECT_0 + i (or WAIT_ABANDONED_0 + i),
// WAIT_OBJECT_0 + objects.size() when `extra` ends the wait, or WAIT_TIMEOUT.
DWORD waitForObjects(const std::vector<std::shared_ptr<KernelObject>>& objects, bool waitAll,
                     DWORD milliseconds, const ExtraWake& extra = {});

} // namespace wait

} // namespace pal

DV_EXPORTS_END
