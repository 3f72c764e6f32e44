#include "xtp/RibbonPaintManager.h"

#include <algorithm>
#include <utility>

namespace {

// A caption of a large button on two lines: split at the space that makes the wider line
// narrowest.
std::pair<CString, CString> splitCaption(CDC* dc, const CString& caption) {
    std::pair<CString, CString> best{caption, CString()};
    int bestWidth = dc->GetTextExtent(caption).cx;
    for (int i = caption.Find(L' '); i >= 0; i = caption.Find(L' ', i + 1)) {
        const CString a = caption.Left(i), b = caption.Mid(i + 1);
        const int w = std::max(dc->GetTextExtent(a).cx, dc->GetTextExtent(b).cx);
        if (w < bestWidth) {
            bestWidth = w;
            best = {a, b};
        }
    }
    return best;
}

void frameRect(CDC* dc, const CRect& r, COLORREF c) {
    dc->Draw3dRect(&r, c, c);
}

void line(CDC* dc, int x1, int y1, int x2, int y2, COLORREF c) {
    CPen pen(PS_SOLID, 1, c);
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(x1, y1);
    dc->LineTo(x2, y2);
    dc->SelectObject(old);
}

// A placeholder picture for a button without an icon: a rounded square in the accent colour.
void drawNoIcon(CDC* dc, const CRect& r, COLORREF c) {
    CRect inner = r;
    inner.DeflateRect(r.Width() / 8, r.Height() / 8);
    dc->FillSolidRect(&inner, c);
}

// A small filled triangle pointing down, centred in `r`.
void drawArrowDown(CDC* dc, const CRect& r, COLORREF c) {
    const CPoint centre = r.CenterPoint();
    const int half = std::max(2, CXTPDpi::ScaleX(3));
    for (int row = 0; row < half; ++row)
        dc->FillSolidRect(CRect(centre.x - half + row, centre.y - half / 2 + row, centre.x + half - row + 1,
                                centre.y - half / 2 + row + 1),
                          c);
}

} // namespace

CXTPRibbonPaintManager* CXTPRibbonPaintManager::Current() {
    static CXTPRibbonPaintManager* instance = new CXTPRibbonPaintManager;
    return instance;
}

const XTP_THEME_COLORS& CXTPRibbonPaintManager::Colors() const {
    return CXTPPaintManager::Current()->GetColors();
}

int CXTPRibbonPaintManager::GetCaptionHeight() const {
    return CXTPDpi::ScaleY(30);
}
int CXTPRibbonPaintManager::GetTabsHeight() const {
    return CXTPDpi::ScaleY(25);
}
int CXTPRibbonPaintManager::GetGroupsHeight() const {
    return CXTPDpi::ScaleY(96);
}
int CXTPRibbonPaintManager::GetGroupCaptionHeight() const {
    return CXTPDpi::ScaleY(18);
}
int CXTPRibbonPaintManager::GetEditHeight() const {
    return CXTPDpi::ScaleY(22);
}
int CXTPRibbonPaintManager::GetSmallRowHeight() const {
    return CXTPDpi::ScaleY(23);
}
int CXTPRibbonPaintManager::GetLargeIconSize() const {
    return CXTPDpi::ScaleIcon(32);
}
int CXTPRibbonPaintManager::GetSmallIconSize() const {
    return CXTPDpi::ScaleIcon(16);
}

COLORREF CXTPRibbonPaintManager::GetContextColor(XTPRibbonTabContextColor color) const {
    static const COLORREF colors[] = {RGB(0, 0, 0),      RGB(52, 120, 200), RGB(232, 180, 30),
                                      RGB(70, 160, 70),  RGB(210, 60, 60),  RGB(140, 80, 180),
                                      RGB(40, 170, 190), RGB(235, 120, 30)};
    const int index = static_cast<int>(color);
    return index > 0 && index < static_cast<int>(std::size(colors)) ? colors[index] : Colors().clrAccent;
}

