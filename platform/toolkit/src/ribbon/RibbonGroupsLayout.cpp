#include "RibbonGroupsLayout.h"

#include "RibbonReduce.h"
#include "xtp/CommandBars.h"
#include "xtp/ImageManager.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr int kPad = 3;

CXTPRibbonPaintManager* paint() {
    return CXTPRibbonPaintManager::Current();
}

int contentHeight() {
    return paint()->GetGroupsHeight() - paint()->GetGroupCaptionHeight() - 2 * kPad;
}

int iconFor(CXTPRibbonBar* ribbon, int size) {
    return size == 0 ? ribbon->GetLargeIconSize().cx : ribbon->GetIconSize().cx;
}

int controlWidth(CDC* dc, CXTPRibbonBar* ribbon, CXTPControl* c, int size) {
    if (CXTPRibbonGroupsLayout::IsButton(c))
        return paint()->GetButtonWidth(dc, c->GetCaption(), size, c->GetType() != xtpControlButton,
                                       iconFor(ribbon, size));
    return c->GetSize(dc).cx;
}

BOOL shown(const CXTPControl* c) {
    return c->IsVisible();
}

// Places (bPlace) or only measures a group's controls at a level from x; its width.
int placeControls(CDC* dc, CXTPRibbonBar* ribbon, CXTPRibbonGroup* g, int level, int x, int top, BOOL place,
                  std::vector<int>* sizes) {
    const int content = contentHeight();
    const int row = content / 3;
    int cx = x + kPad + 1;
    std::vector<std::pair<CXTPControl*, int>> stack;
    auto flush = [&] {
        if (stack.empty())
            return;
        int width = 0;
        for (auto& [c, w] : stack)
            width = std::max(width, w);
        for (size_t i = 0; i < stack.size(); ++i) {
            if (place)
                stack[i].first->SetRect(CRect(cx, top + static_cast<int>(i) * row, cx + width,
                                              top + static_cast<int>(i + 1) * row));
        }
        cx += width + 2;
        stack.clear();
    };
    for (int i = 0; i < g->GetCount(); ++i) {
        CXTPControl* c = g->GetAt(i);
        const int size = CXTPRibbonGroupsLayout::SizeAt(c, level);
        if (sizes)
            (*sizes)[static_cast<size_t>(i)] = size;
        if (!shown(c)) {
            if (place)
                c->SetRect(CRect());
            continue;
        }
        const int w = controlWidth(dc, ribbon, c, size);
        if (size == 0) {
            flush();
            if (place)
                c->SetRect(CRect(cx, top, cx + w, top + content));
            cx += w + 2;
            continue;
        }
        if (stack.size() == 3 || (c->GetBeginGroup() && !stack.empty()))
            flush();
        stack.emplace_back(c, w);
    }
    flush();
    int width = cx - x + kPad;
    // Wide enough for the caption (and the launcher beside it).
    CFont* old = dc->SelectObject(CXTPPaintManager::Current()->GetRegularFont());
    const int caption = dc->GetTextExtent(CXTPDrawHelpers::StripMnemonics(g->GetCaption())).cx + 16 +
                        (g->IsOptionButtonVisible() ? CXTPDpi::ScaleX(16) : 0);
    dc->SelectObject(old);
    return std::max(width, caption);
}

int collapsedWidth(CDC* dc, CXTPRibbonBar* ribbon, CXTPRibbonGroup* g) {
    return paint()->GetButtonWidth(dc, g->GetCaption(), 0, TRUE, iconFor(ribbon, 0)) + 2 * kPad + 2;
}

// A collapsed group's button shows the group's own picture, or else its first button's, so
// that groups collapsed side by side can be told apart.
HICON collapsedIcon(CXTPRibbonBar* ribbon, CXTPRibbonGroup* g, int size) {
    CXTPCommandBars* bars = ribbon->GetCommandBars();
    if (bars && bars->GetImageManager() && g->GetIconId() > 0)
        if (CXTPImageManagerIcon* icon =
                bars->GetImageManager()->GetImage(static_cast<UINT>(g->GetIconId()), size))
            return icon->GetIcon();
    for (int i = 0; i < g->GetCount(); ++i) {
        CXTPControl* c = g->GetAt(i);
        if (!c->IsVisible() || !CXTPRibbonGroupsLayout::IsButton(c))
            continue;
        if (HICON icon = ribbon->GetControlIcon(c, size))
            return icon;
    }
    return nullptr;
}

std::vector<CXTPRibbonGroup*> visibleGroups(CXTPRibbonTab* tab) {
    std::vector<CXTPRibbonGroup*> groups;
    if (!tab)
        return groups;
    for (int i = 0; i < tab->GetGroups()->GetCount(); ++i) {
        CXTPRibbonGroup* g = tab->GetGroups()->GetAt(i);
        if (g->IsVisible())
            groups.push_back(g);
    }
    return groups;
}

} // namespace

BOOL CXTPRibbonGroupsLayout::IsButton(const CXTPControl* c) {
    switch (c->GetType()) {
    case xtpControlButton:
    case xtpControlPopup:
    case xtpControlButtonPopup:
    case xtpControlSplitButtonPopup:
        return TRUE;
    default:
        return FALSE;
    }
}

int CXTPRibbonGroupsLayout::SizeAt(const CXTPControl* c, int nLevel) {
    int largest = 1;
    if (c->GetStyle() == xtpButtonIconAndCaptionBelow)
        largest = 0;
    else if (c->GetStyle() == xtpButtonIcon)
        largest = 2;
    if (!IsButton(c))
        return 1;
    return std::min(2, std::max(largest, nLevel));
}

