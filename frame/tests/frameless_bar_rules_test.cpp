// Which bars a frame shows for its modes and the settings' positions of its frameless bars.
#include "frame/FramelessBarRules.h"

#include <gtest/gtest.h>

namespace {

using dvframe::DecideFramelessBars;
using dvframe::FramelessBarInputs;
using dvframe::FramelessBarRules;

// One position for every frameless bar, so that a row reads as one setting.
FramelessBarInputs inputs(bool ribbon, int screenMode, int position) {
    FramelessBarInputs in;
    in.ribbonMode = ribbon;
    in.screenMode = screenMode;
    in.positions = {position, position, position, position, position, position, position};
    return in;
}

TEST(FramelessBarRules, PositionsAndModesDecideEachBar) {
    struct Case {
        bool ribbon;
        int screenMode;
        int position;
        bool classicAutoMenu, autoMenuOff, leftPopups, splitOff, viewOff, fixedViewBar, othersOff;
    };
    const Case cases[] = {
        // ribbon, screen, position: classic, autoOff, left, splitOff, viewOff, fixedView, othersOff
        {true, 0, 1, false, false, false, false, false, false, false},
        {true, 0, 2, false, false, true, false, false, false, false},
        {true, 0, -1, true, true, false, true, true, true, true},
        {true, 0, -2, false, false, false, false, true, false, false},
        {true, 1, -1, true, true, false, true, true, true, true},
        {true, 2, -1, false, false, false, true, false, false, true}, // clean screen: nothing stands in
        {true, 2, -2, false, false, false, false, true, false, false},
        {true, 2, 2, false, false, true, false, false, false, false},
        {false, 0, 1, false, true, false, true, false, false, false}, // classic mode
        {false, 0, -1, false, true, false, true, true, false, true},
        {false, 1, 2, false, true, true, true, false, false, false},
        {false, 2, -1, false, true, false, true, false, false, true},
        {false, 2, -2, false, true, false, true, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "ribbon " << c.ribbon << " screen " << c.screenMode << " position " << c.position);
        const FramelessBarRules r = DecideFramelessBars(inputs(c.ribbon, c.screenMode, c.position));
        EXPECT_EQ(r.classicAutoMenuVisible, c.classicAutoMenu);
        EXPECT_EQ(r.autoMenuOff, c.autoMenuOff);
        EXPECT_EQ(r.autoMenuLeftPopups, c.leftPopups);
        EXPECT_EQ(r.viewLeftPopups, c.leftPopups);
        EXPECT_EQ(r.splitOff, c.splitOff);
        EXPECT_EQ(r.viewOff, c.viewOff);
        EXPECT_EQ(r.fixedViewBarVisible, c.fixedViewBar);
        EXPECT_EQ(r.selectionFurtherSectionOff, c.fixedViewBar);
        EXPECT_EQ(r.selectionFilterOff, c.othersOff);
        EXPECT_EQ(r.editInPlaceOff, c.othersOff);
        EXPECT_EQ(r.feaTaskModelOff, c.othersOff);
        EXPECT_EQ(r.drawingViewOff, c.othersOff);
    }
}

TEST(FramelessBarRules, TheRibbonTakesTheFrameOnlyInRibbonModeOutsideFullScreen) {
    struct Case {
        bool ribbon;
        int screenMode;
        bool frameTheme, fullScreenFlag, fixed1Hidden, fixed2Hidden;
    };
    const Case cases[] = {
        {true, 0, true, false, true, false},   {true, 1, false, true, true, true},
        {true, 2, true, false, true, false},   {false, 0, false, false, false, false},
        {false, 1, false, true, false, false}, {false, 2, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "ribbon " << c.ribbon << " screen " << c.screenMode);
        const FramelessBarRules r = DecideFramelessBars(inputs(c.ribbon, c.screenMode, 1));
        EXPECT_EQ(r.ribbonFrameTheme, c.frameTheme);
        EXPECT_EQ(r.ribbonFullScreenMinimized, c.fullScreenFlag);
        EXPECT_EQ(r.fixedBar1Hidden, c.fixed1Hidden);
        EXPECT_EQ(r.fixedBar2Hidden, c.fixed2Hidden);
    }
}

TEST(FramelessBarRules, TheFilterSectionsGiveWayToAShownSystemPanel) {
    for (bool shown : {false, true}) {
        FramelessBarInputs in = inputs(true, 0, 1);
        in.systemPanelShown = shown;
        EXPECT_EQ(DecideFramelessBars(in).selectionSectionsOff, shown);
    }
    FramelessBarInputs in = inputs(true, 0, 1);
    in.hideExpandButtons = true;
    EXPECT_FALSE(DecideFramelessBars(in).expandButtons);
    EXPECT_TRUE(DecideFramelessBars(inputs(true, 0, 1)).expandButtons);
}

} // namespace
