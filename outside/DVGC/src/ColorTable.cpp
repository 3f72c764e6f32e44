#include "DVGC/ColorTable.h"

namespace {

constexpr COLORREF rgb(unsigned r, unsigned g, unsigned b) {
    return r | (g << 8) | (b << 16);
}

struct Named {
    COLORREF Color;
    const wchar_t* Name;
};

// Index 0 is black so that RGB black, whose word is also 0, draws the same.
constexpr Named kNamed[] = {
    {rgb(0, 0, 0), L"Black"},         {rgb(255, 0, 0), L"Red"},
    {rgb(0, 255, 0), L"Green"},       {rgb(0, 0, 255), L"Blue"},
    {rgb(0, 255, 255), L"Cyan"},      {rgb(255, 0, 255), L"Magenta"},
    {rgb(255, 255, 0), L"Yellow"},    {rgb(255, 255, 255), L"White"},
    {rgb(128, 128, 128), L"Grey"},    {rgb(128, 0, 0), L"Dark red"},
    {rgb(0, 128, 0), L"Dark green"},  {rgb(0, 0, 128), L"Dark blue"},
    {rgb(0, 128, 128), L"Dark cyan"}, {rgb(128, 0, 128), L"Dark magenta"},
    {rgb(128, 128, 0), L"Olive"},     {rgb(192, 192, 192), L"Light grey"},
};
constexpr int kNamedCount = sizeof(kNamed) / sizeof(kNamed[0]);

} // namespace

CColorTable::CColorTable() {
    for (int i = 0; i < kNamedCount; ++i)
        colors_[i] = kNamed[i].Color;
    // 16..231: a 6x6x6 cube; 232..255: a grey ramp.
    static constexpr unsigned kLevels[] = {0, 51, 102, 153, 204, 255};
    for (int i = 0; i < 216; ++i)
        colors_[16 + i] = rgb(kLevels[i / 36], kLevels[(i / 6) % 6], kLevels[i % 6]);
    for (int i = 0; i < 24; ++i)
        colors_[232 + i] = rgb(8 + 10 * i, 8 + 10 * i, 8 + 10 * i);
}

COLORREF CColorTable::GetColor(std::uint32_t value) const {
    if (value < static_cast<std::uint32_t>(kCount))
        return colors_[value];
    if ((value & 0xFFu) != 0)
        return 0;
    return value >> 8;
}

int CColorTable::GetColorName(std::uint32_t value, std::wstring& name) const {
    if (value < static_cast<std::uint32_t>(kNamedCount)) {
        name = kNamed[value].Name;
        return 1;
    }
    name.clear();
    return 0;
}

CColorTable& GetColorTable() {
    static CColorTable table;
    return table;
}
