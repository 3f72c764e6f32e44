#include "xtp/ControlTheme.h"

XTP_CONTROL_THEME_COLORS XTPGetControlThemeColors(XTPControlTheme theme) {
    switch (theme) {
    case xtpControlThemeOffice2013:
        return {RGB(253, 253, 253), RGB(68, 68, 68),    RGB(171, 171, 171),
                RGB(213, 225, 242), RGB(163, 189, 227), RGB(205, 230, 247),
                RGB(38, 38, 38),    RGB(160, 160, 160), TRUE};
    case xtpControlThemeVisualStudio2015:
        return {RGB(51, 51, 55),    RGB(241, 241, 241), RGB(84, 84, 92),
                RGB(62, 62, 64),    RGB(0, 122, 204),   RGB(51, 153, 255),
                RGB(255, 255, 255), RGB(101, 101, 101), TRUE};
    default:
        return {::GetSysColor(COLOR_BTNFACE),       ::GetSysColor(COLOR_BTNTEXT),
                ::GetSysColor(COLOR_BTNSHADOW),     ::GetSysColor(COLOR_BTNHIGHLIGHT),
                ::GetSysColor(COLOR_BTNSHADOW),     ::GetSysColor(COLOR_HIGHLIGHT),
                ::GetSysColor(COLOR_HIGHLIGHTTEXT), ::GetSysColor(COLOR_GRAYTEXT),
                theme == xtpControlThemeFlat};
    }
}
