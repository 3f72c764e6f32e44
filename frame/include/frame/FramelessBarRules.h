// Which of a frame's bars show for its modes: the classic bars that stand in for frameless ones
// outside ribbon mode or when a frameless one is off, and the frameless bars locked off or left
// to follow the view. Positions come from the kernel's settings: -1 off, -2 (the view bar) off
// as well, 2 popups open to the left.
#pragma once

#include "DravikUI/ToolBars.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace dvframe {

using FramelessBarPositions = Dravik::UI::FramelessToolBarPositions;

struct FramelessBarInputs {
    bool ribbonMode = false;
    int screenMode = 0; // 0 window, 1 full screen with bars, 2 clean screen
    FramelessBarPositions positions;
    bool systemPanelShown = false;
    bool hideExpandButtons = false;
};

struct FramelessBarRules {
    // The ribbon: its frame theme and which minimised flag it takes (the full-screen one or not).
    bool ribbonFrameTheme = false;
    bool ribbonFullScreenMinimized = false;
    // The classic auto-menu bar; in ribbon mode the three further fixed bars.
    bool classicAutoMenuVisible = false;
    bool expandButtons = true;
    bool fixedBar1Hidden = false;
    bool fixedBar2Hidden = false;
    bool fixedViewBarVisible = false;
    // Frameless bars: true means locked off; false, left to follow the view.
    bool autoMenuOff = false;
    bool autoMenuLeftPopups = false;
    bool selectionFilterOff = false;
    // The selection filter bar's main section and sections 1 and 2, and its further section.
    bool selectionSectionsOff = false;
    bool selectionFurtherSectionOff = false;
    bool splitOff = false;
    bool viewOff = false;
    bool viewLeftPopups = false;
    bool editInPlaceOff = false;
    bool feaTaskModelOff = false;
    bool drawingViewOff = false;
};

FramelessBarRules DecideFramelessBars(const FramelessBarInputs& inputs);

} // namespace dvframe

DV_EXPORTS_END
