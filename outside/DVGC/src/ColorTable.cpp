#include "DVGC/ColorTable.h"

#include <iterator>

namespace {

constexpr COLORREF rgb(unsigned r, unsigned g, unsigned b) {
    return static_cast<COLORREF>(r | (g << 8) | (b << 16));
}

// The first sixteen are the colours a drawing names most: black, the primaries and their
// mixes, white and the greys between.
constexpr COLORREF kBasic[16] = {
    rgb(0, 0, 0),       rgb(255, 0, 0),     rgb(255, 255, 0), rgb(0, 255, 0),
    rgb(0, 255, 255),   rgb(0, 0, 255),     rgb(255, 0, 255), rgb(255, 255, 255),
    rgb(128, 128, 128), rgb(192, 192, 192), rgb(128, 0, 0),   rgb(128, 128, 0),
    rgb(0, 128, 0),     rgb(0, 128, 128),   rgb(0, 0, 128),   rgb(128, 0, 128),
};

const wchar_t* const kNames[16] = {
    L"Black", L"Red",        L"Yellow",   L"Green", L"Cyan",       L"Blue",      L"Magenta",   L"White",
    L"Grey",  L"Light grey", L"Dark red", L"Olive", L"Dark green", L"Dark cyan", L"Dark blue", L"Purple",
};

} // namespace

CColorTable::CColorTable() {
    int i = 0;
    for (COLORREF c : kBasic)
        colors_[i++] = c;
    // Then a 6 x 6 x 6 cube of evenly spaced levels, and the rest a ramp of greys.
    for (unsigned r = 0; r < 6; ++r)
        for (unsigned g = 0; g < 6; ++g)
            for (unsigned b = 0; b < 6; ++b)
                colors_[i++] = rgb(r * 51, g * 51, b * 51);
    const int greys = kColors - i;
    for (int k = 0; i < kColors; ++i, ++k) {
        const unsigned level = static_cast<unsigned>(8 + k * 240 / (greys - 1));
        colors_[i] = rgb(level, level, level);
    }
}

COLORREF CColorTable::GetColor(std::uint32_t value) const {
    if (value < kColors)
        return colors_[value];
    return static_cast<COLORREF>(value >> 8) & 0x00FFFFFF;
}

int CColorTable::GetColorName(std::uint32_t value, std::wstring& name) const {
    if (value < std::size(kNames)) {
        name = kNames[value];
        return 1;
    }
    name.clear();
    return 0;
}

CColorTable* GetColorTable() {
    static CColorTable table;
    return &table;
}
