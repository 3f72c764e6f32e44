#include "app/StartPageThemes.h"

#include <array>
#include <utility>

int ThemeFromName(std::wstring_view name) {
    static constexpr std::array<std::pair<std::wstring_view, int>, 8> kLooks = {{
        {L"office2010black", 1},
        {L"office2013light", 2},
        {L"office2013dark", 3},
        {L"office2016black", 3},
        {L"office2016dark", 3},
        {L"office2016white", 2},
        {L"msvs2015light", 4},
        {L"msvs2015dark", 5},
    }};
    for (const auto& [theme, look] : kLooks) {
        if (theme == name)
            return look;
    }
    return 0;
}
