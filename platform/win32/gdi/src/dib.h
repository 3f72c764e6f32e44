// The DIB section: a bitmap whose pixels live in memory the program writes directly.
#pragma once

#include "object.h"
#include "win/gdi/bitmap.h"

#include <memory>

namespace pal::gdi {

struct DibSection : Bitmap {
    ~DibSection() override;
    BITMAPINFOHEADER header{};
    size_t stride = 0;      // bytes per row of the program's memory
    BYTE* memory = nullptr; // owned by the surface, so it lives as long as any copy of it
    // 24-bit sections keep the program's memory and the pixels apart; these copy between them.
    void memoryToPixels();
    void pixelsToMemory();
    bool separate() const { return header.biBitCount == 24; }
};

} // namespace pal::gdi
