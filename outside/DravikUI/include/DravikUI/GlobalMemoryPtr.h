// A block of global memory locked for as long as the pointer lives (clipboard data, data
// objects): the typed address of its contents and their size, unlocked when it goes.
#pragma once

#include "win/global_memory.h"

#include <cstddef>

namespace Dravik {

template <class T> class GlobalMemoryPtr {
public:
    explicit GlobalMemoryPtr(HGLOBAL block)
        : block_(block), data_(block != nullptr ? static_cast<T*>(::GlobalLock(block)) : nullptr) {}
    ~GlobalMemoryPtr() {
        if (data_ != nullptr)
            ::GlobalUnlock(block_);
    }
    GlobalMemoryPtr(const GlobalMemoryPtr&) = delete;
    GlobalMemoryPtr& operator=(const GlobalMemoryPtr&) = delete;

    // Null when the block could not be locked.
    T* get() const { return data_; }
    explicit operator bool() const { return data_ != nullptr; }
    // Whole elements of T the block holds.
    std::size_t size() const { return data_ != nullptr ? ::GlobalSize(block_) / sizeof(T) : 0; }

private:
    HGLOBAL block_;
    T* data_;
};

} // namespace Dravik
