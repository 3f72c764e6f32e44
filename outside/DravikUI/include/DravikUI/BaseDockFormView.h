// The command dock forms: the parameter forms docked beside the drawing. Every form paints its
// background in one colour of the process, which follows the light and dark themes.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

class CBaseDockFormView {
public:
    // White until the application says otherwise.
    static void SetDefaultBackgroundColor(COLORREF color);
    static COLORREF GetDefaultBackgroundColor();
};

DV_EXPORTS_END
