// A bitmap owned by the object that holds it: made from a handle it takes over, copied pixel
// for pixel, and compared by its pixels.
#pragma once

#include "pal/visibility.h"
#include "win/gdi/bitmap.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

class CWinBMP {
public:
    CWinBMP() = default;
    // Takes over `bitmap` (may be null).
    explicit CWinBMP(HBITMAP bitmap) : bitmap_(bitmap) {}
    ~CWinBMP();
    CWinBMP(const CWinBMP& other);
    CWinBMP& operator=(const CWinBMP& other);
    CWinBMP(CWinBMP&& other) noexcept;
    CWinBMP& operator=(CWinBMP&& other) noexcept;

    // Takes over `bitmap`, releasing the one held before.
    void Attach(HBITMAP bitmap);
    void Release();
    HBITMAP GetHandle() const { return bitmap_; }
    bool IsEmpty() const { return bitmap_ == nullptr; }
    // Zero for an empty bitmap.
    SIZE GetSize() const;

    // Equal when both are empty or both hold the same size and the same pixels.
    bool operator==(const CWinBMP& other) const;

private:
    HBITMAP bitmap_ = nullptr;
};

DV_EXPORTS_END
