#include "partconv/delta_store.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

namespace partconv {
namespace {

// The first growth of the empty table; later growths double it.
constexpr std::uint32_t firstTableSize = 8;

} // namespace

DeltaStore::DeltaStore() : DeltaStore([](const std::string& text) { std::fputs(text.c_str(), stdout); }) {}

DeltaStore::DeltaStore(Printer printer) : printer_(std::move(printer)) {}

DeltaStore::~DeltaStore() = default;

DeltaStore::Block::~Block() {
    for (std::unique_ptr<Block> rest = std::move(next); rest;)
        rest = std::move(rest->next);
}

void DeltaStore::print(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    printer_(text);
}

DeltaStore::Delta* DeltaStore::lookup(const char* caller, std::uint32_t key, bool period) {
    if (key == 0 || key > nDeltas_) {
        print("*** %s(): Key value %d out of range!\n", caller, static_cast<int>(key));
        return nullptr;
    }
    Delta* d = table_[key - 1].get();
    if (!d)
        print(period ? "*** %s(): Delta %d does not exist.\n" : "*** %s(): Delta %d does not exist\n", caller,
              static_cast<int>(key));
    return d;
}

int DeltaStore::openForWrite(int mark, std::uint32_t* key) {
    if (!key)
        return deltaBadKey;
    *key = 0;
    const auto freeEntry = std::find(table_.begin(), table_.end(), nullptr);
    std::uint32_t index = static_cast<std::uint32_t>(freeEntry - table_.begin());
    if (freeEntry == table_.end()) {
        const std::uint32_t grown = nDeltas_ ? nDeltas_ * 2 : firstTableSize;
        try {
            table_.resize(grown);
        } catch (const std::bad_alloc&) {
            print("*** FRU_delta_open_for_write(): ");
            print("Failed to enlarge delta array!\n");
            return deltaNoMemory;
        }
        index = nDeltas_;
        nDeltas_ = grown;
    }
    std::unique_ptr<Delta> d(new (std::nothrow) Delta);
    if (!d) {
        print("*** FRU_delta_open_for_write(): Failed to allocate delta!\n");
        return deltaNoMemory;
    }
    d->mark = mark;
    d->open = true;
    d->direction = Direction::writing;
    table_[index] = std::move(d);
    *key = index + 1;
    return deltaOk;
}

int DeltaStore::openForRead(std::uint32_t key) {
    Delta* d = lookup("FRU_delta_open_for_read", key, false);
    if (!d)
        return deltaBadKey;
    if (d->open) {
        print("*** FRU_delta_open_for_read(): Delta %d is already open\n", static_cast<int>(key));
        return deltaBadKey;
    }
    d->current = d->first.get();
    d->position = 0;
    d->consumed = 0;
    d->open = true;
    d->direction = Direction::reading;
    return deltaOk;
}

int DeltaStore::write(std::uint32_t key, std::size_t count, const char* bytes) {
    if (key == 0 || key > nDeltas_) {
        print("*** FRU_delta_write(): Key value %d out of range!\n", static_cast<int>(key));
        print("*** FRU_delta_write(): n_deltas_g = %d \n", static_cast<int>(nDeltas_));
        return deltaBadKey;
    }
    Delta* d = lookup("FRU_delta_write", key, true);
    if (!d)
        return deltaBadKey;
    if (!d->open) {
        print("*** FRU_delta_write(): Delta %d is not open.\n", static_cast<int>(key));
        return deltaBadKey;
    }
    if (d->direction == Direction::reading) {
        print("*** FRU_delta_write(): Delta %d is open for reading\n", static_cast<int>(key));
        return deltaBadKey;
    }
    // Every block the bytes need is had before any is linked in, so that a write refused for
    // want of memory leaves the delta as it was. The first write takes the first block even
    // when it brings no bytes.
    const std::size_t room = d->current ? deltaBlockSize - d->current->used : 0;
    const std::size_t beyond = count > room ? count - room : 0;
    std::size_t needed = beyond / deltaBlockSize + (beyond % deltaBlockSize != 0);
    if (!d->first && needed == 0)
        needed = 1;
    std::unique_ptr<Block> added;
    std::unique_ptr<Block>* tail = &added;
    for (std::size_t i = 0; i < needed; ++i, tail = &(*tail)->next) {
        tail->reset(new (std::nothrow) Block);
        if (!*tail) {
            if (!d->first && i == 0) {
                print("*** FRU_delta_write(): Can't allocate block\n");
            } else {
                print("*** FRU_delta_write(): ");
                print("Couldn't allocate following block.\n");
            }
            return deltaNoMemory;
        }
    }
    if (!d->first) {
        d->first = std::move(added);
        d->current = d->first.get();
    } else if (added) {
        d->current->next = std::move(added);
    }
    while (count > 0) {
        Block* b = d->current;
        if (b->used == deltaBlockSize)
            d->current = b = b->next.get();
        const std::size_t n = std::min<std::size_t>(deltaBlockSize - b->used, count);
        std::memcpy(b->data + b->used, bytes, n);
        b->used += n;
        d->size += n;
        bytes += n;
        count -= n;
    }
    return deltaOk;
}

int DeltaStore::read(std::uint32_t key, std::size_t count, char* buffer) {
    Delta* d = lookup("FRU_delta_read", key, true);
    if (!d)
        return deltaBadKey;
    if (!d->open) {
        print("*** FRU_delta_read(): Delta %d is not open.\n", static_cast<int>(key));
        return deltaBadKey;
    }
    if (d->direction == Direction::writing) {
        print("*** FRU_delta_read(): Delta %d is open for writing\n", static_cast<int>(key));
        return deltaBadKey;
    }
    // Checked before anything is copied, so a refused read leaves the reader where it was.
    if (count > d->size - d->consumed) {
        print("*** FRU_delta_read(): ");
        print("Attempt to read beyond end of delta.\n");
        return deltaReadPastEnd;
    }
    while (count > 0) {
        if (d->position == deltaBlockSize) {
            d->current = d->current->next.get();
            d->position = 0;
        }
        const std::size_t n = std::min<std::size_t>(deltaBlockSize - d->position, count);
        if (buffer) {
            std::memcpy(buffer, d->current->data + d->position, n);
            buffer += n;
        }
        d->position += static_cast<std::uint32_t>(n);
        d->consumed += n;
        count -= n;
    }
    return deltaOk;
}

int DeltaStore::close(std::uint32_t key) {
    Delta* d = lookup("FRU_delta_close", key, true);
    if (!d)
        return deltaBadKey;
    if (!d->open) {
        print("*** FRU_delta_close(): Delta %d is not open\n", static_cast<int>(key));
        return deltaBadKey;
    }
    if (d->direction == Direction::reading && d->first && d->current &&
        (d->current->next || d->position < d->current->used))
        print("*** FRU_delta_close(): Delta %d closed with data unread\n", static_cast<int>(key));
    d->open = false;
    return deltaOk;
}

int DeltaStore::remove(std::uint32_t key) {
    Delta* d = lookup("FRU_delta_delete", key, true);
    if (!d)
        return deltaBadKey;
    if (d->open) {
        print("*** FRU_delta_delete(): Delta %d is open.\n", static_cast<int>(key));
        return deltaBadKey;
    }
    freeDelta(key - 1);
    return deltaOk;
}

// Nothing happens for an index that holds no delta, whoever calls.
void DeltaStore::freeDelta(std::size_t index) {
    if (index < table_.size())
        table_[index].reset();
}

namespace {
DeltaStore* boundStore = nullptr;

DeltaStore& store() {
    if (!boundStore) {
        static DeltaStore own;
        boundStore = &own;
    }
    return *boundStore;
}
} // namespace

void bindDeltaStore(DeltaStore* s) {
    boundStore = s;
}

} // namespace partconv

using partconv::store;

extern "C" {
int FRU_delta_open_for_write(int mark, unsigned* key) {
    return store().openForWrite(mark, key);
}
int FRU_delta_open_for_read(unsigned key) {
    return store().openForRead(key);
}
int FRU_delta_close(unsigned key) {
    return store().close(key);
}
int FRU_delta_write(unsigned key, std::size_t n_bytes, const char* bytes) {
    return store().write(key, n_bytes, bytes);
}
int FRU_delta_read(unsigned key, std::size_t n_bytes, char* buffer) {
    return store().read(key, n_bytes, buffer);
}
int FRU_delta_delete(unsigned key) {
    return store().remove(key);
}
void free_delta(std::size_t index) {
    store().freeDelta(index);
}
}