COLORREF CXTPRibbonPaintManager::GetGroupsFace() const {
    // The band of groups sits a shade apart from the tabs above it.
    const XTP_THEME_COLORS& c = Colors();
    return CXTPPaintManager::Current()->IsDarkTheme()
               ? CXTPDrawHelpers::BlendColors(c.clrBarFace, c.clrWindow, 0.6)
               : CXTPDrawHelpers::BlendColors(c.clrWindow, c.clrBarBorder, 0.7);
}
COLORREF CXTPRibbonPaintManager::GetTabsFace() const {
    return Colors().clrBarFace;
}
COLORREF CXTPRibbonPaintManager::GetCaptionFace() const {
    return Colors().clrCaptionFace;
}
COLORREF CXTPRibbonPaintManager::GetCaptionText() const {
    return Colors().clrCaptionText;
}

COLORREF CXTPRibbonPaintManager::StateFace(int nState, COLORREF clrNormal) const {
    const XTP_THEME_COLORS& c = Colors();
    if (nState & xtpRibbonButtonDisabled)
        return clrNormal;
    if (nState & xtpRibbonButtonPressed)
        return c.clrPressedFace;
    if (nState & xtpRibbonButtonChecked)
        return c.clrCheckedFace;
    if (nState & xtpRibbonButtonHot)
        return c.clrHotFace;
    return clrNormal;
}

void CXTPRibbonPaintManager::FillRibbonBar(CDC* pDC, const CRect& rcCaption, const CRect& rcTabs,
                                           const CRect& rcGroups) {
    if (!rcCaption.IsRectEmpty())
        pDC->FillSolidRect(&rcCaption, GetCaptionFace());
    pDC->FillSolidRect(&rcTabs, GetTabsFace());
    if (!rcGroups.IsRectEmpty()) {
        pDC->FillSolidRect(&rcGroups, GetGroupsFace());
        line(pDC, rcGroups.left, rcGroups.top, rcGroups.right, rcGroups.top, Colors().clrBarBorder);
        line(pDC, rcGroups.left, rcGroups.bottom - 1, rcGroups.right, rcGroups.bottom - 1,
             Colors().clrBarBorder);
    } else {
        line(pDC, rcTabs.left, rcTabs.bottom - 1, rcTabs.right, rcTabs.bottom - 1, Colors().clrBarBorder);
    }
}

void CXTPRibbonPaintManager::DrawCaptionText(CDC* pDC, CRect rc, LPCWSTR lpszTitle) {
    CFont* old = pDC->SelectObject(CXTPPaintManager::Current()->GetRegularFont());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetCaptionText());
    pDC->DrawText(lpszTitle, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    pDC->SelectObject(old);
}

