#include "pal/handles.h"

#include "win/base.h"
#include "win/error.h"

#include <algorithm>
#include <mutex>

namespace pal {
namespace handles {
namespace {

// Handle value: (generation << 20 | slot + 1) << 2. The low bits stay clear like the
// platform's, the value is never 0 and never -1, and a reused slot has a new generation.
constexpr std::uintptr_t kSlotBits = 20;
constexpr std::uintptr_t kSlotMask = (std::uintptr_t{1} << kSlotBits) - 1;

struct Slot {
    std::shared_ptr<KernelObject> object;
    std::uint32_t generation = 1;
};

struct Table {
    std::mutex mutex;
    std::vector<Slot> slots;
    std::vector<std::uint32_t> free;
    size_t live = 0;
};

Table& table() {
    static Table* t = new Table; // never destroyed: handles may be closed from static destructors
    return *t;
}

HANDLE encode(std::uint32_t slot, std::uint32_t generation) {
    const std::uintptr_t v = ((static_cast<std::uintptr_t>(generation) << kSlotBits) | (slot + 1)) << 2;
    return reinterpret_cast<HANDLE>(v);
}

bool decode(HANDLE h, std::uint32_t& slot, std::uint32_t& generation) {
    const auto v = reinterpret_cast<std::uintptr_t>(h);
    if (v == 0 || (v & 3) != 0 || h == INVALID_HANDLE_VALUE)
        return false;
    const std::uintptr_t s = (v >> 2) & kSlotMask;
    if (s == 0)
        return false;
    slot = static_cast<std::uint32_t>(s - 1);
    generation = static_cast<std::uint32_t>(v >> (2 + kSlotBits));
    return true;
}

} // namespace

HANDLE insert(std::shared_ptr<KernelObject> object) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    std::uint32_t slot;
    if (!t.free.empty()) {
        slot = t.free.back();
        t.free.pop_back();
    } else {
        slot = static_cast<std::uint32_t>(t.slots.size());
        if (slot >= kSlotMask) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        t.slots.emplace_back();
    }
    t.slots[slot].object = std::move(object);
    ++t.live;
    return encode(slot, t.slots[slot].generation);
}

std::shared_ptr<KernelObject> get(HANDLE handle) {
    std::uint32_t slot, generation;
    Table& t = table();
    std::lock_guard lock(t.mutex);
    if (decode(handle, slot, generation) && slot < t.slots.size() && t.slots[slot].generation == generation &&
        t.slots[slot].object)
        return t.slots[slot].object;
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

bool close(HANDLE handle) {
    std::shared_ptr<KernelObject> released; // destroyed outside the lock
    std::uint32_t slot, generation;
    Table& t = table();
    {
        std::lock_guard lock(t.mutex);
        if (!decode(handle, slot, generation) || slot >= t.slots.size() ||
            t.slots[slot].generation != generation || !t.slots[slot].object) {
            SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        released = std::move(t.slots[slot].object);
        t.slots[slot].object.reset();
        // Skip generation 0 on wrap-around so an encoded value never repeats a stale one soon.
        if (++t.slots[slot].generation == 0)
            t.slots[slot].generation = 1;
        t.free.push_back(slot);
        --t.live;
    }
    return true;
}

HANDLE duplicate(HANDLE handle) {
    auto object = get(handle);
    return object ? insert(std::move(object)) : nullptr;
}

size_t liveCount() {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return t.live;
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
