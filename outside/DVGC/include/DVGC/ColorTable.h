// The program's colour table and the colour word every element carries: below 256 an index into
// this table; an RGB colour is its COLORREF shifted left by 8 bits, so the low byte stays 0.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <cstdint>
#include <string>

DV_EXPORTS_BEGIN

class CColorTable {
public:
    CColorTable();
    // The COLORREF to draw a colour word with; a word that is neither a table index nor an RGB
    // colour (low byte set above 255) draws black.
    COLORREF GetColor(std::uint32_t value) const;
    // Non-zero for a named colour, its name then in `name`; `name` is emptied otherwise.
    int GetColorName(std::uint32_t value, std::wstring& name) const;
    int GetColorsNumber() const { return kCount; }

    static constexpr int kCount = 256;
    static constexpr std::uint32_t FromRgb(COLORREF rgb) { return (rgb & 0xFFFFFFu) << 8; }

private:
    COLORREF colors_[kCount];
};

// The one table of the process.
CColorTable& GetColorTable();

DV_EXPORTS_END