void CXTPRibbonPaintManager::DrawCaptionControl(CDC* pDC, CRect rc, LPCWSTR lpszCaption, HICON hIcon,
                                                int nIconSize, int nState, BOOL bDropDown) {
    const COLORREF text = GetCaptionText();
    if (!(nState & xtpRibbonButtonDisabled) && (nState & (xtpRibbonButtonHot | xtpRibbonButtonPressed)))
        pDC->FillSolidRect(&rc, CXTPDrawHelpers::BlendColors(text, GetCaptionFace(), 0.2));
    int x = rc.left + 3;
    if (hIcon != nullptr) {
        ::DrawIconEx(pDC->GetSafeHdc(), x, rc.CenterPoint().y - nIconSize / 2, hIcon, nIconSize, nIconSize, 0,
                     nullptr, DI_NORMAL);
        x += nIconSize + 3;
    }
    const int arrow = bDropDown ? CXTPDpi::ScaleX(10) : 0;
    CRect caption(x, rc.top, rc.right - arrow - 2, rc.bottom);
    CFont* old = pDC->SelectObject(CXTPPaintManager::Current()->GetRegularFont());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(text);
    pDC->DrawText(CXTPDrawHelpers::StripMnemonics(lpszCaption), -1, &caption,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    pDC->SelectObject(old);
    if (bDropDown)
        drawArrowDown(pDC, CRect(rc.right - arrow - 2, rc.top, rc.right - 2, rc.bottom), text);
}

void CXTPRibbonPaintManager::DrawCaptionButton(CDC* pDC, CRect rc, UINT nCommand, int nState) {
    const COLORREF text = GetCaptionText();
    if (nState & (xtpRibbonButtonHot | xtpRibbonButtonPressed))
        pDC->FillSolidRect(&rc, nCommand == SC_CLOSE
                                    ? RGB(232, 17, 35)
                                    : CXTPDrawHelpers::BlendColors(text, GetCaptionFace(), 0.2));
    const CPoint c = rc.CenterPoint();
    const int h = CXTPDpi::ScaleX(5);
    switch (nCommand) {
    case SC_CLOSE:
        line(pDC, c.x - h, c.y - h, c.x + h + 1, c.y + h + 1, text);
        line(pDC, c.x + h, c.y - h, c.x - h - 1, c.y + h + 1, text);
        break;
    case SC_MINIMIZE:
        line(pDC, c.x - h, c.y, c.x + h + 1, c.y, text);
        break;
    case SC_MAXIMIZE:
        frameRect(pDC, CRect(c.x - h, c.y - h, c.x + h + 1, c.y + h + 1), text);
        break;
    case SC_RESTORE:
        frameRect(pDC, CRect(c.x - h + 2, c.y - h, c.x + h + 1, c.y + h - 1), text);
        pDC->FillSolidRect(CRect(c.x - h, c.y - h + 2, c.x + h - 1, c.y + h + 1), GetCaptionFace());
        frameRect(pDC, CRect(c.x - h, c.y - h + 2, c.x + h - 1, c.y + h + 1), text);
        break;
    default:
        break;
    }
}

void CXTPRibbonPaintManager::DrawContextHeader(CDC* pDC, CRect rc, LPCWSTR lpszCaption,
                                               XTPRibbonTabContextColor color) {
    const COLORREF c = GetContextColor(color);
    pDC->FillSolidRect(&rc, CXTPDrawHelpers::BlendColors(c, GetCaptionFace(), 0.35));
    pDC->FillSolidRect(CRect(rc.left, rc.top, rc.right, rc.top + CXTPDpi::ScaleY(4)), c);
    CFont* old = pDC->SelectObject(CXTPPaintManager::Current()->GetRegularFont());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetCaptionText());
    rc.top += CXTPDpi::ScaleY(4);
    pDC->DrawText(lpszCaption, -1, &rc,
                  DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    pDC->SelectObject(old);
}

void CXTPRibbonPaintManager::DrawTab(CDC* pDC, CRect rc, LPCWSTR lpszCaption, BOOL bSelected, int nState,
                                     XTPRibbonTabContextColor color) {
    const XTP_THEME_COLORS& c = Colors();
    if (color != xtpRibbonTabContextColorNone) {
        const COLORREF context = GetContextColor(color);
        pDC->FillSolidRect(&rc, CXTPDrawHelpers::BlendColors(context, GetTabsFace(), 0.15));
        pDC->FillSolidRect(CRect(rc.left, rc.top, rc.right, rc.top + 2), context);
    }
    if (bSelected) {
        CRect face = rc;
        face.bottom += 1; // joins the band of groups below
        pDC->FillSolidRect(&face, GetGroupsFace());
        line(pDC, rc.left, rc.bottom, rc.left, rc.top, c.clrBarBorder);
        line(pDC, rc.left, rc.top, rc.right - 1, rc.top, c.clrBarBorder);
        line(pDC, rc.right - 1, rc.top, rc.right - 1, rc.bottom, c.clrBarBorder);
        if (color != xtpRibbonTabContextColorNone)
            pDC->FillSolidRect(CRect(rc.left, rc.top, rc.right, rc.top + 2), GetContextColor(color));
    } else if (nState & xtpRibbonButtonHot) {
        CRect face = rc;
        face.DeflateRect(1, 2, 1, 1);
        pDC->FillSolidRect(&face, c.clrHotFace);
    }
    CFont* old = pDC->SelectObject(CXTPPaintManager::Current()->GetRegularFont());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(bSelected && color == xtpRibbonTabContextColorNone ? c.clrAccent : c.clrText);
    if (CXTPPaintManager::Current()->IsDarkTheme())
        pDC->SetTextColor(c.clrText);
    CXTPDrawHelpers::DrawTextWithMnemonic(pDC, lpszCaption, rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER,
                                          FALSE);
    pDC->SelectObject(old);
}

void CXTPRibbonPaintManager::DrawSystemButton(CDC* pDC, CRect rc, LPCWSTR lpszCaption, int nState) {
    const XTP_THEME_COLORS& c = Colors();
    COLORREF face = c.clrAccent;
    if (nState & (xtpRibbonButtonHot | xtpRibbonButtonPressed))
        face = CXTPDrawHelpers::BlendColors(c.clrAccent, RGB(255, 255, 255), 0.85);
    pDC->FillSolidRect(&rc, face);
    CFont* old = pDC->SelectObject(CXTPPaintManager::Current()->GetRegularFont());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(255, 255, 255));
    CXTPDrawHelpers::DrawTextWithMnemonic(pDC, lpszCaption, rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER,
                                          FALSE);
    pDC->SelectObject(old);
}

