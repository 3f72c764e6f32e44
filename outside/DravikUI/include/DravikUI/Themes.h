// The UI library's themes: the names the settings keep ("office2016white") and the names menus
// show. Each is drawn by the paint manager's theme of the same name, which also says whether it
// is dark. The theme number is the place in this list; the theme commands are 3401 + number.
// Each theme also names the look of the standard controls and of report controls that go with it.
#pragma once

#include "pal/visibility.h"
#include "xtp/ControlTheme.h"

#include <span>
#include <string_view>

DV_EXPORTS_BEGIN

namespace Dravik::UI {

struct ThemeInfo {
    const wchar_t* Name;
    const wchar_t* DisplayName;
    XTPControlTheme ControlTheme;
    // The report controls' look: 4 the light-and-dark flat one, 8 the studio one (see
    // CreateReportPaintManager).
    int ReportTheme;
};

std::span<const ThemeInfo> GetThemeTable();
// The theme that applies when the settings name none, or one that is not known.
const wchar_t* GetDefaultThemeName();
// Null for a name not in the table (compared exactly).
const ThemeInfo* FindTheme(std::wstring_view name);
// The theme of a theme number, or null outside the table.
const ThemeInfo* GetTheme(int number);

} // namespace Dravik::UI

DV_EXPORTS_END
