// The look of the bars: flat grounds, a hairline where bars meet, hot and pressed states as
// filled rectangles, captions in the theme's text colour, small filled arrows.
#include "../images/ControlIcon.h"
#include "xtp/CommandBars.h"
#include "xtp/PaintManager.h"

#include <algorithm>

namespace {

int luma(COLORREF c) {
    return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000;
}

// Text that reads on a ground: the theme's own when it does, else black or white.
COLORREF textOn(COLORREF ground, COLORREF preferred) {
    if (std::abs(luma(ground) - luma(preferred)) >= 110)
        return preferred;
    return luma(ground) < 140 ? RGB(255, 255, 255) : RGB(20, 20, 20);
}

void frameRect(CDC* pDC, const CRect& rc, COLORREF clr) {
    pDC->Draw3dRect(&rc, clr, clr);
}

int gutterWidth() {
    return CXTPDpi::ScaleX(28);
}

UINT prefixFlags(CXTPControl* c) {
    CXTPCommandBar* bar = c->GetParent();
    return bar != nullptr && bar->IsKeyboardCuesVisible() ? 0 : DT_HIDEPREFIX;
}

bool isPopupControl(CXTPControl* c) {
    return c->GetType() == xtpControlPopup || c->GetType() == xtpControlButtonPopup ||
           c->GetType() == xtpControlSplitButtonPopup;
}

bool popupOpen(CXTPControl* c) {
    auto* popup = dynamic_cast<CXTPControlPopup*>(c);
    return popup != nullptr && popup->GetPopuped();
}

} // namespace

void CXTPPaintManager::FillCommandBarEntry(CDC* pDC, CXTPCommandBar* pBar) {
    const XTP_THEME_COLORS& c = GetColors();
    CRect rc;
    pBar->GetClientRect(&rc);
    if (pBar->IsPopupBar()) {
        pDC->FillSolidRect(&rc, c.clrPopupFace);
        CRect gutter(rc.left + 1, rc.top + 1, rc.left + 1 + gutterWidth(), rc.bottom - 1);
        if (c.clrPopupGutter != c.clrPopupFace)
            pDC->FillSolidRect(&gutter, c.clrPopupGutter);
        frameRect(pDC, rc, c.clrPopupBorder);
        return;
    }
    const BOOL menu = pBar->GetType() == xtpBarTypeMenuBar;
    pDC->FillSolidRect(&rc, menu ? c.clrMenuBarFace : c.clrBarFace);
    if (pBar->GetPosition() == xtpBarFloating) {
        frameRect(pDC, rc, c.clrBarBorder);
        return;
    }
    // A hairline along the edge that faces the client separates the bar from what follows.
    if (!menu) {
        CPen pen(PS_SOLID, 1, c.clrBarBorder);
        CPen* old = pDC->SelectObject(&pen);
        switch (pBar->GetPosition()) {
        case xtpBarTop:
            pDC->MoveTo(rc.left, rc.bottom - 1);
            pDC->LineTo(rc.right, rc.bottom - 1);
            break;
        case xtpBarBottom:
            pDC->MoveTo(rc.left, rc.top);
            pDC->LineTo(rc.right, rc.top);
            break;
        case xtpBarLeft:
            pDC->MoveTo(rc.right - 1, rc.top);
            pDC->LineTo(rc.right - 1, rc.bottom);
            break;
        default:
            pDC->MoveTo(rc.left, rc.top);
            pDC->LineTo(rc.left, rc.bottom);
            break;
        }
        pDC->SelectObject(old);
    }
}

