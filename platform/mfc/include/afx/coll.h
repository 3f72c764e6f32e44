// Collections of the class library: the array of bytes that carries posted data and the
// growing array of any copyable type.
#pragma once

#include "afx/object.h"
#include "pal/visibility.h"

#include <stdexcept>
#include <vector>

DV_EXPORTS_BEGIN

class CByteArray : public CObject {
public:
    INT_PTR GetSize() const { return static_cast<INT_PTR>(bytes_.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return bytes_.empty(); }
    void SetSize(INT_PTR nNewSize) { bytes_.resize(nNewSize > 0 ? static_cast<size_t>(nNewSize) : 0); }
    void RemoveAll() { bytes_.clear(); }
    BYTE GetAt(INT_PTR nIndex) const { return bytes_.at(static_cast<size_t>(nIndex)); }
    void SetAt(INT_PTR nIndex, BYTE value) { bytes_.at(static_cast<size_t>(nIndex)) = value; }
    BYTE& operator[](INT_PTR nIndex) { return bytes_.at(static_cast<size_t>(nIndex)); }
    BYTE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    INT_PTR Add(BYTE value) {
        bytes_.push_back(value);
        return GetUpperBound();
    }
    BYTE* GetData() { return bytes_.data(); }
    const BYTE* GetData() const { return bytes_.data(); }

private:
    std::vector<BYTE> bytes_;
};

// An array of elements that grows as they are added; indexes out of range throw, as reading
// past the end must never pass quietly.
template <class TYPE, class ARG_TYPE = const TYPE&> class CArray : public CObject {
public:
    INT_PTR GetSize() const { return static_cast<INT_PTR>(items_.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return items_.empty(); }
    // A negative size empties the array.
    void SetSize(INT_PTR nNewSize) { items_.resize(nNewSize > 0 ? static_cast<size_t>(nNewSize) : 0); }
    void RemoveAll() { items_.clear(); }
    const TYPE& GetAt(INT_PTR nIndex) const { return items_.at(index(nIndex)); }
    TYPE& ElementAt(INT_PTR nIndex) { return items_.at(index(nIndex)); }
    void SetAt(INT_PTR nIndex, ARG_TYPE element) { items_.at(index(nIndex)) = element; }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    INT_PTR Add(ARG_TYPE element) {
        items_.push_back(element);
        return GetUpperBound();
    }
    // Inserts `count` copies at the index; an index past the end grows the array up to it.
    void InsertAt(INT_PTR nIndex, ARG_TYPE element, INT_PTR count = 1) {
        if (nIndex < 0 || count < 0)
            throw std::out_of_range("CArray::InsertAt");
        if (static_cast<size_t>(nIndex) > items_.size())
            items_.resize(static_cast<size_t>(nIndex));
        items_.insert(items_.begin() + nIndex, static_cast<size_t>(count), element);
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR count = 1) {
        if (nIndex < 0 || count < 0 || static_cast<size_t>(nIndex + count) > items_.size())
            throw std::out_of_range("CArray::RemoveAt");
        items_.erase(items_.begin() + nIndex, items_.begin() + nIndex + count);
    }
    TYPE* GetData() { return items_.data(); }
    const TYPE* GetData() const { return items_.data(); }

private:
    static size_t index(INT_PTR nIndex) {
        if (nIndex < 0)
            throw std::out_of_range("CArray index");
        return static_cast<size_t>(nIndex);
    }
    std::vector<TYPE> items_;
};

DV_EXPORTS_END
