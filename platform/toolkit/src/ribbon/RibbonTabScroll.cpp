// A row of tabs longer than the ribbon is wide: arrows at its ends scroll it a tab at a time.
#include "xtp/RibbonBar.h"
#include "xtp/RibbonPaintManager.h"

#include <algorithm>

int CXTPRibbonBar::HitTestTabScroll(CPoint point) const {
    if (m_rcTabScroll[0].PtInRect(point))
        return -1;
    if (m_rcTabScroll[1].PtInRect(point))
        return 1;
    return 0;
}

void CXTPRibbonBar::ScrollTabs(int nTabs) {
    if (nTabs == 0 || m_rcTabScroll[0].IsRectEmpty())
        return;
    // Hidden tabs take no step.
    int first = m_nFirstTab;
    for (int step = nTabs > 0 ? 1 : -1; nTabs != 0; nTabs -= step) {
        if (step > 0 && !m_bTabsCutOff)
            break;
        int next = first + step;
        while (next >= 0 && next < GetTabCount() && !GetTab(next)->IsVisible())
            next += step;
        if (next < 0 || next >= GetTabCount())
            break;
        first = next;
        m_nFirstTab = first;
        OnRecalcLayout(); // lays out again, which says whether anything is cut off still
    }
    Invalidate(FALSE);
}

void CXTPRibbonBar::DrawTabScrollButtons(CDC* pDC) {
    if (m_rcTabScroll[0].IsRectEmpty())
        return;
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    const BOOL canScroll[2] = {m_nFirstTab > 0, m_bTabsCutOff};
    for (int i = 0; i < 2; ++i) {
        int state = canScroll[i] ? 0 : xtpRibbonButtonDisabled;
        if (canScroll[i] && m_rcTabScroll[i].PtInRect(cursor))
            state |= xtpRibbonButtonHot;
        CXTPRibbonPaintManager::Current()->DrawTabScrollButton(pDC, m_rcTabScroll[i], i == 1, state);
    }
}