CRect CXTPRibbonPaintManager::GetLauncherRect(CRect rcGroup) const {
    const int size = CXTPDpi::ScaleX(14);
    const int captionMid = rcGroup.bottom - GetGroupCaptionHeight() / 2;
    return CRect(rcGroup.right - size - 3, captionMid - size / 2, rcGroup.right - 3,
                 captionMid - size / 2 + size);
}

void CXTPRibbonPaintManager::DrawGroup(CDC* pDC, CRect rcGroup, LPCWSTR lpszCaption, BOOL bLauncher,
                                       int nLauncherState) {
    const XTP_THEME_COLORS& c = Colors();
    // A separator after the group, its caption along the bottom.
    line(pDC, rcGroup.right, rcGroup.top + 4, rcGroup.right, rcGroup.bottom - 4, c.clrSeparator);
    CRect caption(rcGroup.left, rcGroup.bottom - GetGroupCaptionHeight(), rcGroup.right, rcGroup.bottom);
    if (bLauncher)
        caption.right = GetLauncherRect(rcGroup).left;
    CFont* old = pDC->SelectObject(CXTPPaintManager::Current()->GetRegularFont());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(CXTPDrawHelpers::BlendColors(c.clrText, GetGroupsFace(), 0.75));
    CXTPDrawHelpers::DrawTextWithMnemonic(pDC, lpszCaption, caption,
                                          DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS, FALSE);
    pDC->SelectObject(old);
    if (!bLauncher)
        return;
    // The launcher: a corner with an arrow pointing out of it.
    const CRect r = GetLauncherRect(rcGroup);
    if (nLauncherState & (xtpRibbonButtonHot | xtpRibbonButtonPressed))
        pDC->FillSolidRect(&r, StateFace(nLauncherState, GetGroupsFace()));
    const COLORREF ink = CXTPDrawHelpers::BlendColors(c.clrText, GetGroupsFace(), 0.8);
    const int l = r.left + 3, t = r.top + 3, rt = r.right - 4, b = r.bottom - 4;
    line(pDC, l, t, l + 4, t, ink);
    line(pDC, l, t, l, b + 1, ink);
    line(pDC, l, b, rt + 1, b, ink);
    line(pDC, rt, b, rt, b - 5, ink);
    line(pDC, l + 3, t + 3, rt + 1, b + 1, ink);
}

