// A table of shared objects reached through generational handle values.
//
// A handle value packs (tag, generation, slot + 1) above a few clear low bits. Closing a handle
// bumps its slot's generation, so a stale handle never reaches the object that later takes the
// same slot, and a tag keeps one table's handles from decoding in another. Each table's
// encoding is its own:
//
//   struct Encoding {
//       static constexpr unsigned lowBits;        // always-clear low bits of a handle
//       static constexpr unsigned slotBits;       // width of (slot + 1)
//       static constexpr unsigned generationBits; // width of the generation; it wraps, skipping 0
//       static constexpr std::uintptr_t tag;      // above the generation; 0 means untagged
//       static constexpr bool reuseOldestFirst;   // free slots reused oldest first, else newest
//   };
//
// Header-only: each library instantiates its own table and keeps the one instance to itself.
#pragma once

#include "win/error.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace pal {

template <class Object, class Handle, class Encoding> class HandleTable {
public:
    // The mutex guarding the table; owners may guard their objects' bookkeeping with it too.
    std::mutex& mutex() { return mutex_; }

    // Adds an object and returns its handle, or null (ERROR_NOT_ENOUGH_MEMORY) when the slots
    // run out. `assigned(object, handle)` runs under the lock before the handle is published.
    template <class Assigned> Handle insert(std::shared_ptr<Object> object, Assigned assigned) {
        std::lock_guard lock(mutex_);
        std::uint32_t slot;
        if (!free_.empty()) {
            slot = free_.back();
            free_.pop_back();
        } else {
            slot = static_cast<std::uint32_t>(slots_.size());
            if (slot >= kSlotMask) {
                SetLastError(ERROR_NOT_ENOUGH_MEMORY);
                return nullptr;
            }
            slots_.emplace_back();
        }
        const Handle handle = encode(slot, slots_[slot].generation);
        assigned(*object, handle);
        slots_[slot].object = std::move(object);
        ++live_;
        return handle;
    }
    Handle insert(std::shared_ptr<Object> object) {
        return insert(std::move(object), [](Object&, Handle) {});
    }

    // The live object behind a handle, or null (ERROR_INVALID_HANDLE).
    std::shared_ptr<Object> get(Handle handle) {
        std::lock_guard lock(mutex_);
        if (Slot* s = find(handle))
            return s->object;
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }

    // Removes a live handle; false (ERROR_INVALID_HANDLE) for a stale or unknown one, and false
    // with no error when `refuse(object)`, asked under the same lock, says the object must stay.
    template <class Refuse> bool remove(Handle handle, Refuse refuse) {
        std::shared_ptr<Object> released; // destroyed outside the lock
        std::lock_guard lock(mutex_);
        Slot* s = find(handle);
        if (!s) {
            SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        if (refuse(*s->object))
            return false;
        released = std::move(s->object);
        s->object.reset();
        // Skip generation 0 on wrap-around so an encoded value never repeats a stale one soon.
        s->generation = (s->generation + 1) & kGenerationMask;
        if (s->generation == 0)
            s->generation = 1;
        const auto slot = static_cast<std::uint32_t>(s - slots_.data());
        if constexpr (Encoding::reuseOldestFirst)
            free_.push_front(slot);
        else
            free_.push_back(slot);
        --live_;
        return true;
    }
    bool remove(Handle handle) {
        return remove(handle, [](const Object&) { return false; });
    }

    // How many handles are live, for leak checks.
    size_t live() {
        std::lock_guard lock(mutex_);
        return live_;
    }

private:
    static constexpr unsigned kSlotShift = Encoding::lowBits;
    static constexpr unsigned kGenerationShift = kSlotShift + Encoding::slotBits;
    static constexpr unsigned kTagShift = kGenerationShift + Encoding::generationBits;
    static constexpr std::uintptr_t kLowMask = (std::uintptr_t{1} << Encoding::lowBits) - 1;
    static constexpr std::uintptr_t kSlotMask = (std::uintptr_t{1} << Encoding::slotBits) - 1;
    static constexpr std::uint32_t kGenerationMask =
        static_cast<std::uint32_t>((std::uint64_t{1} << Encoding::generationBits) - 1);
    static_assert(Encoding::generationBits <= 32);
    static_assert(Encoding::tag == 0 || kTagShift < sizeof(std::uintptr_t) * 8);

    struct Slot {
        std::shared_ptr<Object> object;
        std::uint32_t generation = 1;
    };

    static Handle encode(std::uint32_t slot, std::uint32_t generation) {
        std::uintptr_t v =
            (std::uintptr_t{generation} << kGenerationShift) | (std::uintptr_t{slot + 1} << kSlotShift);
        if constexpr (Encoding::tag != 0)
            v |= Encoding::tag << kTagShift;
        return reinterpret_cast<Handle>(v);
    }

    Slot* find(Handle handle) {
        const auto v = reinterpret_cast<std::uintptr_t>(handle);
        if ((v & kLowMask) != 0)
            return nullptr;
        if constexpr (Encoding::tag != 0) {
            if ((v >> kTagShift) != Encoding::tag)
                return nullptr;
        }
        const std::uintptr_t s = (v >> kSlotShift) & kSlotMask;
        if (s == 0 || s - 1 >= slots_.size())
            return nullptr;
        Slot& slot = slots_[s - 1];
        const auto generation = static_cast<std::uint32_t>((v >> kGenerationShift) & kGenerationMask);
        return slot.generation == generation && slot.object ? &slot : nullptr;
    }

    std::mutex mutex_;
    std::vector<Slot> slots_;
    std::deque<std::uint32_t> free_;
    size_t live_ = 0;
};

} // namespace pal
