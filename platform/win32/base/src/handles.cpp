#include "pal/handles.h"

#include "pal/handle_table.h"

#include "win/base.h"
#include "win/error.h"

#include <algorithm>
#include <mutex>

namespace pal {
namespace handles {
namespace {

// Handle value: (generation << 20 | slot + 1) << 2. The low bits stay clear like the
// platform's, the value is never 0 and never -1, and a reused slot has a new generation.
struct Encoding {
    static constexpr unsigned lowBits = 2;
    static constexpr unsigned slotBits = 20;
    static constexpr unsigned generationBits = 32;
    static constexpr std::uintptr_t tag = 0;
    static constexpr bool reuseOldestFirst = false;
};

using Table = HandleTable<KernelObject, HANDLE, Encoding>;

Table& table() {
    static Table* t = new Table; // never destroyed: handles may be closed from static destructors
    return *t;
}

} // namespace

HANDLE insert(std::shared_ptr<KernelObject> object) {
    return table().insert(std::move(object));
}

std::shared_ptr<KernelObject> get(HANDLE handle) {
    return table().get(handle);
}

bool close(HANDLE handle) {
    return table().remove(handle);
}

HANDLE duplicate(HANDLE handle) {
    auto object = get(handle);
    return object ? insert(std::move(object)) : nullptr;
}

size_t liveCount() {
    return table().live();
}

} // namespace handles

namespace wait {
namespace {
struct Hub {
    std::mutex mutex;
    std::condition_variable cv;
};
Hub& hub() {
    static Hub* h = new Hub;
    return *h;
}
} // namespace

std::mutex& hubMutex() {
    return hub().mutex;
}
bool resolve(DWORD count, const HANDLE* handles, std::vector<std::shared_ptr<KernelObject>>& objects) {
    objects.clear();
    objects.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        auto object = handles::get(handles[i]);
        if (!object || !object->isWaitable()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        objects.push_back(std::move(object));
    }
    return true;
}

void notifyAll() {
    hub().cv.notify_all();
}
void waitOnHub(std::unique_lock<std::mutex>& lock, std::chrono::steady_clock::time_point deadline) {
    hub().cv.wait_until(lock, deadline);
}

DWORD waitForObjects(const std::vector<std::shared_ptr<KernelObject>>& objects, bool waitAll,
                     DWORD milliseconds, const ExtraWake& extra) {
    using Clock = std::chrono::steady_clock;
    DWORD poll = 0;
    for (auto& o : objects) {
        if (const DWORD p = o->pollIntervalMs(); p && (!poll || p < poll))
            poll = p;
    }
    const DWORD self = GetCurrentThreadId();
    const DWORD count = static_cast<DWORD>(objects.size());
    const auto deadline = milliseconds == INFINITE ? Clock::time_point::max()
                                                   : Clock::now() + std::chrono::milliseconds(milliseconds);
    std::unique_lock lock(hubMutex());
    for (;;) {
        if (waitAll && count) {
            // All at once or none: look at every object without taking, then take them all
            // under the same lock, so a partial pass consumes no signal.
            bool all = true;
            for (auto& o : objects) {
                if (!o->canAcquire(self)) {
                    all = false;
                    break;
                }
            }
            if (all) {
                bool abandoned = false;
                for (auto& o : objects) {
                    o->tryAcquire(self);
                    abandoned = o->takeAbandoned() || abandoned;
                }
                return abandoned ? WAIT_ABANDONED_0 : WAIT_OBJECT_0;
            }
        } else {
            for (DWORD i = 0; i < count; ++i) {
                if (objects[i]->tryAcquire(self))
                    return (objects[i]->takeAbandoned() ? WAIT_ABANDONED_0 : WAIT_OBJECT_0) + i;
            }
        }
        auto until = deadline;
        if (extra && extra(until))
            return WAIT_OBJECT_0 + count;
        const auto now = Clock::now();
        if (now >= deadline)
            return WAIT_TIMEOUT;
        if (poll)
            until = std::min(until, now + std::chrono::milliseconds(poll));
        waitOnHub(lock, until);
    }
}

} // namespace wait
} // namespace pal
