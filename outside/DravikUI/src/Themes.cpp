#include "DravikUI/Themes.h"

#include <array>

namespace Dravik::UI {

namespace {

// Paint themes and colour sets; the numbers are the paint manager's, filled in where the paint
// manager is set (UIModule.cpp maps them onto its enumerations).
enum PaintFamily { Office2010 = 0, Office2013 = 1, Office2016 = 2, Studio2015 = 3 };
enum ColorSet { Black = 0, Light = 1, Dark = 2, White = 3 };

constexpr std::array<ThemeInfo, 8> kThemes = {{
    {L"office2010black", L"Black (2010)", true, Office2010, Black},
    {L"office2013light", L"Light (2013)", false, Office2013, Light},
    {L"office2013dark", L"Dark (2013)", true, Office2013, Dark},
    {L"office2016black", L"Black", true, Office2016, Black},
    {L"office2016dark", L"Dark Grey", true, Office2016, Dark},
    {L"office2016white", L"White", false, Office2016, White},
    {L"msvs2015light", L"Studio Light", false, Studio2015, Light},
    {L"msvs2015dark", L"Studio Dark", true, Studio2015, Dark},
}};

} // namespace

std::span<const ThemeInfo> GetThemeTable() {
    return kThemes;
}

const wchar_t* GetDefaultThemeName() {
    return L"office2016white";
}

const ThemeInfo* FindTheme(std::wstring_view name) {
    for (const ThemeInfo& theme : kThemes) {
        if (name == theme.Name)
            return &theme;
    }
    return nullptr;
}

} // namespace Dravik::UI
