// The looks the tool kit's wrappers of standard controls (buttons, lists, trees, combo boxes)
// take: the system's, or the light and dark flat looks that match the bars' themes.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

enum XTPControlTheme {
    xtpControlThemeDefault = 0,          // the system colours
    xtpControlThemeFlat = 1,             // flat, system colours
    xtpControlThemeOffice2013 = 2,       // flat, light
    xtpControlThemeVisualStudio2015 = 3, // flat, dark
};

struct XTP_CONTROL_THEME_COLORS {
    COLORREF clrFace; // a button's face, a list's ground
    COLORREF clrText;
    COLORREF clrBorder;
    COLORREF clrHotFace; // under the pointer
    COLORREF clrPushedFace;
    COLORREF clrHighlight; // a selected item
    COLORREF clrHighlightText;
    COLORREF clrDisabledText;
    BOOL bFlat;
};

// The colours of a look; an unknown look gives the system's.
XTP_CONTROL_THEME_COLORS XTPGetControlThemeColors(XTPControlTheme theme);

DV_EXPORTS_END