void CXTPRibbonPaintManager::DrawTabScrollButton(CDC* pDC, CRect rc, BOOL bRight, int nState) {
    const XTP_THEME_COLORS& c = Colors();
    pDC->FillSolidRect(&rc, StateFace(nState, GetTabsFace()));
    if (nState & (xtpRibbonButtonHot | xtpRibbonButtonPressed))
        frameRect(pDC, rc, c.clrHotBorder);
    const COLORREF ink = (nState & xtpRibbonButtonDisabled) ? c.clrTextDisabled : c.clrText;
    const CPoint m = rc.CenterPoint();
    const int h = CXTPDpi::ScaleX(4);
    const int dir = bRight ? 1 : -1;
    // A solid triangle, drawn column by column from its point.
    for (int i = 0; i <= h; ++i) {
        const int x = m.x + dir * (h / 2 - i);
        line(pDC, x, m.y - i, x, m.y + i + 1, ink);
    }
}

int CXTPRibbonPaintManager::GetButtonWidth(CDC* pDC, LPCWSTR lpszCaption, int nSize, BOOL bDropDown,
                                           int nIconSize) {
    const int large = nIconSize > 0 ? nIconSize : GetLargeIconSize();
    const int small = nIconSize > 0 ? nIconSize : GetSmallIconSize();
    CFont* old = pDC->SelectObject(CXTPPaintManager::Current()->GetRegularFont());
    const CString caption = CXTPDrawHelpers::StripMnemonics(lpszCaption);
    int width = 0;
    const int arrow = bDropDown ? CXTPDpi::ScaleX(10) : 0;
    if (nSize == 0) {
        const auto lines = splitCaption(pDC, caption);
        const int second = pDC->GetTextExtent(lines.second).cx + (lines.second.IsEmpty() ? 0 : arrow);
        width =
            std::max({large + CXTPDpi::ScaleX(10), pDC->GetTextExtent(lines.first).cx + CXTPDpi::ScaleX(10),
                      second + CXTPDpi::ScaleX(10)});
    } else if (nSize == 1) {
        width = small + CXTPDpi::ScaleX(12) + pDC->GetTextExtent(caption).cx + arrow;
    } else {
        width = small + CXTPDpi::ScaleX(8) + arrow;
    }
    pDC->SelectObject(old);
    return width;
}

