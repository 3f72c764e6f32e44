// The band of a tab's groups, laid out, drawn and hit-tested the same way in the ribbon and in
// the popup of a minimised ribbon's tab.
#pragma once

#include "xtp/RibbonBar.h"

struct CXTPRibbonGroupsLayout {
    struct Hit {
        CXTPRibbonGroup* group = nullptr;
        CXTPControl* control = nullptr;
        BOOL launcher = FALSE;
    };
    // Places the visible groups of the tab from the left of `rc`, reduced to fit its width.
    static void Layout(CDC* pDC, CXTPRibbonBar* pRibbon, CXTPRibbonTab* pTab, CRect rc);
    // The width the tab's groups take at their full size.
    static int FullWidth(CDC* pDC, CXTPRibbonBar* pRibbon, CXTPRibbonTab* pTab);
    static void Draw(CDC* pDC, CXTPRibbonBar* pRibbon, CXTPRibbonTab* pTab);
    static Hit HitTest(CXTPRibbonTab* pTab, CPoint point);
    // Whether a control shows as a ribbon button (drawn by the ribbon) rather than by itself.
    static BOOL IsButton(const CXTPControl* pControl);
    // The size a control takes when its group is at a level.
    static int SizeAt(const CXTPControl* pControl, int nLevel);
};
