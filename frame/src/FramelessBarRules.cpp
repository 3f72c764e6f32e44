#include "frame/FramelessBarRules.h"

namespace dvframe {

namespace {
constexpr int kOff = -1;
constexpr int kViewBarOff = -2;
constexpr int kLeftPopups = 2;
constexpr int kFullScreen = 1;
constexpr int kCleanScreen = 2;
} // namespace

FramelessBarRules DecideFramelessBars(const FramelessBarInputs& in) {
    FramelessBarRules out;
    const FramelessBarPositions& at = in.positions;
    const bool cleanScreen = in.screenMode == kCleanScreen;

    out.ribbonFrameTheme = in.ribbonMode && in.screenMode != kFullScreen;
    out.ribbonFullScreenMinimized = !out.ribbonFrameTheme && in.screenMode == kFullScreen;

    out.expandButtons = !in.hideExpandButtons;
    out.classicAutoMenuVisible = in.ribbonMode && at.autoMenu == kOff && !cleanScreen;
    out.fixedBar1Hidden = in.ribbonMode;
    out.fixedBar2Hidden = in.ribbonMode && in.screenMode == kFullScreen;
    out.fixedViewBarVisible = in.ribbonMode && at.view == kOff && !cleanScreen;

    out.autoMenuOff = !in.ribbonMode || out.classicAutoMenuVisible;
    out.autoMenuLeftPopups = at.autoMenu == kLeftPopups;
    out.selectionFilterOff = at.selectionFilter == kOff;
    out.selectionSectionsOff = in.systemPanelShown;
    out.selectionFurtherSectionOff = out.fixedViewBarVisible;
    out.splitOff = !in.ribbonMode || at.split == kOff;
    out.viewOff = (at.view == kOff && !cleanScreen) || at.view == kViewBarOff;
    out.viewLeftPopups = at.view == kLeftPopups;
    out.editInPlaceOff = at.editInPlace == kOff;
    out.feaTaskModelOff = at.feaTaskModel == kOff;
    out.drawingViewOff = at.drawingView == kOff;
    return out;
}

} // namespace dvframe