void CXTPRibbonPaintManager::DrawButton(CDC* pDC, CRect rc, LPCWSTR lpszCaption, HICON hIcon, int nSize,
                                        int nState, BOOL bDropDown, int nIconSize) {
    const XTP_THEME_COLORS& c = Colors();
    if (!(nState & xtpRibbonButtonDisabled) &&
        (nState & (xtpRibbonButtonHot | xtpRibbonButtonPressed | xtpRibbonButtonChecked))) {
        pDC->FillSolidRect(&rc, StateFace(nState, GetGroupsFace()));
        frameRect(pDC, rc, (nState & xtpRibbonButtonChecked) ? c.clrCheckedBorder : c.clrHotBorder);
    }
    const COLORREF text = (nState & xtpRibbonButtonDisabled) ? c.clrTextDisabled : c.clrText;
    CFont* old = pDC->SelectObject(CXTPPaintManager::Current()->GetRegularFont());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(text);
    const CString caption = CXTPDrawHelpers::StripMnemonics(lpszCaption);
    const int icon = nIconSize > 0 ? nIconSize : nSize == 0 ? GetLargeIconSize() : GetSmallIconSize();
    CRect rcIcon;
    if (nSize == 0)
        rcIcon = CRect(rc.CenterPoint().x - icon / 2, rc.top + 3, rc.CenterPoint().x - icon / 2 + icon,
                       rc.top + 3 + icon);
    else
        rcIcon = CRect(rc.left + 3, rc.CenterPoint().y - icon / 2, rc.left + 3 + icon,
                       rc.CenterPoint().y - icon / 2 + icon);
    if (hIcon)
        ::DrawIconEx(pDC->GetSafeHdc(), rcIcon.left, rcIcon.top, hIcon, icon, icon, 0, nullptr, DI_NORMAL);
    else
        drawNoIcon(pDC, rcIcon, (nState & xtpRibbonButtonDisabled) ? c.clrTextDisabled : c.clrAccent);
    const int arrowSize = CXTPDpi::ScaleX(3);
    if (nSize == 0) {
        const auto lines = splitCaption(pDC, caption);
        const int lineHeight = pDC->GetTextExtent(L"Ag").cy;
        CRect first(rc.left, rcIcon.bottom + 2, rc.right, rcIcon.bottom + 2 + lineHeight);
        pDC->DrawText(lines.first, &first, DT_SINGLELINE | DT_CENTER | DT_TOP | DT_NOPREFIX);
        CRect second = first;
        second.OffsetRect(0, lineHeight);
        if (!lines.second.IsEmpty()) {
            const int w = pDC->GetTextExtent(lines.second).cx + (bDropDown ? CXTPDpi::ScaleX(10) : 0);
            CRect t(rc.CenterPoint().x - w / 2, second.top, rc.CenterPoint().x + w / 2 + 1, second.bottom);
            pDC->DrawText(lines.second, &t, DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOPREFIX);
            if (bDropDown)
                drawArrowDown(pDC, CRect(t.right - CXTPDpi::ScaleX(9), t.top, t.right, t.bottom), text);
        } else if (bDropDown) {
            drawArrowDown(pDC,
                          CRect(rc.CenterPoint().x - 4, second.top, rc.CenterPoint().x + 5,
                                second.top + 2 * arrowSize + 2),
                          text);
        }
    } else {
        CRect t = rc;
        t.left = rcIcon.right + 4;
        if (bDropDown) {
            CRect arrow(rc.right - CXTPDpi::ScaleX(10), rc.top, rc.right - 1, rc.bottom);
            drawArrowDown(pDC, arrow, text);
            t.right = arrow.left;
        }
        if (nSize == 1)
            pDC->DrawText(caption, &t, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    pDC->SelectObject(old);
}

CSize CXTPRibbonPaintManager::GetKeyTipSize(CDC* pDC, LPCWSTR lpszText) {
    CFont* old = pDC->SelectObject(CXTPPaintManager::Current()->GetRegularFont());
    const CSize text = pDC->GetTextExtent(lpszText, static_cast<int>(wcslen(lpszText)));
    pDC->SelectObject(old);
    return CSize(std::max<int>(text.cx + 8, CXTPDpi::ScaleX(16)), text.cy + 4);
}

void CXTPRibbonPaintManager::DrawKeyTip(CDC* pDC, CRect rc, LPCWSTR lpszText) {
    const XTP_THEME_COLORS& c = Colors();
    // Dark on light themes, light on dark ones, so the tips stand out of the bar either way.
    const BOOL dark = CXTPPaintManager::Current()->IsDarkTheme();
    const COLORREF face = dark ? RGB(240, 240, 240) : RGB(64, 64, 64);
    pDC->FillSolidRect(&rc, face);
    frameRect(pDC, rc, c.clrBarBorder);
    CFont* old = pDC->SelectObject(CXTPPaintManager::Current()->GetRegularFont());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(dark ? RGB(20, 20, 20) : RGB(255, 255, 255));
    pDC->DrawText(lpszText, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    pDC->SelectObject(old);
}

void CXTPRibbonPaintManager::DrawQuickAccessCustomize(CDC* pDC, CRect rc, int nState, BOOL bOnCaption) {
    const COLORREF ink = bOnCaption ? GetCaptionText() : Colors().clrText;
    if (nState & (xtpRibbonButtonHot | xtpRibbonButtonPressed))
        pDC->FillSolidRect(&rc, bOnCaption ? CXTPDrawHelpers::BlendColors(ink, GetCaptionFace(), 0.2)
                                           : StateFace(nState, GetTabsFace()));
    const CPoint c = rc.CenterPoint();
    line(pDC, c.x - 3, c.y - 3, c.x + 4, c.y - 3, ink);
    drawArrowDown(pDC, CRect(c.x - 4, c.y - 1, c.x + 5, c.y + 4), ink);
}
