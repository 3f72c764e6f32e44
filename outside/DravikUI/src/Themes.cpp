#include "DravikUI/Themes.h"

#include <array>

namespace Dravik::UI {

namespace {

constexpr std::array<ThemeInfo, 8> kThemes = {{
    {L"office2010black", L"Black (2010)"},
    {L"office2013light", L"Light (2013)"},
    {L"office2013dark", L"Dark (2013)"},
    {L"office2016black", L"Black"},
    {L"office2016dark", L"Dark Grey"},
    {L"office2016white", L"White"},
    {L"msvs2015light", L"Studio Light"},
    {L"msvs2015dark", L"Studio Dark"},
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

} // namespace Dravik::UI
