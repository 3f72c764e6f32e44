#include "DravikUI/Themes.h"

#include <array>

namespace Dravik::UI {

namespace {

constexpr std::array<ThemeInfo, 8> kThemes = {{
    // Controls take the flat light look in light themes and the flat dark one in dark themes.
    {L"office2010black", L"Black (2010)", xtpControlThemeVisualStudio2015, 4},
    {L"office2013light", L"Light (2013)", xtpControlThemeOffice2013, 4},
    {L"office2013dark", L"Dark (2013)", xtpControlThemeVisualStudio2015, 4},
    {L"office2016black", L"Black", xtpControlThemeVisualStudio2015, 4},
    {L"office2016dark", L"Dark Grey", xtpControlThemeVisualStudio2015, 4},
    {L"office2016white", L"White", xtpControlThemeOffice2013, 4},
    {L"msvs2015light", L"Studio Light", xtpControlThemeOffice2013, 8},
    {L"msvs2015dark", L"Studio Dark", xtpControlThemeVisualStudio2015, 8},
}};

} // namespace

std::span<const ThemeInfo> GetThemeTable() {
    return kThemes;
}

const wchar_t* GetDefaultThemeName() {
    return L"office2013light";
}

const ThemeInfo* FindTheme(std::wstring_view name) {
    for (const ThemeInfo& theme : kThemes) {
        if (name == theme.Name)
            return &theme;
    }
    return nullptr;
}

const ThemeInfo* GetTheme(int number) {
    return number >= 0 && number < static_cast<int>(kThemes.size()) ? &kThemes[static_cast<size_t>(number)]
                                                                    : nullptr;
}

} // namespace Dravik::UI