int CXTPRibbonGroupsLayout::FullWidth(CDC* pDC, CXTPRibbonBar* pRibbon, CXTPRibbonTab* pTab) {
    int width = 0;
    for (CXTPRibbonGroup* g : visibleGroups(pTab))
        width += placeControls(pDC, pRibbon, g, 0, 0, 0, FALSE, nullptr);
    return width;
}

void CXTPRibbonGroupsLayout::Layout(CDC* pDC, CXTPRibbonBar* pRibbon, CXTPRibbonTab* pTab, CRect rc) {
    for (int i = 0; pTab && i < pTab->GetGroups()->GetCount(); ++i)
        pTab->GetGroups()->GetAt(i)->m_rcGroup.SetRectEmpty();
    const std::vector<CXTPRibbonGroup*> groups = visibleGroups(pTab);
    std::vector<xtp_ribbon::GroupWidths> widths(groups.size());
    for (size_t i = 0; i < groups.size(); ++i) {
        for (int level = 0; level < 3; ++level)
            widths[i].width[level] = placeControls(pDC, pRibbon, groups[i], level, 0, 0, FALSE, nullptr);
        widths[i].width[3] = collapsedWidth(pDC, pRibbon, groups[i]);
    }
    // Lower priorities give way first; among equals the later group first.
    std::vector<int> order(groups.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int pa = groups[static_cast<size_t>(a)]->GetReducePriority();
        const int pb = groups[static_cast<size_t>(b)]->GetReducePriority();
        return pa != pb ? pa < pb : a > b;
    });
    const std::vector<xtp_ribbon::GroupSize> sizes =
        xtp_ribbon::reduceToFit(widths, order, rc.Width() - 2, 0);
    int x = rc.left + 2;
    const int top = rc.top + kPad;
    for (size_t i = 0; i < groups.size(); ++i) {
        CXTPRibbonGroup* g = groups[i];
        g->m_nReduceLevel = sizes[i];
        g->m_arrSizes.assign(static_cast<size_t>(g->GetCount()), 0);
        int width = 0;
        if (sizes[i] == xtp_ribbon::kCollapsed) {
            width = widths[i].width[3];
            for (int k = 0; k < g->GetCount(); ++k)
                g->GetAt(k)->SetRect(CRect());
        } else {
            width = placeControls(pDC, pRibbon, g, sizes[i], x, top, TRUE, &g->m_arrSizes);
        }
        g->m_rcGroup = CRect(x, rc.top, x + width, rc.bottom);
        x += width;
    }
}

void CXTPRibbonGroupsLayout::Draw(CDC* pDC, CXTPRibbonBar* pRibbon, CXTPRibbonTab* pTab) {
    for (CXTPRibbonGroup* g : visibleGroups(pTab)) {
        const CRect rc = g->GetRect();
        if (g->IsReduced()) {
            CRect button = rc;
            button.DeflateRect(kPad, kPad, kPad + 1, kPad);
            const int state =
                pRibbon->m_pHotControl == nullptr && pRibbon->m_pHotLauncher == g ? xtpRibbonButtonHot : 0;
            const int iconSize = iconFor(pRibbon, 0);
            paint()->DrawButton(pDC, button, g->GetCaption(), collapsedIcon(pRibbon, g, iconSize), 0, state,
                                TRUE, iconSize);
            paint()->DrawGroup(pDC, rc, L"", FALSE, 0);
            continue;
        }
        const int launcherState = pRibbon->m_pPressedLauncher == g ? xtpRibbonButtonPressed
                                  : pRibbon->m_pHotLauncher == g   ? xtpRibbonButtonHot
                                                                   : 0;
        paint()->DrawGroup(pDC, rc, g->GetCaption(), g->IsOptionButtonVisible(), launcherState);
        for (int i = 0; i < g->GetCount(); ++i) {
            CXTPControl* c = g->GetAt(i);
            if (!c->IsVisible() || c->GetRect().IsRectEmpty())
                continue;
            if (!IsButton(c)) {
                c->Draw(pDC);
                continue;
            }
            const int size =
                i < static_cast<int>(g->m_arrSizes.size()) ? g->m_arrSizes[static_cast<size_t>(i)] : 1;
            const int iconSize = iconFor(pRibbon, size);
            paint()->DrawButton(pDC, c->GetRect(), c->GetCaption(), pRibbon->GetControlIcon(c, iconSize),
                                size, pRibbon->ButtonState(c), c->GetType() != xtpControlButton, iconSize);
        }
    }
}

CXTPRibbonGroupsLayout::Hit CXTPRibbonGroupsLayout::HitTest(CXTPRibbonTab* pTab, CPoint point) {
    Hit hit;
    for (CXTPRibbonGroup* g : visibleGroups(pTab)) {
        if (!g->GetRect().PtInRect(point))
            continue;
        hit.group = g;
        if (g->IsReduced())
            return hit;
        if (g->IsOptionButtonVisible() && paint()->GetLauncherRect(g->GetRect()).PtInRect(point)) {
            hit.launcher = TRUE;
            return hit;
        }
        for (int i = 0; i < g->GetCount(); ++i) {
            CXTPControl* c = g->GetAt(i);
            if (c->IsVisible() && c->GetRect().PtInRect(point)) {
                hit.control = c;
                return hit;
            }
        }
        return hit;
    }
    return hit;
}
