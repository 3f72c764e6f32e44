#include "object.h"

#include "pal/handle_table.h"

namespace pal::gdi::table {
namespace {

// Handle value: tag << 48 | generation << 28 | (slot + 1) << 4. The tag keeps window and kernel
// handles from ever decoding as a drawing object; freed slots are reused oldest first.
struct Encoding {
    static constexpr unsigned lowBits = 4;
    static constexpr unsigned slotBits = 24;
    static constexpr unsigned generationBits = 20;
    static constexpr std::uintptr_t tag = 0x6D1;
    static constexpr bool reuseOldestFirst = true;
};

using Table = HandleTable<Object, HGDIOBJ, Encoding>;

Table& table() {
    static Table* t = new Table; // never destroyed: objects may be deleted from static destructors
    return *t;
}

} // namespace

std::mutex& mutex() {
    return table().mutex();
}

HGDIOBJ insert(std::shared_ptr<Object> object) {
    return table().insert(std::move(object), [](Object& o, HGDIOBJ h) { o.handle = h; });
}

std::shared_ptr<Object> get(HGDIOBJ handle) {
    return table().get(handle);
}

bool remove(HGDIOBJ handle, bool unlessSelected) {
    return table().remove(handle, [&](const Object& o) { return unlessSelected && o.selections > 0; });
}

size_t live() {
    return table().live();
}

} // namespace pal::gdi::table
