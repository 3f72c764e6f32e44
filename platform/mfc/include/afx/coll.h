// Collections of the class library; for now the array of bytes that carries posted data.
#pragma once

#include "afx/object.h"
#include "pal/visibility.h"

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

DV_EXPORTS_END
