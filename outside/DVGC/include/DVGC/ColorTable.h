// The graphics library's colour table: the 256 indexed colours every element colour may name.
// A colour value below 256 is an index into it; a larger one carries its own COLORREF shifted
// left by 8 bits.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <array>
#include <cstdint>
#include <string>

DV_EXPORTS_BEGIN

class CColorTable {
public:
    static constexpr int kColors = 256;
    CColorTable();
    // The COLORREF (0x00BBGGRR) of a colour value: a table colour by its index, an RGB value
    // by its own bits.
    COLORREF GetColor(std::uint32_t value) const;
    int GetColorsNumber() const { return kColors; }
    // Non-zero for a named colour (the first sixteen), its name then in `name`; `name` is
    // emptied otherwise.
    int GetColorName(std::uint32_t value, std::wstring& name) const;
    // The colour value of an RGB colour.
    static constexpr std::uint32_t FromRgb(COLORREF rgb) { return (rgb & 0x00FFFFFFu) << 8; }

private:
    std::array<COLORREF, kColors> colors_{};
};

// The process's one table.
CColorTable* GetColorTable();

DV_EXPORTS_END