void CXTPPaintManager::DrawGripper(CDC* pDC, CXTPCommandBar* pBar, CRect rcGripper) {
    const XTP_THEME_COLORS& c = GetColors();
    if (pBar->GetPosition() == xtpBarFloating) {
        // The title strip of a floating bar.
        pDC->FillSolidRect(&rcGripper, c.clrCaptionFace);
        CFont* old = pDC->SelectObject(GetRegularBoldFont());
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(c.clrCaptionText);
        CRect text = rcGripper;
        text.DeflateRect(CXTPDpi::ScaleX(6), 0);
        pDC->DrawText(pBar->GetTitle(), &text,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        pDC->SelectObject(old);
        return;
    }
    // Two columns of small dots.
    const BOOL horizontal = pBar->IsHorizontal();
    const int along0 = horizontal ? rcGripper.top + 2 : rcGripper.left + 2;
    const int along1 = horizontal ? rcGripper.bottom - 2 : rcGripper.right - 2;
    const int across = horizontal ? rcGripper.CenterPoint().x - 2 : rcGripper.CenterPoint().y - 2;
    for (int a = along0; a + 2 <= along1; a += 4) {
        for (int k = 0; k < 2; ++k) {
            if (horizontal)
                pDC->FillSolidRect(across + k * 3, a, 2, 2, c.clrGripper);
            else
                pDC->FillSolidRect(a, across + k * 3, 2, 2, c.clrGripper);
        }
    }
}

void CXTPPaintManager::DrawSeparator(CDC* pDC, CXTPCommandBar* pBar, CXTPControl* pControl, BOOL bHorz) {
    const XTP_THEME_COLORS& c = GetColors();
    const CRect rc = pControl->GetRect();
    const int gap = CXTPDpi::ScaleX(4);
    if (pBar->IsPopupBar()) {
        CRect client;
        pBar->GetClientRect(&client);
        pDC->FillSolidRect(client.left + gutterWidth() + gap, rc.top - gap,
                           client.right - gutterWidth() - 2 * gap - 2, 1, c.clrSeparator);
    } else if (bHorz) {
        pDC->FillSolidRect(rc.left - gap, rc.top + 4, 1, rc.Height() - 8, c.clrSeparator);
    } else {
        pDC->FillSolidRect(rc.left + 4, rc.top - gap, rc.Width() - 8, 1, c.clrSeparator);
    }
}

void CXTPPaintManager::DrawArrow(CDC* pDC, CRect rc, BOOL bDown, COLORREF clr) {
    const CPoint centre = rc.CenterPoint();
    const int size = CXTPDpi::ScaleX(3);
    for (int i = 0; i <= size; ++i) {
        if (bDown)
            pDC->FillSolidRect(centre.x - size + i, centre.y - size / 2 + i, 2 * (size - i) + 1, 1, clr);
        else
            pDC->FillSolidRect(centre.x - size / 2 + i, centre.y - size + i, 1, 2 * (size - i) + 1, clr);
    }
}

CSize CXTPPaintManager::GetControlSize(CDC* pDC, CXTPControl* pControl, BOOL bHorz) {
    const CString caption = pControl->GetCaption();
    const CSize text = pDC->GetTextExtent(CXTPDrawHelpers::StripMnemonics(caption.GetString()));
    CXTPCommandBar* bar = pControl->GetParent();
    const BOOL inPopup = bar != nullptr && bar->IsPopupBar();
    CSize size;
    if (inPopup) {
        size.cx = gutterWidth() + CXTPDpi::ScaleX(10) + text.cx + CXTPDpi::ScaleX(36);
        if (!pControl->GetShortcutText().IsEmpty())
            size.cx += pDC->GetTextExtent(pControl->GetShortcutText()).cx + CXTPDpi::ScaleX(24);
        size.cy = GetPopupItemHeight();
    } else {
        const int pad = CXTPDpi::ScaleX(bar != nullptr && bar->GetType() == xtpBarTypeMenuBar ? 10 : 8);
        CSize icon;
        const bool hasIcon = dv::toolkit::controlIcon(pControl, icon) != nullptr;
        size.cx = text.cx + 2 * pad;
        if (hasIcon)
            size.cx = dv::toolkit::showsCaption(pControl, true) ? size.cx + icon.cx + CXTPDpi::ScaleX(4)
                                                                : icon.cx + CXTPDpi::ScaleX(8);
        if (pControl->GetType() == xtpControlButtonPopup)
            size.cx += CXTPDpi::ScaleX(10);
        if (pControl->GetType() == xtpControlSplitButtonPopup)
            size.cx += GetSplitDropDownWidth();
        size.cy = std::max<int>(GetButtonHeight(), hasIcon ? icon.cy + CXTPDpi::ScaleY(6) : 0);
        size.cx = std::max<int>(size.cx, hasIcon ? 0 : GetButtonHeight());
        if (!bHorz)
            size.cx = std::max<int>(size.cx, GetButtonHeight());
    }
    if (pControl->GetWidth() > 0)
        size.cx = pControl->GetWidth();
    if (pControl->GetHeight() > 0)
        size.cy = pControl->GetHeight();
    return size;
}

void CXTPPaintManager::DrawControl(CDC* pDC, CXTPControl* pControl) {
    const XTP_THEME_COLORS& c = GetColors();
    CXTPCommandBar* bar = pControl->GetParent();
    const CRect rc = pControl->GetRect();
    const BOOL enabled = pControl->GetEnabled();
    const BOOL open = popupOpen(pControl);
    const BOOL hot = pControl->GetSelected() && (enabled || (bar != nullptr && bar->IsPopupBar()));
    const BOOL pressed = pControl->GetPressed() && enabled;
    pDC->SetBkMode(TRANSPARENT);
    CFont* oldFont = pDC->SelectObject(pControl->IsDefaultItem() ? GetRegularBoldFont() : GetRegularFont());

    if (bar != nullptr && bar->IsPopupBar()) {
        CRect row = rc;
        COLORREF ground = c.clrPopupFace;
        if (hot || open) {
            ground = c.clrHotFace;
            pDC->FillSolidRect(&row, ground);
            if (c.clrHotBorder != c.clrHotFace)
                frameRect(pDC, row, c.clrHotBorder);
        }
        if (pControl->GetChecked()) {
            // The check in the icon column: a box in the accent colour with a tick.
            CRect box(rc.left + 3, rc.top + 3, rc.left + gutterWidth() - 3, rc.bottom - 3);
            pDC->FillSolidRect(&box, c.clrCheckedFace);
            frameRect(pDC, box, c.clrCheckedBorder);
            CPen pen(PS_SOLID, std::max(2, CXTPDpi::ScaleX(2)), enabled ? c.clrAccent : c.clrTextDisabled);
            CPen* old = pDC->SelectObject(&pen);
            const CPoint m = box.CenterPoint();
            pDC->MoveTo(m.x - 5, m.y);
            pDC->LineTo(m.x - 2, m.y + 3);
            pDC->LineTo(m.x + 5, m.y - 4);
            pDC->SelectObject(old);
        }
        CSize iconSize;
        if (CXTPImageManagerIcon* icon = dv::toolkit::controlIcon(pControl, iconSize);
            icon != nullptr && !pControl->GetChecked())
            icon->Draw(
                pDC,
                CPoint(rc.left + (gutterWidth() - iconSize.cx) / 2, rc.top + (rc.Height() - iconSize.cy) / 2),
                iconSize, dv::toolkit::iconState(pControl, hot, false));
        const COLORREF ink =
            enabled ? textOn(ground, (hot || open) ? c.clrHotText : c.clrText) : c.clrTextDisabled;
        pDC->SetTextColor(ink);
        CRect text(rc.left + gutterWidth() + CXTPDpi::ScaleX(8), rc.top, rc.right - CXTPDpi::ScaleX(20),
                   rc.bottom);
        pDC->DrawText(pControl->GetCaption(), &text,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | prefixFlags(pControl));
        if (!pControl->GetShortcutText().IsEmpty()) {
            pDC->SetTextColor(enabled ? CXTPDrawHelpers::BlendColors(ink, ground, 0.75) : c.clrTextDisabled);
            pDC->DrawText(pControl->GetShortcutText(), &text,
                          DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            pDC->SetTextColor(ink);
        }
        if (pControl->GetType() == xtpControlPopup)
            DrawArrow(pDC,
                      CRect(rc.right - CXTPDpi::ScaleX(18), rc.top, rc.right - CXTPDpi::ScaleX(6), rc.bottom),
                      FALSE, ink);
        else if (isPopupControl(pControl))
            DrawArrow(pDC,
                      CRect(rc.right - CXTPDpi::ScaleX(18), rc.top, rc.right - CXTPDpi::ScaleX(6), rc.bottom),
                      TRUE, ink);
        pDC->SelectObject(oldFont);
        return;
    }

    // In a bar.
    COLORREF ground = bar != nullptr && bar->GetType() == xtpBarTypeMenuBar ? c.clrMenuBarFace : c.clrBarFace;
    CRect face = rc;
    face.DeflateRect(1, 1);
    const int split = pControl->GetType() == xtpControlSplitButtonPopup ? GetSplitDropDownWidth() : 0;
    if (pressed || open) {
        ground = c.clrPressedFace;
        pDC->FillSolidRect(&face, ground);
    } else if (pControl->GetChecked()) {
        ground = c.clrCheckedFace;
        pDC->FillSolidRect(&face, ground);
        frameRect(pDC, face, c.clrCheckedBorder);
    } else if (hot) {
        ground = c.clrHotFace;
        pDC->FillSolidRect(&face, ground);
        if (c.clrHotBorder != c.clrHotFace)
            frameRect(pDC, face, c.clrHotBorder);
    }
    const COLORREF ink =
        enabled ? textOn(ground, hot && !pressed ? c.clrHotText : c.clrText) : c.clrTextDisabled;
    pDC->SetTextColor(ink);
    CRect text = rc;
    text.right -= split;
    if (pControl->GetType() == xtpControlButtonPopup)
        text.right -= CXTPDpi::ScaleX(10);
    CSize iconSize;
    CXTPImageManagerIcon* icon = dv::toolkit::controlIcon(pControl, iconSize);
    const bool caption = dv::toolkit::showsCaption(pControl, icon != nullptr);
    if (icon != nullptr) {
        const int x = caption ? text.left + CXTPDpi::ScaleX(4) : text.left + (text.Width() - iconSize.cx) / 2;
        icon->Draw(pDC, CPoint(x, rc.top + (rc.Height() - iconSize.cy) / 2), iconSize,
                   dv::toolkit::iconState(pControl, hot, pressed));
        text.left = x + iconSize.cx;
    }
    if (caption)
        pDC->DrawText(pControl->GetCaption(), &text,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE | prefixFlags(pControl));
    if (pControl->GetType() == xtpControlButtonPopup)
        DrawArrow(pDC, CRect(text.right - CXTPDpi::ScaleX(4), rc.top, rc.right - 2, rc.bottom), TRUE, ink);
    if (split > 0) {
        if (hot || open)
            pDC->FillSolidRect(rc.right - split, face.top + 2, 1, face.Height() - 4, c.clrHotBorder);
        DrawArrow(pDC, CRect(rc.right - split, rc.top, rc.right, rc.bottom), TRUE, ink);
    }
    pDC->SelectObject(oldFont);
}
