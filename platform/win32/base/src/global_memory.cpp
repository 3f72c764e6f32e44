#include "win/global_memory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace {

struct Block {
    void* data = nullptr;
    SIZE_T size = 0;
    bool movable = false;
    UINT locks = 0;
};

class Table {
public:
    std::mutex mutex;
    std::unordered_map<HGLOBAL, Block> blocks;          // by handle
    std::unordered_map<const void*, HGLOBAL> byAddress; // by data address

    Block* find(HGLOBAL h) {
        auto it = blocks.find(h);
        return it == blocks.end() ? nullptr : &it->second;
    }
    // Movable handles are never 16-byte aligned, so they cannot equal a block's address.
    HGLOBAL newMovableHandle() { return reinterpret_cast<HGLOBAL>((++serial_ << 4) | 0x4); }

private:
    std::uintptr_t serial_ = 0;
};

Table& table() {
    static Table* t = new Table;
    return *t;
}

void* allocate(SIZE_T bytes, bool zero) {
    const SIZE_T n = bytes ? bytes : 1;
    return zero ? std::calloc(1, n) : std::malloc(n);
}

HGLOBAL badHandle(HGLOBAL h) {
    SetLastError(ERROR_INVALID_HANDLE);
    return h;
}

} // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    void* data = allocate(bytes, flags & GMEM_ZEROINIT);
    if (!data) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    Table& t = table();
    std::lock_guard lock(t.mutex);
    const bool movable = flags & GMEM_MOVEABLE;
    HGLOBAL h = movable ? t.newMovableHandle() : data;
    t.blocks[h] = Block{data, bytes, movable, 0};
    t.byAddress[data] = h;
    return h;
}

LPVOID GlobalLock(HGLOBAL memory) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    Block* b = t.find(memory);
    if (!b) {
        badHandle(memory);
        return nullptr;
    }
    if (b->movable && b->locks < GMEM_LOCKCOUNT)
        ++b->locks;
    return b->data;
}

BOOL GlobalUnlock(HGLOBAL memory) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    Block* b = t.find(memory);
    if (!b) {
        badHandle(memory);
        return FALSE;
    }
    if (!b->movable)
        return TRUE; // a fixed block is always locked
    if (b->locks == 0) {
        SetLastError(ERROR_NOT_LOCKED);
        return FALSE;
    }
    if (--b->locks > 0)
        return TRUE;
    SetLastError(NO_ERROR);
    return FALSE;
}

SIZE_T GlobalSize(HGLOBAL memory) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    if (Block* b = t.find(memory))
        return b->size;
    badHandle(memory);
    return 0;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
    if (!memory)
        return nullptr;
    Table& t = table();
    std::lock_guard lock(t.mutex);
    Block* b = t.find(memory);
    if (!b)
        return badHandle(memory);
    t.byAddress.erase(b->data);
    std::free(b->data);
    t.blocks.erase(memory);
    return nullptr;
}

HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags) {
    if (flags & GMEM_MODIFY) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Table& t = table();
    std::lock_guard lock(t.mutex);
    Block* b = t.find(memory);
    if (!b) {
        badHandle(memory);
        return nullptr;
    }
    const bool mayMove = b->movable ? b->locks == 0 : (flags & GMEM_MOVEABLE) != 0;
    if (bytes > b->size && !mayMove) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (bytes <= b->size) { // shrinks in place
        b->size = bytes;
        return memory;
    }
    void* data = std::realloc(b->data, bytes);
    if (!data) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (flags & GMEM_ZEROINIT)
        std::memset(static_cast<char*>(data) + b->size, 0, bytes - b->size);
    Block moved = *b;
    t.byAddress.erase(moved.data);
    moved.data = data;
    moved.size = bytes;
    HGLOBAL h = memory;
    if (!moved.movable) { // a fixed block's handle is its address
        t.blocks.erase(memory);
        h = data;
    }
    t.blocks[h] = moved;
    t.byAddress[data] = h;
    return h;
}

UINT GlobalFlags(HGLOBAL memory) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    if (Block* b = t.find(memory))
        return b->locks;
    badHandle(memory);
    return GMEM_INVALID_HANDLE;
}

HGLOBAL GlobalHandle(LPCVOID address) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    auto it = t.byAddress.find(address);
    if (it != t.byAddress.end())
        return it->second;
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}
