// The graphics library's colour table: the 256 indexed colours every element colour may name.
// A colour value below 256 is an index into it; a larger one carries its own COLORREF shifted
// left by 8 bits.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <array>
#include <cstdint>

DV_EXPORTS_BEGIN

class CColorTable {
public:
    static constexpr int kColors = 256;
    CColorTable();
    // The COLORREF (0x00BBGGRR) of a colour value: a table colour by its index, an RGB value
    // by its own bits.
    COLORREF GetColor(std::uint32_t value) const;
    int GetColorsNumber() const { return kColors; }

private:
    std::array<COLORREF, kColors> colors_{};
};

// The process's one table.
CColorTable* GetColorTable();

DV_EXPORTS_END
