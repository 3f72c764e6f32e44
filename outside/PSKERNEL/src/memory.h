// Kernel memory, all of it taken from the host through the frustrum.
#pragma once

#include "pskernel.h"

#include <cstddef>
#include <cstring>
#include <type_traits>

namespace pskernel {

// Null when there is no frustrum or the host refuses.
void* allocate(std::size_t size);
void release(void* pointer);

// A growable array of plain values in frustrum memory. Growth doubles the capacity.
template <class T> class FruArray {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    FruArray() = default;
    FruArray(const FruArray&) = delete;
    FruArray& operator=(const FruArray&) = delete;
    ~FruArray() { clear(); }

    bool reserve(std::size_t capacity) {
        if (capacity <= capacity_)
            return true;
        if (capacity > static_cast<std::size_t>(-1) / sizeof(T))
            return false;
        T* grown = static_cast<T*>(allocate(capacity * sizeof(T)));
        if (!grown)
            return false;
        if (size_)
            std::memcpy(static_cast<void*>(grown), data_, size_ * sizeof(T));
        release(data_);
        data_ = grown;
        capacity_ = capacity;
        return true;
    }
    bool push(const T& value) {
        if (size_ == capacity_ && !reserve(capacity_ ? capacity_ * 2 : 16))
            return false;
        data_[size_++] = value;
        return true;
    }
    // Room for `extra` more values after the last one, to be filled and then committed.
    T* spare(std::size_t extra) {
        if (capacity_ - size_ < extra &&
            !reserve(size_ + extra > capacity_ * 2 ? size_ + extra : capacity_ * 2))
            return nullptr;
        return data_ + size_;
    }
    void commit(std::size_t added) { size_ += added; }
    void clear() {
        release(data_);
        data_ = nullptr;
        size_ = capacity_ = 0;
    }
    void resize(std::size_t size) { size_ = size; }
    // Hands the values over to the caller, who gives them back with release(); the array is
    // left empty.
    T* take() {
        T* data = data_;
        data_ = nullptr;
        size_ = capacity_ = 0;
        return data;
    }
    T* data() { return data_; }
    const T* data() const { return data_; }
    std::size_t size() const { return size_; }
    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }

private:
    T* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace pskernel
