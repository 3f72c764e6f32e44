#include "object.h"

#include "win/error.h"

#include <deque>
#include <vector>

namespace pal::gdi::table {
namespace {

// Handle value: tag << 48 | generation << 24 | (slot + 1), shifted left by 4. The tag keeps
// window and kernel handles from ever decoding as a drawing object.
constexpr std::uintptr_t kTag = 0x6D1;
constexpr std::uintptr_t kSlotBits = 24;
constexpr std::uintptr_t kSlotMask = (std::uintptr_t{1} << kSlotBits) - 1;
constexpr std::uintptr_t kGenerationMask = (std::uintptr_t{1} << 20) - 1;

struct Slot {
    std::shared_ptr<Object> object;
    std::uint32_t generation = 1;
};

struct Table {
    std::mutex mutex;
    std::vector<Slot> slots;
    std::deque<std::uint32_t> free;
    size_t live = 0;
};

Table& table() {
    static Table* t = new Table; // never destroyed: objects may be deleted from static destructors
    return *t;
}

HGDIOBJ encode(std::uint32_t slot, std::uint32_t generation) {
    const std::uintptr_t v = ((kTag << 44) | (std::uintptr_t{generation} << kSlotBits) | (slot + 1)) << 4;
    return reinterpret_cast<HGDIOBJ>(v);
}

bool decode(HGDIOBJ h, std::uint32_t& slot, std::uint32_t& generation) {
    const auto v = reinterpret_cast<std::uintptr_t>(h);
    if ((v & 0xF) != 0 || (v >> 48) != kTag)
        return false;
    const std::uintptr_t s = (v >> 4) & kSlotMask;
    if (s == 0)
        return false;
    slot = static_cast<std::uint32_t>(s - 1);
    generation = static_cast<std::uint32_t>((v >> (4 + kSlotBits)) & kGenerationMask);
    return true;
}

Slot* find(Table& t, HGDIOBJ handle) {
    std::uint32_t slot, generation;
    if (!decode(handle, slot, generation) || slot >= t.slots.size() ||
        t.slots[slot].generation != generation || !t.slots[slot].object)
        return nullptr;
    return &t.slots[slot];
}

} // namespace

std::mutex& mutex() {
    return table().mutex;
}

HGDIOBJ insert(std::shared_ptr<Object> object) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    std::uint32_t slot;
    if (!t.free.empty()) {
        slot = t.free.back();
        t.free.pop_back();
    } else {
        slot = static_cast<std::uint32_t>(t.slots.size());
        if (slot >= kSlotMask - 1) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        t.slots.emplace_back();
    }
    object->handle = encode(slot, t.slots[slot].generation);
    t.slots[slot].object = std::move(object);
    ++t.live;
    return t.slots[slot].object->handle;
}

std::shared_ptr<Object> get(HGDIOBJ handle) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    if (Slot* s = find(t, handle))
        return s->object;
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

bool remove(HGDIOBJ handle, bool unlessSelected) {
    std::shared_ptr<Object> released; // destroyed outside the lock
    Table& t = table();
    std::lock_guard lock(t.mutex);
    Slot* s = find(t, handle);
    if (!s) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    if (unlessSelected && s->object->selections > 0)
        return false;
    released = std::move(s->object);
    s->object.reset();
    s->generation = (s->generation + 1) & kGenerationMask;
    if (s->generation == 0)
        s->generation = 1;
    t.free.push_front(static_cast<std::uint32_t>(s - t.slots.data()));
    --t.live;
    return true;
}

size_t live() {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return t.live;
}

} // namespace pal::gdi::table
